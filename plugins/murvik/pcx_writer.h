// PCX encoding of a DIB, as Murvik writes it: the header, then the
// picture's lines, top line first, run-length coded line by line or as they
// are, and for 256-colour pictures the palette behind its marker.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "common/dib_block.h"

namespace murvik {

// The writer's options record: 16-bit fields, the converter's version first.
struct PcxWriteOptions {
  std::uint16_t version = 0x0100;
  std::uint16_t pcxVersion = 5;    // the header's version byte
  std::uint16_t bitsPerPixel = 0;  // of the DIB; shown by the dialog
  std::uint16_t runLength = 1;     // 1 = run-length coded
};
static_assert(sizeof(PcxWriteOptions) == 8);

// Percent done, as the progress dialog shows it.
using PcxProgress = std::function<void(int percent)>;

// Encodes a checked DIB into `out` (the whole file). Null on success, else
// the text of the message box.
const char* EncodePcx(const plugins::DibSource& dib, const PcxWriteOptions& options, std::vector<std::uint8_t>& out,
                      const PcxProgress& progress);

// Bytes of one plane of a line, for a DIB of `bits` per pixel.
std::uint32_t PcxBytesPerLine(int bits, std::uint32_t width);

}  // namespace murvik
