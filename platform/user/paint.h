// Update regions and the WM_PAINT messages they make.
#pragma once

#include "gdi/region.h"
#include "window_store.h"

namespace win::user {

// RedrawWindow's invalidation and validation, with the region in client
// coordinates (null: the whole client area).
void RedrawRegion(HWND wnd, const gdi::Region* clientRgn, UINT flags);

// After `wnd` moved away from or was hidden over `rectInParent` (its old
// rectangle, coordinates of the parent's client area): the parent and the
// siblings there are invalidated. Top-level windows have their own store
// and uncover nothing.
void InvalidateUncovered(HWND wnd, const RECT& rectInParent);

// The first shown window that needs painting, parents before their children
// and each level in Z order; within `filter` (and its descendants) unless
// it is null. Null when none.
HWND NextWindowToPaint(HWND filter);

// What DispatchMessage does after a WM_PAINT: a window still invalid is
// validated, so that a handler that does not paint cannot loop.
void ValidateAfterPaint(HWND wnd);

}  // namespace win::user
