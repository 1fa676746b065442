// fuzz-libs: zemra_store
//
// Input: one byte choosing the block size (256, 512, 1024 or 4096), then a
// node block (cut or padded with 0xA1 to the block size). A block that
// passes the node check must be read without leaving the block, and must
// still pass it after entries are inserted while they fit and after the
// node is cut to its first half.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "store/index/btree_node.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const int kSizes[] = {256, 512, 1024, 4096};
  int blockSize = kSizes[data[0] % 4];
  std::vector<BYTE> block(static_cast<size_t>(blockSize), 0xA1);
  std::memcpy(block.data(), data + 1, std::min(size - 1, block.size()));
  if (!BTreeNode::check(block.data(), blockSize)) return 0;

  BTreeNode node(block.data(), blockSize);
  int n = node.count();
  for (int i = 1; i <= n; ++i) {
    std::string_view key = node.key(i);
    check(key.data() >= reinterpret_cast<const char*>(block.data()));
    check(key.data() + key.size() <= reinterpret_cast<const char*>(block.data() + blockSize));
    if (node.isLeaf()) node.value(i);
  }
  // New keys between the old ones, as long as they fit.
  int maxKey = BTreeNode::maxKeyLength(blockSize);
  for (int round = 0; round < 300; ++round) {
    std::string key(static_cast<size_t>((round * 37) % (maxKey + 1)), static_cast<char>('A' + round % 26));
    if (!node.fits(static_cast<int>(key.size()))) break;
    int at = node.isLeaf() ? node.lowerBound(key) : node.lowerBound(key, 2);
    BYTE fixed[6] = {0x10, 0, 1, 2, 3, 4};
    if (!node.isLeaf() && at == 1) continue;  // the first inner entry keeps the empty key
    node.insertEntry(at, fixed, key);
    check(BTreeNode::check(block.data(), blockSize));
  }
  if (node.count() > 1) {
    node.keepFirst(node.count() / 2);
    check(BTreeNode::check(block.data(), blockSize));
  }
  return 0;
}
