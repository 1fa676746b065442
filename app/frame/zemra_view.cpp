#include "app/frame/zemra_view.h"

#include "app/commands/command_queue.h"
#include "app/frame/main_frame.h"
#include "app/frame/zemra_doc.h"
#include "app/shell_ui.h"
#include "app/zemra_app.h"
#include "mfc/afxres.h"
#include "win/user.h"

IMPLEMENT_DYNCREATE(CZemraDoc, CDocument)
IMPLEMENT_DYNCREATE(CZemraView, CView)

BEGIN_MESSAGE_MAP(CZemraView, CView)
  ON_WM_CREATE()
  ON_WM_ERASEBKGND()
  ON_COMMAND(kCmdEnd, OnEnd)
  ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
END_MESSAGE_MAP()

BOOL CZemraView::PreCreateWindow(CREATESTRUCT& cs) {
  cs.x = 0;
  cs.y = 0;
  cs.cx = GetSystemMetrics(SM_CXSCREEN);
  cs.cy = GetSystemMetrics(SM_CYSCREEN);
  return CView::PreCreateWindow(cs);
}

int CZemraView::OnCreate(LPCREATESTRUCT cs) { return CView::OnCreate(cs) == -1 ? -1 : 0; }

void CZemraView::OnInitialUpdate() {
  if (ZemraApp* app = GetZemraApp()) app->SetPageParent(this);
  CView::OnInitialUpdate();
}

void CZemraView::OnDraw(CDC* /*dc*/) {}

BOOL CZemraView::OnEraseBkgnd(CDC* /*dc*/) { return TRUE; }

BOOL CZemraView::OnPreparePrinting(CPrintInfo* info) { return DoPreparePrinting(info); }

void CZemraView::OnBeginPrinting(CDC* /*dc*/, CPrintInfo* /*info*/) {}

void CZemraView::OnEndPrinting(CDC* /*dc*/, CPrintInfo* /*info*/) {}

void CZemraView::OnEnd() {
  AbortRunningRequest();
  RunInterpreterLine("end");
}
