// The menu bar of a top-level window: where it lies in the frame, how it
// is drawn, and the entry points the frame's default processing calls:
//
//   frame layout      the client area starts MenuBarHeight below the caption
//   WM_NCPAINT        PaintMenuBar after the frame
//   WM_NCHITTEST      HTMENU where MenuBarHitTest says so
//   WM_NCLBUTTONDOWN  HTMENU: TrackMenuBarMouse
//   WM_SYSCOMMAND     SC_KEYMENU: TrackMenuBarKey (lParam: the character)
#pragma once

#include "win/user.h"

namespace win::user {

// The bar in window coordinates: below the caption, inside the border, as
// many rows as its items need; empty for a window without a menu.
RECT MenuBarRect(HWND wnd);
int MenuBarHeight(HWND wnd, int windowWidth);
void PaintMenuBar(HWND wnd);
bool MenuBarHitTest(HWND wnd, POINT windowPoint);
// Drops the item under the screen point and tracks the menu.
void TrackMenuBarMouse(HWND wnd, POINT screen);
// The keyboard's way in: `ch` 0 (Alt or F10 alone) selects the first item;
// a letter opens the item with that mnemonic.
void TrackMenuBarKey(HWND wnd, char ch);

// For drawing during tracking: the bar item selected in `wnd`'s bar and
// whether its popup is open (-1 when the bar is not being tracked).
int TrackedBarItem(HWND wnd, bool* open);

}  // namespace win::user
