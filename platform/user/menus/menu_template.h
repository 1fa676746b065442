// Menu templates in their binary form (the classic MENUITEMTEMPLATE list):
// what LoadMenuIndirect reads and what the resource compiler writes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "win/user.h"

namespace win::user {

struct MenuTemplateItem {
  UINT flags = 0;  // MF_POPUP, MF_GRAYED, MF_CHECKED, MF_SEPARATOR, ... (not MF_END)
  WORD id = 0;     // not for popups
  std::string text;  // ANSI; empty with MF_SEPARATOR
  std::vector<MenuTemplateItem> children;  // a popup's items
};

inline constexpr size_t kMaxMenuItems = 4000;  // in the whole template
inline constexpr int kMaxMenuDepth = 16;

bool ParseMenuTemplate(const void* data, size_t size, std::vector<MenuTemplateItem>* out,
                       std::string* error);
std::vector<BYTE> WriteMenuTemplate(const std::vector<MenuTemplateItem>& items);

}  // namespace win::user
