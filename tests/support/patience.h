// How long a test waits for something that comes in a moment (a reply, a
// connection, bytes on loopback, another program's answer) before it calls
// its absence a failure: long enough for a loaded machine running under
// sanitizers. It bounds a wait on an event; it never measures speed.
#pragma once

#include <chrono>

namespace testing_support {

inline constexpr std::chrono::seconds kPatience{60};

inline std::chrono::steady_clock::time_point PatienceDeadline() {
  return std::chrono::steady_clock::now() + kPatience;
}

}  // namespace testing_support
