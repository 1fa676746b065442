// A growable array of object ids, ascending by signed value, each id once.
#pragma once

#include <memory>

#include "core/int_source.h"
#include "core/object_id.h"
#include "core/sorted_array.h"

struct IdTraits {
  using Key = ObjectId;
  static int compare(const ObjectId& element, const ObjectId& key) {
    return element < key ? -1 : (key < element ? 1 : 0);
  }
  static const ObjectId& keyOf(const ObjectId& element) { return element; }
};

class IdArray : public SortedArray<ObjectId, IdTraits> {
 public:
  IdArray() = default;
  // The ids of other from `start` on, at most `count` of them (start below
  // 0 counts as 0; empty when start is past the end or count <= 0).
  IdArray(const IdArray& other, int start, int count);

  // Takes over a block of `count` ids (any order, duplicates allowed) with
  // room for `capacity`; the capacity becomes the larger of the two; then
  // sorts.
  void Adopt(int count, std::unique_ptr<ObjectId[]> block, int capacity);
  // Every id of either array, once. False when memory failed (unchanged).
  bool Union(const IdArray& other);
  // Drops every id that other holds; order and capacity kept.
  void Subtract(const IdArray& other);
  // Ascending by signed value, duplicates once.
  void Sort();

  // Reads a count and that many ids from a reply body, then adopts them. A
  // negative count, one the body cannot hold, or a short body leave the
  // array unchanged and give false.
  bool Read(IntSource& in);
};

// Reads one id from a reply body.
bool ReadObjectId(IntSource& in, ObjectId& out);
