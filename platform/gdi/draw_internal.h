// Shared pieces of the line and shape drawing.
#pragma once

#include <cstdint>
#include <vector>

#include "gdi/dc.h"
#include "gdi/raster_shapes.h"

namespace win::gdi {

struct PenInfo {
  bool visible = false;
  int width = 1;
  int style = PS_SOLID;
  DWORD endCap = PS_ENDCAP_ROUND;
  DWORD join = PS_JOIN_ROUND;
  bool insideFrame = false;
  COLORREF color = 0;
};

PenInfo PenOf(DcRecord& dc);

// The rows a shape on this DC needs to rasterise: the clip's rows with a
// margin (outlines look at neighbouring rows). Empty range when nothing can
// be drawn.
RowLimit ShapeRows(DcRecord& dc, int margin);

// One-pixel segment between surface points, last point left out. `dashPos`
// carries the dash pattern on from segment to segment.
void DrawThinSegment(DcRecord& dc, POINT a, POINT b, const PenInfo& pen, std::int64_t& dashPos);

// A path of logical points with the DC's pen (closed: back to the first).
void DrawPath(DcRecord& dc, const std::vector<POINT>& pts, bool closed);

}  // namespace win::gdi
