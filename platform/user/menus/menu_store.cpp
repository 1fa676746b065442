// Menu handles and the item calls on them.
#include "menu_store.h"

#include <cstring>
#include <map>
#include <memory>

#include "menu_template.h"
#include "user/dialogs/resource_modules.h"
#include "user/nonclient.h"
#include "user/window_store.h"

namespace win::user {
namespace {

struct Store {
  std::map<std::uintptr_t, std::unique_ptr<Menu>> menus;
  std::uintptr_t next = 1;
};

Store& store() {
  static Store s;
  return s;
}

// Menu handles are numbers of their own range, never null.
constexpr std::uintptr_t kMenuBase = 0x4D000000;
constexpr int kMaxDepth = 16;

HMENU NewMenu(bool popup) {
  Store& s = store();
  const std::uintptr_t n = s.next++;
  auto m = std::make_unique<Menu>();
  m->popup = popup;
  s.menus[n] = std::move(m);
  return reinterpret_cast<HMENU>(kMenuBase + n);
}

ItemRef FindById(HMENU menu, UINT id, int depth) {
  Menu* m = FindMenu(menu);
  if (!m || depth > kMaxDepth) return {};
  for (size_t i = 0; i < m->items.size(); ++i) {
    MenuItem& it = m->items[i];
    if (!(it.flags & MF_POPUP) && it.id == id) return ItemRef{menu, static_cast<int>(i), &it};
  }
  for (size_t i = 0; i < m->items.size(); ++i) {
    MenuItem& it = m->items[i];
    if (it.flags & MF_POPUP) {
      // A popup item is found by its submenu's handle too.
      if (reinterpret_cast<UINT_PTR>(it.popup) == id) return ItemRef{menu, static_cast<int>(i), &it};
      ItemRef r = FindById(it.popup, id, depth + 1);
      if (r.item) return r;
    }
  }
  return {};
}

void Destroy(HMENU menu, int depth) {
  Store& s = store();
  auto it = s.menus.find(reinterpret_cast<std::uintptr_t>(menu) - kMenuBase);
  if (it == s.menus.end()) return;
  std::unique_ptr<Menu> m = std::move(it->second);
  s.menus.erase(it);
  if (depth > kMaxDepth) return;
  for (const MenuItem& item : m->items)
    if (item.flags & MF_POPUP) Destroy(item.popup, depth + 1);
}

// Fills an item from AppendMenu-style arguments; false for bad ones.
bool MakeItem(UINT flags, UINT_PTR idOrPopup, LPCSTR text, MenuItem* out) {
  MenuItem item;
  item.flags = flags & (MF_SEPARATOR | MF_POPUP | MF_CHECKED | MF_GRAYED | MF_DISABLED | MF_MENUBARBREAK |
                        MF_MENUBREAK | MF_HELP | MF_DEFAULT | MF_BITMAP | MF_OWNERDRAW);
  if (item.flags & MF_POPUP) {
    item.popup = reinterpret_cast<HMENU>(idOrPopup);
    if (!FindMenu(item.popup)) return false;
    FindMenu(item.popup)->popup = true;
  } else {
    item.id = static_cast<UINT>(idOrPopup);
  }
  if (!(item.flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)) && text)
    item.text.assign(text, strnlen(text, kMaxMenuText));
  *out = std::move(item);
  return true;
}

HMENU Build(const std::vector<MenuTemplateItem>& items, bool popup) {
  HMENU menu = NewMenu(popup);
  Menu* m = FindMenu(menu);
  for (const MenuTemplateItem& t : items) {
    MenuItem item;
    item.flags = t.flags;
    item.id = t.id;
    item.text = t.text;
    if (t.flags & MF_POPUP) item.popup = Build(t.children, true);
    m = FindMenu(menu);
    m->items.push_back(std::move(item));
  }
  return menu;
}

}  // namespace

