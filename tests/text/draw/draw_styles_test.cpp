#include "text/draw/draw_styles.h"

#include <gtest/gtest.h>

#include "text/support/profile_app.h"
#include "text/draw/gdi_specs.h"
#include "text/style/color_table.h"
#include "win/user.h"

namespace {

FontDescriptor profileStyle(int i, BYTE highlight = 0, LONG colorIndex = -1, WORD scale = 100) {
  FontDescriptor d(i, 0, scale, highlight);
  d.colorIndex = colorIndex;
  return d;
}

FontDescriptor builtIn(int k, BYTE highlight = 0) {
  FontDescriptor d;
  d.styleNumber = FontDescriptor::BuiltInStored(k);
  d.highlight = highlight;
  return d;
}

class DrawStylesTest : public ::testing::Test {
 protected:
  void SetUp() override { win::ClearMessageBoxLog(); }
  void TearDown() override { win::ClearMessageBoxLog(); }
};

TEST_F(DrawStylesTest, ColorNames) {
  struct Case {
    const char* name;
    int line, fill;
  };
  const Case cases[] = {{"Anchor5", 13, 61},   {"Marker7", 39, 87},   {"Anchor24", 1, 49}, {"nonsense", 1, 49},
                        {"headline", 2, 50},   {"DarkGray", 7, 55},   {"Anchor", 1, 49},   {"Marker08", 1, 49}};
  for (const Case& c : cases) {
    ProfileApp app("[Styles]\nDrawStyles=2\n[DrawStyle 1]\nDrawColor=" + std::string(c.name) + "\n");
    const DrawStyle& s = DrawStyles::Lookup(profileStyle(1));
    EXPECT_EQ(s.lineColor, c.line) << c.name;
    EXPECT_EQ(s.fillColor, c.fill) << c.name;
    EXPECT_EQ(s.hatch, kNoFill);
  }
}

TEST_F(DrawStylesTest, FontsFallBackOnEntryZero) {
  ProfileApp app(
      "[Styles]\nDrawStyles=4\n"
      "[DrawStyle 0]\nFont=Arial,12\n"
      "[DrawStyle 2]\nFont=,18,1,2\n"
      "[DrawStyle 3]\nFont=Courier\nPen=3\n");
  const DrawStyle& two = DrawStyles::Lookup(profileStyle(2));
  EXPECT_EQ(two.face, "Arial");
  EXPECT_EQ(two.size, 18);
  EXPECT_EQ(two.strikeOut, 1);
  EXPECT_EQ(two.charSet, 2);
  const DrawStyle& three = DrawStyles::Lookup(profileStyle(3));
  EXPECT_EQ(three.face, "Courier");
  EXPECT_EQ(three.size, 12);
  EXPECT_EQ(PenSpec(profileStyle(3, 0, -1, 150)).Width(), 4);
}

TEST_F(DrawStylesTest, EntryZeroWithoutFontIsTimesAtTen) {
  ProfileApp app("[Styles]\nDrawStyles=1\n");
  const DrawStyle& zero = DrawStyles::Lookup(profileStyle(0));
  EXPECT_EQ(zero.face, "Times New Roman");
  EXPECT_EQ(zero.size, 10);
  EXPECT_EQ(zero.lineColor, 1);
}

TEST_F(DrawStylesTest, MissingSectionWarnsAndFallsBackToBuiltInZero) {
  ProfileApp app("[Other]\nx=1\n");
  const DrawStyle& s = DrawStyles::Lookup(profileStyle(4));
  ASSERT_EQ(win::MessageBoxLog().size(), 1u);
  EXPECT_EQ(win::MessageBoxLog()[0].caption, "Fehler!");
  EXPECT_EQ(win::MessageBoxLog()[0].text, "Sektion [Styles] in der ini-Datei " + app.iniPath() + " nicht gefunden");
  EXPECT_EQ(&s, &DrawStyles::Lookup(builtIn(0)));
  EXPECT_EQ(s.lineColor, 8);
  EXPECT_EQ(s.fillColor, 56);
  EXPECT_EQ(DrawStyles::ProfileCount(), 0);
}

TEST_F(DrawStylesTest, NumbersOutsideTheTablesUseBuiltInZero) {
  ProfileApp app("[Styles]\nDrawStyles=2\n");
  const DrawStyle* zero = &DrawStyles::Lookup(builtIn(0));
  FontDescriptor none;  // stored 0: no style
  EXPECT_EQ(&DrawStyles::Lookup(none), zero);
  EXPECT_EQ(&DrawStyles::Lookup(profileStyle(7)), zero);  // beyond the two configured
  FontDescriptor deep;
  deep.styleNumber = -200;
  EXPECT_EQ(&DrawStyles::Lookup(deep), zero);
  EXPECT_EQ(DrawStyles::Lookup(builtIn(8)).lineColor, 16);
  EXPECT_EQ(win::MessageBoxLog().size(), 0u);
}

TEST_F(DrawStylesTest, ColorIndicesOfHighlightedAndColouredText) {
  ProfileApp app("[Styles]\nDrawStyles=1\n[DrawStyle 0]\nDrawColor=Headline\n");
  const DrawStyle& p = DrawStyles::Lookup(profileStyle(0));
  EXPECT_EQ(p.LineColorIndex(profileStyle(0)), 2);
  EXPECT_EQ(p.LineColorIndex(profileStyle(0, 1)), 0);      // highlighted text is background-coloured
  EXPECT_EQ(p.LineColorIndex(profileStyle(0, 0, 3)), 11);  // an explicit index counts from 8
  EXPECT_EQ(p.FillColorIndex(profileStyle(0)), 50);
  EXPECT_EQ(p.FillColorIndex(profileStyle(0, 1, 3)), 11);
  EXPECT_EQ(p.FillColorIndex(profileStyle(0, 1)), 2);
  const DrawStyle& b = DrawStyles::Lookup(builtIn(3));
  EXPECT_EQ(b.FillColorIndex(builtIn(3)), 59);
  EXPECT_EQ(b.FillColorIndex(builtIn(3, 1)), 11);
}

TEST_F(DrawStylesTest, ColorSection) {
  ProfileApp app("[Styles]\nDrawStyles=1\n[Color]\nHeadline=10,20,30\nAnchor3=1,2,3;4,5,6\nMarker7=9,9\n");
  ColorTable table(false);
  LoadColors(table);
  EXPECT_EQ(table.GetColor(2), ColorRecord::Rgb(10, 20, 30));
  EXPECT_EQ(table.GetColor(50), ColorRecord::Rgb(245, 235, 225));
  EXPECT_EQ(table.GetColor(11), ColorRecord::Rgb(1, 2, 3));
  EXPECT_EQ(table.GetColor(59), ColorRecord::Rgb(4, 5, 6));
  EXPECT_FALSE(table.GetColor(39).isSet());  // two numbers are not a colour
  EXPECT_TRUE(table.GetColor(0).isSet());     // the system's colours
  EXPECT_TRUE(table.GetColor(48).isSet());
}

TEST_F(DrawStylesTest, SpecsTakeColoursFromDescriptorOrStyle) {
  ProfileApp app("[Styles]\nDrawStyles=1\n[DrawStyle 0]\nFont=Arial,20\n");
  ColorTable table(true);
  FontDescriptor bold(0, 0x05, 50, 0);
  FontSpec font(bold);
  EXPECT_EQ(font.Size(), 10);
  EXPECT_EQ(font.Bold(), 1);
  EXPECT_EQ(font.Italic(), 1);
  EXPECT_EQ(font.ColorIndex(), 1);
  EXPECT_NE(font.GetFont(1024 * 96 / 72), nullptr);
  BrushSpec brush(bold);
  EXPECT_TRUE(brush.NoFill());  // configured styles get no fill pattern
  EXPECT_EQ(brush.GetBrush(table), nullptr);
  FontDescriptor red = bold;
  red.color = ColorRecord::Rgb(255, 0, 0);
  PenSpec pen(red);
  EXPECT_EQ(pen.Color(), red.color);
  EXPECT_NE(pen.GetPen(table), nullptr);
  EXPECT_EQ(ResolveColor(PenSpec(bold).Color(), table), RGB(0, 0, 0));
}

}  // namespace
