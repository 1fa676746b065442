// The atom pool: what it hands out is aligned, apart and reusable, and when
// the last object is given back no block is held any more.
#include "text/atom/atom_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

namespace {

TEST(AtomPool, HandsOutAlignedSeparateRoomAndTakesAllOfItBack) {
  const size_t liveBefore = AtomPool::LiveObjects();
  // Sizes at and around the size steps, the largest pooled size, and one
  // above it that the general heap serves.
  const size_t sizes[] = {1, 8, 9, 16, 17, 40, 128, 129, 500, AtomPool::kLargest, AtomPool::kLargest + 1, 5000};
  struct Piece {
    unsigned char* p;
    size_t size;
  };
  std::vector<Piece> pieces;
  // Enough of each to need many blocks.
  for (int round = 0; round < 300; ++round)
    for (size_t size : sizes) {
      auto* p = static_cast<unsigned char*>(AtomPool::Allocate(size));
      ASSERT_NE(p, nullptr);
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % alignof(void*), 0u) << size;
      std::memset(p, static_cast<int>(pieces.size() & 0xFF), size);
      pieces.push_back({p, size});
    }
  EXPECT_GT(AtomPool::Blocks(), 1u);
  // No two pieces overlap: each still holds its own fill.
  for (size_t i = 0; i < pieces.size(); ++i)
    for (size_t k = 0; k < pieces[i].size; ++k)
      ASSERT_EQ(pieces[i].p[k], static_cast<unsigned char>(i & 0xFF)) << i << " " << k;
  const size_t pooled = static_cast<size_t>(std::count_if(pieces.begin(), pieces.end(), [](const Piece& piece) {
    return piece.size <= AtomPool::kLargest;
  }));
  EXPECT_EQ(AtomPool::LiveObjects(), liveBefore + pooled);

  // Room given back is handed out again for the same size.
  unsigned char* freed = pieces[3].p;
  AtomPool::Free(freed, pieces[3].size);
  void* again = AtomPool::Allocate(pieces[3].size);
  EXPECT_EQ(again, freed);

  for (const Piece& piece : pieces) AtomPool::Free(piece.p, piece.size);
  EXPECT_EQ(AtomPool::LiveObjects(), liveBefore);
  if (liveBefore == 0) EXPECT_EQ(AtomPool::Blocks(), 0u);
  AtomPool::Free(nullptr, 16);  // nothing to give back
  EXPECT_EQ(AtomPool::LiveObjects(), liveBefore);
}

}  // namespace
