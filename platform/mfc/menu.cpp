// CMenu over the window system's menus.
#include "mfc/menu.h"

#include "afx_state.h"
#include "mfc/app.h"
#include "mfc/msgmap.h"
#include "mfc/wnd.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace zemra_mfc {
HandleMap<HMENU, CMenu>& MenuMap() {
  static HandleMap<HMENU, CMenu> map([](CMenu* m) { m->m_hMenu = nullptr; });
  return map;
}
}  // namespace zemra_mfc

CMenu::~CMenu() { DestroyMenu(); }

CMenu* CMenu::FromHandle(HMENU menu) {
  return zemra_mfc::MenuMap().FromHandle<CMenu>(menu, [menu] {
    auto* m = new CMenu;
    m->m_hMenu = menu;
    return m;
  });
}

CMenu* AfxMenuFromHandle(HMENU menu) { return CMenu::FromHandle(menu); }

void CMenu::DeleteTempMap() { zemra_mfc::MenuMap().DeleteTemporaries(); }

BOOL CMenu::Attach(HMENU menu) {
  if (!menu || m_hMenu) return FALSE;
  m_hMenu = menu;
  zemra_mfc::MenuMap().SetPermanent(menu, this);
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU menu = m_hMenu;
  if (menu) zemra_mfc::MenuMap().RemovePermanent(menu, this);
  m_hMenu = nullptr;
  return menu;
}

BOOL CMenu::CreateMenu() { return Attach(::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
BOOL CMenu::LoadMenu(LPCSTR name) { return Attach(::LoadMenu(AfxGetResourceHandle(), name)); }
BOOL CMenu::LoadMenu(UINT id) { return LoadMenu(MAKEINTRESOURCE(id)); }
BOOL CMenu::LoadMenuIndirect(const void* tmpl) { return Attach(::LoadMenuIndirect(tmpl)); }

BOOL CMenu::DestroyMenu() {
  if (!m_hMenu) return FALSE;
  return ::DestroyMenu(Detach());
}

CMenu* CMenu::GetSubMenu(int pos) const { return FromHandle(::GetSubMenu(m_hMenu, pos)); }
UINT CMenu::GetMenuItemCount() const { return static_cast<UINT>(::GetMenuItemCount(m_hMenu)); }
UINT CMenu::GetMenuItemID(int pos) const { return ::GetMenuItemID(m_hMenu, pos); }
UINT CMenu::GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }
int CMenu::GetMenuString(UINT item, LPSTR out, int size, UINT flags) const {
  return ::GetMenuString(m_hMenu, item, out, size, flags);
}
UINT CMenu::CheckMenuItem(UINT item, UINT check) { return ::CheckMenuItem(m_hMenu, item, check); }
UINT CMenu::EnableMenuItem(UINT item, UINT enable) {
  return static_cast<UINT>(::EnableMenuItem(m_hMenu, item, enable));
}
BOOL CMenu::AppendMenu(UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
  return ::AppendMenu(m_hMenu, flags, idOrPopup, text);
}
BOOL CMenu::InsertMenu(UINT item, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
  return ::InsertMenu(m_hMenu, item, flags, idOrPopup, text);
}
BOOL CMenu::ModifyMenu(UINT item, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
  return ::ModifyMenu(m_hMenu, item, flags, idOrPopup, text);
}
BOOL CMenu::RemoveMenu(UINT item, UINT flags) { return ::RemoveMenu(m_hMenu, item, flags); }
BOOL CMenu::DeleteMenu(UINT item, UINT flags) { return ::DeleteMenu(m_hMenu, item, flags); }
BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect) {
  return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, CWnd::SafeHwnd(owner), rect);
}
