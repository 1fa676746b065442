// The "EDIT" class: single- and multi-line text entry.
#pragma once

#include "win/user.h"

namespace win::user {

LRESULT EditProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
inline constexpr int kEditExtra = 2 * static_cast<int>(sizeof(LONG_PTR));

// A private message from an edit inside a combo box to the combo box: a key
// the combo box may want (wParam: the key, lParam: the key message's
// lParam); non-zero when the combo box took it.
inline constexpr UINT kComboEditKey = 0x01F0;

}  // namespace win::user
