// Filled shapes and rectangle painting: Rectangle, Ellipse, RoundRect,
// Polygon, FillRect, FrameRect, InvertRect, PatBlt, pixels, focus
// rectangles and edges.
#include <algorithm>

#include "gdi/dc_internal.h"
#include "gdi/draw_internal.h"
#include "gdi/paint.h"
#include "gdi/raster_shapes.h"
#include "win/gdi.h"

using namespace win::gdi;

namespace {

RECT Normal(RECT r) {
  return RECT{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
              std::max(r.top, r.bottom)};
}

// FillRect and friends also take a system colour index + 1 as the brush.
HBRUSH RealBrush(HBRUSH b) {
  auto v = reinterpret_cast<std::uintptr_t>(b);
  if (v >= 1 && v <= COLOR_INFOBK + 1) return GetSysColorBrush(int(v) - 1);
  return b;
}

void PaintWithBrush(DcRecord& dc, const Region& area, HBRUSH brush, std::uint8_t rop) {
  Surface* s = DcSurface(dc);
  if (!s) return;
  PaintRegion(dc, area, rop, BrushInk(dc, brush, SpaceOf(*s)));
}

void PaintWithPen(DcRecord& dc, const Region& area, const PenInfo& pen) {
  Surface* s = DcSurface(dc);
  if (!s) return;
  PaintRegion(dc, area, DcRop3(dc), SolidInk(ColorValue(dc, pen.color, SpaceOf(*s))));
}

// A box shape (rectangle, ellipse, rounded rectangle) with the DC's pen and
// brush. `rx`, `ry` < 0 mean the ellipse of the box.
void DrawBoxShape(DcRecord& dc, RECT logical, double rx, double ry, bool square) {
  RECT b = LogicalRectToSurface(dc, logical);
  PenInfo pen = PenOf(dc);
  RowLimit rows = ShapeRows(dc, 2);
  if (rows.yMin >= rows.yMax) return;
  auto shape = [&](double l, double t, double r, double bt) {
    if (square) return Region(RECT{LONG(l), LONG(t), LONG(r), LONG(bt)});
    double ex = rx < 0 ? (r - l) / 2 : rx, ey = ry < 0 ? (bt - t) / 2 : ry;
    return RasterRoundRect(l, t, r, bt, ex, ey, rows);
  };
  if (!pen.visible) {
    // Without a pen the filled area is one pixel smaller on the right and bottom.
    PaintWithBrush(dc, shape(b.left, b.top, b.right - 1, b.bottom - 1), dc.state.brush,
                   DcRop3(dc));
    return;
  }
  if (pen.width <= 1 && pen.style != PS_SOLID && pen.style != PS_INSIDEFRAME && square) {
    Region inner(RECT{b.left + 1, b.top + 1, b.right - 1, b.bottom - 1});
    PaintWithBrush(dc, inner, dc.state.brush, DcRop3(dc));
    POINT l = DeviceToLogical(dc, POINT{b.left - dc.origin.x, b.top - dc.origin.y});
    LONG w = b.right - b.left - 1, h = b.bottom - b.top - 1;
    DrawPath(dc, {l, {l.x + w, l.y}, {l.x + w, l.y + h}, {l.x, l.y + h}}, true);
    return;
  }
  if (pen.width <= 1) {
    Region filled = shape(b.left, b.top, b.right, b.bottom);
    Region outline = square ? filled.Subtract(Region(RECT{b.left + 1, b.top + 1, b.right - 1,
                                                          b.bottom - 1}))
                            : OutlineOf(filled);
    PaintWithBrush(dc, filled.Subtract(outline), dc.state.brush, DcRop3(dc));
    PaintWithPen(dc, outline, pen);
    return;
  }
  // A wide pen is centred on the outline (inside the box for PS_INSIDEFRAME).
  int w = pen.width;
  int o = pen.insideFrame ? 0 : (w - 1) / 2;
  double ol = double(b.left) - o, ot = double(b.top) - o;
  double orr = pen.insideFrame ? b.right : double(b.right) - 1 - o + w;
  double ob = pen.insideFrame ? b.bottom : double(b.bottom) - 1 - o + w;
  Region outer = shape(ol, ot, orr, ob);
  double saveRx = rx, saveRy = ry;
  if (rx >= 0) rx = std::max(0.0, rx - w);
  if (ry >= 0) ry = std::max(0.0, ry - w);
  Region inner = shape(ol + w, ot + w, orr - w, ob - w);
  rx = saveRx;
  ry = saveRy;
  PaintWithBrush(dc, inner, dc.state.brush, DcRop3(dc));
  PaintWithPen(dc, outer.Subtract(inner), pen);
}

}  // namespace

