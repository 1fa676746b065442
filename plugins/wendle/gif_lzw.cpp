#include "wendle/gif_lzw.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace wendle {
namespace {

constexpr unsigned kTableSize = 4096;
constexpr unsigned kMaxWidth = 12;

struct Entry {
  std::uint16_t prefix;
  std::uint16_t length;
  std::uint8_t last;
  std::uint8_t first;
};

inline void WriteString(const Entry* table, unsigned code, unsigned literals, std::uint8_t* end) {
  std::uint8_t* p = end;
  while (code >= literals) {
    *--p = table[code].last;
    code = table[code].prefix;
  }
  *--p = static_cast<std::uint8_t>(code);
}

// Collects decoded indices into rows.
class RowBuilder {
 public:
  RowBuilder(std::uint32_t width, std::uint32_t height, RowSink& sink)
      : row_(width), width_(width), height_(height), sink_(sink) {}
  bool done() const { return rows_ >= height_; }
  std::uint32_t rows() const { return rows_; }
  std::size_t room() const { return width_ - pos_; }
  std::uint8_t* cursor() { return row_.data() + pos_; }
  // `n` bytes were written at cursor() (n <= room()).
  void Advance(std::size_t n) {
    pos_ += n;
    if (pos_ == width_) {
      sink_.Row(rows_++, row_.data());
      pos_ = 0;
    }
  }
  void Put(const std::uint8_t* bytes, std::size_t n) {
    while (n > 0 && !done()) {
      std::size_t piece = std::min(n, room());
      std::memcpy(cursor(), bytes, piece);
      Advance(piece);
      bytes += piece;
      n -= piece;
    }
  }

 private:
  std::vector<std::uint8_t> row_;  // at most 65535 bytes: the width is 16 bits in a file
  std::size_t pos_ = 0;
  std::uint32_t rows_ = 0;
  std::uint32_t width_;
  std::uint32_t height_;
  RowSink& sink_;
};

}  // namespace

GifLzwResult DecodeGifLzw(const std::uint8_t* data, std::size_t size, unsigned minCodeSize,
                          std::uint32_t width, std::uint32_t height, RowSink& sink) {
  GifLzwResult result;
  if (width == 0 || height == 0 || width > 0xFFFF) return result;
  if (minCodeSize < 1 || minCodeSize > 8) {
    result.ok = false;
    result.badCode = minCodeSize < 12 ? 1 << minCodeSize : 4096;  // the clear code it would have
    return result;
  }
  const unsigned clear = 1u << minCodeSize;
  const unsigned end = clear + 1;
  Entry table[kTableSize];
  for (unsigned i = 0; i < clear; ++i)
    table[i] = Entry{0, 1, static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i)};
  unsigned width_bits = minCodeSize + 1;
  unsigned next = clear + 2;
  int previous = -1;
  std::uint64_t bitBuffer = 0;  // unread bits, least significant first
  unsigned bitCount = 0;
  std::size_t inPos = 0;
  RowBuilder rows(width, height, sink);
  std::uint8_t spill[kTableSize + 1];

  while (!rows.done()) {
    while (bitCount <= 56 && inPos < size) {
      bitBuffer |= std::uint64_t{data[inPos++]} << bitCount;
      bitCount += 8;
    }
    if (bitCount < width_bits) break;
    const unsigned code = static_cast<unsigned>(bitBuffer & ((1u << width_bits) - 1));
    bitBuffer >>= width_bits;
    bitCount -= width_bits;

    if (code == clear) {
      width_bits = minCodeSize + 1;
      next = clear + 2;
      previous = -1;
      continue;
    }
    if (code == end) break;
    if (code > next || (code == next && (previous < 0 || next >= kTableSize))) {
      result.ok = false;
      result.badCode = static_cast<int>(code);
      break;
    }
    std::size_t length;
    std::uint8_t first;
    if (code < next) {
      length = table[code].length;
      first = table[code].first;
    } else {
      length = table[previous].length + 1u;
      first = table[previous].first;
    }
    // Write the string straight into the row when it fits, else through
    // a spill buffer across the row ends.
    std::uint8_t* target = length <= rows.room() ? rows.cursor() : spill;
    if (code < next) {
      WriteString(table, code, clear, target + length);
    } else {
      target[length - 1] = first;
      WriteString(table, static_cast<unsigned>(previous), clear, target + length - 1);
    }
    if (target == spill)
      rows.Put(spill, length);
    else
      rows.Advance(length);

    if (previous >= 0 && next < kTableSize) {
      table[next] = Entry{static_cast<std::uint16_t>(previous),
                          static_cast<std::uint16_t>(table[previous].length + 1u), first,
                          table[previous].first};
      ++next;
      if (next == (1u << width_bits) && width_bits < kMaxWidth) ++width_bits;
    }
    previous = static_cast<int>(code);
  }
  result.rows = rows.rows();
  return result;
}

