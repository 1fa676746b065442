#include "core/string_hash_set.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// Two different strings of one bucket: "a" and the byte 'a' + 1021 folded
// into two characters: "\x01" followed by ('a' + 1021 - 8) ... found by search
// so the test does not depend on a hand computation.
std::pair<std::string, std::string> collidingPair() {
  const int target = StringHashSet::Hash("a");
  for (int c1 = 1; c1 < 256; ++c1)
    for (int c2 = 1; c2 < 256; ++c2) {
      std::string s{static_cast<char>(c1), static_cast<char>(c2)};
      if (StringHashSet::Hash(s.c_str()) == target) return {"a", s};
    }
  return {};
}

TEST(StringHashSet, HashOfTheOldFormula) {
  struct Case {
    const char* s;
    int bucket;
  };
  const Case cases[] = {
      {nullptr, 0},
      {"", 0},
      {"a", 97},
      {"ab", (97 * 8 + 98) % 1021},
      {"\xff", static_cast<int>(0xFFFFFFFFu % 1021u)},  // the byte counts as -1
      {"abcdefghijklmnop", -1},                         // checked below by formula
  };
  for (const auto& c : cases) {
    if (c.bucket < 0) continue;
    EXPECT_EQ(StringHashSet::Hash(c.s), c.bucket) << (c.s ? c.s : "(null)");
  }
  DWORD h = 0;
  for (const char* p = "abcdefghijklmnop"; *p; ++p) h = h * 8 + static_cast<DWORD>(*p);
  EXPECT_EQ(StringHashSet::Hash("abcdefghijklmnop"), static_cast<int>(h % 1021));
}

TEST(StringHashSet, SameStringSameIndexAndCollisionsOverflow) {
  StringHashSet set;
  EXPECT_EQ(set.used(), 1021);
  auto [a, b] = collidingPair();
  ASSERT_FALSE(b.empty());
  int ia = set.insert(a.c_str());
  EXPECT_EQ(ia, StringHashSet::Hash(a.c_str()));
  EXPECT_EQ(set.insert(a.c_str()), ia);
  EXPECT_EQ(set.insert(b.c_str()), 1021);  // the first overflow slot
  EXPECT_EQ(set.used(), 1022);
  EXPECT_EQ(set.insert(b.c_str()), 1021);
  EXPECT_EQ(set.at(ia), a.c_str());
  EXPECT_EQ(set.at(1021), b.c_str());
  EXPECT_TRUE(set.has(1021));
  EXPECT_FALSE(set.has(1022));
  EXPECT_FALSE(set.has(-1));
  EXPECT_FALSE(set.has(ia + 1));
  EXPECT_EQ(set.at(5000), "");
  EXPECT_EQ(set.insert(nullptr), set.insert(""));
}

TEST(StringHashSet, MatchesAnUnorderedMapAndIndicesStayPut) {
  std::mt19937 rng(3);
  StringHashSet set;
  std::unordered_map<std::string, int> model;
  for (int step = 0; step < 20000; ++step) {
    std::string s = "n" + std::to_string(rng() % 5000);
    int index = set.insert(s.c_str());
    ASSERT_GE(index, 0);
    auto [it, added] = model.emplace(s, index);
    ASSERT_EQ(index, it->second) << s;  // a string keeps its index
    ASSERT_LT(set.used(), set.capacity());
  }
  for (const auto& [s, index] : model) {
    ASSERT_TRUE(set.has(index));
    ASSERT_EQ(set.at(index), s.c_str());
  }
  set.Clear();
  EXPECT_EQ(set.used(), 1021);
  for (const auto& [s, index] : model) EXPECT_FALSE(set.has(index));
}

TEST(StringHashSet, FailedGrowthLeavesTheSetUnchanged) {
  StringHashSet set;
  set.setSlotLimit(1021 + 100 + 2);  // room for the first table growth only
  // Fill the overflow slots of one bucket until the table must grow again.
  std::vector<std::string> inserted;
  std::vector<int> indices;
  int failedAt = -1;
  for (int i = 0; i < 400 && failedAt < 0; ++i) {
    std::string s = "x" + std::to_string(i);
    int before = set.used();
    int capacity = set.capacity();
    int index = set.insert(s.c_str());
    if (index < 0) {
      failedAt = i;
      EXPECT_EQ(set.used(), before);
      EXPECT_EQ(set.capacity(), capacity);
    } else {
      inserted.push_back(s);
      indices.push_back(index);
    }
  }
  ASSERT_GE(failedAt, 0);
  // Everything inserted before is still there, under its index; the
  // refused string was not half added.
  for (size_t i = 0; i < inserted.size(); ++i) {
    EXPECT_EQ(set.at(indices[i]), inserted[i].c_str());
    EXPECT_EQ(set.insert(inserted[i].c_str()), indices[i]);
  }
  std::string refused = "x" + std::to_string(failedAt);
  EXPECT_EQ(set.insert(refused.c_str()), -1);
  set.setSlotLimit(StringHashSet::kDefaultSlotLimit);
  EXPECT_GE(set.insert(refused.c_str()), 0);
}

}  // namespace
