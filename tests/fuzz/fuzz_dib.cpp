// fuzz-libs: zemra_platform
// Packed DIBs of any shape drawn through SetDIBitsToDevice, StretchDIBits
// and the DIB driver. Input: 8 bytes of drawing parameters, then a packed
// DIB (header, colour table, bits). A DIB whose header claims more bytes
// than the input holds is skipped, as a caller owning the block would never
// hand it over; everything else must draw (or be refused) without a fault.
#include <cstdint>
#include <cstring>
#include <vector>

#include "gdi/dib.h"
#include "win/gdi.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 8 + 40) return 0;
  const std::int8_t* p = reinterpret_cast<const std::int8_t*>(data);
  // An aligned copy, with zeros after it: a BI_BITFIELDS header is followed
  // by its three masks even when the input ends early.
  const std::size_t n = size - 8;
  std::vector<std::uint8_t> dib(data + 8, data + size);
  dib.resize(n + 16, 0);
  win::gdi::DibInfo info;
  if (!win::gdi::ParseDib(reinterpret_cast<const BITMAPINFOHEADER*>(dib.data()), info)) {
    // Refused headers must be refused by the calls too.
    HDC screen = CreateCompatibleDC(nullptr);
    std::uint8_t bits[16] = {};
    int r = StretchDIBits(screen, 0, 0, 4, 4, 0, 0, 4, 4, bits,
                          reinterpret_cast<const BITMAPINFO*>(dib.data()), DIB_RGB_COLORS, SRCCOPY);
    DeleteDC(screen);
    if (r != 0) __builtin_trap();
    return 0;
  }
  std::size_t offset = win::gdi::PackedBitsOffset(info);
  if (offset > n || n - offset < info.imageBytes) return 0;
  if (std::uint64_t(info.width) * info.height > 512 * 512) return 0;  // keep runs quick
  static HDC dc = nullptr;
  static HBITMAP bm = nullptr;
  if (!dc) {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bm = CreateCompatibleBitmap(screen, 64, 64);
    ReleaseDC(nullptr, screen);
    SelectObject(dc, bm);
    HRGN clip = CreateRectRgn(3, 3, 60, 50);
    SelectClipRgn(dc, clip);
    DeleteObject(clip);
  }
  const auto* bmi = reinterpret_cast<const BITMAPINFO*>(dib.data());
  const std::uint8_t* bits = dib.data() + offset;
  static const DWORD kRops[4] = {SRCCOPY, SRCAND, SRCPAINT, SRCINVERT};
  StretchDIBits(dc, p[0], p[1], p[2] * 2, p[3] * 2, p[4], p[5], p[6], p[7], bits, bmi,
                DIB_RGB_COLORS, kRops[data[0] & 3]);
  SetDIBitsToDevice(dc, p[0], p[1], std::uint8_t(p[2]), std::uint8_t(p[3]), p[4], p[5],
                    std::uint8_t(p[6]) % 8, std::uint8_t(p[7]), bits, bmi, DIB_RGB_COLORS);
  if (info.compression != BI_RLE8 && info.compression != BI_RLE4) {
    if (HDC d = CreateDC("DIB", nullptr, nullptr, dib.data())) {
      RECT r{p[0], p[1], p[2], p[3]};
      FillRect(d, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
      DeleteDC(d);
    }
  }
  return 0;
}