Menu* FindMenu(HMENU menu) {
  const auto v = reinterpret_cast<std::uintptr_t>(menu);
  if (v <= kMenuBase) return nullptr;
  Store& s = store();
  auto it = s.menus.find(v - kMenuBase);
  return it == s.menus.end() ? nullptr : it->second.get();
}

ItemRef FindItem(HMENU menu, UINT item, UINT flags) {
  Menu* m = FindMenu(menu);
  if (!m) return {};
  if (flags & MF_BYPOSITION) {
    if (item >= m->items.size()) return {};
    return ItemRef{menu, static_cast<int>(item), &m->items[item]};
  }
  return FindById(menu, item, 0);
}

}  // namespace win::user

using namespace win::user;

HMENU CreateMenu() { return NewMenu(false); }
HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL DestroyMenu(HMENU menu) {
  if (!FindMenu(menu)) return FALSE;
  Destroy(menu, 0);
  return TRUE;
}

BOOL IsMenu(HMENU menu) { return FindMenu(menu) ? TRUE : FALSE; }

HMENU LoadMenuIndirect(const void* tmpl) {
  if (!tmpl) return nullptr;
  size_t size = ResourceBytesFrom(tmpl);
  if (!size) size = 64 * 1024;  // a caller's own template: as far as it says
  std::vector<MenuTemplateItem> items;
  std::string error;
  if (!ParseMenuTemplate(tmpl, size, &items, &error)) return nullptr;
  return Build(items, false);
}

HMENU LoadMenu(HINSTANCE inst, LPCSTR name) {
  const FoundResource r = FindResourceData(inst, name, RT_MENU);
  if (!r.data) return nullptr;
  std::vector<MenuTemplateItem> items;
  std::string error;
  if (!ParseMenuTemplate(r.data, r.size, &items, &error)) return nullptr;
  return Build(items, false);
}

HMENU GetSubMenu(HMENU menu, int pos) {
  Menu* m = FindMenu(menu);
  if (!m || pos < 0 || static_cast<size_t>(pos) >= m->items.size()) return nullptr;
  const MenuItem& it = m->items[static_cast<size_t>(pos)];
  return (it.flags & MF_POPUP) ? it.popup : nullptr;
}

int GetMenuItemCount(HMENU menu) {
  Menu* m = FindMenu(menu);
  return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int pos) {
  Menu* m = FindMenu(menu);
  if (!m || pos < 0 || static_cast<size_t>(pos) >= m->items.size()) return 0xFFFFFFFF;
  const MenuItem& it = m->items[static_cast<size_t>(pos)];
  if (it.flags & MF_POPUP) return 0xFFFFFFFF;
  return it.separator() ? 0 : it.id;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  ItemRef r = FindItem(menu, item, flags);
  if (!r.item) return 0xFFFFFFFF;
  const UINT state = r.item->flags & (MF_CHECKED | MF_GRAYED | MF_DISABLED | MF_SEPARATOR | MF_POPUP |
                                      MF_MENUBARBREAK | MF_MENUBREAK | MF_HILITE | MF_DEFAULT | MF_HELP);
  if (r.item->flags & MF_POPUP) {
    // A popup's item count in the high byte of the low word.
    const int n = GetMenuItemCount(r.item->popup);
    return (static_cast<UINT>(n < 0 ? 0 : std::min(n, 255)) << 8) | (state & 0xFF);
  }
  return state;
}

