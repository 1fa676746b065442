#include "core/string_hash_set.h"

#include <new>

#include "core/string_array.h"

StringHashSet::StringHashSet() { Clear(); }

StringHashSet::~StringHashSet() {
  for (int i = 0; i < capacity_; ++i) delete slots_[i];
  delete[] slots_;
}

int StringHashSet::Hash(const char* s) {
  DWORD h = 0;
  if (s)
    for (; *s; ++s) h = h * 8 + static_cast<DWORD>(static_cast<signed char>(*s));
  return static_cast<int>(h % kBuckets);
}

// Moves the entries into a table of `slots` slots (new slots empty). The
// table never shrinks. False, and nothing changed, when it cannot be had.
bool StringHashSet::resize(int slots) {
  if (slots <= capacity_) return true;
  if (slots > slotLimit_) return false;
  Entry** table = new (std::nothrow) Entry*[static_cast<size_t>(slots)]();
  if (!table) return false;
  for (int i = 0; i < capacity_; ++i) table[i] = slots_[i];
  delete[] slots_;
  slots_ = table;
  capacity_ = slots;
  return true;
}

void StringHashSet::Clear() {
  for (int i = 0; i < capacity_; ++i) {
    delete slots_[i];
    slots_[i] = nullptr;
  }
  // The first table is always within the limit (the limit is at least the
  // number of buckets); without it the set stays unusable and insert fails.
  if (!resize(kBuckets)) return;
  used_ = kBuckets;
}

int StringHashSet::insert(const char* s) {
  if (!s) s = "";
  if (!slots_) {
    Clear();
    if (!slots_) return -1;
  }
  int slot = Hash(s);
  for (;;) {
    Entry* e = slots_[slot];
    if (!e) break;
    if (CompareMultibyte(e->text.c_str(), s) == 0) return slot;
    if (e->next == -1) break;
    slot = e->next;
  }
  const bool intoWalkEnd = slots_[slot] == nullptr;
  const int target = intoWalkEnd ? slot : used_;
  const int newUsed = intoWalkEnd ? used_ : used_ + 1;
  // Grow before anything is touched, so a failure leaves the set as it was.
  if (capacity_ <= newUsed && !resize(newUsed + 100)) return -1;
  Entry* entry = new (std::nothrow) Entry{CString(s), -1};
  if (!entry) return -1;
  slots_[target] = entry;
  used_ = newUsed;
  if (!intoWalkEnd) slots_[slot]->next = target;
  return target;
}

const CString& StringHashSet::at(int i) const {
  static const CString empty;
  return has(i) ? slots_[i]->text : empty;
}

bool StringHashSet::has(int i) const { return i >= 0 && i < used_ && slots_[i] != nullptr; }
