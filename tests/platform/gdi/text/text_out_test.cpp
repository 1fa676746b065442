// Where TextOut and ExtTextOut put the text, its colours and background, its
// clipping, and the character sets the bytes are read in.
#include <string>

#include "gdi/text/code_page.h"
#include "text_fixture.h"

namespace {

using text_test::FontSpec;
using text_test::TextTest;

// "H" has no descender and sits on the baseline; its ink lies inside the
// text cell that the alignment places at the reference point.
TEST_F(TextTest, AlignmentPlacesTheCell) {
  Use(FontSpec{-24, "Arial"});
  const TEXTMETRIC tm = Metrics();
  const int w = Extent("H").cx;
  const int x = 150, y = 60;
  const struct {
    UINT align;
    int left, top;  // of the cell, relative to the reference point
  } cases[] = {
      {TA_LEFT | TA_TOP, 0, 0},
      {TA_LEFT | TA_BASELINE, 0, -int(tm.tmAscent)},
      {TA_LEFT | TA_BOTTOM, 0, -int(tm.tmHeight)},
      {TA_RIGHT | TA_TOP, -w, 0},
      {TA_CENTER | TA_TOP, -w / 2, 0},
      {TA_CENTER | TA_BASELINE, -w / 2, -int(tm.tmAscent)},
      {TA_RIGHT | TA_BOTTOM, -w, -int(tm.tmHeight)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.align);
    Clear();
    SetTextAlign(dc_, c.align);
    ASSERT_TRUE(TextOut(dc_, x, y, "H", 1));
    RECT ink = InkBox();
    const int cellLeft = x + c.left, cellTop = y + c.top;
    const int baseline = cellTop + tm.tmAscent;
    EXPECT_GE(ink.left, cellLeft);
    EXPECT_LE(ink.right, cellLeft + w);
    EXPECT_GE(ink.top, cellTop + tm.tmInternalLeading);
    EXPECT_EQ(ink.bottom, baseline);  // the stems stand on the baseline
    // And nearly fill the cap height: the glyph is really there.
    EXPECT_LT(ink.top, baseline - tm.tmAscent / 2);
  }
}

TEST_F(TextTest, UpdateCpMovesThePosition) {
  Use(FontSpec{-16, "Arial"});
  const int ab = Extent("ab").cx, cd = Extent("cd").cx;
  MoveToEx(dc_, 20, 30, nullptr);
  SetTextAlign(dc_, TA_UPDATECP);
  TextOut(dc_, 999, 999, "ab", 2);  // the coordinates are not used
  TextOut(dc_, 999, 999, "cd", 2);
  POINT p{};
  GetCurrentPositionEx(dc_, &p);
  EXPECT_EQ(p.x, 20 + ab + cd);
  EXPECT_EQ(p.y, 30);
  RECT ink = InkBox();
  EXPECT_GE(ink.left, 20);
  EXPECT_LE(ink.right, 20 + ab + cd);
  EXPECT_GE(ink.top, 30);

  // Right-aligned text ends at the position and moves it left; centred text
  // leaves it.
  SetTextAlign(dc_, TA_UPDATECP | TA_RIGHT);
  TextOut(dc_, 0, 0, "ab", 2);
  GetCurrentPositionEx(dc_, &p);
  EXPECT_EQ(p.x, 20 + cd);
  SetTextAlign(dc_, TA_UPDATECP | TA_CENTER);
  TextOut(dc_, 0, 0, "ab", 2);
  GetCurrentPositionEx(dc_, &p);
  EXPECT_EQ(p.x, 20 + cd);

  // ExtTextOut's widths move it by their sum.
  SetTextAlign(dc_, TA_UPDATECP);
  const INT dx[3] = {10, 11, 12};
  ExtTextOut(dc_, 0, 0, 0, nullptr, "xyz", 3, dx);
  GetCurrentPositionEx(dc_, &p);
  EXPECT_EQ(p.x, 20 + cd + 33);
}

TEST_F(TextTest, TextColourAndBackgroundModes) {
  Use(FontSpec{-24, "Arial"});
  const TEXTMETRIC tm = Metrics();
  const int w = Extent("Hi there").cx;
  SetTextColor(dc_, RGB(255, 0, 0));
  SetBkColor(dc_, RGB(0, 0, 255));

  // Transparent: only ink changes; the fully covered pixels are exactly the
  // text colour.
  SetBkMode(dc_, TRANSPARENT);
  TextOut(dc_, 10, 10, "Hi there", 8);
  RECT ink = InkBox();
  EXPECT_GT(ink.right, ink.left);
  EXPECT_EQ(Pixel(ink.left + 1, ink.bottom - 1) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(CountNot(0xFFFFFF, RECT{0, 0, 320, 120}), CountNot(0xFFFFFF, ink));

  // Opaque: the text cell and nothing else takes the background colour
  // where there is no ink.
  Clear();
  SetBkMode(dc_, OPAQUE);
  TextOut(dc_, 10, 10, "Hi there", 8);
  EXPECT_EQ(InkBox().left, 10);
  EXPECT_EQ(InkBox().top, 10);
  EXPECT_EQ(InkBox().right, 10 + w);
  EXPECT_EQ(InkBox().bottom, 10 + tm.tmHeight);
  EXPECT_EQ(Pixel(10, 10), 0x0000FFu);
  EXPECT_EQ(Pixel(10 + w - 1, 10 + tm.tmHeight - 1), 0x0000FFu);
}

TEST_F(TextTest, ExtTextOutOpaqueAndClippedRectangles) {
  Use(FontSpec{-24, "Arial"});
  SetBkColor(dc_, RGB(0, 255, 0));
  const RECT box{40, 20, 90, 50};

  // ETO_OPAQUE fills the rectangle even without text.
  ASSERT_TRUE(ExtTextOut(dc_, 0, 0, ETO_OPAQUE, &box, "", 0, nullptr));
  EXPECT_EQ(InkBox(0xFFFFFF).left, 40);
  EXPECT_EQ(InkBox(0xFFFFFF).bottom, 50);
  EXPECT_EQ(CountNot(0xFFFFFF, RECT{0, 0, 320, 120}), 50 * 30);

  // ETO_CLIPPED keeps the ink inside it.
  Clear();
  ExtTextOut(dc_, 30, 15, ETO_CLIPPED, &box, "Clipped text", 12, nullptr);
  RECT ink = InkBox();
  EXPECT_GE(ink.left, box.left);
  EXPECT_LE(ink.right, box.right);
  EXPECT_GE(ink.top, box.top);
  EXPECT_LE(ink.bottom, box.bottom);
  EXPECT_EQ(ink.right, box.right);  // the text runs on past it

  // Without the flag the same text runs out of the rectangle.
  Clear();
  ExtTextOut(dc_, 30, 15, 0, &box, "Clipped text", 12, nullptr);
  EXPECT_GT(InkBox().right, box.right);
}

TEST_F(TextTest, ExtTextOutWidthsPlaceEachCharacter) {
  Use(FontSpec{-16, "Courier New"});
  const INT dx[4] = {30, 30, 30, 30};
  ExtTextOut(dc_, 10, 10, 0, nullptr, "||||", 4, dx);
  // Each bar sits in its own 30-pixel slot, at the same place within it.
  RECT first = InkBoxIn(RECT{10, 0, 40, 120});
  for (int i = 1; i < 4; ++i) {
    RECT slot = InkBoxIn(RECT{10 + 30 * i, 0, 40 + 30 * i, 120});
    EXPECT_EQ(slot.left - first.left, 30 * i);
    EXPECT_EQ(slot.right - first.right, 30 * i);
  }
}

TEST_F(TextTest, ClipRegionsConfineTheInk) {
  Use(FontSpec{-32, "Times New Roman"});
  HRGN left = CreateRectRgn(0, 0, 60, 120);
  HRGN right = CreateRectRgn(100, 0, 320, 120);
  CombineRgn(left, left, right, RGN_OR);
  SelectClipRgn(dc_, left);
  TextOut(dc_, 10, 10, "WWWWWWWW", 8);
  EXPECT_EQ(CountNot(0xFFFFFF, RECT{60, 0, 100, 120}), 0);
  EXPECT_GT(CountNot(0xFFFFFF, RECT{0, 0, 60, 120}), 0);
  EXPECT_GT(CountNot(0xFFFFFF, RECT{100, 0, 320, 120}), 0);
  SelectClipRgn(dc_, nullptr);
  DeleteObject(left);
  DeleteObject(right);
}

TEST_F(TextTest, MonochromeBitmapsTakeOnlyBlackAndWhite) {
  Open(120, 40, 1);
  Use(FontSpec{-16, "Arial"});
  TextOut(dc_, 4, 4, "Mono", 4);
  int black = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 120; ++x) {
      std::uint32_t p = Pixel(x, y) & 0xFFFFFF;
      ASSERT_TRUE(p == 0 || p == 0xFFFFFF) << x << "," << y;
      black += p == 0;
    }
  }
  EXPECT_GT(black, 20);
}

