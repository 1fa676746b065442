// DrawText: line breaking, alignment in the rectangle, DT_CALCRECT against
// what is drawn, the prefix character, tabs and clipping.
#include <string>
#include <vector>

#include "text_fixture.h"

namespace {

using text_test::FontSpec;
using text_test::TextTest;

constexpr std::uint32_t kRed = 0xFF0000;  // pixel form of the background below

class DrawTextTest : public TextTest {
 protected:
  void SetUp() override {
    TextTest::SetUp();
    Open(400, 200);
    Use(FontSpec{-16, "Arial"});
  }
  // Draws with an opaque red background, so each line's cell shows.
  int DrawOpaque(const char* text, RECT r, UINT format) {
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, RGB(255, 0, 0));
    int h = DrawText(dc_, text, -1, &r, format);
    SetBkMode(dc_, TRANSPARENT);
    return h;
  }
  // The bounds of the pixels that are exactly the background red.
  RECT RedBox() {
    RECT box{0, 0, 0, 0};
    bool any = false;
    for (int y = 0; y < surface().height(); ++y) {
      for (int x = 0; x < surface().width(); ++x) {
        if ((Pixel(x, y) & 0xFFFFFF) != kRed) continue;
        if (!any) box = RECT{x, y, x + 1, y + 1};
        any = true;
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
    }
    return box;
  }
  RECT Calc(const char* text, RECT r, UINT format) {
    DrawText(dc_, text, -1, &r, format | DT_CALCRECT);
    return r;
  }
  // Greedy word wrap from measured words, as a reader would do it by hand.
  std::vector<std::string> Wrap(const std::string& text, int width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t pos = 0;
    while (pos < text.size()) {
      std::size_t end = text.find(' ', pos);
      if (end == std::string::npos) end = text.size();
      std::string word = text.substr(pos, end - pos);
      std::string candidate = line.empty() ? word : line + " " + word;
      if (!line.empty() && Extent(candidate.c_str()).cx > width) {
        lines.push_back(line);
        line = word;
      } else {
        line = candidate;
      }
      pos = end + 1;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
  }
};

TEST_F(DrawTextTest, WordBreakMatchesMeasuredWords) {
  const std::string text = "The quick brown fox jumps over the lazy dog and runs far away";
  const int lineHeight = Metrics().tmHeight;
  for (int width : {60, 90, 130, 200, 400}) {
    SCOPED_TRACE(width);
    std::vector<std::string> expected = Wrap(text, width);
    RECT calc = Calc(text.c_str(), RECT{10, 10, 10 + width, 10}, DT_WORDBREAK);
    EXPECT_EQ(calc.bottom - calc.top, int(expected.size()) * lineHeight);
    int widest = 0;
    for (const std::string& l : expected) widest = std::max<int>(widest, Extent(l.c_str()).cx);
    EXPECT_EQ(calc.right - calc.left, widest);
    // Drawn: each line's cell is as wide as that line.
    Clear();
    int h = DrawOpaque(text.c_str(), RECT{10, 10, 10 + width, 190}, DT_WORDBREAK);
    EXPECT_EQ(h, int(expected.size()) * lineHeight);
    for (std::size_t i = 0; i < expected.size() && i < 10; ++i) {
      int y = 10 + int(i) * lineHeight;
      RECT row = InkBoxIn(RECT{0, y, 400, y + 1});
      EXPECT_EQ(row.right - row.left, Extent(expected[i].c_str()).cx) << expected[i];
    }
  }
}

TEST_F(DrawTextTest, LongWordsAreNotSplit) {
  RECT calc = Calc("Incomprehensibilities", RECT{0, 0, 40, 0}, DT_WORDBREAK);
  EXPECT_EQ(calc.bottom, Metrics().tmHeight);
  EXPECT_EQ(calc.right, Extent("Incomprehensibilities").cx);
  // Blanks at a break belong to neither line.
  RECT two = Calc("aaaa     bbbb", RECT{0, 0, Extent("aaaa  ").cx, 0}, DT_WORDBREAK);
  EXPECT_EQ(two.bottom, 2 * Metrics().tmHeight);
  EXPECT_EQ(two.right, Extent("aaaa").cx);
}

TEST_F(DrawTextTest, LinesEndAtNewlines) {
  const int h = Metrics().tmHeight;
  const struct {
    const char* text;
    UINT format;
    int lines;
  } cases[] = {
      {"one", 0, 1},         {"one\ntwo", 0, 2},   {"one\r\ntwo", 0, 2},
      {"one\rtwo", 0, 2},    {"one\n", 0, 1},      {"one\n\n", 0, 2},
      {"\n", 0, 1},          {"", 0, 0},           {"one\ntwo", DT_SINGLELINE, 1},
      {"a\nb c", DT_WORDBREAK, 2},
  };
  for (const auto& c : cases) {
    RECT r = Calc(c.text, RECT{5, 7, 300, 7}, c.format);
    EXPECT_EQ(r.bottom - r.top, c.lines * h) << c.text;
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.top, 7);
  }
  RECT empty = Calc("", RECT{5, 7, 300, 50}, 0);
  EXPECT_EQ(empty.right, 5);
  EXPECT_EQ(empty.bottom, 7);
}

// The background cells drawn cover exactly the rectangle that DT_CALCRECT
// gave, whatever the layout. (Ink may stand out of its cell: an italic or
// an 'f' reaches past its advance, as on Windows.)
TEST_F(DrawTextTest, CalcRectEqualsTheDrawnBounds) {
  const struct {
    const char* text;
    UINT format;
  } cases[] = {
      {"Single line", DT_SINGLELINE},
      {"Single line &with prefix", DT_SINGLELINE},
      {"Two\nlines of text", 0},
      {"Wrapped words of some length go on for a while", DT_WORDBREAK},
      {"Tabs\tin\ttext", DT_EXPANDTABS | DT_SINGLELINE},
      {"No &prefix here", DT_SINGLELINE | DT_NOPREFIX},
  };
  SetTextColor(dc_, RGB(255, 0, 0));  // ink over the cells stays the cells' red
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    RECT calc = Calc(c.text, RECT{20, 30, 160, 30}, c.format);
    Clear();
    DrawOpaque(c.text, RECT{20, 30, 160, 200}, c.format | DT_NOCLIP);
    RECT cells = RedBox();
    EXPECT_EQ(cells.left, calc.left);
    EXPECT_EQ(cells.top, calc.top);
    EXPECT_EQ(cells.right, calc.right);
    EXPECT_EQ(cells.bottom, calc.bottom);
  }
}

