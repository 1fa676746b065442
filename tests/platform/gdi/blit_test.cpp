// BitBlt and StretchBlt: every raster operation against a per-pixel
// evaluation of its truth table, monochrome conversions, overlapping copies
// and mirrored stretches.
#include <gtest/gtest.h>

#include <random>

#include "gdi/rop.h"
#include "gdi_test_util.h"

using gdi_test::Canvas;
using gdi_test::ExpectPicture;

namespace {

class GdiBlit : public gdi_test::GdiTest {};

COLORREF Pattern(int x, int y) { return RGB(x * 37 + y * 11, x * 5 + y * 53, (x ^ y) * 29); }

// The reference: each bit of the result from the truth table.
COLORREF Reference(DWORD rop, COLORREF p, COLORREF s, COLORREF d) {
  unsigned table = (rop >> 16) & 0xFF;
  COLORREF out = 0;
  for (int bit = 0; bit < 24; ++bit) {
    int pb = (p >> bit) & 1, sb = (s >> bit) & 1, db = (d >> bit) & 1;
    if ((table >> (pb * 4 + sb * 2 + db)) & 1) out |= COLORREF(1) << bit;
  }
  return out;
}

TEST_F(GdiBlit, EveryRopMatchesTruthTable) {
  const DWORD named[] = {SRCCOPY, SRCPAINT, SRCAND, SRCINVERT, SRCERASE, NOTSRCCOPY, NOTSRCERASE,
                         MERGECOPY, MERGEPAINT, PATCOPY, PATPAINT, PATINVERT, DSTINVERT,
                         BLACKNESS, WHITENESS};
  std::vector<DWORD> rops(std::begin(named), std::end(named));
  for (unsigned i = 0; i < 256; i += 7) rops.push_back(DWORD(i) << 16);  // the general evaluator
  const COLORREF brushColor = RGB(0x5A, 0xC3, 0x0F);
  for (DWORD rop : rops) {
    Canvas src(9, 7), dst(9, 7);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 9; ++x) {
        SetPixel(src.dc(), x, y, Pattern(x, y));
        SetPixel(dst.dc(), x, y, Pattern(8 - x, y + 3));
      }
    HBRUSH b = CreateSolidBrush(brushColor);
    SelectObject(dst.dc(), b);
    ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 9, 7, src.dc(), 0, 0, rop));
    SelectObject(dst.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(b);
    char name[32];
    std::snprintf(name, sizeof name, "rop%06x", unsigned(rop));
    ExpectPicture(dst.surface(), [&](int x, int y) {
      return Reference(rop, brushColor, Pattern(x, y), Pattern(8 - x, y + 3));
    }, name);
  }
}

TEST_F(GdiBlit, Rop3EvaluatorAgreesWithFastPaths) {
  std::mt19937 rng(7);
  for (unsigned rop = 0; rop < 256; ++rop) {
    for (int k = 0; k < 8; ++k) {
      std::uint32_t p = rng() & 0xFFFFFF, s = rng() & 0xFFFFFF, d = rng() & 0xFFFFFF;
      std::uint32_t dd = d;
      win::gdi::Rop3Span(std::uint8_t(rop), &dd, &s, p, nullptr, 1, 0xFFFFFF);
      EXPECT_EQ(dd, win::gdi::Rop3Eval(std::uint8_t(rop), p, s, d) & 0xFFFFFF) << rop;
    }
  }
}

TEST_F(GdiBlit, MonochromeConversions) {
  // Monochrome to colour: 0 bits in the destination's text colour, 1 bits in
  // its background colour.
  HDC mono = CreateCompatibleDC(nullptr);
  HBITMAP bm = CreateBitmap(4, 2, 1, 1, nullptr);
  HGDIOBJ old = SelectObject(mono, bm);
  PatBlt(mono, 0, 0, 4, 2, BLACKNESS);
  PatBlt(mono, 2, 0, 2, 2, WHITENESS);
  Canvas c(4, 2);
  SetTextColor(c.dc(), RGB(255, 0, 0));
  SetBkColor(c.dc(), RGB(0, 0, 255));
  BitBlt(c.dc(), 0, 0, 4, 2, mono, 0, 0, SRCCOPY);
  ExpectPicture(c.surface(), [](int x, int) { return x < 2 ? RGB(255, 0, 0) : RGB(0, 0, 255); },
                "mono-to-colour");
  // Colour to monochrome: the source's background colour becomes white.
  Canvas src(4, 2, RGB(10, 20, 30));
  SetPixel(src.dc(), 1, 1, RGB(200, 200, 200));
  SetBkColor(src.dc(), RGB(10, 20, 30));
  BitBlt(mono, 0, 0, 4, 2, src.dc(), 0, 0, SRCCOPY);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(GetPixel(mono, x, y), (x == 1 && y == 1) ? RGB(0, 0, 0) : RGB(255, 255, 255));
  // Colours drawn on a monochrome bitmap become black or white.
  EXPECT_EQ(SetPixel(mono, 0, 0, RGB(200, 190, 10)), RGB(255, 255, 255));
  EXPECT_EQ(SetPixel(mono, 0, 0, RGB(100, 10, 10)), RGB(0, 0, 0));
  BITMAP info;
  ASSERT_EQ(GetObject(bm, sizeof info, &info), int(sizeof info));
  EXPECT_EQ(info.bmBitsPixel, 1);
  EXPECT_EQ(info.bmWidthBytes, 2);
  SelectObject(mono, old);
  DeleteDC(mono);
  DeleteObject(bm);
}

