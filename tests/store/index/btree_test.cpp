#include "store/index/btree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "store/index/btree_node.h"
#include "store/index/index_file.h"
#include "support/index_contents.h"
#include "support/index_model.h"
#include "support/temp_dir.h"

namespace {

using index_testing::Contents;
using index_testing::fileBytes;
using index_testing::numberedKey;
using index_testing::valuesOf;

using index_testing::le16;
using index_testing::le32;
WORD headerField(const std::string& path, int offset) {
  std::string b = fileBytes(path, offset, 2);
  return static_cast<WORD>(static_cast<BYTE>(b[0]) | (static_cast<BYTE>(b[1]) << 8));
}

class BTreeFile : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.file("tree.bof");
    ASSERT_EQ(index_.open(path_.c_str(), IndexFile::kCreateReadWrite), 0);
  }
  int put(const std::string& key, DWORD value, BYTE flags = 0x10, bool replace = false) {
    return index_.insert(key, IndexEntry{flags, 0, value}, replace);
  }
  std::string block(int n) { return fileBytes(path_, 1024L * n, 1024); }

  testing_support::TempDir dir_;
  std::string path_;
  IndexFile index_;
};

TEST_F(BTreeFile, TheFirstKeyMakesBlockOneALeafLaidOutByteForByte) {
  ASSERT_EQ(index_.insert("ABC", IndexEntry{0x10, 0x05, 0x11223344}, false), 0);
  EXPECT_EQ(headerField(path_, 6), 1);  // first leaf
  EXPECT_EQ(headerField(path_, 4), 0);  // no inner root yet
  EXPECT_EQ(headerField(path_, 18), 1);
  std::string expected = le16(12) + le16(0) + le16(0) + le16(1) + "\xFF" + std::string(4, '\xA1') +
                         "\x10\x05" + le32(0x11223344) + "ABC";
  expected += std::string(1023 - expected.size(), '\xA1');
  expected += '\x03';
  EXPECT_EQ(block(1), expected);
}

TEST_F(BTreeFile, TheFirstSplitGrowsARootOfTwoEntries) {
  // Seven 130-byte keys fill a leaf; the eighth splits it at entry 4.
  for (int i = 1; i <= 8; ++i) ASSERT_EQ(put(numberedKey(i, 130), static_cast<DWORD>(i)), 0);
  EXPECT_EQ(headerField(path_, 4), 3);   // root
  EXPECT_EQ(headerField(path_, 6), 1);   // the first leaf stays the first
  EXPECT_EQ(headerField(path_, 32), 1);  // depth
  std::string root = le16(11) + le16(0) + le16(0) + le16(2) + "\xFF" + std::string(4, '\xA1') +
                     le16(1) + le16(2) + numberedKey(4, 130);
  root += std::string(1022 - root.size(), '\xA1');
  root += std::string("\x82\x00", 2);  // length bytes of entries 2 and 1
  EXPECT_EQ(block(3), root);
  std::string leftBytes = block(1);
  BTreeNode left(reinterpret_cast<BYTE*>(leftBytes.data()), 1024);
  std::string rightBytes = block(2);
  BTreeNode right(reinterpret_cast<BYTE*>(rightBytes.data()), 1024);
  EXPECT_EQ(left.count(), 3);
  EXPECT_EQ(left.next(), 2);
  EXPECT_EQ(right.count(), 5);
  EXPECT_EQ(right.next(), 0);
  EXPECT_EQ(std::string(right.key(1)), numberedKey(4, 130));
}

TEST_F(BTreeFile, ANodeSplitsAfterHalfItsEntries) {
  struct Case {
    size_t keyLength;
    int entriesThatFit;
    int separatorEntry;
  };
  // Seven keys of 130 bytes fill a leaf, eight of 110 do.
  const Case cases[] = {{130, 7, 4}, {110, 8, 5}};
  for (const Case& c : cases) {
    testing_support::TempDir dir;
    IndexFile index;
    ASSERT_EQ(index.open(dir.file("s.bof").c_str(), IndexFile::kCreateReadWrite), 0);
    for (int i = 1; i <= c.entriesThatFit; ++i)
      ASSERT_EQ(index.insert(numberedKey(i, c.keyLength), IndexEntry{0, 0, 1}, false), 0);
    EXPECT_EQ(index.pool().header().depth, 0) << c.keyLength;
    ASSERT_EQ(index.insert(numberedKey(100, c.keyLength), IndexEntry{0, 0, 1}, false), 0);
    ASSERT_EQ(index.pool().header().depth, 1) << c.keyLength;
    BYTE* root = index.pool().get(index.pool().header().root, 10);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(std::string(BTreeNode(root, 1024).key(2)), numberedKey(c.separatorEntry, c.keyLength));
  }
}

