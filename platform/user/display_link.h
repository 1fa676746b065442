// What the display backends read of the window system.
#pragma once

#include <vector>

#include "surfaces.h"
#include "win/user.h"

namespace win::user {

// Top-level windows in Z order, topmost first.
std::vector<HWND> TopLevelWindows();
// ShowCursor's count: the cursor shows while it is 0 or more.
int CursorShowCount();

}  // namespace win::user
