// The message box a user sees on a display, built from the dialog manager
// and the standard controls.
#pragma once

#include "win/user.h"

namespace win::user {

// Shows the box over `owner` (disabled meanwhile) and returns the button
// chosen: an icon for MB_ICONHAND / QUESTION / EXCLAMATION / ASTERISK, the
// text wrapped to at most 420 pixels, the buttons of the type with the
// MB_DEFBUTTONn one default and focused. Enter chooses the focused button,
// Escape and the close box Cancel (OK in an OK-only box; nothing where
// there is neither), Tab and the arrows move between the buttons, and a
// button's underlined letter chooses it. WM_QUIT ends the box with its
// default answer (and stays queued).
int RunMessageBoxDisplay(HWND owner, const char* text, const char* caption, UINT type);

// The buttons of a box type, left to right; returns how many.
int MessageBoxButtons(UINT type, int out[3]);

}  // namespace win::user
