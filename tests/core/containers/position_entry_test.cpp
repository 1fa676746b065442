#include "core/position_entry.h"

#include <gtest/gtest.h>

namespace {

IntSortedArray positions(std::initializer_list<int> v) {
  IntSortedArray a;
  for (int x : v) a.Insert(x);
  return a;
}

TEST(PositionEntry, FormatsEachPositionInFiveCharactersAndABlank) {
  struct Case {
    std::initializer_list<int> in;
    const char* out;
  };
  const Case cases[] = {
      {{}, ""},
      {{3}, "    3 "},
      {{17, 3}, "    3    17 "},
      {{123456, -5}, "   -5 123456 "},  // wider numbers are not cut
  };
  for (const auto& c : cases) {
    IntSortedArray p = positions(c.in);
    EXPECT_EQ(PositionEntry(2.0f, &p).formatPositions(), c.out);
  }
  EXPECT_EQ(PositionEntry().formatPositions(), "");  // no positions at all
}

TEST(PositionEntry, OwnsACopyOfThePositions) {
  IntSortedArray p = positions({1, 2});
  PositionEntry e(0.5f, &p);
  p.Insert(3);
  EXPECT_EQ(e.formatPositions(), "    1     2 ");
  PositionEntry copy = e;
  e.setPositions(nullptr);
  EXPECT_EQ(e.positions(), nullptr);
  EXPECT_EQ(copy.formatPositions(), "    1     2 ");
  EXPECT_FLOAT_EQ(copy.weight(), 0.5f);
  EXPECT_FLOAT_EQ(PositionEntry().weight(), 1.0f);
}

}  // namespace
