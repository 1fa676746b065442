// A growable array kept in ascending order without duplicates, searched by
// halving. Traits give the order:
//   using Key = ...;                               what Find is asked for
//   static int compare(const T& element, const Key& key);  <0, 0, >0
//   static const Key& keyOf(const T& element);
#pragma once

#include "core/array_block.h"

template <class T, class Traits>
class SortedArray {
 public:
  using Key = typename Traits::Key;

  int count() const { return items_.count(); }
  int capacity() const { return items_.capacity(); }
  // The element at i, or an empty one when i is out of range.
  const T& at(int i) const { return items_.inRange(i) ? items_[i] : none(); }

  // True when present; `index` is where key is, or where it belongs.
  bool Find(const Key& key, int& index) const {
    int low = 0;
    int high = items_.count();
    while (low < high) {
      int probe = low + (high - low) / 2;
      int c = Traits::compare(items_[probe], key);
      if (c == 0) {
        index = probe;
        return true;
      }
      if (c < 0)
        low = probe + 1;
      else
        high = probe;
    }
    index = low;
    return false;
  }

  bool Contains(const Key& key) const {
    int index = 0;
    return Find(key, index);
  }

  // False when already present (the array is unchanged) or when it could
  // not grow.
  bool Insert(const T& x) {
    int index = 0;
    if (Find(Traits::keyOf(x), index)) return false;
    return items_.insertAt(index, x);
  }

  bool RemoveAt(int i) { return items_.removeAt(i); }
  void RemoveAll() { items_.clear(); }

 protected:
  static const T& none() {
    static const T empty{};
    return empty;
  }
  ArrayBlock<T> items_;
};
