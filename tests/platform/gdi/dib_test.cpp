// DIB drawing: every depth in both colour modes against the DIB's own
// pixels, row orders, partial sources and bands, RLE, header checks,
// GetDIBits and the DIB driver.
#include <gtest/gtest.h>

#include "dib_builder.h"
#include "gdi_test_util.h"
#include "win/user.h"

using gdi_test::Canvas;
using gdi_test::ExpectPicture;
using gdi_test::MakeDib;
using gdi_test::TestDib;

namespace {

class GdiDib : public gdi_test::GdiTest {};

constexpr COLORREF kBack = RGB(1, 2, 3);

std::uint32_t Value(int bits, int x, int y) {
  if (bits <= 8) return std::uint32_t((x * 3 + y * 5) % (1 << bits));
  return std::uint32_t(((x * 40) & 0xFF) << 16 | ((y * 30) & 0xFF) << 8 | ((x * y * 7) & 0xFF));
}

TEST_F(GdiDib, EveryDepthAndColourMode) {
  struct Case {
    int bits;
    bool topDown;
    UINT usage;
  } cases[] = {{1, false, DIB_RGB_COLORS},  {4, false, DIB_RGB_COLORS}, {8, false, DIB_RGB_COLORS},
               {16, false, DIB_RGB_COLORS}, {24, false, DIB_RGB_COLORS}, {32, false, DIB_RGB_COLORS},
               {8, true, DIB_RGB_COLORS},   {24, true, DIB_RGB_COLORS}, {1, false, DIB_PAL_COLORS},
               {4, false, DIB_PAL_COLORS},  {8, false, DIB_PAL_COLORS}, {4, true, DIB_PAL_COLORS}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bits << " bits, topDown " << c.topDown << ", usage " << c.usage);
    std::vector<RGBQUAD> table = c.bits <= 8 ? gdi_test::RampTable(1 << c.bits) : std::vector<RGBQUAD>{};
    TestDib d = MakeDib(13, 9, c.bits, c.topDown, [&](int x, int y) { return Value(c.bits, x, y); },
                        table, c.usage == DIB_PAL_COLORS);
    Canvas cv(20, 14, kBack);
    HPALETTE pal = nullptr;
    if (c.usage == DIB_PAL_COLORS) {
      // The indexes name entries of the selected palette.
      std::vector<std::uint8_t> lp(4 + 4 * table.size());
      auto* log = reinterpret_cast<LOGPALETTE*>(lp.data());
      log->palVersion = 0x300;
      log->palNumEntries = WORD(table.size());
      for (std::size_t i = 0; i < table.size(); ++i) {
        log->palPalEntry[i] = PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
      }
      pal = CreatePalette(log);
      SelectPalette(cv.dc(), pal, FALSE);
      RealizePalette(cv.dc());
    }
    int lines = SetDIBitsToDevice(cv.dc(), 4, 3, 13, 9, 0, 0, 0, 9, d.pixelBits(), d.info(), c.usage);
    EXPECT_EQ(lines, 9);
    ExpectPicture(cv.surface(), [&](int x, int y) {
      int dx = x - 4, dy = y - 3;
      if (dx < 0 || dy < 0 || dx >= 13 || dy >= 9) return kBack;
      return d.ColorAt(dx, dy);
    }, "setdibits");
    // StretchDIBits at 1:1 gives the same picture.
    Canvas cv2(20, 14, kBack);
    if (pal) SelectPalette(cv2.dc(), pal, FALSE);
    EXPECT_EQ(StretchDIBits(cv2.dc(), 4, 3, 13, 9, 0, 0, 13, 9, d.pixelBits(), d.info(), c.usage,
                            SRCCOPY), 9);
    ExpectPicture(cv2.surface(), [&](int x, int y) { return cv.At(x, y); }, "stretchdibits");
    if (pal) {
      SelectPalette(cv.dc(), static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
      SelectPalette(cv2.dc(), static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
      EXPECT_TRUE(DeleteObject(pal));
    }
  }
}

// Stretched twice as wide and high (each source pixel becomes a block of
// four): an 8-bit DIB whose indexes run past its short colour table (those
// pixels are black), and 24-bit DIBs whose rows end without padding, so
// that the last pixel's bytes are the last of the bits.
TEST_F(GdiDib, ShortTablesAndUnpaddedRowsStretch) {
  struct Case {
    const char* name;
    int width, height, bits;
    bool topDown;
  } cases[] = {{"short table", 7, 5, 8, false}, {"unpadded bottom-up", 4, 3, 24, false},
               {"unpadded top-down", 8, 2, 24, true}};
  for (const Case& c : cases) {
    auto value = [&](int x, int y) -> std::uint32_t {
      return c.bits == 8 ? std::uint32_t((x * 37 + y * 101) & 0xFF) : Value(24, x, y) ^ 0x5A3C96u;
    };
    const std::vector<RGBQUAD> table = c.bits == 8 ? gdi_test::RampTable(5) : std::vector<RGBQUAD>{};
    TestDib d = MakeDib(c.width, c.height, c.bits, c.topDown, value, table);
    auto color = [&](int x, int y) -> COLORREF {
      const std::uint32_t v = value(x, y);
      if (c.bits == 24) return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
      if (v >= table.size()) return RGB(0, 0, 0);
      return RGB(table[v].rgbRed, table[v].rgbGreen, table[v].rgbBlue);
    };
    Canvas cv(2 * c.width + 3, 2 * c.height + 2, kBack);
    SetStretchBltMode(cv.dc(), COLORONCOLOR);
    EXPECT_EQ(StretchDIBits(cv.dc(), 1, 1, 2 * c.width, 2 * c.height, 0, 0, c.width, c.height, d.pixelBits(),
                            d.info(), DIB_RGB_COLORS, SRCCOPY),
              c.height)
        << c.name;
    ExpectPicture(cv.surface(), [&](int x, int y) {
      const int sx = (x - 1) / 2, sy = (y - 1) / 2;
      if (x < 1 || y < 1 || sx >= c.width || sy >= c.height) return kBack;
      return color(sx, sy);
    }, c.name);
  }
}

// SetDIBitsToDevice counts the source corner from the bottom of a bottom-up
// DIB: the caller passes height - bottom for the top-left part it wants.
TEST_F(GdiDib, PartialSourceAndBands) {
  TestDib d = MakeDib(6, 7, 24, false, [](int x, int y) { return Value(24, x, y); });
  Canvas cv(10, 10, kBack);
  // Picture rows 2..4 (top-down), columns 1..3.
  RECT src{1, 2, 4, 5};
  SetDIBitsToDevice(cv.dc(), 0, 0, 3, 3, src.left, 7 - src.bottom, 0, 7, d.pixelBits(), d.info(),
                    DIB_RGB_COLORS);
  ExpectPicture(cv.surface(), [&](int x, int y) {
    return x < 3 && y < 3 ? d.ColorAt(x + 1, y + 2) : kBack;
  }, "partial");
  // Two bands: rows 0-2 from the bottom, then rows 3-6, each with only its
  // own bits.
  Canvas cv2(10, 10, kBack);
  std::size_t stride = d.stride();
  EXPECT_EQ(SetDIBitsToDevice(cv2.dc(), 2, 1, 6, 7, 0, 0, 0, 3, d.pixelBits(), d.info(),
                              DIB_RGB_COLORS), 3);
  EXPECT_EQ(SetDIBitsToDevice(cv2.dc(), 2, 1, 6, 7, 0, 0, 3, 4, d.pixelBits() + 3 * stride,
                              d.info(), DIB_RGB_COLORS), 4);
  ExpectPicture(cv2.surface(), [&](int x, int y) {
    int dx = x - 2, dy = y - 1;
    return dx >= 0 && dy >= 0 && dx < 6 && dy < 7 ? d.ColorAt(dx, dy) : kBack;
  }, "bands");
  // StretchDIBits counts its source corner from the bottom too: (1, 2) with
  // 3 x 3 is the part whose bottom row is stored row 2.
  Canvas cv3(4, 4, kBack);
  StretchDIBits(cv3.dc(), 0, 0, 3, 3, 1, 2, 3, 3, d.pixelBits(), d.info(), DIB_RGB_COLORS, SRCCOPY);
  ExpectPicture(cv3.surface(), [&](int x, int y) {
    return x < 3 && y < 3 ? d.ColorAt(x + 1, 7 - 2 - 3 + y) : kBack;
  }, "stretch-partial");
}

// 32-bit DIBs in the surface's own layout are copied row by row: whatever
// the row order, the part of the source, the clip or the band of rows
// given, they draw what the same picture as a 24-bit DIB draws, their
// fourth bytes never reach the surface, and the same area counts as drawn.
TEST_F(GdiDib, ThirtyTwoBitsDrawAsTwentyFourBits) {
  struct Case {
    const char* name;
    bool topDown;
    bool band;  // SetDIBitsToDevice with stored rows 3..6 only; else StretchDIBits
    int x, y, w, h, srcX, srcY, srcW, srcH;
    bool clipped;  // to two rectangles
  } cases[] = {
      {"whole, bottom-up", false, false, 4, 3, 13, 9, 0, 0, 13, 9, false},
      {"whole, top-down", true, false, 4, 3, 13, 9, 0, 0, 13, 9, false},
      {"part of the source", false, false, 2, 2, 5, 4, 3, 2, 5, 4, false},
      {"past the top-left edges", false, false, -3, -2, 13, 9, 0, 0, 13, 9, false},
      {"past the bottom-right edges", true, false, 12, 8, 13, 9, 0, 0, 13, 9, false},
      {"source past the picture", false, false, 0, 0, 13, 9, 5, 2, 13, 9, false},
      {"clipped", false, false, 4, 3, 13, 9, 0, 0, 13, 9, true},
      {"mirrored", false, false, 4, 3, 13, 9, 12, 0, -13, 9, false},
      {"stretched", true, false, 1, 1, 18, 12, 0, 0, 13, 9, false},
      {"band, bottom-up", false, true, 4, 3, 13, 9, 0, 0, 13, 9, false},
      {"band, top-down", true, true, 4, 3, 13, 9, 0, 0, 13, 9, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto value = [](int x, int y) { return Value(24, x, y) ^ 0x3C5A96u; };
    TestDib d24 = MakeDib(13, 9, 24, c.topDown, value);
    TestDib d32 = MakeDib(13, 9, 32, c.topDown, value);
    for (int row = 0; row < 9; ++row)
      for (int x = 0; x < 13; ++x) d32.pixelBits()[row * d32.stride() + x * 4 + 3] = std::uint8_t(0xA5 ^ x);
    auto draw = [&](Canvas& cv, TestDib& d) {
      if (c.clipped) {
        HRGN a = CreateRectRgn(0, 0, 9, 6), b = CreateRectRgn(11, 7, 20, 14);
        CombineRgn(a, a, b, RGN_OR);
        SelectClipRgn(cv.dc(), a);
        DeleteObject(a);
        DeleteObject(b);
      }
      if (c.band) {
        EXPECT_EQ(SetDIBitsToDevice(cv.dc(), c.x, c.y, DWORD(c.w), DWORD(c.h), c.srcX, c.srcY, 3, 4,
                                    d.pixelBits() + 3 * d.stride(), d.info(), DIB_RGB_COLORS),
                  4);
      } else {
        EXPECT_EQ(StretchDIBits(cv.dc(), c.x, c.y, c.w, c.h, c.srcX, c.srcY, c.srcW, c.srcH, d.pixelBits(),
                                d.info(), DIB_RGB_COLORS, SRCCOPY),
                  9);
      }
    };
    Canvas want(20, 14, kBack), got(20, 14, kBack);
    draw(want, d24);
    draw(got, d32);
    ExpectPicture(got.surface(), [&](int x, int y) { return want.At(x, y); }, c.name);
    for (int y = 0; y < 14; ++y)
      for (int x = 0; x < 20; ++x) ASSERT_EQ(got.surface().At(x, y) >> 24, 0u) << x << "," << y;
    const auto bounds = [](const std::vector<RECT>& rects) {
      RECT u{0, 0, 0, 0};
      for (const RECT& r : rects) UnionRect(&u, &u, &r);
      return std::vector<LONG>{u.left, u.top, u.right, u.bottom};
    };
    EXPECT_EQ(bounds(got.surface().damage()), bounds(want.surface().damage()));
  }
}

// The transparent-colour trick of the picture code: a mask drawn with SRCAND
// (transparent entry white, others black), then the picture with SRCPAINT
// (transparent entry black).
TEST_F(GdiDib, TransparencyWithSrcAndAndSrcPaint) {
  std::vector<RGBQUAD> table = gdi_test::RampTable(4);
  TestDib d = MakeDib(4, 4, 8, false, [](int x, int y) { return std::uint32_t((x + y) % 4); }, table);
  Canvas cv(4, 4, RGB(0, 200, 0));
  RGBQUAD* colors = d.info()->bmiColors;
  const int transparent = 2;
  for (int i = 0; i < 4; ++i) colors[i] = RGBQUAD{0, 0, 0, 0};
  colors[transparent] = RGBQUAD{255, 255, 255, 0};
  StretchDIBits(cv.dc(), 0, 0, 4, 4, 0, 0, 4, 4, d.pixelBits(), d.info(), DIB_RGB_COLORS, SRCAND);
  for (int i = 0; i < 4; ++i) colors[i] = table[i];
  colors[transparent] = RGBQUAD{0, 0, 0, 0};
  StretchDIBits(cv.dc(), 0, 0, 4, 4, 0, 0, 4, 4, d.pixelBits(), d.info(), DIB_RGB_COLORS, SRCPAINT);
  colors[transparent] = table[transparent];
  ExpectPicture(cv.surface(), [&](int x, int y) {
    return (x + y) % 4 == transparent ? RGB(0, 200, 0) : d.ColorAt(x, y);
  }, "transparent");
}

TEST_F(GdiDib, RunLengthEncoded) {
  // RLE4: a run of 3 (1, 2, 1), end of line; an absolute run of 5 (four
  // bytes with the pad), end of line; a move of (1, 1); a run of 2; end of
  // picture.
  std::vector<std::uint8_t> rle4 = {3, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0x00, 0, 0,
                                    0, 2, 1, 1, 2, 0x99, 0, 1};
  std::vector<std::uint8_t> block(40 + 16 * 4);
  BITMAPINFOHEADER h{40, 6, 4, 1, 4, BI_RLE4, DWORD(rle4.size()), 0, 0, 16, 0};
  std::memcpy(block.data(), &h, 40);
  auto table = gdi_test::RampTable(16);
  std::memcpy(block.data() + 40, table.data(), 64);
  auto* info = reinterpret_cast<BITMAPINFO*>(block.data());
  Canvas cv(6, 4, kBack);
  EXPECT_EQ(SetDIBitsToDevice(cv.dc(), 0, 0, 6, 4, 0, 0, 0, 4, rle4.data(), info, DIB_RGB_COLORS), 4);
  auto col = [&](int i) { return RGB(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue); };
  // Stored rows: 0 is the bottom picture row 3.
  ExpectPicture(cv.surface(), [&](int x, int y) -> COLORREF {
    int stored = 3 - y;
    if (stored == 0 && x < 3) return col(x == 1 ? 2 : 1);
    if (stored == 1 && x < 5) return col(3 + x);
    if (stored == 3 && (x == 1 || x == 2)) return col(9);  // moved to (1, 3)
    return kBack;
  }, "rle4");
  // RLE8 with a stream that stops early (no end mark): what was decoded stays.
  std::vector<std::uint8_t> rle8 = {2, 7, 0, 3, 1, 2, 3, 0};
  BITMAPINFOHEADER h8{40, 4, 2, 1, 8, BI_RLE8, DWORD(rle8.size()), 0, 0, 16, 0};
  std::memcpy(block.data(), &h8, 40);
  Canvas c8(4, 2, kBack);
  EXPECT_EQ(StretchDIBits(c8.dc(), 0, 0, 4, 2, 0, 0, 4, 2, rle8.data(), info, DIB_RGB_COLORS, SRCCOPY), 2);
  ExpectPicture(c8.surface(), [&](int x, int y) -> COLORREF {
    if (y == 1 && x < 2) return col(7);
    if (y == 1) return col(x - 1);
    return kBack;
  }, "rle8");
}

TEST_F(GdiDib, HeadersAreCheckedBeforeUse) {
  TestDib good = MakeDib(4, 4, 8, false, [](int x, int) { return std::uint32_t(x); },
                         gdi_test::RampTable(256));
  struct Case {
    const char* what;
    std::function<void(BITMAPINFOHEADER&)> spoil;
  } cases[] = {
      {"size 12", [](BITMAPINFOHEADER& h) { h.biSize = 12; }},
      {"size huge", [](BITMAPINFOHEADER& h) { h.biSize = 0x7FFFFFFF; }},
      {"planes 2", [](BITMAPINFOHEADER& h) { h.biPlanes = 2; }},
      {"bit count 7", [](BITMAPINFOHEADER& h) { h.biBitCount = 7; }},
      {"width 0", [](BITMAPINFOHEADER& h) { h.biWidth = 0; }},
      {"width negative", [](BITMAPINFOHEADER& h) { h.biWidth = -4; }},
      {"height 0", [](BITMAPINFOHEADER& h) { h.biHeight = 0; }},
      {"height minimum", [](BITMAPINFOHEADER& h) { h.biHeight = INT32_MIN; }},
      {"too wide", [](BITMAPINFOHEADER& h) { h.biWidth = 100000; }},
      {"too many bytes", [](BITMAPINFOHEADER& h) { h.biWidth = 16384; h.biHeight = 16384; h.biBitCount = 32; }},
      {"image size short", [](BITMAPINFOHEADER& h) { h.biSizeImage = 15; }},
      {"compression 9", [](BITMAPINFOHEADER& h) { h.biCompression = 9; }},
      {"RLE8 at 4 bits", [](BITMAPINFOHEADER& h) { h.biBitCount = 4; h.biCompression = BI_RLE8; }},
      {"RLE without size", [](BITMAPINFOHEADER& h) { h.biCompression = BI_RLE8; h.biSizeImage = 0; }},
      {"RLE top-down", [](BITMAPINFOHEADER& h) { h.biCompression = BI_RLE8; h.biHeight = -4; }},
      {"bit fields at 8", [](BITMAPINFOHEADER& h) { h.biCompression = BI_BITFIELDS; }},
  };
  for (const Case& c : cases) {
    TestDib d = good;
    c.spoil(d.header());
    Canvas cv(4, 4, kBack);
    EXPECT_EQ(SetDIBitsToDevice(cv.dc(), 0, 0, 4, 4, 0, 0, 0, 4, d.pixelBits(), d.info(), DIB_RGB_COLORS), 0)
        << c.what;
    EXPECT_EQ(StretchDIBits(cv.dc(), 0, 0, 4, 4, 0, 0, 4, 4, d.pixelBits(), d.info(), DIB_RGB_COLORS,
                            SRCCOPY), 0) << c.what;
    ExpectPicture(cv.surface(), [](int, int) { return kBack; }, "untouched");
  }
  // A colour-table length beyond the depth is cut to the depth.
  TestDib d = good;
  d.header().biClrUsed = 100000;
  Canvas cv(4, 4, kBack);
  EXPECT_EQ(SetDIBitsToDevice(cv.dc(), 0, 0, 4, 4, 0, 0, 0, 4, d.pixelBits(), d.info(), DIB_RGB_COLORS), 4);
  EXPECT_EQ(SetDIBitsToDevice(cv.dc(), 0, 0, 4, 4, 0, 0, 0, 4, nullptr, d.info(), DIB_RGB_COLORS), 0);
  EXPECT_EQ(SetDIBitsToDevice(cv.dc(), 0, 0, 4, 4, 0, 0, 0, 4, d.pixelBits(), d.info(), 7), 0);
}

TEST_F(GdiDib, GetDIBitsRoundTrip) {
  for (int bits : {24, 32, 8, 4, 1}) {
    SCOPED_TRACE(bits);
    Canvas cv(5, 3);
    // Colours every depth can hold: black and white.
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) SetPixel(cv.dc(), x, y, (x + y) % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0));
    if (bits >= 24) SetPixel(cv.dc(), 2, 1, RGB(12, 34, 56));
    std::vector<std::uint8_t> block(40 + 256 * 4);
    auto* info = reinterpret_cast<BITMAPINFO*>(block.data());
    info->bmiHeader.biSize = 40;
    info->bmiHeader.biBitCount = 0;
    ASSERT_NE(GetDIBits(cv.dc(), cv.bitmap(), 0, 3, nullptr, info, DIB_RGB_COLORS), 0);
    EXPECT_EQ(info->bmiHeader.biWidth, 5);
    EXPECT_EQ(info->bmiHeader.biHeight, 3);
    info->bmiHeader.biBitCount = WORD(bits);
    info->bmiHeader.biCompression = BI_RGB;
    ASSERT_NE(GetDIBits(cv.dc(), cv.bitmap(), 0, 3, nullptr, info, DIB_RGB_COLORS), 0);
    std::vector<std::uint8_t> pixels(info->bmiHeader.biSizeImage);
    EXPECT_EQ(GetDIBits(cv.dc(), cv.bitmap(), 0, 3, pixels.data(), info, DIB_RGB_COLORS), 3);
    Canvas back(5, 3, kBack);
    SetDIBitsToDevice(back.dc(), 0, 0, 5, 3, 0, 0, 0, 3, pixels.data(), info, DIB_RGB_COLORS);
    ExpectPicture(back.surface(), [&](int x, int y) { return cv.At(x, y); }, "roundtrip");
  }
}

// The "DIB" driver: a DC drawing into a packed DIB, as the image library
// crops 8-bit DIBs.
TEST_F(GdiDib, DibDriverWritesBackOnDelete) {
  auto table = gdi_test::RampTable(256);
  TestDib src = MakeDib(8, 6, 8, false, [](int x, int y) { return std::uint32_t(x + 8 * y); }, table);
  TestDib dst = MakeDib(3, 2, 8, false, [](int, int) { return 0u; }, table);
  HDC dc = CreateDC("DIB", nullptr, nullptr, dst.block.data());
  ASSERT_TRUE(dc);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 3);
  // Source rectangle (2, 1, 3, 2): stored rows 1 and 2, columns 2 to 4.
  StretchDIBits(dc, 0, 0, 3, 2, 2, 1, 3, 2, src.pixelBits(), src.info(), DIB_RGB_COLORS, SRCCOPY);
  EXPECT_TRUE(DeleteDC(dc));
  std::size_t sstride = src.stride(), dstride = dst.stride();
  for (int row = 0; row < 2; ++row)
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(dst.pixelBits()[row * dstride + x], src.pixelBits()[(row + 1) * sstride + x + 2])
          << row << "," << x;
  EXPECT_FALSE(CreateDC("DIB", nullptr, nullptr, nullptr));
}

}  // namespace
