// The picture size a TIFF input claims in its first IFD, so that the fuzz
// targets can skip inputs whose DIB alone would take most of their time
// (the reader accepts pictures up to the global-memory limit of 1 GiB).
#pragma once

#include <cstddef>
#include <cstdint>

namespace tiff_fuzz {

inline std::uint64_t ClaimedPixels(const std::uint8_t* d, std::size_t n) {
  if (n < 8 || !((d[0] == 'I' && d[1] == 'I') || (d[0] == 'M' && d[1] == 'M'))) return 0;
  const bool big = d[0] == 'M';
  auto u16 = [&](std::size_t at) -> std::uint32_t { return big ? d[at] << 8 | d[at + 1] : d[at + 1] << 8 | d[at]; };
  auto u32 = [&](std::size_t at) -> std::uint32_t {
    return big ? u16(at) << 16 | u16(at + 2) : u16(at + 2) << 16 | u16(at);
  };
  std::uint64_t ifd = u32(4);
  if (ifd + 2 > n) return 0;
  std::uint64_t width = 0, height = 0;
  for (std::uint32_t i = 0, count = u16(ifd); i < count && ifd + 2 + 12 * (i + 1) <= n; ++i) {
    std::size_t e = ifd + 2 + 12 * i;
    std::uint32_t tag = u16(e), type = u16(e + 2);
    std::uint32_t value = type == 3 ? u16(e + 8) : u32(e + 8);
    if (tag == 256) width = value;
    if (tag == 257) height = value;
  }
  return width * height;
}

}  // namespace tiff_fuzz
