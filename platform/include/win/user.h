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
// which is restarted. Elapse is measured by USER's clock (below), at least
// 10 ms.
// A due timer yields one WM_TIMER however late it is taken; the next period
// starts when it is taken.
UINT_PTR SetTimer(HWND wnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND wnd, UINT_PTR id);  // also drops its WM_TIMER not yet taken

namespace win {
// The clock USER measures its times by: when timers are due (the program's
// and the system's own: caret blink, scroll-bar repeat), and the time
// stamps of input and of messages, which decide double clicks. It is
// GetTickCount, unless a test puts in a clock of its own, so that what is
// due depends on the test and not on how fast the machine runs it. Null
// restores GetTickCount; returns the previous clock (null for the real
// one). ResetUserState restores the real one.
using UserClock = DWORD (*)();
UserClock SetUserClock(UserClock clock);
}  // namespace win

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
// a dialog for the user (its icon and buttons, its owner disabled
// meanwhile; Enter chooses the focused button, which starts as the default
// one, Escape and the close box Cancel): -1 as the display has it (on X11,
// not headless; the start), 1 always, 0 never (the default button answers).
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
// for the next test, with the standard control classes registered again. No
// window procedure is called; handles start again at 1.
void ResetUserState();

}  // namespace win

// =============================================================================
// Dialogs, standard controls, menus, accelerators and resources
// (platform/user/dialogs, platform/user/controls, platform/user/menus).
// =============================================================================

using LPCREATESTRUCT = CREATESTRUCT*;

// ---- More messages --------------------------------------------------------
#define WM_NEXTDLGCTL 0x0028
#define WM_MEASUREITEM 0x002C
#define WM_DELETEITEM 0x002D
#define WM_VKEYTOITEM 0x002E
#define WM_CHARTOITEM 0x002F
#define WM_COMPAREITEM 0x0039
#define WM_GETDLGCODE 0x0087
#define WM_INITMENU 0x0116
#define WM_MENUSELECT 0x011F
#define WM_MENUCHAR 0x0120
#define WM_ENTERIDLE 0x0121
#define WM_CTLCOLORMSGBOX 0x0132
#define WM_CTLCOLOREDIT 0x0133
#define WM_CTLCOLORLISTBOX 0x0134
#define WM_CTLCOLORBTN 0x0135
#define WM_CTLCOLORDLG 0x0136
#define WM_CTLCOLORSCROLLBAR 0x0137
#define WM_CTLCOLORSTATIC 0x0138
#define WM_ENTERMENULOOP 0x0211
#define WM_EXITMENULOOP 0x0212
#define WM_CUT 0x0300
#define WM_COPY 0x0301
#define WM_PASTE 0x0302
#define WM_CLEAR 0x0303
#define WM_UNDO 0x0304
#define SC_KEYMENU 0xF100
#define WS_EX_CONTROLPARENT 0x00010000L

// ---- Resources ------------------------------------------------------------
// Every module (the program, the image library, each plug-in) has its own
// resources: dialog templates, menus and accelerator tables, in the binary
// forms Windows keeps them in (DLGTEMPLATE, menu templates, ACCEL rows). A
// module's resources are compiled into it as a resource script (the RC-like
// text described in resources/dialogs/FORMAT.md) and registered once, when
// it is loaded:
//
//   extern "C" const unsigned char zemra_res_pixolt[];       // zemra_embed()
//   extern "C" const unsigned long zemra_res_pixolt_size;
//   static const HINSTANCE gModule =
//       win::RegisterResourceScript("Pixolt", zemra_res_pixolt, zemra_res_pixolt_size);
//
// The registry keeps its own copy, so a plug-in may be unloaded and loaded
// again; the same name gives the same handle, and registering it again
// replaces its resources. The program's module is GetModuleHandle(nullptr);
// a null module in the calls below stands for it.
#define RT_CURSOR MAKEINTRESOURCE(1)
#define RT_BITMAP MAKEINTRESOURCE(2)
#define RT_ICON MAKEINTRESOURCE(3)
#define RT_MENU MAKEINTRESOURCE(4)
#define RT_DIALOG MAKEINTRESOURCE(5)
#define RT_STRING MAKEINTRESOURCE(6)
#define RT_ACCELERATOR MAKEINTRESOURCE(9)
#define RT_RCDATA MAKEINTRESOURCE(10)
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814
#define ERROR_RESOURCE_LANG_NOT_FOUND 1815

