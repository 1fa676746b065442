#include "store/index/block_pool.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "core/le_numbers.h"
#include "store/index/block_io.h"
#include "store/index/index_journal.h"

int BlockPool::readHeader(HFILE file) {
  BYTE bytes[IndexHeader::kSize];
  if (!block_io::readAt(file, 0, bytes, IndexHeader::kSize)) return -1;
  IndexHeader h = IndexHeader::decode(bytes);
  if (!validBlockSize(h.blockSize)) return -1;
  header_ = h;
  written_ = h;
  return 0;
}

int BlockPool::init(HFILE file, int slotCount, int blockSize, bool writeBack, bool rebind) {
  if (bound()) {
    writeBack_ = writeBack;
    file_ = file;
    if (rebind)
      for (Slot& s : slots_) s.block = 0, s.dirty = s.locked = s.checked = false;
    return 0;
  }
  if (slotCount < 1 || blockSize < 1 || file < 0 || !validBlockSize(blockSize)) return -1;
  ageCounter_ = 0;
  // Buffers of another block size cannot serve this file.
  if (blockSize != blockSize_) slots_.clear();
  slots_.resize(static_cast<size_t>(std::min(slotCount, static_cast<int>(kMaxSlots))));
  for (Slot& s : slots_) {
    s.block = 0;
    s.age = 0;
    s.dirty = s.locked = s.checked = s.unusable = false;
  }
  blockSize_ = blockSize;
  writeBack_ = writeBack;
  fileLength_ = block_io::lengthOf(file);
  if (fileLength_ < 0) return -1;
  file_ = file;
  broken_ = false;
  changeDepth_ = 0;
  computeLastBlock();
  return 0;
}

void BlockPool::computeLastBlock() {
  LONG blocks = fileLength_ / blockSize_;
  lastBlock_ = static_cast<WORD>(std::clamp<LONG>(blocks - 1, 0, kHighestBlock));
}

void BlockPool::unbind() {
  for (Slot& s : slots_) s.block = 0, s.dirty = s.locked = s.checked = false;
  file_ = HFILE_ERROR;
  journal_ = nullptr;
  changes_ = nullptr;
  changeDepth_ = 0;
  broken_ = false;
}

void BlockPool::release() {
  slots_.clear();
  file_ = HFILE_ERROR;
  journal_ = nullptr;
  changes_ = nullptr;
}

void BlockPool::setChangeCounter(std::uint64_t* counter) {
  changes_ = counter;
  seen_ = counter ? *counter : 0;
}

int BlockPool::findSlot(WORD block) const {
  if (block == 0) return -1;
  for (size_t i = 0; i < slots_.size(); ++i)
    if (slots_[i].block == block && slots_[i].buffer) return static_cast<int>(i);
  return -1;
}

int BlockPool::addSlot() {
  if (slots_.size() >= static_cast<size_t>(kMaxSlots)) return -1;
  Slot s;
  s.buffer.reset(new (std::nothrow) BYTE[static_cast<size_t>(blockSize_)]);
  if (!s.buffer) return -1;
  std::memset(s.buffer.get(), kFill, static_cast<size_t>(blockSize_));
  slots_.push_back(std::move(s));
  return static_cast<int>(slots_.size() - 1);
}

int BlockPool::chooseSlot() {
  for (size_t i = 0; i < slots_.size(); ++i) {
    Slot& s = slots_[i];
    if (s.buffer || s.unusable) continue;
    s.buffer.reset(new (std::nothrow) BYTE[static_cast<size_t>(blockSize_)]);
    if (!s.buffer) {
      s.unusable = true;
      continue;
    }
    std::memset(s.buffer.get(), kFill, static_cast<size_t>(blockSize_));
    return static_cast<int>(i);
  }
  int best = -1;
  for (size_t i = 0; i < slots_.size(); ++i) {
    const Slot& s = slots_[i];
    if (!s.buffer || s.locked) continue;
    if (best < 0 || s.age < slots_[static_cast<size_t>(best)].age) best = static_cast<int>(i);
  }
  // A locked slot holds a block someone is working on: never take it.
  if (best < 0) return addSlot();
  // A changed block is never dropped unwritten.
  if (slots_[static_cast<size_t>(best)].dirty && flush() != 0) return -1;
  Slot& s = slots_[static_cast<size_t>(best)];
  std::memset(s.buffer.get(), kFill, static_cast<size_t>(blockSize_));
  s.block = 0;
  s.checked = false;
  return best;
}

