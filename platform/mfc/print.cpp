// The print dialogs for the framework, print jobs' information, and the
// application's printer.
#include "mfc/print.h"

#include "mfc/app.h"
#include "mfc/wnd.h"
#include "win/gdi.h"
#include "win/kernel.h"

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD flags, CWnd* parent) {
  m_pd.lStructSize = sizeof m_pd;
  m_pd.hwndOwner = CWnd::SafeHwnd(parent);
  m_pd.Flags = flags | (bPrintSetupOnly ? PD_PRINTSETUP : PD_RETURNDC);
  m_pd.nCopies = 1;
  m_pd.hInstance = AfxGetInstanceHandle();
}

int CPrintDialog::DoModal() {
  if (!m_pd.hwndOwner) m_pd.hwndOwner = AfxGetWindowHandle(AfxGetMainWnd());
  return ::PrintDlg(&m_pd) ? IDOK : IDCANCEL;
}

HDC CPrintDialog::CreatePrinterDC() {
  if (m_pd.hDC) ::DeleteDC(m_pd.hDC);
  m_pd.hDC = nullptr;
  // The print dialog's default answer makes the DC of the current printer
  // (this session's setup included) and puts that printer in place.
  PRINTDLG current{};
  current.lStructSize = sizeof current;
  current.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
  if (!::PrintDlg(&current)) return nullptr;
  if (current.hDevMode) ::GlobalFree(current.hDevMode);
  if (current.hDevNames) ::GlobalFree(current.hDevNames);
  m_pd.hDC = current.hDC;
  return m_pd.hDC;
}

CPrintInfo::CPrintInfo()
    : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION)) {
  SetMinPage(1);
  SetMaxPage(0xFFFF);
  m_pPD->m_pd.nFromPage = 1;
  m_pPD->m_pd.nToPage = 0xFFFF;
}

CPrintInfo::~CPrintInfo() {
  if (m_pPD && m_pPD->m_pd.hDC) ::DeleteDC(m_pPD->m_pd.hDC);
  delete m_pPD;
}

UINT CPrintInfo::GetOffsetPage() const { return m_nCurPage - GetFromPage(); }

// ---- The application's printer ------------------------------------------------------------

int CWinApp::DoPrintDialog(CPrintDialog* dlg) {
  if (!dlg) return IDCANCEL;
  // The dialog starts from the printer chosen last and answers with the
  // blocks it chose (the same ones, rewritten, or new ones).
  dlg->m_pd.hDevMode = m_hDevMode;
  dlg->m_pd.hDevNames = m_hDevNames;
  const int answer = dlg->DoModal();
  m_hDevMode = dlg->m_pd.hDevMode;
  m_hDevNames = dlg->m_pd.hDevNames;
  return answer;
}

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLG* pd) {
  if (!pd) return FALSE;
  if (!m_hDevNames) {
    PRINTDLG defaults{};
    defaults.lStructSize = sizeof defaults;
    defaults.Flags = PD_RETURNDEFAULT;
    if (!::PrintDlg(&defaults)) return FALSE;
    if (m_hDevMode) ::GlobalFree(m_hDevMode);
    m_hDevMode = defaults.hDevMode;
    m_hDevNames = defaults.hDevNames;
  }
  pd->hDevMode = m_hDevMode;
  pd->hDevNames = m_hDevNames;
  return m_hDevNames != nullptr;
}

void CWinApp::OnFilePrintSetup() {
  CPrintDialog dlg(TRUE);
  DoPrintDialog(&dlg);
}
