// A growable array of ints, ascending by signed value, each once (word
// positions of a search hit).
#pragma once

#include "core/sorted_array.h"

struct IntTraits {
  using Key = int;
  static int compare(const int& element, const int& key) {
    return element < key ? -1 : (element > key ? 1 : 0);
  }
  static const int& keyOf(const int& element) { return element; }
};

class IntSortedArray : public SortedArray<int, IntTraits> {};
