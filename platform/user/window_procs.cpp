// Calling window procedures: SendMessage, CallWindowProc and the default
// procedure, with the window text it keeps.
#include <algorithm>
#include <cstring>

#include "display/display.h"
#include "geometry.h"
#include "input_queue.h"
#include "menus/menu_bar.h"
#include "nonclient.h"
#include "tracking.h"
#include "win/gdi.h"
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

namespace {

LONG LowSigned(LPARAM lp) { return static_cast<SHORT>(LOWORD(lp)); }
LONG HighSigned(LPARAM lp) { return static_cast<SHORT>(HIWORD(lp)); }

// The class brush fills the area to erase; a brush value of 1 to 25 is a
// system colour index + 1.
LRESULT EraseBackground(HWND wnd, HDC dc) {
  Window* w = FindWindow(wnd);
  if (!w || !w->cls || !w->cls->background || !dc) return 0;
  HBRUSH brush = w->cls->background;
  const auto value = reinterpret_cast<UINT_PTR>(brush);
  if (value >= 1 && value <= COLOR_INFOBK + 1) brush = GetSysColorBrush(static_cast<int>(value - 1));
  if (!brush) return 0;
  RECT rc;
  GetClientRect(wnd, &rc);
  FillRect(dc, &rc, brush);
  return 1;
}

LRESULT SetCursorFor(HWND wnd, WPARAM wp, LPARAM lp) {
  Window* w = FindWindow(wnd);
  if (!w) return FALSE;
  const SHORT hit = static_cast<SHORT>(LOWORD(lp));
  // A child lets its parent decide first, except on a sizing border.
  if (w->isChild() && w->parent && (hit < HTLEFT || hit > HTBOTTOMRIGHT)) {
    if (SendMessage(w->parent, WM_SETCURSOR, wp, lp)) return TRUE;
    w = FindWindow(wnd);
    if (!w) return FALSE;
  }
  switch (hit) {
    case HTERROR:
      if (HIWORD(lp) == WM_LBUTTONDOWN || HIWORD(lp) == WM_RBUTTONDOWN) MessageBeep(0);
      return FALSE;
    case HTCLIENT:
      if (w->cls && w->cls->cursor) {
        SetCursor(w->cls->cursor);
        return TRUE;
      }
      return FALSE;
    case HTLEFT:
    case HTRIGHT: SetCursor(LoadCursor(nullptr, IDC_SIZEWE)); return TRUE;
    case HTTOP:
    case HTBOTTOM: SetCursor(LoadCursor(nullptr, IDC_SIZENS)); return TRUE;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: SetCursor(LoadCursor(nullptr, IDC_SIZENWSE)); return TRUE;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: SetCursor(LoadCursor(nullptr, IDC_SIZENESW)); return TRUE;
    default: SetCursor(LoadCursor(nullptr, IDC_ARROW)); return TRUE;
  }
}

void SendMoveAndSize(HWND wnd, const WINDOWPOS* pos) {
  Window* w = FindWindow(wnd);
  if (!w || !pos) return;
  if (!(pos->flags & SWP_NOCLIENTMOVE)) {
    // The client origin in the parent's client area (screen for top level).
    const POINT p{w->rect.left + w->client.left, w->rect.top + w->client.top};
    SendMessage(wnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    w = FindWindow(wnd);
    if (!w) return;
  }
  if (!(pos->flags & SWP_NOCLIENTSIZE)) {
    const WPARAM kind = (w->style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                        : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                   : SIZE_RESTORED;
    const int cw = w->client.right - w->client.left, ch = w->client.bottom - w->client.top;
    SendMessage(wnd, WM_SIZE, kind, MAKELPARAM(static_cast<WORD>(cw), static_cast<WORD>(ch)));
  }
}

void NonClientPress(HWND wnd, WPARAM hit, LPARAM lp) {
  const POINT pt{LowSigned(lp), HighSigned(lp)};
  switch (hit) {
    case HTVSCROLL: StartScrollTracking(wnd, SB_VERT, pt); break;
    case HTHSCROLL: StartScrollTracking(wnd, SB_HORZ, pt); break;
    case HTCAPTION: {
      Window* w = FindWindow(wnd);
      if (w && !w->isChild() && !(w->style & WS_MAXIMIZE)) StartMoveTracking(wnd, pt);
      break;
    }
    case HTCLOSE: StartCloseTracking(wnd); break;
    case HTMENU: TrackMenuBarMouse(wnd, pt); break;
    default: break;
  }
}

// The keyboard's way into the menu bar of the window's top-level window:
// SC_KEYMENU with the character (0 for Alt or F10 alone).
void KeyMenu(HWND wnd, WPARAM ch) {
  if (const HWND top = TopLevelOf(wnd)) SendMessage(top, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(ch));
}

}  // namespace

// DefWindowProc: the text (WM_SETTEXT, WM_GETTEXT), the frame (WM_NCCALCSIZE,
// WM_NCHITTEST, WM_NCPAINT, WM_NCACTIVATE), painting (WM_PAINT validates,
// WM_ERASEBKGND fills with the class brush), WM_SETCURSOR, WM_MOUSEACTIVATE,
// WM_WINDOWPOSCHANGED (WM_MOVE and WM_SIZE), presses on scroll bars, the
// caption and its close box and the menu bar, WM_SYSCOMMAND (close,
// minimize, maximize, restore, the menu bar by keyboard), Alt+F4, Alt+letter
// and Alt or F10 alone (the menu bar), WM_CLOSE (destroys the window), the
// font of WM_SETFONT (given back by WM_GETFONT), WM_CANCELMODE.
LRESULT DefWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* w = FindWindow(wnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lp);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
      return TRUE;
    }
    case WM_NCCALCSIZE: {
      RECT* r = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
      if (!r) return 0;
      const int width = r->right - r->left;
      const int menu = w->isChild() ? 0 : MenuBarHeight(wnd, width);
      const FrameLayout f = LayoutFrame(w->style, w->exStyle, width, r->bottom - r->top, menu);
      *r = RECT{r->left + f.client.left, r->top + f.client.top, r->left + f.client.right,
                r->top + f.client.bottom};
      return 0;
    }
    case WM_NCHITTEST: {
      const POINT o = WindowOriginOnScreen(wnd);
      return HitTestFrame(*w, POINT{LowSigned(lp) - o.x, HighSigned(lp) - o.y});
    }
    case WM_NCPAINT:
      PaintFrame(wnd);
      return 0;
    case WM_NCACTIVATE:
      if ((w->style & WS_CAPTION) == WS_CAPTION && IsWindowVisible(wnd)) PaintFrame(wnd);
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(wnd, &ps);
      EndPaint(wnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return EraseBackground(wnd, reinterpret_cast<HDC>(wp));
    case WM_SETCURSOR:
      return SetCursorFor(wnd, wp, lp);
    case WM_MOUSEACTIVATE:
      if (w->isChild() && w->parent) {
        const LRESULT r = SendMessage(w->parent, WM_MOUSEACTIVATE, wp, lp);
        if (r) return r;
      }
      return MA_ACTIVATE;
    case WM_WINDOWPOSCHANGED:
      SendMoveAndSize(wnd, reinterpret_cast<const WINDOWPOS*>(lp));
      return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      NonClientPress(wnd, wp, lp);
      return 0;
    case WM_CANCELMODE:
      if (TrackerActive()) CancelTracking();
      if (GetCapture() == wnd) ReleaseCapture();
      return 0;
    case WM_CLOSE:
      DestroyWindow(wnd);
      return 0;
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lp);
      w->text = text ? text : "";
      if (!w->isChild()) win::display::Active().WindowChanged(wnd);
      if ((w->style & WS_CAPTION) == WS_CAPTION && IsWindowVisible(wnd)) PaintFrame(wnd);
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
    case WM_SETFONT:
      w->font = reinterpret_cast<HFONT>(wp);
      if (LOWORD(lp)) InvalidateRect(wnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(w->font);
    case WM_ACTIVATE:
      // An activated window takes the focus unless it is minimized.
      if (LOWORD(wp) != WA_INACTIVE && !(w->style & WS_MINIMIZE)) SetFocus(wnd);
      return 0;
    case WM_SYSCOMMAND:
      switch (wp & 0xFFF0) {
        case SC_CLOSE: SendMessage(wnd, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE: ShowWindow(wnd, SW_MINIMIZE); break;
        case SC_MAXIMIZE: ShowWindow(wnd, SW_MAXIMIZE); break;
        case SC_RESTORE: ShowWindow(wnd, SW_RESTORE); break;
        case SC_KEYMENU: TrackMenuBarKey(wnd, static_cast<char>(lp & 0xFF)); break;
        default: break;
      }
      return 0;
    case WM_SYSKEYDOWN:
      if (wp == VK_F4 && (lp & (1 << 29))) {
        const HWND top = TopLevelOf(wnd);
        if (top) SendMessage(top, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return 0;
    case WM_SYSKEYUP:
    case WM_KEYUP:
      if ((wp == VK_MENU || wp == VK_F10) && MenuKeyAlone() == wp) {
        ForgetMenuKey();
        KeyMenu(wnd, 0);
      }
      return 0;
    case WM_SYSCHAR:
      // Alt+letter: the menu item with that mnemonic (Tab, Enter and Escape
      // belong to the window switching of the desktop).
      if ((lp & (1 << 29)) && wp != '\t' && wp != '\r' && wp != 0x1B) KeyMenu(wnd, wp);
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
