// fuzz-libs: zemra_tevrin_codec
//
// Input: a TIFF file image in memory, read by Tevrin's memory reader as the
// client calls it, from a buffer exactly as long as the input so that any
// read past it is caught. A DIB that comes back must be whole and without a
// message; a refusal must have shown at least one box. Pictures of more
// than a million pixels are skipped.
#include <cstdint>
#include <vector>

#include "plugin_fuzz.h"
#include "tevrin/tevrin.h"
#include "tiff_fuzz_size.h"

using namespace plugin_fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietBoxes();
  if (tiff_fuzz::ClaimedPixels(data, size) > (1u << 20)) return 0;
  std::vector<std::uint8_t> image(data, data + size);
  HGLOBAL block = GlobalAlloc(GHND, 44);
  HGLOBAL dib = tevrin::ConvertTIFMemtoDIB(image.data(), static_cast<DWORD>(image.size()), block, nullptr);
  CheckRead(dib, block, Refusal::kSomeBox, true);
  return 0;
}
