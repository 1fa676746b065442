// Painting pixels: the pattern operand ("ink") of brushes and pens, and the
// span painter that applies a raster operation to one row piece, honouring
// the surface's pixel format.
#pragma once

#include <cstdint>
#include <memory>

#include "gdi/color.h"
#include "gdi/dc.h"
#include "gdi/region.h"
#include "gdi/rop.h"

namespace win::gdi {

struct Ink {
  enum class Type : std::uint8_t { None, Solid, Hatch, Pattern };
  Type type = Type::None;
  std::uint32_t solid = 0;         // Solid: device value
  std::uint32_t fg = 0, bg = 0;    // Hatch lines / background; mono patterns 0 / 1 bits
  bool transparentBg = false;      // Hatch: background left alone (TRANSPARENT mode)
  std::uint8_t hatch[8] = {};      // Hatch rows, bit x = column x
  std::shared_ptr<Surface> pattern;
  bool monoPattern = false;
  DeviceSpace space;               // of the target (to convert colour patterns)
  int orgX = 0, orgY = 0;          // surface position of pattern pixel (0, 0)

  bool none() const { return type == Type::None; }
  bool needsMask() const { return type == Type::Hatch && transparentBg; }
  // out[i] = device value at (x0 + i, y); keep[i] = 0 where nothing is drawn.
  void Row(int y, int x0, int n, std::uint32_t* out, std::uint8_t* keep) const;
};

Ink SolidInk(std::uint32_t deviceValue);
// The ink of a brush on a DC (text and background colours for hatch
// backgrounds and monochrome patterns). None for a null brush or a bad handle.
Ink BrushInk(DcRecord& dc, HBRUSH brush, const DeviceSpace& space);
// A pen's colour as ink (solid).
std::uint32_t ColorValue(const DcRecord& dc, COLORREF color, const DeviceSpace& space);

// Applies `rop` on row y, columns [x0, x1) of the surface (no clipping; the
// caller clips). `src` holds x1 - x0 device values when the operation uses
// the source; `srcKeep` (optional) leaves pixels whose byte is 0 untouched.
void PaintSpan(Surface& s, const DeviceSpace& space, int y, int x0, int x1, std::uint8_t rop,
               const std::uint32_t* src, const Ink* ink, const std::uint8_t* srcKeep = nullptr);

// Paints `area` (surface coordinates) clipped by the DC; notes the damage.
void PaintRegion(DcRecord& dc, const Region& area, std::uint8_t rop, const Ink& ink);

// The ternary code of the DC's ROP2 (pens and PaintRgn).
inline std::uint8_t DcRop3(const DcRecord& dc) { return Rop2ToRop3(dc.state.rop2); }

}  // namespace win::gdi
