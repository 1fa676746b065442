#include "text/position/position.h"

#include <cerrno>
#include <algorithm>
#include <limits>
#include <cstdlib>
#include <new>

Position::~Position() = default;

Position* Position::Clone() const { return new (std::nothrow) Position(number_); }

void Position::Add(const Position& other) {
  number_ = static_cast<LONG>(static_cast<DWORD>(number_) + static_cast<DWORD>(other.number_));
}

bool Position::Format(CString& out) const {
  out.Format("N%ld", number_);
  return true;
}

Position* Position::Parse(const char* text, int& consumed) {
  consumed = 0;
  if (!text) return nullptr;
  const char* from = text;
  // The text that follows a first position starts with its blank.
  while (*from == ' ' || *from == '\t') ++from;
  if (*from == 'I' || *from == 'T') return nullptr;
  if (*from == 'N') ++from;
  char* stop = nullptr;
  errno = 0;
  long long value = std::strtoll(from, &stop, 0);
  if (stop == from) return nullptr;
  value = std::min<long long>(std::max<long long>(value, std::numeric_limits<LONG>::min()),
                              std::numeric_limits<LONG>::max());
  Position* p = new (std::nothrow) Position(static_cast<LONG>(value));
  if (p) consumed = static_cast<int>(stop - text);
  return p;
}

const Position& FirstPosition() {
  static const Position origin(kFirstPositionNumber);
  return origin;
}

const Position& LastPosition() {
  static const Position end(kLastPositionNumber);
  return end;
}

PositionRange::PositionRange(const Position& start, const Position& end)
    : start_(start.Clone()), end_(end.Clone()) {
  // A range always holds two positions: fall back to plain copies of the
  // numbers when the kinds' clones fail.
  if (!start_) start_ = new Position(start.Number());
  if (!end_) end_ = new Position(end.Number());
}

PositionRange::PositionRange(const PositionRange& other) : PositionRange(*other.start_, *other.end_) {}

PositionRange& PositionRange::operator=(const PositionRange& other) {
  if (this != &other) {
    SetStart(*other.start_);
    SetEnd(*other.end_);
  }
  return *this;
}

PositionRange::~PositionRange() {
  delete start_;
  delete end_;
}

const Position& PositionRange::Lower() const { return start_->LessOrEqual(*end_) ? *start_ : *end_; }

const Position& PositionRange::Upper() const { return start_->LessOrEqual(*end_) ? *end_ : *start_; }

bool PositionRange::SetStart(const Position& p) {
  Position* copy = p.Clone();
  if (!copy) return false;
  delete start_;
  start_ = copy;
  return true;
}

bool PositionRange::SetEnd(const Position& p) {
  Position* copy = p.Clone();
  if (!copy) return false;
  delete end_;
  end_ = copy;
  return true;
}

const PositionRange& WholeDocument() {
  static const PositionRange whole(FirstPosition(), LastPosition());
  return whole;
}
