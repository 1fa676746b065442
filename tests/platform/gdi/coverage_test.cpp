// Glyph coverage blended onto true-colour pixels: every coverage level,
// glyph widths that fill whole groups of pixels and ones that leave a few,
// at the surface's right edge and through a clip of two rectangles, against
// the rounding the blend is defined by.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gdi/text_engine.h"
#include "gdi_test_util.h"

using gdi_test::Canvas;
using gdi_test::ExpectPicture;

namespace {

class GdiCoverage : public gdi_test::GdiTest {};

COLORREF Ground(int x, int y) { return RGB(x * 23 + y * 7, 200 - x * 3, (x * y) * 13); }

// Each channel: (ink * a + ground * (255 - a) + 127) / 255, rounded down.
COLORREF Blended(COLORREF ink, COLORREF ground, unsigned a) {
  auto ch = [&](int shift) {
    const unsigned s = (ink >> shift) & 0xFF, d = (ground >> shift) & 0xFF;
    return ((s * a + d * (255 - a) + 127) / 255) << shift;
  };
  return ch(0) | ch(8) | ch(16);
}

TEST_F(GdiCoverage, EveryLevelBlendsWithTheSameRounding) {
  constexpr int kW = 23, kH = 12;
  struct Case {
    const char* name;
    int x, y, w, h;
    bool clipped;  // through a clip of two rectangles
  } cases[] = {
      {"whole groups", 1, 1, 8, 10, false},
      {"a few over", 2, 0, 7, 12, false},
      {"one column", 5, 3, 1, 6, false},
      {"at the right edge", kW - 6, 2, 6, 9, false},
      {"past the right edge", kW - 3, 2, 6, 9, false},
      {"clipped", 0, 0, 13, 12, true},
  };
  const COLORREF ink = RGB(250, 3, 130);
  for (const Case& c : cases) {
    Canvas canvas(kW, kH);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) SetPixel(canvas.dc(), x, y, Ground(x, y));
    // Coverage runs through every level, with zeros and 255s between.
    std::vector<std::uint8_t> coverage(std::size_t(c.w) * c.h);
    for (std::size_t i = 0; i < coverage.size(); ++i)
      coverage[i] = i % 5 == 0 ? 0 : i % 7 == 0 ? 255 : std::uint8_t(i * 37);
    HRGN clip = CreateRectRgn(0, 0, 5, kH);
    HRGN right = CreateRectRgn(7, 3, 11, 9);
    CombineRgn(clip, clip, right, RGN_OR);
    if (c.clipped) SelectClipRgn(canvas.dc(), clip);
    win::gdi::DrawCoverage(*win::gdi::LookupDc(canvas.dc()), c.x, c.y, c.w, c.h, coverage.data(), c.w, ink,
                           true);
    SelectClipRgn(canvas.dc(), nullptr);
    DeleteObject(clip);
    DeleteObject(right);
    ExpectPicture(canvas.surface(), [&](int x, int y) {
      const bool inGlyph = x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h;
      const bool inClip = !c.clipped || x < 5 || (x >= 7 && x < 11 && y >= 3 && y < 9);
      if (!inGlyph || !inClip) return Ground(x, y);
      return Blended(ink, Ground(x, y), coverage[std::size_t(y - c.y) * c.w + (x - c.x)]);
    }, c.name);
    EXPECT_EQ(canvas.surface().At(kW - 1, kH - 1) >> 24, 0u) << c.name;
  }
}

}  // namespace
