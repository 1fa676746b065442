// Creating and destroying windows.
#include <algorithm>

#include "caret.h"
#include "display/display.h"
#include "geometry.h"
#include "input_queue.h"
#include "paint.h"
#include "surfaces.h"
#include "tracking.h"
#include "win/kernel.h"
#include "window_store.h"

using namespace win::user;

#define ERROR_TLW_WITH_WSCHILD 1406

namespace {

// Windows places overlapped windows without an explicit position at the
// top-left corner and gives them three quarters of the screen.
void defaultGeometry(bool child, int& x, int& y, int& w, int& h) {
  if (x == CW_USEDEFAULT) x = y = 0;
  if (w == CW_USEDEFAULT) {
    if (child) {
      w = h = 0;
    } else {
      w = GetSystemMetrics(SM_CXSCREEN) * 3 / 4;
      h = GetSystemMetrics(SM_CYSCREEN) * 3 / 4;
    }
  }
}

void unlinkFromParent(Window& w) {
  if (w.isChild()) {
    if (!w.parent) return;
    if (Window* p = FindWindow(w.parent)) std::erase(p->children, w.handle);
  } else {
    std::erase(FindWindow(DesktopHandle())->children, w.handle);
  }
}

// Frees a window whose WM_DESTROY has gone out: children first (each gets
// its WM_NCDESTROY), then the window itself.
void freeTree(HWND wnd) {
  Window* w = FindWindow(wnd);
  if (!w) return;
  const std::vector<HWND> children = w->children;
  for (HWND c : children) freeTree(c);
  w = FindWindow(wnd);
  if (!w) return;
  if (!w->sentDestroy) {
    // A child created while its parent was being destroyed.
    w->sentDestroy = true;
    SendMessage(wnd, WM_DESTROY, 0, 0);
  }
  SendMessage(wnd, WM_NCDESTROY, 0, 0);
  w = FindWindow(wnd);
  if (!w) return;
  unlinkFromParent(*w);
  const bool topLevel = !w->isChild();
  ForgetWindowTimers(wnd);
  ForgetWindowInQueue(wnd);
  ForgetWindowInput(wnd);
  ForgetWindowFocus(wnd);
  ForgetWindowCaret(wnd);
  if (topLevel) win::display::Active().WindowDestroyed(wnd);
  FreeWindow(wnd);
  GeometryChanged();
}

void markDestroying(HWND wnd) {
  Window* w = FindWindow(wnd);
  if (!w) return;
  w->state = WindowState::Destroying;
  for (HWND c : w->children) markDestroying(c);
}

// WM_DESTROY goes to the window first and then down to its children.
void sendDestroyTree(HWND wnd) {
  Window* w = FindWindow(wnd);
  if (!w || w->sentDestroy) return;
  w->sentDestroy = true;
  SendMessage(wnd, WM_DESTROY, 0, 0);
  w = FindWindow(wnd);
  if (!w) return;
  const std::vector<HWND> children = w->children;
  for (HWND c : children) sendDestroyTree(c);
}

bool focusInside(HWND wnd) {
  HWND f = GetFocus();
  return f && (f == wnd || IsChild(wnd, f));
}

}  // namespace

HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE inst,
                    LPVOID param) {
  auto cls = FindClass(className);
  if (!cls) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return nullptr;
  }
  if (parent == DesktopHandle()) parent = nullptr;
  if (parent && !FindWindow(parent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  const bool child = (style & WS_CHILD) != 0;
  if (child && !parent) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  defaultGeometry(child, x, y, width, height);
  width = std::clamp(width, 0, 1 << 28);
  height = std::clamp(height, 0, 1 << 28);
  x = std::clamp(x, -(1 << 28), 1 << 28);
  y = std::clamp(y, -(1 << 28), 1 << 28);
  EnsureSurfaceProvider();

  DWORD stored = style & ~static_cast<DWORD>(WS_VISIBLE);  // shown once created
  // Overlapped windows always have a caption and clip their siblings.
  if (!(style & (WS_CHILD | WS_POPUP))) stored |= WS_CAPTION | WS_CLIPSIBLINGS;

  Window& w = NewWindow();
  const HWND wnd = w.handle;
  w.cls = cls;
  ++cls->windowCount;
  w.proc = cls->proc;
  w.style = stored;
  w.exStyle = exStyle;
  w.instance = inst;
  w.menu = menu;
  w.parent = child ? parent : nullptr;
  w.owner = child ? nullptr : TopLevelOf(parent);
  w.rect = {x, y, x + width, y + height};
  w.extra.assign(static_cast<size_t>(cls->wndExtraBytes), 0);
  RecalcClient(w);
  if (child) {
    FindWindow(parent)->children.push_back(wnd);  // the bottom of the Z order
  } else {
    PlaceInZOrder(wnd, HWND_TOP);
    SyncTopSurface(wnd);
    win::display::Active().WindowChanged(wnd);
  }

  CREATESTRUCT cs{};
  cs.lpCreateParams = param;
  cs.hInstance = inst;
  cs.hMenu = menu;
  cs.hwndParent = parent;
  cs.cy = height;
  cs.cx = width;
  cs.y = y;
  cs.x = x;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = title;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;
  win::CallWindowCreationHook(wnd, &cs);  // the framework attaches its object

  if (!SendMessage(wnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    if (Window* r = FindWindow(wnd)) {
      r->sentDestroy = true;  // never created: it only hears WM_NCDESTROY
      r->state = WindowState::Destroying;
      freeTree(wnd);
    }
    return nullptr;
  }
  if (!FindWindow(wnd)) return nullptr;
  if (SendMessage(wnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(wnd);
    return nullptr;
  }
  Window* r = FindWindow(wnd);
  if (!r || r->state != WindowState::Creating) return nullptr;  // destroyed itself
  r->state = WindowState::Alive;
  const RECT client = r->client;
  SendMessage(wnd, WM_SIZE, SIZE_RESTORED,
              MAKELPARAM(static_cast<WORD>(client.right - client.left),
                         static_cast<WORD>(client.bottom - client.top)));
  SendMessage(wnd, WM_MOVE, 0,
              MAKELPARAM(static_cast<WORD>(x + client.left), static_cast<WORD>(y + client.top)));
  if ((style & WS_VISIBLE) && FindWindow(wnd)) ShowWindow(wnd, SW_SHOW);
  return FindWindow(wnd) ? wnd : nullptr;
}

HWND CreateWindow(LPCSTR cls, LPCSTR title, DWORD style, int x, int y, int w, int h, HWND parent,
                  HMENU menu, HINSTANCE inst, LPVOID param) {
  return CreateWindowEx(0, cls, title, style, x, y, w, h, parent, menu, inst, param);
}

BOOL DestroyWindow(HWND wnd) {
  Window* w = FindWindow(wnd);
  if (!w || wnd == DesktopHandle()) {
    SetLastError(w ? ERROR_ACCESS_DENIED : ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (w->state == WindowState::Destroying) return FALSE;  // already on its way
  w->state = WindowState::Destroying;

  // Owned windows go first, as their owner disappears under them.
  for (HWND other : AllWindows()) {
    Window* o = FindWindow(other);
    if (o && o->owner == wnd && o->state != WindowState::Destroying) DestroyWindow(other);
  }

  if (focusInside(wnd)) {
    w = FindWindow(wnd);
    SetFocus(w && w->isChild() ? w->parent : nullptr);
  }
  if (GetActiveWindow() == wnd) SetActiveWindow(nullptr);
  if (TrackerActive() && (GetCapture() == wnd || IsChild(wnd, GetCapture()))) CancelTracking();
  if (HWND capture = GetCapture(); capture == wnd || IsChild(wnd, capture)) ReleaseCapture();

  // A shown window leaves its area to its parent and the siblings below.
  w = FindWindow(wnd);
  if (w && w->isChild() && IsShowing(wnd)) {
    const RECT area = w->rect;
    w->style &= ~static_cast<DWORD>(WS_VISIBLE);
    GeometryChanged();
    InvalidateUncovered(wnd, area);
  }

  markDestroying(wnd);
  sendDestroyTree(wnd);
  freeTree(wnd);
  return TRUE;
}
