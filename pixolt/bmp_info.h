// The shared first step of the BMP readers: the file header, the
// information header (40 bytes, or the 12 bytes of OS/2, rebuilt in the
// 40-byte form) and the colour table, every field checked before use.
#pragma once

#include <cstdint>

#include "byte_source.h"
#include "win/types.h"

namespace pixolt {

struct BmpLayout {
  DWORD colors = 0;
  std::uint64_t imageSize = 0;  // bytes of pixel data to read
  std::uint64_t rowBytes = 0;
  DWORD rows = 0;
  bool topDown = false;  // stored top row first: turned over after reading
  bool bitsUnreachable = false;  // the bits offset lies where no read can go
};

// Resizes `block` to header and colour table and fills them; leaves the
// source at the pixel data (the file header's bits offset when it is not 0).
// Null after its own message ("ReadDIBInfo: ...").
HGLOBAL ReadDibInfo(ByteSource& source, HGLOBAL block, BmpLayout& layout);

// The checks of IsBMPFile: 1 for a BMP, 0 otherwise (with the messages of a
// short header).
BOOL LooksLikeBmp(ByteSource& source);

// Reads the pixel data after ReadDibInfo: grows `block` to hold them
// ("<op>: Out of memory!" when it cannot), zero-fills what the source does
// not have and turns top-down rows over.
HGLOBAL ReadDibBits(const char* op, ByteSource& source, HGLOBAL block, const BmpLayout& layout);

}  // namespace pixolt
