// The blocks of an index file cached in memory: a few slots, each holding one
// block, reused by age (the slot with the lowest age goes first; the tree
// gives inner nodes a larger weight so they stay longer). Changed blocks are
// written at once, or kept until a flush when the pool writes back.
//
// Block numbers are 16 bits: the pool refuses to allocate beyond block
// 65535 rather than wrap onto the header. A locked slot is never reused:
// when every slot is locked the pool grows by a slot, up to kMaxSlots.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "store/index/index_header.h"
#include "win/types.h"

class IndexJournal;

class BlockPool {
 public:
  enum : int {
    kMinBlockSize = 256,
    // Block 65535 of the largest block must still lie within a 32-bit offset.
    kMaxBlockSize = 32768,
    kMaxSlots = 64,
    kMaxWeight = 1000,
    kDefaultSlots = 10,
  };
  static constexpr WORD kHighestBlock = 0xFFFF;
  static constexpr BYTE kFill = 0xA1;  // what a new block holds before it is written

  static bool validBlockSize(int size) { return size >= kMinBlockSize && size <= kMaxBlockSize; }

  BlockPool() = default;
  BlockPool(const BlockPool&) = delete;
  BlockPool& operator=(const BlockPool&) = delete;
  ~BlockPool() { release(); }

  // Reads the header of `file`. -1 when the file is shorter than a header or
  // the header names a block size this pool cannot use.
  int readHeader(HFILE file);
  // Binds the pool to a file. When it is bound already only the write-back
  // flag and the handle change (and the slots are emptied with `rebind`).
  int init(HFILE file, int slotCount, int blockSize, bool writeBack, bool rebind);
  // Forgets the file: slots emptied (buffers kept), handle -1. Changed blocks
  // that were not flushed are dropped.
  void unbind();
  // Frees every buffer and the slot table; the handle becomes -1.
  void release();

  // The block's buffer, read from the file when it is not in a slot; null for
  // block 0, a block beyond the file, or when it cannot be read.
  BYTE* get(WORD block, int weight);
  // Stores `length` bytes (0: a whole block) at the start of the block's
  // buffer. Block 0 allocates the next block and returns its number there.
  int write(WORD& block, const BYTE* data, int length, int weight);
  int put(WORD block, const BYTE* data, int length, int weight, bool force);
  // Allocates a block holding only its 2-byte type; records it in the header
  // as the block allocated last (and, for type 13, as the chain block).
  int newNode(WORD type, WORD& block, int weight = 1);
  // 1 when the block is in a slot (and is now locked or unlocked), else 0.
  int lock(WORD block);
  int unlock(WORD block);
  // Writes every changed block in block order, then the header.
  int flush();
  int writeHeader();

  // Whether the block in its slot was checked by its reader since it was
  // read from the file (blocks written by this program count as checked).
  bool checked(WORD block) const;
  void setChecked(WORD block);

  // A change that writes several blocks: with a journal attached, the blocks
  // it overwrites are saved first, so that the change is whole or absent
  // after a crash. Changes nest; the outermost end completes it (writing any
  // changed blocks first when the change reached the file already).
  void beginChange();
  int endChange();

  // Another object wrote the file since this pool last looked: the slots are
  // emptied and the header and length read again.
  bool stale() const;
  int resync();

  IndexHeader& header() { return header_; }
  const IndexHeader& header() const { return header_; }
  WORD lastBlock() const { return lastBlock_; }
  int blockSize() const { return blockSize_; }
  int slotCount() const { return static_cast<int>(slots_.size()); }
  bool writeBack() const { return writeBack_; }
  bool bound() const { return file_ != HFILE_ERROR; }
  HFILE file() const { return file_; }
  void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
  void setJournal(IndexJournal* journal) { journal_ = journal; }
  void setChangeCounter(std::uint64_t* counter);

 private:
  struct Slot {
    WORD block = 0;  // 0 = none
    DWORD age = 0;
    std::unique_ptr<BYTE[]> buffer;
    bool dirty = false;
    bool locked = false;
    bool checked = false;
    bool unusable = false;  // its buffer could not be had
  };

  int findSlot(WORD block) const;
  int chooseSlot();
  int addSlot();
  int load(WORD block, int weight);
  void touch(Slot& slot, int weight);
  int writeSlot(Slot& slot);
  bool writeFileAt(WORD block, LONG offset, const BYTE* data, UINT bytes);
  void noteOwnWrite();
  void computeLastBlock();

  std::vector<Slot> slots_;
  int blockSize_ = 0;
  bool writeBack_ = false;
  bool readOnly_ = false;
  bool broken_ = false;  // a change could not be completed: no more writes
  DWORD ageCounter_ = 0;
  WORD lastBlock_ = 0;
  LONG fileLength_ = 0;
  HFILE file_ = HFILE_ERROR;
  IndexHeader header_;
  IndexHeader written_;  // the header as the file holds it
  IndexJournal* journal_ = nullptr;
  int changeDepth_ = 0;
  std::uint64_t* changes_ = nullptr;
  std::uint64_t seen_ = 0;
};