TEST_F(BTreeFile, KeysPassing256BytesInANodeReadBackThroughTheBandTable) {
  for (int i = 1; i <= 5; ++i) ASSERT_EQ(put(numberedKey(i, 100), static_cast<DWORD>(i)), 0);
  std::string leaf = block(1);
  // L = 100, 200, 300, ...: the length bytes fall back after entry 2.
  EXPECT_EQ(leaf.substr(8, 3), std::string("\x02\xFF\xA1", 3));
  for (int i = 1; i <= 5; ++i) {
    ASSERT_EQ(index_.find(numberedKey(i, 100), 1), 0) << i;
    EXPECT_EQ(index_.key(), numberedKey(i, 100));
    EXPECT_EQ(index_.entry().value, static_cast<DWORD>(i));
  }
}

TEST_F(BTreeFile, ASecondValueMakesAChainWalkedInInsertionOrder) {
  ASSERT_EQ(put("WORD", 10), 0);
  ASSERT_EQ(put("WORD", 20), 0);
  ASSERT_EQ(put("WORD", 30, 0x20), 0);
  ASSERT_EQ(put("WORD", 30, 0x20), 0);  // the newest value again: nothing added
  ASSERT_EQ(put("ZEBRA", 5), 0);
  EXPECT_EQ(valuesOf(index_, "WORD"), (std::vector<DWORD>{10, 20, 30}));
  // The chain's first slot holds the old value, its last one carries the
  // last mark.
  std::string chain = block(2);
  EXPECT_EQ(chain.substr(0, 4), le16(13) + le16(3));
  EXPECT_EQ(chain.substr(10, 6), std::string("\x10\x00", 2) + le32(10));
  EXPECT_EQ(chain.substr(22, 6), std::string("\x24\x00", 2) + le32(30));

  ASSERT_EQ(index_.find("WORD", 1), 0);
  ASSERT_EQ(index_.next(true), 0);
  ASSERT_EQ(index_.entry().value, 20u);
  ASSERT_EQ(index_.remove(), 0);
  EXPECT_EQ(valuesOf(index_, "WORD"), (std::vector<DWORD>{10, 30}));
  // Without the key, next steps to the following key.
  ASSERT_EQ(index_.find("WORD", 1), 0);
  ASSERT_EQ(index_.next(false), 0);
  EXPECT_EQ(index_.key(), "ZEBRA");
  ASSERT_EQ(index_.findNewest("WORD"), 0);
  EXPECT_EQ(index_.entry(), (IndexEntry{0x20, 0, 30}));
}

TEST_F(BTreeFile, ReplaceOverwritesSameValueChangesOnlyFlags) {
  ASSERT_EQ(put("K", 1, 0x10), 0);
  ASSERT_EQ(put("K", 1, 0x80), 0);  // same value, other flags: overwritten
  ASSERT_EQ(index_.find("K", 1), 0);
  EXPECT_EQ(index_.entry(), (IndexEntry{0x80, 0, 1}));
  ASSERT_EQ(put("K", 2, 0x10, true), 0);  // replace: no chain
  EXPECT_EQ(valuesOf(index_, "K"), (std::vector<DWORD>{2}));
}

TEST_F(BTreeFile, DeletedKeysAreSkippedAndComeBackWithoutATwin) {
  for (const char* k : {"APPLE", "BANANA", "CHERRY"}) ASSERT_EQ(put(k, 1), 0);
  ASSERT_EQ(index_.find("BANANA", 1), 0);
  ASSERT_EQ(index_.remove(), 0);
  EXPECT_EQ(index_.find("BANANA", 1), -1);
  ASSERT_EQ(index_.find("BANANA", 2), 0);
  EXPECT_EQ(index_.key(), "CHERRY");
  ASSERT_EQ(index_.find("B", 3), 0);
  EXPECT_EQ(index_.key(), "CHERRY");
  EXPECT_EQ(index_.find("A", 3), -1);  // below every key of the leaf
  ASSERT_EQ(index_.find("A", 2), 0);
  EXPECT_EQ(index_.key(), "APPLE");
  EXPECT_EQ(index_.find("D", 2), -1);

  ASSERT_EQ(put("BANANA", 9), 0);
  EXPECT_EQ(valuesOf(index_, "BANANA"), (std::vector<DWORD>{9}));
  BTreeNode leaf(index_.pool().get(1, 1), 1024);
  EXPECT_EQ(leaf.count(), 3);
}

