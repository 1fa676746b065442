#include "core/id_array.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <set>
#include <vector>

namespace {

std::vector<LONG> values(const IdArray& a) {
  std::vector<LONG> out;
  for (int i = 0; i < a.count(); ++i) out.push_back(a.at(i).value());
  return out;
}

IdArray fromValues(const std::vector<LONG>& v) {
  IdArray a;
  for (LONG x : v) a.Insert(ObjectId(x));
  return a;
}

std::vector<LONG> randomIds(std::mt19937& rng, int n, LONG spread) {
  std::vector<LONG> v;
  std::uniform_int_distribution<LONG> any(-spread, spread);
  for (int i = 0; i < n; ++i) v.push_back(any(rng));
  return v;
}

// The original definition of Sort: neighbour passes that swap a pair out of
// order and drop the second of two equal neighbours, until nothing changes.
std::vector<LONG> quadraticSort(std::vector<LONG> v) {
  bool changed = true;
  while (changed) {
    changed = false;
    for (size_t i = 0; i + 1 < v.size();) {
      if (v[i] > v[i + 1]) {
        std::swap(v[i], v[i + 1]);
        changed = true;
      } else if (v[i] == v[i + 1]) {
        v.erase(v.begin() + static_cast<long>(i) + 1);
        changed = true;
        continue;
      }
      ++i;
    }
  }
  return v;
}

std::unique_ptr<ObjectId[]> block(const std::vector<LONG>& v) {
  std::unique_ptr<ObjectId[]> b(new ObjectId[v.size()]);
  for (size_t i = 0; i < v.size(); ++i) b[i] = ObjectId(v[i]);
  return b;
}

TEST(IdArraySort, SameResultAsTheQuadraticDefinition) {
  std::mt19937 rng(5);
  for (int round = 0; round < 300; ++round) {
    int n = static_cast<int>(rng() % 60);
    LONG spread = round % 3 == 0 ? 5 : (round % 3 == 1 ? 1000 : INT32_MAX);
    std::vector<LONG> v = randomIds(rng, n, spread);
    IdArray a;
    a.Adopt(n, block(v), n + 3);
    EXPECT_EQ(values(a), quadraticSort(v)) << "round " << round;
    EXPECT_EQ(a.capacity(), n + 3);  // sorting keeps the block
  }
}

TEST(IdArraySort, LargeArrayInReasonableTime) {
  // A quadratic sort would take minutes here.
  std::mt19937 rng(6);
  const int n = 200000;
  std::vector<LONG> v = randomIds(rng, n, 50000);
  IdArray a;
  a.Adopt(n, block(v), n);
  std::set<LONG> s(v.begin(), v.end());
  EXPECT_EQ(values(a), std::vector<LONG>(s.begin(), s.end()));
}

TEST(IdArray, AdoptTakesTheLargerCapacity) {
  IdArray a;
  a.Adopt(4, block({3, 1, 3, 2}), 2);
  EXPECT_EQ(values(a), (std::vector<LONG>{1, 2, 3}));
  EXPECT_EQ(a.capacity(), 4);
  a.Adopt(0, nullptr, 0);
  EXPECT_EQ(a.count(), 0);
}

class IdArraySetOps : public ::testing::TestWithParam<unsigned> {};

TEST_P(IdArraySetOps, UnionAndSubtractMatchTheStdAlgorithms) {
  std::mt19937 rng(GetParam());
  for (int round = 0; round < 200; ++round) {
    std::vector<LONG> x = randomIds(rng, static_cast<int>(rng() % 40), 30);
    std::vector<LONG> y = randomIds(rng, static_cast<int>(rng() % 40), 30);
    std::set<LONG> sx(x.begin(), x.end()), sy(y.begin(), y.end());

    IdArray u = fromValues(x);
    ASSERT_TRUE(u.Union(fromValues(y)));
    std::vector<LONG> expectU;
    std::set_union(sx.begin(), sx.end(), sy.begin(), sy.end(), std::back_inserter(expectU));
    EXPECT_EQ(values(u), expectU);
    if (!sx.empty()) EXPECT_EQ(u.capacity(), static_cast<int>(sx.size() + sy.size()));

    IdArray d = fromValues(x);
    int capacity = d.capacity();
    d.Subtract(fromValues(y));
    std::vector<LONG> expectD;
    std::set_difference(sx.begin(), sx.end(), sy.begin(), sy.end(), std::back_inserter(expectD));
    EXPECT_EQ(values(d), expectD);
    EXPECT_EQ(d.capacity(), capacity);
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, IdArraySetOps, ::testing::Values(21u, 22u));

TEST(IdArray, UnionIntoEmptyCopies) {
  IdArray empty;
  IdArray other = fromValues({5, -5});
  ASSERT_TRUE(empty.Union(other));
  EXPECT_EQ(values(empty), (std::vector<LONG>{-5, 5}));
  other.RemoveAll();
  EXPECT_EQ(empty.count(), 2);  // a copy, not a shared block
  IdArray self = fromValues({1, 2});
  ASSERT_TRUE(self.Union(self));
  EXPECT_EQ(values(self), (std::vector<LONG>{1, 2}));
}

struct SliceCase {
  int start;
  int count;
  std::vector<LONG> expected;
};

TEST(IdArray, SliceConstruction) {
  IdArray src = fromValues({10, 20, 30, 40});
  const SliceCase cases[] = {
      {0, 4, {10, 20, 30, 40}}, {1, 2, {20, 30}}, {-3, 2, {10, 20}}, {2, 99, {30, 40}},
      {4, 1, {}},               {9, 1, {}},       {1, 0, {}},       {1, -1, {}},
  };
  for (const auto& c : cases) {
    IdArray slice(src, c.start, c.count);
    EXPECT_EQ(values(slice), c.expected) << c.start << "," << c.count;
  }
}

// Integers from a reply body, with the byte count the body still holds.
class FakeSource : public IntSource {
 public:
  FakeSource(std::vector<LONG> ints, size_t bytesPerInt) : ints_(std::move(ints)), per_(bytesPerInt) {}
  bool readInt(LONG& out) override {
    if (next_ >= ints_.size()) return false;
    out = ints_[next_++];
    return true;
  }
  size_t bytesLeft() const override { return (ints_.size() - next_) * per_; }

 private:
  std::vector<LONG> ints_;
  size_t per_;
  size_t next_ = 0;
};

struct ReadCase {
  std::vector<LONG> body;
  size_t bytesPerInt;
  bool ok;
  std::vector<LONG> expected;  // the array afterwards
};

TEST(IdArrayRead, CountThenIdsSortedOrRefused) {
  const std::vector<LONG> before = {7};
  const ReadCase cases[] = {
      {{3, 30, 10, 20}, 4, true, {10, 20, 30}},
      {{4, 5, 5, -1, 2}, 2, true, {-1, 2, 5}},
      {{0}, 4, true, {}},
      {{-1, 1, 2}, 4, false, before},              // negative count
      {{5, 1, 2}, 1, false, before},               // more ids than bytes left
      {{1000000000}, 4, false, before},            // a hostile count allocates nothing
      {{3, 1, 2}, 100, false, before},             // body ends early
      {{}, 4, false, before},                      // no count at all
  };
  for (const auto& c : cases) {
    IdArray a = fromValues(before);
    FakeSource in(c.body, c.bytesPerInt);
    EXPECT_EQ(a.Read(in), c.ok) << c.body.size();
    EXPECT_EQ(values(a), c.expected) << c.body.size();
  }
}

TEST(IdArrayRead, SingleId) {
  FakeSource in({31}, 4);
  ObjectId id;
  EXPECT_TRUE(ReadObjectId(in, id));
  EXPECT_EQ(id, 31);
  EXPECT_FALSE(ReadObjectId(in, id));
  EXPECT_EQ(id, 31);
}

TEST(IdArray, RemoveAtAndFind) {
  IdArray a = fromValues({1, 3, 5});
  int index = -1;
  EXPECT_FALSE(a.Find(ObjectId(4), index));
  EXPECT_EQ(index, 2);
  EXPECT_TRUE(a.RemoveAt(1));
  EXPECT_FALSE(a.RemoveAt(2));
  EXPECT_FALSE(a.RemoveAt(-1));
  EXPECT_EQ(values(a), (std::vector<LONG>{1, 5}));
}

}  // namespace
