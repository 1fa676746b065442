// Drawing buttons the Windows 95 way.
#pragma once

#include "win/user.h"

namespace win::user {

// The BS_ type of a button (BS_TYPEMASK of its style).
DWORD TypeOf(HWND button);
// Paints the whole button; `state` holds BST_ check, pushed and focus bits.
void PaintButton(HWND button, HDC dc, LONG_PTR state);
// WM_DRAWITEM to the parent of an owner-drawn button, with a DC of its own.
void DrawOwnerButton(HWND button, UINT action);

}  // namespace win::user
