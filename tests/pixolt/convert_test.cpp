// Bit-depth conversions: widening without loss, the error-diffusion dithers
// to 1 and 4 bits, the grey ramp, and what each refuses.
#include <string>
#include <vector>

#include "pixolt/support/pixolt_fixture.h"

namespace pixolt_test {
namespace {

class ConvertTest : public PixoltTest {
 protected:
  HGLOBAL Uniform(int w, int h, std::uint32_t rgb) {
    return Keep(MakeDib(w, h, 24, {}, [rgb](int, int) { return rgb; }));
  }
};

TEST_F(ConvertTest, OneToFourToEightToTwentyFour) {
  std::vector<Rgb> two = {{12, 34, 56}, {200, 150, 100}};
  HGLOBAL mono = Keep(MakeDib(9, 3, 1, two, [](int x, int y) { return std::uint32_t((x + y) % 3 == 0); }));
  std::string before = BlockBytes(mono);
  HGLOBAL four = Keep(DIB1To4(mono));
  ASSERT_NE(four, nullptr);
  BITMAPINFOHEADER h = HeaderOf(four);
  EXPECT_EQ(h.biBitCount, 4);
  EXPECT_EQ(h.biClrUsed, 16u);
  EXPECT_EQ(h.biClrImportant, 2u);
  EXPECT_EQ(h.biSizeImage, 8u * 3);  // 8 bytes per row for width 9
  std::vector<Rgb> table = TableOf(four);
  EXPECT_EQ(table[0], two[0]);
  EXPECT_EQ(table[1], two[1]);
  EXPECT_EQ(table[2], (Rgb{0, 0, 0}));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(PixelAt(four, x, y), PixelAt(mono, x, y));

  HGLOBAL eight = Keep(DIB4To8(four));
  ASSERT_NE(eight, nullptr);
  EXPECT_EQ(HeaderOf(eight).biClrUsed, 256u);
  EXPECT_EQ(HeaderOf(eight).biClrImportant, 16u);
  HGLOBAL rgb = Keep(DIB8To24(eight));
  ASSERT_NE(rgb, nullptr);
  EXPECT_EQ(HeaderOf(rgb).biClrUsed, 0u);
  Picture expected = Render(mono);
  for (HGLOBAL d : {four, eight, rgb, Keep(DIB1To8(mono)), Keep(DIB1To24(mono)), Keep(DIB4To24(four))}) {
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(FirstDifference(Render(d), expected), "");
  }
  EXPECT_EQ(BlockBytes(mono), before);
  EXPECT_TRUE(Messages().empty());
}

// Indices beyond the table give black, never what lies after the table.
TEST_F(ConvertTest, IndexBeyondTheTableIsBlack) {
  HGLOBAL dib = Keep(MakeDib(4, 1, 8, {{9, 9, 9}, {250, 1, 2}, {3, 4, 5}},
                             [](int x, int) { return std::uint32_t(x == 3 ? 200 : x); }));
  HGLOBAL rgb = Keep(DIB8To24(dib));
  ASSERT_NE(rgb, nullptr);
  EXPECT_EQ(PixelAt(rgb, 1, 0), 0xFA0102u);
  EXPECT_EQ(PixelAt(rgb, 3, 0), 0u);
}

TEST_F(ConvertTest, OneBitDither) {
  // The 2 x 2 grey of 128: the first pixel reaches 32768 exactly (white);
  // its error of -127 darkens the others.
  HGLOBAL grey = Uniform(2, 2, 0x808080);
  std::string before = BlockBytes(grey);
  HGLOBAL mono = Keep(DIB24To1(grey));
  ASSERT_NE(mono, nullptr);
  EXPECT_EQ(BlockBytes(grey), before);
  EXPECT_EQ(TableOf(mono), (std::vector<Rgb>{{0, 0, 0}, {255, 255, 255}}));
  EXPECT_EQ(HeaderOf(mono).biClrImportant, 2u);
  EXPECT_EQ(PixelAt(mono, 0, 0), 1u);
  EXPECT_EQ(PixelAt(mono, 1, 0), 0u);
  EXPECT_EQ(PixelAt(mono, 0, 1), 0u);
  EXPECT_EQ(PixelAt(mono, 1, 1), 1u);
  // Pure white and pure black carry no error.
  for (std::uint32_t color : {0xFFFFFFu, 0u}) {
    HGLOBAL flat = Keep(DIB24To1(Uniform(13, 5, color)));
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 13; ++x) EXPECT_EQ(PixelAt(flat, x, y), color ? 1u : 0u);
  }
  // A larger grey is a pattern, not a flat colour.
  HGLOBAL pattern = Keep(DIB24To1(Uniform(16, 16, 0x808080)));
  int white = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) white += static_cast<int>(PixelAt(pattern, x, y));
  EXPECT_GT(white, 64);
  EXPECT_LT(white, 192);
}

