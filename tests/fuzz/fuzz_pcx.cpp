// fuzz-libs: zemra_murvik_codec
//
// Input: the bytes of a PCX file, written to a temporary file and read by
// Murvik's file reader and format test as the client calls them. A DIB that
// comes back must be whole; a refusal must have shown its box. Pictures
// whose DIB would take more than 16 MB are skipped.
#include <cstdint>

#include "murvik.h"
#include "pcx_reader.h"
#include "plugin_fuzz.h"

using namespace plugin_fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietBoxes();
  murvik::PcxPlan plan;
  if (murvik::PlanPcx(plugins::ByteSpan(data, size), plan) == nullptr && plan.dibSize > (16u << 20)) return 0;
  ScratchFile file("pcx", "pcx", data, size);
  if (!file.written()) return 0;

  check(murvik::ConvertIsPCXFile(file.path()) == (size >= 128 && (data[0] == 10 || data[0] == 0xCD)));
  HGLOBAL block = GlobalAlloc(GHND, 44);
  HGLOBAL dib = murvik::ConvertPCXtoDIB(file.path(), 0, nullptr, block, 0, nullptr);
  CheckRead(dib, block, Refusal::kOneBox, true);
  return 0;
}
