// GetWindowLong and SetWindowLong: the window's procedure, styles, id, user
// data, owner and extra bytes.
#include "geometry.h"
#include "win/kernel.h"
#include "window_store.h"

using namespace win::user;

LONG_PTR GetWindowLong(HWND wnd, int index) {
  Window* w = FindWindow(wnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  switch (index) {
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWL_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(w->isChild() ? w->parent : w->owner);
    case GWL_STYLE: return static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(w->exStyle);
    case GWL_USERDATA: return w->userData;
    case GWL_ID: return reinterpret_cast<LONG_PTR>(w->menu);
    default: break;
  }
  LONG_PTR v = 0;
  if (!ReadExtraLong(w->extra, index, &v)) SetLastError(ERROR_INVALID_INDEX);
  return v;
}

LONG_PTR SetWindowLong(HWND wnd, int index, LONG_PTR value) {
  Window* w = FindWindow(wnd);
  if (!w || wnd == DesktopHandle()) {
    SetLastError(w ? ERROR_ACCESS_DENIED : ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  const LONG_PTR old = GetWindowLong(wnd, index);
  switch (index) {
    case GWL_WNDPROC:
      // A null procedure would be called with the next message.
      if (!value) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
      }
      w->proc = reinterpret_cast<WNDPROC>(value);
      return old;
    case GWL_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); return old;
    case GWL_HWNDPARENT:
      // Only the owner of a top-level window changes this way.
      if (w->isChild() || (value && !FindWindow(reinterpret_cast<HWND>(value)))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
      }
      w->owner = reinterpret_cast<HWND>(value);
      return old;
    case GWL_STYLE: {
      // Whether a window is a child is fixed at creation: the tree follows it.
      const DWORD keep = w->style & WS_CHILD;
      w->style = (static_cast<DWORD>(value) & ~static_cast<DWORD>(WS_CHILD)) | keep;
      GeometryChanged();  // visibility or clipping may have changed under the DCs
      return old;
    }
    case GWL_EXSTYLE:
      w->exStyle = static_cast<DWORD>(value);
      GeometryChanged();
      return old;
    case GWL_USERDATA: w->userData = value; return old;
    case GWL_ID: w->menu = reinterpret_cast<HMENU>(value); return old;
    default: break;
  }
  LONG_PTR previous = 0;
  if (!WriteExtraLong(w->extra, index, value, &previous)) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  return previous;
}
