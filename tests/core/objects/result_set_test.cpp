#include "core/result_set.h"

#include <gtest/gtest.h>

namespace {

using Pair = ResultSet::Pair;

TEST(ResultSet, AddsReadsAndMovesThroughEntries) {
  ResultSet set;
  for (std::uint32_t i = 1; i <= 45; ++i) ASSERT_EQ(set.Add(Pair{ResultSet::makeKey(3, 16), i * 10}), 0);
  EXPECT_EQ(set.total(), 45);
  EXPECT_EQ(set.hitCount(0), 45);
  Pair p;
  ASSERT_EQ(set.GetAt(21, p), 0);
  EXPECT_EQ(p.value, 210u);
  EXPECT_EQ(ResultSet::dataSetOf(p.key), 3);
  EXPECT_EQ(ResultSet::typeOf(p.key), 16);
  EXPECT_EQ(set.GetAt(0, p), -1);
  EXPECT_EQ(set.GetAt(46, p), -1);
  struct Step {
    int mode;
    int n;
    int rc;
    int cursor;
  } steps[] = {{ResultSet::kFirst, 0, 0, 1},  {ResultSet::kBy, -1, -1, 1}, {ResultSet::kBy, 44, 0, 45},
               {ResultSet::kNext, 0, -1, 45}, {ResultSet::kTo, 20, 0, 20}, {ResultSet::kNext, 0, 0, 21}};
  for (const Step& s : steps) {
    EXPECT_EQ(set.Move(p, s.mode, s.n), s.rc);
    EXPECT_EQ(set.cursor(), s.cursor);
  }
}

TEST(ResultSet, RepeatsAreRefusedOnlyWhenAsked) {
  ResultSet set;
  EXPECT_EQ(set.Add(Pair{ResultSet::makeKey(1, 16), 7}, true), 0);
  EXPECT_EQ(set.Add(Pair{ResultSet::makeKey(2, 16), 7}, true), -1) << "same type and value";
  EXPECT_EQ(set.Add(Pair{ResultSet::makeKey(1, 32), 7}, true), 0) << "another type";
  EXPECT_EQ(set.Add(Pair{ResultSet::makeKey(1, 32), 7}, false), 0);
  EXPECT_EQ(set.total(), 3);
}

TEST(ResultSet, UpdateMatchesKeyAndValueExactly) {
  ResultSet set;
  set.Add(Pair{ResultSet::makeKey(1, 16), 5}, false, "five");
  set.Add(Pair{ResultSet::makeKey(2, 16), 5});
  EXPECT_FALSE(set.Update(Pair{ResultSet::makeKey(3, 16), 5}, Pair{1, 1}));
  EXPECT_TRUE(set.Update(Pair{ResultSet::makeKey(2, 16), 5}, Pair{ResultSet::makeKey(2, 16), 9}));
  Pair p;
  set.GetAt(2, p);
  EXPECT_EQ(p.value, 9u);
  set.Move(p, ResultSet::kFirst);
  EXPECT_EQ(set.GetCurrentData(), "five");
  set.Reset();
  EXPECT_EQ(set.total(), 0);
  EXPECT_EQ(set.hitCount(0), 0);
}

}  // namespace
