// fuzz-libs: zemra_ospray_codec
//
// Input: the bytes of an EPS file, written to a temporary file and read by
// Ospray's file reader and format test as the client calls them. A DIB that
// comes back must be whole; a refusal must have shown one box. Pictures
// whose DIB would take more than 16 MB are skipped.
#include <cstdint>
#include <string>

#include "eps_reader.h"
#include "ospray.h"
#include "plugin_fuzz.h"

using namespace plugin_fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietBoxes();
  std::string_view text;
  ospray::EpsPlan plan;
  if (ospray::FindPostScript(plugins::ByteSpan(data, size), text) == nullptr && ospray::PlanEps(text, plan) == nullptr &&
      plan.layout.totalBytes > (16u << 20))
    return 0;
  ScratchFile file("eps", "eps", data, size);
  if (!file.written()) return 0;

  const bool dos = size >= 4 && data[0] == 0xC5 && data[1] == 0xD0 && data[2] == 0xD3 && data[3] == 0xC6;
  check(ospray::ConvertIsEPSFile(file.path()) == (dos || (size >= 2 && data[0] == '%' && data[1] == '!')));
  HGLOBAL block = GlobalAlloc(GHND, 44);
  HGLOBAL dib = ospray::ConvertEPStoDIB(file.path(), 0, nullptr, block, 0, nullptr);
  CheckRead(dib, block, Refusal::kOneBox, true);
  return 0;
}
