// fuzz-libs: zemra_wendle_codec
//
// Input: the bytes of a GIF file, written to a temporary file and read by
// Wendle's file reader and format test as the client calls them, with the
// colour argument asking for the transparent entry. A DIB that comes back
// must be whole, its transparent index -1 or an entry of its table; a
// refusal must have shown at least one box. Screens of more than a million
// pixels are skipped.
#include <cstdint>
#include <cstring>

#include "plugin_fuzz.h"
#include "wendle/wendle.h"

using namespace plugin_fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietBoxes();
  if (size >= 10 && std::uint64_t(data[6] | data[7] << 8) * (data[8] | data[9] << 8) > (1u << 20)) return 0;
  ScratchFile file("gif", "gif", data, size);
  if (!file.written()) return 0;

  const bool signature = size >= 6 && (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0);
  check(wendle::ConvertIsGIFFile(file.path()) == signature);
  HGLOBAL block = GlobalAlloc(GHND, 44);
  int transparent = 5;
  HGLOBAL dib = wendle::ConvertGIFtoDIB(file.path(), 0, nullptr, block, 0x80FF00FF, &transparent);
  CheckRead(dib, block, Refusal::kSomeBox, false, [&](const plugins::DibSource& source) {
    check(transparent == -1 || (transparent >= 0 && static_cast<DWORD>(transparent) < source.colorCount));
  });
  return 0;
}