// On a palette display the edges are not blended: every pixel is the
// background or the text colour as the palette shows it.
TEST_F(TextTest, PaletteDisplaysDrawWithoutBlending) {
  ASSERT_TRUE(win::SetDisplayBitsPerPixel(8));
  Close();
  dc_ = CreateCompatibleDC(nullptr);
  HDC screen = GetDC(nullptr);
  bitmap_ = CreateCompatibleBitmap(screen, 120, 40);
  ReleaseDC(nullptr, screen);
  ASSERT_NE(bitmap_, nullptr);
  oldBitmap_ = SelectObject(dc_, bitmap_);
  PatBlt(dc_, 0, 0, 120, 40, WHITENESS);
  SetBkMode(dc_, TRANSPARENT);
  SetTextColor(dc_, RGB(255, 0, 0));
  Use(FontSpec{-16, "Arial"});
  TextOut(dc_, 4, 4, "Palette", 7);
  const std::uint32_t white = Pixel(0, 0);
  int inked = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 120; ++x) {
      std::uint32_t p = Pixel(x, y);
      if (p == white) continue;
      ++inked;
      EXPECT_EQ(p, 0xFF0000u) << x << "," << y;
    }
  }
  EXPECT_GT(inked, 20);
  Close();  // the next test's set-up puts the display depth back
}