// Names are numbers (MAKEINTRESOURCE, or "#142") or strings, which compare
// without case. The data stays valid while the module stays registered.
HRSRC FindResource(HMODULE module, LPCSTR name, LPCSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC res);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC res);
BOOL FreeResource(HGLOBAL data);  // nothing to free; FALSE as on Win32

namespace win {
// Compiles the script and registers its resources as the module `moduleName`
// (null: the program). Returns the module's handle, or null when the script
// does not compile (`error` says where and why; nothing is registered then).
HINSTANCE RegisterResourceScript(LPCSTR moduleName, const void* script, size_t size,
                                 std::string* error = nullptr);
// Registers (or replaces) one resource of a module from its binary form.
HINSTANCE RegisterResource(LPCSTR moduleName, LPCSTR type, LPCSTR name, const void* data,
                           size_t size);
// The handle of a registered module (null name: the program); null when the
// module is unknown.
HINSTANCE FindResourceModule(LPCSTR moduleName);
// Forgets every module and resource (tests).
void ResetResources();
}  // namespace win

// ---- Dialog templates -------------------------------------------------------
#define DS_ABSALIGN 0x01L
#define DS_SYSMODAL 0x02L
#define DS_3DLOOK 0x04L
#define DS_FIXEDSYS 0x08L
#define DS_NOFAILCREATE 0x10L
#define DS_LOCALEDIT 0x20L
#define DS_SETFONT 0x40L
#define DS_MODALFRAME 0x80L
#define DS_NOIDLEMSG 0x100L
#define DS_SETFOREGROUND 0x200L
#define DS_CONTROL 0x0400L
#define DS_CENTER 0x0800L
#define DS_CENTERMOUSE 0x1000L
#define DS_CONTEXTHELP 0x2000L

#pragma pack(push, 2)
// The binary template: this header, then (each WORD-aligned) the menu, the
// window class and the caption, each 0x0000 (none), 0xFFFF and an ordinal,
// or a NUL-ended UTF-16 string; with DS_SETFONT the point size (WORD) and
// the face name; then `cdit` items, each DWORD-aligned: a DLGITEMTEMPLATE,
// its class (0xFFFF and 0x0080 button, 0x0081 edit, 0x0082 static, 0x0083
// list box, 0x0084 scroll bar, 0x0085 combo box, or a string), its text
// (ordinal or string), and a WORD count of creation data (counting itself)
// followed by the data. Coordinates are dialog units. The extended form
// (DLGTEMPLATEEX: the WORDs 1 and 0xFFFF first) is read too.
struct DLGTEMPLATE {
  DWORD style;
  DWORD dwExtendedStyle;
  WORD cdit;
  short x;
  short y;
  short cx;
  short cy;
};
struct DLGITEMTEMPLATE {
  DWORD style;
  DWORD dwExtendedStyle;
  short x;
  short y;
  short cx;
  short cy;
  WORD id;
};
#pragma pack(pop)
static_assert(sizeof(DLGTEMPLATE) == 18);
static_assert(sizeof(DLGITEMTEMPLATE) == 18);
using LPCDLGTEMPLATE = const DLGTEMPLATE*;

// ---- The dialog manager ----------------------------------------------------------
// Dialog windows are of the class "#32770" (unless the template names one)
// whose procedure is DefDlgProc; DefDlgProc calls the dialog procedure first
// and does the default work when it returns FALSE. A dialog procedure that
// handles a message returns TRUE and puts the result in DWL_MSGRESULT
// (WM_CTLCOLOR*, WM_COMPAREITEM, WM_VKEYTOITEM, WM_CHARTOITEM and
// WM_INITDIALOG return theirs directly).
//
// Creation: the window from the template (hidden, DS_MODALFRAME adds
// WS_EX_DLGMODALFRAME, the template's size is the client area), the
// template's font (DS_SETFONT: its face in its points at 96 dpi; otherwise
// the system font) whose average character width cx and height cy are the
// dialog base units (x = dlu * cx / 4, y = dlu * cy / 8, rounded as MulDiv
// does), every control in template order with WM_SETFONT, then
// WM_INITDIALOG (wParam: the first tab stop, lParam: the init parameter);
// TRUE from it puts the focus on that control. The dialog shows when the
// template has WS_VISIBLE (a modal one always). A popup dialog is placed
// relative to its owner's client area (DS_ABSALIGN: the screen), DS_CENTER
// centres it on the screen; it stays on the screen.
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);
#define DWL_DLGPROC ((int)sizeof(LONG_PTR))
#define DWL_USER ((int)(2 * sizeof(LONG_PTR)))
#define DWLP_MSGRESULT DWL_MSGRESULT
#define DWLP_DLGPROC DWL_DLGPROC
#define DWLP_USER DWL_USER
#define DLGWINDOWEXTRA ((int)(4 * sizeof(LONG_PTR)))
#define WC_DIALOG "#32770"

