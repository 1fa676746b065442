// USER services of our Win32 layer: window classes and procedures, the
// message queue, timers, window geometry and Z order, painting, mouse and
// keyboard input, capture, scroll bars, the caret, cursors, focus, system
// metrics and message boxes.
//
// Windows draw through GDI into the backing store of their top-level window
// (platform/gdi/window_dc.h); a display backend shows those stores: an X11
// window per top-level window when DISPLAY is set, memory framebuffers
// otherwise (or with ZEMRA_HEADLESS=1). Input from either comes through the
// same path and becomes the messages Windows would send.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "win/types.h"

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};
using LPMSG = MSG*;

struct WNDCLASS {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
};

struct CREATESTRUCT {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
};

// ---- Messages -------------------------------------------------------------
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETREDRAW 0x000B
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUERYENDSESSION 0x0011
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_ENDSESSION 0x0016
#define WM_SHOWWINDOW 0x0018
#define WM_ACTIVATEAPP 0x001C
#define WM_CANCELMODE 0x001F
#define WM_SETCURSOR 0x0020
#define WM_MOUSEACTIVATE 0x0021
#define WM_GETMINMAXINFO 0x0024
#define WM_DRAWITEM 0x002B
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_WINDOWPOSCHANGING 0x0046
#define WM_WINDOWPOSCHANGED 0x0047
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_NCCALCSIZE 0x0083
#define WM_NCHITTEST 0x0084
#define WM_NCPAINT 0x0085
#define WM_NCACTIVATE 0x0086
#define WM_NCMOUSEMOVE 0x00A0
#define WM_NCLBUTTONDOWN 0x00A1
#define WM_NCLBUTTONUP 0x00A2
#define WM_NCLBUTTONDBLCLK 0x00A3
#define WM_NCRBUTTONDOWN 0x00A4
#define WM_NCRBUTTONUP 0x00A5
#define WM_NCRBUTTONDBLCLK 0x00A6
#define WM_NCMBUTTONDOWN 0x00A7
#define WM_NCMBUTTONUP 0x00A8
#define WM_NCMBUTTONDBLCLK 0x00A9
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_KEYFIRST WM_KEYDOWN
#define WM_KEYLAST 0x0108
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_HSCROLL 0x0114
#define WM_VSCROLL 0x0115
#define WM_INITMENUPOPUP 0x0117
// The system's own timer: caret blinking and scroll-bar repeat. Dispatching
// it runs the system's handler, not the window procedure.
#define WM_SYSTIMER 0x0118
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_RBUTTONDBLCLK 0x0206
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
#define WM_MBUTTONDBLCLK 0x0209
#define WM_MOUSEFIRST WM_MOUSEMOVE
#define WM_MOUSELAST 0x0209
#define WM_PARENTNOTIFY 0x0210
#define WM_CAPTURECHANGED 0x0215
#define WM_PALETTECHANGED 0x0311
#define WM_QUERYNEWPALETTE 0x030F
#define WM_USER 0x0400