TEST_F(TextTest, Windows1252HighBytesAreWindowsCharacters) {
  const win::gdi::text::CodePage& page = win::gdi::text::CodePage::ForCharset(ANSI_CHARSET);
  const struct {
    unsigned char byte;
    char32_t ch;
  } cases[] = {{0x80, 0x20AC}, {0x85, 0x2026}, {0x8A, 0x0160}, {0x93, 0x201C}, {0x94, 0x201D},
               {0x96, 0x2013}, {0x99, 0x2122}, {0x9F, 0x0178}, {0x81, 0x0081}, {0x9D, 0x009D},
               {0xA9, 0x00A9}, {0xE9, 0x00E9}, {0x41, 0x0041}};
  for (const auto& c : cases) {
    char32_t ch = 0;
    EXPECT_EQ(page.Decode(&c.byte, 1, &ch), 1);
    EXPECT_EQ(ch, c.ch) << int(c.byte);
  }
  // Drawn: the euro sign and the quotes have glyphs of their own, unlike the
  // unassigned 0x81, which shows the missing-glyph box.
  Use(FontSpec{-16, "Arial"});
  int w[32] = {};
  ASSERT_TRUE(GetCharWidth(dc_, 0x80, 0x9F, w));
  EXPECT_EQ(w[0x80 - 0x80], 9);   // the euro is as wide as a digit in Arial
  EXPECT_EQ(w[0x93 - 0x80], 5);   // left double quote
  EXPECT_EQ(w[0x99 - 0x80], 16);  // trade mark
  TextOut(dc_, 10, 10, "\x80\x93\x94\x99", 4);
  EXPECT_GT(CountNot(0xFFFFFF, RECT{0, 0, 320, 120}), 40);
}

TEST_F(TextTest, ShiftJisTextIsDrawn) {
  // "日本語" and "abc" in Shift-JIS.
  const char text[] = "\x93\xfa\x96\x7b\x8c\xea" "abc";
  Use(FontSpec{-16, "MS Gothic", FW_NORMAL, false, false, false, SHIFTJIS_CHARSET});
  SIZE sz = Extent(text, 9);
  EXPECT_EQ(sz.cx, 3 * 16 + 3 * 8);  // full-width ideographs, half-width letters
  int dx[9] = {};
  int fit = 0;
  ASSERT_TRUE(GetTextExtentExPoint(dc_, text, 9, 40, &fit, dx, &sz));
  EXPECT_EQ(fit, 4);  // two whole characters: bytes are counted, never half of one
  EXPECT_EQ(dx[0], 16);
  EXPECT_EQ(dx[1], 16);
  EXPECT_EQ(dx[5], 48);
  EXPECT_EQ(dx[6], 56);
  int w = 0;
  ASSERT_TRUE(GetCharWidth(dc_, 0x93FA, 0x93FA, &w));
  EXPECT_EQ(w, 16);
  TextOut(dc_, 10, 10, text, 9);
  for (int i = 0; i < 3; ++i) {
    EXPECT_GT(CountNot(0xFFFFFF, RECT{10 + 16 * i, 0, 26 + 16 * i, 120}), 20) << i;
  }
}

