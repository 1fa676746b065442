#include "gdi/raster_shapes.h"

#include <algorithm>
#include <cmath>

#include "win/gdi.h"

namespace win::gdi {
namespace {

constexpr double kLimit = double(1 << 26);

struct Edge {
  double x0, y0, x1, y1;
  int dir;
};

std::int32_t FirstPixel(double x) {
  // Pixels whose centre lies at or right of x.
  double v = std::ceil(x - 0.5);
  return std::int32_t(std::clamp(v, -kLimit, kLimit));
}

}  // namespace

Region RasterPolygons(const std::vector<std::vector<PointD>>& polys, bool winding,
                      RowLimit limit) {
  std::vector<Edge> edges;
  double top = kLimit, bottom = -kLimit;
  for (const auto& poly : polys) {
    std::size_t n = poly.size();
    if (n < 2) continue;
    for (std::size_t i = 0; i < n; ++i) {
      PointD a = poly[i], b = poly[(i + 1) % n];
      a.x = std::clamp(a.x, -kLimit, kLimit);
      a.y = std::clamp(a.y, -kLimit, kLimit);
      b.x = std::clamp(b.x, -kLimit, kLimit);
      b.y = std::clamp(b.y, -kLimit, kLimit);
      if (a.y == b.y) continue;
      Edge e{a.x, a.y, b.x, b.y, 1};
      if (a.y > b.y) {
        e = Edge{b.x, b.y, a.x, a.y, -1};
      }
      edges.push_back(e);
      top = std::min(top, e.y0);
      bottom = std::max(bottom, e.y1);
    }
  }
  if (edges.empty()) return Region();
  std::int32_t y0 = std::max(FirstPixel(top), limit.yMin);
  std::int32_t y1 = std::min(FirstPixel(bottom), limit.yMax);
  if (y1 <= y0) return Region();
  if (y1 - y0 > ZEMRA_GDI_MAX_SIDE * 4) y1 = y0 + ZEMRA_GDI_MAX_SIDE * 4;  // runaway shapes
  std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
  RowSpanBuilder rows(y0);
  // The crossings and spans of one row, their room reused by every row.
  std::vector<std::int32_t> spans;
  struct Cross {
    double x;
    int dir;
  };
  std::vector<Cross> xs;
  // Edges sorted by top enter the active list as the scan line reaches them
  // and leave it when it passes their bottom.
  std::vector<const Edge*> active;
  std::size_t next = 0;
  for (std::int32_t y = y0; y < y1; ++y) {
    double cy = y + 0.5;
    xs.clear();
    while (next < edges.size() && edges[next].y0 <= cy) active.push_back(&edges[next++]);
    std::size_t keep = 0;
    for (const Edge* e : active) {
      if (cy >= e->y1) continue;  // passed: drop
      active[keep++] = e;
      double x = e->x0 + (cy - e->y0) * (e->x1 - e->x0) / (e->y1 - e->y0);
      xs.push_back(Cross{x, e->dir});
    }
    active.resize(keep);
    std::sort(xs.begin(), xs.end(), [](const Cross& a, const Cross& b) { return a.x < b.x; });
    spans.clear();
    int wind = 0;
    for (const Cross& c : xs) {
      bool before = winding ? wind != 0 : (wind & 1) != 0;
      wind += winding ? c.dir : 1;
      bool after = winding ? wind != 0 : (wind & 1) != 0;
      if (before != after) spans.push_back(FirstPixel(c.x));
    }
    rows.AddRow(spans.data(), spans.size());
  }
  return rows.Finish();
}

Region RasterRoundRect(double l, double t, double r, double b, double rx, double ry,
                       RowLimit limit) {
  if (r <= l || b <= t) return Region();
  rx = std::clamp(rx, 0.0, (r - l) / 2);
  ry = std::clamp(ry, 0.0, (b - t) / 2);
  std::int32_t y0 = std::max(FirstPixel(t), limit.yMin);
  std::int32_t y1 = std::min(FirstPixel(b), limit.yMax);
  if (y1 <= y0) return Region();
  if (y1 - y0 > ZEMRA_GDI_MAX_SIDE * 4) y1 = y0 + ZEMRA_GDI_MAX_SIDE * 4;
  RowSpanBuilder rows(y0);
  for (std::int32_t y = y0; y < y1; ++y) {
    double cy = y + 0.5;
    double inset = 0;
    if (ry > 0 && rx > 0) {
      double d = 0;
      if (cy < t + ry) d = (t + ry - cy) / ry;
      else if (cy > b - ry) d = (cy - (b - ry)) / ry;
      if (d > 1) {
        rows.AddEmptyRow();
        continue;
      }
      inset = rx - rx * std::sqrt(std::max(0.0, 1 - d * d));
    }
    const std::int32_t span[2] = {FirstPixel(l + inset), FirstPixel(r - inset)};
    rows.AddRow(span, 2);
  }
  return rows.Finish();
}

Region RasterUnion(const std::vector<std::vector<PointD>>& polys, RowLimit limit) {
  Region out;
  for (const auto& p : polys) out = out.Union(RasterPolygons({p}, true, limit));
  return out;
}

Region OutlineOf(const Region& filled) {
  if (filled.IsEmpty()) return filled;
  // Inner pixels have all four neighbours inside.
  Region left = filled, right = filled, up = filled, down = filled;
  left.Offset(-1, 0);
  right.Offset(1, 0);
  up.Offset(0, -1);
  down.Offset(0, 1);
  Region inner = filled.Intersect(left).Intersect(right).Intersect(up).Intersect(down);
  return filled.Subtract(inner);
}

void AddDisc(std::vector<std::vector<PointD>>& polys, PointD c, double radius) {
  const int n = std::clamp(int(radius * 4), 8, 256);
  std::vector<PointD> p;
  p.reserve(std::size_t(n));
  for (int i = 0; i < n; ++i) {
    double a = 2 * M_PI * i / n;
    p.push_back(PointD{c.x + radius * std::cos(a), c.y + radius * std::sin(a)});
  }
  polys.push_back(std::move(p));
}

void AddWideSegment(std::vector<std::vector<PointD>>& polys, PointD a, PointD b, double width,
                    DWORD endCap) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double len = std::sqrt(dx * dx + dy * dy);
  double h = width / 2;
  if (len == 0) {
    if (endCap == PS_ENDCAP_ROUND) AddDisc(polys, a, h);
    else if (endCap == PS_ENDCAP_SQUARE) {
      polys.push_back({{a.x - h, a.y - h}, {a.x + h, a.y - h}, {a.x + h, a.y + h}, {a.x - h, a.y + h}});
    }
    return;
  }
  double ux = dx / len, uy = dy / len;
  double nx = -uy * h, ny = ux * h;
  PointD s = a, e = b;
  if (endCap == PS_ENDCAP_SQUARE) {
    s = PointD{a.x - ux * h, a.y - uy * h};
    e = PointD{b.x + ux * h, b.y + uy * h};
  }
  polys.push_back({{s.x + nx, s.y + ny}, {e.x + nx, e.y + ny}, {e.x - nx, e.y - ny}, {s.x - nx, s.y - ny}});
  if (endCap == PS_ENDCAP_ROUND) {
    AddDisc(polys, a, h);
    AddDisc(polys, b, h);
  }
}

}  // namespace win::gdi
