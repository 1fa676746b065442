// The non-client area of a window: the frame, caption, menu bar, client edge
// and scroll bars that the styles ask for, laid out the Windows 95 way.
#pragma once

#include "win/user.h"

namespace win::user {

struct Window;

// Where the parts of a window lie, in window coordinates (0, 0 is the
// window's top-left corner). Absent parts are empty rectangles.
struct FrameLayout {
  int border = 0;    // width of the outer frame on each side
  RECT caption{};    // the caption bar, its bottom line included
  RECT menuBar{};    // the menu bar of a top-level window with a menu
  RECT edge{};       // the area the client edge surrounds (WS_EX_CLIENTEDGE)
  RECT vscroll{};    // the vertical scroll bar
  RECT hscroll{};    // the horizontal scroll bar
  RECT sizeBox{};    // the corner between both bars
  RECT client{};     // the client area
  RECT closeBox{};   // the caption's close button (WS_SYSMENU)
};

// The layout of a window of `width` x `height` with these styles and a menu
// bar `menuHeight` pixels high below the caption. A window too small for
// its frame gets an empty client area at the frame's inside.
FrameLayout LayoutFrame(DWORD style, DWORD exStyle, int width, int height, int menuHeight = 0);
// The window's own layout, its menu bar included (menus/menu_bar.h).
FrameLayout LayoutFrameOf(const Window& w);

// What DefWindowProc's WM_NCHITTEST answers for a point in window
// coordinates (HTNOWHERE outside, HTMENU on the menu bar).
int HitTestFrame(const Window& w, POINT windowPoint);

// Draws the frame, caption, menu bar and scroll bars of the window through
// its window DC (DefWindowProc's WM_NCPAINT).
void PaintFrame(HWND wnd);

}  // namespace win::user
