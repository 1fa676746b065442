// fuzz-libs: zemra_tevrin_codec
//
// Input: the bytes of a TIFF file, written to a temporary file and read by
// Tevrin's file reader and format test as the client calls them. A DIB that
// comes back must be whole and without a message; a refusal must have shown
// at least one box. Pictures of more than a million pixels are skipped.
#include <cstdint>
#include <cstring>

#include "plugin_fuzz.h"
#include "tevrin/tevrin.h"
#include "tiff_fuzz_size.h"

using namespace plugin_fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietBoxes();
  if (tiff_fuzz::ClaimedPixels(data, size) > (1u << 20)) return 0;
  ScratchFile file("tiff", "tif", data, size);
  if (!file.written()) return 0;

  const bool signature = size >= 8 && (std::memcmp(data, "II*\0", 4) == 0 || std::memcmp(data, "MM\0*", 4) == 0);
  check(tevrin::ConvertIsTIFFile(file.path()) == signature);
  HGLOBAL block = GlobalAlloc(GHND, 44);
  int transparent = -1;
  HGLOBAL dib = tevrin::ConvertTIFtoDIB(file.path(), 0, nullptr, block, 0, &transparent);
  check(transparent == -1);
  CheckRead(dib, block, Refusal::kSomeBox, true);
  return 0;
}
