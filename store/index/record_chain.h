// The values of a key that has more than one, kept in chain blocks of the
// index file beside the tree. A chain block (type 13):
//
//   0  u16 type 13     2  u16 slots used k
//   4 + 6 s  slot s (1..k): u8 flags, u8 high flags, u32 value
//
// Slot s exists only while 6 s + 4 is below the block size. A chain is a run
// of slots in insertion order; a slot with the continuation flag sends the
// walk on to the slot its value names, the slot with the last flag ends it.
// A chain id is the block number in its low 16 bits, the slot in the high 16.
//
// Walks are bounded by the number of slots the file can hold, so a damaged
// file cannot send them round in a circle.
#pragma once

#include "store/index/index_entry.h"
#include "win/types.h"

class BlockPool;

class RecordChain {
 public:
  static constexpr WORD kType = 13;
  enum Offset : int { kTypeAt = 0, kCountAt = 2, kSlotBase = 4, kSlotSize = 6 };

  static DWORD makeId(WORD block, int slot) { return block | (static_cast<DWORD>(slot) << 16); }
  static int slotsPerBlock(int blockSize) { return (blockSize - kSlotBase - 1) / kSlotSize; }

  void bind(BlockPool* pool) {
    pool_ = pool;
    block_ = 0;
    slot_ = 0;
    broken_ = false;
  }

  // Appends a value. With `chainId` 0 a new chain is started (in the chain
  // block allocated last while it has room); otherwise the value goes after
  // the chain's last slot. `chainId` then holds the new slot's id (for a new
  // chain: the chain's id). 0, or -1 when a block cannot be read or written.
  int append(const IndexEntry& entry, DWORD& chainId);
  // The next live value: from the chain whose id `pair.value` holds, or on
  // from the current slot. -1 at the end.
  int next(IndexEntry& pair, bool fromCurrent);
  // Marks the current slot deleted.
  int remove();
  // The id of the current slot.
  DWORD currentId() const { return makeId(block_, slot_); }
  // The newest live value of the chain `chainId`; the current slot ends on it.
  int newest(DWORD chainId, IndexEntry& out);
  // A walk met a block that is not a chain block, a slot out of range, or
  // went on longer than the file has slots.
  bool broken() const { return broken_; }

 private:
  BYTE* chainBlock(WORD block);
  int walk(WORD block, int slot, bool skipFirst);
  int lastSlot(DWORD chainId, WORD& block, int& slot);
  long walkLimit() const;
  int fail();

  BlockPool* pool_ = nullptr;
  WORD block_ = 0;
  int slot_ = 0;
  // Steps left for the walk through the chain begun last: the walks of one
  // chain share one bound, however the caller steps through it.
  long stepsLeft_ = 0;
  bool broken_ = false;
};
