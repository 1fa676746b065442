// The name lookup of hint resolution remembers its last answer: the word
// that named the collections to search in, and their ids. The same word is
// answered again without a request. Each connection keeps its own (the ids
// belong to that server), and inserting a document empties it, since the new
// document may carry the name.
#pragma once

#include "core/id_array.h"
#include "mfc/cstring.h"

class HintCache {
 public:
  // True with the ids when `word` is the word remembered.
  bool lookup(const CString& word, IdArray& ids) const;
  void store(const CString& word, const IdArray& ids);
  void clear();
  bool isEmpty() const { return !valid_; }

 private:
  bool valid_ = false;
  CString word_;
  IdArray ids_;
};
