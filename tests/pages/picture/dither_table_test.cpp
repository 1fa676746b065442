// The display's dither tables: palettes by depth, the colour lookup, the
// error shares and the scale table, and the main-window settings.
#include <gtest/gtest.h>

#include "pages/picture/dither_table.h"
#include "pages/picture/support/picture_fixture.h"

namespace pages_test {
namespace {

using DitherTableTest = PictureTest;

TEST_F(DitherTableTest, PaletteFollowsTheDisplayDepth) {
  struct Case {
    int bits;
    int paletteCount;
  } cases[] = {{24, 0}, {8, 236}, {4, 16}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    UseDisplay(c.bits);
    MainWindow window;
    EXPECT_TRUE(window.BuildDitherTables());
    EXPECT_EQ(window.ColorDepth(), c.bits);
    EXPECT_EQ(window.PaletteCount(), c.paletteCount);
    EXPECT_EQ(window.Palette() != nullptr, c.paletteCount != 0);
  }
}

TEST_F(DitherTableTest, Palette236HoldsTheSystemColoursThenTheCube) {
  CDitherTable table;
  ASSERT_TRUE(table.CreatePalette256());
  const LOGPALETTE* p = table.LogPalette();
  ASSERT_EQ(p->palNumEntries, 236);
  EXPECT_EQ(p->palVersion, 0x300);
  auto rgb = [&](int i) {
    return RGB(p->palPalEntry[i].peRed, p->palPalEntry[i].peGreen, p->palPalEntry[i].peBlue);
  };
  EXPECT_EQ(rgb(0), RGB(0, 0, 0));
  EXPECT_EQ(rgb(1), RGB(128, 0, 0));
  EXPECT_EQ(rgb(15), RGB(255, 255, 255));
  EXPECT_EQ(rgb(19), RGB(160, 160, 164));
  // Entry 20 + 36b + 6g + r: red fastest.
  EXPECT_EQ(rgb(20 + 36 * 1 + 6 * 2 + 3), RGB(153, 102, 51));
  EXPECT_EQ(rgb(235), RGB(255, 255, 255));
}

TEST_F(DitherTableTest, LookupGivesTheFirstNearestEntry) {
  CDitherTable table;
  ASSERT_TRUE(table.CreatePalette16());
  EXPECT_EQ(table.Nearest(255, 255, 255), 15);
  EXPECT_EQ(table.Nearest(0, 0, 0), 0);
  EXPECT_EQ(table.Nearest(250, 10, 10), 9);
  // Only every 16th byte of the lookup is filled.
  EXPECT_EQ(table.ColorLookup()[4095 * 16], 15);
  EXPECT_EQ(table.ColorLookup()[4095 * 16 + 1], 0);
  ASSERT_TRUE(table.CreatePalette256());
  // White is both system entry 15 and cube entry 235: the first wins.
  EXPECT_EQ(table.Nearest(255, 255, 255), 15);
  EXPECT_EQ(table.Nearest(0, 0, 0), 0);
}

TEST_F(DitherTableTest, ErrorSharesRoundHalvesAwayFromZero) {
  CDitherTable table;
  ASSERT_TRUE(table.CreatePalette16());
  struct Case {
    int e, one, three, five, seven;
  } cases[] = {{8, 1, 2, 3, 4}, {-8, -1, -2, -3, -4}, {7, 0, 1, 2, 3}, {-256, -16, -48, -80, -112},
               {255, 16, 48, 80, 112}, {0, 0, 0, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.e);
    EXPECT_EQ(table.ErrorShare(CDitherTable::kOneSixteenth, c.e), c.one);
    EXPECT_EQ(table.ErrorShare(CDitherTable::kThreeSixteenths, c.e), c.three);
    EXPECT_EQ(table.ErrorShare(CDitherTable::kFiveSixteenths, c.e), c.five);
    EXPECT_EQ(table.ErrorShare(CDitherTable::kSevenSixteenths, c.e), c.seven);
  }
}

TEST_F(DitherTableTest, ScaleTableScalesByTheRowOver128) {
  CDitherTable table;
  ASSERT_TRUE(table.BuildScaleTable());
  EXPECT_EQ(table.Scale(127, 255), 253);
  EXPECT_EQ(table.Scale(0, 255), 0);
  EXPECT_EQ(table.Scale(64, 200), 100);
  EXPECT_EQ(table.Scale(64, 201), 100);
}

TEST_F(DitherTableTest, SettingsTakeTheirDefaultsWithoutASettingsFile) {
  MainWindow window;
  EXPECT_TRUE(window.InitialShow());
  EXPECT_EQ(window.Width(), 320);
  EXPECT_EQ(window.Height(), 240);
  EXPECT_EQ(window.Resize(), 0);
  EXPECT_EQ(window.ShowLinks(), 1);
  EXPECT_EQ(window.ShowToolbar(), 1);
  EXPECT_EQ(window.Logo().GetSafeHwnd(), nullptr);
}

TEST_F(DitherTableTest, TheInstalledMainWindowIsTheOneUsed) {
  MainWindow window;
  SetMainWindow(&window);
  EXPECT_EQ(&TheMainWindow(), &window);
  SetMainWindow(nullptr);
  EXPECT_NE(&TheMainWindow(), &window);
}

}  // namespace
}  // namespace pages_test
