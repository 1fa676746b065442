#include "text/position/position.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/list.h"
#include "text/anchors/anchor_range.h"
#include "text/anchors/anchor_record.h"

namespace {

TEST(Position, ParseForms) {
  struct Case {
    const char* text;
    bool ok;
    LONG number;
    int consumed;
  };
  const Case cases[] = {
      {"N42", true, 42, 3},     {"0x10", true, 16, 4},  {"I7", false, 0, 0},    {"T3", false, 0, 0},
      {"N", false, 0, 0},       {"  -12 x", true, -12, 5}, {"010", true, 8, 3}, {"N-1", true, -1, 3},
      {"", false, 0, 0},        {"99999999999", true, 0x7fffffff, 11},
  };
  for (const Case& c : cases) {
    int used = -5;
    std::unique_ptr<Position> p(Position::Parse(c.text, used));
    EXPECT_EQ(p != nullptr, c.ok) << c.text;
    EXPECT_EQ(used, c.consumed) << c.text;
    if (p) {
      EXPECT_EQ(p->Number(), c.number) << c.text;
    }
  }
}

TEST(Position, SharedEndsAndFormat) {
  CString text;
  EXPECT_TRUE(FirstPosition().Format(text));
  EXPECT_EQ(text, "N-1");
  EXPECT_EQ(LastPosition().Number(), 0x7ffffff);
  EXPECT_TRUE(WholeDocument().Start().Equal(FirstPosition()));
  EXPECT_TRUE(WholeDocument().End().Equal(LastPosition()));
  Position p(5);
  p.Add(Position(7));
  EXPECT_EQ(p.Number(), 12);
  EXPECT_TRUE(Position(-3).Less(Position(2)));  // signed comparison
}

TEST(Position, RangeKeepsOwnCopiesAndOrdersItsEnds) {
  Position a(9);
  PositionRange r(a, Position(3));
  a.SetNumber(100);
  EXPECT_EQ(r.Start().Number(), 9);
  EXPECT_EQ(r.Lower().Number(), 3);
  EXPECT_EQ(r.Upper().Number(), 9);
  EXPECT_TRUE(r.SetEnd(Position(20)));
  EXPECT_EQ(r.Upper().Number(), 20);
  PositionRange copy(r);
  r.SetStart(Position(0));
  EXPECT_EQ(copy.Start().Number(), 9);
}

class AnchorRanges : public ::testing::Test {
 protected:
  ~AnchorRanges() override { list.clearAndDelete(); }
  AnchorRange* add(LONG from, LONG to) {
    auto* r = new AnchorRange(Position(from), Position(to), nullptr);
    list.append(r);
    return r;
  }
  List list;
};

TEST_F(AnchorRanges, FromPositionReadsTwoPositions) {
  AnchorRecord record("Dest=0x5\nPosition=0x000000a8 N179\n");
  std::unique_ptr<AnchorRange> r(AnchorRange::FromPosition(&record));
  ASSERT_TRUE(r);
  EXPECT_EQ(r->Start().Number(), 0xa8);
  EXPECT_EQ(r->End().Number(), 179);
  EXPECT_EQ(r->Record(), &record);
  AnchorRecord one("Position=12\n");
  EXPECT_EQ(AnchorRange::FromPosition(&one), nullptr);
  AnchorRecord none("Dest=1\n");
  EXPECT_EQ(AnchorRange::FromPosition(&none), nullptr);
}

TEST_F(AnchorRanges, FindContainingTakesTheFirstInListOrder) {
  AnchorRange* wide = add(0, 100);
  AnchorRange* narrow = add(10, 20);
  EXPECT_EQ(FindContaining(list, Position(15)), wide);
  EXPECT_EQ(FindContaining(list, Position(100)), wide);
  EXPECT_EQ(FindContaining(list, Position(101)), nullptr);
  (void)narrow;
}

TEST_F(AnchorRanges, TabWrapsAroundTheList) {
  AnchorRange* a = add(10, 20);
  AnchorRange* b = add(30, 40);
  AnchorRange* c = add(50, 60);
  struct Case {
    LONG from, to;
    bool forward;
    AnchorRange* expected;
  };
  const Case cases[] = {
      {50, 60, true, a},   // on the third: wraps to the first
      {10, 20, true, b},   // on the first: the next
      {30, 40, false, a},  // backward from the second
      {0, 5, false, c},    // before the first: wraps to the last
      {21, 25, true, b},   // between: the first that starts after
      {41, 45, false, b},  // between, backward: the last that ends before
      {61, 70, true, a},   // after the last: wraps
  };
  for (const Case& k : cases) {
    PositionRange sel{Position(k.from), Position(k.to)};
    EXPECT_EQ(FindNext(list, sel, k.forward), k.expected) << k.from << "-" << k.to;
  }
}

TEST_F(AnchorRanges, TabSkipsNeighboursEndingAtTheSameSpot) {
  AnchorRange* a = add(10, 40);
  add(20, 40);  // ends where the selection ends: skipped
  AnchorRange* c = add(50, 60);
  PositionRange sel{Position(10), Position(40)};
  EXPECT_EQ(FindNext(list, sel, true), c);
  List empty;
  EXPECT_EQ(FindNext(empty, sel, true), nullptr);
  (void)a;
}

TEST(AnchorRecords, SetSplitsAtBlankLinesAndAddsTheReferrer) {
  AnchorRecordList records;
  records.Set("", "0x1");
  EXPECT_EQ(records.Records().count(), 0);
  records.Set("A=1\nB=2\n\nC=3\n\nD=4\n", "0x1");
  ASSERT_EQ(records.Records().count(), 2);
  auto* first = static_cast<AnchorRecord*>(records.Records().first());
  EXPECT_EQ(first->Text(), "A=1\nB=2\nReferrer=0x1\n\n");
  EXPECT_EQ(static_cast<AnchorRecord*>(first->next())->Text(), "C=3\nReferrer=0x1\n\n");
  EXPECT_EQ(records.Find("C=3\nReferrer=0x1\n\n"), first->next());
  EXPECT_EQ(records.Find("C=3"), nullptr);
}

}  // namespace
