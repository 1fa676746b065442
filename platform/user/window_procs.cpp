// Calling window procedures: SendMessage, CallWindowProc and the default
// procedure, with the window text it keeps.
#include <algorithm>
#include <cstring>

#include "win/kernel.h"
#include "window_store.h"

using namespace win::user;

LRESULT CallWindowProc(WNDPROC proc, HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  return proc ? proc(wnd, msg, wp, lp) : 0;
}

LRESULT SendMessage(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* w = FindWindow(wnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return CallWindowProc(w->proc, wnd, msg, wp, lp);
}

LRESULT DefWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* w = FindWindow(wnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lp);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
      return TRUE;
    }
    case WM_CLOSE:
      DestroyWindow(wnd);
      return 0;
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lp);
      w->text = text ? text : "";
      return TRUE;
    }
    case WM_GETTEXT: {
      char* out = reinterpret_cast<char*>(lp);
      if (!out || wp == 0) return 0;
      const size_t n = std::min(w->text.size(), static_cast<size_t>(wp) - 1);
      std::memcpy(out, w->text.data(), n);
      out[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_ACTIVATE:
      // An activated window takes the focus unless it is minimized.
      if (LOWORD(wp) != WA_INACTIVE && !(w->style & WS_MINIMIZE)) SetFocus(wnd);
      return 0;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_CLOSE) SendMessage(wnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    default:
      return 0;
  }
}

BOOL IsWindow(HWND wnd) { return FindWindow(wnd) ? TRUE : FALSE; }

HWND GetParent(HWND wnd) {
  Window* w = FindWindow(wnd);
  if (!w) return nullptr;
  if (w->isChild()) return w->parent;
  if (w->style & WS_POPUP) return w->owner;
  return nullptr;
}

BOOL IsChild(HWND parent, HWND wnd) {
  Window* w = FindWindow(wnd);
  while (w && w->isChild() && w->parent) {
    if (w->parent == parent) return TRUE;
    w = FindWindow(w->parent);
  }
  return FALSE;
}

HWND GetDlgItem(HWND parent, int id) {
  Window* p = FindWindow(parent);
  if (!p) return nullptr;
  for (HWND c : p->children) {
    Window* w = FindWindow(c);
    if (w && reinterpret_cast<INT_PTR>(w->menu) == id) return c;
  }
  return nullptr;
}

int GetDlgCtrlID(HWND wnd) {
  Window* w = FindWindow(wnd);
  if (!w || !w->isChild()) return 0;
  return static_cast<int>(reinterpret_cast<INT_PTR>(w->menu));
}

BOOL SetWindowText(HWND wnd, LPCSTR text) {
  if (!FindWindow(wnd)) return FALSE;
  return SendMessage(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int GetWindowText(HWND wnd, LPSTR out, int size) {
  if (!out || size <= 0) return 0;
  out[0] = '\0';
  if (!FindWindow(wnd)) return 0;
  return static_cast<int>(SendMessage(wnd, WM_GETTEXT, static_cast<WPARAM>(size),
                                      reinterpret_cast<LPARAM>(out)));
}

int GetWindowTextLength(HWND wnd) {
  return static_cast<int>(SendMessage(wnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL ShowWindow(HWND wnd, int cmd) {
  Window* w = FindWindow(wnd);
  if (!w) return FALSE;
  const bool was = w->visible();
  const bool show = cmd != SW_HIDE;
  if (show != was) {
    SendMessage(wnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    w = FindWindow(wnd);
    if (!w) return was ? TRUE : FALSE;
    if (show)
      w->style |= WS_VISIBLE;
    else
      w->style &= ~static_cast<DWORD>(WS_VISIBLE);
  }
  if (cmd == SW_MAXIMIZE || cmd == SW_SHOWMAXIMIZED) {
    w->style = (w->style | WS_MAXIMIZE) & ~static_cast<DWORD>(WS_MINIMIZE);
  } else if (cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED || cmd == SW_SHOWMINNOACTIVE) {
    w->style = (w->style | WS_MINIMIZE) & ~static_cast<DWORD>(WS_MAXIMIZE);
  } else if (cmd == SW_RESTORE || cmd == SW_SHOWNORMAL) {
    w->style &= ~static_cast<DWORD>(WS_MINIMIZE | WS_MAXIMIZE);
  }
  return was ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND wnd) {
  Window* w = FindWindow(wnd);
  while (w) {
    if (!w->visible()) return FALSE;
    if (!w->isChild() || !w->parent) return TRUE;
    w = FindWindow(w->parent);
  }
  return FALSE;
}

BOOL EnableWindow(HWND wnd, BOOL enable) {
  Window* w = FindWindow(wnd);
  if (!w) return FALSE;
  const bool wasDisabled = !w->enabled();
  if (wasDisabled == !enable) return wasDisabled ? TRUE : FALSE;
  if (enable)
    w->style &= ~static_cast<DWORD>(WS_DISABLED);
  else
    w->style |= WS_DISABLED;
  // A disabled window gives up the focus.
  if (!enable && (GetFocus() == wnd || IsChild(wnd, GetFocus()))) SetFocus(nullptr);
  SendMessage(wnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND wnd) {
  Window* w = FindWindow(wnd);
  return w && w->enabled() ? TRUE : FALSE;
}