TEST_F(BTreeFile, KeysAreCutSoThatALeafAlwaysHoldsTwo) {
  EXPECT_EQ(index_.maxKeyLength(), 255);
  std::string longKey(300, 'Q');
  ASSERT_EQ(put(longKey, 1), 0);
  ASSERT_EQ(index_.find(longKey, 1), 0);
  EXPECT_EQ(index_.key(), std::string(255, 'Q'));
  // Keys at the limit in any order.
  std::mt19937 rng(7);
  std::vector<int> order(120);
  for (int i = 0; i < 120; ++i) order[static_cast<size_t>(i)] = i;
  std::shuffle(order.begin(), order.end(), rng);
  for (int i : order) ASSERT_EQ(put(numberedKey(i, 255), static_cast<DWORD>(i)), 0);
  Contents all;
  ASSERT_TRUE(index_testing::readAll(index_, all));
  EXPECT_EQ(all.size(), 121u);
}

TEST_F(BTreeFile, ASplitRepeatsUntilTheEntryFits) {
  // Twenty short keys and three long ones fill a leaf; a fourth long key
  // lands in a half that is still too full after one split.
  for (int i = 0; i < 20; ++i) ASSERT_EQ(put(std::string{static_cast<char>('a' + i / 10), static_cast<char>('0' + i % 10)}, 1), 0);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(put("z" + numberedKey(i, 254), 2), 0);
  EXPECT_EQ(index_.pool().header().depth, 0);
  ASSERT_EQ(put("z" + numberedKey(9, 254), 3), 0);
  Contents all;
  ASSERT_TRUE(index_testing::readAll(index_, all));
  EXPECT_EQ(all.size(), 24u);
  EXPECT_FALSE(index_.damaged());
}

TEST_F(BTreeFile, AChainBlockOf169SlotsSendsTheNextValueToANewBlock) {
  ASSERT_EQ(put("MANY", 0), 0);
  for (DWORD v = 1; v <= 168; ++v) ASSERT_EQ(put("MANY", v), 0);
  EXPECT_EQ(block(2).substr(0, 4), le16(13) + le16(169));
  ASSERT_EQ(put("MANY", 169), 0);
  // The last value moves to the new block, its old slot continues there.
  std::string first = block(2);
  EXPECT_EQ(first.substr(4 + 6 * 169, 6), std::string("\x02\x00", 2) + le32(3 | (1u << 16)));
  EXPECT_EQ(block(3).substr(0, 4), le16(13) + le16(2));
  std::vector<DWORD> values = valuesOf(index_, "MANY");
  ASSERT_EQ(values.size(), 170u);
  for (DWORD v = 0; v < 170; ++v) EXPECT_EQ(values[v], v);
}

TEST(BTreeModel, RandomInsertsChainsAndDeletesMatchAModelAcrossReopens) {
  struct Setup {
    int poolBlocks;
    bool writeBack;
    unsigned seed;
  };
  const Setup setups[] = {{10, false, 1}, {4, false, 2}, {4, true, 3}, {1, true, 4}};
  for (const Setup& s : setups) {
    SCOPED_TRACE(testing::Message() << "pool " << s.poolBlocks << " writeBack " << s.writeBack);
    testing_support::TempDir dir;
    std::string path = dir.file("model.bof");
    IndexFile index;
    ASSERT_EQ(index.open(path.c_str(), IndexFile::kCreateReadWrite, s.poolBlocks, s.writeBack), 0);
    index_testing::IndexModel model;
    std::vector<index_testing::IndexOp> ops = index_testing::makeOps(s.seed, 3000, 400);
    for (size_t step = 0; step < ops.size(); ++step) {
      ASSERT_TRUE(index_testing::apply(index, model, ops[step])) << step;
      if (step % 500 == 499) {
        ASSERT_EQ(index.close(), 0);
        ASSERT_EQ(index.open(path.c_str(), IndexFile::kReadWrite, s.poolBlocks, s.writeBack), 0);
      }
    }
    Contents all;
    ASSERT_TRUE(index_testing::readAll(index, all));
    EXPECT_EQ(all, model.keys);
    EXPECT_FALSE(index.damaged());
  }
}

}  // namespace
