// The number that names a server object: one signed 32-bit integer, 0 for
// "no object". Ordered by signed comparison, so ids of 0x80000000 and above
// sort before 0. Written as "0x%08x"; read from that form or from decimal.
#pragma once

#include <compare>
#include <string_view>

#include "mfc/cstring.h"
#include "win/types.h"

class ObjectId {
 public:
  ObjectId() = default;
  ObjectId(LONG value) : value_(value) {}  // NOLINT: an id is a number
  // Text as the server writes it; a null pointer gives 0.
  explicit ObjectId(const char* text);
  explicit ObjectId(const CString& text);

  // Reads an id the way the 32-bit runtime's sscanf read it: "0x%x" first,
  // and "%ld" when that form converted nothing. Malformed text gives 0;
  // digits beyond 32 bits wrap as they did there.
  static LONG Parse(std::string_view text);

  LONG value() const { return value_; }
  bool isNull() const { return value_ == 0; }
  CString Format() const;  // "0x%08x", lower-case, eight digits

  friend bool operator==(ObjectId a, ObjectId b) = default;
  friend auto operator<=>(ObjectId a, ObjectId b) = default;

 private:
  LONG value_ = 0;
};
