// Reading a GIF file into one DIB: every image of the file drawn at its
// place on the logical screen, later ones over earlier ones; interlaced
// images, global and local colour tables, and the transparent index of a
// graphic control extension.
#pragma once

#include <cstddef>
#include <cstdint>

#include "win/types.h"

namespace wendle {

// Where the bytes came from decides the text of a read error.
enum class GifSource { kFile, kMemory };

// True when the bytes start with "GIF87a" or "GIF89a".
bool IsGifSignature(const std::uint8_t* bytes, std::size_t count);

// Reads the GIF image into the caller's block (grown to fit) and returns its
// handle; null after the message box, the block then left to the caller.
// `transparent` (may be null) gets -1, then the transparent index a graphic
// control extension declares; with bit 31 of `color` set, that palette entry
// becomes the colour in its low three bytes (red, green, blue from the low
// byte up).
HGLOBAL ReadGif(const std::uint8_t* data, std::size_t size, GifSource source, HGLOBAL block,
                DWORD color, INT* transparent);

}  // namespace wendle