// ---- Window styles --------------------------------------------------------
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_MAXIMIZE 0x01000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_OVERLAPPEDWINDOW \
  (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_TRANSPARENT 0x00000020L
#define WS_EX_DLGMODALFRAME 0x00000001L
#define WS_EX_NOPARENTNOTIFY 0x00000004L
#define WS_EX_ACCEPTFILES 0x00000010L
#define WS_EX_TOOLWINDOW 0x00000080L
#define WS_EX_WINDOWEDGE 0x00000100L
#define WS_EX_CLIENTEDGE 0x00000200L
#define WS_EX_STATICEDGE 0x00020000L

#define CW_USEDEFAULT ((int)0x80000000)

// Class styles.
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define CS_OWNDC 0x0020
#define CS_CLASSDC 0x0040
#define CS_PARENTDC 0x0080
#define CS_NOCLOSE 0x0200
#define CS_SAVEBITS 0x0800
#define CS_GLOBALCLASS 0x4000

// WM_ACTIVATE states (low word of wParam).
#define WA_INACTIVE 0
#define WA_ACTIVE 1
#define WA_CLICKACTIVE 2

// WM_SIZE kinds.
#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1
#define SIZE_MAXIMIZED 2

// WM_SYSCOMMAND commands.
#define SC_SIZE 0xF000
#define SC_MOVE 0xF010
#define SC_MINIMIZE 0xF020
#define SC_MAXIMIZE 0xF030
#define SC_CLOSE 0xF060
#define SC_RESTORE 0xF120

// ShowWindow commands.
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10

// ---- Window classes and windows ---------------------------------------------
ATOM RegisterClass(const WNDCLASS* cls);
BOOL UnregisterClass(LPCSTR name, HINSTANCE inst);
BOOL GetClassInfo(HINSTANCE inst, LPCSTR name, WNDCLASS* out);
// Class names compare without case; a name may also be the ATOM that
// RegisterClass returned (MAKEINTRESOURCE). A class with windows cannot be
// unregistered.
//
// CreateWindow sends WM_NCCREATE and WM_CREATE (lParam: the CREATESTRUCT),
// then WM_SIZE (the client size) and WM_MOVE (the client origin), and shows
// a WS_VISIBLE window as ShowWindow(SW_SHOW) does. FALSE from WM_NCCREATE or
// -1 from WM_CREATE destroys the window again and the result is null. A
// WS_CHILD window needs a parent and belongs to it (children are kept in Z
// order, new ones at the bottom; `menu` is its id); another window given as
// parent becomes the owner of the new top-level window. Handles are small
// integers (1, 2, 3, ...).
//
// DestroyWindow destroys the owned windows first, gives up the capture and
// the caret, leaves the window's area to be painted by what lay below it,
// then sends WM_DESTROY to the
// window and then to its children (so a parent's WM_DESTROY handler still
// finds its children), frees the children (each receives WM_NCDESTROY) and
// last sends WM_NCDESTROY to the window and frees its handle: IsWindow is
// then false, its timers and posted messages are gone, and messages sent to
// it are dropped (SendMessage gives 0).
HWND CreateWindow(LPCSTR cls, LPCSTR title, DWORD style, int x, int y, int w, int h, HWND parent,
                  HMENU menu, HINSTANCE inst, LPVOID param);
HWND CreateWindowEx(DWORD exStyle, LPCSTR cls, LPCSTR title, DWORD style, int x, int y, int w,
                    int h, HWND parent, HMENU menu, HINSTANCE inst, LPVOID param);
namespace win {
// The application framework's window-creation hook: CreateWindowEx calls it
// once the window exists and before WM_NCCREATE, so that the framework can
// tie its window object to the handle and subclass the window before the
// first message arrives. Returns the previous hook; null removes it.
// (platform/user/mfc_support)
using WindowCreationHook = void (*)(HWND wnd, CREATESTRUCT* cs);
WindowCreationHook SetWindowCreationHook(WindowCreationHook hook);
// Runs the installed hook, if any; called by CreateWindowEx.
void CallWindowCreationHook(HWND wnd, CREATESTRUCT* cs);
}  // namespace win
BOOL DestroyWindow(HWND wnd);
BOOL IsWindow(HWND wnd);
HWND GetParent(HWND wnd);
LRESULT DefWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT CallWindowProc(WNDPROC proc, HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
BOOL IsChild(HWND parent, HWND wnd);  // any depth below `parent`
HWND GetDlgItem(HWND parent, int id);   // a direct child with that id
int GetDlgCtrlID(HWND wnd);
int GetClassName(HWND wnd, LPSTR out, int size);
// The window text, through WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH.
BOOL SetWindowText(HWND wnd, LPCSTR text);
int GetWindowText(HWND wnd, LPSTR out, int size);
int GetWindowTextLength(HWND wnd);
// Visibility and enabled state are the WS_VISIBLE and WS_DISABLED styles.
// ShowWindow sends WM_SHOWWINDOW when visibility changes, moves the window
// through SetWindowPos (maximized: its parent's client area or the screen,
// the sizing frame outside; minimized: parked off the screen; restored: back
// to its normal place), activates a top-level window for the commands that
// do, and returns whether the window was visible before; EnableWindow sends
// WM_ENABLE when the state changes and returns whether the window was
// disabled before.
BOOL ShowWindow(HWND wnd, int cmd);
BOOL IsWindowVisible(HWND wnd);  // the window and all its parents visible
BOOL EnableWindow(HWND wnd, BOOL enable);
BOOL IsWindowEnabled(HWND wnd);

#define GWL_WNDPROC (-4)
#define GWL_HINSTANCE (-6)
#define GWL_HWNDPARENT (-8)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWL_USERDATA (-21)
#define GWL_ID (-12)
#define DWL_MSGRESULT 0
// Window longs are pointer-sized here so that procedures and pointers fit.
// At offsets >= 0 the window's extra bytes (WNDCLASS::cbWndExtra) are read
// and written pointer-wide; an offset where only four extra bytes remain is
// read and written as a 32-bit LONG (sign-extended when read). An offset
// outside the extra bytes gives 0 and ERROR_INVALID_INDEX.
#define ERROR_INVALID_WINDOW_HANDLE 1400
#define ERROR_INVALID_INDEX 1413
#define ERROR_CLASS_ALREADY_EXISTS 1410
#define ERROR_CLASS_DOES_NOT_EXIST 1411
#define ERROR_CLASS_HAS_WINDOWS 1412
LONG_PTR GetWindowLong(HWND wnd, int index);
LONG_PTR SetWindowLong(HWND wnd, int index, LONG_PTR value);
#define GCL_MENUNAME (-8)
#define GCL_HBRBACKGROUND (-10)
#define GCL_HCURSOR (-12)
#define GCL_HICON (-14)
#define GCL_HMODULE (-16)
#define GCL_CBWNDEXTRA (-18)
#define GCL_CBCLSEXTRA (-20)
#define GCL_WNDPROC (-24)
#define GCL_STYLE (-26)
// Offsets >= 0 address the class's extra bytes (WNDCLASS::cbClsExtra), with
// the same widths as the window's extra bytes.
LONG_PTR SetClassLong(HWND wnd, int index, LONG_PTR value);
LONG_PTR GetClassLong(HWND wnd, int index);

// ---- Window geometry and Z order ------------------------------------------
// A window's rectangle is kept relative to its parent's client area (screen
// coordinates for top-level windows). Its client area is what the frame
// leaves: the border (WS_BORDER 1, WS_DLGFRAME or a caption without sizing
// frame 3, WS_THICKFRAME 4 pixels), the caption (SM_CYCAPTION, overlapped
// windows and WS_CAPTION), the client edge (WS_EX_CLIENTEDGE, 2 pixels;
// WS_EX_STATICEDGE 1) and the scroll bars that are shown (WS_VSCROLL at the
// right, WS_HSCROLL at the bottom, 16 pixels each).
//
// Children are kept in Z order; a new child goes to the bottom, a new
// top-level window to the top (WS_EX_TOPMOST windows stay above the others).
struct WINDOWPOS {
  HWND hwnd;
  HWND hwndInsertAfter;
  int x;
  int y;
  int cx;
  int cy;
  UINT flags;
};
using LPWINDOWPOS = WINDOWPOS*;

struct NCCALCSIZE_PARAMS {
  RECT rgrc[3];
  WINDOWPOS* lppos;
};

struct WINDOWPLACEMENT {
  UINT length;
  UINT flags;
  UINT showCmd;
  POINT ptMinPosition;
  POINT ptMaxPosition;
  RECT rcNormalPosition;
};

#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOREDRAW 0x0008
#define SWP_NOACTIVATE 0x0010
#define SWP_FRAMECHANGED 0x0020
#define SWP_DRAWFRAME SWP_FRAMECHANGED
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080
#define SWP_NOCOPYBITS 0x0100
#define SWP_NOOWNERZORDER 0x0200
#define SWP_NOREPOSITION SWP_NOOWNERZORDER
#define SWP_NOSENDCHANGING 0x0400
// Set in WM_WINDOWPOSCHANGED when the client area kept its size or place;
// DefWindowProc then sends no WM_SIZE or no WM_MOVE.
#define SWP_NOCLIENTSIZE 0x0800
#define SWP_NOCLIENTMOVE 0x1000

#define HWND_TOP ((HWND)0)
#define HWND_BOTTOM ((HWND)1)
#define HWND_TOPMOST ((HWND)(intptr_t)-1)
#define HWND_NOTOPMOST ((HWND)(intptr_t)-2)

#define GW_HWNDFIRST 0
#define GW_HWNDLAST 1
#define GW_HWNDNEXT 2
#define GW_HWNDPREV 3
#define GW_OWNER 4
#define GW_CHILD 5

#define CWP_ALL 0x0000
#define CWP_SKIPINVISIBLE 0x0001
#define CWP_SKIPDISABLED 0x0002
#define CWP_SKIPTRANSPARENT 0x0004

#define WPF_SETMINPOSITION 0x0001
#define WPF_RESTORETOMAXIMIZED 0x0002

// Sends WM_WINDOWPOSCHANGING (the handler may change the WINDOWPOS), moves,
// sizes, shows, hides or reorders the window, invalidates what needs
// painting and sends WM_WINDOWPOSCHANGED, whose DefWindowProc sends WM_MOVE
// (client origin) and WM_SIZE (client size) when they changed. Negative
// sizes count as 0.
BOOL SetWindowPos(HWND wnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND wnd, int x, int y, int width, int height, BOOL repaint);
BOOL BringWindowToTop(HWND wnd);
BOOL GetWindowRect(HWND wnd, LPRECT out);  // screen coordinates
BOOL GetClientRect(HWND wnd, LPRECT out);  // (0, 0, width, height)
BOOL ScreenToClient(HWND wnd, LPPOINT pt);
BOOL ClientToScreen(HWND wnd, LPPOINT pt);
// Null stands for the screen. Returns the x offset in the low word and the
// y offset in the high word.
int MapWindowPoints(HWND from, HWND to, LPPOINT pts, UINT count);
// The AdjustWindowRect of a window with these styles: the window rectangle
// around a client rectangle (scroll bars are not counted, as on Windows).
BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu);
BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle);
HWND GetWindow(HWND wnd, UINT cmd);
HWND GetTopWindow(HWND wnd);  // the topmost child; null: the topmost top-level window
HWND GetNextWindow(HWND wnd, UINT cmd);
// The deepest visible, enabled window under a screen point (a disabled
// child gives its parent), or null.
HWND WindowFromPoint(POINT screen);
// The direct child under a point of the parent's client area (hidden and
// disabled ones included), the parent when no child is there, null when
// the point is outside the parent.
HWND ChildWindowFromPoint(HWND parent, POINT client);
HWND ChildWindowFromPointEx(HWND parent, POINT client, UINT flags);
BOOL IsIconic(HWND wnd);
BOOL IsZoomed(HWND wnd);
BOOL GetWindowPlacement(HWND wnd, WINDOWPLACEMENT* out);
BOOL SetWindowPlacement(HWND wnd, const WINDOWPLACEMENT* placement);

