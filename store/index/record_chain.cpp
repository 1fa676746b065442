#include "store/index/record_chain.h"

#include <cstring>

#include "core/le_numbers.h"
#include "store/index/block_bytes.h"
#include "store/index/block_pool.h"

namespace {

BYTE* slotAt(BYTE* block, int slot) { return block + RecordChain::kSlotBase + RecordChain::kSlotSize * slot; }

IndexEntry readSlot(BYTE* block, int slot) {
  const BYTE* q = slotAt(block, slot);
  IndexEntry e;
  e.flags = getByte(q);
  e.highFlags = getByte(q);
  e.value = getLongLE(q);
  return e;
}

void writeSlot(BYTE* block, int slot, const IndexEntry& e) {
  BYTE* q = slotAt(block, slot);
  putByte(q, e.flags);
  putByte(q, e.highFlags);
  putLongLE(q, e.value);
}

int usedSlots(const BYTE* block) { return wordAt(block, RecordChain::kCountAt); }

// What a reader sees of a slot: the caller's flag bits only.
IndexEntry presented(IndexEntry e) {
  e.flags &= static_cast<BYTE>(~(IndexEntry::kDeleted | IndexEntry::kChained | IndexEntry::kLast));
  return e;
}

}  // namespace

int RecordChain::fail() {
  broken_ = true;
  return -1;
}

long RecordChain::walkLimit() const {
  return (static_cast<long>(pool_->lastBlock()) + 1) * slotsPerBlock(pool_->blockSize()) + 1;
}

BYTE* RecordChain::chainBlock(WORD block) {
  if (!pool_) return nullptr;
  BYTE* buf = pool_->get(block, 1);
  if (!buf || wordAt(buf, kTypeAt) != kType || usedSlots(buf) > slotsPerBlock(pool_->blockSize())) {
    broken_ = true;
    return nullptr;
  }
  return buf;
}

int RecordChain::walk(WORD block, int slot, bool skipFirst) {
  if (skipFirst) {
    BYTE* buf = chainBlock(block);
    if (!buf || slot < 1 || slot > usedSlots(buf)) return fail();
    if (readSlot(buf, slot).flags & IndexEntry::kLast) return -1;
    ++slot;
  }
  for (;;) {
    if (stepsLeft_-- <= 0) return fail();
    BYTE* buf = chainBlock(block);
    if (!buf || slot < 1 || slot > usedSlots(buf)) return fail();
    BYTE f = readSlot(buf, slot).flags;
    if (f & IndexEntry::kLast) {
      if (f & IndexEntry::kDeleted) return -1;
    } else if (f & IndexEntry::kDeleted) {
      ++slot;
      continue;
    } else if (f & IndexEntry::kChained) {
      DWORD id = readSlot(buf, slot).value;
      block = static_cast<WORD>(id & 0xFFFF);
      slot = static_cast<int>(id >> 16);
      continue;
    }
    block_ = block;
    slot_ = slot;
    return 0;
  }
}

int RecordChain::next(IndexEntry& pair, bool fromCurrent) {
  int r;
  if (fromCurrent) {
    r = walk(block_, slot_, true);
  } else {
    stepsLeft_ = walkLimit();
    broken_ = false;
    r = walk(static_cast<WORD>(pair.value & 0xFFFF), static_cast<int>(pair.value >> 16), false);
  }
  if (r != 0) return -1;
  BYTE* buf = chainBlock(block_);
  if (!buf) return -1;
  pair = presented(readSlot(buf, slot_));
  return 0;
}

int RecordChain::newest(DWORD chainId, IndexEntry& out) {
  IndexEntry pair;
  pair.value = chainId;
  if (next(pair, false) != 0) return -1;
  do out = pair;
  while (next(pair, true) == 0);
  return 0;
}

int RecordChain::remove() {
  BYTE* buf = chainBlock(block_);
  if (!buf || slot_ < 1 || slot_ > usedSlots(buf)) return -1;
  slotAt(buf, slot_)[0] |= IndexEntry::kDeleted;
  return pool_->put(block_, buf, pool_->blockSize(), 1, false);
}

