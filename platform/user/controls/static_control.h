// The "STATIC" class: text, icons, rectangles, frames and etched lines.
#pragma once

#include "win/user.h"

namespace win::user {

LRESULT StaticProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
inline constexpr int kStaticExtra = 2 * static_cast<int>(sizeof(LONG_PTR));

}  // namespace win::user
