// SetWindowPos and what is built on it: moving, sizing, showing, hiding,
// minimizing, maximizing and reordering windows.
#include <algorithm>

#include "display/display.h"
#include "geometry.h"
#include "paint.h"
#include "surfaces.h"
#include "win/kernel.h"
#include "window_store.h"

using namespace win::user;

namespace {

RECT ClientInParent(const Window& w) {
  return RECT{w.rect.left + w.client.left, w.rect.top + w.client.top, w.rect.left + w.client.right,
              w.rect.top + w.client.bottom};
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// Keeps coordinates where their sums cannot overflow a LONG.
constexpr int kCoordLimit = 1 << 28;
int ClampCoord(int v) { return std::clamp(v, -kCoordLimit, kCoordLimit); }

void TellDisplay(HWND wnd) {
  Window* w = FindWindow(wnd);
  if (w && !w->isChild()) win::display::Active().WindowChanged(wnd);
}

// The next shown top-level window below `wnd`, to activate when it goes.
HWND NextTopLevel(HWND wnd) {
  for (HWND t : FindWindow(DesktopHandle())->children) {
    if (t == wnd) continue;
    Window* w = FindWindow(t);
    if (w && w->visible() && !(w->style & WS_MINIMIZE) && !(w->style & WS_DISABLED)) return t;
  }
  return nullptr;
}

// Where a maximized window goes: its parent's client area, or the screen
// with the sizing frame just outside it.
RECT MaximizedRect(const Window& w) {
  if (w.isChild()) {
    Window* p = FindWindow(w.parent);
    if (!p) return w.rect;
    RECT r{0, 0, p->client.right - p->client.left, p->client.bottom - p->client.top};
    return r;
  }
  const int b = (w.style & WS_THICKFRAME) ? GetSystemMetrics(SM_CXFRAME) : 0;
  return RECT{-b, -b, GetSystemMetrics(SM_CXSCREEN) + b, GetSystemMetrics(SM_CYSCREEN) + b};
}

// Windows 95 parks a minimized window far off the screen as a small bar.
constexpr RECT kMinimizedRect{-32000, -32000, -32000 + 160, -32000 + 24};

}  // namespace

BOOL SetWindowPos(HWND wnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Window* w = FindWindow(wnd);
  if (!w || wnd == DesktopHandle()) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  WINDOWPOS pos{wnd, insertAfter, x, y, cx, cy, flags};
  if (flags & SWP_NOMOVE) {
    pos.x = w->rect.left;
    pos.y = w->rect.top;
  }
  if (flags & SWP_NOSIZE) {
    pos.cx = Width(w->rect);
    pos.cy = Height(w->rect);
  }
  if (!(flags & SWP_NOSENDCHANGING)) {
    SendMessage(wnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    w = FindWindow(wnd);
    if (!w) return FALSE;
  }
  flags = pos.flags;
  pos.x = ClampCoord(pos.x);
  pos.y = ClampCoord(pos.y);
  pos.cx = std::clamp(pos.cx, 0, kCoordLimit);
  pos.cy = std::clamp(pos.cy, 0, kCoordLimit);

  const RECT oldRect = w->rect;
  const RECT oldClient = ClientInParent(*w);
  const bool wasShowing = IsShowing(wnd);
  const RECT newRect{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
  const bool moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
  const bool sized = Width(newRect) != Width(oldRect) || Height(newRect) != Height(oldRect);

  if (flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
  if (flags & SWP_HIDEWINDOW) w->style &= ~static_cast<DWORD>(WS_VISIBLE);
  bool reordered = false;
  if (!(flags & SWP_NOZORDER) && pos.hwndInsertAfter != wnd) {
    std::vector<HWND>* list = SiblingList(wnd);
    const std::vector<HWND> before = list ? *list : std::vector<HWND>();
    PlaceInZOrder(wnd, pos.hwndInsertAfter);
    reordered = list && *list != before;
  }
  w->rect = newRect;
  if (sized || (flags & SWP_FRAMECHANGED)) RecalcClient(*w);
  const RECT newClient = ClientInParent(*w);
  const bool showing = IsShowing(wnd);
  const bool changed = moved || sized || reordered || (flags & SWP_FRAMECHANGED) || wasShowing != showing;

  if (changed) {
    if (!w->isChild()) SyncTopSurface(wnd);
    GeometryChanged();
    TellDisplay(wnd);
  }
  if (changed && !(flags & SWP_NOREDRAW)) {
    const bool child = FindWindow(wnd)->isChild();
    // What the window uncovered belongs to its parent and the siblings below.
    if (child && wasShowing && (moved || sized || !showing)) InvalidateUncovered(wnd, oldRect);
    // The window is drawn whole where its pixels cannot be trusted: newly
    // shown, sized, moved within its parent's store, raised, or reframed. A
    // top-level window that only moved keeps its store.
    const bool repaint = !wasShowing || sized || (child && (moved || reordered)) ||
                         (flags & SWP_FRAMECHANGED);
    if (showing && repaint)
      RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }

  // Showing or raising a top-level window activates it.
  w = FindWindow(wnd);
  if (w && !w->isChild() && showing && !(flags & SWP_NOACTIVATE) &&
      ((flags & SWP_SHOWWINDOW) || reordered) && GetActiveWindow() != wnd)
    SetActiveWindow(wnd);
  w = FindWindow(wnd);
  if (!w) return TRUE;
  if (!showing && !w->isChild() && GetActiveWindow() == wnd) SetActiveWindow(NextTopLevel(wnd));

  w = FindWindow(wnd);
  if (!w) return TRUE;
  WINDOWPOS done{wnd, pos.hwndInsertAfter, w->rect.left, w->rect.top, Width(w->rect),
                 Height(w->rect), flags};
  if (newClient.left == oldClient.left && newClient.top == oldClient.top) done.flags |= SWP_NOCLIENTMOVE;
  if (Width(newClient) == Width(oldClient) && Height(newClient) == Height(oldClient))
    done.flags |= SWP_NOCLIENTSIZE;
  SendMessage(wnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&done));
  return TRUE;
}

BOOL MoveWindow(HWND wnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(wnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND wnd) {
  return SetWindowPos(wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL ShowWindow(HWND wnd, int cmd) {
  Window* w = FindWindow(wnd);
  if (!w || wnd == DesktopHandle()) return FALSE;
  const bool was = w->visible();
  const bool show = cmd != SW_HIDE;
  const bool activate = cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE && cmd != SW_SHOWMINNOACTIVE &&
                        cmd != SW_MINIMIZE && cmd != SW_HIDE;
  if (show != was) {
    SendMessage(wnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    w = FindWindow(wnd);
    if (!w) return was ? TRUE : FALSE;
  }
  const DWORD sizeState = w->style & (WS_MINIMIZE | WS_MAXIMIZE);
  RECT target = w->rect;
  DWORD newState = sizeState;
  switch (cmd) {
    case SW_MAXIMIZE: newState = WS_MAXIMIZE; break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE: newState = WS_MINIMIZE; break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT: newState = 0; break;
    default: break;
  }
  UINT flags = SWP_NOZORDER | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) |
               (activate ? 0 : SWP_NOACTIVATE);
  if (newState != sizeState) {
    if (sizeState == 0) {
      w->normalRect = w->rect;
      w->hasNormalRect = true;
    }
    w->style = (w->style & ~static_cast<DWORD>(WS_MINIMIZE | WS_MAXIMIZE)) | newState;
    if (newState == WS_MAXIMIZE)
      target = MaximizedRect(*w);
    else if (newState == WS_MINIMIZE)
      target = kMinimizedRect;
    else if (w->hasNormalRect)
      target = w->normalRect;
    flags |= SWP_FRAMECHANGED;
  } else {
    flags |= SWP_NOMOVE | SWP_NOSIZE;
    if (show == was) flags &= ~static_cast<UINT>(SWP_SHOWWINDOW | SWP_HIDEWINDOW);
  }
  if (!(flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED))) {
    // Nothing changes; a shown top-level window is still activated.
    if (show && activate && !w->isChild() && GetActiveWindow() != wnd) SetActiveWindow(wnd);
    return was ? TRUE : FALSE;
  }
  SetWindowPos(wnd, nullptr, target.left, target.top, Width(target), Height(target), flags);
  return was ? TRUE : FALSE;
}

BOOL GetWindowPlacement(HWND wnd, WINDOWPLACEMENT* out) {
  Window* w = FindWindow(wnd);
  if (!w || !out) return FALSE;
  out->length = sizeof(WINDOWPLACEMENT);
  out->flags = 0;
  out->showCmd = !w->visible() ? SW_HIDE
                 : (w->style & WS_MINIMIZE) ? SW_SHOWMINIMIZED
                 : (w->style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                            : SW_SHOWNORMAL;
  out->ptMinPosition = POINT{-1, -1};
  out->ptMaxPosition = POINT{-1, -1};
  out->rcNormalPosition = (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) && w->hasNormalRect ? w->normalRect : w->rect;
  return TRUE;
}

BOOL SetWindowPlacement(HWND wnd, const WINDOWPLACEMENT* placement) {
  Window* w = FindWindow(wnd);
  if (!w || !placement) return FALSE;
  const RECT& r = placement->rcNormalPosition;
  if (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) {
    w->normalRect = r;
    w->hasNormalRect = true;
  } else {
    SetWindowPos(wnd, nullptr, r.left, r.top, Width(r), Height(r), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(wnd, static_cast<int>(placement->showCmd));
  return TRUE;
}
