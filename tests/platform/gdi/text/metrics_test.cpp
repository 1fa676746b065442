// Text metrics of the mapped faces, extents, character widths, and the
// weight, slant and line attributes of a LOGFONT.
#include <string>
#include <vector>

#include "text_fixture.h"

namespace {

using text_test::FontSpec;
using text_test::TextTest;

struct MetricsCase {
  FontSpec font;
  LONG height, ascent, descent, internalLeading;
};

// Worked out from the faces' OS/2 tables: a negative height is the em, so
// ascent = round(usWinAscent * em / unitsPerEm); a positive one is the cell,
// split in the ratio of usWinAscent to usWinDescent.
TEST_F(TextTest, MetricsOfMappedFaces) {
  const MetricsCase cases[] = {
      {{-16, "Arial"}, 17, 14, 3, 1},
      {{16, "Arial"}, 16, 13, 3, 2},
      {{20, "Arial"}, 20, 16, 4, 2},
      {{-13, "Times New Roman"}, 15, 12, 3, 2},
      {{-16, "Courier New"}, 18, 13, 5, 2},
      {{16, "MS Gothic", FW_NORMAL, false, false, false, SHIFTJIS_CHARSET}, 16, 13, 3, 1},
      {{-16, "Gulim", FW_NORMAL, false, false, false, HANGUL_CHARSET}, 19, 15, 4, 3},
  };
  for (const MetricsCase& c : cases) {
    SCOPED_TRACE(std::string(c.font.face) + " " + std::to_string(c.font.height));
    Use(c.font);
    TEXTMETRIC tm = Metrics();
    EXPECT_EQ(tm.tmHeight, c.height);
    EXPECT_EQ(tm.tmAscent, c.ascent);
    EXPECT_EQ(tm.tmDescent, c.descent);
    EXPECT_EQ(tm.tmInternalLeading, c.internalLeading);
    EXPECT_EQ(tm.tmDigitizedAspectX, 96);
    EXPECT_EQ(tm.tmCharSet, c.font.charset);
    EXPECT_TRUE(tm.tmPitchAndFamily & TMPF_TRUETYPE);
  }
}

TEST_F(TextTest, HeightsPositiveAreCellsNegativeAreEms) {
  for (const char* face : {"Arial", "Times New Roman", "Courier New", "MS Gothic", "Gulim"}) {
    for (int h = 6; h <= 72; h += 5) {
      SCOPED_TRACE(std::string(face) + " " + std::to_string(h));
      Use(FontSpec{h, face});
      TEXTMETRIC cell = Metrics();
      EXPECT_EQ(cell.tmHeight, h);
      EXPECT_EQ(cell.tmAscent + cell.tmDescent, cell.tmHeight);
      Use(FontSpec{-h, face});
      TEXTMETRIC em = Metrics();
      EXPECT_EQ(em.tmAscent + em.tmDescent, em.tmHeight);
      EXPECT_EQ(em.tmHeight - em.tmInternalLeading, h);
      EXPECT_GE(em.tmHeight, cell.tmHeight);
    }
  }
}

TEST_F(TextTest, PitchAndAverageWidths) {
  Use(FontSpec{-16, "Courier New"});
  TEXTMETRIC mono = Metrics();
  EXPECT_EQ(mono.tmAveCharWidth, mono.tmMaxCharWidth);
  EXPECT_FALSE(mono.tmPitchAndFamily & TMPF_FIXED_PITCH);  // the bit means variable pitch
  EXPECT_EQ(mono.tmPitchAndFamily & 0xF0, FF_MODERN);
  int widths[95] = {};
  ASSERT_TRUE(GetCharWidth32(dc_, 0x20, 0x7E, widths));
  for (int w : widths) EXPECT_EQ(w, mono.tmAveCharWidth);

  // Arial's average is that of the Windows face (weighted lower-case
  // letters), 7 pixels at 12 points.
  Use(FontSpec{-16, "Arial"});
  TEXTMETRIC sans = Metrics();
  EXPECT_EQ(sans.tmAveCharWidth, 7);
  EXPECT_TRUE(sans.tmPitchAndFamily & TMPF_FIXED_PITCH);
  EXPECT_EQ(sans.tmPitchAndFamily & 0xF0, FF_SWISS);

  // A LOGFONT width sets the average width and stretches the text.
  SIZE normal = Extent("Stretched text");
  Use(FontSpec{-16, "Arial", FW_NORMAL, false, false, false, ANSI_CHARSET, 0, 14});
  EXPECT_NEAR(Metrics().tmAveCharWidth, 14, 1);
  EXPECT_NEAR(Extent("Stretched text").cx, normal.cx * 2, normal.cx / 8);
}

TEST_F(TextTest, ExtentsAgreeWithCharacterWidths) {
  Use(FontSpec{-16, "Arial"});
  const std::string text = "Hello, Wide World";
  std::vector<int> widths(256);
  ASSERT_TRUE(GetCharWidth(dc_, 0, 255, widths.data()));
  int sum = 0;
  for (unsigned char ch : text) sum += widths[ch];
  SIZE sz = Extent(text.c_str());
  EXPECT_EQ(sz.cx, sum);
  EXPECT_EQ(sz.cy, Metrics().tmHeight);
  EXPECT_LT(widths['i'], widths['W']);
  // Metric compatibility: Arial's advance widths at 12 points.
  EXPECT_EQ(widths['W'], 15);
  EXPECT_EQ(widths['i'], 4);
  EXPECT_EQ(widths[' '], 4);

  SIZE empty{};
  EXPECT_TRUE(GetTextExtentPoint(dc_, "", 0, &empty));
  EXPECT_EQ(empty.cx, 0);

  SetTextCharacterExtra(dc_, 3);
  EXPECT_EQ(Extent(text.c_str()).cx, sum + 3 * int(text.size()));
}

TEST_F(TextTest, ExtentExFitsWholeCharacters) {
  Use(FontSpec{-16, "Arial"});
  const char* text = "abcdefgh";
  int dx[8] = {};
  int fit = -1;
  SIZE all{};
  ASSERT_TRUE(GetTextExtentExPoint(dc_, text, 8, 1000, &fit, dx, &all));
  EXPECT_EQ(fit, 8);
  EXPECT_EQ(dx[7], all.cx);
  for (int i = 1; i < 8; ++i) EXPECT_GT(dx[i], dx[i - 1]);
  const struct {
    int maxExtent;
    int fit;
  } cases[] = {{0, 0}, {dx[0] - 1, 0}, {dx[0], 1}, {dx[3], 4}, {dx[3] + 1, 4}, {dx[7] - 1, 7}};
  for (const auto& c : cases) {
    SIZE sz{};
    ASSERT_TRUE(GetTextExtentExPoint(dc_, text, 8, c.maxExtent, &fit, nullptr, &sz));
    EXPECT_EQ(fit, c.fit) << c.maxExtent;
    EXPECT_EQ(sz.cx, all.cx);  // the size is always the whole text's
  }
}

TEST_F(TextTest, BoldFacesAndSimulatedBold) {
  Use(FontSpec{-16, "Arial"});
  SIZE regular = Extent("Bold text");
  Use(FontSpec{-16, "Arial", FW_BOLD});
  EXPECT_EQ(Metrics().tmWeight, FW_BOLD);
  EXPECT_GT(Extent("Bold text").cx, regular.cx);

  // IPA Gothic has no bold file: the outline is thickened and every advance
  // grows by a pixel.
  FontSpec gothic{-16, "MS Gothic", FW_NORMAL, false, false, false, SHIFTJIS_CHARSET};
  Use(gothic);
  SIZE thin = Extent("abc");
  TextOut(dc_, 10, 10, "abc", 3);
  long thinInk = Darkness(RECT{0, 0, 320, 120});
  Clear();
  gothic.weight = FW_BOLD;
  Use(gothic);
  EXPECT_EQ(Metrics().tmWeight, FW_BOLD);
  EXPECT_EQ(Extent("abc").cx, thin.cx + 3);
  TextOut(dc_, 10, 10, "abc", 3);
  EXPECT_GT(Darkness(RECT{0, 0, 320, 120}), thinInk * 5 / 4);
}

TEST_F(TextTest, SimulatedItalicLeansRight) {
  auto leanOf = [&](bool italic) {
    Clear();
    Use(FontSpec{-40, "MS Gothic", FW_NORMAL, italic, false, false, SHIFTJIS_CHARSET});
    TextOut(dc_, 20, 10, "l", 1);
    RECT box = InkBox();
    int quarter = (box.bottom - box.top) / 4;
    RECT top = InkBoxIn(RECT{0, box.top, 320, box.top + quarter});
    RECT bottom = InkBoxIn(RECT{0, box.bottom - quarter, 320, box.bottom});
    return top.left - bottom.left;
  };
  EXPECT_EQ(leanOf(false), 0);
  EXPECT_GE(leanOf(true), 4);
  Use(FontSpec{-16, "MS Gothic", FW_NORMAL, true, false, false, SHIFTJIS_CHARSET});
  EXPECT_EQ(Metrics().tmItalic, 1);
}

// Underline and strike-out run under and through the blanks too, at the
// font's own positions: the underline below the baseline, strike-out above.
TEST_F(TextTest, UnderlineAndStrikeOutLines) {
  const int x = 10, y = 10;
  const char* text = "ab      cd";  // a gap of blanks with no ink of its own
  Use(FontSpec{-24, "Arial"});
  const TEXTMETRIC tm = Metrics();
  const int baseline = y + tm.tmAscent;
  const int gapLeft = x + Extent("ab ").cx;
  const int gapRight = x + Extent("ab     ").cx;
  const RECT gap{gapLeft, 0, gapRight, 120};

  TextOut(dc_, x, y, text, 10);
  EXPECT_EQ(CountNot(0xFFFFFF, gap), 0);

  const struct {
    bool underline, strikeOut;
  } cases[] = {{true, false}, {false, true}, {true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.underline ? "underline " : "") + (c.strikeOut ? "strike-out" : ""));
    Clear();
    Use(FontSpec{-24, "Arial", FW_NORMAL, false, c.underline, c.strikeOut});
    TEXTMETRIC lined = Metrics();
    EXPECT_EQ(lined.tmUnderlined, c.underline ? 1 : 0);
    EXPECT_EQ(lined.tmStruckOut, c.strikeOut ? 1 : 0);
    EXPECT_EQ(lined.tmHeight, tm.tmHeight);
    TextOut(dc_, x, y, text, 10);
    RECT below = InkBoxIn(RECT{gapLeft, baseline, gapRight, 120});
    RECT above = InkBoxIn(RECT{gapLeft, 0, gapRight, baseline});
    if (c.underline) {
      EXPECT_EQ(below.left, gapLeft);
      EXPECT_EQ(below.right, gapRight);
      EXPECT_LT(below.bottom, baseline + tm.tmDescent + 1);
      // The line spans the whole text, not more.
      RECT line = InkBoxIn(RECT{0, below.top, 320, below.bottom});
      EXPECT_EQ(line.left, x);
      EXPECT_EQ(line.right, x + Extent(text).cx);
    } else {
      EXPECT_EQ(below.right, 0);
    }
    if (c.strikeOut) {
      EXPECT_EQ(above.left, gapLeft);
      EXPECT_EQ(above.right, gapRight);
      EXPECT_GT(above.top, y + tm.tmInternalLeading);
      EXPECT_LT(above.bottom, baseline - 2);
    } else {
      EXPECT_EQ(above.right, 0);
    }
  }
}

TEST_F(TextTest, InformationContextsMeasureWithoutDrawing) {
  HDC ic = CreateIC("DISPLAY", nullptr, nullptr, nullptr);
  ASSERT_NE(ic, nullptr);
  HFONT f = text_test::MakeFont(FontSpec{-16, "Arial"});
  HGDIOBJ old = SelectObject(ic, f);
  SIZE sz{};
  EXPECT_TRUE(GetTextExtentPoint32(ic, "Hello", 5, &sz));
  EXPECT_GT(sz.cx, 20);
  EXPECT_TRUE(TextOut(ic, 0, 0, "Hello", 5));
  SelectObject(ic, old);
  DeleteObject(f);
  DeleteDC(ic);
}

}  // namespace
