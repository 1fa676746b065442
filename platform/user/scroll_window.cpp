// ScrollWindowEx: moving client-area pixels within the backing store.
#include <algorithm>
#include <vector>

#include "caret.h"
#include "gdi/objects.h"
#include "geometry.h"
#include "paint.h"
#include "surfaces.h"
#include "win/gdi.h"
#include "win/kernel.h"

using namespace win::user;

namespace {

RECT Intersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

// Copies the pixels of `from` (surface coordinates, each rectangle inside
// the surface) to the same place shifted by dx, dy.
void MovePixels(win::gdi::Surface& s, const win::gdi::Region& from, int dx, int dy) {
  const RECT box = from.Bounds();
  const int w = box.right - box.left, h = box.bottom - box.top;
  if (w <= 0 || h <= 0) return;
  // Through a copy of the source box: the source and target overlap.
  std::vector<std::uint32_t> copy(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) std::copy_n(s.Row(box.top + y) + box.left, w, copy.data() + static_cast<size_t>(y) * w);
  for (const RECT& r : from.Rects()) {
    for (int y = r.top; y < r.bottom; ++y) {
      const int ty = y + dy;
      if (ty < 0 || ty >= s.height()) continue;
      const int x0 = std::max<int>(r.left, -dx), x1 = std::min<int>(r.right, s.width() - dx);
      if (x1 <= x0) continue;
      std::copy_n(copy.data() + static_cast<size_t>(y - box.top) * w + (x0 - box.left), x1 - x0,
                  s.Row(ty) + x0 + dx);
    }
    RECT moved{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    moved = Intersect(moved, RECT{0, 0, s.width(), s.height()});
    if (moved.right > moved.left && moved.bottom > moved.top) s.AddDamage(moved);
  }
}

}  // namespace

int ScrollWindowEx(HWND wnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN updateRgn,
                   LPRECT updateRect, UINT flags) {
  Window* w = FindWindow(wnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return ERROR;
  }
  const RECT client{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
  const RECT scrollRect = scroll ? Intersect(*scroll, client) : client;
  const RECT clipRect = clip ? Intersect(*clip, client) : client;
  HideCaretForScroll(wnd);

  namespace gdi = win::gdi;
  gdi::Region uncovered;
  const gdi::Region target = gdi::Region(scrollRect).IntersectRect(clipRect);
  if (dx != 0 || dy != 0) {
    // What is visible of the client area, in client coordinates.
    gdi::Region visible = VisibleRegion(wnd, true);
    const POINT origin = WindowOriginInTop(wnd);
    const POINT co{origin.x + w->client.left, origin.y + w->client.top};
    visible.Offset(-co.x, -co.y);
    // Pixels that can move: visible where they are and where they land.
    gdi::Region source = visible.IntersectRect(scrollRect);
    gdi::Region landing = source;
    landing.Offset(dx, dy);
    landing = landing.Intersect(visible).Intersect(target);
    gdi::Region moving = landing;
    moving.Offset(-dx, -dy);
    if (gdi::Surface* surface = TopSurface(TopLevelOf(wnd)); surface && !moving.IsEmpty()) {
      moving.Offset(co.x, co.y);
      MovePixels(*surface, moving, dx, dy);
    }
    uncovered = target.Subtract(landing);
    // What was waiting to be painted moves with the pixels.
    const gdi::Region pending = w->update.IntersectRect(scrollRect);
    if (!pending.IsEmpty()) {
      gdi::Region shifted = pending;
      shifted.Offset(dx, dy);
      w->update = w->update.Subtract(pending).Union(shifted.Intersect(target));
    }
  }
  if (flags & SW_INVALIDATE && !uncovered.IsEmpty())
    RedrawRegion(wnd, &uncovered, RDW_INVALIDATE | ((flags & SW_ERASE) ? RDW_ERASE : 0));
  if (flags & SW_SCROLLCHILDREN) {
    w = FindWindow(wnd);
    const std::vector<HWND> children = w ? w->children : std::vector<HWND>();
    for (HWND c : children) {
      Window* cw = FindWindow(c);
      if (!cw) continue;
      if (scroll) {
        const RECT over = Intersect(cw->rect, scrollRect);
        if (over.right <= over.left || over.bottom <= over.top) continue;
      }
      SetWindowPos(c, nullptr, cw->rect.left + dx, cw->rect.top + dy, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  ShowCaretAfterScroll(wnd, scrollRect, dx, dy);
  if (updateRgn)
    if (gdi::Region* out = gdi::LookupRegion(updateRgn)) *out = uncovered;
  if (updateRect) *updateRect = uncovered.Bounds();
  return uncovered.Type();
}

BOOL ScrollWindow(HWND wnd, int dx, int dy, const RECT* scroll, const RECT* clip) {
  const UINT flags = SW_INVALIDATE | SW_ERASE | (scroll ? 0 : SW_SCROLLCHILDREN);
  return ScrollWindowEx(wnd, dx, dy, scroll, clip, nullptr, nullptr, flags) != ERROR ? TRUE : FALSE;
}
