// Rasterising shapes into row spans (surface coordinates): polygons with
// the even-odd or winding rule, ellipses and rounded rectangles, and wide
// lines. A pixel belongs to a shape when its centre (x + 0.5, y + 0.5) is
// inside; edges exactly through a centre count on the left and top side.
#pragma once

#include <cstdint>
#include <vector>

#include "gdi/region.h"
#include "win/types.h"

namespace win::gdi {

struct PointD {
  double x;
  double y;
};

// Rows outside [yMin, yMax) are left out: callers pass their clip's rows
// (with a margin), so a huge shape costs only what can be seen.
struct RowLimit {
  std::int32_t yMin = -(1 << 27);
  std::int32_t yMax = 1 << 27;
};

// Polygons (each closed; several polygons fill together).
Region RasterPolygons(const std::vector<std::vector<PointD>>& polys, bool winding,
                      RowLimit limit = {});

// The union of polygons each filled on its own (wide-line pieces).
Region RasterUnion(const std::vector<std::vector<PointD>>& polys, RowLimit limit = {});

// The rounded rectangle inside the box [l, r) x [t, b) whose corners are
// quarter ellipses of radii rx, ry (rx = (r - l) / 2 and ry = (b - t) / 2 give
// the ellipse).
Region RasterRoundRect(double l, double t, double r, double b, double rx, double ry,
                       RowLimit limit = {});

// The ring of pixels of a filled region's rows that touch the outside
// (a one-pixel outline of a convex shape).
Region OutlineOf(const Region& filled);

// A wide line from a to b (pixel-centre coordinates), `width` pixels wide,
// with its end caps (PS_ENDCAP_*). Round caps are discs of the width.
void AddWideSegment(std::vector<std::vector<PointD>>& polys, PointD a, PointD b, double width,
                    DWORD endCap);
void AddDisc(std::vector<std::vector<PointD>>& polys, PointD c, double radius);

}  // namespace win::gdi
