// What a key leads to in an index: a flag byte, a second flag byte and a
// 32-bit value. The low four bits of the first flag byte belong to the index
// (deleted, chained, last of a chain); the high four bits and the second
// byte are the caller's (the keyed store keeps the kind of data there).
#pragma once

#include "win/types.h"

struct IndexEntry {
  enum Flag : BYTE {
    kDeleted = 0x01,
    kChained = 0x02,  // in a leaf: the value is a chain; in a chain: a continuation
    kLast = 0x04,     // in a chain: its last slot
    kIndexBits = 0x0F,
  };

  BYTE flags = 0;
  BYTE highFlags = 0;
  DWORD value = 0;

  bool operator==(const IndexEntry&) const = default;
};