#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DC_HASDEFID 0x534B

// WM_GETDLGCODE answers.
#define DLGC_WANTARROWS 0x0001
#define DLGC_WANTTAB 0x0002
#define DLGC_WANTALLKEYS 0x0004
#define DLGC_WANTMESSAGE 0x0004
#define DLGC_HASSETSEL 0x0008
#define DLGC_DEFPUSHBUTTON 0x0010
#define DLGC_UNDEFPUSHBUTTON 0x0020
#define DLGC_RADIOBUTTON 0x0040
#define DLGC_WANTCHARS 0x0080
#define DLGC_STATIC 0x0100
#define DLGC_BUTTON 0x2000

// Modal dialogs: the owner's top-level window is disabled, a message loop
// runs (IsDialogMessage first) until EndDialog, and the dialog is destroyed
// before the result is returned; -1 when the template is not found or the
// window cannot be made. WM_QUIT ends the loop (the result is then 0) and is
// posted again for the loop outside.
INT_PTR DialogBoxParam(HINSTANCE inst, LPCSTR name, HWND owner, DLGPROC proc, LPARAM init);
INT_PTR DialogBoxIndirectParam(HINSTANCE inst, LPCDLGTEMPLATE tmpl, HWND owner, DLGPROC proc,
                               LPARAM init);
inline INT_PTR DialogBox(HINSTANCE inst, LPCSTR name, HWND owner, DLGPROC proc) {
  return DialogBoxParam(inst, name, owner, proc, 0);
}
inline INT_PTR DialogBoxIndirect(HINSTANCE inst, LPCDLGTEMPLATE tmpl, HWND owner, DLGPROC proc) {
  return DialogBoxIndirectParam(inst, tmpl, owner, proc, 0);
}
// Modeless dialogs: the window, or null. The caller's loop passes messages
// through IsDialogMessage.
HWND CreateDialogParam(HINSTANCE inst, LPCSTR name, HWND parent, DLGPROC proc, LPARAM init);
HWND CreateDialogIndirectParam(HINSTANCE inst, LPCDLGTEMPLATE tmpl, HWND parent, DLGPROC proc,
                               LPARAM init);
inline HWND CreateDialog(HINSTANCE inst, LPCSTR name, HWND parent, DLGPROC proc) {
  return CreateDialogParam(inst, name, parent, proc, 0);
}
inline HWND CreateDialogIndirect(HINSTANCE inst, LPCDLGTEMPLATE tmpl, HWND parent, DLGPROC proc) {
  return CreateDialogIndirectParam(inst, tmpl, parent, proc, 0);
}
// Ends a modal dialog's loop with `result` and hides it; FALSE for a window
// that is no dialog.
BOOL EndDialog(HWND dlg, INT_PTR result);
LRESULT DefDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);

// The dialog keyboard for a message taken from the queue: Tab and Shift+Tab
// through the tab stops, arrows within a group (an automatic radio button
// reached so is checked), Enter for the focused push button or the default
// one (DM_GETDEFID, else IDOK), Escape for IDCANCEL, and mnemonics (Alt+
// letter, or the letter alone where the focused control takes no
// characters). Controls keep keys they ask for (WM_GETDLGCODE). Any other
// message for the dialog or its controls is translated and dispatched here.
// FALSE for a message that is not the dialog's.
BOOL IsDialogMessage(HWND dlg, LPMSG msg);
// Tab stops and groups among the dialog's visible, enabled controls (into
// child dialogs with WS_EX_CONTROLPARENT); `ctl` null starts at either end.
HWND GetNextDlgTabItem(HWND dlg, HWND ctl, BOOL previous);
HWND GetNextDlgGroupItem(HWND dlg, HWND ctl, BOOL previous);

