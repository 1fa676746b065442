// The B-tree of an index file: string keys in key order, each leading to a
// flag pair and a 32-bit value, or to a record chain of several values.
// Lookups are exact or at-or-after; a cursor walks the keys and their values
// in order; insertion splits full nodes (and grows a new root); deletion
// marks entries and keeps their space.
//
// Every node is checked when it is first read from the file; a node that is
// not well formed, or that is not where the tree expects it, ends the
// operation with -1 and sets damaged(), never handing out its bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/index/index_entry.h"
#include "store/index/record_chain.h"
#include "win/types.h"

class BlockPool;

class BTree {
 public:
  enum SearchMode : int {
    kExact = 1,    // the key itself, not deleted
    kAtOrAfter = 2,  // the first live key equal to or after it
    // As kAtOrAfter, but fails when the key is below every key of the leaf
    // the descent reaches.
    kAtOrAfterInLeaf = 3,
  };
  enum Weight : int { kLeafWeight = 1, kInnerWeight = 10 };

  void bind(BlockPool* pool);
  // Keys are cut to this length when they are inserted or looked for.
  int maxKeyLength() const { return maxKey_; }

  int search(std::string_view key, int mode);
  int next(bool withinKey);
  int insert(std::string_view key, IndexEntry entry, bool replace);
  int remove();
  // Puts the cursor on the newest live value of the key (the last one added
  // to its chain, or its only value).
  int findNewest(std::string_view key);

  bool valid() const { return valid_; }
  const std::string& key() const { return key_; }
  // The value under the cursor, with the index's own flag bits cleared.
  const IndexEntry& current() const { return current_; }
  bool chained() const { return chained_; }
  bool damaged() const { return damaged_; }

 private:
  BYTE* node(WORD block, bool leaf);
  WORD descend(std::string_view key, int height, std::vector<WORD>* path);
  bool present();
  bool advance();
  bool stepToLive();
  int locate(std::string_view key, WORD& block, int& index);
  int insertAt(int height, std::string_view key, const BYTE* fixed);
  int split(const std::vector<WORD>& path, int height);
  int makeRoot(WORD oldRoot);
  int putNode(WORD block, BYTE* buf, bool leaf);
  std::string_view cut(std::string_view key) const;

  BlockPool* pool_ = nullptr;
  int blockSize_ = 0;
  int maxKey_ = 0;
  WORD block_ = 0;  // the cursor: leaf block and entry
  int entry_ = 0;
  bool valid_ = false;
  bool chained_ = false;
  bool damaged_ = false;
  long hopsLeft_ = 0;  // leaf-to-leaf steps left for the current walk
  DWORD chainId_ = 0;  // the chain of the entry under the cursor
  std::string key_;
  IndexEntry current_;
  RecordChain chain_;
};
