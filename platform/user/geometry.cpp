// Coordinates between windows and the screen, Z order, and finding windows
// by position or relation.
#include "geometry.h"

#include <algorithm>

#include "gdi/window_dc.h"
#include "nonclient.h"
#include "win/kernel.h"

namespace win::user {

POINT WindowOriginOnScreen(HWND wnd) {
  POINT p{0, 0};
  Window* w = FindWindow(wnd);
  while (w && w->handle != DesktopHandle()) {
    p.x += w->rect.left;
    p.y += w->rect.top;
    if (!w->isChild() || !w->parent) break;
    Window* parent = FindWindow(w->parent);
    if (!parent) break;
    p.x += parent->client.left;
    p.y += parent->client.top;
    w = parent;
  }
  return p;
}

POINT ClientOriginOnScreen(HWND wnd) {
  POINT p = WindowOriginOnScreen(wnd);
  if (Window* w = FindWindow(wnd)) {
    p.x += w->client.left;
    p.y += w->client.top;
  }
  return p;
}

POINT WindowOriginInTop(HWND wnd) {
  POINT p = WindowOriginOnScreen(wnd);
  const POINT top = WindowOriginOnScreen(TopLevelOf(wnd));
  return POINT{p.x - top.x, p.y - top.y};
}

void RecalcClient(Window& w) {
  if (w.handle == DesktopHandle()) {
    w.client = RECT{0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top};
    return;
  }
  w.client = LayoutFrameOf(w).client;
}

std::vector<HWND>* SiblingList(HWND wnd) {
  Window* w = FindWindow(wnd);
  if (!w || wnd == DesktopHandle()) return nullptr;
  if (w->isChild() && w->parent) {
    Window* p = FindWindow(w->parent);
    return p ? &p->children : nullptr;
  }
  return &FindWindow(DesktopHandle())->children;
}

void RemoveFromZOrder(HWND wnd) {
  if (std::vector<HWND>* list = SiblingList(wnd)) std::erase(*list, wnd);
}

void PlaceInZOrder(HWND wnd, HWND after) {
  Window* w = FindWindow(wnd);
  std::vector<HWND>* list = SiblingList(wnd);
  if (!w || !list) return;
  const bool topLevel = !w->isChild();
  if (topLevel && after == HWND_TOPMOST) w->exStyle |= WS_EX_TOPMOST;
  if (topLevel && after == HWND_NOTOPMOST) w->exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
  std::erase(*list, wnd);
  auto isTopmost = [](HWND h) {
    Window* o = FindWindow(h);
    return o && !o->isChild() && (o->exStyle & WS_EX_TOPMOST);
  };
  // First place at or below which the window may go: top-level windows that
  // are not topmost stay below every topmost one.
  size_t lowest = 0;
  if (topLevel && !(w->exStyle & WS_EX_TOPMOST))
    while (lowest < list->size() && isTopmost((*list)[lowest])) ++lowest;
  size_t highest = list->size();  // topmost windows stay above the others
  if (topLevel && (w->exStyle & WS_EX_TOPMOST)) {
    highest = 0;
    while (highest < list->size() && isTopmost((*list)[highest])) ++highest;
  }
  size_t at = lowest;
  if (after == HWND_BOTTOM) {
    at = highest;
  } else if (after != HWND_TOP && after != HWND_TOPMOST && after != HWND_NOTOPMOST) {
    auto it = std::find(list->begin(), list->end(), after);
    at = it == list->end() ? lowest : static_cast<size_t>(it - list->begin()) + 1;
  }
  at = std::clamp(at, std::min(lowest, highest), std::max(lowest, highest));
  list->insert(list->begin() + static_cast<std::ptrdiff_t>(at), wnd);
}

void GeometryChanged() { gdi::WindowGeometryChanged(); }

bool IsShowing(HWND wnd) {
  Window* w = FindWindow(wnd);
  while (w) {
    if (!w->visible() || (w->style & WS_MINIMIZE)) return false;
    if (!w->isChild() || !w->parent) return true;
    w = FindWindow(w->parent);
  }
  return false;
}

}  // namespace win::user

using namespace win::user;

