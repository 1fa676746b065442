#include "text/style/color_table.h"

#include <gtest/gtest.h>

#include "core/named_list.h"

namespace {

ColorRecord rgb(int r, int g, int b) {
  return ColorRecord::Rgb(static_cast<BYTE>(r), static_cast<BYTE>(g), static_cast<BYTE>(b));
}

TEST(ColorTable, DefaultsAndTheirInverses) {
  ColorTable table(true);
  struct Case {
    int index;
    ColorRecord color;
  };
  const Case cases[] = {
      {0, rgb(127, 127, 127)}, {1, rgb(0, 0, 0)},     {49, rgb(255, 255, 255)}, {50, rgb(64, 255, 255)},
      {8, rgb(191, 0, 0)},     {39, rgb(127, 127, 127)}, {31, rgb(127, 127, 127)}, {24, rgb(191, 0, 0)},
  };
  for (const Case& c : cases) EXPECT_EQ(table.GetColor(c.index), c.color) << c.index;
  for (int i : {40, 47, 88, 95}) EXPECT_FALSE(table.GetColor(i).isSet()) << i;
}

TEST(ColorTable, OutOfRangeIndicesGiveRecordZeroAndChangeNothing) {
  ColorTable table(false);
  table.SetColor(0, rgb(1, 2, 3));
  table.SetColor(96, rgb(9, 9, 9));
  table.SetColor(-1, rgb(9, 9, 9));
  EXPECT_EQ(table.GetColor(96), rgb(1, 2, 3));
  EXPECT_EQ(table.GetColor(-1), rgb(1, 2, 3));
  for (int i = 1; i < ColorTable::kSize; ++i) EXPECT_FALSE(table.GetColor(i).isSet());
  table.SetColorPair(47, rgb(0, 0, 255));  // the pair lands at 95
  EXPECT_EQ(table.GetColor(95), rgb(255, 255, 0));
}

TEST(ColorTable, ClearKeepsOrDropsRecordsByHowTheTableWasMade) {
  ColorTable withDefaults(true);
  ColorTable plain(false);
  for (ColorTable* t : {&withDefaults, &plain}) {
    t->SetColor(1, rgb(5, 5, 5));
    t->SetColor(42, rgb(6, 6, 6));
    t->SetName("Base", "x");
    t->Clear();
    EXPECT_EQ(t->GetName("BASE"), "");
  }
  EXPECT_EQ(withDefaults.GetColor(1), rgb(0, 0, 0));   // defaults again
  EXPECT_EQ(withDefaults.GetColor(42), rgb(6, 6, 6));  // outside the defaults: kept
  EXPECT_FALSE(plain.GetColor(1).isSet());
  EXPECT_FALSE(plain.GetColor(42).isSet());
}

TEST(ColorTable, NamesIgnoreCase) {
  ColorTable table(false);
  table.SetName("ExternalReferenceBase", "c:\\docs\\");
  EXPECT_EQ(table.GetName("EXTERNALREFERENCEBASE"), "c:\\docs\\");
  EXPECT_EQ(table.GetName("externalreferencebase"), "c:\\docs\\");
  EXPECT_EQ(table.GetName("other"), "");
}

struct Counted : NamedObject {
  explicit Counted(int* d) : deaths(d) {}
  ~Counted() override { ++*deaths; }
  int* deaths;
};

TEST(ColorTable, PictureIsCounted) {
  int deaths = 0;
  auto* first = new Counted(&deaths);
  auto* second = new Counted(&deaths);
  second->acquire();  // someone else holds the second one too
  {
    ColorTable table(false);
    table.SetPicture(first);
    table.SetPicture(first);  // the same picture again keeps it
    EXPECT_EQ(first->references(), 1);
    table.SetPicture(second);
    EXPECT_EQ(deaths, 1);
  }
  EXPECT_EQ(second->references(), 1);
  second->release();
  EXPECT_EQ(deaths, 2);
}

TEST(ColorTable, HexColors) {
  DWORD v = 0;
  EXPECT_TRUE(ParseHexColor("#FF0000", v));
  EXPECT_EQ(v, 0xFF0000u);
  EXPECT_TRUE(ParseHexColor("00ff10", v));
  EXPECT_EQ(v, 0x00FF10u);
  EXPECT_FALSE(ParseHexColor("zz", v));
  EXPECT_FALSE(ParseHexColor("", v));
}

}  // namespace
