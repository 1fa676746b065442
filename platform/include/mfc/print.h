// Printing: CPrintDialog (the print and print-setup dialogs, over PrintDlg)
// and CPrintInfo (one print job of a view: its dialog, page range and state).
#pragma once

#include "mfc/cstring.h"
#include "mfc/geometry.h"
#include "win/print.h"
#include "win/types.h"

class CDC;
class CWnd;

class CPrintDialog {
 public:
  // bPrintSetupOnly: the printer-setup dialog rather than the print dialog.
  explicit CPrintDialog(BOOL bPrintSetupOnly,
                        DWORD flags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS |
                                      PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                        CWnd* parent = nullptr);
  virtual ~CPrintDialog() = default;
  CPrintDialog(const CPrintDialog&) = delete;
  CPrintDialog& operator=(const CPrintDialog&) = delete;

  // IDOK (m_pd filled: the printer's DEVMODE and DEVNAMES blocks, for the
  // print dialog a printer DC in m_pd.hDC) or IDCANCEL.
  virtual int DoModal();
  // A DC of the current printer (kept in m_pd.hDC, replacing one made
  // before); null on failure.
  HDC CreatePrinterDC();
  HDC GetPrinterDC() const { return m_pd.hDC; }
  BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
  BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
  BOOL PrintAll() const { return !PrintRange() && !PrintSelection(); }
  int GetFromPage() const { return m_pd.nFromPage; }
  int GetToPage() const { return m_pd.nToPage; }
  int GetCopies() const { return m_pd.nCopies; }

  PRINTDLG m_pd{};
};

class CPrintInfo {
 public:
  // A print dialog for all pages, pages 1 to 0xFFFF, page 1 current.
  CPrintInfo();
  // Deletes the dialog and the printer DC it made.
  ~CPrintInfo();
  CPrintInfo(const CPrintInfo&) = delete;
  CPrintInfo& operator=(const CPrintInfo&) = delete;

  void SetMinPage(UINT page) { m_pPD->m_pd.nMinPage = static_cast<WORD>(page); }
  void SetMaxPage(UINT page) { m_pPD->m_pd.nMaxPage = static_cast<WORD>(page); }
  UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
  UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
  UINT GetFromPage() const { return m_pPD->m_pd.nFromPage; }
  UINT GetToPage() const { return m_pPD->m_pd.nToPage; }
  UINT GetOffsetPage() const;

  CPrintDialog* m_pPD;
  BOOL m_bDirect = FALSE;           // print without the dialog
  BOOL m_bPreview = FALSE;          // print preview
  BOOL m_bContinuePrinting = TRUE;  // OnPrepareDC clears it to stop early
  UINT m_nCurPage = 1;
  UINT m_nNumPreviewPages = 0;
  CString m_strPageDesc;
  LPVOID m_lpUserData = nullptr;
  CRect m_rectDraw;  // the page's printable area, logical units
};
