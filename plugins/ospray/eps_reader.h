// Reading back the EPS files Ospray wrote. It is no PostScript
// interpreter: it finds the comments, definitions and operators that
// Ospray's writer puts into the file, each where the writer puts it (the
// comments in the header section, the definitions at the start of a line
// after it, the image operator on a line of its own), so that a title that
// happens to hold one of those words does not mislead it, and it reads the
// hex rows within the text.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/byte_span.h"
#include "common/dib_block.h"

namespace ospray {

inline constexpr std::uint32_t kDosEpsMagic = 0xC6D3D0C5;
inline constexpr std::size_t kDosEpsHeaderSize = 32;

struct EpsPlan {
  std::string_view text;    // the PostScript part
  plugins::DibLayout layout;
  bool rgb = false;         // 24 bits: red, green, blue per pixel
  bool grey = false;        // 8-bit grey with a ramp
  std::size_t dataStart = 0;   // offset in text of the first hex row
  std::size_t paletteStart = 0;  // offset of the hex palette (indexed)
  std::size_t packedRowBytes = 0;
};

// The PostScript part of a file image: after the DOS EPS header, or the
// whole image when it starts with "%!". Null on success, else the text.
const char* FindPostScript(plugins::ByteSpan file, std::string_view& text);

// Checks the creator, size, level, colour model and data start.
const char* PlanEps(std::string_view text, EpsPlan& plan);

// Fills a zeroed block of plan.layout.totalBytes bytes.
const char* DecodeEps(const EpsPlan& plan, std::uint8_t* dib);

}  // namespace ospray
