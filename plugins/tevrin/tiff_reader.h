// Reading the first picture of a TIFF file into a DIB: grey (1, 4, 8 bits),
// palette (4, 8 bits) and RGB (3 x 8 bits) pictures in strips, with no
// compression, LZW or PackBits, in either byte order.
#pragma once

#include <cstddef>
#include <cstdint>

#include "win/types.h"

namespace tevrin {

// True when the first bytes are "II*\0" or "MM\0*" (either byte order).
bool IsTiffSignature(const std::uint8_t* bytes, std::size_t count);

// Reads the TIFF file image into the caller's DIB block (grown to fit) and
// returns the block's handle; null after the message box, the block then
// left to the caller. Progress goes to `progressWindow` after each strip.
HGLOBAL ReadTiff(const std::uint8_t* data, std::size_t size, HGLOBAL block, HWND progressWindow);

}  // namespace tevrin
