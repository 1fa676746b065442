// Region objects, clip regions of DCs, and the region painting calls.
#include <algorithm>

#include "gdi/color.h"
#include "gdi/dc.h"
#include "gdi/dc_internal.h"
#include "gdi/paint.h"
#include "gdi/raster_shapes.h"
#include "win/gdi.h"

using namespace win::gdi;

namespace {

constexpr LONG kBig = 1 << 27;

RECT Normal(int l, int t, int r, int b) {
  return RECT{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

// A region in logical coordinates of a DC moved to surface coordinates.
Region ToSurface(const DcRecord& dc, Region r) {
  POINT o = LogicalToSurface(dc, POINT{0, 0});
  r.Offset(o.x, o.y);
  return r;
}

// The DC's current clip in device coordinates, or the whole device when it
// has none (what the combining clip calls start from).
Region CurrentClipOrAll(DcRecord& dc) {
  if (dc.state.clip) return *dc.state.clip;
  return Region(RECT{-kBig, -kBig, kBig, kBig});
}

int ClipResult(DcRecord& dc) {
  InvalidateClip(dc);
  return EffectiveClip(dc).Type();
}

}  // namespace

// ---- Region objects -------------------------------------------------------------

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return CreateRegionHandle(Region(Normal(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* r) {
  return r ? CreateRectRgn(r->left, r->top, r->right, r->bottom) : nullptr;
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
  RECT r = Normal(left, top, right, bottom);
  double w = double(r.right) - r.left, h = double(r.bottom) - r.top;
  return CreateRegionHandle(RasterRoundRect(r.left, r.top, r.right, r.bottom, w / 2, h / 2));
}

HRGN CreatePolygonRgn(const POINT* pts, int count, int fillMode) {
  if (!pts || count < 3 || count > 1000000) return nullptr;
  std::vector<PointD> poly;
  poly.reserve(std::size_t(count));
  for (int i = 0; i < count; ++i) poly.push_back(PointD{double(pts[i].x), double(pts[i].y)});
  return CreateRegionHandle(RasterPolygons({poly}, fillMode == WINDING));
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
  Region* r = LookupRegion(rgn);
  if (!r) return FALSE;
  *r = Region(Normal(left, top, right, bottom));
  return TRUE;
}

int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode) {
  Region* d = LookupRegion(dst);
  Region* ra = LookupRegion(a);
  if (!d || !ra || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  if (mode == RGN_COPY) {
    *d = *ra;
    return d->Type();
  }
  Region* rb = LookupRegion(b);
  if (!rb) return ERROR;
  *d = Region::Combine(*ra, *rb, mode);
  return d->Type();
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
  Region* r = LookupRegion(rgn);
  if (!r) return ERROR;
  r->Offset(dx, dy);
  return r->Type();
}

BOOL EqualRgn(HRGN a, HRGN b) {
  Region* ra = LookupRegion(a);
  Region* rb = LookupRegion(b);
  if (!ra || !rb) return ERROR;
  return *ra == *rb ? TRUE : FALSE;
}

int GetRgnBox(HRGN rgn, LPRECT out) {
  Region* r = LookupRegion(rgn);
  if (!r || !out) return ERROR;
  *out = r->Bounds();
  return r->Type();
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
  Region* r = LookupRegion(rgn);
  return r && r->Contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN rgn, const RECT* rect) {
  Region* r = LookupRegion(rgn);
  if (!r || !rect) return FALSE;
  return r->Intersects(Normal(rect->left, rect->top, rect->right, rect->bottom)) ? TRUE : FALSE;
}

// ---- Painting regions ------------------------------------------------------------

BOOL FillRgn(HDC h, HRGN rgn, HBRUSH brush) {
  DcRecord* dc = LookupDc(h);
  Region* r = LookupRegion(rgn);
  if (!dc || !r || !LookupBrush(brush)) return FALSE;
  Surface* s = DcSurface(*dc);
  if (!s) return TRUE;
  PaintRegion(*dc, ToSurface(*dc, *r), 0xF0, BrushInk(*dc, brush, SpaceOf(*s)));
  return TRUE;
}

BOOL PaintRgn(HDC h, HRGN rgn) {
  DcRecord* dc = LookupDc(h);
  Region* r = LookupRegion(rgn);
  if (!dc || !r) return FALSE;
  Surface* s = DcSurface(*dc);
  if (!s) return TRUE;
  PaintRegion(*dc, ToSurface(*dc, *r), DcRop3(*dc), BrushInk(*dc, dc->state.brush, SpaceOf(*s)));
  return TRUE;
}

BOOL InvertRgn(HDC h, HRGN rgn) {
  DcRecord* dc = LookupDc(h);
  Region* r = LookupRegion(rgn);
  if (!dc || !r) return FALSE;
  PaintRegion(*dc, ToSurface(*dc, *r), 0x55, Ink{});
  return TRUE;
}

BOOL FrameRgn(HDC h, HRGN rgn, HBRUSH brush, int width, int height) {
  DcRecord* dc = LookupDc(h);
  Region* r = LookupRegion(rgn);
  if (!dc || !r || !LookupBrush(brush) || width < 0 || height < 0) return FALSE;
  width = std::min(width, 256);
  height = std::min(height, 256);
  // The frame is what the region loses when moved `width` left and right
  // and `height` up and down: pixels that far from its edge in a straight
  // line. Row pieces shrink by `width` at both ends; rows stay where the
  // region reaches `height` rows above and below.
  std::vector<RECT> narrowed;
  for (const RECT& q : r->Rects()) {
    if (q.right - q.left > 2 * width) {
      narrowed.push_back(RECT{q.left + width, q.top, q.right - width, q.bottom});
    }
  }
  Region shrunk = Region::FromRects(narrowed);
  for (int dy = 1; dy <= height; ++dy) {
    Region up = *r, down = *r;
    up.Offset(0, -dy);
    down.Offset(0, dy);
    shrunk = shrunk.Intersect(up).Intersect(down);
  }
  Region frame = r->Subtract(shrunk);
  Surface* s = DcSurface(*dc);
  if (!s) return TRUE;
  PaintRegion(*dc, ToSurface(*dc, frame), 0xF0, BrushInk(*dc, brush, SpaceOf(*s)));
  return TRUE;
}

// ---- Clipping -----------------------------------------------------------------------

int ExtSelectClipRgn(HDC h, HRGN rgn, int mode) {
  DcRecord* dc = LookupDc(h);
  if (!dc || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  if (!rgn) {
    if (mode != RGN_COPY) return ERROR;
    dc->state.clip.reset();
    return ClipResult(*dc);
  }
  Region* r = LookupRegion(rgn);
  if (!r) return ERROR;
  if (mode == RGN_COPY) {
    dc->state.clip = *r;
  } else {
    dc->state.clip = Region::Combine(CurrentClipOrAll(*dc), *r, mode);
  }
  return ClipResult(*dc);
}

int SelectClipRgn(HDC dc, HRGN rgn) { return ExtSelectClipRgn(dc, rgn, RGN_COPY); }

int ExcludeClipRect(HDC h, int left, int top, int right, int bottom) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return ERROR;
  POINT a = LogicalToDevice(*dc, POINT{left, top});
  POINT b = LogicalToDevice(*dc, POINT{right, bottom});
  dc->state.clip = CurrentClipOrAll(*dc).Subtract(Region(Normal(a.x, a.y, b.x, b.y)));
  return ClipResult(*dc);
}

int IntersectClipRect(HDC h, int left, int top, int right, int bottom) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return ERROR;
  POINT a = LogicalToDevice(*dc, POINT{left, top});
  POINT b = LogicalToDevice(*dc, POINT{right, bottom});
  Region rect(Normal(a.x, a.y, b.x, b.y));
  dc->state.clip = dc->state.clip ? dc->state.clip->Intersect(rect) : rect;
  return ClipResult(*dc);
}

int OffsetClipRgn(HDC h, int dx, int dy) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return ERROR;
  if (dc->state.clip) dc->state.clip->Offset(dx, dy);
  return ClipResult(*dc);
}

int GetClipBox(HDC h, LPRECT out) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !out) return ERROR;
  const Region& clip = EffectiveClip(*dc);
  if (clip.IsEmpty()) {
    *out = RECT{0, 0, 0, 0};
    return NULLREGION;
  }
  RECT b = clip.Bounds();
  POINT a = DeviceToLogical(*dc, POINT{b.left - dc->origin.x, b.top - dc->origin.y});
  POINT c = DeviceToLogical(*dc, POINT{b.right - dc->origin.x, b.bottom - dc->origin.y});
  *out = RECT{a.x, a.y, c.x, c.y};
  return clip.Type();
}

