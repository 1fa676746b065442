// The LZW coding that the TIFF, GIF and EPS plug-ins share: variable-width
// codes from one bit wider than the literals up to 12 bits, a Clear code
// right above the literals, the end code after it, the first free code
// after that, and a table of at most 4096 codes. What differs between the
// formats is told by an `Order`:
//   kMsbFirst     codes packed most significant bit first (TIFF, EPS) or
//                 least significant bit first (GIF);
//   kEarlyChange  1 when the width grows one code early, at 2^width - 1
//                 (TIFF, EPS), 0 when at 2^width (GIF);
//   kResetAt      the next free code at which the encoder writes a Clear
//                 (4094 with the early change, 4096 without).
// Header-only, so that each plug-in compiles its own copy and no plug-in
// depends on another.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace plugins::lzw {

inline constexpr unsigned kTableSize = 4096;
inline constexpr unsigned kMaxWidth = 12;

// The encoder's child-slot search table: 12 slots per code (4096 x 12
// 32-bit entries, 0x30000 bytes), handed in so that a caller can report
// when it cannot be had.
inline constexpr std::size_t kChildSlots = 12;
inline constexpr std::size_t kChildTableBytes = kTableSize * kChildSlots * 4;

// The most bytes the codes of `count` input bytes can take: one code of at
// most 12 bits per byte, a Clear for every table reset, and the leading
// Clear, last string and end code.
inline constexpr std::size_t WorstCase(std::size_t count) { return (count + count / 1024 + 4) * 3 / 2 + 8; }

// TIFF strips and PostScript's LZWDecode data: most significant bit first,
// the early switch, and a Clear when the next free code would be 4094,
// before the switch to 13 bits.
struct TiffOrder {
  static constexpr bool kMsbFirst = true;
  static constexpr unsigned kEarlyChange = 1;
  static constexpr unsigned kResetAt = 4094;
};

// GIF image data: least significant bit first, the switch at 2^width, and
// a Clear only when all 4096 codes are taken.
struct GifOrder {
  static constexpr bool kMsbFirst = false;
  static constexpr unsigned kEarlyChange = 0;
  static constexpr unsigned kResetAt = kTableSize;
};

struct DecodeResult {
  bool ok = true;           // false: a code beyond the next free one
  int badCode = 0;          // that code
  std::size_t written = 0;  // bytes stored into the output
};

