#include "store/index/block_pool.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "store/index/index_file.h"
#include "support/index_contents.h"
#include "support/temp_dir.h"
#include "win/kernel.h"

namespace {

using index_testing::fileBytes;

// A pool over a new index file of `blocks` blocks (block 0 the header),
// each block filled with its own number.
class PoolOverFile : public ::testing::Test {
 protected:
  void open(int blocks, int slots, bool writeBack) {
    path_ = dir_.file("pool.bof");
    ASSERT_EQ(IndexFile::create(path_.c_str()), 0);
    std::string bytes = fileBytes(path_);
    for (int b = 1; b < blocks; ++b) bytes += std::string(1024, static_cast<char>(b));
    dir_.write("pool.bof", bytes);
    file_ = _lopen(path_.c_str(), OF_READWRITE);
    ASSERT_NE(file_, HFILE_ERROR);
    ASSERT_EQ(pool_.readHeader(file_), 0);
    ASSERT_EQ(pool_.init(file_, slots, 1024, writeBack, false), 0);
  }
  void TearDown() override {
    pool_.release();
    if (file_ != HFILE_ERROR) _lclose(file_);
  }
  // Whether a block is in a slot (lock answers without reading).
  bool cached(WORD block) {
    if (pool_.lock(block) != 1) return false;
    pool_.unlock(block);
    return true;
  }

