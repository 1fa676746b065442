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
  HMENU menu = GetMenu(wnd);
  Window* w = FindWindow(wnd);
  if (!menu || !w) return RECT{};
  const int width = w->rect.right - w->rect.left;
  const FrameLayout f = LayoutFrameOf(*w);
  const int top = (f.caption.bottom > f.caption.top) ? f.caption.bottom : f.border;
  const int h = LayoutMenuBar(menu, width - 2 * f.border).height;
  return RECT{f.border, top, width - f.border, top + h};
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
