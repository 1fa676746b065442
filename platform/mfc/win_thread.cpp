// CWinThread: the message loop with idle processing.
#include "afx_state.h"
#include "mfc/app.h"
#include "mfc/wnd.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

int CWinThread::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

BOOL CWinThread::OnIdle(LONG count) {
  if (count <= 0) {
    // The user-interface state of the main window and what it holds.
    HWND main = AfxGetWindowHandle(m_pMainWnd);
    CWnd* mainWnd = CWnd::FromHandlePermanent(main);
    if (mainWnd && ::IsWindowVisible(main)) {
      AfxCallWndProc(mainWnd, main, WM_IDLEUPDATECMDUI, TRUE, 0);
      if (CWnd* again = CWnd::FromHandlePermanent(main))
        again->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    }
  } else if (zemra_mfc::State().tempMapLock == 0) {
    zemra_mfc::DeleteAllTemporaries();
  }
  return count < 1 ? TRUE : FALSE;
}

BOOL CWinThread::PreTranslateMessage(MSG* msg) {
  if (!msg) return FALSE;
  HWND main = AfxGetWindowHandle(m_pMainWnd);
  if (CWnd::WalkPreTranslateTree(main, msg)) return TRUE;
  // A modeless dialog's keys may still be the main window's accelerators.
  if (CWnd* mainWnd = CWnd::FromHandlePermanent(main); mainWnd && msg->hwnd) {
    HWND top = msg->hwnd;
    for (HWND up = top; up; up = ::GetParent(up)) top = up;
    if (top != main) return mainWnd->PreTranslateMessage(msg);
  }
  return FALSE;
}

BOOL CWinThread::PumpMessage() {
  if (!GetMessage(&m_msgCur, nullptr, 0, 0)) return FALSE;  // WM_QUIT
  if (!PreTranslateMessage(&m_msgCur)) {
    TranslateMessage(&m_msgCur);
    DispatchMessage(&m_msgCur);
  }
  return TRUE;
}

BOOL CWinThread::IsIdleMessage(MSG* msg) {
  if (!msg) return FALSE;
  if (msg->message == WM_MOUSEMOVE || msg->message == WM_NCMOUSEMOVE) {
    // A mouse move that does not move (sent again after a cursor change)
    // would otherwise keep idle processing running forever.
    const bool same = msg->message == lastMouseMsg_ && msg->pt.x == lastMousePos_.x &&
                      msg->pt.y == lastMousePos_.y;
    lastMousePos_ = msg->pt;
    lastMouseMsg_ = msg->message;
    return same ? FALSE : TRUE;
  }
  return msg->message != WM_PAINT && msg->message != WM_SYSTIMER ? TRUE : FALSE;
}

int CWinThread::Run() {
  bool idle = true;
  LONG idleCount = 0;
  for (;;) {
    while (idle && !PeekMessage(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idleCount++)) idle = false;
    }
    do {
      if (!PumpMessage()) return ExitInstance();
      if (IsIdleMessage(&m_msgCur)) {
        idle = true;
        idleCount = 0;
      }
    } while (PeekMessage(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
  }
}

namespace zemra_mfc {

bool PumpOneMessage(MSG& msg) {
  if (CWinThread* thread = AfxGetThread()) {
    const BOOL more = thread->PumpMessage();
    msg = thread->m_msgCur;
    return more != FALSE;
  }
  if (!GetMessage(&msg, nullptr, 0, 0)) return false;
  if (!CWnd::WalkPreTranslateTree(nullptr, &msg)) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  return true;
}

bool IsIdleMessage(MSG& msg) {
  if (CWinThread* thread = AfxGetThread()) return thread->IsIdleMessage(&msg) != FALSE;
  return msg.message != WM_PAINT && msg.message != WM_SYSTIMER;
}

}  // namespace zemra_mfc
