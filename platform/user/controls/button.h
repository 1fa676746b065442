// The "BUTTON" class: push buttons, check boxes, radio buttons, group boxes
// and owner-drawn buttons.
#pragma once

#include "win/user.h"

namespace win::user {

LRESULT ButtonProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
inline constexpr int kButtonExtra = 2 * static_cast<int>(sizeof(LONG_PTR));

}  // namespace win::user
