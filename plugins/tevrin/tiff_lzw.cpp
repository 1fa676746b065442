#include "tevrin/tiff_lzw.h"

#include <algorithm>
#include <cstring>

namespace tevrin {
namespace {

constexpr unsigned kTableSize = 4096;
constexpr unsigned kMaxWidth = 12;

// A string of the table is a piece of the strip's output: every string was
// written out whole before its code can be read, so decoding a code copies
// that earlier piece instead of walking a chain of prefixes.
struct Entry {
  std::uint32_t offset;  // where the string starts in the output
  std::uint16_t length;
  std::uint8_t first;
};

// Copies `n` bytes from an earlier, non-overlapping place of the output;
// short strings move as two 8-byte words when there is room behind them.
inline void CopyEarlier(std::uint8_t* out, std::size_t to, std::size_t from, std::size_t n,
                        std::size_t size) {
  if (n <= 16 && size - to >= 16) {
    std::uint64_t a, b;
    std::memcpy(&a, out + from, 8);
    std::memcpy(&b, out + from + 8, 8);
    std::memcpy(out + to, &a, 8);
    std::memcpy(out + to + 8, &b, 8);
  } else {
    std::memcpy(out + to, out + from, n);
  }
}

}  // namespace

LzwDecodeResult DecodeTiffLzw(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out,
                              std::size_t outSize) {
  LzwDecodeResult result;
  Entry table[kTableSize];
  unsigned width = 9;
  unsigned next = kLzwFirstFree;
  bool havePrevious = false;
  std::size_t prevOffset = 0, prevLength = 0;  // the last string written
  std::uint8_t prevFirst = 0;
  std::uint64_t bitBuffer = 0;  // unread bits, most significant first
  unsigned bitCount = 0;
  std::size_t inPos = 0;
  std::size_t outPos = 0;

  while (outPos < outSize) {
    if (bitCount <= 32) {
      if (inSize - inPos >= 4) {
        std::uint32_t word = std::uint32_t{in[inPos]} << 24 | std::uint32_t{in[inPos + 1]} << 16 |
                             std::uint32_t{in[inPos + 2]} << 8 | in[inPos + 3];
        bitBuffer |= std::uint64_t{word} << (32 - bitCount);
        bitCount += 32;
        inPos += 4;
      } else {
        while (bitCount <= 56 && inPos < inSize) {
          bitBuffer |= std::uint64_t{in[inPos++]} << (56 - bitCount);
          bitCount += 8;
        }
      }
    }
    if (bitCount < width) break;  // the data ran out before an end code
    const unsigned code = static_cast<unsigned>(bitBuffer >> (64 - width));
    bitBuffer <<= width;
    bitCount -= width;

    std::size_t length;
    std::uint8_t first;
    if (code >= kLzwFirstFree && code < next) {
      // The common case first: a string of the table, written before.
      const Entry& e = table[code];
      length = e.length;
      first = e.first;
      if (outSize - outPos < length) {
        // The strip is full: keep the bytes that fit and drop the rest.
        std::memcpy(out + outPos, out + e.offset, outSize - outPos);
        outPos = outSize;
        break;
      }
      CopyEarlier(out, outPos, e.offset, length, outSize);
    } else if (code < 256) {
      out[outPos] = static_cast<std::uint8_t>(code);
      length = 1;
      first = static_cast<std::uint8_t>(code);
    } else if (code == kLzwClear) {
      width = 9;
      next = kLzwFirstFree;
      havePrevious = false;
      continue;
    } else if (code == kLzwEnd) {
      break;
    } else if (!havePrevious || code != next || next >= kTableSize) {
      // Beyond the table, or a string right after a Clear, where only a
      // single byte can follow.
      result.ok = false;
      result.badCode = static_cast<int>(code);
      break;
    } else {
      // The string being defined: the previous string and its first byte.
      // The previous string ends right here, so the copy cannot overlap.
      length = prevLength + 1;
      first = prevFirst;
      const std::size_t n = std::min(prevLength, outSize - outPos);
      std::memcpy(out + outPos, out + prevOffset, n);
      if (n < prevLength || outSize - outPos == prevLength) {
        outPos += n;
        break;
      }
      out[outPos + prevLength] = prevFirst;
    }
    if (havePrevious && next < kTableSize) {
      table[next] = Entry{static_cast<std::uint32_t>(prevOffset), static_cast<std::uint16_t>(prevLength + 1),
                          prevFirst};
      ++next;
      if (next == (1u << width) - 1 && width < kMaxWidth) ++width;
    }
    havePrevious = true;
    prevOffset = outPos;
    prevLength = length;
    prevFirst = first;
    outPos += length;
  }
  result.written = outPos;
  return result;
}

namespace {

// Codes packed most significant bit first into a bounded buffer.
class BitWriter {
 public:
  BitWriter(std::uint8_t* out, std::size_t size) : out_(out), size_(size) {}
  void Put(unsigned code, unsigned width) {
    buffer_ = (buffer_ << width) | code;
    count_ += width;
    while (count_ >= 8) {
      count_ -= 8;
      Byte(static_cast<std::uint8_t>(buffer_ >> count_));
    }
  }
  // Writes the last partial byte, padded with zero bits.
  void Flush() {
    if (count_ > 0) Byte(static_cast<std::uint8_t>(buffer_ << (8 - count_)));
    count_ = 0;
  }
  bool overflow() const { return overflow_; }
  std::size_t written() const { return pos_; }

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

constexpr std::uint32_t kEmpty = 4096;

unsigned WidthFor(unsigned next) {
  return next < 512 ? 9 : next < 1024 ? 10 : next < 2048 ? 11 : 12;
}

}  // namespace

std::size_t EncodeTiffLzw(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out,
                          std::size_t outSize, std::uint32_t* children) {
  std::uint16_t prefix[kTableSize];
  std::uint8_t last[kTableSize];
  for (unsigned i = 0; i < kTableSize; ++i) {
    prefix[i] = kEmpty;
    last[i] = static_cast<std::uint8_t>(i);
  }
  std::fill(children, children + kTableSize * kLzwChildSlots, kEmpty);

  BitWriter bits(out, outSize);
  unsigned width = 9;
  unsigned next = kLzwFirstFree;
  int w = -1;
  bits.Put(kLzwClear, width);
  for (std::size_t i = 0; i < inSize; ++i) {
    const std::uint8_t c = in[i];
    if (w < 0) {
      w = c;
      continue;
    }
    std::uint32_t* slots = children + static_cast<std::size_t>(w) * kLzwChildSlots;
    unsigned found = kEmpty;
    std::size_t freeSlot = kLzwChildSlots;
    for (std::size_t s = 0; s < kLzwChildSlots; ++s) {
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
    if (found == kEmpty && freeSlot == kLzwChildSlots) {
      // Every slot taken: the strings beyond them are found by a scan.
      for (unsigned k = kLzwFirstFree; k < next; ++k) {
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
    if (next == 4094) {
      bits.Put(static_cast<unsigned>(w), width);
      // Only codes below `next` can have children; the rest are still empty.
      std::fill(children, children + std::size_t{next} * kLzwChildSlots, kEmpty);
      for (unsigned k = kLzwFirstFree; k < next; ++k) prefix[k] = kEmpty;
      bits.Put(kLzwClear, width);
      width = 9;
      next = kLzwFirstFree;
      w = c;
      continue;
    }
    prefix[next] = static_cast<std::uint16_t>(w);
    last[next] = c;
    if (freeSlot < kLzwChildSlots) slots[freeSlot] = next;
    bits.Put(static_cast<unsigned>(w), width);
    ++next;
    width = WidthFor(next);
    w = c;
  }
  if (w >= 0) {
    bits.Put(static_cast<unsigned>(w), width);
    // A decoder makes one more entry on reading that code; when its table
    // then reaches 2^width - 1 it reads the end code one bit wider.
    if (next == (1u << width) - 1 && width < kMaxWidth) ++width;
  }
  bits.Put(kLzwEnd, width);
  bits.Flush();
  return bits.overflow() ? 0 : bits.written();
}

}  // namespace tevrin
