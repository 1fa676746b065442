#include "app/frame/main_frame.h"

#include "app/commands/command_queue.h"
#include "app/frame/frame_layout.h"
#include "app/idle_tasks.h"
#include "app/shell_ui.h"
#include "core/screen_geometry.h"
#include "framework/user_break.h"
#include "framework/viewer_app.h"
#include "mfc/dc.h"
#include "pages/page/page_switch.h"
#include "pages/page/vpage.h"
#include "pages/picture/cdib.h"
#include "pages/picture/image_cache.h"
#include "pages/picture/vimage.h"
#include "win/user.h"

IMPLEMENT_DYNCREATE(CMainFrame, CSDIMainFrame)

BEGIN_MESSAGE_MAP(CMainFrame, CSDIMainFrame)
  ON_WM_CREATE()
  ON_WM_PALETTECHANGED()
  ON_WM_QUERYNEWPALETTE()
  ON_WM_ERASEBKGND()
  ON_COMMAND(kCmdDebug, OnDebug)
  ON_COMMAND(kCmdReload, OnReload)
  ON_COMMAND(kCmdMinimize, OnMinimize)
  ON_COMMAND(kCmdEnd, OnEnd)
  ON_WM_DESTROY()
  ON_WM_QUERYENDSESSION()
  ON_WM_CLOSE()
  ON_MESSAGE(kProgressMessage, OnProgressMessage)
END_MESSAGE_MAP()

namespace {

CString Setting(const char* key) {
  ViewerApp* app = GetViewerApp();
  return app ? app->GetProfileString("INIT", key, "") : CString();
}

// Breaks the running request and lets the interpreter end the program.
void EndThroughQuit() {
  AbortRunningRequest();
  RunInterpreterLine("end");
}

}  // namespace

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() {
  AbortRunningRequest();
  if (hint_) {
    hint_->DestroyWindow();
    delete hint_;
    hint_ = nullptr;
  }
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
  const BOOL ok = CSDIMainFrame::PreCreateWindow(cs);
  cs.style = WS_POPUP;
  return ok;
}

int CMainFrame::OnCreate(LPCREATESTRUCT cs) {
  if (CFrameWnd::OnCreate(cs) == -1) return -1;
  const RECT screen = GetScreenRect();
  const RECT main = ParseWindowRect(Setting("MainWindow"), screen);
  const RECT mainBounds{0, 0, main.right - main.left, main.bottom - main.top};
  RECT area = ParseWindowRect(Setting("Window"), mainBounds);
  if (area.right - area.left > mainBounds.right) {
    area.left = 0;
    area.right = mainBounds.right;
  }
  if (area.bottom - area.top > mainBounds.bottom) {
    area.top = 0;
    area.bottom = mainBounds.bottom;
  }
  ViewerApp* app = GetViewerApp();
  SetFrameBackground(
      ParseWindowColor(app ? app->GetProfileString("INIT", "MainWindowColor", "0x000000")
                           : CString("0x000000")));

  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  placement.showCmd = SW_HIDE;
  placement.rcNormalPosition = main;
  ::SetWindowPlacement(m_hWnd, &placement);

  SetFramePageArea(area);
  SetScreenRect(RECT{0, 0, area.right - area.left, area.bottom - area.top});

  ::SetMenu(m_hWnd, nullptr);
  m_hMenuDefault = nullptr;
  SetClassLong(m_hWnd, GCL_HBRBACKGROUND, 0);
  ShowWindow(SW_SHOW);
  return 0;
}

void CMainFrame::OnPaletteChanged(CWnd* focusWnd) {
  CFrameWnd::OnPaletteChanged(focusWnd);
  if (VPage* page = CurrentPage()) page->RealizePalette(CWnd::SafeHwnd(focusWnd));
}

BOOL CMainFrame::OnQueryNewPalette() { return CFrameWnd::OnQueryNewPalette(); }

BOOL CMainFrame::OnEraseBkgnd(CDC* dc) {
  RECT client;
  GetClientRect(&client);
  if (!showStartup_) {
    if (VPage* page = CurrentPage()) {
      if (CWnd* window = page->GetWindow(); window && window->GetSafeHwnd()) {
        RECT r;
        window->GetWindowRect(&r);
        ScreenToClient(&r);
        dc->ExcludeClipRect(&r);
      }
    }
  }
  dc->FillSolidRect(&client, FrameBackground());
  if (showStartup_) DrawStartupPicture(dc, client);
  return TRUE;
}

void CMainFrame::DrawStartupPicture(CDC* dc, const RECT& client) {
  // Without the picture (missing, unreadable) the background stays plain.
  CDib* picture = TheImageCache().Load(kStartupPicture, 0);
  if (!picture) return;
  const int width = picture->Width(), height = picture->Height();
  if (width <= 0 || height <= 0) return;
  const int left = (client.right - width - client.left) / 2;
  const int top = (client.bottom - height - client.top) / 2;
  VImage::DrawDib(picture, dc, RECT{left, top, left + width, top + height}, RECT{0, 0, width, height});
}

void CMainFrame::OnDebug() {
  // Accelerators may arrive while a request waits (inside its message
  // loop); the interpreter runs the line at idle time instead.
  RunAtIdle([] { RunInterpreterLine("debug"); });
}

void CMainFrame::OnReload() {
  RunAtIdle([] { RunInterpreterLine("reload"); });
}

void CMainFrame::OnMinimize() { ShowWindow(SW_SHOWMINIMIZED); }

void CMainFrame::OnEnd() { EndThroughQuit(); }

void CMainFrame::OnDestroy() {
  // The page lives in the view, which goes with the frame: the page switch
  // must not keep pointing at it.
  DestroyCurrentPage();
  CFrameWnd::OnDestroy();
  if (LongOperationFlag() && Progress()) Progress()->RequestAbort();
}

BOOL CMainFrame::OnQueryEndSession() {
  if (!CFrameWnd::OnQueryEndSession()) return FALSE;
  if (LongOperationFlag()) {
    EndThroughQuit();
    return FALSE;
  }
  return TRUE;
}

void CMainFrame::OnClose() {
  if (!TheCommandQueue().IsClosed()) {
    EndThroughQuit();
    return;
  }
  CFrameWnd::OnClose();
}

LRESULT CMainFrame::OnProgressMessage(WPARAM kind, LPARAM value) {
  VPage* page = CurrentPage();
  return page ? page->OnProgress(kind, value) : 0;
}