BOOL SetDlgItemText(HWND dlg, int id, LPCSTR text);
UINT GetDlgItemText(HWND dlg, int id, LPSTR out, int size);
// The number must be the whole text (blanks around it allowed) and fit
// 32 bits; `translated` says whether it was one.
BOOL SetDlgItemInt(HWND dlg, int id, UINT value, BOOL isSigned);
UINT GetDlgItemInt(HWND dlg, int id, BOOL* translated, BOOL isSigned);
BOOL CheckDlgButton(HWND dlg, int id, UINT check);
UINT IsDlgButtonChecked(HWND dlg, int id);
BOOL CheckRadioButton(HWND dlg, int first, int last, int check);
LRESULT SendDlgItemMessage(HWND dlg, int id, UINT msg, WPARAM wp, LPARAM lp);
// Dialog units of the dialog's font to pixels.
BOOL MapDialogRect(HWND dlg, LPRECT rect);
// The base units of the system font: width in the low word, height in the
// high word.
LONG GetDialogBaseUnits();

// ---- Owner drawing --------------------------------------------------------------------
using ULONG_PTR = std::uintptr_t;
#define ODT_MENU 1
#define ODT_LISTBOX 2
#define ODT_COMBOBOX 3
#define ODT_BUTTON 4
#define ODT_STATIC 5
#define ODA_DRAWENTIRE 0x0001
#define ODA_SELECT 0x0002
#define ODA_FOCUS 0x0004
#define ODS_SELECTED 0x0001
#define ODS_GRAYED 0x0002
#define ODS_DISABLED 0x0004
#define ODS_CHECKED 0x0008
#define ODS_FOCUS 0x0010
#define ODS_DEFAULT 0x0020
struct DRAWITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemAction;
  UINT itemState;
  HWND hwndItem;
  HDC hDC;
  RECT rcItem;
  ULONG_PTR itemData;
};
using LPDRAWITEMSTRUCT = DRAWITEMSTRUCT*;

// ---- Controls: common --------------------------------------------------------------
// The classes "BUTTON", "STATIC", "EDIT", "LISTBOX", "COMBOBOX" and
// "SCROLLBAR" draw the Windows 95 way in the system colours. Before drawing
// they send WM_CTLCOLORBTN / STATIC / EDIT / LISTBOX / SCROLLBAR (wParam:
// the DC, lParam: the control) to the parent; a brush answered is the
// background and the DC's colours are kept, no brush gives the defaults
// (COLOR_WINDOW behind edits and list boxes, COLOR_3DFACE elsewhere; a
// read-only or disabled edit is a static). Disabled controls draw greyed.
// Notifications go to the parent as WM_COMMAND (MAKEWPARAM(id, code),
// control). WM_SETFONT / WM_GETFONT on each; no font: the system font.
//
// The classes are registered on the first use of the class list (before the
// program's first window or class), and again by win::ResetUserState.

namespace win {
// Registers "BUTTON", "STATIC", "EDIT", "LISTBOX", "COMBOBOX", "SCROLLBAR",
// the dialog class "#32770" and the menu window class where they are not
// registered yet.
void RegisterControlClasses();
}  // namespace win

// ---- Buttons ----------------------------------------------------------------------------
#define BS_PUSHBUTTON 0x00000000L
#define BS_DEFPUSHBUTTON 0x00000001L
#define BS_CHECKBOX 0x00000002L
#define BS_AUTOCHECKBOX 0x00000003L
#define BS_RADIOBUTTON 0x00000004L
#define BS_3STATE 0x00000005L
#define BS_AUTO3STATE 0x00000006L
#define BS_GROUPBOX 0x00000007L
#define BS_USERBUTTON 0x00000008L
#define BS_AUTORADIOBUTTON 0x00000009L
#define BS_OWNERDRAW 0x0000000BL
#define BS_TYPEMASK 0x0000000FL
#define BS_LEFTTEXT 0x00000020L
#define BS_TEXT 0x00000000L
#define BS_ICON 0x00000040L
#define BS_BITMAP 0x00000080L
#define BS_LEFT 0x00000100L
#define BS_RIGHT 0x00000200L
#define BS_CENTER 0x00000300L
#define BS_TOP 0x00000400L
#define BS_BOTTOM 0x00000800L
#define BS_VCENTER 0x00000C00L
#define BS_PUSHLIKE 0x00001000L
#define BS_MULTILINE 0x00002000L
#define BS_NOTIFY 0x00004000L
#define BS_FLAT 0x00008000L

#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_GETSTATE 0x00F2
#define BM_SETSTATE 0x00F3
#define BM_SETSTYLE 0x00F4
#define BM_CLICK 0x00F5

#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BST_INDETERMINATE 0x0002
#define BST_PUSHED 0x0004
#define BST_FOCUS 0x0008

