// PCX (and SCR) decoding into a packed DIB. Planning reads and checks the
// header against the bytes that are really there, and says how large the
// DIB will be; decoding then fills a zeroed block of that size. Both
// answer null on success or the text of the message box to show.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pcx_header.h"
#include "common/byte_span.h"

namespace murvik {

enum class PcxLayout {
  kMono,         // 1 bit, 1 plane
  kPlanar16,     // 1 bit, 4 planes: combined into nibbles
  kPacked16,     // 4 bits, 1 plane: nibbles as they are
  kIndexed256,   // 8 bits, 1 plane, palette at the end
  kRgbPlanes,    // 8 bits, 3 planes: red, green, blue
};

struct PcxPlan {
  PcxHeader header;
  PcxLayout layout = PcxLayout::kMono;
  int depth = 0;  // bits per pixel of the DIB
  bool scr = false;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::size_t dataOffset = kPcxHeaderSize;
  std::size_t dataSize = 0;    // encoded bytes, without the 256-colour palette
  std::size_t planeBytes = 0;  // bytes of a plane that hold pixels
  std::size_t planeStride = 0; // from one plane of a line to the next
  std::size_t lineBytes = 0;   // one decoded line, every plane
  std::uint32_t colors = 0;    // colour-table entries of the DIB
  std::uint32_t dibRowBytes = 0;
  std::size_t dibSize = 0;     // header, colour table and rows
};

// The header must be there already (the callers check its size with their
// own messages). Checks manufacturer, colour format, dimensions, line
// length and the 256-colour palette's marker.
const char* PlanPcx(plugins::ByteSpan file, PcxPlan& plan);

// Writes the DIB (header, colour table, rows bottom-up) into `dib`, a
// zero-filled block of plan.dibSize bytes. Data that end early leave the
// rest of the picture zero; runs never write past the picture.
const char* DecodePcx(const PcxPlan& plan, plugins::ByteSpan file, std::uint8_t* dib);

// The colour table of version 3 files, which carry none of their own:
// 256 RGB triples (the 16 EGA colours first).
const std::uint8_t* DefaultPalette();

}  // namespace murvik
