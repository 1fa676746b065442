// A source of integers read from a reply body (text or binary form, as the
// connection negotiated). The control connection provides one; the readers of
// the containers take counts and elements from it.
#pragma once

#include <cstddef>

#include "win/types.h"

class IntSource {
 public:
  virtual ~IntSource() = default;
  // The next integer; false when the body holds none (or it is malformed).
  virtual bool readInt(LONG& out) = 0;
  // Bytes not read yet. Every integer takes at least one byte in either
  // form, so a count above this cannot be honest.
  virtual size_t bytesLeft() const = 0;
};
