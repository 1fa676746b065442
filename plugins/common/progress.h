// Progress of a plug-in reader: message 0x62C sent synchronously to the
// window the caller named, wParam the percent done, lParam 0. The main
// window hands it on to the current page's progress display.
#pragma once

#include <cstdint>

#include "win/user.h"

namespace plugins {

inline constexpr UINT kProgressMessage = 0x62C;

// Sends the percentage (clamped to 0..100) when there is a window to tell.
inline void SendProgress(HWND window, std::int64_t percent) {
  if (!window) return;
  if (percent < 0) percent = 0;
  if (percent > 100) percent = 100;
  SendMessage(window, kProgressMessage, static_cast<WPARAM>(percent), 0);
}

// done x 100 / total, safe for any total (0 total is 100 percent).
inline int Percent(std::int64_t done, std::int64_t total) {
  if (total <= 0) return 100;
  if (done <= 0) return 0;
  if (done >= total) return 100;
  return static_cast<int>(done * 100 / total);
}

}  // namespace plugins
