// Nearest-neighbour scaling of 24-bit and 8-bit DIBs.
#include "core/dib_stretch.h"

#include <functional>

#include "core/empty_dib.h"
#include "dib_fixture.h"

namespace {

using pictures_testing::Owned;
using pictures_testing::PictureTest;
using pictures_testing::TestDib;

class DibStretch : public PictureTest {};

// 2x2 picture, pixel (x, y) of colour (10 * x + y + 1, 2, 3).
std::vector<BYTE> Quad24() {
  std::vector<BYTE> px;
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) px.insert(px.end(), {3, 2, static_cast<BYTE>(10 * x + y + 1)});
  return px;
}

TEST_F(DibStretch, TwoByTwoToFourByFourDoublesEachPixel) {
  TestDib src(24, 2, 2, Quad24());
  Owned out(StretchDib24(src.get(), 4, 4));
  ASSERT_TRUE(out);
  EXPECT_EQ(out.Header().biWidth, 4);
  EXPECT_EQ(out.Header().biHeight, 4);
  EXPECT_EQ(out.Header().biBitCount, 24);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(out.Pixel(x, y),
                (std::vector<BYTE>{3, 2, static_cast<BYTE>(10 * (x / 2) + y / 2 + 1)}))
          << x << "," << y;
}

TEST_F(DibStretch, SourceColumnsAndRowsByFloor) {
  // 5x3 source, pixel value 10 * x + y, to sizes up and down.
  std::vector<BYTE> px;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) px.push_back(static_cast<BYTE>(10 * x + y));
  TestDib src(8, 5, 3, px, std::vector<RGBQUAD>(50, RGBQUAD{0, 0, 0, 0}));
  struct Case {
    int width, height;
  };
  for (const Case c : {Case{2, 2}, Case{1, 1}, Case{7, 5}, Case{3, 7}, Case{5, 3}}) {
    Owned out(StretchDib8(src.get(), c.width, c.height));
    ASSERT_TRUE(out);
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x)
        ASSERT_EQ(out.Pixel(x, y)[0], 10 * (x * 5 / c.width) + y * 3 / c.height)
            << c.width << "x" << c.height << " at " << x << "," << y;
  }
}

TEST_F(DibStretch, EightBitCopiesTheColourTable) {
  const std::vector<RGBQUAD> table = {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}};
  TestDib src(8, 2, 2, {0, 1, 2, 1}, table);
  Owned out(StretchDib8(src.get(), 3, 1));
  ASSERT_TRUE(out);
  const std::vector<RGBQUAD> colors = out.Colors();
  ASSERT_GE(colors.size(), table.size());
  for (size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(colors[i].rgbBlue, table[i].rgbBlue) << i;
    EXPECT_EQ(colors[i].rgbRed, table[i].rgbRed) << i;
  }
  EXPECT_EQ(out.Pixel(0, 0)[0], 0);
  EXPECT_EQ(out.Pixel(1, 0)[0], 0);
  EXPECT_EQ(out.Pixel(2, 0)[0], 1);
}

TEST_F(DibStretch, BadSourcesAndSizesAreRefused) {
  const std::vector<std::function<void(BITMAPINFOHEADER&)>> spoils = {
      [](BITMAPINFOHEADER& h) { h.biSize = 12; },
      [](BITMAPINFOHEADER& h) { h.biBitCount = 1; },
      [](BITMAPINFOHEADER& h) { h.biCompression = BI_RLE4; },
      [](BITMAPINFOHEADER& h) { h.biWidth = -2; },
      [](BITMAPINFOHEADER& h) { h.biHeight = 1000; },
      [](BITMAPINFOHEADER& h) { h.biClrUsed = 0x40000000; },
  };
  for (size_t i = 0; i < spoils.size(); ++i) {
    TestDib rgb(24, 2, 2, Quad24());
    rgb.Spoil(spoils[i]);
    EXPECT_EQ(StretchDib24(rgb.get(), 4, 4), nullptr) << i;
    TestDib indexed(8, 2, 2, {0, 0, 0, 0}, {{0, 0, 0, 0}});
    indexed.Spoil(spoils[i]);
    EXPECT_EQ(StretchDib8(indexed.get(), 4, 4), nullptr) << i;
  }
  TestDib rgb(24, 2, 2, Quad24());
  for (int size : {0, -1, kMaxDibDimension + 1}) {
    EXPECT_EQ(StretchDib24(rgb.get(), size, 2), nullptr) << size;
    EXPECT_EQ(StretchDib24(rgb.get(), 2, size), nullptr) << size;
  }
  EXPECT_EQ(StretchDib8(rgb.get(), 2, 2), nullptr);  // not 8 bits
  EXPECT_EQ(StretchDib24(nullptr, 2, 2), nullptr);
  EXPECT_TRUE(win::MessageBoxLog().empty());
}

}  // namespace