BOOL Rectangle(HDC h, int left, int top, int right, int bottom) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return FALSE;
  DrawBoxShape(*dc, RECT{left, top, right, bottom}, 0, 0, true);
  return TRUE;
}

BOOL Ellipse(HDC h, int left, int top, int right, int bottom) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return FALSE;
  DrawBoxShape(*dc, RECT{left, top, right, bottom}, -1, -1, false);
  return TRUE;
}

BOOL RoundRect(HDC h, int left, int top, int right, int bottom, int width, int height) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return FALSE;
  DrawBoxShape(*dc, RECT{left, top, right, bottom}, std::abs(width) / 2.0,
               std::abs(height) / 2.0, false);
  return TRUE;
}

BOOL PolyPolygon(HDC h, const POINT* pts, const INT* counts, int polygons) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !pts || !counts || polygons < 1 || polygons > 100000) return FALSE;
  std::int64_t total = 0;
  for (int k = 0; k < polygons; ++k) {
    if (counts[k] < 2 || counts[k] > 1000000) return FALSE;
    total += counts[k];
  }
  if (total > 1000000) return FALSE;  // more points than any picture needs
  std::vector<std::vector<PointD>> polys;
  std::size_t at = 0;
  for (int k = 0; k < polygons; ++k) {
    std::vector<PointD> poly;
    for (int i = 0; i < counts[k]; ++i, ++at) {
      POINT p = LogicalToSurface(*dc, pts[at]);
      poly.push_back(PointD{double(p.x), double(p.y)});
    }
    polys.push_back(std::move(poly));
  }
  PaintWithBrush(*dc, RasterPolygons(polys, dc->state.polyFillMode == WINDING, ShapeRows(*dc, 1)),
                 dc->state.brush, DcRop3(*dc));
  at = 0;
  for (int k = 0; k < polygons; ++k) {
    DrawPath(*dc, std::vector<POINT>(pts + at, pts + at + counts[k]), true);
    at += std::size_t(counts[k]);
  }
  return TRUE;
}

BOOL Polygon(HDC h, const POINT* pts, int count) {
  INT counts[1] = {count};
  return PolyPolygon(h, pts, counts, 1);
}

int FillRect(HDC h, const RECT* rect, HBRUSH brush) {
  DcRecord* dc = LookupDc(h);
  brush = RealBrush(brush);
  if (!dc || !rect || !LookupBrush(brush)) return 0;
  if (rect->left >= rect->right || rect->top >= rect->bottom) return 1;
  PaintWithBrush(*dc, Region(LogicalRectToSurface(*dc, *rect)), brush, 0xF0);
  return 1;
}

int FrameRect(HDC h, const RECT* rect, HBRUSH brush) {
  DcRecord* dc = LookupDc(h);
  brush = RealBrush(brush);
  if (!dc || !rect || !LookupBrush(brush)) return 0;
  if (rect->left >= rect->right || rect->top >= rect->bottom) return 1;
  RECT r = LogicalRectToSurface(*dc, *rect);
  Region frame = Region(r).Subtract(Region(RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}));
  PaintWithBrush(*dc, frame, brush, 0xF0);
  return 1;
}

BOOL InvertRect(HDC h, const RECT* rect) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !rect) return FALSE;
  if (rect->left >= rect->right || rect->top >= rect->bottom) return TRUE;
  PaintRegion(*dc, Region(LogicalRectToSurface(*dc, *rect)), 0x55, Ink{});
  return TRUE;
}

BOOL PatBlt(HDC h, int x, int y, int width, int height, DWORD rop) {
  DcRecord* dc = LookupDc(h);
  std::uint8_t r = Rop3Index(rop);
  if (!dc || RopUsesSource(r)) return FALSE;
  RECT rect = Normal(RECT{x, y, LONG(std::int64_t(x) + width), LONG(std::int64_t(y) + height)});
  Surface* s = DcSurface(*dc);
  if (!s) return TRUE;
  Ink ink = BrushInk(*dc, dc->state.brush, SpaceOf(*s));
  if (RopUsesPattern(r) && ink.none()) return TRUE;
  PaintRegion(*dc, Region(LogicalRectToSurface(*dc, rect)), r, ink);
  return TRUE;
}

