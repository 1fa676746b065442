#include "core/record_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

struct Rec {
  int a;
  int b;
};

// The list's behaviour as a vector and a cursor index (-1: no cursor).
struct Model {
  std::vector<Rec> recs;
  int cursor = -1;
};

bool same(const Rec& x, const Rec& y) { return x.a == y.a && x.b == y.b; }

void expectSame(RecordList& list, const Model& m) {
  ASSERT_EQ(list.count(), static_cast<int>(m.recs.size()));
  Rec cur{};
  ASSERT_EQ(list.GetCurrent(&cur), m.cursor >= 0 ? 1 : 0);
  if (m.cursor >= 0) EXPECT_TRUE(same(cur, m.recs[static_cast<size_t>(m.cursor)]));
}

// Reads every record with First/Next (moving the cursor to the last one).
std::vector<Rec> readAll(RecordList& list) {
  std::vector<Rec> out;
  for (int ok = list.First(); ok; ok = list.Next()) {
    Rec r{};
    list.GetCurrent(&r);
    out.push_back(r);
  }
  return out;
}

class RecordListRandomOps : public ::testing::TestWithParam<unsigned> {};

TEST_P(RecordListRandomOps, MatchesVectorWithCursor) {
  std::mt19937 rng(GetParam());
  RecordList list(sizeof(Rec));
  Model m;
  int counter = 0;
  for (int step = 0; step < 4000; ++step) {
    const int n = static_cast<int>(m.recs.size());
    switch (rng() % 7) {
      case 0:
      case 1: {
        Rec r{++counter, static_cast<int>(rng())};
        ASSERT_EQ(list.Append(&r), 1);
        m.recs.push_back(r);
        m.cursor = n;
        break;
      }
      case 2:
        ASSERT_EQ(list.First(), n > 0 ? 1 : 0);
        if (n > 0) m.cursor = 0;
        break;
      case 3: {
        bool can = m.cursor >= 0 && m.cursor + 1 < n;
        ASSERT_EQ(list.Next(), can ? 1 : 0);
        if (can) ++m.cursor;
        break;
      }
      case 4: {
        Rec r{-(++counter), 7};
        int at = static_cast<int>(rng() % (n + 2)) - 1;  // -1 .. n
        int target = at > 0 ? at : m.cursor;
        bool can = target >= 0 && target < n;
        ASSERT_EQ(list.SetAt(&r, at), can ? 1 : 0) << "SetAt(" << at << ")";
        if (can) {
          m.recs[static_cast<size_t>(target)] = r;
          m.cursor = target;
        }
        break;
      }
      case 5: {
        ASSERT_EQ(list.RemoveCurrent(), m.cursor >= 0 ? 1 : 0);
        if (m.cursor >= 0) {
          m.recs.erase(m.recs.begin() + m.cursor);
          if (m.cursor == static_cast<int>(m.recs.size())) --m.cursor;  // was last: previous
        }
        break;
      }
      case 6:
        if (rng() % 20 == 0) {
          ASSERT_EQ(list.RemoveAll(), 1);
          m = Model();
        }
        break;
    }
    expectSame(list, m);
    if (HasFailure()) return;
  }
  std::vector<Rec> all = readAll(list);
  ASSERT_EQ(all.size(), m.recs.size());
  for (size_t i = 0; i < all.size(); ++i) EXPECT_TRUE(same(all[i], m.recs[i]));
}

INSTANTIATE_TEST_SUITE_P(Seeds, RecordListRandomOps, ::testing::Values(11u, 12u, 13u));

TEST(RecordList, WithoutARecordSizeNothingIsStored) {
  RecordList list;
  Rec r{1, 2};
  EXPECT_EQ(list.recordSize(), 0);
  EXPECT_EQ(list.Append(&r), 0);
  EXPECT_EQ(list.RemoveAll(), 0);
  EXPECT_EQ(list.First(), 0);
  EXPECT_EQ(list.Next(), 0);
  EXPECT_EQ(list.GetCurrent(&r), 0);
  EXPECT_EQ(list.SetAt(&r, 0), 0);
  EXPECT_EQ(list.RemoveCurrent(), 0);
}

TEST(RecordList, SetRecordSize) {
  RecordList list;
  EXPECT_EQ(list.SetRecordSize(0, false), -1);
  EXPECT_EQ(list.SetRecordSize(-3, true), -1);
  EXPECT_EQ(list.SetRecordSize(8, false), 1);
  Rec r{1, 2};
  ASSERT_EQ(list.Append(&r), 1);
  // Reading 16-byte records out of 8-byte blocks would overrun them: a
  // non-empty list keeps its size unless it is reset.
  EXPECT_EQ(list.SetRecordSize(16, false), -1);
  EXPECT_EQ(list.recordSize(), 8);
  EXPECT_EQ(list.SetRecordSize(8, false), 1);
  EXPECT_EQ(list.count(), 1);
  // A reset drops (and frees) the records; the sanitizer build sees a leak
  // otherwise.
  EXPECT_EQ(list.SetRecordSize(16, true), 1);
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.GetCurrent(&r), 0);
  unsigned char big[16] = {1};
  EXPECT_EQ(list.Append(big), 1);
  unsigned char back[16] = {};
  EXPECT_EQ(list.GetCurrent(back), 1);
  EXPECT_EQ(std::memcmp(big, back, 16), 0);
}

TEST(RecordList, RemoveCurrentMovesTheCursor) {
  RecordList list(sizeof(Rec));
  for (int i = 0; i < 3; ++i) {
    Rec r{i, 0};
    list.Append(&r);
  }
  Rec r{};
  list.First();
  list.Next();  // on 1
  ASSERT_EQ(list.RemoveCurrent(), 1);
  list.GetCurrent(&r);
  EXPECT_EQ(r.a, 2);  // the next record
  ASSERT_EQ(list.RemoveCurrent(), 1);
  list.GetCurrent(&r);
  EXPECT_EQ(r.a, 0);  // the removed one was last: the previous
  ASSERT_EQ(list.RemoveCurrent(), 1);
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.GetCurrent(&r), 0);
  EXPECT_EQ(list.First(), 0);
}

TEST(RecordList, SetAtPastTheEndKeepsTheCursor) {
  RecordList list(sizeof(Rec));
  Rec a{1, 0}, b{2, 0};
  list.Append(&a);
  list.Append(&b);
  Rec c{3, 0};
  EXPECT_EQ(list.SetAt(&c, 2), 0);
  Rec r{};
  list.GetCurrent(&r);
  EXPECT_EQ(r.a, 2);
  EXPECT_EQ(list.SetAt(&c, 1), 1);  // the record one on from the first
  std::vector<Rec> all = readAll(list);
  EXPECT_EQ(all[0].a, 1);
  EXPECT_EQ(all[1].a, 3);
}

}  // namespace
