// The stream state and format base of the old runtime's iostream classes.
// Stream classes derive from it virtually, so a class that is both an input
// and an output stream has one state and one buffer.
#pragma once

#include "win/types.h"

namespace oldio {

class streambuf;

// Positions and offsets are 32-bit, as on the original platform.
using streampos = LONG;
using streamoff = LONG;

class ios {
 public:
  enum io_state { goodbit = 0, eofbit = 1, failbit = 2, badbit = 4 };
  // Which side of a buffer a seek is about.
  enum open_mode { in = 1, out = 2 };
  enum seek_dir { beg = 0, cur = 1, end = 2 };
  // Format flags.
  enum : LONG {
    skipws = 0x0001,
    left = 0x0002,
    right = 0x0004,
    internal = 0x0008,
    dec = 0x0010,
    oct = 0x0020,
    hex = 0x0040,
    showbase = 0x0080,
    showpoint = 0x0100,
    uppercase = 0x0200,
    showpos = 0x0400,
    scientific = 0x0800,
    fixed = 0x1000,
    unitbuf = 0x2000,
  };
  static constexpr LONG basefield = dec | oct | hex;
  static constexpr LONG adjustfield = left | right | internal;
  static constexpr LONG floatfield = scientific | fixed;

  explicit ios(streambuf* buffer);
  virtual ~ios();
  ios(const ios&) = delete;
  ios& operator=(const ios&) = delete;

  int rdstate() const { return state_; }
  // Sets the state to exactly `state` (a stream without a buffer stays bad).
  void clear(int state = goodbit);
  // Adds bits to the state.
  void setstate(int bits) { clear(state_ | bits); }
  int good() const { return state_ == goodbit; }
  int eof() const { return state_ & eofbit; }
  int fail() const { return state_ & (failbit | badbit); }
  int bad() const { return state_ & badbit; }
  explicit operator bool() const { return !fail(); }
  int operator!() const { return fail(); }

  streambuf* rdbuf() const { return buffer_; }

  LONG flags() const { return flags_; }
  LONG flags(LONG f);
  LONG setf(LONG bits);
  LONG setf(LONG bits, LONG field);
  LONG unsetf(LONG bits);
  int width() const { return width_; }
  int width(int w);
  char fill() const { return fill_; }
  char fill(char c);
  int precision() const { return precision_; }
  int precision(int p);

 protected:
  // For classes that derive virtually: the most derived class calls init.
  ios();
  void init(streambuf* buffer);

 private:
  streambuf* buffer_ = nullptr;
  int state_ = badbit;
  LONG flags_ = skipws | dec;
  int width_ = 0;
  char fill_ = ' ';
  int precision_ = 6;
};

}  // namespace oldio
