// fuzz-libs: Pixolt
// The BMP readers on arbitrary bytes, in every form: the memory reader with
// its size, the memory reader bounded by the global block the image lies in,
// and the file reader (and the format test) on the same bytes written to a
// file. Whatever a reader accepts is then expanded (RLE) or widened, so its
// header is known to describe the block it returned. Inputs that claim a
// picture too large to read quickly are skipped (bmp_fuzz_size.h).
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bmp_fuzz_size.h"
#include "pixolt.h"
#include "win/windows.h"

namespace {

// A scratch file of this process, removed after each input.
std::string ScratchName() { return "/tmp/zemra-fuzz-bmp-" + std::to_string(getpid()); }

void Use(HGLOBAL dib) {
  if (!dib) return;
  auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
  WORD bits = h->biBitCount;
  DWORD compression = h->biCompression;
  GlobalUnlock(dib);
  HGLOBAL out = nullptr;
  if (compression != 0) {
    out = RLEtoDIB(dib);
  } else if (bits == 1) {
    out = DIB1To4(dib);
  } else if (bits == 4) {
    out = DIB4To8(dib);
  } else if (bits == 8) {
    out = DIB8To24(dib);
  } else {
    out = SmallSizeDIB(dib);
  }
  if (out) GlobalFree(out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = [] {
    setenv("ZEMRA_HEADLESS", "1", 1);
    return ScratchName();
  }();
  if (bmp_fuzz::TooLargeToTry(data, size)) return 0;
  // The size form.
  HGLOBAL block = GlobalAlloc(GHND, 44);
  HGLOBAL dib = ReadMemDIBEx(data, static_cast<DWORD>(size), block);
  Use(dib);
  GlobalFree(dib ? dib : block);
  // The image in a global block of its own size, no size passed.
  HGLOBAL image = GlobalAlloc(GMEM_MOVEABLE, size);
  if (image) {
    void* p = GlobalLock(image);
    if (size) std::memcpy(p, data, size);
    block = GlobalAlloc(GHND, 44);
    dib = ReadMemDIB(p, block);
    Use(dib);
    GlobalFree(dib ? dib : block);
    GlobalUnlock(image);
    GlobalFree(image);
  }
  // The file form.
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
    IsBMPFile(path.c_str());
    block = GlobalAlloc(GHND, 44);
    dib = ReadDIB(path.c_str(), block);
    Use(dib);
    GlobalFree(dib ? dib : block);
    unlink(path.c_str());
  }
  win::ClearMessageBoxLog();
  return 0;
}
