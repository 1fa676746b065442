// A message box as a window of its own, for a display a user looks at.
#pragma once

#include "win/user.h"

namespace win::user {

// Shows the box (caption, text, the buttons of `type`) over `owner`, which
// is disabled meanwhile, and runs a modal loop until a button is chosen:
// by a click, Enter (the default button), Escape or the close box (Cancel,
// or OK for a box with only OK). WM_QUIT ends it with the default answer
// (and stays queued for the loop outside).
int RunMessageBoxWindow(HWND owner, const char* text, const char* caption, UINT type);

// The buttons of a box type, left to right; returns how many.
int MessageBoxButtons(UINT type, int out[3]);

}  // namespace win::user
