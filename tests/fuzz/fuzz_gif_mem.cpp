// fuzz-libs: zemra_wendle_codec
//
// Input: a GIF file image in memory, read by Wendle's memory reader as the
// client calls it, from a buffer exactly as long as the input so that any
// read past it is caught. A DIB that comes back must be whole, its
// transparent index -1 or an entry of its table; a refusal must have shown
// at least one box. Screens of more than a million pixels are skipped.
#include <cstdint>
#include <vector>

#include "plugin_fuzz.h"
#include "wendle/wendle.h"

using namespace plugin_fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietBoxes();
  if (size >= 10 && std::uint64_t(data[6] | data[7] << 8) * (data[8] | data[9] << 8) > (1u << 20)) return 0;
  std::vector<std::uint8_t> image(data, data + size);
  HGLOBAL block = GlobalAlloc(GHND, 44);
  int transparent = 5;
  HGLOBAL dib = wendle::ConvertGIFMemtoDIB(image.data(), static_cast<DWORD>(image.size()), block, &transparent);
  CheckRead(dib, block, Refusal::kSomeBox, false, [&](const plugins::DibSource& source) {
    check(transparent == -1 || (transparent >= 0 && static_cast<DWORD>(transparent) < source.colorCount));
  });
  return 0;
}