#define BN_CLICKED 0
#define BN_PAINT 1
#define BN_HILITE 2
#define BN_UNHILITE 3
#define BN_DISABLE 4
#define BN_DOUBLECLICKED 5
#define BN_SETFOCUS 6
#define BN_KILLFOCUS 7

// ---- Static controls --------------------------------------------------------------------
#define SS_LEFT 0x00000000L
#define SS_CENTER 0x00000001L
#define SS_RIGHT 0x00000002L
#define SS_ICON 0x00000003L
#define SS_BLACKRECT 0x00000004L
#define SS_GRAYRECT 0x00000005L
#define SS_WHITERECT 0x00000006L
#define SS_BLACKFRAME 0x00000007L
#define SS_GRAYFRAME 0x00000008L
#define SS_WHITEFRAME 0x00000009L
#define SS_SIMPLE 0x0000000BL
#define SS_LEFTNOWORDWRAP 0x0000000CL
#define SS_OWNERDRAW 0x0000000DL
#define SS_BITMAP 0x0000000EL
#define SS_ETCHEDHORZ 0x00000010L
#define SS_ETCHEDVERT 0x00000011L
#define SS_ETCHEDFRAME 0x00000012L
#define SS_TYPEMASK 0x0000001FL
#define SS_NOPREFIX 0x00000080L
#define SS_NOTIFY 0x00000100L
#define SS_CENTERIMAGE 0x00000200L
#define SS_SUNKEN 0x00001000L
#define STM_SETICON 0x0170
#define STM_GETICON 0x0171
#define STM_SETIMAGE 0x0172
#define STM_GETIMAGE 0x0173
#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define STN_CLICKED 0
#define STN_DBLCLK 1

// ---- Edit controls ----------------------------------------------------------------------
#define ES_LEFT 0x0000L
#define ES_CENTER 0x0001L
#define ES_RIGHT 0x0002L
#define ES_MULTILINE 0x0004L
#define ES_UPPERCASE 0x0008L
#define ES_LOWERCASE 0x0010L
#define ES_PASSWORD 0x0020L
#define ES_AUTOVSCROLL 0x0040L
#define ES_AUTOHSCROLL 0x0080L
#define ES_NOHIDESEL 0x0100L
#define ES_OEMCONVERT 0x0400L
#define ES_READONLY 0x0800L
#define ES_WANTRETURN 0x1000L
#define ES_NUMBER 0x2000L

#define EM_GETSEL 0x00B0
#define EM_SETSEL 0x00B1
#define EM_GETRECT 0x00B2
#define EM_SCROLL 0x00B5
#define EM_LINESCROLL 0x00B6
#define EM_SCROLLCARET 0x00B7
#define EM_GETMODIFY 0x00B8
#define EM_SETMODIFY 0x00B9
#define EM_GETLINECOUNT 0x00BA
#define EM_LINEINDEX 0x00BB
#define EM_LINELENGTH 0x00C1
#define EM_REPLACESEL 0x00C2
#define EM_GETLINE 0x00C4
#define EM_LIMITTEXT 0x00C5
#define EM_SETLIMITTEXT EM_LIMITTEXT
#define EM_CANUNDO 0x00C6
#define EM_UNDO 0x00C7
#define EM_LINEFROMCHAR 0x00C9
#define EM_SETPASSWORDCHAR 0x00CC
#define EM_EMPTYUNDOBUFFER 0x00CD
#define EM_GETFIRSTVISIBLELINE 0x00CE
#define EM_SETREADONLY 0x00CF
#define EM_GETPASSWORDCHAR 0x00D2
#define EM_GETLIMITTEXT 0x00D5
#define EM_POSFROMCHAR 0x00D6
#define EM_CHARFROMPOS 0x00D7

#define EN_SETFOCUS 0x0100
#define EN_KILLFOCUS 0x0200
#define EN_CHANGE 0x0300
#define EN_UPDATE 0x0400
#define EN_ERRSPACE 0x0500
#define EN_MAXTEXT 0x0501
#define EN_HSCROLL 0x0601
#define EN_VSCROLL 0x0602