// ---- Painting ---------------------------------------------------------------
// Each window keeps an update region (client coordinates). WM_PAINT is
// generated when nothing is posted: one per window however often it was
// invalidated, parents before their children, until BeginPaint (or
// ValidateRect) empties the region. Invisible windows collect nothing;
// showing a window invalidates all of it. Invalidating a window without
// WS_CLIPCHILDREN also invalidates its children where they lie under the
// region.
//
// BeginPaint sends WM_NCPAINT when the frame needs it, then WM_ERASEBKGND
// when the background does (DefWindowProc fills the update region with the
// class brush; a class brush may be a COLOR_ index + 1), hides the caret of
// the window, empties the update region and gives a client DC that draws
// only inside the region. EndPaint releases it and shows the caret again.
struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;  // TRUE when WM_ERASEBKGND did not erase
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};
using LPPAINTSTRUCT = PAINTSTRUCT*;

#define RDW_INVALIDATE 0x0001
#define RDW_INTERNALPAINT 0x0002
#define RDW_ERASE 0x0004
#define RDW_VALIDATE 0x0008
#define RDW_NOINTERNALPAINT 0x0010
#define RDW_NOERASE 0x0020
#define RDW_NOCHILDREN 0x0040
#define RDW_ALLCHILDREN 0x0080
#define RDW_UPDATENOW 0x0100
#define RDW_ERASENOW 0x0200
#define RDW_FRAME 0x0400
#define RDW_NOFRAME 0x0800

