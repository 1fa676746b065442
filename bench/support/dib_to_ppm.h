// A packed DIB (as the readers return it) written out as a binary PPM: what
// netpbm's converters write, so that a whole process of ours that reads a
// file and writes this does the same work as theirs.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "tests/support/packed_dib.h"
#include "win/kernel.h"

namespace bench_support {

// False when the block is no DIB of 1, 4, 8 or 24 bits or writing failed.
inline bool WriteDibAsPpm(HGLOBAL dib, std::FILE* out) {
  const auto* base = static_cast<const std::uint8_t*>(GlobalLock(dib));
  if (!base) return false;
  BITMAPINFOHEADER h;
  std::memcpy(&h, base, sizeof h);
  const int bits = h.biBitCount;
  const int width = h.biWidth;
  const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  bool ok = width > 0 && (bits == 1 || bits == 4 || bits == 8 || bits == 24);
  const std::size_t entries = testing_support::DibTableEntries(h);
  const std::uint8_t* table = base + h.biSize;
  const std::uint8_t* pixels = table + 4 * entries;
  const std::size_t rowBytes = testing_support::DibRowBytes(width, bits);
  std::vector<std::uint8_t> line(static_cast<std::size_t>(width) * 3);
  // The colours of every index as PPM triples (an index past the table
  // takes entry 0).
  std::uint8_t rgb[256][3] = {};
  for (std::size_t i = 0; bits <= 8 && entries > 0 && i < 256; ++i) {
    const std::uint8_t* c = table + 4 * (i < entries ? i : 0);
    rgb[i][0] = c[2], rgb[i][1] = c[1], rgb[i][2] = c[0];
  }
  ok = ok && std::fprintf(out, "P6\n%d %d\n255\n", width, height) > 0;
  for (int y = 0; ok && y < height; ++y) {
    const int stored = h.biHeight < 0 ? y : height - 1 - y;
    const std::uint8_t* row = pixels + static_cast<std::size_t>(stored) * rowBytes;
    std::uint8_t* q = line.data();
    for (int x = 0; x < width; ++x, q += 3) {
      if (bits == 24) {
        q[0] = row[3 * x + 2];
        q[1] = row[3 * x + 1];
        q[2] = row[3 * x];
        continue;
      }
      std::memcpy(q, rgb[testing_support::GetPixel(row, x, bits)], 3);
    }
    ok = std::fwrite(line.data(), 1, line.size(), out) == line.size();
  }
  GlobalUnlock(dib);
  return ok;
}

}  // namespace bench_support
