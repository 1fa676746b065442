// CCmdUI: enabling, checking and renaming a menu item or a control before
// the user sees it, and the update round that asks the handlers.
#include "mfc/cmd_target.h"
#include "mfc/menu.h"
#include "mfc/wnd.h"

void CCmdUI::Enable(BOOL on) {
  if (m_pMenu) {
    // A popup is not changed through its first item.
    if (m_pSubMenu) return;
    m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
  } else if (m_pOther) {
    // Disabling the control with the focus moves the focus on first.
    if (!on && ::GetFocus() == m_pOther->m_hWnd) {
      HWND parent = ::GetParent(m_pOther->m_hWnd);
      if (HWND next = ::GetNextDlgTabItem(parent, m_pOther->m_hWnd, FALSE)) ::SetFocus(next);
    }
    m_pOther->EnableWindow(on);
  }
  m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int check) {
  if (m_pMenu) {
    if (m_pSubMenu) return;
    m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
  } else if (m_pOther) {
    // Only buttons have a check.
    if (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON)
      m_pOther->SendMessage(BM_SETCHECK, static_cast<WPARAM>(check));
  }
}

void CCmdUI::SetRadio(BOOL on) { SetCheck(on ? 1 : 0); }

void CCmdUI::SetText(LPCSTR text) {
  if (m_pMenu) {
    if (m_pSubMenu) return;
    const UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
    if (state == 0xFFFFFFFFu) return;
    const UINT keep = state & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
    m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | keep, m_nID, text);
  } else if (m_pOther) {
    // Setting the same text again would flicker.
    CString current;
    m_pOther->GetWindowText(current);
    if (current != (text ? text : "")) m_pOther->SetWindowText(text);
  }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL bDisableIfNoHandler) {
  if (!target || m_nID == 0 || LOWORD(m_nID) == 0xFFFF) return TRUE;
  m_bEnableChanged = FALSE;
  const BOOL result = target->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, nullptr);
  if (bDisableIfNoHandler && !m_bEnableChanged) {
    AFX_CMDHANDLERINFO info{nullptr, nullptr};
    const BOOL handler = target->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
    Enable(handler);
  }
  return result;
}
