// The "COMBOBOX" class: a selection field (an edit for CBS_DROPDOWN and
// CBS_SIMPLE) with a list that drops down (or always shows, CBS_SIMPLE).
#pragma once

#include "win/user.h"

namespace win::user {

LRESULT ComboBoxProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
inline constexpr int kComboBoxExtra = 2 * static_cast<int>(sizeof(LONG_PTR));
inline constexpr int kComboEditId = 1001;
inline constexpr int kComboListId = 1000;

}  // namespace win::user
