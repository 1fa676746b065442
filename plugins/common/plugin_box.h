// The message boxes of the converter plug-ins. Every failure of a plug-in is
// told in a task-modal warning box with no owner, captioned with the
// library's file name ("Tevrin.DLL", "Wendle.DLL", ...), after which the
// export returns 0 or null. Header-only, so a plug-in that links nothing but
// the platform layer can use it.
#pragma once

#include <cstdarg>
#include <cstdio>

#include "win/kernel.h"
#include "win/user.h"

namespace plugins {

inline constexpr UINT kWarningStyle = MB_TASKMODAL | MB_ICONWARNING;

// Shows `text` as a plug-in warning; returns the box's answer.
inline int ShowWarning(const char* caption, const char* text) {
  return MessageBox(nullptr, text, caption, kWarningStyle);
}

// The same with a printf-style text (the Win32 meaning of %ld and %lu).
// Texts longer than 511 characters are cut.
inline int ShowWarningF(const char* caption, const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  win_vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return ShowWarning(caption, text);
}

// A box of another kind (the GIF reader's question), still without owner.
inline int AskUser(const char* caption, const char* text, UINT type) {
  return MessageBox(nullptr, text, caption, type);
}

}  // namespace plugins
