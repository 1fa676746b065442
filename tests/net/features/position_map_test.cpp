#include "net/position_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <string>

#include "net/feature_vector.h"

namespace {

IntSortedArray Ints(std::initializer_list<int> values) {
  IntSortedArray a;
  for (int v : values) a.Insert(v);
  return a;
}

TEST(PositionMap, TakeHandsOutTheEntryOnce) {
  IntSortedArray positions = Ints({12, 3});
  PositionMap map;
  ASSERT_TRUE(map.insert(ObjectId(0x2a), PositionEntry(0.75f, &positions)));
  ASSERT_TRUE(map.insert(ObjectId(7), PositionEntry()));
  positions.Insert(99);  // the map keeps its own copy
  EXPECT_EQ(map.count(), 2);

  PositionEntry out;
  ASSERT_TRUE(map.take(ObjectId(0x2a), out));
  EXPECT_FLOAT_EQ(out.weight(), 0.75f);
  EXPECT_EQ(std::string(out.formatPositions()), "    3    12 ");
  EXPECT_EQ(map.count(), 1);

  PositionEntry untouched(5.0f, nullptr);
  EXPECT_FALSE(map.take(ObjectId(0x2a), untouched)) << "taken already";
  EXPECT_FALSE(map.take(ObjectId(8), untouched)) << "never there";
  EXPECT_FLOAT_EQ(untouched.weight(), 5.0f);
  EXPECT_EQ(map.count(), 1);
  EXPECT_TRUE(map.contains(ObjectId(7)));
}

TEST(PositionMap, AnIdInsertedTwiceFallsBackToTheDefault) {
  IntSortedArray positions = Ints({4});
  PositionMap map;
  map.insert(ObjectId(5), PositionEntry(2.5f, &positions));
  map.insert(ObjectId(5), PositionEntry(9.0f, &positions));
  EXPECT_EQ(map.count(), 1);
  PositionEntry out(3.0f, &positions);
  ASSERT_TRUE(map.take(ObjectId(5), out));
  EXPECT_FLOAT_EQ(out.weight(), 1.0f);
  EXPECT_EQ(out.positions(), nullptr);
}

TEST(PositionMap, FilledFromAFeatureVector) {
  IntSortedArray positions = Ints({8, 2});
  FeatureVector v;
  v.append(std::make_unique<Features>(-1, 0.5f, &positions));
  v.append(std::make_unique<Features>(0x10, 2.0f, nullptr));
  PositionMap map;
  ASSERT_TRUE(map.insertAll(v));
  PositionEntry out;
  ASSERT_TRUE(map.take(ObjectId(-1), out));
  EXPECT_EQ(std::string(out.formatPositions()), "    2     8 ");
  ASSERT_TRUE(map.take(ObjectId(0x10), out));
  EXPECT_FLOAT_EQ(out.weight(), 2.0f);
  EXPECT_EQ(out.positions(), nullptr);
  EXPECT_EQ(map.count(), 0);
}

// Random inserts and takes against std::map; the tree stays shallow even
// when the ids come in ascending order.
TEST(PositionMap, AgreesWithAModelAndStaysBalanced) {
  std::mt19937 rng(5);
  PositionMap map;
  std::map<LONG, float> model;
  for (LONG id = 0; id < 2000; ++id) {
    float w = static_cast<float>(id) + 0.5f;
    ASSERT_TRUE(map.insert(ObjectId(id), PositionEntry(w, nullptr)));
    model[id] = w;
  }
  EXPECT_LT(map.depth(), 4 * static_cast<int>(std::log2(2000.0)));
  for (int step = 0; step < 20000; ++step) {
    LONG id = static_cast<LONG>(rng() % 3000) - 500;
    if (rng() % 2) {
      float w = static_cast<float>(step % 100) + 0.25f;
      ASSERT_TRUE(map.insert(ObjectId(id), PositionEntry(w, nullptr)));
      auto [it, added] = model.emplace(id, w);
      if (!added) it->second = 1.0f;
    } else {
      PositionEntry out;
      bool taken = map.take(ObjectId(id), out);
      auto it = model.find(id);
      ASSERT_EQ(taken, it != model.end()) << id;
      if (taken) {
        EXPECT_FLOAT_EQ(out.weight(), it->second) << id;
        model.erase(it);
      }
    }
    ASSERT_EQ(map.count(), static_cast<LONG>(model.size()));
  }
  for (const auto& [id, w] : model) EXPECT_TRUE(map.contains(ObjectId(id))) << id;
  EXPECT_LT(map.depth(), 4 * static_cast<int>(std::log2(static_cast<double>(model.size()) + 2)) + 4);
}

}  // namespace
