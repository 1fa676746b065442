// fuzz-libs: zemra_murvik_codec
//
// Input: the bytes of a PCX file, written to a temporary file and read by
// Murvik's file reader and format test as the client calls them. A DIB that
// comes back must be whole; a refusal must have shown its box. Pictures
// whose DIB would take more than 16 MB are skipped.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/dib_block.h"
#include "murvik.h"
#include "pcx_reader.h"
#include "win/kernel.h"
#include "win/user.h"

namespace {
void check(bool ok) {
  if (!ok) std::abort();
}
const std::string& TempName() {
  static const std::string name = "/tmp/zemra_fuzz_pcx_" + std::to_string(getpid()) + ".pcx";
  return name;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = (win::ShowMessageBoxWindows(0), true);
  (void)quiet;
  murvik::PcxPlan plan;
  if (murvik::PlanPcx(plugins::ByteSpan(data, size), plan) == nullptr && plan.dibSize > (16u << 20)) return 0;
  FILE* f = std::fopen(TempName().c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  check(murvik::ConvertIsPCXFile(TempName().c_str()) == (size >= 128 && (data[0] == 10 || data[0] == 0xCD)));
  HGLOBAL block = GlobalAlloc(GHND, 44);
  HGLOBAL dib = murvik::ConvertPCXtoDIB(TempName().c_str(), 0, nullptr, block, 0, nullptr);
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
