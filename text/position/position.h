// Places in a text document. A position is the stream offset of the source
// byte at which something begins; the tokenizer stamps it on every token, the
// builder on every atom, so one number names the same place in the file, the
// token stream and the laid-out text. Positions are handed around as objects
// so that the atoms can compare and copy them without knowing their kind; a
// position an operation returns is new and belongs to the caller.
#pragma once

#include "mfc/cstring.h"
#include "win/types.h"

class Position {
 public:
  explicit Position(LONG number = 0) : number_(number) {}
  Position(const Position&) = default;
  Position& operator=(const Position&) = default;
  virtual ~Position();

  virtual Position* Clone() const;
  virtual bool Greater(const Position& other) const { return number_ > other.number_; }
  virtual bool GreaterOrEqual(const Position& other) const { return number_ >= other.number_; }
  virtual bool Less(const Position& other) const { return number_ < other.number_; }
  virtual bool LessOrEqual(const Position& other) const { return number_ <= other.number_; }
  virtual bool Equal(const Position& other) const { return number_ == other.number_; }
  virtual bool NotEqual(const Position& other) const { return number_ != other.number_; }
  // Adds the other position's number to this one (wrapping like the 32-bit
  // number it is).
  virtual void Add(const Position& other);
  // "N" and the number in decimal; always true.
  virtual bool Format(CString& out) const;

  LONG Number() const { return number_; }
  void SetNumber(LONG number) { number_ = number; }

  // Reads a position from the start of `text`: "N" and a number, or a bare
  // number (strtol with base 0: decimal, 0x hexadecimal, leading 0 octal,
  // leading blanks and a sign). The letters "I" and "T" begin other kinds of
  // position that are not read here. Returns a new position, or null when no
  // digit was read; `consumed` receives the characters taken (the "N" too),
  // 0 on failure. Numbers beyond 32 bits are clamped, not wrapped.
  static Position* Parse(const char* text, int& consumed);

 private:
  LONG number_;
};

// The place before the first byte (-1): a selection there means nothing is
// selected.
const Position& FirstPosition();
// The place after the last byte (0x7ffffff, seven hexadecimal F digits): the
// offset the tokenizer reports when no token is left.
const Position& LastPosition();

constexpr LONG kFirstPositionNumber = -1;
constexpr LONG kLastPositionNumber = 0x7ffffff;

// A stretch between two positions, both owned. Either end may be the greater
// one; Lower and Upper give them in order.
class PositionRange {
 public:
  PositionRange(const Position& start, const Position& end);
  PositionRange(const PositionRange& other);
  PositionRange& operator=(const PositionRange& other);
  virtual ~PositionRange();

  const Position& Start() const { return *start_; }
  const Position& End() const { return *end_; }
  const Position& Lower() const;
  const Position& Upper() const;

  // Replace an end by a clone of `p`; false and nothing changed when the
  // clone cannot be made.
  bool SetStart(const Position& p);
  bool SetEnd(const Position& p);

 private:
  Position* start_;
  Position* end_;
};

// From the origin to the end: the range the whole document is asked for.
const PositionRange& WholeDocument();
