// Message-map entries for window messages: ON_WM_xxx() names the handler
// CWnd declares for the message (OnPaint, OnSize, ...) and decodes wParam and
// lParam into its arguments. Handles in the arguments become window, DC,
// scroll-bar and menu objects (permanent ones when they exist, temporary ones
// otherwise).
#pragma once

#include "mfc/cmd_target.h"
#include "mfc/geometry.h"
#include "win/user.h"

class CWnd;
class CDC;
class CScrollBar;
class CMenu;

// The objects of handles, as handlers receive them.
CWnd* AfxWndFromHandle(HWND wnd);
CDC* AfxDCFromHandle(HDC dc);
CScrollBar* AfxScrollBarFromHandle(HWND wnd);
CMenu* AfxMenuFromHandle(HMENU menu);

namespace afx_detail {

inline int LowSigned(LPARAM lp) { return static_cast<SHORT>(LOWORD(lp)); }
inline int HighSigned(LPARAM lp) { return static_cast<SHORT>(HIWORD(lp)); }
inline CPoint PointOf(LPARAM lp) { return CPoint(LowSigned(lp), HighSigned(lp)); }

template <class T, auto F>
LRESULT VoidCall(CCmdTarget* t, const AfxMessageCall&) {
  (static_cast<T*>(t)->*F)();
  return 0;
}
template <class T, auto F>
LRESULT BoolCall(CCmdTarget* t, const AfxMessageCall&) {
  return (static_cast<T*>(t)->*F)();
}
template <class T, auto F>
LRESULT CreateCall(CCmdTarget* t, const AfxMessageCall& c) {
  return (static_cast<T*>(t)->*F)(reinterpret_cast<LPCREATESTRUCT>(c.lParam));
}
template <class T, auto F>
LRESULT DCBoolCall(CCmdTarget* t, const AfxMessageCall& c) {
  return (static_cast<T*>(t)->*F)(AfxDCFromHandle(reinterpret_cast<HDC>(c.wParam)));
}
template <class T, auto F>
LRESULT SizeCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(static_cast<UINT>(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam));
  return 0;
}
template <class T, auto F>
LRESULT MoveCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(LowSigned(c.lParam), HighSigned(c.lParam));
  return 0;
}
template <class T, auto F>
LRESULT TimerCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(static_cast<UINT_PTR>(c.wParam));
  return 0;
}
template <class T, auto F>
LRESULT MouseCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(static_cast<UINT>(c.wParam), PointOf(c.lParam));
  return 0;
}
template <class T, auto F>
LRESULT SetCursorCall(CCmdTarget* t, const AfxMessageCall& c) {
  return (static_cast<T*>(t)->*F)(AfxWndFromHandle(reinterpret_cast<HWND>(c.wParam)),
                                  static_cast<UINT>(LowSigned(c.lParam)), HIWORD(c.lParam));
}
template <class T, auto F>
LRESULT MouseActivateCall(CCmdTarget* t, const AfxMessageCall& c) {
  return (static_cast<T*>(t)->*F)(AfxWndFromHandle(reinterpret_cast<HWND>(c.wParam)),
                                  static_cast<UINT>(LowSigned(c.lParam)), HIWORD(c.lParam));
}
template <class T, auto F>
LRESULT KeyCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(static_cast<UINT>(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam));
  return 0;
}
template <class T, auto F>
LRESULT WndCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(AfxWndFromHandle(reinterpret_cast<HWND>(c.wParam)));
  return 0;
}
template <class T, auto F>
LRESULT CaptureChangedCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(AfxWndFromHandle(reinterpret_cast<HWND>(c.lParam)));
  return 0;
}
template <class T, auto F>
LRESULT ScrollCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(LOWORD(c.wParam), HIWORD(c.wParam),
                           AfxScrollBarFromHandle(reinterpret_cast<HWND>(c.lParam)));
  return 0;
}
template <class T, auto F>
LRESULT BoolArgCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(static_cast<BOOL>(c.wParam));
  return 0;
}
template <class T, auto F>
LRESULT DrawItemCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(static_cast<int>(c.wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(c.lParam));
  return TRUE;
}
// WM_CTLCOLOR: the dispatcher hands the AFX_CTLCOLOR in `extra`.
template <class T, auto F>
LRESULT CtlColorCall(CCmdTarget* t, const AfxMessageCall& c) {
  const auto* ctl = static_cast<const AFX_CTLCOLOR*>(c.extra);
  if (!ctl) return 0;
  return reinterpret_cast<LRESULT>((static_cast<T*>(t)->*F)(
      AfxDCFromHandle(ctl->hDC), AfxWndFromHandle(ctl->hWnd), ctl->nCtlType));
}
// The reflected WM_CTLCOLOR: HBRUSH CtlColor(CDC*, UINT) of the control.
template <class T, auto F>
LRESULT CtlColorReflectCall(CCmdTarget* t, const AfxMessageCall& c) {
  const auto* ctl = static_cast<const AFX_CTLCOLOR*>(c.extra);
  if (!ctl) return 0;
  return reinterpret_cast<LRESULT>(
      (static_cast<T*>(t)->*F)(AfxDCFromHandle(ctl->hDC), ctl->nCtlType));
}
template <class T, auto F>
LRESULT InitMenuCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(AfxMenuFromHandle(reinterpret_cast<HMENU>(c.wParam)));
  return 0;
}
template <class T, auto F>
LRESULT InitMenuPopupCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(AfxMenuFromHandle(reinterpret_cast<HMENU>(c.wParam)), LOWORD(c.lParam),
                           static_cast<BOOL>(HIWORD(c.lParam)));
  return 0;
}
template <class T, auto F>
LRESULT ActivateCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(LOWORD(c.wParam), AfxWndFromHandle(reinterpret_cast<HWND>(c.lParam)),
                           static_cast<BOOL>(HIWORD(c.wParam)));
  return 0;
}
template <class T, auto F>
LRESULT ActivateAppCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(static_cast<BOOL>(c.wParam), static_cast<DWORD>(c.lParam));
  return 0;
}
template <class T, auto F>
LRESULT ShowWindowCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(static_cast<BOOL>(c.wParam), static_cast<UINT>(c.lParam));
  return 0;
}
template <class T, auto F>
LRESULT SysCommandCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(static_cast<UINT>(c.wParam), c.lParam);
  return 0;
}
template <class T, auto F>
LRESULT WindowPosCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(reinterpret_cast<WINDOWPOS*>(c.lParam));
  return 0;
}
template <class T, auto F>
LRESULT MinMaxCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(reinterpret_cast<void*>(c.lParam));
  return 0;
}
template <class T, auto F>
LRESULT UintCall(CCmdTarget* t, const AfxMessageCall&) {
  return static_cast<LRESULT>((static_cast<T*>(t)->*F)());
}
template <class T, auto F>
LRESULT HitTestCall(CCmdTarget* t, const AfxMessageCall& c) {
  return static_cast<LRESULT>((static_cast<T*>(t)->*F)(PointOf(c.lParam)));
}
template <class T, auto F>
LRESULT ParentNotifyCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(LOWORD(c.wParam), c.lParam);
  return 0;
}
template <class T, auto F>
LRESULT EnterIdleCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(static_cast<UINT>(c.wParam),
                           AfxWndFromHandle(reinterpret_cast<HWND>(c.lParam)));
  return 0;
}

}  // namespace afx_detail

