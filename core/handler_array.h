// A growable array of named handlers, ascending by multibyte comparison of
// their names, each name once, found by name. The array does not own them.
#pragma once

#include "core/sorted_array.h"
#include "core/string_array.h"

class NamedHandler {
 public:
  // The name the handler is found by; never null.
  virtual const char* name() const = 0;
  virtual ~NamedHandler();
};

struct HandlerTraits {
  using Key = const char*;
  static int compare(NamedHandler* const& element, const char* const& key) {
    return CompareMultibyte(element->name(), key);
  }
  static const char* keyOf(NamedHandler* const& element) { return element->name(); }
};

class HandlerArray : public SortedArray<NamedHandler*, HandlerTraits> {
 public:
  // False for null, for a name already present, or when memory failed.
  bool Insert(NamedHandler* handler) { return handler && SortedArray::Insert(handler); }
  // The handler of this name, or null.
  NamedHandler* Lookup(const char* name) const;
};