HDC BeginPaint(HWND wnd, LPPAINTSTRUCT ps);
BOOL EndPaint(HWND wnd, const PAINTSTRUCT* ps);
// rect null: the whole client area. A null window stands for all windows.
BOOL InvalidateRect(HWND wnd, const RECT* rect, BOOL erase);
BOOL InvalidateRgn(HWND wnd, HRGN rgn, BOOL erase);  // region in client coordinates
BOOL ValidateRect(HWND wnd, const RECT* rect);
BOOL ValidateRgn(HWND wnd, HRGN rgn);
BOOL UpdateWindow(HWND wnd);  // WM_PAINT now, for the window and then its children
BOOL RedrawWindow(HWND wnd, const RECT* rect, HRGN rgn, UINT flags);
BOOL GetUpdateRect(HWND wnd, LPRECT out, BOOL erase);  // FALSE when nothing is invalid
int GetUpdateRgn(HWND wnd, HRGN out, BOOL erase);     // region type

// ---- Scrolling the client area -------------------------------------------
#define SW_SCROLLCHILDREN 0x0001
#define SW_INVALIDATE 0x0002
#define SW_ERASE 0x0004
// Moves the pixels of `scroll` (null: the client area) by dx, dy, clipped
// to `clip` (null: the client area); what is uncovered, and what could not
// be copied because it was not visible, becomes invalid (SW_INVALIDATE) and
// is returned in `updateRgn` / `updateRect`. The pending update region
// moves with the pixels, and so does the caret. SW_SCROLLCHILDREN moves the
// children (all of them when `scroll` is null). Returns the region type of
// the uncovered area.
int ScrollWindowEx(HWND wnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN updateRgn,
                   LPRECT updateRect, UINT flags);
// ScrollWindowEx with SW_INVALIDATE | SW_ERASE, and SW_SCROLLCHILDREN when
// `scroll` is null.
BOOL ScrollWindow(HWND wnd, int dx, int dy, const RECT* scroll, const RECT* clip);

// ---- Scroll bars ----------------------------------------------------------
#define SB_HORZ 0
#define SB_VERT 1
#define SB_CTL 2
#define SB_BOTH 3

#define SB_LINEUP 0
#define SB_LINELEFT 0
#define SB_LINEDOWN 1
#define SB_LINERIGHT 1
#define SB_PAGEUP 2
#define SB_PAGELEFT 2
#define SB_PAGEDOWN 3
#define SB_PAGERIGHT 3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK 5
#define SB_TOP 6
#define SB_LEFT 6
#define SB_BOTTOM 7
#define SB_RIGHT 7
#define SB_ENDSCROLL 8

