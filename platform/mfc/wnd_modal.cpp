// Modal loops, dialog creation for window objects, and data exchange.
#include "afx_state.h"
#include "mfc/app.h"
#include "mfc/dialog.h"
#include "mfc/exceptions.h"
#include "mfc/prompts.h"
#include "mfc/afxres.h"
#include "mfc/wnd.h"

using zemra_mfc::State;

int CWnd::RunModalLoop(DWORD flags) {
  bool idle = true;
  LONG idleCount = 0;
  bool showIdle = (flags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
  HWND parent = ::GetParent(m_hWnd);
  const HWND self = m_hWnd;
  m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;
  MSG msg{};
  for (;;) {
    // Idle: show the window once, tell the parent and the window.
    while (idle && !::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!::IsWindow(self)) goto done;
      if (showIdle) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        showIdle = false;
      }
      if (!(flags & MLF_NOIDLEMSG) && parent && idleCount == 0)
        ::SendMessage(parent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(self));
      if ((flags & MLF_NOKICKIDLE) ||
          !::SendMessage(self, WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++))
        idle = false;
      if (!ContinueModal()) goto done;
    }
    do {
      if (!ContinueModal()) goto done;
      // A timer comes only when nothing else waits, so the queue has gone
      // idle: the window is shown before the timer's code runs, which may
      // look for it (as the active window, say). The first pass of a dialog
      // that took long to create finds its timers due already.
      MSG next{};
      if (showIdle && ::PeekMessage(&next, nullptr, 0, 0, PM_NOREMOVE) &&
          (next.message == WM_TIMER || next.message == WM_SYSTIMER)) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        showIdle = false;
      }
      if (!zemra_mfc::PumpOneMessage(msg)) {
        // WM_QUIT: the loop outside must see it too, with its exit code.
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
        return -1;
      }
      if (showIdle && msg.message == WM_SYSKEYDOWN) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        showIdle = false;
      }
      if (!ContinueModal()) goto done;
      if (zemra_mfc::IsIdleMessage(msg)) {
        idle = true;
        idleCount = 0;
      }
    } while (::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
  }
done:
  m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
  return m_nModalResult;
}

BOOL CWnd::ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0 && ::IsWindow(m_hWnd); }

void CWnd::EndModalLoop(int result) {
  m_nModalResult = result;
  if (m_nFlags & WF_CONTINUEMODAL) {
    m_nFlags &= ~WF_CONTINUEMODAL;
    // Wake a loop that waits for a message.
    ::PostMessage(m_hWnd, WM_NULL, 0, 0);
  }
}

// ---- Dialog creation -------------------------------------------------------------------

BOOL CWnd::CreateDlg(LPCSTR templateName, CWnd* parent) {
  HINSTANCE inst = AfxGetResourceHandle();
  HRSRC res = ::FindResource(inst, templateName, RT_DIALOG);
  HGLOBAL data = res ? ::LoadResource(inst, res) : nullptr;
  const auto* tmpl = static_cast<LPCDLGTEMPLATE>(data ? ::LockResource(data) : nullptr);
  if (!tmpl) {
    PostNcDestroy();
    return FALSE;
  }
  return CreateDlgIndirect(tmpl, parent, inst);
}

BOOL CWnd::CreateDlgIndirect(LPCDLGTEMPLATE tmpl, CWnd* parent, HINSTANCE inst) {
  if (!tmpl) {
    PostNcDestroy();
    return FALSE;
  }
  AfxHookWindowCreate(this);
  HWND wnd = ::CreateDialogIndirectParam(inst, tmpl, SafeHwnd(parent), &AfxDlgProc, 0);
  if (!AfxUnhookWindowCreate()) {
    // Never tied: no window, or no creation hook and no message before the
    // dialog manager returned.
    if (wnd && !m_hWnd && zemra_mfc::SubclassForFramework(this, wnd)) return TRUE;
    if (!wnd) PostNcDestroy();
    return wnd ? TRUE : FALSE;
  }
  return wnd ? TRUE : FALSE;
}

BOOL CWnd::ExecuteDlgInit(LPCSTR) { return TRUE; }

// ---- Data exchange -------------------------------------------------------------------------

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  zemra_mfc::ThreadState& st = State();
  const HWND oldLockout = st.lockoutNotifyWindow;
  st.lockoutNotifyWindow = m_hWnd;
  BOOL ok = FALSE;
  try {
    DoDataExchange(&dx);
    ok = TRUE;
  } catch (CUserException* e) {
    // The user has been told already.
    e->Delete();
  } catch (CException* e) {
    e->ReportError(MB_ICONEXCLAMATION, AFX_IDP_INTERNAL_FAILURE);
    e->Delete();
  }
  st.lockoutNotifyWindow = oldLockout;
  return ok;
}

void CWnd::UpdateDialogControls(CCmdTarget* target, BOOL bDisableIfNoHandler) {
  CCmdUI state;
  CWnd temp;  // stands for each child in turn
  for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT)) {
    temp.m_hWnd = child;
    state.m_nID = static_cast<UINT>(::GetDlgCtrlID(child));
    state.m_pOther = &temp;
    // The control's own update handler, without routing.
    if (CWnd* w = FromHandlePermanent(child)) {
      if (w->CWnd::OnCmdMsg(0, MAKELONG(0xFFFF, WM_COMMAND + WM_REFLECT_BASE), &state, nullptr))
        continue;
    }
    // This window's handler.
    if (CWnd::OnCmdMsg(state.m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr)) continue;
    // Only push buttons are disabled for want of a handler.
    BOOL disable = bDisableIfNoHandler;
    if (disable) {
      if ((temp.SendMessage(WM_GETDLGCODE) & DLGC_BUTTON) == 0) {
        disable = FALSE;
      } else {
        const UINT style = temp.GetStyle() & 0x0F;
        if (style == BS_AUTOCHECKBOX || style == BS_AUTO3STATE || style == BS_GROUPBOX ||
            style == BS_AUTORADIOBUTTON)
          disable = FALSE;
      }
    }
    state.DoUpdate(target, disable);
  }
  temp.m_hWnd = nullptr;
}
