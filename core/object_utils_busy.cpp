// Object utilities: breaking and waiting for the running operation, and
// marking the cached objects for a fresh fetch.
#include "framework/progress_reporter.h"
#include "core/message_pump.h"
#include "core/object_utils.h"
#include "core/store_registry.h"
#include "core/user_break.h"
#include "win/kernel.h"
#include "win/user.h"

namespace {

// Handles up to `limit` waiting window messages. False once the quit
// message has been seen: nobody is left to end the operation waited for.
bool HandleWaitingMessages(int limit) {
  for (int i = 0; i < limit; ++i) {
    MSG msg{};
    if (!PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) break;
    if (PumpMessages(false) < 0) return false;
  }
  return !PumpQuitSeen();
}

}  // namespace

void stepBusyProgress() {
  if (!LongOperationFlag()) return;
  ProgressReporter* progress = GetFrameProgress();
  if (!progress) return;
  progress->RequestAbort();
  progress->SetCancel();
}

void waitWhileBusy(TickSource clock) {
  if (!clock) clock = &GetTickCount;
  const DWORD start = clock();
  while (LongOperationFlag()) {
    // Unsigned difference: still right when the tick count wraps.
    if (static_cast<DWORD>(clock() - start) >= kBusyWaitMs) return;
    if (!HandleWaitingMessages(kBusyWaitMessages)) return;
    Sleep(1);
  }
}

void invalidateAllObjects() {
  InvalidateCachedObjects(kRefreshMembers | kRefreshAnchors | kRefreshAttributes);
}
