// fuzz-libs: zemra_ospray_codec
//
// Input: an EPS file image ("%!" text or a DOS EPS header and what follows),
// read by Ospray's memory reader as the picture loader calls it. A DIB that
// comes back must be whole; a refusal must have shown one box. Pictures
// whose DIB would take more than 16 MB are skipped.
#include <cstdint>
#include <vector>

#include "eps_reader.h"
#include "ospray.h"
#include "plugin_fuzz.h"

using namespace plugin_fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietBoxes();
  // An exact-size copy, so that any read past the image is caught.
  std::vector<std::uint8_t> image(data, data + size);
  std::string_view text;
  ospray::EpsPlan plan;
  if (ospray::FindPostScript(plugins::ByteSpan(image.data(), image.size()), text) == nullptr &&
      ospray::PlanEps(text, plan) == nullptr && plan.layout.totalBytes > (16u << 20))
    return 0;
  HGLOBAL block = GlobalAlloc(GHND, 44);
  HGLOBAL dib = ospray::ConvertEPSMemtoDIB(image.empty() ? nullptr : image.data(), static_cast<DWORD>(size), block,
                                           nullptr);
  if (dib) check(dib == block);
  CheckRead(dib, block, Refusal::kOneBox, true);
  return 0;
}