#define SIF_RANGE 0x0001
#define SIF_PAGE 0x0002
#define SIF_POS 0x0004
#define SIF_DISABLENOSCROLL 0x0008
#define SIF_TRACKPOS 0x0010
#define SIF_ALL (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)

#define ESB_ENABLE_BOTH 0x0000
#define ESB_DISABLE_BOTH 0x0003
#define ESB_DISABLE_LEFT 0x0001
#define ESB_DISABLE_RIGHT 0x0002
#define ESB_DISABLE_UP 0x0001
#define ESB_DISABLE_DOWN 0x0002
#define ESB_DISABLE_LTUP ESB_DISABLE_LEFT
#define ESB_DISABLE_RTDN ESB_DISABLE_RIGHT

struct SCROLLINFO {
  UINT cbSize;
  UINT fMask;
  int nMin;
  int nMax;
  UINT nPage;
  int nPos;
  int nTrackPos;
};
using LPSCROLLINFO = SCROLLINFO*;
using LPCSCROLLINFO = const SCROLLINFO*;

// The standard scroll bars of a window (SB_HORZ, SB_VERT). A bar is shown
// while its WS_HSCROLL / WS_VSCROLL style is set. Setting a range or page
// that leaves nothing to scroll hides the bar (or, with
// SIF_DISABLENOSCROLL, disables it); a range that needs one shows it. The
// page is kept within the range and the position within min .. max - page
// + 1. SetScrollInfo returns the new position, SetScrollPos the old one.
//
// With the mouse a bar sends WM_HSCROLL / WM_VSCROLL (lParam 0): SB_LINEUP /
// SB_LINEDOWN on the arrows and SB_PAGEUP / SB_PAGEDOWN beside the thumb,
// repeated while the button stays down (first after 200 ms, then every
// 50 ms); SB_THUMBTRACK while the thumb is dragged and SB_THUMBPOSITION
// where it is let go (the position in the high word of wParam, and in
// nTrackPos); SB_ENDSCROLL when the button goes up.
int SetScrollInfo(HWND wnd, int bar, LPCSCROLLINFO info, BOOL redraw);
BOOL GetScrollInfo(HWND wnd, int bar, LPSCROLLINFO info);
int SetScrollPos(HWND wnd, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND wnd, int bar);
BOOL SetScrollRange(HWND wnd, int bar, int min, int max, BOOL redraw);
BOOL GetScrollRange(HWND wnd, int bar, LPINT min, LPINT max);
BOOL ShowScrollBar(HWND wnd, int bar, BOOL show);
BOOL EnableScrollBar(HWND wnd, UINT bar, UINT arrows);

