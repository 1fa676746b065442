#include "core/position_entry.h"

#include <cstdio>
#include <new>

PositionEntry::PositionEntry(float weight, const IntSortedArray* positions) : weight_(weight) {
  setPositions(positions);
}

PositionEntry::PositionEntry(const PositionEntry& other) : weight_(other.weight_) {
  setPositions(other.positions());
}

PositionEntry& PositionEntry::operator=(const PositionEntry& other) {
  if (this != &other) {
    weight_ = other.weight_;
    setPositions(other.positions());
  }
  return *this;
}

bool PositionEntry::setPositions(const IntSortedArray* positions) {
  if (!positions) {
    positions_.reset();
    return true;
  }
  positions_.reset(new (std::nothrow) IntSortedArray(*positions));
  return positions_ && positions_->count() == positions->count();
}

CString PositionEntry::formatPositions() const {
  CString out;
  if (!positions_) return out;
  // The field width is part of the written format: "%5d", then a blank.
  char format[16];
  std::snprintf(format, sizeof format, "%%%dd ", 5);
  for (int i = 0; i < positions_->count(); ++i) {
    char field[24];
    std::snprintf(field, sizeof field, format, positions_->at(i));
    out += field;
  }
  return out;
}
