#include "core/chunk_list.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

int gItems[64];

std::vector<void*> walk(ChunkList& list) {
  std::vector<void*> out;
  for (void* p = list.First(); p; p = list.Next()) out.push_back(p);
  return out;
}

TEST(ChunkList, NineMakeASecondChunk) {
  ChunkList list;
  for (int i = 0; i < 9; ++i) EXPECT_EQ(list.Add(&gItems[i]), &gItems[i]);
  EXPECT_EQ(list.chunkCount(), 2);
  EXPECT_EQ(list.First(), &gItems[0]);
  for (int i = 1; i < 9; ++i) EXPECT_EQ(list.Next(), &gItems[i]);
  EXPECT_EQ(list.Next(), nullptr);
  EXPECT_EQ(list.Next(), nullptr);
}

TEST(ChunkList, EightFillTheFirstChunkExactly) {
  ChunkList list;
  for (int i = 0; i < 8; ++i) list.Add(&gItems[i]);
  EXPECT_EQ(list.chunkCount(), 1);
  list.First();
  for (int i = 1; i < 8; ++i) EXPECT_EQ(list.Next(), &gItems[i]);
  EXPECT_EQ(list.Next(), nullptr);
  EXPECT_EQ(list.chunkCount(), 1);
}

TEST(ChunkList, NullAddsNothingAndRemoveAllEmpties) {
  ChunkList list;
  EXPECT_EQ(list.Add(nullptr), nullptr);
  EXPECT_EQ(list.First(), nullptr);
  for (int i = 0; i < 20; ++i) list.Add(&gItems[i]);
  EXPECT_EQ(list.Add(nullptr), nullptr);
  EXPECT_EQ(walk(list).size(), 20u);
  EXPECT_EQ(list.chunkCount(), 3);
  list.RemoveAll();
  EXPECT_EQ(list.chunkCount(), 1);
  EXPECT_EQ(list.First(), nullptr);
  EXPECT_EQ(list.Next(), nullptr);
  list.Add(&gItems[1]);
  EXPECT_EQ(walk(list), std::vector<void*>{&gItems[1]});
}

TEST(ChunkList, RandomAddsAndWalksMatchAVector) {
  std::mt19937 rng(9);
  ChunkList list;
  std::vector<void*> model;
  size_t walked = 0;  // position of a walk in progress
  bool walking = false;
  for (int step = 0; step < 3000; ++step) {
    switch (rng() % 4) {
      case 0:
      case 1: {
        void* p = &gItems[rng() % 64];
        ASSERT_EQ(list.Add(p), p);
        model.push_back(p);
        walking = false;  // an add leaves the cursor at the end
        ASSERT_EQ(list.Next(), nullptr);
        break;
      }
      case 2:
        ASSERT_EQ(list.First(), model.empty() ? nullptr : model[0]);
        walked = 0;
        walking = true;
        break;
      case 3:
        if (walking) {
          void* expected = walked + 1 < model.size() ? model[walked + 1] : nullptr;
          ASSERT_EQ(list.Next(), expected);
          if (walked < model.size()) ++walked;
        }
        break;
    }
    if (rng() % 500 == 0) {
      list.RemoveAll();
      model.clear();
      walking = false;
    }
  }
  EXPECT_EQ(walk(list), model);
  EXPECT_EQ(list.chunkCount(), model.empty() ? 1 : static_cast<int>((model.size() + 7) / 8));
}

}  // namespace