// ---- The caret --------------------------------------------------------------
// One caret for the thread, owned by one window. It is drawn by inverting
// its rectangle in the window (so drawing it twice removes it), blinks every
// GetCaretBlinkTime milliseconds while shown, and is hidden between
// BeginPaint and EndPaint and while ScrollWindowEx moves pixels. A new caret
// starts hidden; ShowCaret and HideCaret count. Bitmap null: solid;
// (HBITMAP)1: grey.
BOOL CreateCaret(HWND wnd, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
BOOL ShowCaret(HWND wnd);  // null: the caret's window
BOOL HideCaret(HWND wnd);
BOOL SetCaretPos(int x, int y);  // client coordinates of the caret's window
BOOL GetCaretPos(LPPOINT out);
UINT GetCaretBlinkTime();
BOOL SetCaretBlinkTime(UINT ms);

// ---- The message queue ------------------------------------------------------
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002
// Filters of PeekMessage and GetMessage, as Windows applies them: a null
// window takes messages of every window of the thread and thread messages;
// (HWND)-1 only thread messages (posted to a null window); any other window
// its own messages and those of its descendants. A range of 0 to 0 takes
// every message number. WM_QUIT is a thread message: it comes when the range
// admits it, whatever the window filter.
// Order: posted messages (first in, first out), then input from the display
// (mouse and keys), then WM_QUIT once no posted message that the filter
// admits is left, then WM_PAINT for a window that needs painting, then
// WM_TIMER (WM_SYSTIMER) for a due timer. WM_PAINT stays until the window is
// validated; dispatching a WM_PAINT whose handler left the window invalid
// validates it, so it cannot repeat without end.
// GetMessage returns FALSE for WM_QUIT and -1 for a window filter that is
// not a window.
// GetMessage and WaitMessage wait until something is there: they show what
// was drawn, then block on the display connection (poll) until input comes
// or the next timer is due; with neither they sleep without end.
//
// PostMessage to a window that is not (or no longer) one fails; at most
// 10000 messages wait at once. A null window makes a thread message.
BOOL PostMessage(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
BOOL PostThreadMessage(DWORD thread, UINT msg, WPARAM wp, LPARAM lp);  // any id: one thread
// A direct call of the window's procedure; 0 for a bad window. Handlers may
// send, post, and run message loops of their own.
LRESULT SendMessage(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
BOOL PeekMessage(LPMSG msg, HWND wnd, UINT first, UINT last, UINT remove);
BOOL GetMessage(LPMSG msg, HWND wnd, UINT first, UINT last);
// WM_KEYDOWN (WM_SYSKEYDOWN) of a key that makes a character puts WM_CHAR
// (WM_SYSCHAR) in front of the queue, with the shift, control and caps-lock
// state of the key messages taken so far (a US layout).
BOOL TranslateMessage(const MSG* msg);
// Calls the target window's procedure. A WM_TIMER whose lParam is the
// procedure of that live timer calls the procedure instead; any other
// lParam is not called.
LRESULT DispatchMessage(const MSG* msg);
void PostQuitMessage(int exitCode);
DWORD GetMessageTime();  // the time of the last message taken or looked at
BOOL WaitMessage();

// ---- Mouse input and capture ------------------------------------------------
// Mouse input goes to the window under the pointer, or to the capture
// window. Before each mouse message the window under the pointer gets
// WM_NCHITTEST and then WM_SETCURSOR (lParam: hit-test code, mouse message),
// unless the mouse is captured; DefWindowProc's WM_SETCURSOR asks the parent
// first and then sets the class cursor in the client area (the arrow or a
// sizing cursor elsewhere). In the client area the messages are WM_MOUSEMOVE
// and WM_xBUTTONxxx with client coordinates, elsewhere WM_NCxxx with screen
// coordinates and the hit-test code in wParam. A second press of the same
// button within GetDoubleClickTime and SM_CXDOUBLECLK / SM_CYDOUBLECLK
// becomes WM_xBUTTONDBLCLK for windows whose class has CS_DBLCLKS. A press
// on a window of an inactive top-level window sends WM_MOUSEACTIVATE and
// activates it.
#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008
#define MK_MBUTTON 0x0010

#define HTERROR (-2)
#define HTTRANSPARENT (-1)
#define HTNOWHERE 0
#define HTCLIENT 1
#define HTCAPTION 2
#define HTSYSMENU 3
#define HTGROWBOX 4
#define HTSIZE HTGROWBOX
#define HTMENU 5
#define HTHSCROLL 6
#define HTVSCROLL 7
#define HTMINBUTTON 8
#define HTMAXBUTTON 9
#define HTLEFT 10
#define HTRIGHT 11
#define HTTOP 12
#define HTTOPLEFT 13
#define HTTOPRIGHT 14
#define HTBOTTOM 15
#define HTBOTTOMLEFT 16
#define HTBOTTOMRIGHT 17
#define HTBORDER 18
#define HTCLOSE 20
#define HTHELP 21

#define MA_ACTIVATE 1
#define MA_ACTIVATEANDEAT 2
#define MA_NOACTIVATE 3
#define MA_NOACTIVATEANDEAT 4

// SetCapture sends WM_CAPTURECHANGED (lParam: the new capture window) to
// the window that loses the capture; ReleaseCapture sends it with lParam 0.
// A destroyed or hidden capture window loses the capture.
HWND SetCapture(HWND wnd);
BOOL ReleaseCapture();
HWND GetCapture();
UINT GetDoubleClickTime();  // 500 ms until set
BOOL SetDoubleClickTime(UINT ms);  // 0: the default

// ---- Keyboard -------------------------------------------------------------
#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_CANCEL 0x03
#define VK_MBUTTON 0x04
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_CLEAR 0x0C
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_SELECT 0x29
#define VK_PRINT 0x2A
#define VK_SNAPSHOT 0x2C
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_HELP 0x2F
// '0'..'9' and 'A'..'Z' are their own key codes.
#define VK_NUMPAD0 0x60
#define VK_NUMPAD9 0x69
#define VK_MULTIPLY 0x6A
#define VK_ADD 0x6B
#define VK_SEPARATOR 0x6C
#define VK_SUBTRACT 0x6D
#define VK_DECIMAL 0x6E
#define VK_DIVIDE 0x6F
#define VK_F1 0x70
#define VK_F2 0x71
#define VK_F3 0x72
#define VK_F4 0x73
#define VK_F5 0x74
#define VK_F6 0x75
#define VK_F7 0x76
#define VK_F8 0x77
#define VK_F9 0x78
#define VK_F10 0x79
#define VK_F11 0x7A
#define VK_F12 0x7B
#define VK_NUMLOCK 0x90
#define VK_SCROLL 0x91
#define VK_OEM_1 0xBA       // ;:
#define VK_OEM_PLUS 0xBB    // =+
#define VK_OEM_COMMA 0xBC   // ,<
#define VK_OEM_MINUS 0xBD   // -_
#define VK_OEM_PERIOD 0xBE  // .>
#define VK_OEM_2 0xBF       // /?
#define VK_OEM_3 0xC0       // `~
#define VK_OEM_4 0xDB       // [{
#define VK_OEM_5 0xDC       // \|
#define VK_OEM_6 0xDD       // ]}
#define VK_OEM_7 0xDE       // '"
// Key input goes to the focus window (WM_KEYDOWN / WM_KEYUP, lParam: repeat
// count 1, scan code, bit 29 with Alt down, bit 30 when the key was down
// before, bit 31 for a release); with Alt down, F10, or no focus window it
// goes to the active window as WM_SYSKEYDOWN / WM_SYSKEYUP.
//
// The state of a key as the thread saw it in the key and mouse messages
// taken from the queue so far: the high bit (negative result) while it is
// down, bit 0 when a toggle key (caps lock) is on. GetAsyncKeyState gives
// the state of the keyboard and buttons now, as the display last reported.
SHORT GetKeyState(int vk);
SHORT GetAsyncKeyState(int vk);

// ---- Timers ---------------------------------------------------------------
// A window's timer is known by the window and its id; setting an existing id
// again restarts it with the new elapse and procedure. A timer of no window
// gets a new unique id, unless `id` names an existing timer of no window,
// which is restarted. Elapse is measured with GetTickCount, at least 10 ms.
// A due timer yields one WM_TIMER however late it is taken; the next period
// starts when it is taken.
UINT_PTR SetTimer(HWND wnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND wnd, UINT_PTR id);  // also drops its WM_TIMER not yet taken

// ---- Cursors and focus --------------------------------------------------------
#define IDC_ARROW MAKEINTRESOURCE(32512)
#define IDC_IBEAM MAKEINTRESOURCE(32513)
#define IDC_WAIT MAKEINTRESOURCE(32514)
#define IDC_CROSS MAKEINTRESOURCE(32515)
#define IDC_UPARROW MAKEINTRESOURCE(32516)
#define IDC_SIZENWSE MAKEINTRESOURCE(32642)
#define IDC_SIZENESW MAKEINTRESOURCE(32643)
#define IDC_SIZEWE MAKEINTRESOURCE(32644)
#define IDC_SIZENS MAKEINTRESOURCE(32645)
#define IDC_SIZEALL MAKEINTRESOURCE(32646)
#define IDC_NO MAKEINTRESOURCE(32648)
#define IDC_HAND MAKEINTRESOURCE(32649)
#define IDC_APPSTARTING MAKEINTRESOURCE(32650)
#define IDC_HELP MAKEINTRESOURCE(32651)
// Named (resource-name) and numbered cursors: the cursors under resources/,
// and the system cursors above. Null when unknown. Names compare without
// case; "#135" is the number 135. The same cursor always has the same handle.
HCURSOR LoadCursor(HINSTANCE inst, LPCSTR name);
HCURSOR SetCursor(HCURSOR cursor);  // returns the previous cursor
HCURSOR GetCursor();
BOOL GetCursorPos(LPPOINT out);
BOOL SetCursorPos(int x, int y);
int ShowCursor(BOOL show);  // the new display count; shown while >= 0
// SetFocus sends WM_KILLFOCUS to the window that loses the focus and
// WM_SETFOCUS to the one that gets it, activating its top-level window first;
// it returns the window that had the focus (null also for a bad window,
// which changes nothing). SetActiveWindow takes top-level windows; it sends
// WM_ACTIVATE (WA_INACTIVE) to the old and WM_ACTIVATE (WA_ACTIVE) to the
// new one and returns the old one.
HWND GetFocus();
HWND SetFocus(HWND wnd);
HWND GetActiveWindow();
HWND SetActiveWindow(HWND wnd);
HWND GetDesktopWindow();

// ---- Rectangles -----------------------------------------------------------
// Empty means no area (right <= left or bottom <= top). IntersectRect and
// UnionRect give an empty (all zero) result and FALSE when there is no area;
// SubtractRect takes b out of a only where what remains is a rectangle.
BOOL SetRect(LPRECT r, int left, int top, int right, int bottom);
BOOL SetRectEmpty(LPRECT r);
BOOL CopyRect(LPRECT dst, const RECT* src);
BOOL IsRectEmpty(const RECT* r);
BOOL EqualRect(const RECT* a, const RECT* b);
BOOL PtInRect(const RECT* r, POINT pt);  // left and top inside, right and bottom outside
BOOL OffsetRect(LPRECT r, int dx, int dy);
BOOL InflateRect(LPRECT r, int dx, int dy);
BOOL IntersectRect(LPRECT dst, const RECT* a, const RECT* b);
BOOL UnionRect(LPRECT dst, const RECT* a, const RECT* b);
BOOL SubtractRect(LPRECT dst, const RECT* a, const RECT* b);

// ---- System metrics ---------------------------------------------------------
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CXVSCROLL 2
#define SM_CYHSCROLL 3
#define SM_CYCAPTION 4
#define SM_CXBORDER 5
#define SM_CYBORDER 6
#define SM_CXDLGFRAME 7
#define SM_CYDLGFRAME 8
#define SM_CYVTHUMB 9
#define SM_CXHTHUMB 10
#define SM_CXICON 11
#define SM_CYICON 12
#define SM_CXCURSOR 13
#define SM_CYCURSOR 14
#define SM_CYMENU 15
#define SM_CXFULLSCREEN 16
#define SM_CYFULLSCREEN 17
#define SM_CYVSCROLL 20
#define SM_CXHSCROLL 21
#define SM_CXFRAME 32
#define SM_CYFRAME 33
#define SM_CXMIN 28
#define SM_CYMIN 29
#define SM_CXSIZE 30
#define SM_CYSIZE 31
#define SM_CXDOUBLECLK 36
#define SM_CYDOUBLECLK 37
#define SM_CXICONSPACING 38
#define SM_CYICONSPACING 39
#define SM_MOUSEPRESENT 19
#define SM_CMOUSEBUTTONS 43
#define SM_CXEDGE 45
#define SM_CYEDGE 46
#define SM_CXSMICON 49
#define SM_CYSMICON 50
#define SM_CYSMCAPTION 51
#define SM_CXMAXIMIZED 61
#define SM_CYMAXIMIZED 62
// Unknown indexes give 0.
int GetSystemMetrics(int index);

// ---- Message boxes ------------------------------------------------------------
#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONHAND 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONMASK 0x000000F0L
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_DEFMASK 0x00000F00L
#define MB_APPLMODAL 0x00000000L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L
#define MB_SETFOREGROUND 0x00010000L
#define MB_TOPMOST 0x00040000L

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
BOOL MessageBeep(UINT type);

// The default answer of a box: its default button (MB_DEFBUTTONn of its type).
int MessageBoxDefaultAnswer(UINT type);

namespace win {

// What a message box showed; kept by the headless display so tests can assert
// what the user would have seen.
struct MessageBoxRecord {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
  int answer;
};

// Tests script the answers: queued answers are used first, in order; then the
// default button. Every box is recorded.
void QueueMessageBoxAnswer(int answer);
const std::vector<MessageBoxRecord>& MessageBoxLog();
void ClearMessageBoxLog();  // also drops queued answers
// A hook that answers instead of the script (null: the script answers).
using MessageBoxHook = std::function<int(const MessageBoxRecord&)>;
void SetMessageBoxHook(MessageBoxHook hook);
// Whether a box that neither a queued answer nor the hook answers shows as
// a window for the user (its owner disabled meanwhile; Enter chooses the
// default button, Escape and the close box Cancel): -1 as the display has
// it (on X11, not headless; the start), 1 always, 0 never (the default
// button answers).
void ShowMessageBoxWindows(int mode);

// Whether no real display is open: the display is X11 when DISPLAY is set
// and ZEMRA_HEADLESS is not 1 (and the X server can be reached), headless
// otherwise. It is chosen when the USER layer is first used. Message boxes
// are answered from the script either way.
bool IsHeadless();

// Shows what was drawn since the last time (the changed rectangles of every
// top-level window's backing store). The message loop does this on its own
// before it waits and at most every 15 ms while it runs; a long drawing
// sequence that should be seen step by step calls it between the steps.
void FlushDisplay();

// Sends WM_PALETTECHANGED (wParam: `changer`) to every top-level window;
// GDI calls it when realizing a palette changed the system palette of a
// palette display. Broadcasts do not nest more than twice.
void NotifyPaletteChanged(HWND changer);

// A modal message loop: takes and dispatches messages until `done` says so
// or WM_QUIT comes, which it posts again for the loop outside (as Windows'
// modal loops do). Returns false when it ended on WM_QUIT.
bool RunModalLoop(const std::function<bool()>& done);

// The size of the headless screen (1024 x 768 until set); SM_CXSCREEN and
// the metrics derived from it follow.
void SetScreenSize(int width, int height);

// The X11 cursor-font shape that stands for a cursor ("left_ptr", "watch"),
// for the display; null for a handle that is no cursor.
const char* CursorShapeName(HCURSOR cursor);

// Drops every window, class, timer, queued message and pending input, and
// resets focus, capture, caret, cursor, key states, double-click time, screen
// size and the message-box script (answers, log and hook): a fresh USER state
// for the next test. No window procedure is called; handles start again at 1.
void ResetUserState();

}  // namespace win
