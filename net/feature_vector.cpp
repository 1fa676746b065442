#include "net/feature_vector.h"

#include <new>

namespace {

// A copy of the positions, or null for none. `whole` turns false when the
// copy could not be made complete.
std::unique_ptr<IntSortedArray> copyPositions(const IntSortedArray* positions, bool& whole) {
  whole = true;
  if (positions == nullptr) return nullptr;
  std::unique_ptr<IntSortedArray> copy(new (std::nothrow) IntSortedArray(*positions));
  if (!copy || copy->count() != positions->count()) {
    whole = false;
    return nullptr;
  }
  return copy;
}

// Every value takes at least one byte of the body in either form, so a
// count above the bytes left is a lie that must not drive a loop or an
// allocation.
bool countFits(LONG count, const FeatureSource& in) {
  return count >= 0 && static_cast<size_t>(count) <= in.bytesLeft();
}

}  // namespace

Features::Features(LONG id, float weight, const IntSortedArray* positions)
    : id_(id), weight_(weight), positions_(copyPositions(positions, copiedWhole_)) {}

Features::Features(const Features& other)
    : ListElement(),
      id_(other.id_),
      weight_(other.weight_),
      positions_(copyPositions(other.positions(), copiedWhole_)) {}

FeatureRead Features::read(FeatureSource& in, std::unique_ptr<Features>& out) {
  LONG id = 0;
  float weight = 0.0f;
  LONG n = 0;
  if (!in.readInt(id) || !in.readFloat(weight) || !in.readInt(n)) return FeatureRead::Truncated;
  if (weight == 0.0f) return FeatureRead::NullWeight;
  if (!countFits(n, in)) return FeatureRead::BadCount;

  std::unique_ptr<Features> entry(new (std::nothrow) Features());
  if (!entry) return FeatureRead::NoMemory;
  entry->id_ = id;
  entry->weight_ = weight;
  if (n > 0) {
    entry->positions_.reset(new (std::nothrow) IntSortedArray());
    if (!entry->positions_) return FeatureRead::NoMemory;
  }
  for (LONG i = 0; i < n; ++i) {
    LONG position = 0;
    if (!in.readInt(position)) return FeatureRead::Truncated;
    // A position given twice is kept once; a refusal for any other reason
    // is a failed growth.
    if (!entry->positions_->Insert(position) && !entry->positions_->Contains(position))
      return FeatureRead::NoMemory;
  }
  out = std::move(entry);
  return FeatureRead::Ok;
}

FeatureVector::FeatureVector(const FeatureVector& other) : tag_(other.tag_) { assign(other); }

FeatureVector& FeatureVector::operator=(const FeatureVector& other) {
  assign(other);
  return *this;
}

FeatureVector::~FeatureVector() { clear(); }

bool FeatureVector::assign(const FeatureVector& other) {
  if (this == &other) return true;
  clear();
  tag_ = other.tag_;
  flags_ = other.flags_;
  extra_ = other.extra_;
  for (const Features* e = other.first(); e != nullptr; e = next(e)) {
    std::unique_ptr<Features> copy(new (std::nothrow) Features(*e));
    if (!copy || !copy->copiedWhole()) return false;
    entries_.append(copy.release());
  }
  return true;
}

const Features* FeatureVector::first() const {
  return static_cast<const Features*>(entries_.first());
}

const Features* FeatureVector::next(const Features* entry) {
  return entry ? static_cast<const Features*>(entry->next()) : nullptr;
}

const Features* FeatureVector::at(LONG i) const {
  return static_cast<const Features*>(entries_.at(i));
}

void FeatureVector::clear() { entries_.clearAndDelete(); }

void FeatureVector::append(std::unique_ptr<Features> entry) {
  if (entry && !entry->isLinked()) entries_.append(entry.release());
}

std::unique_ptr<Features> FeatureVector::takeFirst() {
  return std::unique_ptr<Features>(static_cast<Features*>(entries_.popFront()));
}

FeatureRead FeatureVector::read(FeatureSource& in) {
  clear();
  LONG count = 0;
  if (!in.readInt(count)) return FeatureRead::Truncated;
  if (!countFits(count, in)) return FeatureRead::BadCount;
  for (LONG i = 0; i < count; ++i) {
    std::unique_ptr<Features> entry;
    FeatureRead result = Features::read(in, entry);
    if (result != FeatureRead::Ok) return result;
    entries_.append(entry.release());
  }
  return FeatureRead::Ok;
}

IdArray FeatureVector::ids() const {
  IdArray ids;
  for (const Features* e = first(); e != nullptr; e = next(e)) ids.Insert(ObjectId(e->id()));
  return ids;
}
