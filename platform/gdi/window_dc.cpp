#include "gdi/window_dc.h"

#include "gdi/dc.h"
#include "gdi/dc_internal.h"
#include "gdi/color.h"
#include "win/user.h"

namespace win::gdi {
namespace {

WindowSurfaceProvider* g_provider = nullptr;
std::uint64_t g_epoch = 1;
std::unique_ptr<Surface> g_screen;

}  // namespace

void SetWindowSurfaceProvider(WindowSurfaceProvider* provider) {
  g_provider = provider;
  WindowGeometryChanged();
}

WindowSurfaceProvider* GetWindowSurfaceProvider() { return g_provider; }

void WindowGeometryChanged() { ++g_epoch; }
std::uint64_t WindowGeometryEpoch() { return g_epoch; }

Surface* FallbackScreenSurface() {
  if (!g_screen) {
    int w = GetSystemMetrics(SM_CXSCREEN);
    int h = GetSystemMetrics(SM_CYSCREEN);
    // The Windows 95 desktop colour.
    g_screen = Surface::Create(w > 0 ? w : 1024, h > 0 ? h : 768, PixelFormat::Display,
                               RgbToPixel(RGB(0, 128, 128)));
  }
  return g_screen.get();
}

void ResetWindowDcState() {
  g_screen.reset();
  ++g_epoch;
}

void RefreshWindowDc(DcRecord& dc) {
  if (dc.geometryEpoch == g_epoch) return;
  dc.geometryEpoch = g_epoch;
  dc.clipValid = false;
  WindowDcInfo info;
  bool ok = false;
  if (g_provider) ok = g_provider->Describe(dc.window, dc.clientArea, info) && info.surface;
  if (!ok && dc.window == nullptr) {
    info = WindowDcInfo{};
    info.surface = FallbackScreenSurface();
    info.visible = Region(RECT{0, 0, info.surface->width(), info.surface->height()});
    ok = info.surface != nullptr;
  }
  if (!ok) {
    dc.surface = nullptr;
    dc.visible = Region();
    return;
  }
  dc.surface = info.surface;
  dc.origin = info.origin;
  dc.visible = std::move(info.visible);
}

HDC CreateWindowDc(HWND wnd, bool client, const Region* updateClip) {
  HDC h = NewDc(wnd ? DcKind::Window : DcKind::Screen);
  DcRecord* dc = LookupDc(h);
  if (!dc) return nullptr;
  dc->window = wnd;
  dc->clientArea = wnd ? client : true;
  dc->geometryEpoch = 0;
  RefreshWindowDc(*dc);
  if (!dc->surface) {
    RemoveObject(h);
    return nullptr;
  }
  if (updateClip) dc->paintClip = *updateClip;
  return h;
}

bool ReleaseWindowDc(HDC h) {
  DcRecord* dc = LookupDc(h);
  if (!dc || (dc->kind != DcKind::Window && dc->kind != DcKind::Screen)) return false;
  return DestroyDc(h);
}

}  // namespace win::gdi
