// The user-break flag: set by the application shell when the user breaks a
// running request, polled by the request that waits.
#include "app/framework/app_hooks.h"
#include "core/message_pump.h"
#include "net/dispatcher.h"

namespace {
bool gAbort = false;
}

bool PollMessages() {
  if (PumpMessages(false) < 0) CleanupBeforeExit(0);
  const bool was = gAbort;
  gAbort = false;
  return was;
}

bool SetAbortFlag() {
  const bool was = gAbort;
  gAbort = true;
  return was;
}

bool ClearAbortFlag() {
  const bool was = gAbort;
  gAbort = false;
  return was;
}
