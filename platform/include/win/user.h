// USER services of our Win32 layer: window classes and procedures, the
// message queue, timers, cursors, focus, system metrics and message boxes.
// This layer is headless: windows exist as records with procedures; drawing
// and a real display come with the display backends behind this interface.
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
#define WM_SETCURSOR 0x0020
#define WM_GETMINMAXINFO 0x0024
#define WM_DRAWITEM 0x002B
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_WINDOWPOSCHANGED 0x0047
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_HSCROLL 0x0114
#define WM_VSCROLL 0x0115
#define WM_INITMENUPOPUP 0x0117
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_RBUTTONDBLCLK 0x0206
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
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
#define WS_EX_CLIENTEDGE 0x00000200L

#define CW_USEDEFAULT ((int)0x80000000)

// ---- Window classes and windows ---------------------------------------------
ATOM RegisterClass(const WNDCLASS* cls);
BOOL UnregisterClass(LPCSTR name, HINSTANCE inst);
BOOL GetClassInfo(HINSTANCE inst, LPCSTR name, WNDCLASS* out);
HWND CreateWindow(LPCSTR cls, LPCSTR title, DWORD style, int x, int y, int w, int h, HWND parent,
                  HMENU menu, HINSTANCE inst, LPVOID param);
HWND CreateWindowEx(DWORD exStyle, LPCSTR cls, LPCSTR title, DWORD style, int x, int y, int w,
                    int h, HWND parent, HMENU menu, HINSTANCE inst, LPVOID param);
BOOL DestroyWindow(HWND wnd);
BOOL IsWindow(HWND wnd);
HWND GetParent(HWND wnd);
LRESULT DefWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT CallWindowProc(WNDPROC proc, HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

#define GWL_WNDPROC (-4)
#define GWL_HINSTANCE (-6)
#define GWL_HWNDPARENT (-8)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWL_USERDATA (-21)
#define GWL_ID (-12)
#define DWL_MSGRESULT 0
// Window longs are pointer-sized here so that procedures and pointers fit.
LONG_PTR GetWindowLong(HWND wnd, int index);
LONG_PTR SetWindowLong(HWND wnd, int index, LONG_PTR value);
#define GCL_HBRBACKGROUND (-10)
#define GCL_HCURSOR (-12)
LONG_PTR SetClassLong(HWND wnd, int index, LONG_PTR value);
LONG_PTR GetClassLong(HWND wnd, int index);

// ---- The message queue ------------------------------------------------------
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
BOOL PostMessage(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
BOOL PostThreadMessage(DWORD thread, UINT msg, WPARAM wp, LPARAM lp);
LRESULT SendMessage(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
BOOL PeekMessage(LPMSG msg, HWND wnd, UINT first, UINT last, UINT remove);
BOOL GetMessage(LPMSG msg, HWND wnd, UINT first, UINT last);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
void PostQuitMessage(int exitCode);
DWORD GetMessageTime();
BOOL WaitMessage();

// ---- Timers ---------------------------------------------------------------
UINT_PTR SetTimer(HWND wnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND wnd, UINT_PTR id);

// ---- Cursors and focus --------------------------------------------------------
#define IDC_ARROW MAKEINTRESOURCE(32512)
#define IDC_IBEAM MAKEINTRESOURCE(32513)
#define IDC_WAIT MAKEINTRESOURCE(32514)
#define IDC_CROSS MAKEINTRESOURCE(32515)
#define IDC_UPARROW MAKEINTRESOURCE(32516)
#define IDC_SIZEALL MAKEINTRESOURCE(32646)
#define IDC_NO MAKEINTRESOURCE(32648)
// Named (resource-name) and numbered cursors: the cursors under resources/,
// and the system cursors above. Null when unknown.
HCURSOR LoadCursor(HINSTANCE inst, LPCSTR name);
HCURSOR SetCursor(HCURSOR cursor);  // returns the previous cursor
HCURSOR GetCursor();
BOOL GetCursorPos(LPPOINT out);
BOOL SetCursorPos(int x, int y);
int ShowCursor(BOOL show);
HWND GetFocus();
HWND SetFocus(HWND wnd);  // returns the window that had the focus
HWND GetActiveWindow();
HWND SetActiveWindow(HWND wnd);
HWND GetDesktopWindow();

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
#define SM_CXDOUBLECLK 36
#define SM_CYDOUBLECLK 37
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

// Whether a real display is open. False in tests and without $DISPLAY.
bool IsHeadless();

// Drops every window, class, timer and queued message, and resets focus,
// cursor and the message-box script: a fresh USER state for the next test.
void ResetUserState();

}  // namespace win