TEST_F(DrawTextTest, AlignmentInTheRectangle) {
  const RECT box{40, 20, 340, 180};
  const int w = Extent("Aligned").cx;
  const int h = Metrics().tmHeight;
  const struct {
    UINT format;
    int left, top;  // where the cell must start
    int result;
  } cases[] = {
      {DT_LEFT | DT_TOP | DT_SINGLELINE, 40, 20, h},
      {DT_CENTER | DT_SINGLELINE, 40 + (300 - w) / 2, 20, h},
      {DT_RIGHT | DT_SINGLELINE, 340 - w, 20, h},
      {DT_VCENTER | DT_SINGLELINE, 40, 20 + (160 - h) / 2, (160 - h) / 2 + h},
      {DT_BOTTOM | DT_RIGHT | DT_SINGLELINE, 340 - w, 180 - h, 160},
      {DT_CENTER | DT_VCENTER | DT_SINGLELINE, 40 + (300 - w) / 2, 20 + (160 - h) / 2,
       (160 - h) / 2 + h},
      // Vertical centring needs DT_SINGLELINE.
      {DT_VCENTER, 40, 20, h},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    Clear();
    EXPECT_EQ(DrawOpaque("Aligned", box, c.format), c.result);
    RECT cell = InkBox();
    EXPECT_EQ(cell.left, c.left);
    EXPECT_EQ(cell.top, c.top);
    EXPECT_EQ(cell.right, c.left + w);
    EXPECT_EQ(cell.bottom, c.top + h);
  }
}

