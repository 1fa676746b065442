// A clock for USER (timers, input and message times) that only moves when
// the test moves it: what is due, and what is not due yet, then depends on
// the test and never on how long a loaded machine took between two steps. Put it in after the USER
// state was reset (a reset brings back the real clock).
#pragma once

#include "win/user.h"

namespace testing_support {

class TestUserClock {
 public:
  TestUserClock() {
    ticks() = 100000;
    previous_ = win::SetUserClock(&Now);
  }
  ~TestUserClock() { win::SetUserClock(previous_); }
  TestUserClock(const TestUserClock&) = delete;
  TestUserClock& operator=(const TestUserClock&) = delete;

  void Advance(DWORD ms) { ticks() += ms; }

 private:
  static DWORD& ticks() {
    static DWORD t = 0;
    return t;
  }
  static DWORD Now() { return ticks(); }
  win::UserClock previous_ = nullptr;
};

}  // namespace testing_support
