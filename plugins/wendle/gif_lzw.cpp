#include "wendle/gif_lzw.h"

#include <algorithm>
#include <cstring>

namespace wendle {
namespace {

constexpr unsigned kTableSize = 4096;
constexpr unsigned kMaxWidth = 12;

// A string of the table is a piece of the output written earlier: decoding
// a code copies that piece instead of walking a chain of prefixes.
struct Entry {
  std::uint32_t offset;
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

GifLzwResult DecodeGifLzw(const std::uint8_t* data, std::size_t size, unsigned minCodeSize,
                          std::uint8_t* out, std::size_t outSize) {
  GifLzwResult result;
  if (minCodeSize < 1 || minCodeSize > 8) {
    result.ok = false;
    result.badCode = minCodeSize < 12 ? 1 << minCodeSize : 4096;  // the clear code it would have
    return result;
  }
  const unsigned clear = 1u << minCodeSize;
  const unsigned end = clear + 1;
  Entry table[kTableSize];
  unsigned width = minCodeSize + 1;
  unsigned next = clear + 2;
  bool havePrevious = false;
  std::size_t prevOffset = 0, prevLength = 0;  // the last string written
  std::uint8_t prevFirst = 0;
  std::uint64_t bitBuffer = 0;  // unread bits, least significant first
  unsigned bitCount = 0;
  std::size_t inPos = 0;
  std::size_t outPos = 0;

  while (outPos < outSize) {
    if (bitCount <= 32) {
      if (size - inPos >= 4) {
        const std::uint8_t* d = data + inPos;
        const std::uint32_t word = std::uint32_t{d[0]} | std::uint32_t{d[1]} << 8 |
                                   std::uint32_t{d[2]} << 16 | std::uint32_t{d[3]} << 24;
        bitBuffer |= std::uint64_t{word} << bitCount;
        bitCount += 32;
        inPos += 4;
      } else {
        while (bitCount <= 56 && inPos < size) {
          bitBuffer |= std::uint64_t{data[inPos++]} << bitCount;
          bitCount += 8;
        }
      }
    }
    if (bitCount < width) break;
    const unsigned code = static_cast<unsigned>(bitBuffer & ((1u << width) - 1));
    bitBuffer >>= width;
    bitCount -= width;

    std::size_t length;
    std::uint8_t first;
    if (code < clear) {
      out[outPos] = static_cast<std::uint8_t>(code);
      length = 1;
      first = static_cast<std::uint8_t>(code);
    } else if (code == clear) {
      width = minCodeSize + 1;
      next = clear + 2;
      havePrevious = false;
      continue;
    } else if (code == end) {
      break;
    } else if (!havePrevious || code > next || (code == next && next >= kTableSize)) {
      result.ok = false;
      result.badCode = static_cast<int>(code);
      break;
    } else if (code < next) {
      const Entry& e = table[code];
      length = e.length;
      first = e.first;
      if (outSize - outPos < length) {
        std::memcpy(out + outPos, out + e.offset, outSize - outPos);
        outPos = outSize;
        break;
      }
      CopyEarlier(out, outPos, e.offset, length, outSize);
    } else {
      // The string being defined: the previous string, which ends right
      // here, and its first index.
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
      if (next == (1u << width) && width < kMaxWidth) ++width;
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