// ---- List boxes -------------------------------------------------------------------------
#define LBS_NOTIFY 0x0001L
#define LBS_SORT 0x0002L
#define LBS_NOREDRAW 0x0004L
#define LBS_MULTIPLESEL 0x0008L
#define LBS_OWNERDRAWFIXED 0x0010L
#define LBS_OWNERDRAWVARIABLE 0x0020L
#define LBS_HASSTRINGS 0x0040L
#define LBS_USETABSTOPS 0x0080L
#define LBS_NOINTEGRALHEIGHT 0x0100L
#define LBS_MULTICOLUMN 0x0200L
#define LBS_WANTKEYBOARDINPUT 0x0400L
#define LBS_EXTENDEDSEL 0x0800L
#define LBS_DISABLENOSCROLL 0x1000L
#define LBS_NOSEL 0x4000L
#define LBS_STANDARD (LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER)

#define LB_ADDSTRING 0x0180
#define LB_INSERTSTRING 0x0181
#define LB_DELETESTRING 0x0182
#define LB_RESETCONTENT 0x0184
#define LB_SETSEL 0x0185
#define LB_SETCURSEL 0x0186
#define LB_GETSEL 0x0187
#define LB_GETCURSEL 0x0188
#define LB_GETTEXT 0x0189
#define LB_GETTEXTLEN 0x018A
#define LB_GETCOUNT 0x018B
#define LB_SELECTSTRING 0x018C
#define LB_GETTOPINDEX 0x018E
#define LB_FINDSTRING 0x018F
#define LB_GETSELCOUNT 0x0190
#define LB_GETSELITEMS 0x0191
#define LB_SETTABSTOPS 0x0192
#define LB_SETTOPINDEX 0x0197
#define LB_GETITEMRECT 0x0198
#define LB_GETITEMDATA 0x0199
#define LB_SETITEMDATA 0x019A
#define LB_SELITEMRANGE 0x019B
#define LB_SETANCHORINDEX 0x019C
#define LB_GETANCHORINDEX 0x019D
#define LB_SETCARETINDEX 0x019E
#define LB_GETCARETINDEX 0x019F
#define LB_SETITEMHEIGHT 0x01A0
#define LB_GETITEMHEIGHT 0x01A1
#define LB_FINDSTRINGEXACT 0x01A2
#define LB_ITEMFROMPOINT 0x01A9
#define LB_OKAY 0
#define LB_ERR (-1)
#define LB_ERRSPACE (-2)

#define LBN_ERRSPACE (-2)
#define LBN_SELCHANGE 1
#define LBN_DBLCLK 2
#define LBN_SELCANCEL 3
#define LBN_SETFOCUS 4
#define LBN_KILLFOCUS 5

// ---- Combo boxes ------------------------------------------------------------------------
#define CBS_SIMPLE 0x0001L
#define CBS_DROPDOWN 0x0002L
#define CBS_DROPDOWNLIST 0x0003L
#define CBS_OWNERDRAWFIXED 0x0010L
#define CBS_OWNERDRAWVARIABLE 0x0020L
#define CBS_AUTOHSCROLL 0x0040L
#define CBS_OEMCONVERT 0x0080L
#define CBS_SORT 0x0100L
#define CBS_HASSTRINGS 0x0200L
#define CBS_NOINTEGRALHEIGHT 0x0400L
#define CBS_DISABLENOSCROLL 0x0800L
#define CBS_UPPERCASE 0x2000L
#define CBS_LOWERCASE 0x4000L

#define CB_GETEDITSEL 0x0140
#define CB_LIMITTEXT 0x0141
#define CB_SETEDITSEL 0x0142
#define CB_ADDSTRING 0x0143
#define CB_DELETESTRING 0x0144
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_INSERTSTRING 0x014A
#define CB_RESETCONTENT 0x014B
#define CB_FINDSTRING 0x014C
#define CB_SELECTSTRING 0x014D
#define CB_SETCURSEL 0x014E
#define CB_SHOWDROPDOWN 0x014F
#define CB_GETITEMDATA 0x0150
#define CB_SETITEMDATA 0x0151
#define CB_GETDROPPEDCONTROLRECT 0x0152
#define CB_SETITEMHEIGHT 0x0153
#define CB_GETITEMHEIGHT 0x0154
#define CB_GETDROPPEDSTATE 0x0157
#define CB_FINDSTRINGEXACT 0x0158
#define CB_OKAY 0
#define CB_ERR (-1)
#define CB_ERRSPACE (-2)

#define CBN_ERRSPACE (-1)
#define CBN_SELCHANGE 1
#define CBN_DBLCLK 2
#define CBN_SETFOCUS 3
#define CBN_KILLFOCUS 4
#define CBN_EDITCHANGE 5
#define CBN_EDITUPDATE 6
#define CBN_DROPDOWN 7
#define CBN_CLOSEUP 8
#define CBN_SELENDOK 9
#define CBN_SELENDCANCEL 10

