#include "core/mru_cache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <random>
#include <vector>

namespace {

int gLiveValues = 0;

struct IntKey : MruKey {
  explicit IntKey(int k) : key(k) {}
  MruKey* clone() const override { return failClone ? nullptr : new IntKey(key); }
  int key;
  bool failClone = false;
};

struct IntValue : MruValue {
  explicit IntValue(int v) : value(v) { ++gLiveValues; }
  ~IntValue() override { --gLiveValues; }
  int value;
};

// Serves every key but the negative ones; counts how often it made a value.
class IntCache : public MruCache {
 public:
  using MruCache::MruCache;
  int created = 0;

 protected:
  MruValue* create(const MruKey& key) override {
    int k = static_cast<const IntKey&>(key).key;
    if (k < 0) return nullptr;
    ++created;
    return new IntValue(k * 10);
  }
  bool matches(const MruEntry& entry, const MruKey& key) const override {
    return static_cast<const IntKey*>(entry.key())->key == static_cast<const IntKey&>(key).key;
  }
};

std::vector<int> keys(const IntCache& cache) {
  std::vector<int> out;
  for (ListElement* e = cache.entries().first(); e; e = e->next())
    out.push_back(static_cast<const IntKey*>(static_cast<MruEntry*>(e)->key())->key);
  return out;
}

class MruCacheRandomOps : public ::testing::TestWithParam<int> {};

TEST_P(MruCacheRandomOps, MatchesAListModel) {
  const int capacity = GetParam();
  std::mt19937 rng(static_cast<unsigned>(capacity) * 31u);
  gLiveValues = 0;
  {
    IntCache cache(capacity);
    std::list<int> model;  // most recent first
    int misses = 0;
    for (int step = 0; step < 3000; ++step) {
      int k = static_cast<int>(rng() % 20);
      auto it = std::find(model.begin(), model.end(), k);
      if (it != model.end()) {
        model.erase(it);
      } else {
        ++misses;
        if (static_cast<int>(model.size()) >= capacity) model.pop_back();
      }
      model.push_front(k);
      auto* v = static_cast<IntValue*>(cache.Get(IntKey(k)));
      ASSERT_NE(v, nullptr);
      EXPECT_EQ(v->value, k * 10);
      ASSERT_EQ(keys(cache), std::vector<int>(model.begin(), model.end()));
      ASSERT_EQ(gLiveValues, static_cast<int>(model.size()));
    }
    EXPECT_EQ(cache.created, misses);
  }
  EXPECT_EQ(gLiveValues, 0);
}

INSTANTIATE_TEST_SUITE_P(Capacities, MruCacheRandomOps, ::testing::Values(1, 3, 10));

TEST(MruCache, HitRefreshesWithoutChangingTheCount) {
  IntCache cache(3);
  for (int k : {1, 2, 3}) cache.Get(IntKey(k));
  EXPECT_EQ(keys(cache), (std::vector<int>{3, 2, 1}));
  cache.Get(IntKey(1));
  EXPECT_EQ(keys(cache), (std::vector<int>{1, 3, 2}));
  EXPECT_EQ(cache.count(), 3);
  cache.Get(IntKey(4));  // full: the least recently used (2) goes
  EXPECT_EQ(keys(cache), (std::vector<int>{4, 1, 3}));
  EXPECT_EQ(cache.created, 4);
}

TEST(MruCache, FailuresAddNothing) {
  gLiveValues = 0;
  IntCache cache(2);
  cache.Get(IntKey(1));
  EXPECT_EQ(cache.Get(IntKey(-5)), nullptr);  // create fails
  IntKey noCopy(7);
  noCopy.failClone = true;
  EXPECT_EQ(cache.Get(noCopy), nullptr);  // the key copy fails: value freed
  EXPECT_EQ(keys(cache), (std::vector<int>{1}));
  EXPECT_EQ(gLiveValues, 1);
}

TEST(MruCache, CapacityBelowOneKeepsOneEntry) {
  IntCache cache(0);
  auto* v = static_cast<IntValue*>(cache.Get(IntKey(5)));
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->value, 50);
  EXPECT_EQ(cache.count(), 1);
}

}  // namespace
