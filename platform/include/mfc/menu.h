// CMenu: a menu object tied to a menu handle. A menu object that owns its
// handle destroys the menu when it goes; FromHandle gives temporary objects
// for other handles (freed at idle time).
#pragma once

#include "mfc/object.h"
#include "win/user.h"

class CWnd;

class CMenu : public CObject {
  DECLARE_DYNCREATE(CMenu)
 public:
  CMenu() = default;
  ~CMenu() override;

  operator HMENU() const { return m_hMenu; }
  HMENU GetSafeHmenu() const { return m_hMenu; }
  static CMenu* FromHandle(HMENU menu);
  static void DeleteTempMap();
  BOOL Attach(HMENU menu);
  HMENU Detach();

  BOOL CreateMenu();
  BOOL CreatePopupMenu();
  BOOL LoadMenu(LPCSTR name);
  BOOL LoadMenu(UINT id);
  BOOL LoadMenuIndirect(const void* tmpl);
  BOOL DestroyMenu();

  CMenu* GetSubMenu(int pos) const;
  UINT GetMenuItemCount() const;
  UINT GetMenuItemID(int pos) const;
  UINT GetMenuState(UINT item, UINT flags) const;
  int GetMenuString(UINT item, LPSTR out, int size, UINT flags) const;
  UINT CheckMenuItem(UINT item, UINT check);
  UINT EnableMenuItem(UINT item, UINT enable);
  BOOL AppendMenu(UINT flags, UINT_PTR idOrPopup = 0, LPCSTR text = nullptr);
  BOOL InsertMenu(UINT item, UINT flags, UINT_PTR idOrPopup = 0, LPCSTR text = nullptr);
  BOOL ModifyMenu(UINT item, UINT flags, UINT_PTR idOrPopup = 0, LPCSTR text = nullptr);
  BOOL RemoveMenu(UINT item, UINT flags);
  BOOL DeleteMenu(UINT item, UINT flags);
  BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr);

  HMENU m_hMenu = nullptr;
};