// ---- Scroll-bar controls ------------------------------------------------------------------
// A "SCROLLBAR" control is one bar filling the window (SBS_VERT: vertical);
// it answers the SBM_ messages (which the scroll-bar functions are to send
// for SB_CTL), and tells its parent WM_HSCROLL / WM_VSCROLL (lParam: the
// control) of the arrows, the track and the thumb, leaving the position to
// the parent.
#define SBS_HORZ 0x0000L
#define SBS_VERT 0x0001L
#define SBM_SETPOS 0x00E0
#define SBM_GETPOS 0x00E1
#define SBM_SETRANGE 0x00E2
#define SBM_GETRANGE 0x00E3
#define SBM_ENABLE_ARROWS 0x00E4
#define SBM_SETRANGEREDRAW 0x00E6
#define SBM_SETSCROLLINFO 0x00E9
#define SBM_GETSCROLLINFO 0x00EA

// ---- Icons and system bitmaps ---------------------------------------------------------------
// The system icons (32 x 32, drawn the Windows 95 way) by LoadIcon(null,
// IDI_...); DrawIcon draws one with its transparent parts left alone.
// LoadBitmap(null, OBM_CHECKBOXES) gives the check-box and radio-button
// pictures: 4 columns (unchecked, checked, pushed, pushed and checked) by
// 3 rows (check box, radio button, 3-state box) of 13 x 13 cells.
#define IDI_APPLICATION MAKEINTRESOURCE(32512)
#define IDI_HAND MAKEINTRESOURCE(32513)
#define IDI_QUESTION MAKEINTRESOURCE(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCE(32515)
#define IDI_ASTERISK MAKEINTRESOURCE(32516)
#define IDI_ERROR IDI_HAND
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_INFORMATION IDI_ASTERISK
#define OBM_CHECKBOXES 32759
HICON LoadIcon(HINSTANCE inst, LPCSTR name);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
BOOL DestroyIcon(HICON icon);  // system icons stay
HBITMAP LoadBitmap(HINSTANCE inst, LPCSTR name);

// ---- The clipboard ------------------------------------------------------------------------------
// Text only (CF_TEXT, CR LF line ends). The data of SetClipboardData (a
// global block) belongs to the clipboard afterwards; GetClipboardData's
// belongs to the clipboard. On X11 the text is also the display's CLIPBOARD
// selection (platform/display/x11/x11_clipboard.h): other programs get it as
// UTF-8 or ISO 8859-1, and their text is pasted as Windows-1252 with CR LF
// (a paste waits at most 1.5 s for their answer; unanswered, the program's
// last text stands); headless it stays in the program.
#define CF_TEXT 1
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
HANDLE SetClipboardData(UINT format, HANDLE data);
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);

// ---- Menus -----------------------------------------------------------------------------
#define MF_INSERT 0x00000000L
#define MF_CHANGE 0x00000080L
#define MF_APPEND 0x00000100L
#define MF_DELETE 0x00000200L
#define MF_REMOVE 0x00001000L
#define MF_BYCOMMAND 0x00000000L
#define MF_BYPOSITION 0x00000400L
#define MF_SEPARATOR 0x00000800L
#define MF_ENABLED 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_DISABLED 0x00000002L
#define MF_UNCHECKED 0x00000000L
#define MF_CHECKED 0x00000008L
#define MF_STRING 0x00000000L
#define MF_BITMAP 0x00000004L
#define MF_OWNERDRAW 0x00000100L
#define MF_POPUP 0x00000010L
#define MF_MENUBARBREAK 0x00000020L
#define MF_MENUBREAK 0x00000040L
#define MF_UNHILITE 0x00000000L
#define MF_HILITE 0x00000080L
#define MF_DEFAULT 0x00001000L
#define MF_SYSMENU 0x00002000L
#define MF_HELP 0x00004000L
#define MF_RIGHTJUSTIFY 0x00004000L
#define MF_MOUSESELECT 0x00008000L
#define MF_END 0x00000080L  // in menu templates: the last item of a level

#define TPM_LEFTBUTTON 0x0000L
#define TPM_RIGHTBUTTON 0x0002L
#define TPM_LEFTALIGN 0x0000L
#define TPM_CENTERALIGN 0x0004L
#define TPM_RIGHTALIGN 0x0008L
#define TPM_TOPALIGN 0x0000L
#define TPM_VCENTERALIGN 0x0010L
#define TPM_BOTTOMALIGN 0x0020L
#define TPM_NONOTIFY 0x0080L
#define TPM_RETURNCMD 0x0100L

