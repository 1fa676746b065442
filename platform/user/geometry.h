// Internal geometry of the window tree: coordinates between windows, the
// screen and the backing store of the top-level window, and Z order.
#pragma once

#include "window_store.h"

namespace win::user {

// The window's top-left corner in screen coordinates.
POINT WindowOriginOnScreen(HWND wnd);
// The client area's top-left corner in screen coordinates.
POINT ClientOriginOnScreen(HWND wnd);
// The window's top-left corner in its top-level window's coordinates (the
// coordinates of the top-level window's backing store).
POINT WindowOriginInTop(HWND wnd);

// Recomputes the client rectangle from the window's styles and size.
void RecalcClient(Window& w);

// Z order. `after` is HWND_TOP, HWND_BOTTOM, HWND_TOPMOST, HWND_NOTOPMOST or
// a sibling to go behind. Top-level windows keep WS_EX_TOPMOST ones first.
void PlaceInZOrder(HWND wnd, HWND after);
void RemoveFromZOrder(HWND wnd);
// The siblings of a window in Z order (the top-level list for top-level
// windows), or null for no window.
std::vector<HWND>* SiblingList(HWND wnd);

// Tells GDI (and so every window DC) that visible regions may have changed.
void GeometryChanged();

// Whether the window and every parent up to its top-level window are
// visible, and no window of the chain is minimized.
bool IsShowing(HWND wnd);

}  // namespace win::user