int GetClipRgn(HDC h, HRGN out) {
  DcRecord* dc = LookupDc(h);
  Region* r = LookupRegion(out);
  if (!dc || !r) return -1;
  if (!dc->state.clip) return 0;
  *r = *dc->state.clip;
  return 1;
}

BOOL PtVisible(HDC h, int x, int y) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return -1;
  POINT p = LogicalToSurface(*dc, POINT{x, y});
  return EffectiveClip(*dc).Contains(p.x, p.y) ? TRUE : FALSE;
}

BOOL RectVisible(HDC h, const RECT* rect) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !rect) return FALSE;
  return EffectiveClip(*dc).Intersects(LogicalRectToSurface(*dc, *rect)) ? TRUE : FALSE;
}

UINT SetBoundsRect(HDC h, const RECT* rect, UINT flags) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return 0;
  UINT old = (dc->boundsSet ? DCB_SET : DCB_RESET) | (dc->boundsEnabled ? DCB_ENABLE : DCB_DISABLE);
  if (flags & DCB_RESET) {
    dc->boundsSet = false;
    dc->bounds = RECT{0, 0, 0, 0};
  }
  if ((flags & DCB_ACCUMULATE) && rect) {
    POINT a = LogicalToDevice(*dc, POINT{rect->left, rect->top});
    POINT b = LogicalToDevice(*dc, POINT{rect->right, rect->bottom});
    RECT d = Normal(a.x, a.y, b.x, b.y);
    if (d.left < d.right && d.top < d.bottom) {
      if (!dc->boundsSet) {
        dc->bounds = d;
        dc->boundsSet = true;
      } else {
        dc->bounds.left = std::min(dc->bounds.left, d.left);
        dc->bounds.top = std::min(dc->bounds.top, d.top);
        dc->bounds.right = std::max(dc->bounds.right, d.right);
        dc->bounds.bottom = std::max(dc->bounds.bottom, d.bottom);
      }
    }
  }
  if (flags & DCB_ENABLE) dc->boundsEnabled = true;
  if (flags & DCB_DISABLE) dc->boundsEnabled = false;
  return old;
}

UINT GetBoundsRect(HDC h, LPRECT out, UINT flags) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !out) return 0;
  UINT state = dc->boundsSet ? DCB_SET : DCB_RESET;
  if (dc->boundsSet) {
    POINT a = DeviceToLogical(*dc, POINT{dc->bounds.left, dc->bounds.top});
    POINT b = DeviceToLogical(*dc, POINT{dc->bounds.right, dc->bounds.bottom});
    *out = RECT{a.x, a.y, b.x, b.y};
  } else {
    *out = RECT{0, 0, 0, 0};
  }
  if (flags & DCB_RESET) {
    dc->boundsSet = false;
    dc->bounds = RECT{0, 0, 0, 0};
  }
  return state;
}
