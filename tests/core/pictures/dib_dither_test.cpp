// Ordered dithering to the halftone palette: pure colours land on their
// palette slots at every position, mixed values follow the threshold
// matrix, 8-bit sources go through their colour table, bad DIBs are refused.
#include "core/dib_dither.h"

#include <cstring>
#include <functional>

#include "dib_fixture.h"
#include "win/wing.h"

namespace {

using pictures_testing::Owned;
using pictures_testing::PictureTest;
using pictures_testing::TestDib;

class DibDither : public PictureTest {};

// A 24-bit DIB of one colour, 8 x 8 so that every threshold is met.
std::vector<BYTE> Uniform24(int width, int height, BYTE r, BYTE g, BYTE b) {
  std::vector<BYTE> px;
  for (int i = 0; i < width * height; ++i) px.insert(px.end(), {b, g, r});
  return px;
}

TEST_F(DibDither, PureColoursLandOnTheirSlots) {
  struct Case {
    BYTE r, g, b;
    BYTE index;
  };
  const Case cases[] = {
      {0, 0, 0, 0},       {255, 255, 255, 255}, {255, 0, 0, 249},   {0, 255, 0, 250},
      {255, 255, 0, 251}, {0, 0, 255, 252},     {255, 0, 255, 253}, {0, 255, 255, 254},
      {51, 0, 0, 29},     {102, 153, 204, 180},
  };
  for (const Case& c : cases) {
    TestDib src(24, 8, 8, Uniform24(8, 8, c.r, c.g, c.b));
    Owned out(DitherRgbToPalette(src.get()));
    ASSERT_TRUE(out);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        ASSERT_EQ(out.Pixel(x, y)[0], c.index)
            << int(c.r) << "," << int(c.g) << "," << int(c.b) << " at " << x << "," << y;
  }
}

TEST_F(DibDither, ResultIsAnEightBitPictureInTheHalftonePalette) {
  TestDib src(24, 3, 2, Uniform24(3, 2, 10, 20, 30));
  Owned out(DitherRgbToPalette(src.get()));
  ASSERT_TRUE(out);
  const BITMAPINFOHEADER h = out.Header();
  EXPECT_EQ(h.biWidth, 3);
  EXPECT_EQ(h.biHeight, 2);
  EXPECT_EQ(h.biBitCount, 8);
  const std::vector<RGBQUAD> colors = out.Colors();
  ASSERT_EQ(colors.size(), 256u);
  EXPECT_EQ(std::memcmp(colors.data(), win::HalftonePaletteColors(), 256 * sizeof(RGBQUAD)), 0);
}

TEST_F(DibDither, ThresholdsDecideTheLevel) {
  // 132 = 2 * 51 + 30: level 3 where the threshold is below 30, else 2.
  // Cube entry 3 is slot 31, entry 2 slot 30 (red only), and the same
  // value in green: entries 18 and 12, slots 45 and 39.
  struct Case {
    int x, y, threshold;
  };
  const Case cases[] = {{0, 0, 0},  {1, 0, 25}, {0, 1, 38}, {3, 3, 15}, {0, 7, 50},
                        {7, 7, 16}, {9, 8, 25}, {6, 1, 46}, {4, 4, 0},  {2, 5, 47}};
  TestDib red(24, 10, 9, Uniform24(10, 9, 132, 0, 0));
  TestDib green(24, 10, 9, Uniform24(10, 9, 0, 132, 0));
  Owned r(DitherRgbToPalette(red.get()));
  Owned g(DitherRgbToPalette(green.get()));
  ASSERT_TRUE(r);
  ASSERT_TRUE(g);
  for (const Case& c : cases) {
    EXPECT_EQ(HalftoneThreshold(c.x, c.y), c.threshold) << c.x << "," << c.y;
    const bool up = 30 > c.threshold;
    EXPECT_EQ(r.Pixel(c.x, c.y)[0], up ? 31 : 30) << c.x << "," << c.y;
    EXPECT_EQ(g.Pixel(c.x, c.y)[0], up ? 45 : 39) << c.x << "," << c.y;
  }
}

TEST_F(DibDither, IndexedSourceGoesThroughItsColourTable) {
  const std::vector<RGBQUAD> table = {
      {0, 0, 0, 0}, {255, 255, 255, 0}, {0, 0, 255, 0}, {0, 0, 132, 0}};
  // Row 0: black, white, red, 132-red; row 1: index 200 (beyond the table:
  // black), and the same again.
  TestDib src(8, 4, 2, {0, 1, 2, 3, 200, 1, 2, 3}, table);
  Owned out(DitherIndexedToPalette(src.get()));
  ASSERT_TRUE(out);
  EXPECT_EQ(out.Pixel(0, 0)[0], 0);
  EXPECT_EQ(out.Pixel(1, 0)[0], 255);
  EXPECT_EQ(out.Pixel(2, 0)[0], 249);
  EXPECT_EQ(out.Pixel(3, 0)[0], HalftoneIndex(132, 0, 0, 3, 0));
  EXPECT_EQ(out.Pixel(0, 1)[0], 0);
  EXPECT_EQ(out.Pixel(3, 1)[0], HalftoneIndex(132, 0, 0, 3, 1));
  EXPECT_EQ(out.Colors().size(), 256u);
}

TEST_F(DibDither, BadHeadersAreRefused) {
  struct Case {
    const char* what;
    std::function<void(BITMAPINFOHEADER&)> spoil;
  };
  const std::vector<Case> cases = {
      {"core header size", [](BITMAPINFOHEADER& h) { h.biSize = 12; }},
      {"larger header size", [](BITMAPINFOHEADER& h) { h.biSize = 108; }},
      {"bit count", [](BITMAPINFOHEADER& h) { h.biBitCount = 4; }},
      {"compression", [](BITMAPINFOHEADER& h) { h.biCompression = BI_RLE8; }},
      {"zero width", [](BITMAPINFOHEADER& h) { h.biWidth = 0; }},
      {"negative height", [](BITMAPINFOHEADER& h) { h.biHeight = -4; }},
      {"huge width", [](BITMAPINFOHEADER& h) { h.biWidth = 0x7fffffff; }},
      {"rows beyond the block", [](BITMAPINFOHEADER& h) { h.biHeight = 5; }},
      {"colour table beyond the block", [](BITMAPINFOHEADER& h) { h.biClrUsed = 200; }},
      {"colour table over 256", [](BITMAPINFOHEADER& h) { h.biClrUsed = 257; }},
  };
  for (const Case& c : cases) {
    TestDib rgb(24, 4, 4, Uniform24(4, 4, 1, 2, 3));
    rgb.Spoil(c.spoil);
    EXPECT_EQ(DitherRgbToPalette(rgb.get()), nullptr) << c.what;
    TestDib indexed(8, 4, 4, std::vector<BYTE>(16, 0), {{0, 0, 0, 0}, {1, 1, 1, 0}});
    indexed.Spoil(c.spoil);
    EXPECT_EQ(DitherIndexedToPalette(indexed.get()), nullptr) << c.what;
  }
  EXPECT_EQ(DitherRgbToPalette(nullptr), nullptr);
  TestDib indexed(8, 4, 4, std::vector<BYTE>(16, 0), {{0, 0, 0, 0}});
  EXPECT_EQ(DitherRgbToPalette(indexed.get()), nullptr);  // not 24 bits
  HGLOBAL tiny = GlobalAlloc(GHND, 20);
  EXPECT_EQ(DitherRgbToPalette(tiny), nullptr);
  GlobalFree(tiny);
  EXPECT_TRUE(win::MessageBoxLog().empty());
}

}  // namespace
