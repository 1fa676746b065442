// The weights and word positions of full-text hits by object id. The search
// fills it from the reply's feature vector and, for each result object it
// fetches, takes the object's entry out again to write its "Score=" and
// "Positions=" lines. A treap keyed by id: each id at most once.
#pragma once

#include "core/object_id.h"
#include "core/position_entry.h"
#include "core/treap.h"
#include "win/types.h"

class FeatureVector;

class PositionMap {
 public:
  PositionMap() = default;
  PositionMap(const PositionMap&) = delete;
  PositionMap& operator=(const PositionMap&) = delete;
  ~PositionMap();

  // Adds the id with a copy of the entry. An id already present is reset
  // to the default entry (weight 1.0, no positions) instead: the hits
  // disagree, so no score is claimed for it. False only when memory failed
  // (the map is unchanged then).
  bool insert(ObjectId id, const PositionEntry& entry);
  // Every hit of the vector, in its order.
  bool insertAll(const FeatureVector& vector);

  // Removes the id and hands out its entry; false (map and `out`
  // unchanged) when the id is absent.
  bool take(ObjectId id, PositionEntry& out);

  bool contains(ObjectId id) const;
  LONG count() const { return count_; }
  void clear();

  // The deepest path from the root, for tests of the balance.
  int depth() const;

 private:
  TreapNode* root_ = nullptr;
  LONG count_ = 0;
};
