// What a loop with descriptors of its own waits on to notice the window
// system: the display's connection and the next timer.
#include "display/display.h"
#include "message_queue.h"
#include "win/message_wait.h"
#include "win/user.h"

namespace win {

MessageWaitPlan PlanMessageWait() {
  MessageWaitPlan plan;
  // What was drawn is shown before the thread sleeps, as GetMessage does.
  display::Display& d = display::Active();
  d.Flush();
  MSG ignored{};
  // PeekMessage takes in what the display has delivered, so an event read
  // off the connection already is seen here and not missed by the poll.
  if (PeekMessage(&ignored, nullptr, 0, 0, PM_NOREMOVE)) {
    plan.messageWaiting = true;
    return plan;
  }
  plan.displayDescriptor = d.InputDescriptor();
  plan.msToNextTimer = user::TimeToNextTimer(nullptr, 0, 0);
  return plan;
}

}  // namespace win