namespace {

// Codes packed least significant bit first into a bounded buffer.
class BitWriter {
 public:
  BitWriter(std::uint8_t* out, std::size_t size) : out_(out), size_(size) {}
  void Put(unsigned code, unsigned width) {
    buffer_ |= std::uint64_t{code} << count_;
    count_ += width;
    while (count_ >= 8) {
      Byte(static_cast<std::uint8_t>(buffer_));
      buffer_ >>= 8;
      count_ -= 8;
    }
  }
  void Flush() {
    if (count_ > 0) Byte(static_cast<std::uint8_t>(buffer_));
    buffer_ = 0;
    count_ = 0;
  }
  std::size_t result() const { return overflow_ ? 0 : pos_; }

 private:
  void Byte(std::uint8_t b) {
    if (pos_ < size_)
      out_[pos_++] = b;
    else
      overflow_ = true;
  }
  std::uint8_t* out_;
  std::size_t size_;
  std::size_t pos_ = 0;
  std::uint64_t buffer_ = 0;
  unsigned count_ = 0;
  bool overflow_ = false;
};

unsigned BitsOf(unsigned n) {
  unsigned bits = 0;
  while (n >> bits) ++bits;
  return std::max(bits, 3u);
}

constexpr std::uint32_t kEmpty = 4096;

}  // namespace

std::size_t EncodeGifLzw(const std::uint8_t* indices, std::size_t count, unsigned minCodeSize,
                         std::uint8_t* out, std::size_t outSize, std::uint32_t* children) {
  if (minCodeSize < 2 || minCodeSize > 8) return 0;
  const unsigned clear = 1u << minCodeSize;
  const unsigned end = clear + 1;
  const unsigned firstFree = clear + 2;
  std::uint16_t prefix[kTableSize];
  std::uint8_t last[kTableSize];
  for (unsigned i = 0; i < kTableSize; ++i) {
    prefix[i] = kEmpty;
    last[i] = static_cast<std::uint8_t>(i);
  }
  std::fill(children, children + kTableSize * kGifChildSlots, kEmpty);

  BitWriter bits(out, outSize);
  unsigned width = minCodeSize + 1;
  unsigned next = firstFree;
  int w = -1;
  bits.Put(clear, width);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t c = indices[i];
    if (w < 0) {
      w = c;
      continue;
    }
    std::uint32_t* slots = children + static_cast<std::size_t>(w) * kGifChildSlots;
    unsigned found = kEmpty;
    std::size_t freeSlot = kGifChildSlots;
    for (std::size_t s = 0; s < kGifChildSlots; ++s) {
      std::uint32_t v = slots[s];
      if (v == kEmpty) {
        freeSlot = s;
        break;
      }
      if (last[v] == c) {
        found = v;
        break;
      }
    }
    if (found == kEmpty && freeSlot == kGifChildSlots) {
      for (unsigned k = firstFree; k < next; ++k) {
        if (prefix[k] == w && last[k] == c) {
          found = k;
          break;
        }
      }
    }
    if (found != kEmpty) {
      w = static_cast<int>(found);
      continue;
    }
    if (next == kTableSize) {
      bits.Put(static_cast<unsigned>(w), width);
      bits.Put(clear, width);
      std::fill(children, children + std::size_t{next} * kGifChildSlots, kEmpty);
      for (unsigned k = firstFree; k < next; ++k) prefix[k] = kEmpty;
      width = minCodeSize + 1;
      next = firstFree;
      w = c;
      continue;
    }
    prefix[next] = static_cast<std::uint16_t>(w);
    last[next] = c;
    if (freeSlot < kGifChildSlots) slots[freeSlot] = next;
    bits.Put(static_cast<unsigned>(w), width);
    width = BitsOf(next);
    ++next;
    w = c;
  }
  if (w >= 0) {
    bits.Put(static_cast<unsigned>(w), width);
    // Reading that code makes the decoder's last entry; when its next code
    // then reaches 2^width it reads the end code one bit wider.
    if (next > firstFree && next == (1u << width) && width < kMaxWidth) ++width;
  }
  bits.Put(end, width);
  bits.Flush();
  return bits.result();
}

}  // namespace wendle
