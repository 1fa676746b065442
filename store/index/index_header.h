// The header of an index file: 34 little-endian bytes at the start of block 0,
// the rest of the block zero. The B-tree keeps its root, first leaf and depth
// here, the record chains the block they fill, the pool the block allocated
// last. The other fields mean nothing to this program; they are written with
// their creation values and carried through unchanged.
#pragma once

#include <cstdint>

#include "win/types.h"

struct IndexHeader {
  // Byte offsets of the fields, shared by the reader and the writer.
  enum Offset : int {
    kValidAt = 0,
    kBlockSizeAt = 2,
    kRootAt = 4,
    kFirstLeafAt = 6,
    kSpare8At = 8,
    kSpare10At = 10,
    kChainBlockAt = 12,
    kSpare14At = 14,
    kSpare16At = 16,
    kLastAllocatedAt = 18,
    kSpare20At = 20,
    kSpare24At = 24,
    kSpare28At = 28,
    kSpare30At = 30,
    kDepthAt = 32,
    kSize = 34,
  };
  static constexpr WORD kCreationBlockSize = 1024;

  WORD valid = 1;  // a header whose mark is 0 is never written
  WORD blockSize = kCreationBlockSize;
  WORD root = 0;       // 0 while the tree is a single leaf
  WORD firstLeaf = 0;  // start of the leaf chain; 0 in an empty tree
  WORD spare8 = 0;
  WORD spare10 = 0;
  WORD chainBlock = 0;  // the record-chain block allocated last
  WORD spare14 = 0;
  WORD spare16 = 1;
  WORD lastAllocated = 1;
  DWORD spare20 = 0;
  DWORD spare24 = 0;
  WORD spare28 = 0;
  WORD spare30 = 100;
  WORD depth = 0;  // inner levels above the leaves

  void encode(BYTE out[kSize]) const;
  static IndexHeader decode(const BYTE in[kSize]);

  // The root of the tree: the inner root once there is one, else the leaf.
  WORD treeRoot() const { return root ? root : firstLeaf; }

  bool operator==(const IndexHeader&) const = default;
};
