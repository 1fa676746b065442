// Writing a DIB as a little-endian TIFF file in strips: 1-bit DIBs as
// black-and-white pictures (or, with a coloured palette, as 4-bit palette
// pictures), 4- and 8-bit DIBs as palette pictures, 24-bit DIBs as RGB;
// no compression, PackBits or LZW per strip.
#pragma once

#include <functional>

#include "win/types.h"

namespace tevrin {

// The options record of ConvertDIBtoTIFEx: four 32-bit fields.
struct TiffWriteOptions {
  DWORD version = 0x0100;
  DWORD bitsPerPixel = 0;
  DWORD compression = 32773;  // 1 none, 2 CCITT, 5 LZW, 32773 PackBits
  DWORD stripSizeKb = 10;
};
static_assert(sizeof(TiffWriteOptions) == 16);

inline constexpr DWORD kCompressionNone = 1;
inline constexpr DWORD kCompressionCcitt = 2;
inline constexpr DWORD kCompressionLzw = 5;
inline constexpr DWORD kCompressionPackBits = 32773;

// Called with the percentage done after each row.
using WriteProgress = std::function<void(int percent)>;

// Writes `dib` to `fileName`; false after the message box. The caller's DIB
// is left as it was. A null DIB is the caller's to report.
bool WriteTiff(const char* fileName, HGLOBAL dib, const TiffWriteOptions& options,
               const WriteProgress& progress);

}  // namespace tevrin