namespace detail {

// A string of the table is a piece of the output written earlier: every
// string was written out whole before its code can be read, so decoding a
// code copies that piece instead of walking a chain of prefixes.
struct Entry {
  std::uint32_t offset;  // where the string starts in the output
  std::uint16_t length;
  std::uint8_t first;
};

// Copies `n` bytes from an earlier, non-overlapping place of the output;
// short strings move as two 8-byte words when there is room behind them.
inline void CopyEarlier(std::uint8_t* out, std::size_t to, std::size_t from, std::size_t n, std::size_t size) {
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

// The width of the first code after a Clear: one bit more than the literals.
inline unsigned FirstWidth(unsigned clear) { return static_cast<unsigned>(std::bit_width(clear)); }

}  // namespace detail

// The most bytes that `inSize` bytes of codes can decode to, so that a
// reader sets aside no more than its data can fill. Every code is at least
// one bit wider than the literals; after a Clear the first code is one
// byte and each table entry is one byte longer than the string before it,
// so the i-th code gives at most i bytes, and no string is longer than the
// table.
inline std::size_t MostDecoded(std::size_t inSize, unsigned clear) {
  const std::size_t codes = inSize * 8 / detail::FirstWidth(clear);
  if (codes <= kTableSize) return codes * (codes + 1) / 2;
  return std::size_t{kTableSize} * (kTableSize + 1) / 2 + (codes - kTableSize) * kTableSize;
}

// Decodes one stream whose Clear code is `clear` (256 for bytes; 2^n for
// GIF's n-bit indices, n from 1 to 8) into `out`. Decoding stops at the end
// code, when `outSize` bytes are there (the rest is dropped), or when the
// data run out. The width never grows past 12 bits and no entry is made
// once the table holds 4096, so a stream that goes on without a Clear
// keeps its last table. Inlined into each caller, so that a constant Clear
// code folds into the loop (it is the hot path of reading a picture).
template <class Order>
[[gnu::always_inline]] inline DecodeResult Decode(const std::uint8_t* in, std::size_t inSize, unsigned clear,
                                                  std::uint8_t* out, std::size_t outSize) {
  const unsigned end = clear + 1;
  const unsigned firstFree = clear + 2;
  const unsigned firstWidth = detail::FirstWidth(clear);
  DecodeResult result;
  detail::Entry table[kTableSize];
  unsigned width = firstWidth;
  unsigned next = firstFree;
  bool havePrevious = false;
  std::size_t prevOffset = 0, prevLength = 0;  // the last string written
  std::uint8_t prevFirst = 0;
  std::uint64_t bitBuffer = 0;  // unread bits, the next code's end first
  unsigned bitCount = 0;
  std::size_t inPos = 0;
  std::size_t outPos = 0;

  while (outPos < outSize) {
    if (bitCount <= 32) {
      if (inSize - inPos >= 4) {
        const std::uint8_t* d = in + inPos;
        if constexpr (Order::kMsbFirst) {
          const std::uint32_t word = std::uint32_t{d[0]} << 24 | std::uint32_t{d[1]} << 16 |
                                     std::uint32_t{d[2]} << 8 | d[3];
          bitBuffer |= std::uint64_t{word} << (32 - bitCount);
        } else {
          const std::uint32_t word = std::uint32_t{d[0]} | std::uint32_t{d[1]} << 8 |
                                     std::uint32_t{d[2]} << 16 | std::uint32_t{d[3]} << 24;
          bitBuffer |= std::uint64_t{word} << bitCount;
        }
        bitCount += 32;
        inPos += 4;
      } else {
        while (bitCount <= 56 && inPos < inSize) {
          if constexpr (Order::kMsbFirst)
            bitBuffer |= std::uint64_t{in[inPos++]} << (56 - bitCount);
          else
            bitBuffer |= std::uint64_t{in[inPos++]} << bitCount;
          bitCount += 8;
        }
      }
    }
    if (bitCount < width) break;  // the data ran out before an end code
    unsigned code;
    if constexpr (Order::kMsbFirst) {
      code = static_cast<unsigned>(bitBuffer >> (64 - width));
      bitBuffer <<= width;
    } else {
      code = static_cast<unsigned>(bitBuffer & ((1u << width) - 1));
      bitBuffer >>= width;
    }
    bitCount -= width;

    std::size_t length;
    std::uint8_t first;
    if (code >= firstFree && code < next) {
      // The common case first: a string of the table, written before.
      const detail::Entry& e = table[code];
      length = e.length;
      first = e.first;
      if (outSize - outPos < length) {
        // The output is full: keep the bytes that fit and drop the rest.
        std::memcpy(out + outPos, out + e.offset, outSize - outPos);
        outPos = outSize;
        break;
      }
      detail::CopyEarlier(out, outPos, e.offset, length, outSize);
    } else if (code < clear) {
      out[outPos] = static_cast<std::uint8_t>(code);
      length = 1;
      first = static_cast<std::uint8_t>(code);
    } else if (code == clear) {
      width = firstWidth;
      next = firstFree;
      havePrevious = false;
      continue;
    } else if (code == end) {
      break;
    } else if (!havePrevious || code != next || next >= kTableSize) {
      // Beyond the table, or a string right after a Clear, where only a
      // single literal can follow.
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
      table[next] = detail::Entry{static_cast<std::uint32_t>(prevOffset), static_cast<std::uint16_t>(prevLength + 1),
                                  prevFirst};
      ++next;
      if (next + Order::kEarlyChange == (1u << width) && width < kMaxWidth) ++width;
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

// An encoder that can be fed in pieces. `Sink` is called with each whole
// byte of codes as soon as it is complete: `void operator()(std::uint8_t)`.
// `children` points to kChildTableBytes of scratch that outlives it.
template <class Order, class Sink>
class Encoder {
 public:
  Encoder(unsigned clear, std::uint32_t* children, Sink& sink)
      : clear_(clear), firstFree_(clear + 2), firstWidth_(detail::FirstWidth(clear)), children_(children),
        sink_(sink) {}
  Encoder(const Encoder&) = delete;
  Encoder& operator=(const Encoder&) = delete;

  // Empties the tables and writes the leading Clear.
  void Start() {
    for (unsigned i = 0; i < kTableSize; ++i) {
      prefix_[i] = kEmpty;
      last_[i] = static_cast<std::uint8_t>(i);
    }
    std::fill(children_, children_ + kTableSize * kChildSlots, kEmpty);
    width_ = firstWidth_;
    next_ = firstFree_;
    w_ = -1;
    Emit(clear_, width_);
  }

  void Put(const std::uint8_t* in, std::size_t size) {
    // The state in locals: every byte written through the sink could
    // otherwise be taken to change it.
    unsigned width = width_;
    unsigned next = next_;
    int w = w_;
    for (std::size_t i = 0; i < size; ++i) {
      const std::uint8_t c = in[i];
      if (w < 0) {
        w = c;
        continue;
      }
      std::uint32_t* slots = children_ + static_cast<std::size_t>(w) * kChildSlots;
      unsigned found = kEmpty;
      std::size_t freeSlot = kChildSlots;
      for (std::size_t s = 0; s < kChildSlots; ++s) {
        const std::uint32_t v = slots[s];
        if (v == kEmpty) {
          freeSlot = s;
          break;
        }
        if (last_[v] == c) {
          found = v;
          break;
        }
      }
      if (found == kEmpty && freeSlot == kChildSlots) {
        // Every slot taken: the strings beyond them are found by a scan.
        for (unsigned k = firstFree_; k < next; ++k) {
          if (prefix_[k] == w && last_[k] == c) {
            found = k;
            break;
          }
        }
      }
      if (found != kEmpty) {
        w = static_cast<int>(found);
        continue;
      }
      if (next == Order::kResetAt) {
        Emit(static_cast<unsigned>(w), width);
        // Only codes below `next` can have children; the rest are still empty.
        std::fill(children_, children_ + std::size_t{next} * kChildSlots, kEmpty);
        for (unsigned k = firstFree_; k < next; ++k) prefix_[k] = kEmpty;
        Emit(clear_, width);
        width = firstWidth_;
        next = firstFree_;
        w = c;
        continue;
      }
      prefix_[next] = static_cast<std::uint16_t>(w);
      last_[next] = c;
      if (freeSlot < kChildSlots) slots[freeSlot] = next;
      Emit(static_cast<unsigned>(w), width);
      ++next;
      // The decoder, one entry behind, widens when its next code reaches
      // 2^width - kEarlyChange.
      width = static_cast<unsigned>(std::bit_width(next + Order::kEarlyChange - 1));
      w = c;
    }
    width_ = width;
    next_ = next;
    w_ = w;
  }

  // The last string, the end code and the last byte padded with zero bits.
  void Finish() {
    unsigned width = width_;
    if (w_ >= 0) {
      Emit(static_cast<unsigned>(w_), width);
      // Reading that code makes the decoder's last entry; when its next
      // code then reaches the switch it reads the end code one bit wider.
      if (next_ > firstFree_ && next_ + Order::kEarlyChange == (1u << width) && width < kMaxWidth) ++width;
    }
    Emit(clear_ + 1, width);
    if (count_ > 0) {
      if constexpr (Order::kMsbFirst)
        sink_(static_cast<std::uint8_t>(buffer_ << (8 - count_)));
      else
        sink_(static_cast<std::uint8_t>(buffer_));
    }
    buffer_ = 0;
    count_ = 0;
    w_ = -1;
  }

 private:
  static constexpr std::uint32_t kEmpty = kTableSize;

  void Emit(unsigned code, unsigned width) {
    if constexpr (Order::kMsbFirst) {
      buffer_ = (buffer_ << width) | code;
      count_ += width;
      while (count_ >= 8) {
        count_ -= 8;
        sink_(static_cast<std::uint8_t>(buffer_ >> count_));
      }
    } else {
      buffer_ |= std::uint64_t{code} << count_;
      count_ += width;
      while (count_ >= 8) {
        sink_(static_cast<std::uint8_t>(buffer_));
        buffer_ >>= 8;
        count_ -= 8;
      }
    }
  }

  const unsigned clear_;
  const unsigned firstFree_;
  const unsigned firstWidth_;
  std::uint32_t* const children_;
  Sink& sink_;
  std::uint16_t prefix_[kTableSize];
  std::uint8_t last_[kTableSize];
  unsigned width_ = 0;
  unsigned next_ = 0;
  int w_ = -1;                // the current string's code; -1 before the first byte
  std::uint64_t buffer_ = 0;  // bits not yet written
  unsigned count_ = 0;
};

// Codes into a bounded buffer; what does not fit is counted as overflow.
class BoundedSink {
 public:
  BoundedSink(std::uint8_t* out, std::size_t size) : out_(out), size_(size) {}
  void operator()(std::uint8_t b) {
    if (pos_ < size_)
      out_[pos_++] = b;
    else
      overflow_ = true;
  }
  // The bytes written, 0 when they did not fit.
  std::size_t result() const { return overflow_ ? 0 : pos_; }

 private:
  std::uint8_t* out_;
  std::size_t size_;
  std::size_t pos_ = 0;
  bool overflow_ = false;
};

// Encodes `in` as one stream into `out` (capacity `outSize`, at least
// WorstCase(inSize)). `children` points to kChildTableBytes of scratch.
// Returns the stream's length, or 0 when the output did not fit.
template <class Order>
std::size_t Encode(const std::uint8_t* in, std::size_t inSize, unsigned clear, std::uint8_t* out,
                   std::size_t outSize, std::uint32_t* children) {
  BoundedSink sink(out, outSize);
  Encoder<Order, BoundedSink> encoder(clear, children, sink);
  encoder.Start();
  encoder.Put(in, inSize);
  encoder.Finish();
  return sink.result();
}

}  // namespace plugins::lzw
