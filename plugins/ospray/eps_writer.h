// The PostScript part of Ospray's EPS files: comments and prolog, the
// Ospray definitions, the picture by one of eight image writers (grey or
// colour, 1, 4, 8 or 24 bits; the level 1 operator form or the level 2
// dictionary form; ASCII hex or LZW data), and the trailer with an
// optional frame. The binary DOS EPS header and the TIFF preview around it
// are the plug-in's work (ospray_write.cpp).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/dib_block.h"

namespace ospray {

// The writer's options record: seven 32-bit fields.
struct EpsWriteOptions {
  std::int32_t version = 0x0100;
  std::int32_t level = 1;        // PostScript language level, 1 or 2
  std::int32_t preview = 1;      // 1: DOS EPS header with a TIFF preview
  std::int32_t previewKind = 1;  // 1 to 4
  std::int32_t grey = 1;         // 1: grey output, 0: colour
  std::int32_t encoding = 1;     // 1: ASCII hex, 2: LZW
  std::int32_t frame = 1;        // 1: a frame round the picture
};
static_assert(sizeof(EpsWriteOptions) == 28);

// Where the PostScript goes; false when a write came short.
using EpsSink = std::function<bool(const void* data, std::size_t size)>;
using EpsProgress = std::function<void(int percent)>;

struct EpsText {
  std::string title;         // the file name (line breaks become blanks)
  std::string creationDate;  // date, a blank and the time
};

// Writes the PostScript of a checked DIB. Null on success, else the text
// of the message box.
const char* WriteEpsPostScript(const plugins::DibSource& dib, const EpsWriteOptions& options,
                               const EpsText& text, const EpsSink& sink, const EpsProgress& progress);

// The grey of a colour: (77 red + 151 green + 28 blue) / 256.
inline std::uint8_t GreyOf(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return static_cast<std::uint8_t>((77 * red + 151 * green + 28 * blue) / 256);
}

}  // namespace ospray
