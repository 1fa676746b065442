// fuzz-libs: zemra_wendle_codec
//
// Input: the bytes of a GIF file, written to a temporary file and read by
// Wendle's file reader and format test as the client calls them, with the
// colour argument asking for the transparent entry. A DIB that comes back
// must be whole, its transparent index -1 or an entry of its table; a
// refusal must have shown at least one box. Screens of more than a million
// pixels are skipped.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/dib_block.h"
#include "wendle/wendle.h"
#include "win/kernel.h"
#include "win/user.h"

namespace {
void check(bool ok) {
  if (!ok) std::abort();
}
const std::string& TempName() {
  static const std::string name = "/tmp/zemra_fuzz_gif_" + std::to_string(getpid()) + ".gif";
  return name;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = (win::ShowMessageBoxWindows(0), true);
  (void)quiet;
  if (size >= 10 && std::uint64_t(data[6] | data[7] << 8) * (data[8] | data[9] << 8) > (1u << 20)) return 0;
  FILE* f = std::fopen(TempName().c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  const bool signature = size >= 6 && (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0);
  check(wendle::ConvertIsGIFFile(TempName().c_str()) == signature);
  HGLOBAL block = GlobalAlloc(GHND, 44);
  int transparent = 5;
  HGLOBAL dib = wendle::ConvertGIFtoDIB(TempName().c_str(), 0, nullptr, block, 0x80FF00FF, &transparent);
  if (dib) {
    plugins::BlockLock lock(dib);
    plugins::DibSource source;
    check(plugins::ViewDib(lock.data(), lock.size(), source) == plugins::DibCheck::kOk);
    check(transparent == -1 || (transparent >= 0 && static_cast<DWORD>(transparent) < source.colorCount));
  } else {
    check(!win::MessageBoxLog().empty());
  }
  GlobalFree(dib ? dib : block);
  win::ClearMessageBoxLog();
  std::remove(TempName().c_str());
  return 0;
}
