// The interning table: each distinct string gets a slot index that names it
// until the set is cleared (the page layer's property table keeps names as
// such indices). The first 1021 slots are hash buckets; colliding strings go
// to overflow slots after them, chained through next indices.
#pragma once

#include "mfc/cstring.h"

class StringHashSet {
 public:
  static constexpr int kBuckets = 1021;
  // Largest slot table the set will grow to; an insert that would need more
  // fails and changes nothing.
  static constexpr int kDefaultSlotLimit = 1 << 24;

  StringHashSet();
  StringHashSet(const StringHashSet&) = delete;
  StringHashSet& operator=(const StringHashSet&) = delete;
  ~StringHashSet();

  // The bucket of a string: h = h * 8 + byte (as a signed char), in 32-bit
  // unsigned arithmetic, mod 1021. A null string hashes to 0.
  static int Hash(const char* s);

  // The slot index of s, adding it when new; -1 (set unchanged) when the
  // table could not grow. A null string is taken as the empty string.
  int insert(const char* s);
  // The string in slot i; the shared empty string when i is out of range or
  // the slot is empty.
  const CString& at(int i) const;
  bool has(int i) const;
  void Clear();

  int used() const { return used_; }
  int capacity() const { return capacity_; }
  // Caps the slot table (at least the buckets); for callers that bound
  // their memory, and for tests of a failing growth.
  void setSlotLimit(int slots) { slotLimit_ = slots < kBuckets ? kBuckets : slots; }

 private:
  struct Entry {
    CString text;
    int next;
  };
  bool resize(int slots);

  int used_ = 0;
  int capacity_ = 0;
  Entry** slots_ = nullptr;
  int slotLimit_ = kDefaultSlotLimit;
};