int GetMenuString(HMENU menu, UINT item, LPSTR out, int size, UINT flags) {
  ItemRef r = FindItem(menu, item, flags);
  if (!r.item) return 0;
  const std::string& t = r.item->text;
  if (!out || size <= 0) return static_cast<int>(t.size());
  const size_t n = std::min(t.size(), static_cast<size_t>(size) - 1);
  std::memcpy(out, t.data(), n);
  out[n] = '\0';
  return static_cast<int>(n);
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
  ItemRef r = FindItem(menu, item, check & MF_BYPOSITION);
  if (!r.item) return 0xFFFFFFFF;
  const DWORD old = r.item->flags & MF_CHECKED;
  r.item->flags = (r.item->flags & ~static_cast<UINT>(MF_CHECKED)) | (check & MF_CHECKED);
  return old;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  ItemRef r = FindItem(menu, item, enable & MF_BYPOSITION);
  if (!r.item) return -1;
  const UINT old = r.item->flags & (MF_GRAYED | MF_DISABLED);
  r.item->flags = (r.item->flags & ~static_cast<UINT>(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return static_cast<BOOL>(old);
}

BOOL InsertMenu(HMENU menu, UINT item, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
  Menu* m = FindMenu(menu);
  if (!m || m->items.size() >= kMaxMenuItemsPerMenu) return FALSE;
  MenuItem made;
  if (!MakeItem(flags, idOrPopup, text, &made)) return FALSE;
  HMENU target = menu;
  size_t at = m->items.size();
  if (flags & MF_BYPOSITION) {
    if (item != 0xFFFFFFFF && item < m->items.size()) at = item;
  } else {
    ItemRef r = FindItem(menu, item, MF_BYCOMMAND);
    if (r.item) {
      target = r.menu;
      at = static_cast<size_t>(r.index);
    }
  }
  Menu* t = FindMenu(target);
  t->items.insert(t->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(made));
  return TRUE;
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
  return InsertMenu(menu, 0xFFFFFFFF, flags | MF_BYPOSITION, idOrPopup, text);
}

BOOL ModifyMenu(HMENU menu, UINT item, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
  ItemRef r = FindItem(menu, item, flags & MF_BYPOSITION);
  if (!r.item) return FALSE;
  MenuItem made;
  if (!MakeItem(flags, idOrPopup, text, &made)) return FALSE;
  // A popup that is replaced is destroyed with the old item.
  if ((r.item->flags & MF_POPUP) && r.item->popup != made.popup) DestroyMenu(r.item->popup);
  Menu* m = FindMenu(r.menu);
  if (!m || r.index < 0 || static_cast<size_t>(r.index) >= m->items.size()) return FALSE;
  m->items[static_cast<size_t>(r.index)] = std::move(made);
  return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT item, UINT flags) {
  ItemRef r = FindItem(menu, item, flags & MF_BYPOSITION);
  if (!r.item) return FALSE;
  Menu* m = FindMenu(r.menu);
  m->items.erase(m->items.begin() + r.index);
  return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT item, UINT flags) {
  ItemRef r = FindItem(menu, item, flags & MF_BYPOSITION);
  if (!r.item) return FALSE;
  const HMENU popup = (r.item->flags & MF_POPUP) ? r.item->popup : nullptr;
  Menu* m = FindMenu(r.menu);
  m->items.erase(m->items.begin() + r.index);
  if (popup) DestroyMenu(popup);
  return TRUE;
}

HMENU GetMenu(HWND wnd) {
  if (!IsWindow(wnd) || (GetWindowLong(wnd, GWL_STYLE) & WS_CHILD)) return nullptr;
  HMENU menu = reinterpret_cast<HMENU>(GetWindowLong(wnd, GWL_ID));
  return FindMenu(menu) ? menu : nullptr;
}

BOOL SetMenu(HWND wnd, HMENU menu) {
  if (!IsWindow(wnd) || (GetWindowLong(wnd, GWL_STYLE) & WS_CHILD)) return FALSE;
  if (menu && !FindMenu(menu)) return FALSE;
  SetWindowLong(wnd, GWL_ID, reinterpret_cast<LONG_PTR>(menu));
  // The frame takes the bar's height from the client area (or gives it back).
  SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

BOOL DrawMenuBar(HWND wnd) {
  if (!GetMenu(wnd)) return FALSE;
  // Items added or taken away may change the bar's rows, and so the client
  // area; otherwise only the frame is drawn again.
  const Window* w = FindWindow(wnd);
  const RECT now = LayoutFrameOf(*w).client;
  if (!EqualRect(&now, &w->client))
    return SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                        SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}
