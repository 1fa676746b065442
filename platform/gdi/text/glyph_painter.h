// Puts glyphs, text lines (underline, strike-out) and background cells of one
// font on a DC's surface, in surface coordinates, clipped by the DC and by an
// optional rectangle (ExtTextOut's ETO_CLIPPED, DrawText's rectangle).
#pragma once

#include <cstdint>
#include <optional>

#include "gdi/dc.h"
#include "gdi/fonts/real_font.h"
#include "gdi/text_engine.h"

namespace win::gdi::text {

class GlyphPainter {
 public:
  GlyphPainter(DcRecord& dc, fonts::RealFont& font, COLORREF color, std::optional<RECT> clip)
      : dc_(dc), font_(font), color_(color), clip_(clip), ink_(dc, color, font.antialiased()) {}

  // The glyph of `ch` with its pen position at (penX, baseline).
  void Glyph(char32_t ch, int penX, int baseline);
  // A line from x0 to x1 at the font's offset below (or above) the baseline.
  void Line(int x0, int x1, int baseline, const fonts::TextLine& line);
  // A filled rectangle in another colour (background cells).
  void Fill(RECT r, COLORREF color);

 private:
  bool Clip(RECT& r) const;  // false when nothing is left

  DcRecord& dc_;
  fonts::RealFont& font_;
  COLORREF color_;
  std::optional<RECT> clip_;
  CoverageInk ink_;
};

}  // namespace win::gdi::text
