// One node of the B-tree in its block, read and changed in place.
//
//   0  u16 type (11 inner, 12 leaf)      2  u16 next node at this level
//   4  u16 spare                         6  u16 entry count n
//   8  band table, N = blockSize / 256 + 1 bytes
//   8 + N  entries 1..n packed: fixed part (leaf: flags, high flags, u32
//          value; inner: u16 child) and the key bytes without a NUL
//   the last n bytes: the length byte of entry i at blockSize - i
//
// The length byte of entry i holds L(i) mod 256, L(i) being the key bytes of
// entries 1..i; the band table lists, in order, each i - 1 where L passed a
// multiple of 256 between entries i - 1 and i, ended by 255 when there is
// room. A key must therefore be shorter than 256 bytes (one length byte can
// only tell lengths below that), and a node holds at most 255 entries.
#pragma once

#include <string_view>

#include "win/types.h"

class BTreeNode {
 public:
  enum Type : WORD { kInner = 11, kLeaf = 12 };
  enum Offset : int { kTypeAt = 0, kNextAt = 2, kSpareAt = 4, kCountAt = 6, kBandsAt = 8 };
  enum : int {
    kLeafFixed = 6,
    kInnerFixed = 2,
    kMaxEntries = 255,
    kMaxKeyBytes = 255,
    kBandEnd = 255,
  };

  BTreeNode(BYTE* block, int blockSize) : p_(block), size_(blockSize) {}

  // The longest key a node of this block size takes so that a leaf always
  // holds two entries (and an inner node three).
  static int maxKeyLength(int blockSize);
  // Whether the block is a well-formed node: a known type, entries that lie
  // within the block, a band table that matches the length bytes, keys in
  // order, and an inner node's first key empty.
  static bool check(const BYTE* block, int blockSize);

  // A fresh node: type, next, spare and count set, band table rebuilt.
  void init(WORD type);

  WORD type() const;
  bool isLeaf() const { return type() == kLeaf; }
  WORD next() const;
  void setNext(WORD block);
  int count() const;
  int fixedSize() const { return isLeaf() ? kLeafFixed : kInnerFixed; }
  int bandBytes() const { return size_ / 256 + 1; }

  // L(i), the key bytes of entries 1..i.
  int keyEnd(int i) const;
  // Offset of entry i's fixed part (i may be count + 1: the end of the entries).
  int entryOffset(int i) const;
  std::string_view key(int i) const;

  BYTE flags(int i) const;
  BYTE highFlags(int i) const;
  DWORD value(int i) const;
  void setLeafEntry(int i, BYTE flags, BYTE highFlags, DWORD value);
  WORD child(int i) const;

  // Room for one more entry with a key of this length.
  bool fits(int keyLength) const;
  // First entry (from `from` on) whose key is not before `key`; count + 1
  // when there is none.
  int lowerBound(std::string_view key, int from = 1) const;
  // The entry of an inner node whose subtree holds `key`.
  int childIndex(std::string_view key) const;

  // Inserts an entry before entry `at` (1..count + 1).
  void insertEntry(int at, const BYTE* fixed, std::string_view key);
  // Keeps entries 1..n only.
  void keepFirst(int n);

  static int compare(std::string_view a, std::string_view b);

 private:
  int lengthByte(int i) const { return p_[size_ - i]; }
  void setCount(int n);
  void rebuildBands();

  BYTE* p_;
  int size_;
};
