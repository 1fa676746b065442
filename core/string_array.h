// Growable arrays of strings: StringArray keeps insertion order and
// duplicates; SortedStringArray keeps them ascending by multibyte comparison
// and refuses duplicates.
#pragma once

#include "core/array_block.h"
#include "core/sorted_array.h"
#include "mfc/cstring.h"

class StringArray {
 public:
  int count() const { return items_.count(); }
  int capacity() const { return items_.capacity(); }
  // The string at i, or the empty string when i is out of range.
  const CString& at(int i) const;
  // False only when the array could not grow.
  bool Add(const CString& s) { return items_.append(s); }
  bool RemoveAt(int i) { return items_.removeAt(i); }
  void RemoveAll() { items_.clear(); }

 private:
  ArrayBlock<CString> items_;
};

// Byte-wise unsigned comparison of two C strings (the multibyte comparison of
// a single-byte code page).
int CompareMultibyte(const char* a, const char* b);

struct SortedStringTraits {
  using Key = const char*;
  static int compare(const CString& element, const char* key) {
    return CompareMultibyte(element.c_str(), key);
  }
  static const char* keyOf(const CString& element) { return element.c_str(); }
};

class SortedStringArray : public SortedArray<CString, SortedStringTraits> {};
