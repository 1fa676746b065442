// The "SCROLLBAR" class: one scroll bar filling its window.
#pragma once

#include "win/user.h"

namespace win::user {

LRESULT ScrollBarControlProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
inline constexpr int kScrollBarExtra = 2 * static_cast<int>(sizeof(LONG_PTR));

}  // namespace win::user
