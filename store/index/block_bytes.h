// Little-endian 16-bit fields at a byte offset of a block buffer.
#pragma once

#include "core/le_numbers.h"

inline WORD wordAt(const BYTE* block, int offset) {
  const BYTE* p = block + offset;
  return getShortLE(p);
}

inline void setWordAt(BYTE* block, int offset, WORD value) {
  BYTE* p = block + offset;
  putShortLE(p, value);
}