#define ZEMRA_ON_WM(message, thunk, fn) \
  {(UINT)(message), 0, 0, 0, &afx_detail::thunk<ThisClass, &ThisClass::fn>},

#define ON_WM_ACTIVATE() ZEMRA_ON_WM(WM_ACTIVATE, ActivateCall, OnActivate)
#define ON_WM_ACTIVATEAPP() ZEMRA_ON_WM(WM_ACTIVATEAPP, ActivateAppCall, OnActivateApp)
#define ON_WM_CANCELMODE() ZEMRA_ON_WM(WM_CANCELMODE, VoidCall, OnCancelMode)
#define ON_WM_CAPTURECHANGED() ZEMRA_ON_WM(WM_CAPTURECHANGED, CaptureChangedCall, OnCaptureChanged)
#define ON_WM_CHAR() ZEMRA_ON_WM(WM_CHAR, KeyCall, OnChar)
#define ON_WM_CLOSE() ZEMRA_ON_WM(WM_CLOSE, VoidCall, OnClose)
#define ON_WM_CREATE() ZEMRA_ON_WM(WM_CREATE, CreateCall, OnCreate)
#define ON_WM_CTLCOLOR() ZEMRA_ON_WM(WM_CTLCOLOR, CtlColorCall, OnCtlColor)
#define ON_WM_DESTROY() ZEMRA_ON_WM(WM_DESTROY, VoidCall, OnDestroy)
#define ON_WM_DRAWITEM() ZEMRA_ON_WM(WM_DRAWITEM, DrawItemCall, OnDrawItem)
#define ON_WM_ENABLE() ZEMRA_ON_WM(WM_ENABLE, BoolArgCall, OnEnable)
#define ON_WM_ENDSESSION() ZEMRA_ON_WM(WM_ENDSESSION, BoolArgCall, OnEndSession)
#define ON_WM_ENTERIDLE() ZEMRA_ON_WM(WM_ENTERIDLE, EnterIdleCall, OnEnterIdle)
#define ON_WM_ERASEBKGND() ZEMRA_ON_WM(WM_ERASEBKGND, DCBoolCall, OnEraseBkgnd)
#define ON_WM_GETDLGCODE() ZEMRA_ON_WM(WM_GETDLGCODE, UintCall, OnGetDlgCode)
#define ON_WM_GETMINMAXINFO() ZEMRA_ON_WM(WM_GETMINMAXINFO, MinMaxCall, OnGetMinMaxInfo)
#define ON_WM_HSCROLL() ZEMRA_ON_WM(WM_HSCROLL, ScrollCall, OnHScroll)
#define ON_WM_VSCROLL() ZEMRA_ON_WM(WM_VSCROLL, ScrollCall, OnVScroll)
#define ON_WM_INITMENU() ZEMRA_ON_WM(WM_INITMENU, InitMenuCall, OnInitMenu)
#define ON_WM_INITMENUPOPUP() ZEMRA_ON_WM(WM_INITMENUPOPUP, InitMenuPopupCall, OnInitMenuPopup)
#define ON_WM_KEYDOWN() ZEMRA_ON_WM(WM_KEYDOWN, KeyCall, OnKeyDown)
#define ON_WM_KEYUP() ZEMRA_ON_WM(WM_KEYUP, KeyCall, OnKeyUp)
#define ON_WM_SYSKEYDOWN() ZEMRA_ON_WM(WM_SYSKEYDOWN, KeyCall, OnSysKeyDown)
#define ON_WM_SYSKEYUP() ZEMRA_ON_WM(WM_SYSKEYUP, KeyCall, OnSysKeyUp)
#define ON_WM_SYSCHAR() ZEMRA_ON_WM(WM_SYSCHAR, KeyCall, OnSysChar)
#define ON_WM_KILLFOCUS() ZEMRA_ON_WM(WM_KILLFOCUS, WndCall, OnKillFocus)
#define ON_WM_SETFOCUS() ZEMRA_ON_WM(WM_SETFOCUS, WndCall, OnSetFocus)
#define ON_WM_LBUTTONDBLCLK() ZEMRA_ON_WM(WM_LBUTTONDBLCLK, MouseCall, OnLButtonDblClk)
#define ON_WM_LBUTTONDOWN() ZEMRA_ON_WM(WM_LBUTTONDOWN, MouseCall, OnLButtonDown)
#define ON_WM_LBUTTONUP() ZEMRA_ON_WM(WM_LBUTTONUP, MouseCall, OnLButtonUp)
#define ON_WM_MBUTTONDBLCLK() ZEMRA_ON_WM(WM_MBUTTONDBLCLK, MouseCall, OnMButtonDblClk)
#define ON_WM_MBUTTONDOWN() ZEMRA_ON_WM(WM_MBUTTONDOWN, MouseCall, OnMButtonDown)
#define ON_WM_MBUTTONUP() ZEMRA_ON_WM(WM_MBUTTONUP, MouseCall, OnMButtonUp)
#define ON_WM_RBUTTONDBLCLK() ZEMRA_ON_WM(WM_RBUTTONDBLCLK, MouseCall, OnRButtonDblClk)
#define ON_WM_RBUTTONDOWN() ZEMRA_ON_WM(WM_RBUTTONDOWN, MouseCall, OnRButtonDown)
#define ON_WM_RBUTTONUP() ZEMRA_ON_WM(WM_RBUTTONUP, MouseCall, OnRButtonUp)
#define ON_WM_MOUSEMOVE() ZEMRA_ON_WM(WM_MOUSEMOVE, MouseCall, OnMouseMove)
#define ON_WM_MOUSEACTIVATE() ZEMRA_ON_WM(WM_MOUSEACTIVATE, MouseActivateCall, OnMouseActivate)
#define ON_WM_MOVE() ZEMRA_ON_WM(WM_MOVE, MoveCall, OnMove)
#define ON_WM_NCCREATE() ZEMRA_ON_WM(WM_NCCREATE, CreateCall, OnNcCreate)
#define ON_WM_NCDESTROY() ZEMRA_ON_WM(WM_NCDESTROY, VoidCall, OnNcDestroy)
#define ON_WM_NCHITTEST() ZEMRA_ON_WM(WM_NCHITTEST, HitTestCall, OnNcHitTest)
#define ON_WM_NCPAINT() ZEMRA_ON_WM(WM_NCPAINT, VoidCall, OnNcPaint)
#define ON_WM_PAINT() ZEMRA_ON_WM(WM_PAINT, VoidCall, OnPaint)
#define ON_WM_PALETTECHANGED() ZEMRA_ON_WM(WM_PALETTECHANGED, WndCall, OnPaletteChanged)
#define ON_WM_PARENTNOTIFY() ZEMRA_ON_WM(WM_PARENTNOTIFY, ParentNotifyCall, OnParentNotify)
#define ON_WM_QUERYENDSESSION() ZEMRA_ON_WM(WM_QUERYENDSESSION, BoolCall, OnQueryEndSession)
#define ON_WM_QUERYNEWPALETTE() ZEMRA_ON_WM(WM_QUERYNEWPALETTE, BoolCall, OnQueryNewPalette)
#define ON_WM_SETCURSOR() ZEMRA_ON_WM(WM_SETCURSOR, SetCursorCall, OnSetCursor)
#define ON_WM_SHOWWINDOW() ZEMRA_ON_WM(WM_SHOWWINDOW, ShowWindowCall, OnShowWindow)
#define ON_WM_SIZE() ZEMRA_ON_WM(WM_SIZE, SizeCall, OnSize)
#define ON_WM_SYSCOMMAND() ZEMRA_ON_WM(WM_SYSCOMMAND, SysCommandCall, OnSysCommand)
#define ON_WM_TIMER() ZEMRA_ON_WM(WM_TIMER, TimerCall, OnTimer)
#define ON_WM_WINDOWPOSCHANGING() \
  ZEMRA_ON_WM(WM_WINDOWPOSCHANGING, WindowPosCall, OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED() \
  ZEMRA_ON_WM(WM_WINDOWPOSCHANGED, WindowPosCall, OnWindowPosChanged)

// A message without arguments or result: void handler().
#define ON_MESSAGE_VOID(message, memberFxn) ZEMRA_ON_WM(message, VoidCall, memberFxn)

// Reflected to the control: HBRUSH CtlColor(CDC*, UINT).
#define ON_WM_CTLCOLOR_REFLECT() \
  ZEMRA_ON_WM(WM_CTLCOLOR + WM_REFLECT_BASE, CtlColorReflectCall, CtlColor)
// Reflected scroll messages: void HScroll(UINT code, UINT pos).
#define ON_WM_HSCROLL_REFLECT() ZEMRA_ON_WM(WM_HSCROLL + WM_REFLECT_BASE, ScrollReflectCall, HScroll)
#define ON_WM_VSCROLL_REFLECT() ZEMRA_ON_WM(WM_VSCROLL + WM_REFLECT_BASE, ScrollReflectCall, VScroll)

namespace afx_detail {
template <class T, auto F>
LRESULT ScrollReflectCall(CCmdTarget* t, const AfxMessageCall& c) {
  (static_cast<T*>(t)->*F)(LOWORD(c.wParam), HIWORD(c.wParam));
  return 0;
}
}  // namespace afx_detail
