// The records behind HWND and window-class handles. Internal to the USER
// layer; the display and GDI work extends these records rather than keeping
// parallel tables.
//
// Window procedures may create, destroy or re-parent windows while they run,
// so no code here keeps a Window* across a call of a procedure: look the
// handle up again afterwards.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gdi/region.h"
#include "gdi/surface.h"
#include "win/user.h"

namespace win::user {

struct WindowClass {
  std::string name;  // as registered; looked up without case
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int clsExtraBytes = 0;
  int wndExtraBytes = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  LPCSTR menuName = nullptr;  // a resource id or a pointer into menuNameText
  std::string menuNameText;
  std::vector<BYTE> extra;  // cbClsExtra bytes, zeroed
  int windowCount = 0;      // windows of the class that are not freed yet
};

enum class WindowState { Creating, Alive, Destroying };

// One standard scroll bar of a window (WS_HSCROLL / WS_VSCROLL). Windows
// gives a new bar the range 0 to 100.
struct ScrollBarState {
  int min = 0;
  int max = 100;
  UINT page = 0;
  int pos = 0;
  int trackPos = 0;
  UINT disabled = 0;  // ESB_DISABLE_LTUP / ESB_DISABLE_RTDN bits
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  HINSTANCE instance = nullptr;
  HMENU menu = nullptr;  // the id of a child window
  LONG_PTR userData = 0;
  HWND parent = nullptr;  // only for WS_CHILD windows
  HWND owner = nullptr;   // only for top-level windows
  // Z order, topmost first. New children go to the bottom, so this is also
  // the creation order until SetWindowPos reorders them.
  std::vector<HWND> children;
  RECT rect{};  // relative to the parent's client area; screen for top level
  RECT client{};  // the client area, relative to the window's top-left corner
  std::string text;
  std::vector<BYTE> extra;  // cbWndExtra bytes, zeroed
  WindowState state = WindowState::Creating;
  bool sentDestroy = false;  // WM_DESTROY has been sent

  // Painting: what WM_PAINT has still to cover (client coordinates), and
  // whether the background and the frame are to be drawn first.
  gdi::Region update;
  bool erasePending = false;
  bool ncPaintPending = false;
  bool internalPaint = false;  // RDW_INTERNALPAINT: a WM_PAINT without region
  bool painting = false;       // between BeginPaint and EndPaint

  ScrollBarState hscroll;
  ScrollBarState vscroll;
  HFONT font = nullptr;  // WM_SETFONT / WM_GETFONT
  RECT normalRect{};     // where a maximized or minimized window returns to
  bool hasNormalRect = false;

  // Top-level windows: the backing store that the window and its children
  // draw into (null while the window has no area).
  std::unique_ptr<gdi::Surface> surface;

  bool visible() const { return (style & WS_VISIBLE) != 0; }
  bool enabled() const { return (style & WS_DISABLED) == 0; }
  bool isChild() const { return (style & WS_CHILD) != 0; }
};

// The handle of the desktop window: a fixed record that is never freed.
// Its `children` are the top-level windows in Z order (topmost first).
HWND DesktopHandle();

// The window behind a handle, or null for a handle that is no (longer a)
// window. The desktop has a record too.
Window* FindWindow(HWND wnd);

// The top-level window that holds `wnd` (itself when it is not a child), or
// null for no window.
HWND TopLevelOf(HWND wnd);

// Creates a record with the next handle; the caller fills it in.
Window& NewWindow();
// Removes the record: its handle is invalid from then on.
void FreeWindow(HWND wnd);
// Every live handle, oldest first (the desktop excluded).
std::vector<HWND> AllWindows();

// Classes, by name without regard to case, or by atom when `name` is one.
std::shared_ptr<WindowClass> FindClass(LPCSTR name);
ATOM AddClass(std::shared_ptr<WindowClass> cls);  // 0 when the name is taken
bool RemoveClass(LPCSTR name);

// Drops everything (used by ResetUserState); nothing is called.
void ClearWindowsAndClasses();

// ASCII case-insensitive equality of class names.
bool SameClassName(const std::string& a, const char* b);

// Called by the window code when a window is freed, so that the queue,
// timers and focus forget it.
void ForgetWindowInQueue(HWND wnd);
void ForgetWindowTimers(HWND wnd);
void ForgetWindowFocus(HWND wnd);

// Reset hooks of the other parts of the layer.
void ResetQueue();
void ResetTimers();
void ResetFocus();
void ResetCursors();
void ResetKeyboard();
void ResetMetrics();
void ResetMessageBoxes();

// Reads or writes an extra-bytes long (see GetWindowLong); false when the
// offset is outside the block.
bool ReadExtraLong(const std::vector<BYTE>& extra, int offset, LONG_PTR* out);
bool WriteExtraLong(std::vector<BYTE>& extra, int offset, LONG_PTR value, LONG_PTR* old);

// Handles as the small integers they are.
inline HWND HandleFromIndex(std::uintptr_t n) { return reinterpret_cast<HWND>(n); }
inline std::uintptr_t IndexFromHandle(HWND wnd) { return reinterpret_cast<std::uintptr_t>(wnd); }

}  // namespace win::user