  testing_support::TempDir dir_;
  std::string path_;
  HFILE file_ = HFILE_ERROR;
  BlockPool pool_;
};

TEST_F(PoolOverFile, TheLowestAgeGoesFirstAndWeightsAreBounded) {
  open(8, 2, false);
  ASSERT_NE(pool_.get(1, 10), nullptr);
  ASSERT_NE(pool_.get(2, 1), nullptr);
  ASSERT_NE(pool_.get(3, 1), nullptr);  // block 2 was younger than block 1's weight
  EXPECT_TRUE(cached(1));
  EXPECT_FALSE(cached(2));
  // A negative weight makes a block the next to go.
  ASSERT_NE(pool_.get(4, -1), nullptr);
  ASSERT_NE(pool_.get(5, 1), nullptr);
  EXPECT_FALSE(cached(4));
  EXPECT_TRUE(cached(1));

  // A weight of 5000 counts as 1000: after a thousand more reads the block
  // is the oldest.
  ASSERT_NE(pool_.get(6, 5000), nullptr);
  for (int i = 0; i < 1010; ++i) ASSERT_NE(pool_.get(static_cast<WORD>(2 + i % 2), 1), nullptr);
  EXPECT_FALSE(cached(6));
  EXPECT_EQ(pool_.get(3, 1)[0], 3);
}

TEST_F(PoolOverFile, ALockedSlotIsNeverReusedThePoolGrowsInstead) {
  open(8, 4, false);
  for (WORD b = 1; b <= 4; ++b) {
    ASSERT_NE(pool_.get(b, 1), nullptr);
    ASSERT_EQ(pool_.lock(b), 1);
  }
  BYTE* fifth = pool_.get(5, 1);
  ASSERT_NE(fifth, nullptr);
  EXPECT_EQ(pool_.slotCount(), 5);
  for (WORD b = 1; b <= 4; ++b) EXPECT_EQ(pool_.get(b, 1)[0], b) << b;
  EXPECT_EQ(pool_.lock(7), 0);
  EXPECT_EQ(pool_.unlock(7), 0);
}

TEST_F(PoolOverFile, WhenEverySlotStaysLockedItFailsAtTheLimit) {
  open(BlockPool::kMaxSlots + 3, 1, false);
  for (WORD b = 1; b <= BlockPool::kMaxSlots; ++b) {
    ASSERT_NE(pool_.get(b, 1), nullptr) << b;
    pool_.lock(b);
  }
  EXPECT_EQ(pool_.get(BlockPool::kMaxSlots + 1, 1), nullptr);
  for (WORD b = 1; b <= BlockPool::kMaxSlots; ++b) ASSERT_EQ(pool_.get(b, 1)[0], static_cast<BYTE>(b));
}

TEST_F(PoolOverFile, WriteOfBlockZeroAllocatesTheNextBlock) {
  open(3, 4, false);
  EXPECT_EQ(pool_.lastBlock(), 2);
  WORD block = 0;
  BYTE data[3] = {9, 8, 7};
  ASSERT_EQ(pool_.write(block, data, 3, 1), 0);
  EXPECT_EQ(block, 3);
  std::string written = fileBytes(path_, 3 * 1024);
  ASSERT_EQ(written.size(), 1024u);
  EXPECT_EQ(written.substr(0, 3), "\x09\x08\x07");
  EXPECT_EQ(written.substr(3), std::string(1021, '\xA1'));
  // A block beyond the last is neither read nor written.
  EXPECT_EQ(pool_.get(4, 1), nullptr);
  EXPECT_EQ(pool_.put(5, data, 3, 1, false), -1);
  EXPECT_EQ(pool_.get(0, 1), nullptr);
}

TEST_F(PoolOverFile, AllocationStopsAtBlock65535InsteadOfWrappingToTheHeader) {
  path_ = dir_.file("full.bof");
  ASSERT_EQ(IndexFile::create(path_.c_str()), 0);
  file_ = _lopen(path_.c_str(), OF_READWRITE);
  ASSERT_NE(file_, HFILE_ERROR);
  // A sparse file of 65536 blocks: the last one is 65535.
  ASSERT_EQ(_llseek(file_, 65536L * 1024, 0), 65536L * 1024);
  ASSERT_EQ(_lwrite(file_, "", 0), 0u);
  ASSERT_EQ(pool_.readHeader(file_), 0);
  ASSERT_EQ(pool_.init(file_, 4, 1024, false, false), 0);
  EXPECT_EQ(pool_.lastBlock(), 65535);
  WORD block = 0;
  BYTE data[2] = {13, 0};
  EXPECT_EQ(pool_.write(block, data, 2, 1), -1);
  WORD type = 0;
  EXPECT_EQ(pool_.newNode(13, type), -1);
  EXPECT_EQ(fileBytes(path_, 0, 2), std::string("\x01\x00", 2));
}

TEST_F(PoolOverFile, ADirtySlotIsWrittenBeforeItIsReused) {
  open(6, 2, true);
  BYTE data[4] = {'d', 'i', 'r', 't'};
  WORD one = 1;
  ASSERT_EQ(pool_.write(one, data, 4, 1), 0);
  EXPECT_EQ(fileBytes(path_, 1024, 1), std::string(1, '\x01'));  // held back
  ASSERT_NE(pool_.get(2, 1), nullptr);
  ASSERT_NE(pool_.get(3, 1), nullptr);  // reuses block 1's slot: the pool is flushed first
  EXPECT_EQ(fileBytes(path_, 1024, 4), "dirt");
}

TEST_F(PoolOverFile, AFlushThatCannotReachTheFileFailsAtOnce) {
  open(4, 4, true);
  BYTE data[4] = {1, 2, 3, 4};
  WORD two = 2;
  ASSERT_EQ(pool_.write(two, data, 4, 1), 0);
  // The handle goes away behind the pool: every seek fails.
  ASSERT_EQ(_lclose(file_), 0);
  file_ = HFILE_ERROR;
  EXPECT_EQ(pool_.flush(), -1);
}

TEST(BlockPoolInit, RefusesWhatItCannotServe) {
  BlockPool pool;
  EXPECT_EQ(pool.init(-1, 4, 1024, false, false), -1);
  EXPECT_EQ(pool.init(3, 0, 1024, false, false), -1);
  EXPECT_EQ(pool.init(3, 4, 0, false, false), -1);
  EXPECT_EQ(pool.init(3, 4, 100, false, false), -1);
  EXPECT_EQ(pool.init(3, 4, 40000, false, false), -1);
  EXPECT_FALSE(pool.bound());
}

}  // namespace
