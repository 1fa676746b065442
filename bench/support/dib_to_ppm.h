// A packed DIB (as the readers return it) written out as a binary PPM: what
// netpbm's converters write, so that a whole process of ours that reads a
// file and writes this does the same work as theirs.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "tests/support/packed_dib.h"
#include "win/kernel.h"

namespace bench_support {

// The PPM triples of every value of one byte of a row of `Bits` (1, 4 or
// 8) bits per pixel: the byte's 8 / Bits pixels, leftmost first.
template <int Bits>
struct ByteToRgb {
  static constexpr int kPixels = 8 / Bits;
  std::uint8_t rgb[256][3 * kPixels];

  // `colors` holds a triple for each of the 256 indexes.
  explicit ByteToRgb(const std::uint8_t (*colors)[3]) {
    for (int v = 0; v < 256; ++v)
      for (int k = 0; k < kPixels; ++k) {
        const int index = (v >> (8 - Bits * (k + 1))) & ((1 << Bits) - 1);
        std::memcpy(rgb[v] + 3 * k, colors[index], 3);
      }
  }

  // One row of `width` pixels into `out` (3 bytes a pixel): a table look-up
  // and a copy of fixed size per byte of the row.
  void row(const std::uint8_t* in, int width, std::uint8_t* out) const {
    const int whole = width / kPixels;
    for (int i = 0; i < whole; ++i, out += 3 * kPixels) std::memcpy(out, rgb[in[i]], 3 * kPixels);
    if (const int rest = width % kPixels) std::memcpy(out, rgb[in[whole]], static_cast<std::size_t>(3 * rest));
  }
};

// False when the block is no DIB of 1, 4, 8 or 24 bits or writing failed.
// Rows are gathered into large blocks before they are written.
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
  // The colours of every index as PPM triples (an index past the table
  // takes entry 0).
  std::uint8_t colors[256][3] = {};
  for (std::size_t i = 0; bits <= 8 && entries > 0 && i < 256; ++i) {
    const std::uint8_t* c = table + 4 * (i < entries ? i : 0);
    colors[i][0] = c[2], colors[i][1] = c[1], colors[i][2] = c[0];
  }
  std::unique_ptr<ByteToRgb<1>> mono;
  std::unique_ptr<ByteToRgb<4>> nibbles;
  std::unique_ptr<ByteToRgb<8>> bytes;
  if (ok && bits == 1) mono = std::make_unique<ByteToRgb<1>>(colors);
  if (ok && bits == 4) nibbles = std::make_unique<ByteToRgb<4>>(colors);
  if (ok && bits == 8) bytes = std::make_unique<ByteToRgb<8>>(colors);

  const std::size_t outRow = ok ? static_cast<std::size_t>(width) * 3 : 0;
  const std::size_t capacity = std::max<std::size_t>(64 * 1024, outRow);
  const auto block = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
  std::size_t filled = 0;
  ok = ok && std::fprintf(out, "P6\n%d %d\n255\n", width, height) > 0;
  for (int y = 0; ok && y < height; ++y) {
    if (capacity - filled < outRow) {
      ok = std::fwrite(block.get(), 1, filled, out) == filled;
      filled = 0;
    }
    const int stored = h.biHeight < 0 ? y : height - 1 - y;
    const std::uint8_t* row = pixels + static_cast<std::size_t>(stored) * rowBytes;
    std::uint8_t* q = block.get() + filled;
    if (mono) {
      mono->row(row, width, q);
    } else if (nibbles) {
      nibbles->row(row, width, q);
    } else if (bytes) {
      bytes->row(row, width, q);
    } else {
      for (int x = 0; x < width; ++x, q += 3) {
        q[0] = row[3 * x + 2];
        q[1] = row[3 * x + 1];
        q[2] = row[3 * x];
      }
    }
    filled += outRow;
  }
  if (ok && filled > 0) ok = std::fwrite(block.get(), 1, filled, out) == filled;
  GlobalUnlock(dib);
  return ok;
}

}  // namespace bench_support