TEST_F(TextTest, EucKrTextIsDrawn) {
  // "한국어" in EUC-KR.
  const char text[] = "\xc7\xd1\xb1\xb9\xbe\xee";
  Use(FontSpec{-16, "Gulim", FW_NORMAL, false, false, false, HANGUL_CHARSET});
  const win::gdi::text::CodePage& page = win::gdi::text::CodePage::ForCharset(HANGUL_CHARSET);
  char32_t ch = 0;
  EXPECT_EQ(page.Decode(reinterpret_cast<const unsigned char*>(text), 6, &ch), 2);
  EXPECT_EQ(ch, 0xD55Cu);
  SIZE sz = Extent(text, 6);
  EXPECT_GT(sz.cx, 3 * 12);
  TextOut(dc_, 10, 10, text, 6);
  int third = sz.cx / 3;
  for (int i = 0; i < 3; ++i) {
    EXPECT_GT(CountNot(0xFFFFFF, RECT{10 + third * i, 0, 10 + third * (i + 1), 120}), 20) << i;
  }
}

TEST_F(TextTest, BrokenDoubleByteTextIsReadSafely) {
  const win::gdi::text::CodePage& sjis = win::gdi::text::CodePage::ForCharset(SHIFTJIS_CHARSET);
  const struct {
    const char* bytes;
    int length;
    int first;  // bytes the first character takes
    char32_t ch;
  } cases[] = {
      {"\x93", 1, 1, win::gdi::text::kReplacementChar},        // lead byte at the end
      {"\x93" "A", 2, 2, 0x912D},                            // 0x93 0x41 is a character
      {"\x81\x20", 2, 1, win::gdi::text::kReplacementChar},  // no partner: the blank stays
      {"\xa1", 1, 1, 0xFF61},                                // half-width katakana
  };
  for (const auto& c : cases) {
    char32_t ch = 0;
    EXPECT_EQ(sjis.Decode(reinterpret_cast<const unsigned char*>(c.bytes), c.length, &ch), c.first);
    EXPECT_EQ(ch, c.ch);
  }
  Use(FontSpec{-16, "MS Gothic", FW_NORMAL, false, false, false, SHIFTJIS_CHARSET});
  EXPECT_TRUE(TextOut(dc_, 10, 10, "ab\x93", 3));
  int dx[3] = {};
  int fit = 0;
  SIZE sz{};
  ASSERT_TRUE(GetTextExtentExPoint(dc_, "ab\x93", 3, 1000, &fit, dx, &sz));
  EXPECT_EQ(fit, 3);
  EXPECT_EQ(dx[2], sz.cx);
}


TEST_F(TextTest, NonAntialiasedQualityDrawsWholePixels) {
  HFONT f = CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, 0, "Arial");
  HGDIOBJ old = SelectObject(dc_, f);
  TextOut(dc_, 4, 4, "Sharp edges", 11);
  int black = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 120; ++x) {
      std::uint32_t p = Pixel(x, y) & 0xFFFFFF;
      ASSERT_TRUE(p == 0 || p == 0xFFFFFF) << x << "," << y;
      black += p == 0;
    }
  }
  EXPECT_GT(black, 40);
  SelectObject(dc_, old);
  DeleteObject(f);
}

// A printer page measures in its own pixels: the same LOGFONT height is the
// same number of device pixels, and the metrics report the page's resolution.
TEST_F(TextTest, PrinterPagesReportTheirResolution) {
  HDC printer = CreateDC("WINSPOOL", "Printer", nullptr, nullptr);
  ASSERT_NE(printer, nullptr);
  HFONT f = text_test::MakeFont(FontSpec{-50, "Times New Roman"});
  HGDIOBJ old = SelectObject(printer, f);
  TEXTMETRIC tm{};
  ASSERT_TRUE(GetTextMetrics(printer, &tm));
  EXPECT_EQ(tm.tmDigitizedAspectY, GetDeviceCaps(printer, LOGPIXELSY));
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 50);
  SelectObject(printer, old);
  DeleteObject(f);
  DeleteDC(printer);
}

}  // namespace
