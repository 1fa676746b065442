// Lets every window paint and the display show it: messages are taken
// until none waits, what was drawn is sent, and the display's round trip
// (with the exposures that brought back) is waited for, again while that
// brought new messages. Afterwards a screenshot shows what was drawn.
#pragma once

#include <gtest/gtest.h>

#include "display/display.h"
#include "display/headless.h"
#include "win/user.h"

namespace x11_test {

inline void Settle() {
  for (int round = 0; round < 100; ++round) {
    win::headless::DispatchPending();
    win::FlushDisplay();
    win::display::Active().Sync();
    MSG msg;
    if (!PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) return;
  }
  ADD_FAILURE() << "the windows kept receiving messages";
}

}  // namespace x11_test
