// The backing stores of top-level windows and the visible regions of every
// window in them: the window system's side of GDI's window DCs.
#pragma once

#include "gdi/region.h"
#include "gdi/surface.h"
#include "window_store.h"

namespace win::user {

// The backing store of a top-level window; null while it has no area.
gdi::Surface* TopSurface(HWND top);
// Makes the top-level window's backing store its size (kept pixels stay
// where they were); with no area it has none.
void SyncTopSurface(HWND top);

// Where the window (client area or whole window) may draw, in the
// coordinates of its top-level window's backing store: clipped by every
// parent's client area, by siblings above it where it or a parent has
// WS_CLIPSIBLINGS, and by its children with WS_CLIPCHILDREN. Empty while
// the window is not showing.
gdi::Region VisibleRegion(HWND wnd, bool client);

// Registers the window system with GDI (idempotent).
void EnsureSurfaceProvider();

// The screen as one picture: the desktop colour with every shown top-level
// window's backing store on it, bottom to top.
gdi::Surface* ScreenSurface();

}  // namespace win::user
