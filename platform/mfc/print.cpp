// The print dialogs for the framework, print jobs' information, and the
// application's printer.
#include "mfc/print.h"

#include <cstring>
#include <string>

#include "mfc/app.h"
#include "mfc/wnd.h"
#include "win/gdi.h"
#include "win/kernel.h"

namespace {

// A NUL-ended name at a character offset of the DEVNAMES block, within it.
std::string NameAt(const char* block, size_t size, WORD offset) {
  if (offset >= size) return {};
  const char* start = block + offset;
  const void* end = std::memchr(start, '\0', size - offset);
  return end ? std::string(start, static_cast<const char*>(end)) : std::string();
}

}  // namespace

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
  if (!m_pd.hDevNames) return nullptr;
  const char* names = static_cast<const char*>(::GlobalLock(m_pd.hDevNames));
  if (!names) return nullptr;
  const size_t size = ::GlobalSize(m_pd.hDevNames);
  std::string driver, device, output;
  if (size >= sizeof(DEVNAMES)) {
    DEVNAMES dn{};
    std::memcpy(&dn, names, sizeof dn);
    driver = NameAt(names, size, dn.wDriverOffset);
    device = NameAt(names, size, dn.wDeviceOffset);
    output = NameAt(names, size, dn.wOutputOffset);
  }
  ::GlobalUnlock(m_pd.hDevNames);
  if (device.empty()) return nullptr;
  const void* mode = m_pd.hDevMode ? ::GlobalLock(m_pd.hDevMode) : nullptr;
  m_pd.hDC = ::CreateDC(driver.c_str(), device.c_str(), output.empty() ? nullptr : output.c_str(),
                        mode);
  if (mode) ::GlobalUnlock(m_pd.hDevMode);
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
