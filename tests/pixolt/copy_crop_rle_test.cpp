// Copy, crop, RLE expansion, grey and half size: new DIBs of the same bit
// count, the input left as it was, and hostile headers and streams answered
// without reading past the block.
#include <cstring>
#include <string>
#include <vector>

#include "pixolt/support/pixolt_fixture.h"

namespace pixolt_test {
namespace {

// An RLE DIB: header, colour table of `colors` greys, then the stream.
HGLOBAL RleDib(int width, int height, int bits, const std::string& stream, DWORD sizeImage = 0xFFFFFFFF) {
  DWORD colors = 1u << bits;
  std::string block(40 + 4 * colors, '\0');
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bits);
  h.biCompression = bits == 8 ? BI_RLE8 : BI_RLE4;
  h.biSizeImage = sizeImage == 0xFFFFFFFF ? static_cast<DWORD>(stream.size()) : sizeImage;
  h.biClrUsed = colors;
  std::memcpy(block.data(), &h, 40);
  for (DWORD i = 0; i < colors; ++i) block[40 + 4 * i] = block[41 + 4 * i] = block[42 + 4 * i] = char(i);
  return BlockOf(block + stream);
}

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

class CopyCropRleTest : public PixoltTest {};

TEST_F(CopyCropRleTest, CopyIsByteForByte) {
  HGLOBAL odd = Keep(BlockOf(std::string("\x0c\0\0\0 anything at all", 20)));
  HGLOBAL copy = Keep(CopyDIB(odd));
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, odd);
  EXPECT_EQ(BlockBytes(copy), BlockBytes(odd));
  EXPECT_EQ(CopyDIB(nullptr), nullptr);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"CopyDIB: Keine DIB vorhanden!"}));
}

TEST_F(CopyCropRleTest, CropAtEveryDepth) {
  std::vector<Rgb> colors(256);
  for (int i = 0; i < 256; ++i) colors[i] = Rgb{std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i / 2)};
  for (int bits : {1, 4, 8, 24}) {
    std::vector<Rgb> table(bits == 24 ? 0 : (1u << bits));
    for (std::size_t i = 0; i < table.size(); ++i) table[i] = colors[i];
    std::uint32_t mask = bits == 24 ? 0xFFFFFF : (1u << bits) - 1;
    auto value = [&](int x, int y) { return std::uint32_t(x * 0x10305 + y * 0x7) & mask; };
    HGLOBAL dib = Keep(MakeDib(37, 11, bits, table, value));
    // The whole picture, an inner rectangle, and one reaching past the edges.
    struct Rect {
      UINT x, y, w, h;
    } rects[] = {{0, 0, 37, 11}, {3, 2, 17, 5}, {30, 8, 10, 6}};
    for (const Rect& r : rects) {
      HGLOBAL crop = Keep(CropDIB(dib, r.x, r.y, r.w, r.h));
      ASSERT_NE(crop, nullptr) << bits;
      BITMAPINFOHEADER h = HeaderOf(crop);
      EXPECT_EQ(h.biWidth, LONG(r.w));
      EXPECT_EQ(h.biHeight, LONG(r.h));
      EXPECT_EQ(h.biBitCount, bits);
      EXPECT_EQ(h.biClrUsed, table.size());
      EXPECT_EQ(h.biXPelsPerMeter, 2953);
      EXPECT_EQ(TableOf(crop), table);
      for (UINT y = 0; y < r.h; ++y)
        for (UINT x = 0; x < r.w; ++x) {
          bool inside = r.x + x < 37 && r.y + y < 11;
          EXPECT_EQ(PixelAt(crop, int(x), int(y)), inside ? value(int(r.x + x), int(r.y + y)) : 0u)
              << bits << " bits, " << x << "," << y;
        }
    }
  }
  // A rectangle wholly outside, far beyond the picture: all 0.
  HGLOBAL far = Keep(CropDIB(Keep(MakeDib(3, 3, 24, {}, [](int, int) { return 0xFFFFFFu; })), 0xFFFFFFF0u,
                             0xFFFFFFF0u, 2, 2));
  ASSERT_NE(far, nullptr);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(PixelAt(far, x, y), 0u);
  // The right pixel of a 2 x 1 picture.
  HGLOBAL two = Keep(MakeDib(2, 1, 24, {}, [](int x, int) { return x ? 0x123456u : 0u; }));
  HGLOBAL right = Keep(CropDIB(two, 1, 0, 1, 1));
  EXPECT_EQ(PixelAt(right, 0, 0), 0x123456u);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(CopyCropRleTest, CropRefusals) {
  HGLOBAL rle = Keep(RleDib(4, 1, 8, Bytes({0, 1})));
  HGLOBAL os2 = Keep(BlockOf(std::string("\x0c\0\0\0\x02\0\x02\0\x01\0\x08\0", 12)));
  HGLOBAL ok = Keep(MakeDib(4, 4, 8, std::vector<Rgb>(4), [](int, int) { return 1u; }));
  EXPECT_EQ(CropDIB(nullptr, 0, 0, 1, 1), nullptr);
  EXPECT_EQ(CropDIB(os2, 0, 0, 1, 1), nullptr);
  EXPECT_EQ(CropDIB(rle, 0, 0, 1, 1), nullptr);
  EXPECT_EQ(CropDIB(ok, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF), nullptr);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"CropDIB: Keine DIB vorhanden!",
                                                  "CropDIB: Keine Unterst\xfc" "tzung f\xfc" "r OS/2-Bitmaps!",
                                                  "CropDIB: Keine Unterst\xfc" "tzung f\xfc" "r RLE-Bitmaps!",
                                                  "CropDIB: Zu wenig Speicher f\xfc" "r DIB vorhanden!"}));
}

