// Expanding an RLE8 or RLE4 DIB into its uncompressed form. The stream is
// read only within the block (and within its stored size); pixels and moves
// that leave the picture are not written.
#include <algorithm>
#include <cstring>

#include "dib_block.h"
#include "pixolt.h"
#include "reasons.h"
#include "report.h"
#include "source_check.h"

using namespace pixolt;

namespace {

class Stream {
 public:
  Stream(const std::uint8_t* data, std::uint64_t size) : data_(data), size_(size) {}
  bool Next(std::uint8_t& out) {
    if (pos_ >= size_) return false;
    out = data_[pos_++];
    return true;
  }
  void Skip(std::uint64_t n) { pos_ = n > size_ - std::min(pos_, size_) ? size_ : pos_ + n; }

 private:
  const std::uint8_t* data_;
  std::uint64_t size_;
  std::uint64_t pos_ = 0;
};

class Canvas {
 public:
  Canvas(std::uint8_t* bits, std::uint64_t rowBytes, std::uint64_t width, std::uint64_t height,
         bool nibbles)
      : bits_(bits), rowBytes_(rowBytes), width_(width), height_(height), nibbles_(nibbles) {}

  void Put(std::uint64_t row, std::uint64_t column, std::uint8_t value) {
    if (row >= height_ || column >= width_) return;
    std::uint8_t* line = bits_ + row * rowBytes_;
    if (!nibbles_) {
      line[column] = value;
    } else if (column % 2 == 0) {
      line[column / 2] = static_cast<std::uint8_t>(value << 4);  // low nibble cleared
    } else {
      line[column / 2] = static_cast<std::uint8_t>(line[column / 2] | (value & 0xF));
    }
  }
  std::uint64_t height() const { return height_; }
  std::uint64_t width() const { return width_; }

 private:
  std::uint8_t* bits_;
  std::uint64_t rowBytes_, width_, height_;
  bool nibbles_;
};

// One pass over the stream: pairs (count, value); count 0 escapes to end
// of line (0), end of picture (1), a move (2, dx, dy) or an absolute run of
// `value` pixels padded to an even number of bytes.
void Expand(Stream& in, Canvas& out, bool nibbles) {
  std::uint64_t row = 0, column = 0;
  std::uint8_t count, value;
  while (row < out.height() && in.Next(count) && in.Next(value)) {
    if (count > 0) {
      // Only the pixels inside the row are visited, so a hostile stream
      // costs no more than its own length.
      std::uint64_t inside = column < out.width() ? std::min<std::uint64_t>(count, out.width() - column) : 0;
      for (unsigned i = 0; i < inside; ++i) {
        std::uint8_t px = nibbles ? static_cast<std::uint8_t>(i % 2 ? value & 0xF : value >> 4) : value;
        out.Put(row, column + i, px);
      }
      column += count;
      continue;
    }
    if (value == 0) {
      column = 0;
      ++row;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      std::uint8_t dx, dy;
      if (!in.Next(dx) || !in.Next(dy)) return;
      column += dx;
      row += dy;
    } else {
      std::uint64_t dataBytes = nibbles ? (value + 1u) / 2 : value;
      std::uint64_t padded = nibbles ? 2 * ((value + 3u) / 4) : (value + 1u) & ~1u;
      std::uint8_t byte = 0;
      for (unsigned i = 0; i < value; ++i) {
        if (!nibbles || i % 2 == 0) {
          if (!in.Next(byte)) return;
        }
        std::uint8_t px = nibbles ? static_cast<std::uint8_t>(i % 2 ? byte & 0xF : byte >> 4) : byte;
        out.Put(row, column++, px);
      }
      in.Skip(padded - dataBytes);
    }
  }
}

}  // namespace

HGLOBAL RLEtoDIB(HGLOBAL dib) {
  constexpr char kOp[] = "RLEtoDIB";
  LockedDib d(dib);
  if (!AcceptSource(d, {kOp, 0, nullptr, kOp, kNotRle, true})) return nullptr;
  unsigned bits = d.bitCount();
  std::uint64_t width = static_cast<std::uint64_t>(d.width());
  std::uint64_t height = static_cast<std::uint64_t>(d.height());
  std::uint64_t rowBytes = RowBytes(width, bits);
  std::uint64_t imageBytes = rowBytes * height;
  DWORD slots = DWORD{1} << bits;
  NewBlock out(imageBytes <= kMaxBitsBytes ? kInfoHeaderSize + 4ull * slots + imageBytes : ~0ull);
  if (!out.ok()) {
    Report(kOp, kOutOfMemory);
    return nullptr;
  }
  const BITMAPINFOHEADER& src = d.header();
  FillHeader(out.header(), src.biWidth, src.biHeight, static_cast<WORD>(bits),
             static_cast<DWORD>(imageBytes), kPelsPerMeter, kPelsPerMeter, d.colors(), 0);
  std::memcpy(out.table(), d.table(), 4ull * d.colors());
  Stream in(d.bits(), d.bitsBytes());
  Canvas canvas(out.data() + kInfoHeaderSize + 4ull * d.colors(), rowBytes, width, height, bits == 4);
  Expand(in, canvas, bits == 4);
  return out.Release();
}