int RecordChain::lastSlot(DWORD chainId, WORD& block, int& slot) {
  broken_ = false;
  block = static_cast<WORD>(chainId & 0xFFFF);
  slot = static_cast<int>(chainId >> 16);
  for (long steps = walkLimit(); steps > 0; --steps) {
    BYTE* buf = chainBlock(block);
    if (!buf || slot < 1 || slot > usedSlots(buf)) return fail();
    IndexEntry e = readSlot(buf, slot);
    if (e.flags & IndexEntry::kLast) return 0;
    if (!(e.flags & IndexEntry::kDeleted) && (e.flags & IndexEntry::kChained)) {
      block = static_cast<WORD>(e.value & 0xFFFF);
      slot = static_cast<int>(e.value >> 16);
    } else {
      ++slot;
    }
  }
  return fail();
}

int RecordChain::append(const IndexEntry& entry, DWORD& chainId) {
  if (!pool_) return -1;
  IndexEntry fresh = entry;
  fresh.flags = static_cast<BYTE>((entry.flags & 0xF4) | IndexEntry::kLast);
  int capacity = slotsPerBlock(pool_->blockSize());

  if (chainId == 0) {
    WORD block = pool_->header().chainBlock;
    BYTE* buf = block ? chainBlock(block) : nullptr;
    bool fresh_block = !buf || usedSlots(buf) + 1 > capacity;
    if (fresh_block) {
      pool_->beginChange();
      if (pool_->newNode(kType, block) != 0 || !(buf = pool_->get(block, 1))) {
        pool_->endChange();
        return -1;
      }
      setWordAt(buf, kCountAt, 0);
    }
    int slot = usedSlots(buf) + 1;
    writeSlot(buf, slot, fresh);
    setWordAt(buf, kCountAt, static_cast<WORD>(slot));
    int r = pool_->put(block, buf, pool_->blockSize(), 1, false);
    if (fresh_block && pool_->endChange() != 0) r = -1;
    if (r != 0) return -1;
    chainId = makeId(block, slot);
    block_ = block;
    slot_ = slot;
    return 0;
  }

  WORD block;
  int slot;
  if (lastSlot(chainId, block, slot) != 0) return -1;
  BYTE* buf = chainBlock(block);
  int used = usedSlots(buf);

  if (slot == used && used + 1 <= capacity) {
    // Room right after the last value.
    slotAt(buf, slot)[0] &= static_cast<BYTE>(~IndexEntry::kLast);
    writeSlot(buf, used + 1, fresh);
    setWordAt(buf, kCountAt, static_cast<WORD>(used + 1));
    if (pool_->put(block, buf, pool_->blockSize(), 1, false) != 0) return -1;
    slot = used + 1;
  } else if (slot != used && used + 2 <= capacity) {
    // Another chain follows: the last value moves to the end of the block,
    // its old slot sends the walk there, and the new value follows it.
    IndexEntry moved = readSlot(buf, slot);
    moved.flags &= static_cast<BYTE>(~IndexEntry::kLast);
    writeSlot(buf, used + 1, moved);
    writeSlot(buf, slot, IndexEntry{IndexEntry::kChained, 0, makeId(block, used + 1)});
    writeSlot(buf, used + 2, fresh);
    setWordAt(buf, kCountAt, static_cast<WORD>(used + 2));
    if (pool_->put(block, buf, pool_->blockSize(), 1, false) != 0) return -1;
    slot = used + 2;
  } else {
    // The block is full: the last value and the new one go to a new block.
    pool_->beginChange();
    pool_->lock(block);
    WORD added;
    BYTE* next = nullptr;
    int r = pool_->newNode(kType, added);
    if (r == 0 && !(next = pool_->get(added, 1))) r = -1;
    if (r == 0) {
      IndexEntry moved = readSlot(buf, slot);
      moved.flags &= static_cast<BYTE>(~IndexEntry::kLast);
      writeSlot(next, 1, moved);
      writeSlot(next, 2, fresh);
      setWordAt(next, kCountAt, 2);
      r = pool_->put(added, next, pool_->blockSize(), 1, false);
    }
    if (r == 0) {
      writeSlot(buf, slot, IndexEntry{IndexEntry::kChained, 0, makeId(added, 1)});
      r = pool_->put(block, buf, pool_->blockSize(), 1, false);
    }
    pool_->unlock(block);
    if (pool_->endChange() != 0) r = -1;
    if (r != 0) return -1;
    block = added;
    slot = 2;
  }
  chainId = makeId(block, slot);
  block_ = block;
  slot_ = slot;
  return 0;
}
