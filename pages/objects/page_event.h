// The event record that page objects pass down their tree. A handler
// consumes an event by setting its code to 0.
#pragma once

#include <cstdint>

#include "mfc/cstring.h"
#include "win/types.h"

struct PageEvent {
  enum Code : std::int32_t {
    Consumed = 0,
    MouseDown = 1,
    MouseUp = 2,
    MouseMove = 3,
    Idle = 4,
    Timer = 5,
    Clock = 6,
    Create = 7,
    Close = 8,
    Destroy = 9,
    QueryEndSession = 10,
    ReadStyle = 11,
    Start = 12,
    Stop = 13,
    AudioOff = 14,
    AudioOn = 15
  };

  explicit PageEvent(std::int32_t eventCode) : code(eventCode) {}
  PageEvent(std::int32_t px, std::int32_t py, std::int32_t eventCode)
      : code(eventCode), x(px), y(py) {}

  std::int32_t code;
  std::int32_t x = 0;
  std::int32_t y = 0;
  UINT_PTR timerId = 0;
  // Milliseconds since the page was entered (Clock events).
  DWORD time = 0;
  CString text;
};
