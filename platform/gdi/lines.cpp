// Lines: MoveToEx, LineTo, Polyline, PolylineTo. One-pixel lines leave out
// their last point; their pixels follow the ideal line, rounding a tie to
// the smaller coordinate (so a line and its reverse light the same pixels
// apart from the ends). Wide pens draw polygons with their caps and joins.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "gdi/draw_internal.h"
#include "gdi/paint.h"
#include "gdi/raster_shapes.h"
#include "win/gdi.h"

using namespace win::gdi;

namespace win::gdi {
namespace {

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {  // b > 0
  return a >= 0 ? (a + b - 1) / b : -((-a) / b);
}

// Offset along the minor axis of step i: i * d / n rounded, ties down.
std::int64_t Minor(std::int64_t i, std::int64_t d, std::int64_t n) {
  return CeilDiv(2 * i * d - n, 2 * n);
}

// Dash patterns of one-pixel pens: lengths of on and off runs.
struct Dash {
  const int* runs;
  int count;
};

Dash DashOf(int style) {
  static const int kDash[] = {18, 6};
  static const int kDot[] = {3, 3};
  static const int kDashDot[] = {9, 6, 3, 6};
  static const int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
  switch (style) {
    case PS_DASH: return Dash{kDash, 2};
    case PS_DOT: return Dash{kDot, 2};
    case PS_DASHDOT: return Dash{kDashDot, 4};
    case PS_DASHDOTDOT: return Dash{kDashDotDot, 6};
    default: return Dash{nullptr, 0};
  }
}

bool DashOn(const Dash& d, std::int64_t pos) {
  int total = 0;
  for (int i = 0; i < d.count; ++i) total += d.runs[i];
  int p = int(pos % total);
  for (int i = 0; i < d.count; ++i) {
    if (p < d.runs[i]) return (i % 2) == 0;
    p -= d.runs[i];
  }
  return true;
}

}  // namespace

RowLimit ShapeRows(DcRecord& dc, int margin) {
  const Region& clip = EffectiveClip(dc);
  if (clip.IsEmpty()) return RowLimit{0, 0};
  RECT b = clip.Bounds();
  return RowLimit{b.top - margin, b.bottom + margin};
}

PenInfo PenOf(DcRecord& dc) {
  PenInfo p;
  PenObj* pen = LookupPen(dc.state.pen);
  if (!pen || pen->style == PS_NULL) return p;
  p.visible = true;
  p.width = std::max(1, pen->width);
  p.style = p.width > 1 ? PS_SOLID : pen->style;  // wide pens are solid
  p.endCap = pen->geometric ? pen->endCap : PS_ENDCAP_ROUND;
  p.join = pen->geometric ? pen->join : PS_JOIN_ROUND;
  p.insideFrame = pen->style == PS_INSIDEFRAME;
  p.color = pen->color;
  return p;
}

void DrawThinSegment(DcRecord& dc, POINT a, POINT b, const PenInfo& pen, std::int64_t& dashPos) {
  Surface* s = DcSurface(dc);
  if (!s) return;
  const Region& clip = EffectiveClip(dc);
  if (clip.IsEmpty()) return;
  RECT box = clip.Bounds();
  DeviceSpace space = SpaceOf(*s);
  std::uint8_t rop = DcRop3(dc);
  Ink fg = SolidInk(ColorValue(dc, pen.color, space));
  Ink bg = SolidInk(ColorValue(dc, dc.state.bkColor, space));
  Dash dash = DashOf(pen.style);
  bool opaqueGaps = dc.state.bkMode == OPAQUE;

  std::int64_t dx = std::int64_t(b.x) - a.x, dy = std::int64_t(b.y) - a.y;
  bool xMajor = std::llabs(dx) >= std::llabs(dy);
  std::int64_t n = xMajor ? std::llabs(dx) : std::llabs(dy);
  if (n == 0) return;
  std::int64_t step = (xMajor ? dx : dy) > 0 ? 1 : -1;
  std::int64_t major0 = xMajor ? a.x : a.y;
  std::int64_t lo = xMajor ? box.left : box.top;
  std::int64_t hi = xMajor ? box.right : box.bottom;  // exclusive
  // The steps whose major coordinate lies inside the clip box.
  std::int64_t i0, i1;
  if (step > 0) {
    i0 = std::max<std::int64_t>(0, lo - major0);
    i1 = std::min<std::int64_t>(n, hi - major0);
  } else {
    i0 = std::max<std::int64_t>(0, major0 - (hi - 1));
    i1 = std::min<std::int64_t>(n, major0 - lo + 1);
  }
  RECT drawn{box.right, box.bottom, box.left, box.top};
  for (std::int64_t i = i0; i < i1; ++i) {
    std::int64_t mj = major0 + i * step;
    std::int64_t mn = (xMajor ? a.y : a.x) + Minor(i, xMajor ? dy : dx, n);
    std::int64_t x = xMajor ? mj : mn, y = xMajor ? mn : mj;
    bool on = dash.count == 0 || DashOn(dash, dashPos + i);
    if (!on && !opaqueGaps) continue;
    if (y < box.top || y >= box.bottom || x < box.left || x >= box.right) continue;
    if (!clip.Contains(int(x), int(y))) continue;
    PaintSpan(*s, space, int(y), int(x), int(x) + 1, rop, nullptr, on ? &fg : &bg);
    drawn.left = std::min<LONG>(drawn.left, LONG(x));
    drawn.top = std::min<LONG>(drawn.top, LONG(y));
    drawn.right = std::max<LONG>(drawn.right, LONG(x + 1));
    drawn.bottom = std::max<LONG>(drawn.bottom, LONG(y + 1));
  }
  dashPos += n;
  NoteDrawn(dc, drawn);
}

void DrawPath(DcRecord& dc, const std::vector<POINT>& pts, bool closed) {
  PenInfo pen = PenOf(dc);
  if (!pen.visible || pts.size() < 2) return;
  std::vector<POINT> sp;
  sp.reserve(pts.size() + 1);
  for (const POINT& p : pts) sp.push_back(LogicalToSurface(dc, p));
  if (closed) sp.push_back(sp.front());
  if (pen.width <= 1) {
    std::int64_t dashPos = 0;
    for (std::size_t i = 0; i + 1 < sp.size(); ++i) DrawThinSegment(dc, sp[i], sp[i + 1], pen, dashPos);
    return;
  }
  std::vector<std::vector<PointD>> polys;
  auto centre = [](POINT p) { return PointD{p.x + 0.5, p.y + 0.5}; };
  // The pieces, without caps; then the caps at the two ends of an open path.
  for (std::size_t i = 0; i + 1 < sp.size(); ++i) {
    AddWideSegment(polys, centre(sp[i]), centre(sp[i + 1]), pen.width, PS_ENDCAP_FLAT);
  }
  if (!closed) {
    auto cap = [&](POINT end, POINT from) {
      PointD e = centre(end);
      if (pen.endCap == PS_ENDCAP_ROUND) {
        AddDisc(polys, e, pen.width / 2.0);
      } else if (pen.endCap == PS_ENDCAP_SQUARE) {
        double dx = double(end.x) - from.x, dy = double(end.y) - from.y;
        double len = std::sqrt(dx * dx + dy * dy);
        if (len == 0) return;
        double h = pen.width / 2.0;
        AddWideSegment(polys, e, PointD{e.x + dx / len * h, e.y + dy / len * h}, pen.width,
                       PS_ENDCAP_FLAT);
      }
    };
    if (sp.front().x == sp.back().x && sp.front().y == sp.back().y && sp.size() == 2) {
      if (pen.endCap != PS_ENDCAP_FLAT) AddWideSegment(polys, centre(sp[0]), centre(sp[0]), pen.width, pen.endCap);
    } else {
      cap(sp.front(), sp[1]);
      cap(sp.back(), sp[sp.size() - 2]);
    }
  }
  // Joins.
  std::size_t joints = closed ? sp.size() - 1 : sp.size() - 2;
  for (std::size_t k = 0; k < joints; ++k) {
    std::size_t v = closed ? k : k + 1;
    PointD c = centre(sp[v]);
    if (pen.join == PS_JOIN_ROUND) {
      AddDisc(polys, c, pen.width / 2.0);
    } else {
      // Bevel (mitres are drawn as bevels): the triangles between the two
      // segments' outer corners.
      POINT prev = sp[v == 0 ? sp.size() - 2 : v - 1];
      POINT next = sp[v + 1 < sp.size() ? v + 1 : 1];
      auto normal = [&](POINT p, POINT q) {
        double dx = q.x - p.x, dy = q.y - p.y;
        double len = std::sqrt(dx * dx + dy * dy);
        if (len == 0) return PointD{0, 0};
        return PointD{-dy / len * pen.width / 2, dx / len * pen.width / 2};
      };
      PointD n1 = normal(prev, sp[v]), n2 = normal(sp[v], next);
      polys.push_back({c, {c.x + n1.x, c.y + n1.y}, {c.x + n2.x, c.y + n2.y}});
      polys.push_back({c, {c.x - n1.x, c.y - n1.y}, {c.x - n2.x, c.y - n2.y}});
    }
  }
  Surface* s = DcSurface(dc);
  if (!s) return;
  PaintRegion(dc, RasterUnion(polys, ShapeRows(dc, 1)), DcRop3(dc),
              SolidInk(ColorValue(dc, pen.color, SpaceOf(*s))));
}

}  // namespace win::gdi

BOOL MoveToEx(HDC h, int x, int y, LPPOINT old) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return FALSE;
  if (old) *old = dc->state.position;
  dc->state.position = POINT{x, y};
  return TRUE;
}

BOOL GetCurrentPositionEx(HDC h, LPPOINT out) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !out) return FALSE;
  *out = dc->state.position;
  return TRUE;
}

BOOL LineTo(HDC h, int x, int y) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return FALSE;
  DrawPath(*dc, {dc->state.position, POINT{x, y}}, false);
  dc->state.position = POINT{x, y};
  return TRUE;
}

BOOL Polyline(HDC h, const POINT* pts, int count) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !pts || count < 2 || count > 1000000) return FALSE;
  DrawPath(*dc, std::vector<POINT>(pts, pts + count), false);
  return TRUE;
}

BOOL PolylineTo(HDC h, const POINT* pts, DWORD count) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !pts || count < 1 || count > 1000000) return FALSE;
  std::vector<POINT> path;
  path.reserve(count + 1);
  path.push_back(dc->state.position);
  path.insert(path.end(), pts, pts + count);
  DrawPath(*dc, path, false);
  dc->state.position = pts[count - 1];
  return TRUE;
}
