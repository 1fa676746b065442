#include "app/idle_wake.h"

#include "pages/objects/vobject.h"
#include "win/user.h"

namespace {

UINT_PTR& wakeTimer() {
  static UINT_PTR id = 0;
  return id;
}

void StopWakeTimer() {
  UINT_PTR& id = wakeTimer();
  if (id) KillTimer(nullptr, id);
  id = 0;
}

}  // namespace

BOOL WakeForIdle(DWORD wait) {
  if (wait == 0 || wait == VObject::kNoIdleWait) {
    StopWakeTimer();
    return wait == 0 ? TRUE : FALSE;
  }
  // Setting the same thread timer again restarts it with the new time; a
  // timer that has gone (a reset of USER's state) comes back under a new
  // id. The WM_TIMER has no procedure: it only wakes the loop, after which
  // the next idle call runs.
  UINT_PTR& id = wakeTimer();
  id = SetTimer(nullptr, id, wait, nullptr);
  return FALSE;
}

UINT_PTR IdleWakeTimer() { return wakeTimer(); }
