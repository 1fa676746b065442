// GDI's window DCs get their surface, origin and visible region here.
#include "surfaces.h"

#include <algorithm>

#include "gdi/color.h"
#include "gdi/window_dc.h"
#include "geometry.h"
#include "win/gdi.h"

namespace win::user {
namespace {

RECT Offset(const RECT& r, POINT by) {
  return RECT{r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y};
}

RECT SizeRect(const Window& w) {
  return RECT{0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top};
}

// Takes the window rectangles of the shown windows of `list` (coordinates of
// their parent's client area) out of `region`, shifted by `origin`; from
// the start of the list up to (not including) `stop`.
void SubtractWindows(gdi::Region& region, const std::vector<HWND>& list, HWND stop, POINT origin) {
  for (HWND h : list) {
    if (h == stop) break;
    Window* s = FindWindow(h);
    if (!s || !s->visible()) continue;
    region = region.Subtract(gdi::Region(Offset(s->rect, origin)));
  }
}

class Provider final : public gdi::WindowSurfaceProvider {
 public:
  bool Describe(HWND wnd, bool client, gdi::WindowDcInfo& out) override {
    if (!wnd || wnd == DesktopHandle()) {
      out.surface = ScreenSurface();
      if (!out.surface) return false;
      out.origin = POINT{0, 0};
      out.visible = gdi::Region(RECT{0, 0, out.surface->width(), out.surface->height()});
      return true;
    }
    Window* w = FindWindow(wnd);
    if (!w) return false;
    gdi::Surface* surface = TopSurface(TopLevelOf(wnd));
    if (!surface) return false;
    const POINT origin = WindowOriginInTop(wnd);
    out.surface = surface;
    out.origin = client ? POINT{origin.x + w->client.left, origin.y + w->client.top} : origin;
    out.visible = VisibleRegion(wnd, client);
    return true;
  }
};

Provider& provider() {
  static Provider p;
  return p;
}

struct Screen {
  std::unique_ptr<gdi::Surface> surface;
};

Screen& screen() {
  static Screen s;
  return s;
}

}  // namespace

gdi::Surface* TopSurface(HWND top) {
  Window* w = FindWindow(top);
  return w ? w->surface.get() : nullptr;
}

void SyncTopSurface(HWND top) {
  Window* w = FindWindow(top);
  if (!w || w->isChild() || top == DesktopHandle()) return;
  const int width = w->rect.right - w->rect.left, height = w->rect.bottom - w->rect.top;
  const std::uint32_t fill = gdi::RgbToPixel(GetSysColor(COLOR_WINDOW));
  if (width < 1 || height < 1) {
    w->surface.reset();
  } else if (!w->surface) {
    w->surface = gdi::Surface::Create(width, height, gdi::PixelFormat::Display, fill);
  } else if (w->surface->width() != width || w->surface->height() != height) {
    if (!w->surface->Resize(width, height, fill))
      w->surface.reset();  // a size the store cannot have: nothing is drawn
  }
  GeometryChanged();
}

gdi::Region VisibleRegion(HWND wnd, bool client) {
  Window* w = FindWindow(wnd);
  if (!w || !IsShowing(wnd)) return gdi::Region();
  gdi::Surface* surface = TopSurface(TopLevelOf(wnd));
  if (!surface) return gdi::Region();
  const POINT origin = WindowOriginInTop(wnd);
  const RECT area = Offset(client ? w->client : SizeRect(*w), origin);
  gdi::Region vis = gdi::Region(area).IntersectRect(RECT{0, 0, surface->width(), surface->height()});

  // Up the tree: each parent's client area, and the siblings above.
  Window* cur = w;
  while (cur->isChild() && cur->parent && !vis.IsEmpty()) {
    Window* parent = FindWindow(cur->parent);
    if (!parent) return gdi::Region();
    const POINT po = WindowOriginInTop(cur->parent);
    const POINT pc{po.x + parent->client.left, po.y + parent->client.top};
    vis = vis.IntersectRect(Offset(SizeRect(*parent), po)).IntersectRect(
        RECT{pc.x, pc.y, pc.x + (parent->client.right - parent->client.left),
             pc.y + (parent->client.bottom - parent->client.top)});
    if (cur->style & WS_CLIPSIBLINGS) SubtractWindows(vis, parent->children, cur->handle, pc);
    cur = parent;
  }
  if (w->style & WS_CLIPCHILDREN) {
    const POINT cc{origin.x + w->client.left, origin.y + w->client.top};
    SubtractWindows(vis, w->children, nullptr, cc);
  }
  return vis;
}

void EnsureSurfaceProvider() {
  if (gdi::GetWindowSurfaceProvider() != &provider()) gdi::SetWindowSurfaceProvider(&provider());
}

gdi::Surface* ScreenSurface() {
  Screen& s = screen();
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  const std::uint32_t desktop = gdi::RgbToPixel(GetSysColor(COLOR_BACKGROUND));
  if (!s.surface || s.surface->width() != width || s.surface->height() != height)
    s.surface = gdi::Surface::Create(width, height, gdi::PixelFormat::Display, desktop);
  if (!s.surface) return nullptr;
  // Composed afresh each time it is asked for: the screen is read (BitBlt
  // from the screen DC) far less often than windows are drawn.
  gdi::Surface& dst = *s.surface;
  for (int y = 0; y < dst.height(); ++y) std::fill_n(dst.Row(y), dst.width(), desktop);
  const std::vector<HWND> tops = FindWindow(DesktopHandle())->children;
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    Window* t = FindWindow(*it);
    if (!t || !t->surface || !IsShowing(*it)) continue;
    const gdi::Surface& src = *t->surface;
    const int x0 = std::max<int>(0, t->rect.left), x1 = std::min<int>(dst.width(), t->rect.left + src.width());
    const int y0 = std::max<int>(0, t->rect.top), y1 = std::min<int>(dst.height(), t->rect.top + src.height());
    for (int y = y0; y < y1; ++y)
      std::copy_n(src.Row(y - t->rect.top) + (x0 - t->rect.left), std::max(0, x1 - x0), dst.Row(y) + x0);
  }
  return s.surface.get();
}

}  // namespace win::user
