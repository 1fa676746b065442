// fuzz-libs: zemra_pages
//
// Input: an anchor's "Position=" text as a server sends it for a sound or a
// film, after one byte that picks which (odd: sound). What must hold: the
// text is read without reading past its end, and every position read is
// not negative.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "pages/media/media_positions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool sound = (data[0] & 1) != 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  const MediaRange r = sound ? ReadSoundPosition(text.c_str()) : ReadMoviePosition(text.c_str());
  if ((r.from && *r.from < 0) || (r.to && *r.to < 0)) std::abort();
  return 0;
}
