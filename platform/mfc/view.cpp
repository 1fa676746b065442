// CView: a frame's child that shows a document, and its printing.
#include <algorithm>
#include <memory>

#include "mfc/app.h"
#include "mfc/dc.h"
#include "mfc/document.h"
#include "mfc/frame.h"
#include "mfc/print.h"
#include "mfc/prompts.h"
#include "mfc/view.h"

namespace zemra_mfc {
LPCSTR FrameOrViewClass();
}  // namespace zemra_mfc

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
  ON_WM_PAINT()
  ON_WM_MOUSEACTIVATE()
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_MESSAGE_VOID(WM_INITIALUPDATE, OnInitialUpdate)
END_MESSAGE_MAP()

CView::~CView() {
  if (m_pDocument) m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) cs.lpszClass = zemra_mfc::FrameOrViewClass();
  // The Windows 95 look: a border becomes a sunken client edge.
  if (cs.style & WS_BORDER) {
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    cs.style &= ~static_cast<LONG>(WS_BORDER);
  }
  return TRUE;
}

void CView::PostNcDestroy() { delete this; }

void CView::CalcWindowRect(LPRECT clientRect, UINT adjustType) {
  if (adjustType == adjustOutside) {
    ::AdjustWindowRectEx(clientRect, 0, FALSE, GetExStyle());
    return;
  }
  CWnd::CalcWindowRect(clientRect, adjustType);
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

int CView::OnCreate(LPCREATESTRUCT cs) {
  if (CWnd::OnCreate(cs) == -1) return -1;
  auto* context = cs ? static_cast<CCreateContext*>(cs->lpCreateParams) : nullptr;
  if (context && context->m_pCurrentDoc) context->m_pCurrentDoc->AddView(this);
  return 0;
}

void CView::OnDestroy() {
  CFrameWnd* frame = GetParentFrame();
  if (frame && frame->GetActiveView() == this) frame->SetActiveView(nullptr);
  CWnd::OnDestroy();
}

void CView::OnPaint() {
  CPaintDC dc(this);
  OnPrepareDC(&dc);
  OnDraw(&dc);
}

int CView::OnMouseActivate(CWnd* topParent, UINT hitTest, UINT message) {
  const int result = CWnd::OnMouseActivate(topParent, hitTest, message);
  if (result == MA_NOACTIVATE || result == MA_NOACTIVATEANDEAT) return result;
  if (CFrameWnd* frame = GetParentFrame()) {
    HWND focus = ::GetFocus();
    if (frame->GetActiveView() == this && m_hWnd != focus && !::IsChild(m_hWnd, focus))
      OnActivateView(TRUE, this, this);  // take the focus back
    else
      frame->SetActiveView(this);
  }
  return result;
}

void CView::OnPrepareDC(CDC*, CPrintInfo* info) {
  // Without a known page count one page is printed.
  if (info) info->m_bContinuePrinting = info->GetMaxPage() != 0xFFFF || info->m_nCurPage == 1;
}
void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }
void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

void CView::OnActivateView(BOOL activate, CView*, CView*) {
  if (activate && IsTopParentActive()) SetFocus();
}

void CView::OnActivateFrame(UINT, CFrameWnd*) {}

// ---- Printing --------------------------------------------------------------------------------

BOOL CView::OnPreparePrinting(CPrintInfo*) { return TRUE; }
void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}
void CView::OnPrint(CDC* dc, CPrintInfo*) { OnDraw(dc); }
void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

BOOL CView::DoPreparePrinting(CPrintInfo* info) {
  if (!info || !info->m_pPD) return FALSE;
  CWinApp* app = AfxGetApp();
  PRINTDLG& pd = info->m_pPD->m_pd;
  if (info->m_bPreview || info->m_bDirect) {
    // No dialog: the default printer, all pages.
    if (!pd.hDC) {
      if (!app || !app->GetPrinterDeviceDefaults(&pd)) {
        if (!app || app->DoPrintDialog(info->m_pPD) != IDOK) return FALSE;
      }
      if (!pd.hDC && !info->m_pPD->CreatePrinterDC()) return FALSE;
    }
    pd.nFromPage = static_cast<WORD>(info->GetMinPage());
    pd.nToPage = static_cast<WORD>(info->GetMaxPage());
  } else {
    pd.nFromPage = static_cast<WORD>(info->GetMinPage());
    pd.nToPage = static_cast<WORD>(info->GetMaxPage());
    if (!app || app->DoPrintDialog(info->m_pPD) != IDOK) return FALSE;
  }
  if (!pd.hDC) return FALSE;
  if (app) info->m_nNumPreviewPages = app->m_nNumPreviewPages;
  info->m_strPageDesc = AfxLoadPrompt(AFX_IDS_PREVIEWPAGEDESC);
  return TRUE;
}