// Menus are handles of item lists; a popup item holds a submenu, which is
// destroyed with its menu. Items are found by command id (any depth) or by
// position. Menu templates (LoadMenuIndirect) are the Windows form: a WORD
// version 0 and a WORD header size 0, then items: WORD flags (MF_POPUP,
// MF_END on the last item of a level, MF_GRAYED, MF_CHECKED, ...), a WORD
// id (not for popups), the UTF-16 text; a popup's items follow it.
HMENU CreateMenu();
HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
HMENU LoadMenu(HINSTANCE inst, LPCSTR name);
HMENU LoadMenuIndirect(const void* tmpl);
HMENU GetSubMenu(HMENU menu, int pos);
int GetMenuItemCount(HMENU menu);        // -1 for no menu
UINT GetMenuItemID(HMENU menu, int pos);  // 0xFFFFFFFF for a popup or no item
UINT GetMenuState(HMENU menu, UINT item, UINT flags);  // 0xFFFFFFFF for no item
int GetMenuString(HMENU menu, UINT item, LPSTR out, int size, UINT flags);
// The previous state (MF_CHECKED / MF_GRAYED | MF_DISABLED bits), or
// 0xFFFFFFFF for no item.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCSTR text);
BOOL InsertMenu(HMENU menu, UINT item, UINT flags, UINT_PTR idOrPopup, LPCSTR text);
BOOL ModifyMenu(HMENU menu, UINT item, UINT flags, UINT_PTR idOrPopup, LPCSTR text);
BOOL RemoveMenu(HMENU menu, UINT item, UINT flags);  // keeps a submenu
BOOL DeleteMenu(HMENU menu, UINT item, UINT flags);  // destroys a submenu
// The menu bar of a top-level window (GetMenu of a child gives null) lies
// below the caption and takes its rows (SM_CYMENU each) from the client
// area; SetMenu changes the frame, DrawMenuBar draws it again (and gives
// the client area up to a bar whose items now need more rows). It hit tests
// as HTMENU, and DefWindowProc opens it for a press there, and for
// WM_SYSCOMMAND SC_KEYMENU (lParam: the mnemonic letter, 0 for the first
// item), which it sends the top-level window for Alt+letter (WM_SYSCHAR)
// and for Alt or F10 pressed and released alone.
HMENU GetMenu(HWND wnd);
BOOL SetMenu(HWND wnd, HMENU menu);
BOOL DrawMenuBar(HWND wnd);
// Shows the popup at the screen point and tracks it until an item is chosen
// (WM_COMMAND to `owner`, or the id returned with TPM_RETURNCMD) or the
// menu is dismissed (a click elsewhere, Escape, WM_CANCELMODE). Submenus
// open on hover or Right; WM_INITMENUPOPUP goes to the owner before each
// popup shows. Returns TRUE (or the id) when an item was chosen.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const RECT* ignored);
BOOL EndMenu();

// ---- Accelerators -------------------------------------------------------------------------
#define FVIRTKEY 0x01
#define FNOINVERT 0x02
#define FSHIFT 0x04
#define FCONTROL 0x08
#define FALT 0x10
struct ACCEL {
  BYTE fVirt;
  WORD key;
  WORD cmd;
};
using LPACCEL = ACCEL*;
// Resource form (RT_ACCELERATOR): rows of WORD flags (0x80 on the last),
// WORD key, WORD command, WORD padding.
HACCEL LoadAccelerators(HINSTANCE inst, LPCSTR name);
HACCEL CreateAcceleratorTable(const ACCEL* entries, int count);
BOOL DestroyAcceleratorTable(HACCEL table);
int CopyAcceleratorTable(HACCEL table, LPACCEL out, int count);  // entries, or the count for null
// A WM_KEYDOWN / WM_SYSKEYDOWN (virtual keys, with the Shift, Ctrl and Alt
// state that must match exactly) or WM_CHAR / WM_SYSCHAR (character
// entries) that the table has becomes WM_COMMAND (MAKEWPARAM(cmd, 1), 0) to
// `wnd` (WM_SYSCOMMAND for a command at or above 0xF000); TRUE when one did.
int TranslateAccelerator(HWND wnd, HACCEL table, LPMSG msg);
