#include "store/index/index_journal.h"

#include <cstring>
#include <memory>
#include <new>

#include "core/le_numbers.h"
#include "store/index/block_io.h"
#include "win/kernel.h"

namespace {

enum JournalLayout : int {
  kHeaderBytes = 16,  // magic, block size, index length at the start, check
  kRecordExtra = 8,   // block number before the image, check after it
};
constexpr BYTE kMagic[4] = {'Z', 'X', 'J', '1'};

DWORD fnv1a(const BYTE* p, size_t n, DWORD h = 2166136261u) {
  for (size_t i = 0; i < n; ++i) {
    h ^= p[i];
    h *= 16777619u;
  }
  return h;
}

void removeFile(const std::string& path) {
  OFSTRUCT info;
  OpenFile(path.c_str(), &info, OF_DELETE);
}

}  // namespace

std::string IndexJournal::pathFor(const std::string& indexName) { return indexName + ".journal"; }

int IndexJournal::recover(const std::string& indexName) {
  std::string path = pathFor(indexName);
  HFILE journal = _lopen(path.c_str(), OF_READ);
  if (journal == HFILE_ERROR) return 0;
  BYTE head[kHeaderBytes];
  bool started = block_io::readAt(journal, 0, head, kHeaderBytes) && std::memcmp(head, kMagic, 4) == 0;
  if (started) {
    const BYTE* check = head + 12;
    started = fnv1a(head, 12) == getLongLE(check);
  }
  if (!started) {
    // The change never reached the index (the journal is written first).
    _lclose(journal);
    removeFile(path);
    return 0;
  }
  const BYTE* p = head + 4;
  DWORD blockSize = getLongLE(p);
  DWORD startLength = getLongLE(p);
  if (blockSize == 0 || blockSize > 0x10000) {
    _lclose(journal);
    return -1;
  }
  HFILE index = _lopen(indexName.c_str(), OF_READWRITE);
  if (index == HFILE_ERROR) {
    _lclose(journal);
    return -1;
  }
  bool ok = true;
  size_t recordBytes = blockSize + kRecordExtra;
  std::unique_ptr<BYTE[]> record(new (std::nothrow) BYTE[recordBytes]);
  ok = record != nullptr;
  for (LONG at = kHeaderBytes; ok; at += static_cast<LONG>(recordBytes)) {
    // A record cut short was being written when the process died; the block
    // it describes had not been overwritten yet.
    if (!block_io::readAt(journal, at, record.get(), static_cast<UINT>(recordBytes))) break;
    const BYTE* q = record.get();
    DWORD block = getLongLE(q);
    const BYTE* image = q;
    q += blockSize;
    if (fnv1a(record.get(), blockSize + 4) != getLongLE(q)) break;
    ok = block_io::writeAt(index, static_cast<LONG>(block * blockSize), image, blockSize);
  }
  LONG length = block_io::lengthOf(index);
  if (ok && length > static_cast<LONG>(startLength))
    ok = block_io::truncateTo(index, static_cast<LONG>(startLength));
  ok = _lclose(index) == 0 && ok;
  _lclose(journal);
  if (!ok) return -1;
  removeFile(path);
  return 1;
}

void IndexJournal::attach(const std::string& indexName, HFILE index, int blockSize) {
  detach();
  indexName_ = indexName;
  path_ = pathFor(indexName);
  index_ = index;
  blockSize_ = blockSize;
}

void IndexJournal::detach() {
  if (file_ != HFILE_ERROR) {
    _lclose(file_);
    file_ = HFILE_ERROR;
    // A change that did not complete stays in the journal, so that the next
    // open takes it back.
    if (!(active_ && started_)) removeFile(path_);
  }
  index_ = HFILE_ERROR;
  active_ = started_ = false;
  saved_.clear();
}

void IndexJournal::begin(LONG indexLength) {
  active_ = true;
  started_ = false;
  startLength_ = indexLength;
  journalLength_ = 0;
  saved_.assign(blockSize_ > 0 ? static_cast<size_t>(indexLength / blockSize_) + 1 : 0, false);
}

bool IndexJournal::start() {
  if (file_ == HFILE_ERROR) {
    OFSTRUCT info;
    file_ = OpenFile(path_.c_str(), &info, OF_CREATE | OF_READWRITE);
    if (file_ == HFILE_ERROR) return false;
  }
  BYTE head[kHeaderBytes];
  BYTE* p = head;
  std::memcpy(p, kMagic, 4);
  p += 4;
  putLongLE(p, static_cast<DWORD>(blockSize_));
  putLongLE(p, static_cast<DWORD>(startLength_));
  putLongLE(p, fnv1a(head, 12));
  if (!block_io::writeAt(file_, 0, head, kHeaderBytes)) return false;
  journalLength_ = kHeaderBytes;
  started_ = true;
  return true;
}

bool IndexJournal::save(WORD block) {
  size_t recordBytes = static_cast<size_t>(blockSize_) + kRecordExtra;
  std::unique_ptr<BYTE[]> record(new (std::nothrow) BYTE[recordBytes]);
  if (!record) return false;
  BYTE* p = record.get();
  putLongLE(p, block);
  LONG offset = static_cast<LONG>(block) * blockSize_;
  // The part of the block that lies beyond the end of the file reads as
  // zeros; cutting the file back to its old length removes it anyway.
  std::memset(p, 0, static_cast<size_t>(blockSize_));
  LONG have = startLength_ - offset;
  UINT want = static_cast<UINT>(have < blockSize_ ? have : blockSize_);
  if (!block_io::readAt(index_, offset, p, want)) return false;
  p += blockSize_;
  putLongLE(p, fnv1a(record.get(), static_cast<size_t>(blockSize_) + 4));
  if (!block_io::writeAt(file_, journalLength_, record.get(), static_cast<UINT>(recordBytes)))
    return false;
  journalLength_ += static_cast<LONG>(recordBytes);
  return true;
}

bool IndexJournal::beforeWrite(WORD block) {
  if (!active_) return true;
  if (!started_ && !start()) return false;
  LONG offset = static_cast<LONG>(block) * blockSize_;
  if (offset >= startLength_ || saved_[block]) return true;
  if (!save(block)) return false;
  saved_[block] = true;
  return true;
}

bool IndexJournal::commit() {
  bool ok = true;
  if (started_) ok = block_io::truncateTo(file_, 0);
  active_ = started_ = false;
  return ok;
}
