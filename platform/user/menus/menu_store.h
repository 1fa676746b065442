// Menus as the window system keeps them: handles of item lists.
#pragma once

#include <string>
#include <vector>

#include "win/user.h"

namespace win::user {

struct MenuItem {
  UINT flags = 0;  // MF_SEPARATOR, MF_POPUP, MF_CHECKED, MF_GRAYED, MF_DISABLED, breaks, MF_HELP
  UINT id = 0;
  HMENU popup = nullptr;
  std::string text;

  bool separator() const { return (flags & MF_SEPARATOR) != 0; }
  bool disabled() const { return (flags & (MF_GRAYED | MF_DISABLED)) != 0; }
};

struct Menu {
  bool popup = false;  // CreatePopupMenu (or a submenu); else a menu bar
  std::vector<MenuItem> items;
};

// Null for a handle that is no (longer a) menu.
Menu* FindMenu(HMENU menu);

// The item by command id (in submenus too) or by position; null when none.
struct ItemRef {
  HMENU menu = nullptr;
  int index = -1;
  MenuItem* item = nullptr;
};
ItemRef FindItem(HMENU menu, UINT item, UINT flags);

inline constexpr size_t kMaxMenuItemsPerMenu = 1000;
inline constexpr size_t kMaxMenuText = 1024;

}  // namespace win::user