BOOL GetWindowRect(HWND wnd, LPRECT out) {
  Window* w = FindWindow(wnd);
  if (!w || !out) {
    SetLastError(w ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const POINT p = WindowOriginOnScreen(wnd);
  *out = RECT{p.x, p.y, p.x + (w->rect.right - w->rect.left), p.y + (w->rect.bottom - w->rect.top)};
  return TRUE;
}

BOOL GetClientRect(HWND wnd, LPRECT out) {
  Window* w = FindWindow(wnd);
  if (!w || !out) {
    SetLastError(w ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (wnd == DesktopHandle()) RecalcClient(*w);
  *out = RECT{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
  return TRUE;
}

BOOL ScreenToClient(HWND wnd, LPPOINT pt) {
  if (!FindWindow(wnd) || !pt) return FALSE;
  const POINT o = ClientOriginOnScreen(wnd);
  pt->x -= o.x;
  pt->y -= o.y;
  return TRUE;
}

BOOL ClientToScreen(HWND wnd, LPPOINT pt) {
  if (!FindWindow(wnd) || !pt) return FALSE;
  const POINT o = ClientOriginOnScreen(wnd);
  pt->x += o.x;
  pt->y += o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT pts, UINT count) {
  if ((from && !FindWindow(from)) || (to && !FindWindow(to))) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  const POINT a = from ? ClientOriginOnScreen(from) : POINT{0, 0};
  const POINT b = to ? ClientOriginOnScreen(to) : POINT{0, 0};
  const LONG dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; pts && i < count; ++i) {
    pts[i].x += dx;
    pts[i].y += dy;
  }
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (!rect) return FALSE;
  // The frame does not depend on the size: lay out a large window and add
  // what surrounds its client area. Scroll bars are not counted.
  const int probe = 10000;
  const FrameLayout f = LayoutFrame(style & ~static_cast<DWORD>(WS_VSCROLL | WS_HSCROLL), exStyle,
                                    probe, probe);
  rect->left -= f.client.left;
  rect->top -= f.client.top;
  rect->right += probe - f.client.right;
  rect->bottom += probe - f.client.bottom;
  if (menu) rect->top -= GetSystemMetrics(SM_CYMENU);
  return TRUE;
}

BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) {
  return AdjustWindowRectEx(rect, style, menu, 0);
}

HWND GetWindow(HWND wnd, UINT cmd) {
  Window* w = FindWindow(wnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (cmd == GW_OWNER) return w->isChild() ? nullptr : w->owner;
  if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  std::vector<HWND>* list = SiblingList(wnd);
  if (!list || list->empty()) return nullptr;
  auto it = std::find(list->begin(), list->end(), wnd);
  switch (cmd) {
    case GW_HWNDFIRST: return list->front();
    case GW_HWNDLAST: return list->back();
    case GW_HWNDNEXT: return (it == list->end() || it + 1 == list->end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV: return (it == list->end() || it == list->begin()) ? nullptr : *(it - 1);
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

HWND GetTopWindow(HWND wnd) {
  return GetWindow(wnd ? wnd : DesktopHandle(), GW_CHILD);
}

HWND GetNextWindow(HWND wnd, UINT cmd) { return GetWindow(wnd, cmd); }

namespace {

bool InsideRect(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// The deepest visible, enabled descendant of `wnd` under `p` (coordinates
// of wnd's parent's client area; screen for a top-level window).
HWND DeepestAt(HWND wnd, POINT p) {
  Window* w = FindWindow(wnd);
  if (!w || !InsideRect(w->rect, p)) return nullptr;
  const POINT inWindow{p.x - w->rect.left, p.y - w->rect.top};
  if (!InsideRect(w->client, inWindow)) return wnd;
  const POINT inClient{inWindow.x - w->client.left, inWindow.y - w->client.top};
  const std::vector<HWND> children = w->children;
  for (HWND c : children) {
    Window* cw = FindWindow(c);
    if (!cw || !cw->visible() || !InsideRect(cw->rect, inClient)) continue;
    if (!cw->enabled()) continue;  // a disabled child leaves the point to its parent
    if (HWND hit = DeepestAt(c, inClient)) return hit;
  }
  return wnd;
}

}  // namespace

HWND WindowFromPoint(POINT screen) {
  const std::vector<HWND> tops = FindWindow(DesktopHandle())->children;
  for (HWND t : tops) {
    Window* w = FindWindow(t);
    if (!w || !w->visible() || (w->style & WS_MINIMIZE)) continue;
    if (HWND hit = DeepestAt(t, screen)) return hit;
  }
  return nullptr;
}

HWND ChildWindowFromPointEx(HWND parent, POINT client, UINT flags) {
  Window* p = FindWindow(parent);
  if (!p) return nullptr;
  if (parent != DesktopHandle()) {
    const RECT area{0, 0, p->client.right - p->client.left, p->client.bottom - p->client.top};
    if (!InsideRect(area, client)) return nullptr;
  }
  for (HWND c : p->children) {
    Window* cw = FindWindow(c);
    if (!cw || !InsideRect(cw->rect, client)) continue;
    if ((flags & CWP_SKIPINVISIBLE) && !cw->visible()) continue;
    if ((flags & CWP_SKIPDISABLED) && !cw->enabled()) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (cw->exStyle & WS_EX_TRANSPARENT)) continue;
    return c;
  }
  return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT client) {
  return ChildWindowFromPointEx(parent, client, CWP_ALL);
}

BOOL IsIconic(HWND wnd) {
  Window* w = FindWindow(wnd);
  return w && (w->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND wnd) {
  Window* w = FindWindow(wnd);
  return w && (w->style & WS_MAXIMIZE) ? TRUE : FALSE;
}
