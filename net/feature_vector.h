// The feature vector of a full-text search reply: for each hit the object's
// id, its weight (the score, never 0) and the word positions of the hit in
// the document.
//
// Wire format (integers in the negotiated form, the weight as text):
//   vector:  int count, then count records
//   record:  long id, float weight, int n, then n ints (the positions)
#pragma once

#include <memory>

#include "core/id_array.h"
#include "core/int_sorted_array.h"
#include "core/list.h"
#include "core/position_entry.h"
#include "net/feature_vector_source.h"
#include "win/types.h"

// What reading a vector or one of its records came to.
enum class FeatureRead {
  Ok,
  Truncated,   // the body ended inside the vector
  NullWeight,  // a record with weight 0: the reply is unusable
  BadCount,    // a negative count, or one the rest of the body cannot hold
  NoMemory,
};

// One hit.
class Features : public ListElement {
 public:
  Features() = default;
  // Copies the positions; null gives none.
  Features(LONG id, float weight, const IntSortedArray* positions);
  // A copy with its own positions, not linked to any list.
  Features(const Features& other);
  Features& operator=(const Features&) = delete;

  LONG id() const { return id_; }
  float weight() const { return weight_; }
  // Ascending, each once; null when the record listed none.
  const IntSortedArray* positions() const { return positions_.get(); }
  // False when a copy of positions could not be made.
  bool copiedWhole() const { return copiedWhole_; }

  // Weight and positions, as the position map keeps them.
  PositionEntry entry() const { return PositionEntry(weight_, positions_.get()); }

  // Reads one record. `out` is set only on Ok; a record with weight 0 (of
  // either sign) is refused with NullWeight.
  static FeatureRead read(FeatureSource& in, std::unique_ptr<Features>& out);

 private:
  LONG id_ = 0;
  float weight_ = 1.0f;
  std::unique_ptr<IntSortedArray> positions_;
  bool copiedWhole_ = true;
};

class FeatureVector {
 public:
  // The number given here, the flag byte and the further int are kept and
  // copied only; nothing in the client reads their meaning.
  explicit FeatureVector(int tag = 0) : tag_(tag) {}
  FeatureVector(const FeatureVector& other);
  // Clears, then copies the numbers and every entry (positions included).
  FeatureVector& operator=(const FeatureVector& other);
  ~FeatureVector();

  // The same as assignment; false when memory failed part way (the entries
  // copied so far stay).
  bool assign(const FeatureVector& other);

  int tag() const { return tag_; }
  BYTE flags() const { return flags_; }
  void setFlags(BYTE flags) { flags_ = flags; }
  int extra() const { return extra_; }
  void setExtra(int extra) { extra_ = extra; }

  LONG count() const { return entries_.count(); }
  bool isEmpty() const { return entries_.isEmpty(); }
  // In the order read; null past the end.
  const Features* first() const;
  static const Features* next(const Features* entry);
  const Features* at(LONG i) const;

  // Deletes every entry.
  void clear();
  void append(std::unique_ptr<Features> entry);
  // The first entry, now the caller's; null when empty.
  std::unique_ptr<Features> takeFirst();

  // Clears the vector, reads the count and one entry per record. Reading
  // stops with the first record that is short or invalid; the entries read
  // before it stay. A count the body cannot hold reads nothing.
  FeatureRead read(FeatureSource& in);

  // The ids of all entries, ascending and each once.
  IdArray ids() const;

 private:
  int tag_;
  BYTE flags_ = 0;
  int extra_ = 0;
  List entries_;
};
