// Smooth scaling for the display: every pixel of the result against a
// plain, pixel-by-pixel statement of the two methods (a weighted blend of
// four source pixels through the display's scale table when a picture
// grows in either direction, the floored mean of each block when it shrinks
// in both), for 8- and 24-bit sources of assorted shapes.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "pages/picture/dither_table.h"
#include "pages/picture/scale_dib.h"
#include "pages/picture/support/picture_fixture.h"
#include "support/packed_dib.h"
#include "win/kernel.h"

namespace pages_test {
namespace {

using testing_support::CopyToBlock;
using testing_support::PackDib;

// A source picture: pixels 0xRRGGBB by memory row, colours through the
// table for 8 bits.
struct Source {
  int width, height, bits;
  std::vector<std::uint32_t> table;
  std::vector<std::uint32_t> values;  // an index (8 bits) or a colour (24)
  std::uint32_t Color(int x, int y) const {
    const std::uint32_t v = values[static_cast<size_t>(y) * width + x];
    if (bits == 24) return v;
    if (table.empty()) return 0;
    return table[v < table.size() ? v : table.size() - 1];
  }
};

Source MakeSource(int width, int height, int bits, int tableSize, std::uint32_t seed) {
  Source s{width, height, bits, {}, {}};
  std::mt19937 rng(seed);
  for (int i = 0; i < tableSize; ++i) s.table.push_back(rng() & 0xFFFFFF);
  // Few distinct colours, so that many blends meet four equal pixels.
  std::vector<std::uint32_t> inks;
  for (int i = 0; i < 6; ++i) inks.push_back(rng() & 0xFFFFFF);
  inks.push_back(0xFFFFFF);
  inks.push_back(0);
  for (int i = 0; i < width * height; ++i) {
    if (bits == 8) s.values.push_back(rng() % 256 < 200 ? rng() % 7 : rng() % 256);
    else s.values.push_back(rng() % 3 ? inks[rng() % inks.size()] : rng() & 0xFFFFFF);
  }
  return s;
}

std::uint32_t Channel(std::uint32_t c, int k) { return (c >> (8 * k)) & 0xFF; }

// The blend as the scaling describes it, one pixel at a time.
std::uint32_t ExpectedBlend(const Source& s, const CDitherTable& table, int dw, int dh, int x, int y) {
  const int sw = s.width, sh = s.height;
  auto offset = [](int i, int src, int dst, int c) {
    return static_cast<int>(std::int64_t(i) * src * 128 / dst - std::int64_t(c) * 128 - 64);
  };
  const int cx = static_cast<int>(std::int64_t(x) * sw / dw), fx = offset(x, sw, dw, cx);
  const int nx = fx >= 0 ? (cx + 1 < sw ? cx + 1 : sw - 1) : (cx > 0 ? cx - 1 : 0);
  const int cy = static_cast<int>(std::int64_t(y) * sh / dh), fy = offset(y, sh, dh, cy);
  int ny = cy;
  if (fy >= 0 && cy < sh - 1) ny = cy + 1;
  else if (fy < 0 && y >= 1 && cy >= 1) ny = cy - 1;
  const std::uint32_t p = s.Color(cx, cy), h = s.Color(nx, cy), v = s.Color(cx, ny), d = s.Color(nx, ny);
  if (p == h && p == v && p == d) return p;
  const int wx = fx < 0 ? -fx : fx, wy = fy < 0 ? -fy : fy;
  const int wd = table.Scale(wx, wy), wv = table.Scale(wy, 127 - wx), wh = table.Scale(wx, 127 - wy);
  const int w0 = 127 - wh - wv - wd;
  std::uint32_t out = 0;
  for (int k = 0; k < 3; ++k) {
    const int sum = table.Scale(w0, Channel(p, k)) + table.Scale(wh, Channel(h, k)) +
                    table.Scale(wv, Channel(v, k)) + table.Scale(wd, Channel(d, k));
    out |= std::uint32_t(sum & 0xFF) << (8 * k);
  }
  return out;
}

// The floored mean of the source pixels whose column and row land in the
// target's: source column i lands in floor(i * dw / sw).
std::uint32_t ExpectedMean(const Source& s, int dw, int dh, int x, int y) {
  std::uint64_t sums[3] = {}, count = 0;
  for (int j = 0; j < s.height; ++j) {
    if (std::int64_t(j) * dh / s.height != y) continue;
    for (int i = 0; i < s.width; ++i) {
      if (std::int64_t(i) * dw / s.width != x) continue;
      for (int k = 0; k < 3; ++k) sums[k] += Channel(s.Color(i, j), k);
      ++count;
    }
  }
  std::uint32_t out = 0;
  for (int k = 0; k < 3; ++k) out |= std::uint32_t(sums[k] / count) << (8 * k);
  return out;
}

class ScaleDibTest : public PictureTest {
 protected:
  // Scales the source to dw x dh and compares every pixel with the
  // description.
  void ExpectScaled(const Source& s, int dw, int dh, const std::string& what) {
    SCOPED_TRACE(what);
    const bool grows = dw >= s.width || dh >= s.height;
    const auto dib = PackDib(s.width, s.height, s.bits, s.table, false,
                             [&](int x, int y) { return s.values[static_cast<size_t>(y) * s.width + x]; });
    HGLOBAL source = CopyToBlock(dib);
    HGLOBAL scaled = ScaleDib(source, dw, dh);
    ASSERT_NE(scaled, nullptr);
    const auto* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(scaled));
    EXPECT_EQ(h->biWidth, dw);
    EXPECT_EQ(h->biHeight, dh);
    EXPECT_EQ(h->biBitCount, 24);
    const auto* rows = reinterpret_cast<const std::uint8_t*>(h + 1);
    const size_t rowBytes = testing_support::DibRowBytes(dw, 24);
    int wrong = 0;
    for (int y = 0; y < dh && wrong < 5; ++y)
      for (int x = 0; x < dw && wrong < 5; ++x) {
        const std::uint8_t* p = rows + rowBytes * y + 3 * x;
        const std::uint32_t got = p[0] | p[1] << 8 | p[2] << 16;
        const std::uint32_t want =
            grows ? ExpectedBlend(s, TheMainWindow(), dw, dh, x, y) : ExpectedMean(s, dw, dh, x, y);
        if (got != want) {
          ++wrong;
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << got << ", not " << want;
        }
      }
    // The bytes that pad each row are zeros, whatever the block held before.
    for (int y = 0; y < dh; ++y)
      for (size_t i = 3 * static_cast<size_t>(dw); i < rowBytes; ++i)
        EXPECT_EQ(rows[rowBytes * y + i], 0) << "row " << y;
    GlobalUnlock(scaled);
    GlobalFree(scaled);
    GlobalFree(source);
  }
};

struct Shape {
  int sw, sh, dw, dh;
};

const Shape kShapes[] = {
    {3, 2, 7, 5},     // grows both ways
    {1, 1, 3, 4},     // one pixel spread out
    {5, 4, 11, 3},    // wider and lower: still a blend
    {6, 6, 6, 6},     // the same size
    {9, 7, 4, 3},     // shrinks both ways, blocks of two and three
    {8, 5, 1, 1},     // to one pixel: the mean of all
    {37, 23, 80, 50}, // uneven growth
    {64, 48, 21, 13}, // uneven blocks
};

TEST_F(ScaleDibTest, EveryPixelFollowsTheBlendOrTheMean) {
  TheMainWindow().BuildScaleTable();
  std::uint32_t seed = 1;
  for (int bits : {24, 8}) {
    for (const Shape& shape : kShapes) {
      // An 8-bit source with a short table: indexes past it take its last colour.
      const Source s = MakeSource(shape.sw, shape.sh, bits, bits == 8 ? 5 : 0, seed++);
      ExpectScaled(s, shape.dw, shape.dh,
                   std::to_string(bits) + "-bit " + std::to_string(shape.sw) + "x" + std::to_string(shape.sh) +
                       " to " + std::to_string(shape.dw) + "x" + std::to_string(shape.dh));
    }
  }
}

// The mean of equal pixels is their colour, exactly: the block sizes here
// are ones whose reciprocal, rounded, makes a plain quotient fall short by
// one (41 x 2 in single precision; 263 x 259, larger than the 65536 pixels
// up to which the sums take 32 bits, in double precision).
TEST_F(ScaleDibTest, FlatPicturesKeepTheirColour) {
  TheMainWindow().BuildScaleTable();
  const Shape shapes[] = {{41, 2, 1, 1}, {263, 259, 1, 1}, {3, 3, 8, 8}};
  for (const Shape& shape : shapes) {
    Source s{shape.sw, shape.sh, 24, {}, {}};
    s.values.assign(static_cast<size_t>(shape.sw) * shape.sh, 0xFF8001);
    ExpectScaled(s, shape.dw, shape.dh, std::to_string(shape.sw) + "x" + std::to_string(shape.sh));
  }
}

TEST_F(ScaleDibTest, AScaleTableNotYetBuiltIsReadAsItStands) {
  MainWindow display;  // its scale table all zeros
  SetMainWindow(&display);
  const Source s = MakeSource(5, 4, 24, 0, 99);
  ExpectScaled(s, 12, 9, "unbuilt table");
  SetMainWindow(nullptr);
}

}  // namespace
}  // namespace pages_test
