#include "core/dib_dither.h"

#include <cstring>

#include "core/dib_view.h"
#include "core/empty_dib.h"
#include "win/wing.h"

namespace {

// Indexed [x mod 8][y mod 8].
// clang-format off
constexpr BYTE kThreshold[8][8] = {
    { 0, 38,  9, 47,  2, 40, 11, 50},
    {25, 12, 35, 22, 27, 15, 37, 24},
    { 6, 44,  3, 41,  8, 47,  5, 43},
    {31, 19, 28, 15, 34, 21, 31, 18},
    { 1, 39, 11, 49,  0, 39, 10, 48},
    {27, 14, 36, 23, 26, 13, 35, 23},
    { 7, 46,  4, 43,  7, 45,  3, 42},
    {33, 20, 30, 17, 32, 19, 29, 16},
};
// clang-format on

int level(BYTE v, int threshold) { return v / 51 + (v % 51 > threshold ? 1 : 0); }

// The 8-bit result with the halftone palette as its colour table.
HGLOBAL makeResult(int width, int height) {
  HGLOBAL out = CreateEmptyDib(8, width, height);
  if (!out) return nullptr;
  DibWriter w(out);
  std::memcpy(w.colors(), win::HalftonePaletteColors(), win::kHalftoneColors * sizeof(RGBQUAD));
  return out;
}

}  // namespace

int HalftoneThreshold(int x, int y) { return kThreshold[x & 7][y & 7]; }

BYTE HalftoneIndex(BYTE red, BYTE green, BYTE blue, int x, int y) {
  const int t = HalftoneThreshold(x, y);
  const int cube = level(red, t) + 6 * level(green, t) + 36 * level(blue, t);
  return win::HalftoneCubeToPalette()[cube];
}

HGLOBAL DitherRgbToPalette(HGLOBAL dib) {
  DibView src(dib, 24);
  if (!src.ok()) return nullptr;
  HGLOBAL out = makeResult(src.width(), src.height());
  if (!out) return nullptr;
  DibWriter dst(out);
  for (int y = 0; y < src.height(); ++y) {
    const BYTE* in = src.row(y);
    BYTE* px = dst.row(y);
    for (int x = 0; x < src.width(); ++x, in += 3) px[x] = HalftoneIndex(in[2], in[1], in[0], x, y);
  }
  return out;
}

HGLOBAL DitherIndexedToPalette(HGLOBAL dib) {
  DibView src(dib, 8);
  if (!src.ok()) return nullptr;
  HGLOBAL out = makeResult(src.width(), src.height());
  if (!out) return nullptr;
  DibWriter dst(out);
  const RGBQUAD black{0, 0, 0, 0};
  for (int y = 0; y < src.height(); ++y) {
    const BYTE* in = src.row(y);
    BYTE* px = dst.row(y);
    for (int x = 0; x < src.width(); ++x) {
      const RGBQUAD& c = in[x] < src.colorCount() ? src.colors()[in[x]] : black;
      px[x] = HalftoneIndex(c.rgbRed, c.rgbGreen, c.rgbBlue, x, y);
    }
  }
  return out;
}
