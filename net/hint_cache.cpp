#include "net/hint_cache.h"

bool HintCache::lookup(const CString& word, IdArray& ids) const {
  if (!valid_ || word_ != word) return false;
  ids = ids_;
  return true;
}

void HintCache::store(const CString& word, const IdArray& ids) {
  word_ = word;
  ids_ = ids;
  valid_ = true;
}

void HintCache::clear() {
  valid_ = false;
  word_.Empty();
  ids_.RemoveAll();
}
