// CCmdTarget and CWinThread: the message loop with idle processing.
#include "mfc/app.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)
IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {
// A message of the system's own timer (caret blinking); never starts idling.
constexpr UINT kSystemTimer = 0x0118;
}  // namespace

int CWinThread::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

BOOL CWinThread::OnIdle(LONG count) { return count < 1 ? TRUE : FALSE; }

BOOL CWinThread::PreTranslateMessage(MSG*) { return FALSE; }

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
  if (msg->message == WM_MOUSEMOVE) {
    // A mouse move that does not move (sent again after a cursor change)
    // would otherwise keep idle processing running forever.
    const bool same = msg->message == lastMouseMsg_ && msg->pt.x == lastMousePos_.x &&
                      msg->pt.y == lastMousePos_.y;
    lastMousePos_ = msg->pt;
    lastMouseMsg_ = msg->message;
    return same ? FALSE : TRUE;
  }
  return msg->message != WM_PAINT && msg->message != kSystemTimer ? TRUE : FALSE;
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
