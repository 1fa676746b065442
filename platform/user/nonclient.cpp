// Layout and hit testing of the non-client area.
#include "nonclient.h"

#include <algorithm>

#include "menus/menu_bar.h"
#include "window_store.h"

namespace win::user {
namespace {

// A rectangle cut to stay inside `bounds` and never inverted.
RECT Clamp(RECT r, const RECT& bounds) {
  r.left = std::clamp(r.left, bounds.left, bounds.right);
  r.right = std::clamp(r.right, r.left, bounds.right);
  r.top = std::clamp(r.top, bounds.top, bounds.bottom);
  r.bottom = std::clamp(r.bottom, r.top, bounds.bottom);
  return r;
}

RECT Inset(const RECT& r, int dx, int dy) {
  RECT out{r.left + dx, r.top + dy, r.right - dx, r.bottom - dy};
  return Clamp(out, r);
}

bool Inside(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

FrameLayout LayoutFrame(DWORD style, DWORD exStyle, int width, int height, int menuHeight) {
  FrameLayout f;
  const RECT whole{0, 0, std::max(0, width), std::max(0, height)};
  if (style & WS_THICKFRAME)
    f.border = GetSystemMetrics(SM_CXFRAME);
  else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
    f.border = GetSystemMetrics(SM_CXDLGFRAME);
  else if (style & WS_BORDER)
    f.border = GetSystemMetrics(SM_CXBORDER);
  RECT inner = Inset(whole, f.border, f.border);

  if ((style & WS_CAPTION) == WS_CAPTION) {
    const int h = GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    f.caption = Clamp(RECT{inner.left, inner.top, inner.right, inner.top + h}, inner);
    inner.top = f.caption.bottom;
    if (style & WS_SYSMENU) {
      // A Windows 95 caption button: 16 x 14, two pixels in from the corner.
      const int bw = GetSystemMetrics(SM_CXSIZE) - 2, bh = GetSystemMetrics(SM_CYSIZE) - 4;
      f.closeBox = Clamp(RECT{f.caption.right - 2 - bw, f.caption.top + 2, f.caption.right - 2,
                              f.caption.top + 2 + bh},
                         f.caption);
    }
  }
  if (menuHeight > 0) {
    f.menuBar = Clamp(RECT{inner.left, inner.top, inner.right, inner.top + menuHeight}, inner);
    inner.top = f.menuBar.bottom;
  }
  f.edge = inner;
  if (exStyle & WS_EX_CLIENTEDGE) inner = Inset(inner, GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));
  if (exStyle & WS_EX_STATICEDGE) inner = Inset(inner, 1, 1);

  const bool vs = (style & WS_VSCROLL) != 0, hs = (style & WS_HSCROLL) != 0;
  const int vw = vs ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  const int hh = hs ? GetSystemMetrics(SM_CYHSCROLL) : 0;
  f.client = Clamp(RECT{inner.left, inner.top, inner.right - vw, inner.bottom - hh}, inner);
  if (vs) f.vscroll = Clamp(RECT{f.client.right, inner.top, inner.right, f.client.bottom}, inner);
  if (hs) f.hscroll = Clamp(RECT{inner.left, f.client.bottom, f.client.right, inner.bottom}, inner);
  if (vs && hs) f.sizeBox = Clamp(RECT{f.client.right, f.client.bottom, inner.right, inner.bottom}, inner);
  return f;
}

FrameLayout LayoutFrameOf(const Window& w) {
  const int width = w.rect.right - w.rect.left;
  const int menu = w.isChild() ? 0 : MenuBarHeight(w.handle, width);
  return LayoutFrame(w.style, w.exStyle, width, w.rect.bottom - w.rect.top, menu);
}

int HitTestFrame(const Window& w, POINT p) {
  const int width = w.rect.right - w.rect.left, height = w.rect.bottom - w.rect.top;
  if (p.x < 0 || p.y < 0 || p.x >= width || p.y >= height) return HTNOWHERE;
  const FrameLayout f = LayoutFrameOf(w);
  if (Inside(f.client, p)) return HTCLIENT;
  if (Inside(f.menuBar, p)) return HTMENU;
  if (Inside(f.vscroll, p)) return HTVSCROLL;
  if (Inside(f.hscroll, p)) return HTHSCROLL;
  if (Inside(f.sizeBox, p)) return (w.style & WS_THICKFRAME) ? HTSIZE : HTNOWHERE;
  if (Inside(f.caption, p)) {
    if (Inside(f.closeBox, p)) return HTCLOSE;
    const int icon = GetSystemMetrics(SM_CXSIZE);
    if ((w.style & WS_SYSMENU) && p.x < f.caption.left + icon) return HTSYSMENU;
    return HTCAPTION;
  }
  const RECT inner{f.border, f.border, width - f.border, height - f.border};
  if (!Inside(inner, p)) {
    if (!(w.style & WS_THICKFRAME)) return HTBORDER;
    // Corners reach as far along the edges as a caption button is wide.
    const int corner = GetSystemMetrics(SM_CXSIZE) + f.border;
    const bool left = p.x < corner, right = p.x >= width - corner;
    const bool top = p.y < corner, bottom = p.y >= height - corner;
    if (p.y < f.border) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    if (p.y >= height - f.border) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    if (p.x < f.border) return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
    return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
  }
  return HTBORDER;  // the client edge
}

}  // namespace win::user
