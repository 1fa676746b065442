#include "pages/page/page_window.h"

#include "framework/progress_reporter.h"
#include "pages/page/vpage.h"
#include "win/user.h"

extern "C" const unsigned char zemra_res_pages[];
extern "C" const unsigned long zemra_res_pages_size;

void RegisterPageResources() {
  if (FindResource(nullptr, MAKEINTRESOURCE(VPage::kTemplateId), RT_DIALOG)) return;
  win::RegisterResourceScript(nullptr, zemra_res_pages, static_cast<size_t>(zemra_res_pages_size));
}

BEGIN_MESSAGE_MAP(PageWindow, CFormView)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_ERASEBKGND()
  ON_WM_SETCURSOR()
  ON_WM_QUERYENDSESSION()
  ON_WM_PALETTECHANGED()
  ON_WM_TIMER()
  ON_WM_CREATE()
  ON_WM_CLOSE()
  ON_WM_DESTROY()
  ON_MESSAGE(kProgressMessage, OnProgressMessage)
  ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_DIRECT, CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
END_MESSAGE_MAP()

PageWindow::PageWindow(VPage* page) : CFormView(VPage::kTemplateId), page_(page) {}

PageWindow::~PageWindow() {
  VPage* page = page_;
  page_ = nullptr;
  if (!page) return;
  if (page->window_ == this) page->window_ = nullptr;
  if (ownsPage_) delete page;
}

void PageWindow::SendToPage(PageEvent& event) {
  if (page_) page_->HandleEvent(event);
}

void PageWindow::SendMouse(int code, CPoint point) {
  if (!page_) return;
  PageEvent event(point.x, point.y, code);
  page_->HandleMouse(point.x, point.y, event);
}

void PageWindow::OnDraw(CDC* dc) {
  if (page_) page_->OnDraw(dc);
  CFormView::OnDraw(dc);
}

void PageWindow::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  if (page_) page_->InitialUpdate();
}

BOOL PageWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (page_ && page_->OnChildCommand(wParam, lParam)) return TRUE;
  return CFormView::OnCommand(wParam, lParam);
}

BOOL PageWindow::OnPreparePrinting(CPrintInfo* info) {
  // The printable object sets up what it prints (a text offers its
  // selection); the printer and its device context come from the dialog.
  if (PrintablePageObject* p = page_ ? page_->FindPrintable() : nullptr)
    if (!p->PreparePrinting(info)) return FALSE;
  return DoPreparePrinting(info);
}

void PageWindow::OnBeginPrinting(CDC* dc, CPrintInfo* info) {
  if (PrintablePageObject* p = page_ ? page_->FindPrintable() : nullptr) p->BeginPrinting(dc, info);
}

void PageWindow::OnPrint(CDC* dc, CPrintInfo* info) {
  if (PrintablePageObject* p = page_ ? page_->FindPrintable() : nullptr)
    p->Print(dc, info);
  else
    CFormView::OnPrint(dc, info);
}

void PageWindow::OnEndPrinting(CDC* dc, CPrintInfo* info) {
  if (PrintablePageObject* p = page_ ? page_->FindPrintable() : nullptr) p->EndPrinting(dc, info);
}

void PageWindow::OnLButtonDown(UINT, CPoint point) {
  SendMouse(PageEvent::MouseDown, point);
  Default();
  if (page_) page_->SetMouseDown(true);
}

void PageWindow::OnLButtonUp(UINT, CPoint point) {
  SendMouse(PageEvent::MouseUp, point);
  Default();
  if (page_) page_->SetMouseDown(false);
}

void PageWindow::OnMouseMove(UINT, CPoint point) {
  SendMouse(PageEvent::MouseMove, point);
  Default();
}

BOOL PageWindow::OnEraseBkgnd(CDC*) { return TRUE; }

BOOL PageWindow::OnSetCursor(CWnd*, UINT, UINT) {
  if (page_) page_->SetCursorForMouse();
  return TRUE;
}

BOOL PageWindow::OnQueryEndSession() {
  PageEvent event(PageEvent::QueryEndSession);
  SendToPage(event);
  return TRUE;
}

void PageWindow::OnPaletteChanged(CWnd* focusWnd) {
  if (page_) page_->RealizePalette(focusWnd ? focusWnd->GetSafeHwnd() : nullptr);
}

void PageWindow::OnTimer(UINT_PTR id) {
  PageEvent event(PageEvent::Timer);
  event.timerId = id;
  SendToPage(event);
}

int PageWindow::OnCreate(LPCREATESTRUCT cs) {
  if (CFormView::OnCreate(cs) == -1) return -1;
  PageEvent event(PageEvent::Create);
  SendToPage(event);
  return 0;
}

void PageWindow::OnClose() {
  PageEvent event(PageEvent::Close);
  SendToPage(event);
  Default();
}

void PageWindow::OnDestroy() {
  if (page_) page_->StopClock();
  PageEvent event(PageEvent::Destroy);
  SendToPage(event);
  CFormView::OnDestroy();
}

LRESULT PageWindow::OnProgressMessage(WPARAM kind, LPARAM value) {
  return page_ ? page_->OnProgress(kind, value) : 0;
}
