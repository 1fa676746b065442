// fuzz-libs: zemra_tevrin_codec
//
// Input: the bytes of a TIFF file, written to a temporary file and read by
// Tevrin's file reader and format test as the client calls them. A DIB that
// comes back must be whole and without a message; a refusal must have shown
// at least one box. Pictures of more than a million pixels are skipped.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/dib_block.h"
#include "tevrin/tevrin.h"
#include "tiff_fuzz_size.h"
#include "win/kernel.h"
#include "win/user.h"

namespace {
void check(bool ok) {
  if (!ok) std::abort();
}
const std::string& TempName() {
  static const std::string name = "/tmp/zemra_fuzz_tiff_" + std::to_string(getpid()) + ".tif";
  return name;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = (win::ShowMessageBoxWindows(0), true);
  (void)quiet;
  if (tiff_fuzz::ClaimedPixels(data, size) > (1u << 20)) return 0;
  FILE* f = std::fopen(TempName().c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  const bool signature = size >= 8 && (std::memcmp(data, "II*\0", 4) == 0 || std::memcmp(data, "MM\0*", 4) == 0);
  check(tevrin::ConvertIsTIFFile(TempName().c_str()) == signature);
  HGLOBAL block = GlobalAlloc(GHND, 44);
  int transparent = -1;
  HGLOBAL dib = tevrin::ConvertTIFtoDIB(TempName().c_str(), 0, nullptr, block, 0, &transparent);
  check(transparent == -1);
  if (dib) {
    plugins::BlockLock lock(dib);
    plugins::DibSource source;
    check(plugins::ViewDib(lock.data(), lock.size(), source) == plugins::DibCheck::kOk);
    check(win::MessageBoxLog().empty());
  } else {
    check(!win::MessageBoxLog().empty());
  }
  GlobalFree(dib ? dib : block);
  win::ClearMessageBoxLog();
  std::remove(TempName().c_str());
  return 0;
}
