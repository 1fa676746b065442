// Blocks that are not what the tree expects end a walk and are reported;
// their bytes are never handed out as keys or values.
#include <gtest/gtest.h>

#include <string>

#include "store/index/btree_node.h"
#include "store/index/index_file.h"
#include "support/index_contents.h"
#include "support/temp_dir.h"

namespace {

using index_testing::numberedKey;

using index_testing::le16;

// Three leaves under one root, and a chain.
struct Built {
  std::string path;
  WORD root, firstLeaf, secondLeaf, chainBlock;
};

Built build(const testing_support::TempDir& dir) {
  Built b;
  b.path = dir.file("d.bof");
  IndexFile index;
  EXPECT_EQ(index.open(b.path.c_str(), IndexFile::kCreateReadWrite), 0);
  for (int i = 0; i < 20; ++i) index.insert(numberedKey(i, 120), IndexEntry{0x10, 0, static_cast<DWORD>(i)}, false);
  index.insert(numberedKey(3, 120), IndexEntry{0x10, 0, 100}, false);
  b.root = index.pool().header().root;
  b.firstLeaf = index.pool().header().firstLeaf;
  b.chainBlock = index.pool().header().chainBlock;
  BTreeNode first(index.pool().get(b.firstLeaf, 1), 1024);
  b.secondLeaf = first.next();
  return b;
}

TEST(IndexDamage, BrokenBlocksAreReportedNotRead) {
  struct Case {
    const char* what;
    // block and offset within it, and the bytes put there
    int (*block)(const Built&);
    long offset;
    std::string bytes;
  };
  auto root = [](const Built& b) { return static_cast<int>(b.root); };
  auto leaf = [](const Built& b) { return static_cast<int>(b.firstLeaf); };
  auto second = [](const Built& b) { return static_cast<int>(b.secondLeaf); };
  auto chain = [](const Built& b) { return static_cast<int>(b.chainBlock); };
  const Case cases[] = {
      {"a leaf of an unknown type", leaf, 0, le16(77)},
      {"a leaf counting more entries than fit", leaf, 6, le16(250)},
      {"a band table that does not match the lengths", leaf, 8, std::string("\x01", 1)},
      {"keys out of order", leaf, 8 + 5 + 6, std::string("\xFF", 1)},
      {"a root child beyond the file", root, 8 + 5, le16(900)},
      {"a root child that is the root itself", root, 8 + 5, std::string()},
      {"a leaf chain that turns back on itself", second, 2, std::string()},
      {"a chain block of another type", chain, 0, le16(12)},
      {"a chain that continues into itself", chain, 4 + 6, std::string("\x02\x00", 2)},
  };
  for (const Case& c : cases) {
    testing_support::TempDir dir;
    Built b = build(dir);
    std::string bytes = c.bytes;
    if (std::string(c.what) == "a root child that is the root itself") bytes = le16(b.root);
    if (std::string(c.what) == "a leaf chain that turns back on itself") bytes = le16(b.firstLeaf);
    long at = 1024L * c.block(b) + c.offset;
    index_testing::patchFile(b.path, at, bytes);
    if (std::string(c.what) == "a chain that continues into itself")
      index_testing::patchFile(b.path, at + 2, le16(b.chainBlock) + le16(1));

    IndexFile index;
    ASSERT_EQ(index.open(b.path.c_str(), IndexFile::kReadOnly), 0) << c.what;
    index_testing::Contents all;
    EXPECT_FALSE(index_testing::readAll(index, all)) << c.what;
    EXPECT_TRUE(index.damaged()) << c.what;
    for (const auto& [key, values] : all) {
      EXPECT_EQ(key.substr(0, 1), "K") << c.what;
      for (const IndexEntry& e : values) EXPECT_TRUE(e.value < 20 || e.value == 100) << c.what;
    }
  }
}

}  // namespace