TEST_F(DrawTextTest, PrefixUnderlinesOneCharacter) {
  const int x = 20, y = 20;
  const TEXTMETRIC tm = Metrics();
  const int baseline = y + tm.tmAscent;
  RECT r{x, y, 300, 100};
  DrawText(dc_, "&File", -1, &r, DT_SINGLELINE);
  // The '&' takes no room: the text is as wide as "File".
  RECT calc = Calc("&File", RECT{x, y, 300, y}, DT_SINGLELINE);
  EXPECT_EQ(calc.right - calc.left, Extent("File").cx);
  // Below the baseline only the F's underline has ink.
  RECT under = InkBoxIn(RECT{0, baseline, 400, y + tm.tmHeight});
  EXPECT_EQ(under.left, x);
  EXPECT_EQ(under.right, x + Extent("F").cx);

  const struct {
    const char* text;
    UINT format;
    const char* shown;
  } cases[] = {
      {"a&&b", DT_SINGLELINE, "a&b"},
      {"a&&b", DT_SINGLELINE | DT_NOPREFIX, "a&&b"},
      {"&File", DT_SINGLELINE | DT_NOPREFIX, "&File"},
      {"end&", DT_SINGLELINE, "end"},
  };
  for (const auto& c : cases) {
    RECT m = Calc(c.text, RECT{0, 0, 300, 0}, c.format);
    EXPECT_EQ(m.right, Extent(c.shown).cx) << c.text;
  }
  // A doubled '&' is a plain one: nothing is underlined.
  Clear();
  r = RECT{x, y, 300, 100};
  DrawText(dc_, "a&&b", -1, &r, DT_SINGLELINE);
  RECT amp = InkBoxIn(RECT{0, baseline + 1, 400, y + tm.tmHeight});
  EXPECT_EQ(amp.right, 0);
}

TEST_F(DrawTextTest, TabsExpandToStops) {
  const int ave = Metrics().tmAveCharWidth;
  const int b = Extent("b").cx;
  const int stop = 8 * ave;
  const int longRun = Extent("abcdefghijklmnop").cx;
  const struct {
    const char* text;
    UINT format;
    int width;
  } cases[] = {
      {"a\tb", DT_EXPANDTABS, 8 * ave + b},
      {"a\t\tb", DT_EXPANDTABS, 16 * ave + b},
      {"abcdefghijklmnop\tb", DT_EXPANDTABS, (longRun / stop + 1) * stop + b},
      // Four characters a stop; the high byte is then no set of flags (the
      // 0x400 of the count is no DT_CALCRECT): the text is drawn.
      {"a\tb", DT_EXPANDTABS | DT_TABSTOP | (4 << 8), 4 * ave + b},
  };
  SetTextColor(dc_, RGB(255, 0, 0));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Clear();
    DrawOpaque(c.text, RECT{0, 0, 400, 100}, c.format | DT_SINGLELINE);
    EXPECT_EQ(RedBox().right, c.width);
  }
}

TEST_F(DrawTextTest, ClipsToTheRectangleUnlessNoClip) {
  const RECT box{20, 20, 60, 60};
  RECT r = box;
  DrawText(dc_, "Far too wide for the box", -1, &r, DT_SINGLELINE);
  RECT ink = InkBox();
  EXPECT_GE(ink.left, box.left);
  EXPECT_EQ(ink.right, box.right);
  Clear();
  r = box;
  DrawText(dc_, "Far too wide for the box", -1, &r, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(InkBox().right, box.right + 50);
}

// The caption measure and draw calls of a page label (fitted rectangle, then
// a centred, vertically centred single line), in a face and size the pages use.
TEST_F(DrawTextTest, LabelCaptionFitsItsMeasure) {
  Use(FontSpec{20, "Times New Roman"});
  RECT fit{10, 10, 390, 190};
  DrawText(dc_, "Collection title", -1, &fit, 0xD20);  // SINGLELINE|NOCLIP|CALCRECT|NOPREFIX
  EXPECT_EQ(fit.bottom - fit.top, 20);
  const int w = fit.right - fit.left;
  RECT label{10, 10, 10 + w + 10, 10 + 20 + 6};
  RECT inner{label.left + 5, label.top, label.right - 5, label.bottom};
  DrawText(dc_, "Collection title", -1, &inner, DT_CENTER | 0x924);
  RECT ink = InkBox();
  EXPECT_GE(ink.left, inner.left);
  EXPECT_LE(ink.right, inner.right + 1);
  EXPECT_GE(ink.top, label.top);
  EXPECT_LE(ink.bottom, label.bottom);
}

}  // namespace
