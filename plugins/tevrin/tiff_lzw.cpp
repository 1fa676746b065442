#include "tevrin/tiff_lzw.h"

#include <algorithm>
#include <cstring>

namespace tevrin {
namespace {

constexpr unsigned kTableSize = 4096;
constexpr unsigned kMaxWidth = 12;

struct Entry {
  std::uint16_t prefix;  // code of the string without its last byte
  std::uint16_t length;  // bytes of the string
  std::uint8_t last;     // last byte
  std::uint8_t first;    // first byte
};

// Writes the string of `code` (and, when `extra` is set, one more byte)
// ending at `end` - 1, walking the prefix chain backwards.
inline void WriteString(const Entry* table, unsigned code, std::uint8_t* end) {
  std::uint8_t* p = end;
  while (code >= 256) {
    *--p = table[code].last;
    code = table[code].prefix;
  }
  *--p = static_cast<std::uint8_t>(code);
}

}  // namespace

LzwDecodeResult DecodeTiffLzw(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out,
                              std::size_t outSize) {
  LzwDecodeResult result;
  Entry table[kTableSize];
  for (unsigned i = 0; i < 256; ++i) table[i] = Entry{0, 1, static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i)};
  unsigned width = 9;
  unsigned next = kLzwFirstFree;
  int previous = -1;
  std::uint64_t bitBuffer = 0;  // unread bits, most significant first
  unsigned bitCount = 0;
  std::size_t inPos = 0;
  std::size_t outPos = 0;

  while (outPos < outSize) {
    while (bitCount <= 56 && inPos < inSize) {
      bitBuffer |= std::uint64_t{in[inPos++]} << (56 - bitCount);
      bitCount += 8;
    }
    if (bitCount < width) break;  // the data ran out before an end code
    unsigned code = static_cast<unsigned>(bitBuffer >> (64 - width));
    bitBuffer <<= width;
    bitCount -= width;

    if (code == kLzwEnd) break;
    if (code == kLzwClear) {
      width = 9;
      next = kLzwFirstFree;
      previous = -1;
      continue;
    }
    if (previous < 0) {
      // Right after a Clear only a single byte can follow.
      if (code >= 256) {
        result.ok = false;
        result.badCode = static_cast<int>(code);
        break;
      }
      out[outPos++] = static_cast<std::uint8_t>(code);
      previous = static_cast<int>(code);
      continue;
    }
    if (code > next || (code == next && next >= kTableSize)) {
      result.ok = false;
      result.badCode = static_cast<int>(code);
      break;
    }
    const Entry& prev = table[previous];
    std::size_t length;
    std::uint8_t first;
    if (code < next) {
      length = table[code].length;
      first = table[code].first;
    } else {  // the string being defined: previous string plus its first byte
      length = prev.length + 1u;
      first = prev.first;
    }
    if (outSize - outPos >= length) {
      std::uint8_t* end = out + outPos + length;
      if (code < next) {
        WriteString(table, code, end);
      } else {
        end[-1] = first;
        WriteString(table, static_cast<unsigned>(previous), end - 1);
      }
      outPos += length;
    } else {
      // The strip is full: keep the bytes that fit and drop the rest.
      std::uint8_t whole[kTableSize + 1];
      std::uint8_t* end = whole + length;
      if (code < next) {
        WriteString(table, code, end);
      } else {
        end[-1] = first;
        WriteString(table, static_cast<unsigned>(previous), end - 1);
      }
      std::size_t room = outSize - outPos;
      std::memcpy(out + outPos, whole, room);
      outPos += room;
      break;
    }
    if (next < kTableSize) {
      table[next] = Entry{static_cast<std::uint16_t>(previous), static_cast<std::uint16_t>(prev.length + 1u),
                          first, prev.first};
      ++next;
      if (next == (1u << width) - 1 && width < kMaxWidth) ++width;
    }
    previous = static_cast<int>(code);
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
