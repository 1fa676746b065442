// fuzz-libs: Pixolt
// The XBM readers on arbitrary text: the memory form with its length (from a
// copy with nothing after it, so a read past the length is caught), and the
// file form on the same bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "pixolt.h"
#include "win/windows.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A scratch file of this process, removed after each input.
  static const std::string path = [] {
    setenv("ZEMRA_HEADLESS", "1", 1);
    return "/tmp/zemra-fuzz-xbm-" + std::to_string(getpid());
  }();
  std::vector<char> text(data, data + size);
  HGLOBAL block = GlobalAlloc(GHND, 44);
  HGLOBAL dib = ReadMemXbm(text.data(), static_cast<DWORD>(text.size()), block);
  GlobalFree(dib ? dib : block);
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
    block = GlobalAlloc(GHND, 44);
    dib = ReadXbm(path.c_str(), block);
    GlobalFree(dib ? dib : block);
    unlink(path.c_str());
  }
  return 0;
}
