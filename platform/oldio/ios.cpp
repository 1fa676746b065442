#include "oldio/ios.h"

namespace oldio {

ios::ios(streambuf* buffer) { init(buffer); }

ios::ios() = default;

ios::~ios() = default;

void ios::init(streambuf* buffer) {
  buffer_ = buffer;
  state_ = buffer ? goodbit : badbit;
}

void ios::clear(int state) {
  // A stream without a buffer can do nothing: it stays bad.
  state_ = buffer_ ? state : (state | badbit);
}

LONG ios::flags(LONG f) {
  const LONG old = flags_;
  flags_ = f;
  return old;
}

LONG ios::setf(LONG bits) {
  const LONG old = flags_;
  flags_ |= bits;
  return old;
}

LONG ios::setf(LONG bits, LONG field) {
  const LONG old = flags_;
  flags_ = (flags_ & ~field) | (bits & field);
  return old;
}

LONG ios::unsetf(LONG bits) {
  const LONG old = flags_;
  flags_ &= ~bits;
  return old;
}

int ios::width(int w) {
  const int old = width_;
  width_ = w;
  return old;
}

char ios::fill(char c) {
  const char old = fill_;
  fill_ = c;
  return old;
}

int ios::precision(int p) {
  const int old = precision_;
  precision_ = p;
  return old;
}

}  // namespace oldio