TEST_F(ConvertTest, SixteenColourDither) {
  const std::uint32_t fixed[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                   0x808000, 0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF,
                                   0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
  HGLOBAL exact = Keep(MakeDib(16, 3, 24, {}, [&](int x, int) { return fixed[x]; }));
  HGLOBAL four = Keep(DIB24To4(exact));
  ASSERT_NE(four, nullptr);
  EXPECT_EQ(HeaderOf(four).biClrUsed, 16u);
  EXPECT_EQ(HeaderOf(four).biClrImportant, 16u);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_EQ(PixelAt(four, x, y), std::uint32_t(x)) << x;
  // (0, 0, 96) is nearer colour 1; (0, 0, 64) lies midway and takes 0.
  EXPECT_EQ(PixelAt(Keep(DIB24To4(Uniform(1, 1, 0x000060))), 0, 0), 1u);
  EXPECT_EQ(PixelAt(Keep(DIB24To4(Uniform(1, 1, 0x000040))), 0, 0), 0u);
  // From 8 bits through 24, the input untouched.
  HGLOBAL eight = Keep(MakeDib(3, 2, 8, {{255, 0, 0}, {0, 255, 0}}, [](int x, int) { return std::uint32_t(x % 2); }));
  std::string before = BlockBytes(eight);
  HGLOBAL viaEight = Keep(DIB8To4(eight));
  HGLOBAL mono = Keep(DIB8To1(eight));
  ASSERT_NE(viaEight, nullptr);
  ASSERT_NE(mono, nullptr);
  EXPECT_EQ(PixelAt(viaEight, 0, 0), 12u);
  EXPECT_EQ(PixelAt(viaEight, 1, 0), 10u);
  EXPECT_EQ(BlockBytes(eight), before);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ConvertTest, GreyRamp) {
  HGLOBAL dib = Keep(MakeDib(3, 1, 24, {}, [](int x, int) { return x == 0 ? 0xFF0000u : x == 1 ? 0xFFFFFFu : 0x102030u; }));
  HGLOBAL grey = Keep(DIB24To8(dib, TRUE));
  ASSERT_NE(grey, nullptr);
  BITMAPINFOHEADER h = HeaderOf(grey);
  EXPECT_EQ(h.biClrUsed, 256u);
  EXPECT_EQ(h.biClrImportant, 0u);
  EXPECT_EQ(TableOf(grey)[77], (Rgb{77, 77, 77}));
  EXPECT_EQ(PixelAt(grey, 0, 0), 76u);
  EXPECT_EQ(PixelAt(grey, 1, 0), 255u);
  EXPECT_EQ(PixelAt(grey, 2, 0), (77u * 0x10 + 151u * 0x20 + 28u * 0x30) / 256);
}

TEST_F(ConvertTest, Refusals) {
  HGLOBAL one = Keep(MakeDib(2, 2, 1, std::vector<Rgb>(2), [](int, int) { return 0u; }));
  HGLOBAL eight = Keep(MakeDib(2, 2, 8, std::vector<Rgb>(2), [](int, int) { return 0u; }));
  HGLOBAL rgb = Uniform(2, 2, 0);
  HGLOBAL os2 = Keep(BlockOf(std::string("\x0c\0\0\0\x02\0\x02\0\x01\0\x08\0", 12)));
  std::string rleBytes = BlockBytes(eight);
  reinterpret_cast<BITMAPINFOHEADER*>(rleBytes.data())->biCompression = BI_RLE8;
  HGLOBAL rle = Keep(BlockOf(rleBytes));
  std::string rle4Bytes = BlockBytes(Keep(MakeDib(2, 2, 4, std::vector<Rgb>(2), [](int, int) { return 0u; })));
  reinterpret_cast<BITMAPINFOHEADER*>(rle4Bytes.data())->biCompression = BI_RLE4;
  HGLOBAL rle4 = Keep(BlockOf(rle4Bytes));
  // Rows the block does not hold.
  std::string shortBytes = BlockBytes(eight).substr(0, 40 + 8 + 4);
  HGLOBAL cut = Keep(BlockOf(shortBytes));
  const std::string os2Reason = "Keine Unterst\xfc" "tzung f\xfc" "r OS/2-Bitmaps!";
  struct Case {
    HGLOBAL (*fn)(HGLOBAL);
    HGLOBAL in;
    std::vector<std::string> messages;
  } cases[] = {
      {DIB1To4, eight, {"DIB1To4: Es liegt keine 1-Bit-DIB vor!"}},
      {DIB1To4, os2, {"DIB1To4: " + os2Reason}},
      {DIB4To8, one, {"DIB4To8: Es liegt keine 4-Bit-DIB vor!"}},
      {DIB4To8, rle4, {"DIB4to8: Es liegt eine RLE-DIB vor!"}},
      {DIB8To24, rgb, {"DIB8To24: Es liegt keine 8-Bit-DIB vor!"}},
      {DIB8To24, rle, {"DIB8To24: Es liegt eine RLE-DIB vor!"}},
      {DIB8To24, cut, {"DIB8To24: Unbekanntes DIB-Format!"}},
      {DIB8To24, nullptr, {"DIB8To24: Keine DIB vorhanden!"}},
      {DIB1To8, nullptr, {"DIB1To8: Keine DIB vorhanden!"}},
      {DIB1To8, eight, {"DIB1To4: Es liegt keine 1-Bit-DIB vor!"}},
      {DIB1To24, nullptr, {"DIB1To24: Keine DIB vorhanden!"}},
      {DIB4To24, nullptr, {"DIB4To24: Keine DIB vorhanden!"}},
      {DIB24To1, nullptr, {"DIB24To1: Keine DIB vorhanden!"}},
      {DIB24To1, eight, {"_DIB24To1: Es liegt keine 24-Bit-DIB vor!"}},
      {DIB8To1, nullptr, {"DIB8To1: Keine DIB vorhanden!"}},
      {DIB4To1, eight, {"DIB4To8: Es liegt keine 4-Bit-DIB vor!"}},
      {DIB24To4, nullptr, {"DIB24To4: Keine DIB vorhanden!"}},
      {DIB24To4, one, {"_DIB24To4: Es liegt keine 24-Bit-DIB vor!"}},
      {DIB8To4, nullptr, {"DIB8To4: Keine DIB vorhanden!"}},
      {DIB8To4, rle, {"DIB8To24: Es liegt eine RLE-DIB vor!"}},
  };
  for (const Case& c : cases) {
    win::ClearMessageBoxLog();
    EXPECT_EQ(c.fn(c.in), nullptr) << c.messages.front();
    EXPECT_EQ(Messages(), c.messages);
  }
  struct GreyCase {
    HGLOBAL in;
    std::string message;
  } greys[] = {{nullptr, "DIB24to8: Keine DIB vorhanden!"},
               {os2, "DIB24to8: " + os2Reason},
               {eight, "DIB24to8: Bitmap ist bereits reduziert!"}};
  for (const GreyCase& c : greys) {
    win::ClearMessageBoxLog();
    EXPECT_EQ(DIB24To8(c.in, TRUE), nullptr);
    EXPECT_EQ(Messages(), (std::vector<std::string>{c.message}));
  }
  // Without the grey flag the reduction makes the checks.
  win::ClearMessageBoxLog();
  EXPECT_EQ(DIB24To8(eight, FALSE), nullptr);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"ReduceColors: Bitmap ist bereits reduziert!"}));
  win::ClearMessageBoxLog();
  EXPECT_EQ(DIB4To8(rle), nullptr);  // an 8-bit RLE DIB is no 4-bit DIB
  EXPECT_EQ(Messages(), (std::vector<std::string>{"DIB4To8: Es liegt keine 4-Bit-DIB vor!"}));
}

}  // namespace
}  // namespace pixolt_test