TEST_F(CopyCropRleTest, Rle4Streams) {
  struct Case {
    const char* what;
    int width;
    std::string stream;
    std::vector<std::uint32_t> row0;  // pixels of the first stored row
    std::vector<std::uint32_t> row1;
  } cases[] = {
      {"run of three", 4, Bytes({3, 0x12, 0, 1}), {1, 2, 1, 0}, {0, 0, 0, 0}},
      {"absolute run of five takes four bytes", 6, Bytes({0, 5, 0x12, 0x34, 0x50, 0xFF, 1, 0x77, 0, 1}),
       {1, 2, 3, 4, 5, 7}, {0, 0, 0, 0, 0, 0}},
      {"absolute run of three takes two bytes", 4, Bytes({0, 3, 0x12, 0x30, 1, 0x99, 0, 1}), {1, 2, 3, 9}, {0, 0, 0, 0}},
      {"end of line and a move", 4, Bytes({1, 0x50, 0, 0, 0, 2, 2, 0, 1, 0x60, 0, 1}), {5, 0, 0, 0}, {0, 0, 6, 0}},
      {"run past the row's end is cut", 3, Bytes({9, 0x12, 0, 0, 2, 0x33}), {1, 2, 1}, {3, 3, 0}},
      {"move out of the picture ends it", 3, Bytes({0, 2, 200, 200, 3, 0x11}), {0, 0, 0}, {0, 0, 0}},
      {"stream cut inside a move", 3, Bytes({1, 0x40, 0, 2, 1}), {4, 0, 0}, {0, 0, 0}},
      {"stream cut inside an absolute run", 4, Bytes({0, 4, 0x12}), {1, 2, 0, 0}, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    HGLOBAL rle = Keep(RleDib(c.width, 2, 4, c.stream));
    HGLOBAL dib = Keep(RLEtoDIB(rle));
    ASSERT_NE(dib, nullptr) << c.what;
    BITMAPINFOHEADER h = HeaderOf(dib);
    EXPECT_EQ(h.biCompression, 0u);
    EXPECT_EQ(h.biSizeImage, 8u);
    for (int x = 0; x < c.width; ++x) {
      EXPECT_EQ(PixelAt(dib, x, 0), c.row0[x]) << c.what << " x=" << x;
      EXPECT_EQ(PixelAt(dib, x, 1), c.row1[x]) << c.what << " x=" << x;
    }
  }
  // The first row 1, 2, 1 is the bytes 0x12 0x10.
  HGLOBAL dib = Keep(RLEtoDIB(Keep(RleDib(3, 1, 4, Bytes({3, 0x12, 0, 1})))));
  EXPECT_EQ(BlockBytes(dib).substr(40 + 64, 2), std::string("\x12\x10", 2));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(CopyCropRleTest, StreamsNeverRunPastTheirBlock) {
  // A stored size far beyond the block, a stream without an end, and one
  // of runs only: each expands what lies inside the block.
  std::string endless;
  for (int i = 0; i < 5000; ++i) endless += Bytes({255, 7});
  for (const std::string& stream : {Bytes({2, 9}), endless}) {
    HGLOBAL rle = Keep(RleDib(300, 300, 8, stream, 0xFFFFFF00));
    HGLOBAL dib = Keep(RLEtoDIB(rle));
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(PixelAt(dib, 0, 0), stream[1] == 9 ? 9u : 7u);
  }
  // A header whose table does not fit the block.
  HGLOBAL cut = Keep(BlockOf(BlockBytes(Keep(RleDib(4, 4, 8, ""))).substr(0, 100)));
  EXPECT_EQ(RLEtoDIB(cut), nullptr);
  EXPECT_EQ(RLEtoDIB(Keep(MakeDib(2, 2, 8, std::vector<Rgb>(2), [](int, int) { return 0u; }))), nullptr);
  EXPECT_EQ(RLEtoDIB(nullptr), nullptr);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"RLEtoDIB: Unbekanntes DIB-Format!",
                                                  "RLEtoDIB: Es liegt keine RLE-Bitmap vor!",
                                                  "RLEtoDIB: Keine DIB vorhanden!"}));
}

