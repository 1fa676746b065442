// An index file: its header, the pool of its blocks, and the B-tree (with its
// record chains) that lives in them. The keyed store of the local database
// opens one per data set, read-only for searches, read/write to add keys.
//
// A change that writes several blocks (a split, a new chain) is kept whole
// through a journal beside the file; opening a file whose journal still
// holds a change takes that change back first. A file whose header or tree
// is not well formed is refused on open, or, when the damage lies deeper,
// reported by damaged() and never read as data.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "store/index/block_pool.h"
#include "store/index/btree.h"
#include "store/index/change_counter.h"
#include "store/index/index_journal.h"

class IndexFile {
 public:
  enum Mode : int { kReadOnlyAsked = 0, kReadWrite = 1, kReadOnly = 2, kCreateReadWrite = 3 };
  enum CursorState : int { kNoCursor = 0, kPositioned = 1, kSearchFailed = 2 };

  IndexFile() = default;
  IndexFile(const IndexFile&) = delete;
  IndexFile& operator=(const IndexFile&) = delete;
  ~IndexFile() { close(); }

  // A new file of one header block (blocks of 1024 bytes). 0, or -1 when it
  // cannot be created or written whole.
  static int create(const char* name);

  // Mode 0 is read-only (2), 1 read/write, 3 creates the file first. Fewer
  // than 0 pool blocks means 10. The same file open in the same mode is kept
  // as it is; another file or mode is closed first. -1 (with errorFlag())
  // when the file cannot be opened, its header is not sound, or a change
  // left in its journal cannot be taken back.
  int open(const char* name, int mode, int poolBlocks = -1, bool writeBack = false);
  // Flushes a read/write file and closes it; -1 when it was not open or the
  // flush failed (the file is closed all the same).
  int close();

  // Search modes of BTree: 1 exact, 2 and 3 at or after.
  int find(std::string_view key, int searchMode);
  // The next value: within the key's chain first when asked, else the next key.
  int next(bool withinKey);
  // With `replace` the key's value is overwritten; without it a second value
  // joins the key's chain (or is ignored when it is the newest already).
  int insert(std::string_view key, const IndexEntry& entry, bool replace);
  // Marks the value under the cursor deleted.
  int remove();
  // The cursor on the newest live value of the key.
  int findNewest(std::string_view key);

  // After a successful find or next.
  const std::string& key() const { return tree_.key(); }
  const IndexEntry& entry() const { return tree_.current(); }

  bool isOpen() const { return open_; }
  int mode() const { return mode_; }
  int cursorState() const { return cursor_; }
  bool errorFlag() const { return error_; }
  // The tree met a block that is not what it should be.
  bool damaged() const { return tree_.damaged(); }
  // Whether opening the file took back a change cut short.
  bool recovered() const { return recovered_; }
  const std::string& path() const { return path_; }
  int maxKeyLength() const { return tree_.maxKeyLength(); }
  BlockPool& pool() { return pool_; }

 private:
  int fail();
  bool headerSound() const;
  bool refreshIfChanged();

  HFILE file_ = HFILE_ERROR;
  bool open_ = false;
  int mode_ = 0;
  bool error_ = false;
  bool recovered_ = false;
  int cursor_ = kNoCursor;
  std::string path_;
  index_changes::FileState* shared_ = nullptr;
  BlockPool pool_;
  BTree tree_;
  IndexJournal journal_;
};
