// How the window system hands its windows' drawing areas to GDI.
//
// The window system registers one WindowSurfaceProvider. GetDC(wnd),
// GetWindowDC(wnd) and BeginPaint's DC ask it where the window lies: on
// which surface, where its area starts on that surface, and which part of
// the surface the window may draw on (its visible region, with overlapping
// windows and, for WS_CLIPCHILDREN, children taken out).
//
// When windows move, resize, show, hide, change order or are destroyed (and
// before a surface a DC may hold is freed), the window system calls
// WindowGeometryChanged(); every window DC asks again before its next
// drawing, so long-lived DCs (CS_OWNDC) stay right.
//
// Window surfaces should be made with PixelFormat::Display so that they
// behave as the display's depth says.
#pragma once

#include <cstdint>

#include "gdi/region.h"
#include "gdi/surface.h"
#include "win/types.h"

namespace win::gdi {

struct WindowDcInfo {
  Surface* surface = nullptr;  // where the window's pixels are
  POINT origin{0, 0};          // the area's top-left corner on that surface
  Region visible;              // where it may draw, in surface coordinates
};

class WindowSurfaceProvider {
 public:
  virtual ~WindowSurfaceProvider() = default;
  // wnd null: the whole screen (`client` is then true). False when the
  // window is not (or no longer) one; the DC then draws nothing.
  virtual bool Describe(HWND wnd, bool client, WindowDcInfo& out) = 0;
  // A DC of the window was released or deleted.
  virtual void Released(HWND /*wnd*/, HDC /*dc*/) {}
};

// Not owned; null unregisters. Without a provider the screen is a surface
// of the screen size that GDI keeps itself, and window DCs cannot be had.
void SetWindowSurfaceProvider(WindowSurfaceProvider* provider);
WindowSurfaceProvider* GetWindowSurfaceProvider();

void WindowGeometryChanged();
std::uint64_t WindowGeometryEpoch();

// A DC on a window's client area (client true) or whole window. With
// `updateClip` (device coordinates, i.e. relative to the area's corner) the
// DC can only draw inside it: BeginPaint passes the update region. Null when
// the provider does not know the window. Give it back with ReleaseWindowDc
// (ReleaseDC does the same).
HDC CreateWindowDc(HWND wnd, bool client, const Region* updateClip);
bool ReleaseWindowDc(HDC dc);

// The surface GDI keeps for the screen when no provider is registered.
Surface* FallbackScreenSurface();

}  // namespace win::gdi
