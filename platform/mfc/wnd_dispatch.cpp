// Dispatching: message-map lookup for window messages and commands,
// command routing, reflection of control notifications, the default
// processing and PreTranslateMessage.
#include <vector>

#include "afx_state.h"
#include "mfc/app.h"
#include "mfc/wnd.h"

using zemra_mfc::State;

// ---- Message maps -----------------------------------------------------------------

const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* entries, UINT message,
                                            UINT code, UINT id) {
  for (const AFX_MSGMAP_ENTRY* e = entries; e && e->pfn; ++e) {
    if (e->nMessage == message && e->nCode == code && id >= e->nID && id <= e->nLastID) return e;
  }
  return nullptr;
}

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // The message is packed into the high word of the code (0: WM_COMMAND),
  // except for the update code, which fills both words.
  UINT message = 0;
  auto code = static_cast<UINT>(nCode);
  if (code != CN_UPDATE_COMMAND_UI) {
    message = HIWORD(code);
    code = LOWORD(code);
  }
  if (message == 0) message = WM_COMMAND;

  for (const AFX_MSGMAP* map = GetMessageMap(); map;
       map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    const AFX_MSGMAP_ENTRY* e = AfxFindMessageEntry(map->lpEntries, message, code, nID);
    if (!e) continue;
    if (pHandlerInfo) {
      pHandlerInfo->pTarget = this;
      pHandlerInfo->pfn = e->pfn;
      return TRUE;
    }
    const AfxMessageCall call{message, 0, 0, nID, pExtra};
    return e->pfn(this, call) ? TRUE : FALSE;
  }
  return FALSE;
}

void CCmdTarget::BeginWaitCursor() {
  if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(1);
}
void CCmdTarget::EndWaitCursor() {
  if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(-1);
}
void CCmdTarget::RestoreWaitCursor() {
  if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(0);
}

// ---- Window messages ------------------------------------------------------------------

const MSG* CWnd::GetCurrentMessage() { return &State().lastSentMsg; }

LRESULT CWnd::Default() {
  const MSG msg = State().lastSentMsg;
  return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper) return ::CallWindowProc(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    if (pResult) *pResult = 1;
    return TRUE;
  }

  // The colour messages of the controls all go to the one WM_CTLCOLOR entry.
  UINT lookup = message;
  AFX_CTLCOLOR ctl{};
  void* extra = nullptr;
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    ctl = AFX_CTLCOLOR{reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam),
                       message - WM_CTLCOLORMSGBOX};
    lookup = WM_CTLCOLOR;
    extra = &ctl;
  } else if (message == WM_CTLCOLOR + WM_REFLECT_BASE) {
    extra = reinterpret_cast<AFX_CTLCOLOR*>(lParam);
  }

  for (const AFX_MSGMAP* map = GetMessageMap(); map;
       map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    const AFX_MSGMAP_ENTRY* e = AfxFindMessageEntry(map->lpEntries, lookup, 0, 0);
    if (!e) continue;
    const AfxMessageCall call{message, wParam, lParam, 0, extra};
    const LRESULT result = e->pfn(this, call);
    if (pResult) *pResult = result;
    return TRUE;
  }
  return FALSE;
}

namespace {

// Records whether a command is enabled, for OnCommand's check before routing.
class CTestCmdUI : public CCmdUI {
 public:
  void Enable(BOOL on) override {
    m_bEnabled = on;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetRadio(BOOL) override {}
  void SetText(LPCSTR) override {}
  BOOL m_bEnabled = TRUE;
};

}  // namespace

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  HWND control = reinterpret_cast<HWND>(lParam);
  int code = HIWORD(wParam);
  if (!control) {
    // A menu item or accelerator: a command its update handler disabled
    // since it was offered is dropped.
    if (id == 0) return FALSE;
    CTestCmdUI state;
    state.m_nID = id;
    OnCmdMsg(id, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr);
    if (!state.m_bEnabled) return TRUE;
    code = CN_COMMAND;
  } else {
    // Notifications are ignored while UpdateData fills the controls.
    if (State().lockoutNotifyWindow == m_hWnd) return TRUE;
    if (ReflectLastMsg(control)) return TRUE;
    if (id == 0) return FALSE;
  }
  return OnCmdMsg(id, code, nullptr, nullptr);
}

// ---- Reflection ----------------------------------------------------------------------

BOOL CWnd::ReflectLastMsg(HWND child, LRESULT* result) {
  CWnd* w = FromHandlePermanent(child);
  return w ? w->SendChildNotifyLastMsg(result) : FALSE;
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* result) {
  const MSG msg = State().lastSentMsg;
  return OnChildNotify(msg.message, msg.wParam, msg.lParam, result);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
      return CWnd::OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, result);
    case WM_COMMAND: {
      const int code = HIWORD(wParam);
      if (CWnd::OnCmdMsg(0, MAKELONG(code, WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr)) {
        if (result) *result = 1;
        return TRUE;
      }
      return FALSE;
    }
    default:
      break;
  }
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    AFX_CTLCOLOR ctl{m_hWnd, reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX};
    LRESULT brush = 0;
    BOOL handled = CWnd::OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0,
                                  reinterpret_cast<LPARAM>(&ctl), &brush);
    if (brush == 0) handled = FALSE;  // no brush: the parent decides
    if (handled && result) *result = brush;
    return handled;
  }
  return FALSE;
}

// ---- Before dispatch -------------------------------------------------------------------

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::IsDialogMessage(LPMSG msg) { return ::IsDialogMessage(m_hWnd, msg); }

BOOL CWnd::PreTranslateInput(LPMSG msg) {
  const bool key = msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST;
  const bool mouse = msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST;
  if (!key && !mouse) return FALSE;
  return IsDialogMessage(msg);
}

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg) {
  for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
    CWnd* w = FromHandlePermanent(h);
    if (w && w->PreTranslateMessage(msg)) return TRUE;
    if (h == stop) break;
  }
  return FALSE;
}

// ---- Sending to children ----------------------------------------------------------------

namespace {

void SendToDescendants(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, BOOL deep,
                       BOOL onlyPerm) {
  // Handlers may create or destroy children: work on a snapshot.
  std::vector<HWND> children;
  for (HWND c = ::GetTopWindow(parent); c; c = ::GetNextWindow(c, GW_HWNDNEXT)) children.push_back(c);
  for (HWND c : children) {
    if (!::IsWindow(c)) continue;
    if (onlyPerm) {
      if (CWnd* w = CWnd::FromHandlePermanent(c)) AfxCallWndProc(w, c, message, wParam, lParam);
    } else {
      ::SendMessage(c, message, wParam, lParam);
    }
    if (deep && ::IsWindow(c) && ::GetTopWindow(c)) SendToDescendants(c, message, wParam, lParam, deep, onlyPerm);
  }
}

}  // namespace

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                    BOOL bOnlyPerm) {
  if (m_hWnd) SendToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}
