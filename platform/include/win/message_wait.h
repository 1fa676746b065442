// Waiting on descriptors of one's own and on the window system together:
// for a loop (the network layer waiting for a reply) that must keep the
// windows alive without waking up to look every moment.
#pragma once

#include "win/types.h"

namespace win {

// What to wait on so that the wait ends as soon as the window system has
// something for the thread. Shows what was drawn and takes in what the
// display has delivered first, so that nothing already read off the
// display's connection is left unseen while the wait sleeps.
struct MessageWaitPlan {
  bool messageWaiting = false;       // PeekMessage would give a message now: do not wait
  int displayDescriptor = -1;        // poll it for reading; -1 when there is none (headless)
  DWORD msToNextTimer = 0xFFFFFFFF;  // until a USER timer is due; 0xFFFFFFFF: none
};
MessageWaitPlan PlanMessageWait();

}  // namespace win
