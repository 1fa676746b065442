// Menus on the screen: the popup window ("#32768") that shows one menu
// level, how its items are laid out and drawn, and the menu bar's items.
#pragma once

#include <vector>

#include "win/user.h"

namespace win::user {

inline constexpr char kMenuWindowClass[] = "#32768";
void RegisterMenuWindowClass();

// Item rectangles of a popup (window coordinates) and its size.
struct PopupLayout {
  std::vector<RECT> items;
  SIZE size{0, 0};
};
PopupLayout LayoutPopup(HMENU menu);

// A hidden popup window for `menu` (owner: `owner`'s top-level window),
// sized to the menu; it never takes the activation or the focus.
HWND CreateMenuWindow(HMENU menu, HWND owner);
HMENU MenuOfWindow(HWND popup);
int SelectionOfWindow(HWND popup);
void SelectInWindow(HWND popup, int index);
// The item under a screen point (-1: none, or outside the window).
int MenuWindowItemAt(HWND popup, POINT screen);
RECT MenuWindowItemRect(HWND popup, int index);  // screen coordinates

// The menu bar: item rectangles within a bar `width` pixels wide (bar
// coordinates), and its height (SM_CYMENU per row).
struct BarLayout {
  std::vector<RECT> items;
  int height = 0;
};
BarLayout LayoutMenuBar(HMENU menu, int width);
// Draws the bar in `bar` (DC coordinates); `selected` is highlighted,
// sunken when its popup is open.
void PaintMenuBarItems(HDC dc, HMENU menu, const RECT& bar, int selected, bool open);

// The font menus are drawn with.
HFONT MenuFont();

}  // namespace win::user
