// A search hit's weight and the word positions where it was found; the
// session writes the positions as the "Positions=" line of the hit.
#pragma once

#include <memory>

#include "core/int_sorted_array.h"
#include "mfc/cstring.h"

class PositionEntry {
 public:
  PositionEntry() = default;
  PositionEntry(float weight, const IntSortedArray* positions);  // copies them
  PositionEntry(const PositionEntry& other);
  PositionEntry& operator=(const PositionEntry& other);
  PositionEntry(PositionEntry&&) noexcept = default;
  PositionEntry& operator=(PositionEntry&&) noexcept = default;

  float weight() const { return weight_; }
  void setWeight(float w) { weight_ = w; }
  // Null when the hit has no positions.
  const IntSortedArray* positions() const { return positions_.get(); }
  // Copies them; null drops them. False when the copy could not be made
  // (the entry then has none).
  bool setPositions(const IntSortedArray* positions);

  // Each position right-aligned in five characters and followed by a blank:
  // "    3    17 ". Empty without positions.
  CString formatPositions() const;

 private:
  float weight_ = 1.0f;
  std::unique_ptr<IntSortedArray> positions_;
};
