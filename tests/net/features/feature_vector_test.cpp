#include "net/feature_vector.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wire_body.h"

namespace {

std::vector<int> Positions(const Features* f) {
  std::vector<int> out;
  if (f && f->positions())
    for (int i = 0; i < f->positions()->count(); ++i) out.push_back(f->positions()->at(i));
  return out;
}

class FeatureVectorForms : public ::testing::TestWithParam<bool> {};

TEST_P(FeatureVectorForms, ReadsEveryRecordInOrder) {
  const bool binary = GetParam();
  WireWriter w(binary);
  w.i(3);
  w.i(17).f("0.5").i(4).i(9).i(4).i(2).i(9);  // positions given twice appear once
  w.i(-2).f("1.25").i(0);                     // no positions at all
  w.i(0x7ffffff0).f("-3e2").i(1).i(-8);
  WireBody body = w.body();
  FeatureVector v(1);
  ASSERT_EQ(v.read(body), FeatureRead::Ok);
  EXPECT_EQ(body.bytesLeft(), 0u);
  ASSERT_EQ(v.count(), 3);

  const Features* first = v.at(0);
  EXPECT_EQ(first->id(), 17);
  EXPECT_FLOAT_EQ(first->weight(), 0.5f);
  EXPECT_EQ(Positions(first), (std::vector<int>{2, 4, 9}));
  EXPECT_EQ(std::string(first->entry().formatPositions()), "    2     4     9 ");

  const Features* second = v.at(1);
  EXPECT_EQ(second->id(), -2);
  EXPECT_EQ(second->positions(), nullptr);
  EXPECT_EQ(std::string(second->entry().formatPositions()), "");

  EXPECT_FLOAT_EQ(v.at(2)->weight(), -300.0f);
  EXPECT_EQ(Positions(v.at(2)), (std::vector<int>{-8}));

  IdArray ids = v.ids();
  ASSERT_EQ(ids.count(), 3);
  EXPECT_EQ(ids.at(0), ObjectId(-2));
  EXPECT_EQ(ids.at(2), ObjectId(0x7ffffff0));
}

INSTANTIATE_TEST_SUITE_P(TextAndBinary, FeatureVectorForms, ::testing::Bool());

TEST(FeatureVectorRead, BrokenBodies) {
  const struct {
    const char* name;
    std::string body;
    FeatureRead result;
    LONG entriesKept;
  } cases[] = {
      {"empty body", "", FeatureRead::Truncated, 0},
      {"no records", "0 ", FeatureRead::Ok, 0},
      {"count beyond the body", "2000000000 1 1.0 0 ", FeatureRead::BadCount, 0},
      {"negative count", "4294967295 1 1.0 0 ", FeatureRead::BadCount, 0},
      {"positions beyond the body", "2 1 1.0 0 2 1.0 99999 5 ", FeatureRead::BadCount, 1},
      {"negative position count", "1 1 1.0 4294967295 ", FeatureRead::BadCount, 0},
      {"zero weight", "2 1 1.0 0 2 0 0 ", FeatureRead::NullWeight, 1},
      {"negative zero weight", "1 1 -0.0 0 ", FeatureRead::NullWeight, 0},
      {"short after the first record", "3 1 1.0 0 2 2.0 ", FeatureRead::Truncated, 1},
      {"short inside the positions", "2 1 1.0 0 2 2.0 3 1 2 ", FeatureRead::Truncated, 1},
      {"weight that is no number", "1 1 heavy 0 ", FeatureRead::Truncated, 0},
  };
  for (const auto& c : cases) {
    WireBody body(c.body, false);
    FeatureVector v;
    // Reading clears what the vector held.
    v.append(std::make_unique<Features>(99, 1.0f, nullptr));
    EXPECT_EQ(v.read(body), c.result) << c.name;
    EXPECT_EQ(v.count(), c.entriesKept) << c.name;
  }
}

TEST(FeatureVectorCopy, CopiesOwnTheirPositions) {
  IntSortedArray positions;
  positions.Insert(5);
  positions.Insert(1);
  FeatureVector original(7);
  original.setFlags(0x21);
  original.setExtra(-4);
  original.append(std::make_unique<Features>(10, 2.0f, &positions));
  original.append(std::make_unique<Features>(11, 3.0f, nullptr));

  FeatureVector copy;
  copy.append(std::make_unique<Features>(1, 1.0f, nullptr));
  copy = original;
  EXPECT_EQ(copy.tag(), 7);
  EXPECT_EQ(copy.flags(), 0x21);
  EXPECT_EQ(copy.extra(), -4);
  ASSERT_EQ(copy.count(), 2);
  EXPECT_NE(copy.at(0)->positions(), original.at(0)->positions());
  EXPECT_EQ(Positions(copy.at(0)), (std::vector<int>{1, 5}));

  copy.clear();
  EXPECT_EQ(copy.count(), 0);
  ASSERT_EQ(original.count(), 2);
  EXPECT_EQ(Positions(original.at(0)), (std::vector<int>{1, 5}));

  const FeatureVector& same = original;
  original = same;  // assigning a vector to itself keeps it
  EXPECT_EQ(original.count(), 2);

  FeatureVector constructed(original);
  EXPECT_EQ(constructed.tag(), 7);
  EXPECT_EQ(constructed.count(), 2);
}

TEST(FeatureVectorEntries, TakeFirstHandsOutInOrder) {
  FeatureVector v;
  for (LONG id : {3, 1, 2}) v.append(std::make_unique<Features>(id, 1.0f, nullptr));
  std::vector<LONG> taken;
  while (auto e = v.takeFirst()) {
    EXPECT_FALSE(e->isLinked());
    taken.push_back(e->id());
  }
  EXPECT_EQ(taken, (std::vector<LONG>{3, 1, 2}));
  EXPECT_TRUE(v.isEmpty());
  EXPECT_EQ(v.ids().count(), 0);
}

}  // namespace