void CView::OnFilePrint() {
  CPrintInfo info;
  const MSG* current = GetCurrentMessage();
  if (current && current->message == WM_COMMAND && LOWORD(current->wParam) == ID_FILE_PRINT_DIRECT)
    info.m_bDirect = TRUE;
  if (!OnPreparePrinting(&info) || !info.m_pPD->m_pd.hDC) return;

  CString title = m_pDocument ? m_pDocument->GetTitle() : CString();
  if (title.IsEmpty()) title = AfxGetAppName() ? AfxGetAppName() : "";
  if (title.GetLength() > 31) title = title.Left(31);

  CDC dcPrint;
  dcPrint.Attach(info.m_pPD->m_pd.hDC);  // CPrintInfo deletes it
  dcPrint.m_bPrinting = TRUE;
  OnBeginPrinting(&dcPrint, &info);

  // The program waits for the printer: its main window takes no input.
  CWnd* main = AfxGetMainWnd();
  HWND mainWnd = AfxGetWindowHandle(main);
  const BOOL mainWasDisabled = mainWnd ? ::EnableWindow(mainWnd, FALSE) : TRUE;

  if (dcPrint.StartDoc(title) == SP_ERROR) {
    if (mainWnd && !mainWasDisabled) ::EnableWindow(mainWnd, TRUE);
    OnEndPrinting(&dcPrint, &info);
    dcPrint.Detach();
    AfxMessageBox(AfxLoadPrompt(AFX_IDP_FAILED_TO_START_PRINT));
    return;
  }
  // The range kept within the document's pages (a view may have set a
  // maximum below the minimum: the minimum wins).
  auto within = [&info](UINT page) {
    return std::max(std::min(page, info.GetMaxPage()), info.GetMinPage());
  };
  UINT endPage = within(info.GetToPage());
  const UINT startPage = within(info.GetFromPage());
  const int step = endPage >= startPage ? 1 : -1;
  endPage = endPage == 0xFFFF ? 0xFFFF : endPage + static_cast<UINT>(step);
  bool error = false;
  for (info.m_nCurPage = startPage; info.m_nCurPage != endPage;
       info.m_nCurPage += static_cast<UINT>(step)) {
    OnPrepareDC(&dcPrint, &info);
    if (!info.m_bContinuePrinting) break;
    info.m_rectDraw.SetRect(0, 0, dcPrint.GetDeviceCaps(HORZRES), dcPrint.GetDeviceCaps(VERTRES));
    dcPrint.DPtoLP(&info.m_rectDraw);
    if (dcPrint.StartPage() < 0) {
      error = true;
      break;
    }
    // Starting a page resets the DC's attributes.
    OnPrepareDC(&dcPrint, &info);
    OnPrint(&dcPrint, &info);
    if (dcPrint.EndPage() < 0) {
      error = true;
      break;
    }
  }
  if (!error)
    dcPrint.EndDoc();
  else
    dcPrint.AbortDoc();
  if (mainWnd && !mainWasDisabled) ::EnableWindow(mainWnd, TRUE);
  OnEndPrinting(&dcPrint, &info);
  dcPrint.Detach();
}

namespace {

// One preview: its job information and the printer DC the pages are drawn on.
struct PreviewJob {
  CPrintInfo info;
  CDC dc;
  bool ended = false;
};

}  // namespace

void CView::OnFilePrintPreview() {
  CFrameWnd* frame = GetParentFrame();
  if (!frame) return;
  auto job = std::make_shared<PreviewJob>();
  job->info.m_bPreview = TRUE;
  if (!OnPreparePrinting(&job->info) || !job->info.m_pPD->m_pd.hDC) return;
  job->dc.Attach(job->info.m_pPD->m_pd.hDC);  // the job information deletes it
  job->dc.m_bPrinting = TRUE;
  OnBeginPrinting(&job->dc, &job->info);

  // The view may be destroyed while its preview shows.
  const HWND viewWnd = m_hWnd;
  const HWND frameWnd = frame->m_hWnd;
  auto alive = [viewWnd, this] { return CWnd::FromHandlePermanent(viewWnd) == this; };
  auto end = [job, alive, this, frameWnd] {
    if (job->ended) return;
    job->ended = true;
    if (alive()) OnEndPrinting(&job->dc, &job->info);
    job->dc.Detach();
    if (CWnd* f = CWnd::FromHandlePermanent(frameWnd); f && f->IsFrameWnd())
      static_cast<CFrameWnd*>(f)->m_hWndPreview = nullptr;
  };

  win::print::PreviewOptions options;
  options.printerDc = job->dc.m_hDC;
  options.minPage = job->info.GetMinPage();
  options.maxPage = job->info.GetMaxPage();
  options.firstPage = job->info.GetMinPage();
  options.render = [job, alive, this](HDC, UINT page) {
    if (!alive()) return false;
    job->info.m_nCurPage = page;
    OnPrepareDC(&job->dc, &job->info);
    if (!job->info.m_bContinuePrinting) return false;
    job->info.m_rectDraw.SetRect(0, 0, job->dc.GetDeviceCaps(HORZRES), job->dc.GetDeviceCaps(VERTRES));
    job->dc.DPtoLP(&job->info.m_rectDraw);
    OnPrint(&job->dc, &job->info);
    return true;
  };
  options.print = [viewWnd] {
    if (::IsWindow(viewWnd)) ::SendMessage(viewWnd, WM_COMMAND, ID_FILE_PRINT, 0);
  };
  options.closed = end;
  HWND preview = win::print::ShowPrintPreview(frameWnd, std::move(options));
  if (!preview) {
    end();
    AfxMessageBox(AfxLoadPrompt(AFX_IDP_COMMAND_FAILURE), MB_OK, AFX_IDP_COMMAND_FAILURE);
    return;
  }
  frame->m_hWndPreview = preview;
}
