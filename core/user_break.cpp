#include "core/user_break.h"

#include "framework/app_hooks.h"
#include "core/message_pump.h"

void UserBreakMessageStep() {
  const bool quitSeenBefore = PumpQuitSeen();
  if (PumpMessages(false) < 0 && !quitSeenBefore) CleanupBeforeExit(0);
}

void UserBreakPump::Init() { SetMessageStep(&UserBreakMessageStep); }

void UserBreakPump::Exit() {
  // Leave a step someone else installed in place.
  const MessageStep current = SetMessageStep(nullptr);
  if (current != &UserBreakMessageStep) SetMessageStep(current);
}