TEST_F(CopyCropRleTest, GreyKeepsPixelsAndGreysTheTable) {
  std::vector<Rgb> table = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}, {10, 20, 30}};
  HGLOBAL four = Keep(MakeDib(5, 2, 4, table, [](int x, int) { return std::uint32_t(x); }));
  std::string before = BlockBytes(four);
  HGLOBAL grey = Keep(GrayDIB(four));
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ(BlockBytes(four), before);
  std::vector<Rgb> expected;
  for (const Rgb& c : table) {
    auto g = std::uint8_t((77 * c.r + 151 * c.g + 28 * c.b) / 256);
    expected.push_back(Rgb{g, g, g});
  }
  EXPECT_EQ(TableOf(grey), expected);
  EXPECT_EQ(BlockBytes(grey).substr(40 + 20), before.substr(40 + 20));
  // A 24-bit DIB becomes the 8-bit grey ramp.
  HGLOBAL rgb = Keep(MakeDib(1, 1, 24, {}, [](int, int) { return 0xFF0000u; }));
  HGLOBAL ramp = Keep(GrayDIB(rgb));
  ASSERT_NE(ramp, nullptr);
  EXPECT_EQ(HeaderOf(ramp).biBitCount, 8);
  EXPECT_EQ(PixelAt(ramp, 0, 0), 76u);
  EXPECT_EQ(GrayDIB(Keep(RleDib(2, 2, 8, Bytes({0, 1})))), nullptr);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"GrayDIB: Keine Unterst\xfc" "tzung f\xfc" "r RLE-Bitmaps!"}));
}

TEST_F(CopyCropRleTest, HalfSize) {
  HGLOBAL mono = Keep(MakeDib(20, 3, 1, {{0, 0, 0}, {255, 255, 255}},
                              [](int x, int y) { return std::uint32_t((x % 4 == 0) ^ (y == 2)); }));
  HGLOBAL half = Keep(SmallSizeDIB(mono));
  ASSERT_NE(half, nullptr);
  BITMAPINFOHEADER h = HeaderOf(half);
  EXPECT_EQ(h.biWidth, 10);
  EXPECT_EQ(h.biHeight, 1);
  EXPECT_EQ(h.biClrUsed, 2u);
  EXPECT_EQ(h.biClrImportant, 2u);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(PixelAt(half, x, 0), PixelAt(mono, 2 * x, 0)) << x;
  for (int bits : {4, 8, 24}) {
    std::vector<Rgb> table(bits == 24 ? 0 : (1u << bits));
    std::uint32_t mask = bits == 24 ? 0xFFFFFF : (1u << bits) - 1;
    auto value = [&](int x, int y) { return std::uint32_t(x * 0x030201 + y * 0x10) & mask; };
    HGLOBAL dib = Keep(MakeDib(9, 7, bits, table, value));
    HGLOBAL small = Keep(SmallSizeDIB(dib));
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(HeaderOf(small).biWidth, 4);
    EXPECT_EQ(HeaderOf(small).biHeight, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(small, x, y), value(2 * x, 2 * y)) << bits;
  }
  HGLOBAL flat = Keep(SmallSizeDIB(Keep(MakeDib(5, 1, 8, std::vector<Rgb>(2), [](int, int) { return 1u; }))));
  ASSERT_NE(flat, nullptr);
  EXPECT_EQ(HeaderOf(flat).biHeight, 0);
  EXPECT_EQ(SmallSizeDIB(Keep(RleDib(2, 2, 8, Bytes({0, 1})))), nullptr);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"SmallSizeDIB: Es liegt eine RLE-DIB vor!"}));
}

}  // namespace
}  // namespace pixolt_test
