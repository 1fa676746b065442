#include "store/index/index_file.h"

#include <vector>

#include "store/index/block_io.h"
#include "store/index/change_counter.h"
#include "win/kernel.h"
#include "win/path_map.h"

namespace {

// The system's critical-error box stays away while a file is opened or
// closed: a missing medium is reported by the result, not by a dialog.
class QuietErrors {
 public:
  QuietErrors() : old_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~QuietErrors() { SetErrorMode(old_); }

 private:
  UINT old_;
};

}  // namespace

int IndexFile::create(const char* name) {
  OFSTRUCT info;
  QuietErrors quiet;
  HFILE file = OpenFile(name, &info, OF_CREATE | OF_READWRITE);
  if (file == HFILE_ERROR) return -1;
  std::vector<BYTE> block(IndexHeader::kCreationBlockSize, 0);
  IndexHeader().encode(block.data());
  bool ok = block_io::writeAt(file, 0, block.data(), static_cast<UINT>(block.size()));
  ok = _lclose(file) == 0 && ok;
  // A journal left from an earlier file of this name does not belong to
  // the new one.
  OpenFile(IndexJournal::pathFor(name).c_str(), &info, OF_DELETE);
  return ok ? 0 : -1;
}

int IndexFile::fail() {
  if (file_ != HFILE_ERROR) {
    QuietErrors quiet;
    _lclose(file_);
  }
  file_ = HFILE_ERROR;
  journal_.detach();
  pool_.unbind();
  open_ = false;
  error_ = true;
  cursor_ = kNoCursor;
  return -1;
}

bool IndexFile::headerSound() const {
  const IndexHeader& h = pool_.header();
  WORD last = pool_.lastBlock();
  if (h.root > last || h.firstLeaf > last || h.chainBlock > last) return false;
  if ((h.root != 0) != (h.depth != 0) || h.depth > last) return false;
  if (h.firstLeaf == 0 && h.root != 0) return false;
  // A header marked 0 is never written: such a file can only be read.
  if (h.valid == 0 && mode_ == kReadWrite) return false;
  return true;
}

int IndexFile::open(const char* name, int mode, int poolBlocks, bool writeBack) {
  if (!name || !*name) return fail();
  if (mode == kReadOnlyAsked) mode = kReadOnly;
  if (mode != kReadWrite && mode != kReadOnly && mode != kCreateReadWrite) return fail();
  std::string full = win::FullWindowsPath(name);
  if (open_ && (mode == kCreateReadWrite || full != path_ || mode != mode_)) close();
  if (open_) return 0;
  index_changes::FileState* shared = index_changes::stateOf(name);
  // One writer at a time, as the system's sharing rules would have it.
  if (mode != kReadOnly && shared->writers > 0) return fail();
  if (mode == kCreateReadWrite) {
    if (create(name) != 0) return fail();
    mode = kReadWrite;
  }
  error_ = recovered_ = false;
  int recovery;
  HFILE file;
  {
    QuietErrors quiet;
    // While another object of this program writes the file, its journal is
    // that object's, not one left by a crash.
    recovery = shared->writers > 0 ? 0 : IndexJournal::recover(name);
    OFSTRUCT info;
    UINT how = mode == kReadOnly ? OF_READ | OF_SHARE_DENY_NONE : OF_READWRITE | OF_SHARE_DENY_WRITE;
    file = recovery < 0 ? HFILE_ERROR : OpenFile(name, &info, how);
  }
  if (file == HFILE_ERROR) return fail();
  file_ = file;
  mode_ = mode;
  recovered_ = recovery == 1;
  int slots = poolBlocks < 0 ? BlockPool::kDefaultSlots : poolBlocks;
  if (pool_.readHeader(file) != 0 || pool_.init(file, slots, pool_.header().blockSize, writeBack, false) != 0)
    return fail();
  pool_.setReadOnly(mode == kReadOnly);
  if (!headerSound()) return fail();
  if (mode == kReadWrite) {
    journal_.attach(name, file, pool_.blockSize());
    pool_.setJournal(&journal_);
    ++shared->writers;
  }
  shared_ = shared;
  pool_.setChangeCounter(&shared->changes);
  tree_.bind(&pool_);
  open_ = true;
  path_ = full;
  cursor_ = kNoCursor;
  return 0;
}

int IndexFile::close() {
  if (!open_) {
    path_.clear();
    return -1;
  }
  int result = 0;
  if (mode_ == kReadWrite && pool_.flush() != 0) result = -1;
  {
    QuietErrors quiet;
    if (_lclose(file_) != 0) result = -1;
  }
  file_ = HFILE_ERROR;
  journal_.detach();
  pool_.unbind();
  if (mode_ == kReadWrite && shared_) --shared_->writers;
  shared_ = nullptr;
  open_ = false;
  cursor_ = kNoCursor;
  return result;
}

bool IndexFile::refreshIfChanged() {
  if (!pool_.stale()) return true;
  if (pool_.resync() != 0 || !headerSound()) {
    cursor_ = kSearchFailed;
    return false;
  }
  tree_.bind(&pool_);
  return true;
}

int IndexFile::find(std::string_view key, int searchMode) {
  if (!open_) return -1;
  cursor_ = kSearchFailed;
  if (!refreshIfChanged()) return -1;
  if (tree_.search(key, searchMode) != 0) return -1;
  cursor_ = kPositioned;
  return 0;
}

int IndexFile::findNewest(std::string_view key) {
  if (!open_) return -1;
  cursor_ = kSearchFailed;
  if (!refreshIfChanged()) return -1;
  if (tree_.findNewest(key) != 0) return -1;
  cursor_ = kPositioned;
  return 0;
}

int IndexFile::next(bool withinKey) {
  if (!open_ || cursor_ != kPositioned) return -1;
  // Another writer changed the file under the cursor: it has to be placed
  // again by a search.
  if (pool_.stale()) {
    refreshIfChanged();
    cursor_ = kSearchFailed;
    return -1;
  }
  if (tree_.next(withinKey) != 0) {
    cursor_ = kSearchFailed;
    return -1;
  }
  return 0;
}

int IndexFile::insert(std::string_view key, const IndexEntry& entry, bool replace) {
  if (!open_ || mode_ != kReadWrite) return -1;
  if (!refreshIfChanged()) return -1;
  cursor_ = kNoCursor;
  return tree_.insert(key, entry, replace);
}

int IndexFile::remove() {
  if (!open_ || mode_ != kReadWrite || cursor_ != kPositioned || pool_.stale()) return -1;
  return tree_.remove();
}
