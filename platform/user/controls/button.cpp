// Buttons: their state (check, pushed, focus) in the window's extra bytes,
// the mouse and the space bar, clicks and their notifications.
#include "button.h"

#include "button_paint.h"
#include "control_common.h"
#include "user/dialogs/dialog_state.h"

namespace win::user {
namespace {

constexpr LONG_PTR kCheckMask = 0x3;
constexpr LONG_PTR kPushed = BST_PUSHED;
constexpr LONG_PTR kFocus = BST_FOCUS;
constexpr LONG_PTR kMouseTracking = 0x10;
constexpr LONG_PTR kSpaceDown = 0x20;

LONG_PTR StateOf(HWND b) { return GetWindowLong(b, 0); }
void SetState(HWND b, LONG_PTR s) { SetWindowLong(b, 0, s); }

bool IsRadio(DWORD type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }
bool IsCheck(DWORD type) {
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}
bool IsPush(DWORD type) { return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON; }
bool Notifies(HWND b, DWORD type) {
  return (GetWindowLong(b, GWL_STYLE) & BS_NOTIFY) || type == BS_RADIOBUTTON || type == BS_OWNERDRAW ||
         type == BS_USERBUTTON;
}

// A state change: an owner-drawn button is drawn at once (with the action
// that changed), any other is painted with the next WM_PAINT, after its
// parent.
void Redraw(HWND b, UINT action) {
  if (TypeOf(b) == BS_OWNERDRAW) {
    DrawOwnerButton(b, action);
    return;
  }
  InvalidateRect(b, nullptr, FALSE);
}

void SetPushed(HWND b, bool pushed) {
  const LONG_PTR s = StateOf(b);
  if (((s & kPushed) != 0) == pushed) return;
  SetState(b, pushed ? (s | kPushed) : (s & ~kPushed));
  Redraw(b, ODA_SELECT);
}

void SetCheck(HWND b, WPARAM check) {
  const DWORD type = TypeOf(b);
  if (!IsRadio(type) && !IsCheck(type)) return;
  LONG_PTR value = static_cast<LONG_PTR>(check) & kCheckMask;
  if (value == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE) value = BST_CHECKED;
  if (value == 3) value = BST_CHECKED;
  const LONG_PTR s = StateOf(b);
  // A checked radio button is where Tab enters its group.
  if (IsRadio(type)) {
    const LONG_PTR style = GetWindowLong(b, GWL_STYLE);
    SetWindowLong(b, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
  }
  if ((s & kCheckMask) == value) return;
  SetState(b, (s & ~kCheckMask) | value);
  Redraw(b, ODA_SELECT);
}

// The other radio buttons of this one's group lose their check.
void UncheckGroup(HWND b) {
  HWND parent = GetParent(b);
  if (!parent) return;
  HWND dlg = parent;
  HWND start = b;
  for (HWND c = b; c && !(GetWindowLong(c, GWL_STYLE) & WS_GROUP);) {
    HWND prev = GetWindow(c, GW_HWNDPREV);
    if (!prev) break;
    start = prev;
    c = prev;
  }
  for (HWND c = start; c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (c != start && (GetWindowLong(c, GWL_STYLE) & WS_GROUP)) break;
    if (c == b) continue;
    if (SendMessage(c, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) SendMessage(c, BM_SETCHECK, BST_UNCHECKED, 0);
  }
  (void)dlg;
}

void Click(HWND b) {
  const DWORD type = TypeOf(b);
  const LONG_PTR check = StateOf(b) & kCheckMask;
  switch (type) {
    case BS_AUTOCHECKBOX: SetCheck(b, check ? BST_UNCHECKED : BST_CHECKED); break;
    case BS_AUTO3STATE:
      SetCheck(b, check == BST_UNCHECKED ? BST_CHECKED : check == BST_CHECKED ? BST_INDETERMINATE : BST_UNCHECKED);
      break;
    case BS_AUTORADIOBUTTON:
      SetCheck(b, BST_CHECKED);
      UncheckGroup(b);
      break;
    default: break;
  }
  if (IsWindow(b)) NotifyParent(b, BN_CLICKED);
}

LRESULT DlgCode(HWND b) {
  const DWORD type = TypeOf(b);
  if (type == BS_GROUPBOX) return DLGC_STATIC;
  if (IsRadio(type)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
  if (type == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
  if (type == BS_PUSHBUTTON) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
  return DLGC_BUTTON;
}

bool InsideClient(HWND b, LPARAM lp) {
  RECT rc;
  GetClientRect(b, &rc);
  const POINT p{static_cast<SHORT>(LOWORD(lp)), static_cast<SHORT>(HIWORD(lp))};
  return PtInRect(&rc, p) != FALSE;
}

void FocusChanged(HWND b, bool focused) {
  const LONG_PTR s = StateOf(b);
  LONG_PTR n = focused ? (s | kFocus) : (s & ~kFocus);
  if (!focused && (s & kSpaceDown)) n &= ~(kSpaceDown | kPushed);
  SetState(b, n);
  const DWORD type = TypeOf(b);
  if (IsPush(type)) {
    if (HWND dlg = DialogOfControl(b)) UpdateDefaultButton(dlg, focused ? b : GetFocus());
  }
  if (!IsWindow(b)) return;
  Redraw(b, ODA_FOCUS);
  if (IsWindow(b) && Notifies(b, type) && (GetWindowLong(b, GWL_STYLE) & BS_NOTIFY))
    NotifyParent(b, focused ? BN_SETFOCUS : BN_KILLFOCUS);
}

}  // namespace

LRESULT ButtonProc(HWND b, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      SetState(b, 0);
      return 0;
    case WM_NCHITTEST:
      // A group box lies over the controls it frames: the mouse passes
      // through it to them, or to the dialog.
      if (TypeOf(b) == BS_GROUPBOX) return HTTRANSPARENT;
      return DefWindowProc(b, msg, wp, lp);
    case WM_GETDLGCODE: return DlgCode(b);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(b, &ps);
      if (dc) PaintButton(b, dc, StateOf(b));
      EndPaint(b, &ps);
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      if (Notifies(b, TypeOf(b)) && (IsRadio(TypeOf(b)) || TypeOf(b) == BS_OWNERDRAW ||
                                     (GetWindowLong(b, GWL_STYLE) & BS_NOTIFY))) {
        NotifyParent(b, BN_DOUBLECLICKED);
        if (!IsWindow(b)) return 0;
      }
      [[fallthrough]];
    case WM_LBUTTONDOWN:
      if (TypeOf(b) == BS_GROUPBOX) return 0;
      if (GetFocus() != b) SetFocus(b);
      if (!IsWindow(b)) return 0;
      SetCapture(b);
      SetState(b, StateOf(b) | kMouseTracking);
      SetPushed(b, true);
      return 0;
    case WM_MOUSEMOVE:
      if ((StateOf(b) & kMouseTracking) && GetCapture() == b) SetPushed(b, InsideClient(b, lp));
      return 0;
    case WM_LBUTTONUP: {
      const LONG_PTR s = StateOf(b);
      if (!(s & kMouseTracking)) return 0;
      const bool inside = InsideClient(b, lp);
      SetState(b, s & ~kMouseTracking);
      if (GetCapture() == b) ReleaseCapture();
      if (!IsWindow(b)) return 0;
      SetPushed(b, false);
      if (inside && IsWindow(b)) Click(b);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (StateOf(b) & kMouseTracking) {
        SetState(b, StateOf(b) & ~kMouseTracking);
        SetPushed(b, false);
      }
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_SPACE && !(StateOf(b) & kMouseTracking) && TypeOf(b) != BS_GROUPBOX) {
        SetState(b, StateOf(b) | kSpaceDown);
        SetPushed(b, true);
        return 0;
      }
      return DefWindowProc(b, msg, wp, lp);
    case WM_KEYUP:
      if (wp == VK_SPACE && (StateOf(b) & kSpaceDown)) {
        SetState(b, StateOf(b) & ~kSpaceDown);
        SetPushed(b, false);
        if (IsWindow(b)) Click(b);
        return 0;
      }
      return DefWindowProc(b, msg, wp, lp);
    case WM_SETFOCUS:
      FocusChanged(b, true);
      return 0;
    case WM_KILLFOCUS:
      FocusChanged(b, false);
      return 0;
    case WM_ENABLE:
    case WM_SETTEXT: {
      const LRESULT r = DefWindowProc(b, msg, wp, lp);
      if (TypeOf(b) == BS_GROUPBOX && GetParent(b)) {
        // A group box is drawn over its parent: the parent paints under it.
        RECT rc;
        GetWindowRect(b, &rc);
        MapWindowPoints(nullptr, GetParent(b), reinterpret_cast<LPPOINT>(&rc), 2);
        InvalidateRect(GetParent(b), &rc, TRUE);
      }
      InvalidateRect(b, nullptr, FALSE);
      return r;
    }
    case BM_GETCHECK: {
      const DWORD type = TypeOf(b);
      return IsRadio(type) || IsCheck(type) ? (StateOf(b) & kCheckMask) : 0;
    }
    case BM_SETCHECK:
      SetCheck(b, wp);
      return 0;
    case BM_GETSTATE: return StateOf(b) & (kCheckMask | kPushed | kFocus);
    case BM_SETSTATE:
      SetPushed(b, wp != 0);
      return 0;
    case BM_SETSTYLE: {
      const LONG_PTR style = GetWindowLong(b, GWL_STYLE);
      SetWindowLong(b, GWL_STYLE, (style & ~static_cast<LONG_PTR>(0xFFFF)) | static_cast<LONG_PTR>(wp & 0xFFFF));
      if (LOWORD(lp)) InvalidateRect(b, nullptr, FALSE);
      return 0;
    }
    case BM_CLICK:
      if (IsWindowEnabled(b) && TypeOf(b) != BS_GROUPBOX) Click(b);
      return 0;
    default: return DefWindowProc(b, msg, wp, lp);
  }
}

}  // namespace win::user
