// fuzz-libs: Pixolt
// RLE expansion on arbitrary streams. Input: 6 bytes of picture shape (width
// and height as 16-bit values, the bit count's choice, a stored-size choice),
// then the stream. The DIB block ends where the stream ends, so a read past
// the stream is a read past the block.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "pixolt.h"
#include "win/windows.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool headless = [] { return setenv("ZEMRA_HEADLESS", "1", 1) == 0; }();
  (void)headless;
  if (size < 6) return 0;
  int width = (data[0] | (data[1] << 8)) % 2048;
  int height = (data[2] | (data[3] << 8)) % 2048;
  bool eight = data[4] & 1;
  std::size_t streamBytes = size - 6;
  // The stored size: the stream's, 0 (all of the block), or far too large.
  DWORD stored = data[5] % 3 == 0 ? DWORD(streamBytes) : data[5] % 3 == 1 ? 0u : 0xFFFFFFF0u;
  DWORD colors = eight ? 256 : 16;
  std::size_t total = 40 + 4 * colors + streamBytes;
  HGLOBAL dib = GlobalAlloc(GHND, total);
  auto* p = static_cast<std::uint8_t*>(GlobalLock(dib));
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = eight ? 8 : 4;
  h.biCompression = eight ? BI_RLE8 : BI_RLE4;
  h.biSizeImage = stored;
  h.biClrUsed = colors;
  std::memcpy(p, &h, sizeof h);
  if (streamBytes) std::memcpy(p + 40 + 4 * colors, data + 6, streamBytes);
  GlobalUnlock(dib);
  if (HGLOBAL plain = RLEtoDIB(dib)) GlobalFree(plain);
  GlobalFree(dib);
  win::ClearMessageBoxLog();
  return 0;
}