void BlockPool::touch(Slot& slot, int weight) {
  slot.age = weight < 0 ? 1 : ageCounter_ + static_cast<DWORD>(std::min(weight, static_cast<int>(kMaxWeight)));
  ++ageCounter_;
}

int BlockPool::load(WORD block, int weight) {
  int i = findSlot(block);
  if (i < 0) {
    i = chooseSlot();
    if (i < 0) return -1;
    Slot& s = slots_[static_cast<size_t>(i)];
    LONG offset = static_cast<LONG>(block) * blockSize_;
    if (!block_io::readAt(file_, offset, s.buffer.get(), static_cast<UINT>(blockSize_))) {
      s.block = 0;
      return -1;
    }
    s.block = block;
    s.dirty = s.locked = s.checked = false;
  }
  touch(slots_[static_cast<size_t>(i)], weight);
  return i;
}

BYTE* BlockPool::get(WORD block, int weight) {
  if (block == 0 || !bound() || block > lastBlock_) return nullptr;
  int i = load(block, weight);
  return i < 0 ? nullptr : slots_[static_cast<size_t>(i)].buffer.get();
}

int BlockPool::write(WORD& block, const BYTE* data, int length, int weight) {
  if (length < 0 || length > blockSize_ || !bound() || readOnly_) return -1;
  if (block == 0) {
    // Block numbers are 16 bits; the next one after 65535 would be the header.
    if (lastBlock_ == kHighestBlock) return -1;
    block = static_cast<WORD>(lastBlock_ + 1);
    lastBlock_ = block;
  }
  return put(block, data, length == 0 ? blockSize_ : length, weight, false);
}

int BlockPool::put(WORD block, const BYTE* data, int length, int weight, bool force) {
  if (!bound() || readOnly_ || block == 0 || block > lastBlock_ || length < 0 || length > blockSize_)
    return -1;
  int i = findSlot(block);
  if (i < 0) {
    i = chooseSlot();
    if (i < 0) return -1;
    slots_[static_cast<size_t>(i)].locked = false;
  }
  Slot& s = slots_[static_cast<size_t>(i)];
  if (length > 0 && data) std::memmove(s.buffer.get(), data, static_cast<size_t>(length));
  s.block = block;
  s.dirty = true;
  s.checked = true;
  touch(s, weight);
  if (writeBack_ && !force) return 0;
  if (writeSlot(s) != 0) return -1;
  return writeHeader();
}

int BlockPool::newNode(WORD type, WORD& block, int weight) {
  BYTE bytes[2];
  BYTE* p = bytes;
  putShortLE(p, type);
  block = 0;
  if (write(block, bytes, 2, weight) != 0) return -1;
  header_.lastAllocated = lastBlock_;
  if (type == 13) header_.chainBlock = lastBlock_;
  return 0;
}

int BlockPool::lock(WORD block) {
  int i = findSlot(block);
  if (i < 0) return 0;
  slots_[static_cast<size_t>(i)].locked = true;
  return 1;
}

int BlockPool::unlock(WORD block) {
  int i = findSlot(block);
  if (i < 0) return 0;
  slots_[static_cast<size_t>(i)].locked = false;
  return 1;
}

bool BlockPool::checked(WORD block) const {
  int i = findSlot(block);
  return i >= 0 && slots_[static_cast<size_t>(i)].checked;
}

void BlockPool::setChecked(WORD block) {
  int i = findSlot(block);
  if (i >= 0) slots_[static_cast<size_t>(i)].checked = true;
}