TEST_F(GdiBlit, OverlappingCopyWithinOneSurface) {
  Canvas c(10, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) SetPixel(c.dc(), x, y, Pattern(x, y));
  BitBlt(c.dc(), 2, 3, 8, 7, c.dc(), 0, 0, SRCCOPY);  // down and right, overlapping
  ExpectPicture(c.surface(), [](int x, int y) {
    return (x >= 2 && y >= 3) ? Pattern(x - 2, y - 3) : Pattern(x, y);
  }, "overlap");
}

// Same-size copies between and within true-colour surfaces, through a clip
// of two rectangles whose order matters when a copy overlaps itself: each
// destination pixel inside the clip takes the source pixel as it was before
// the copy, and a pixel whose source lies off the source surface stays.
TEST_F(GdiBlit, CopiesKeepEveryPixelOfTheirSource) {
  struct Case {
    const char* name;
    bool oneSurface;
    int x, y, w, h, sx, sy;
  } cases[] = {
      {"up-left", true, 0, 0, 10, 9, 2, 3},
      {"down-right", true, 3, 2, 11, 10, 0, 0},
      {"sideways", true, 4, 0, 12, 12, 0, 0},
      {"between", false, 1, 2, 12, 12, 0, 0},
      {"source-off-the-edge", false, -2, -1, 13, 13, -3, 4},
  };
  constexpr int kW = 13, kH = 11;
  for (const Case& c : cases) {
    Canvas src(kW, kH), dst(kW, kH);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        SetPixel(src.dc(), x, y, Pattern(x, y));
        SetPixel(dst.dc(), x, y, Pattern(x + 40, y + 40));
      }
    const Canvas& to = c.oneSurface ? src : dst;
    auto before = [&](int x, int y) { return c.oneSurface ? Pattern(x, y) : Pattern(x + 40, y + 40); };
    HRGN clip = CreateRectRgn(0, 0, kW, 5);
    HRGN lower = CreateRectRgn(2, 5, kW - 1, kH);
    CombineRgn(clip, clip, lower, RGN_OR);
    SelectClipRgn(to.dc(), clip);
    ASSERT_TRUE(BitBlt(to.dc(), c.x, c.y, c.w, c.h, src.dc(), c.sx, c.sy, SRCCOPY)) << c.name;
    SelectClipRgn(to.dc(), nullptr);
    DeleteObject(clip);
    DeleteObject(lower);
    ExpectPicture(to.surface(), [&](int x, int y) {
      const bool inClip = y < 5 || (x >= 2 && x < kW - 1);
      const bool inRect = x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h;
      const int fx = x - c.x + c.sx, fy = y - c.y + c.sy;
      const bool onSource = fx >= 0 && fx < kW && fy >= 0 && fy < kH;
      return inClip && inRect && onSource ? Pattern(fx, fy) : before(x, y);
    }, c.name);
  }
}

TEST_F(GdiBlit, StretchNearestAndMirror) {
  Canvas src(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) SetPixel(src.dc(), x, y, Pattern(x, y));
  Canvas dst(6, 6);
  SetStretchBltMode(dst.dc(), COLORONCOLOR);
  StretchBlt(dst.dc(), 0, 0, 6, 4, src.dc(), 0, 0, 3, 2, SRCCOPY);
  // Mirrored left-right into the last two rows (half size).
  StretchBlt(dst.dc(), 5, 4, -6, 2, src.dc(), 0, 0, 3, 2, SRCCOPY);
  ExpectPicture(dst.surface(), [](int x, int y) {
    if (y < 4) return Pattern(x / 2, y / 2);
    return Pattern(2 - x / 2, y - 4);
  }, "stretch");
  // Reading outside the source leaves the destination alone.
  Canvas d2(4, 1);
  BitBlt(d2.dc(), 0, 0, 4, 1, src.dc(), 1, 0, SRCCOPY);
  EXPECT_EQ(d2.At(0, 0), Pattern(1, 0));
  EXPECT_EQ(d2.At(2, 0), RGB(255, 255, 255));
}

TEST_F(GdiBlit, BadArgumentsFail) {
  Canvas c(2, 2);
  EXPECT_FALSE(BitBlt(nullptr, 0, 0, 1, 1, c.dc(), 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(c.dc(), 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
  EXPECT_TRUE(BitBlt(c.dc(), 0, 0, 1, 1, nullptr, 0, 0, PATCOPY));  // no source needed
  EXPECT_FALSE(BitBlt(c.dc(), 0, 0, 1, 1, reinterpret_cast<HDC>(c.bitmap()), 0, 0, SRCCOPY));
}

}  // namespace
