// Keeps a change that spans several blocks of an index file whole when the
// program is killed half-way. Before a block that existed when the change
// began is overwritten, its old contents are appended to a journal beside the
// index ("<index>.journal"); the change is complete once the journal is
// emptied again. Opening an index whose journal still holds a change puts
// the old blocks back and cuts the file to its old length, so the change is
// either all there or not at all. The index file itself keeps its layout.
//
// The journal protects against the process dying (its writes reach the
// operating system in order), not against the machine losing power: nothing
// is forced to the disk.
#pragma once

#include <string>
#include <vector>

#include "win/types.h"

class IndexJournal {
 public:
  static std::string pathFor(const std::string& indexName);
  // Undoes a change left in the journal of `indexName`: 0 when there was none
  // (or the journal ended before the index was touched), 1 when the index was
  // restored, -1 when it could not be.
  static int recover(const std::string& indexName);

  IndexJournal() = default;
  IndexJournal(const IndexJournal&) = delete;
  IndexJournal& operator=(const IndexJournal&) = delete;
  ~IndexJournal() { detach(); }

  void attach(const std::string& indexName, HFILE index, int blockSize);
  // Closes the journal file and removes it, unless it holds a change that
  // did not complete.
  void detach();

  // A change begins at an index length; the journal file is written only
  // once the change writes to the index.
  void begin(LONG indexLength);
  bool active() const { return active_; }
  // Before block `block` of the index is written during a change. False when
  // the journal cannot take the old contents: the index must not be written.
  bool beforeWrite(WORD block);
  // The change is complete: the journal is emptied. False when it could not.
  bool commit();
  // Whether the current change has written anything to the index yet.
  bool touched() const { return started_; }

 private:
  bool start();
  bool save(WORD block);

  std::string indexName_;
  std::string path_;
  HFILE index_ = HFILE_ERROR;
  HFILE file_ = HFILE_ERROR;
  int blockSize_ = 0;
  bool active_ = false;
  bool started_ = false;
  LONG startLength_ = 0;
  LONG journalLength_ = 0;
  std::vector<bool> saved_;
};
