// fuzz-libs: zemra_ospray_codec
//
// Input: an EPS file image ("%!" text or a DOS EPS header and what follows),
// read by Ospray's memory reader as the picture loader calls it. A DIB that
// comes back must be whole; a refusal must have shown one box. Pictures
// whose DIB would take more than 16 MB are skipped.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "common/dib_block.h"
#include "eps_reader.h"
#include "ospray.h"
#include "win/kernel.h"
#include "win/user.h"

namespace {
void check(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = (win::ShowMessageBoxWindows(0), true);
  (void)quiet;
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
  if (dib) {
    check(dib == block);
    plugins::BlockLock lock(dib);
    plugins::DibSource source;
    check(plugins::ViewDib(lock.data(), lock.size(), source) == plugins::DibCheck::kOk);
    check(win::MessageBoxLog().empty());
  } else {
    check(win::MessageBoxLog().size() == 1);
  }
  GlobalFree(dib ? dib : block);
  win::ClearMessageBoxLog();
  return 0;
}
