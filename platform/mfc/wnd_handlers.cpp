// CWnd's message map and its default handlers: each passes the current
// message to the default processing, except those that first offer a
// control's message back to the control (drawing, colours, scrolling) and
// WM_NCDESTROY, which unties the object.
#include "mfc/app.h"
#include "mfc/controls.h"
#include "mfc/dc.h"
#include "mfc/msgmap.h"
#include "mfc/wnd.h"

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
  ON_WM_DRAWITEM()
  ON_WM_CTLCOLOR()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_PARENTNOTIFY()
  ON_WM_NCDESTROY()
END_MESSAGE_MAP()

void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnActivateApp(BOOL, DWORD) { Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnClose() { Default(); }
int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnEndSession(BOOL) { Default(); }
void CWnd::OnEnterIdle(UINT, CWnd*) { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnGetMinMaxInfo(void*) { Default(); }
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
void CWnd::OnInitMenu(CMenu*) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return static_cast<int>(Default()); }
void CWnd::OnMove(int, int) { Default(); }
BOOL CWnd::OnNcCreate(LPCREATESTRUCT) { return static_cast<BOOL>(Default()); }
UINT CWnd::OnNcHitTest(CPoint) { return static_cast<UINT>(Default()); }
void CWnd::OnNcPaint() { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnPaletteChanged(CWnd*) { Default(); }
BOOL CWnd::OnQueryEndSession() { return static_cast<BOOL>(Default()); }
BOOL CWnd::OnQueryNewPalette() { return static_cast<BOOL>(Default()); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }

// ---- Offered to the control first -----------------------------------------------------

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT dis) {
  // Owner-drawn controls with an object draw themselves (DrawItem).
  if (dis && dis->CtlType != ODT_MENU && ReflectLastMsg(dis->hwndItem)) return;
  Default();
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* wnd, UINT) {
  LRESULT result = 0;
  if (wnd && wnd->SendChildNotifyLastMsg(&result)) return reinterpret_cast<HBRUSH>(result);
  return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* bar) {
  if (bar && bar->SendChildNotifyLastMsg()) return;
  Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* bar) {
  if (bar && bar->SendChildNotifyLastMsg()) return;
  Default();
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam) {
  // A child being created or destroyed may want to know.
  if ((LOWORD(message) == WM_CREATE || LOWORD(message) == WM_DESTROY) &&
      ReflectLastMsg(reinterpret_cast<HWND>(lParam)))
    return;
  Default();
}

// ---- The last message -------------------------------------------------------------------

void CWnd::OnNcDestroy() {
  const auto procBefore = ::GetWindowLong(m_hWnd, GWL_WNDPROC);
  Default();
  // Give the window its procedure back unless someone else changed it since.
  if (m_pfnSuper && ::GetWindowLong(m_hWnd, GWL_WNDPROC) == procBefore)
    ::SetWindowLong(m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  FinishNcDestroy();
}

void CWnd::FinishNcDestroy() {
  // The main window going ends the message loop.
  if (CWinThread* thread = AfxGetThread(); thread && thread->m_pMainWnd == this) {
    AfxPostQuitMessage(0);
    thread->m_pMainWnd = nullptr;
  }
  m_pfnSuper = nullptr;
  Detach();
  PostNcDestroy();
}
