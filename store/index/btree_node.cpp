#include "store/index/btree_node.h"

#include <algorithm>
#include <cstring>

#include "core/le_numbers.h"
#include "store/index/block_bytes.h"

int BTreeNode::compare(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  int c = n ? std::memcmp(a.data(), b.data(), n) : 0;
  if (c != 0) return c < 0 ? -1 : 1;
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

int BTreeNode::maxKeyLength(int blockSize) {
  int bands = blockSize / 256 + 1;
  // Two leaf entries of k bytes fit while 2k < blockSize - 22 - N.
  return std::min(static_cast<int>(kMaxKeyBytes), (blockSize - 23 - bands) / 2);
}

WORD BTreeNode::type() const { return wordAt(p_, kTypeAt); }
WORD BTreeNode::next() const { return wordAt(p_, kNextAt); }
void BTreeNode::setNext(WORD block) { setWordAt(p_, kNextAt, block); }
int BTreeNode::count() const { return wordAt(p_, kCountAt); }
void BTreeNode::setCount(int n) { setWordAt(p_, kCountAt, static_cast<WORD>(n)); }

void BTreeNode::init(WORD type) {
  setWordAt(p_, kTypeAt, type);
  setWordAt(p_, kNextAt, 0);
  setWordAt(p_, kSpareAt, 0);
  setCount(0);
  rebuildBands();
}

int BTreeNode::keyEnd(int i) const {
  if (i <= 0) return 0;
  int bands = bandBytes();
  int passed = 0;
  while (passed < bands && p_[kBandsAt + passed] < i) ++passed;
  return 256 * passed + lengthByte(i);
}

int BTreeNode::entryOffset(int i) const {
  return kBandsAt + bandBytes() + keyEnd(i - 1) + fixedSize() * (i - 1);
}

std::string_view BTreeNode::key(int i) const {
  int start = keyEnd(i - 1);
  int end = keyEnd(i);
  int at = kBandsAt + bandBytes() + start + fixedSize() * i;
  return std::string_view(reinterpret_cast<const char*>(p_ + at), static_cast<size_t>(end - start));
}

BYTE BTreeNode::flags(int i) const { return p_[entryOffset(i)]; }
BYTE BTreeNode::highFlags(int i) const { return p_[entryOffset(i) + 1]; }

DWORD BTreeNode::value(int i) const {
  const BYTE* q = p_ + entryOffset(i) + 2;
  return getLongLE(q);
}

void BTreeNode::setLeafEntry(int i, BYTE flags, BYTE highFlags, DWORD value) {
  BYTE* q = p_ + entryOffset(i);
  putByte(q, flags);
  putByte(q, highFlags);
  putLongLE(q, value);
}

WORD BTreeNode::child(int i) const { return wordAt(p_, entryOffset(i)); }

bool BTreeNode::fits(int keyLength) const {
  int n = count();
  if (n >= kMaxEntries) return false;
  int f = fixedSize();
  int free = size_ - kBandsAt - bandBytes() - keyEnd(n) - n * (f + 1);
  return keyLength + 1 + f < free;
}

int BTreeNode::lowerBound(std::string_view k, int from) const {
  int lo = from, hi = count() + 1;
  while (lo < hi) {
    int mid = lo + (hi - lo) / 2;
    if (compare(key(mid), k) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

int BTreeNode::childIndex(std::string_view k) const {
  // The first entry from 2 on whose key is after `k`; the one before it.
  int lo = 2, hi = count() + 1;
  while (lo < hi) {
    int mid = lo + (hi - lo) / 2;
    if (compare(key(mid), k) <= 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo - 1;
}

void BTreeNode::insertEntry(int at, const BYTE* fixed, std::string_view k) {
  int n = count();
  int f = fixedSize();
  int len = static_cast<int>(k.size());
  int before = keyEnd(at - 1);
  int start = entryOffset(at);
  int end = entryOffset(n + 1);
  std::memmove(p_ + start + f + len, p_ + start, static_cast<size_t>(end - start));
  std::memcpy(p_ + start, fixed, static_cast<size_t>(f));
  if (len) std::memcpy(p_ + start + f, k.data(), static_cast<size_t>(len));
  // Length bytes of entries at..n move one place down and grow by the key.
  for (int i = n; i >= at; --i) p_[size_ - (i + 1)] = static_cast<BYTE>(p_[size_ - i] + len);
  p_[size_ - at] = static_cast<BYTE>(before + len);
  setCount(n + 1);
  rebuildBands();
}

void BTreeNode::keepFirst(int n) {
  setCount(n);
  rebuildBands();
}

void BTreeNode::rebuildBands() {
  int n = count();
  int bands = bandBytes();
  int used = 0;
  for (int i = 2; i <= n && used < bands; ++i)
    if (lengthByte(i - 1) > lengthByte(i)) p_[kBandsAt + used++] = static_cast<BYTE>(i - 1);
  if (used < bands) p_[kBandsAt + used] = kBandEnd;
}

bool BTreeNode::check(const BYTE* block, int blockSize) {
  WORD type = wordAt(block, kTypeAt);
  if (type != kInner && type != kLeaf) return false;
  int n = wordAt(block, kCountAt);
  if (n > kMaxEntries || (type == kInner && n == 0)) return false;
  BTreeNode node(const_cast<BYTE*>(block), blockSize);
  int bands = node.bandBytes();
  if (n == 0) return true;
  // The band table must be the one the length bytes call for.
  int used = 0;
  for (int i = 2; i <= n; ++i) {
    if (node.lengthByte(i - 1) <= node.lengthByte(i)) continue;
    if (used >= bands || block[kBandsAt + used] != i - 1) return false;
    ++used;
  }
  if (used < bands && block[kBandsAt + used] != kBandEnd) return false;
  int f = node.fixedSize();
  if (kBandsAt + bands + node.keyEnd(n) + n * (f + 1) > blockSize) return false;
  if (type == kInner && !node.key(1).empty()) return false;
  // Keys are cut to the limit when they are stored: a longer one is damage.
  int maxKey = maxKeyLength(blockSize);
  for (int i = 1; i <= n; ++i)
    if (node.keyEnd(i) - node.keyEnd(i - 1) > maxKey) return false;
  for (int i = type == kInner ? 3 : 2; i <= n; ++i)
    if (compare(node.key(i - 1), node.key(i)) > 0) return false;
  return true;
}