void BlockPool::noteOwnWrite() {
  if (!changes_) return;
  ++*changes_;
  seen_ = *changes_;
}

bool BlockPool::writeFileAt(WORD block, LONG offset, const BYTE* data, UINT bytes) {
  if (broken_ || readOnly_) return false;
  if (journal_ && !journal_->beforeWrite(block)) return false;
  bool ok = block_io::writeAt(file_, offset, data, bytes);
  if (ok) fileLength_ = std::max(fileLength_, offset + static_cast<LONG>(bytes));
  noteOwnWrite();
  // A block half written cannot be taken back without the journal: stop
  // writing, so the next open finds the last whole state.
  if (!ok) broken_ = true;
  return ok;
}

int BlockPool::writeSlot(Slot& slot) {
  LONG offset = static_cast<LONG>(slot.block) * blockSize_;
  if (!writeFileAt(slot.block, offset, slot.buffer.get(), static_cast<UINT>(blockSize_))) return -1;
  slot.dirty = false;
  return 0;
}

int BlockPool::writeHeader() {
  if (!bound() || readOnly_) return -1;
  if (header_.valid == 0) return 0;
  if (header_ == written_ && fileLength_ >= blockSize_) return 0;
  BYTE bytes[IndexHeader::kSize];
  header_.encode(bytes);
  if (!writeFileAt(0, 0, bytes, IndexHeader::kSize)) return -1;
  written_ = header_;
  if (fileLength_ < blockSize_) {
    std::vector<BYTE> zeros(static_cast<size_t>(blockSize_ - fileLength_), 0);
    if (!writeFileAt(0, fileLength_, zeros.data(), static_cast<UINT>(zeros.size()))) return -1;
  }
  return 0;
}

int BlockPool::flush() {
  if (!bound()) return -1;
  if (readOnly_) return 0;
  beginChange();
  int result = 0;
  for (;;) {
    Slot* next = nullptr;
    for (Slot& s : slots_)
      if (s.dirty && s.buffer && (!next || s.block < next->block)) next = &s;
    if (!next) break;
    // A place that cannot be reached fails the flush at once.
    if (writeSlot(*next) != 0) {
      result = -1;
      break;
    }
  }
  if (result == 0) result = writeHeader();
  if (result != 0) broken_ = true;
  int ended = endChange();
  return result == 0 ? ended : -1;
}

void BlockPool::beginChange() {
  if (changeDepth_++ == 0 && journal_ && !readOnly_ && !broken_) journal_->begin(fileLength_);
}

int BlockPool::endChange() {
  if (changeDepth_ == 0) return 0;
  if (--changeDepth_ > 0) return 0;
  if (!journal_ || !journal_->active()) return broken_ ? -1 : 0;
  int result = broken_ ? -1 : 0;
  if (result == 0 && journal_->touched()) {
    // Part of the change is in the file: the blocks still held back go too,
    // or the file would hold half of it once the journal is emptied.
    ++changeDepth_;
    for (Slot& s : slots_)
      if (result == 0 && s.dirty && s.buffer) result = writeSlot(s);
    if (result == 0) result = writeHeader();
    --changeDepth_;
  }
  if (result != 0) {
    // The journal keeps the change, so the next open takes it back.
    broken_ = true;
    return -1;
  }
  if (!journal_->commit()) {
    broken_ = true;
    return -1;
  }
  return 0;
}

bool BlockPool::stale() const { return changes_ && *changes_ != seen_; }

int BlockPool::resync() {
  if (!bound()) return -1;
  for (const Slot& s : slots_)
    if (s.dirty && s.buffer && !readOnly_) {
      if (flush() != 0) return -1;
      break;
    }
  for (Slot& s : slots_) s.block = 0, s.dirty = s.locked = s.checked = false;
  int blockSize = blockSize_;
  if (readHeader(file_) != 0 || header_.blockSize != blockSize) return -1;
  fileLength_ = block_io::lengthOf(file_);
  if (fileLength_ < 0) return -1;
  computeLastBlock();
  seen_ = changes_ ? *changes_ : 0;
  return 0;
}
