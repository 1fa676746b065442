// The menu bar in the frame of a top-level window.
#include "menu_bar.h"

#include "menu_store.h"
#include "menu_window.h"
#include "user/nonclient.h"
#include "user/window_store.h"
#include "win/gdi.h"

namespace win::user {

int MenuBarHeight(HWND wnd, int windowWidth) {
  HMENU menu = GetMenu(wnd);
  if (!menu) return 0;
  Window* w = FindWindow(wnd);
  if (!w) return 0;
  const FrameLayout f = LayoutFrame(w->style, w->exStyle, windowWidth, w->rect.bottom - w->rect.top);
  return LayoutMenuBar(menu, windowWidth - 2 * f.border).height;
}

RECT MenuBarRect(HWND wnd) {
  Window* w = FindWindow(wnd);
  if (!w || !GetMenu(wnd)) return RECT{};
  return LayoutFrameOf(*w).menuBar;
}

void PaintMenuBar(HWND wnd) {
  HMENU menu = GetMenu(wnd);
  if (!menu || !IsWindowVisible(wnd)) return;
  const RECT bar = MenuBarRect(wnd);
  HDC dc = GetWindowDC(wnd);
  if (!dc) return;
  bool open = false;
  const int selected = TrackedBarItem(wnd, &open);
  PaintMenuBarItems(dc, menu, bar, selected, open);
  ReleaseDC(wnd, dc);
}

bool MenuBarHitTest(HWND wnd, POINT p) {
  const RECT bar = MenuBarRect(wnd);
  return PtInRect(&bar, p) != FALSE;
}

}  // namespace win::user
