// fuzz-libs: zemra_ospray_codec
//
// Input: the bytes of an EPS file, written to a temporary file and read by
// Ospray's file reader and format test as the client calls them. A DIB that
// comes back must be whole; a refusal must have shown one box. Pictures
// whose DIB would take more than 16 MB are skipped.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/dib_block.h"
#include "eps_reader.h"
#include "ospray.h"
#include "win/kernel.h"
#include "win/user.h"

namespace {
void check(bool ok) {
  if (!ok) std::abort();
}
const std::string& TempName() {
  static const std::string name = "/tmp/zemra_fuzz_eps_" + std::to_string(getpid()) + ".eps";
  return name;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = (win::ShowMessageBoxWindows(0), true);
  (void)quiet;
  std::string_view text;
  ospray::EpsPlan plan;
  if (ospray::FindPostScript(plugins::ByteSpan(data, size), text) == nullptr && ospray::PlanEps(text, plan) == nullptr &&
      plan.layout.totalBytes > (16u << 20))
    return 0;
  FILE* f = std::fopen(TempName().c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  const bool dos = size >= 4 && data[0] == 0xC5 && data[1] == 0xD0 && data[2] == 0xD3 && data[3] == 0xC6;
  check(ospray::ConvertIsEPSFile(TempName().c_str()) == (dos || (size >= 2 && data[0] == '%' && data[1] == '!')));
  HGLOBAL block = GlobalAlloc(GHND, 44);
  HGLOBAL dib = ospray::ConvertEPStoDIB(TempName().c_str(), 0, nullptr, block, 0, nullptr);
  if (dib) {
    plugins::BlockLock lock(dib);
    plugins::DibSource source;
    check(plugins::ViewDib(lock.data(), lock.size(), source) == plugins::DibCheck::kOk);
    check(win::MessageBoxLog().empty());
  } else {
    check(win::MessageBoxLog().size() == 1);
  }
  GlobalFree(dib ? dib : block);
  win::ClearMessageBoxLog();
  std::remove(TempName().c_str());
  return 0;
}