COLORREF SetPixel(HDC h, int x, int y, COLORREF color) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return CLR_INVALID;
  Surface* s = DcSurface(*dc);
  POINT p = LogicalToSurface(*dc, POINT{x, y});
  if (!s || !EffectiveClip(*dc).Contains(p.x, p.y)) return CLR_INVALID;
  DeviceSpace space = SpaceOf(*s);
  Ink ink = SolidInk(ColorValue(*dc, color, space));
  PaintSpan(*s, space, p.y, p.x, p.x + 1, 0xF0, nullptr, &ink);
  NoteDrawn(*dc, RECT{p.x, p.y, p.x + 1, p.y + 1});
  return PixelToRgb(s->At(p.x, p.y));
}

BOOL SetPixelV(HDC h, int x, int y, COLORREF color) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return FALSE;
  SetPixel(h, x, y, color);
  return TRUE;
}

COLORREF GetPixel(HDC h, int x, int y) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return CLR_INVALID;
  Surface* s = DcSurface(*dc);
  POINT p = LogicalToSurface(*dc, POINT{x, y});
  if (!s || !EffectiveClip(*dc).Contains(p.x, p.y)) return CLR_INVALID;
  return PixelToRgb(s->At(p.x, p.y));
}

BOOL DrawFocusRect(HDC h, const RECT* rect) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !rect) return FALSE;
  if (rect->left >= rect->right || rect->top >= rect->bottom) return TRUE;
  Surface* s = DcSurface(*dc);
  if (!s) return TRUE;
  RECT r = LogicalRectToSurface(*dc, *rect);
  Region frame = Region(r).Subtract(Region(RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}));
  // Every other pixel, exclusive-or: drawing it twice restores the picture.
  Ink dots;
  dots.type = Ink::Type::Hatch;
  dots.fg = SpaceOf(*s).mask;
  dots.bg = 0;
  for (int i = 0; i < 8; ++i) dots.hatch[i] = (i % 2) ? 0xAA : 0x55;
  dots.orgX = r.left;
  dots.orgY = r.top;
  PaintRegion(*dc, frame, 0x5A, dots);
  return TRUE;
}

BOOL DrawEdge(HDC h, LPRECT rect, UINT edge, UINT flags) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !rect) return FALSE;
  Surface* s = DcSurface(*dc);
  RECT r = *rect;
  // Colours of the outer and inner ring: top-left and bottom-right.
  struct Ring {
    UINT raised, sunken;
    int raisedTL, raisedBR, sunkenTL, sunkenBR;
  };
  const Ring rings[2] = {
      {BDR_RAISEDOUTER, BDR_SUNKENOUTER, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DSHADOW, COLOR_3DHILIGHT},
      {BDR_RAISEDINNER, BDR_SUNKENINNER, COLOR_3DHILIGHT, COLOR_3DSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT},
  };
  for (const Ring& ring : rings) {
    int tl = -1, br = -1;
    if (edge & ring.raised) {
      tl = ring.raisedTL;
      br = ring.raisedBR;
    } else if (edge & ring.sunken) {
      tl = ring.sunkenTL;
      br = ring.sunkenBR;
    }
    if (tl < 0) continue;
    if (flags & BF_MONO) tl = br = COLOR_WINDOWFRAME;
    else if (flags & BF_FLAT) tl = br = COLOR_3DSHADOW;
    if (s && r.left < r.right && r.top < r.bottom) {
      RECT sr = LogicalRectToSurface(*dc, r);
      std::vector<RECT> tlRects, brRects;
      if (flags & BF_TOP) tlRects.push_back(RECT{sr.left, sr.top, sr.right - 1, sr.top + 1});
      if (flags & BF_LEFT) tlRects.push_back(RECT{sr.left, sr.top, sr.left + 1, sr.bottom - 1});
      if (flags & BF_BOTTOM) brRects.push_back(RECT{sr.left, sr.bottom - 1, sr.right, sr.bottom});
      if (flags & BF_RIGHT) brRects.push_back(RECT{sr.right - 1, sr.top, sr.right, sr.bottom});
      PaintWithBrush(*dc, Region::FromRects(tlRects), GetSysColorBrush(tl), 0xF0);
      PaintWithBrush(*dc, Region::FromRects(brRects), GetSysColorBrush(br), 0xF0);
    }
    if (flags & BF_LEFT) ++r.left;
    if (flags & BF_TOP) ++r.top;
    if (flags & BF_RIGHT) --r.right;
    if (flags & BF_BOTTOM) --r.bottom;
  }
  if ((flags & BF_MIDDLE) && s && r.left < r.right && r.top < r.bottom) {
    PaintWithBrush(*dc, Region(LogicalRectToSurface(*dc, r)),
                   GetSysColorBrush((flags & BF_MONO) ? COLOR_WINDOW : COLOR_3DFACE), 0xF0);
  }
  if (flags & BF_ADJUST) *rect = r;
  return TRUE;
}
