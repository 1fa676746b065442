#include "tevrin/tiff_packbits.h"

#include <algorithm>
#include <cstring>

namespace tevrin {

std::size_t DecodePackBits(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out,
                           std::size_t outSize) {
  std::size_t ip = 0;
  std::size_t op = 0;
  while (ip < inSize && op < outSize) {
    unsigned n = in[ip++];
    if (n < 128) {
      std::size_t count = std::min<std::size_t>({n + 1u, inSize - ip, outSize - op});
      std::memcpy(out + op, in + ip, count);
      ip += n + 1u;
      op += count;
    } else if (n > 128) {
      if (ip >= inSize) break;
      std::size_t count = std::min<std::size_t>(257u - n, outSize - op);
      std::memset(out + op, in[ip++], count);
      op += count;
    }
  }
  return op;
}

namespace {

class RunWriter {
 public:
  RunWriter(std::uint8_t* out, std::size_t size) : out_(out), size_(size) {}
  void Literal(const std::uint8_t* bytes, std::size_t n) {
    if (n == 0) return;
    if (!Room(n + 1)) return;
    out_[pos_++] = static_cast<std::uint8_t>(n - 1);
    std::memcpy(out_ + pos_, bytes, n);
    pos_ += n;
  }
  void Repeat(std::uint8_t value, std::size_t n) {
    if (!Room(2)) return;
    out_[pos_++] = static_cast<std::uint8_t>(257 - n);  // 1 - n; a run of one is header 0
    out_[pos_++] = value;
  }
  std::size_t result() const { return overflow_ ? 0 : pos_; }

 private:
  bool Room(std::size_t n) {
    if (size_ - pos_ < n) overflow_ = true;
    return !overflow_;
  }
  std::uint8_t* out_;
  std::size_t size_;
  std::size_t pos_ = 0;
  bool overflow_ = false;
};

}  // namespace

std::size_t EncodePackBitsRow(const std::uint8_t* row, std::size_t n, std::uint8_t* out,
                              std::size_t outSize) {
  RunWriter w(out, outSize);
  if (n == 0) return 0;
  // Either a literal run [start, i) or a repeat run of `repeat` bytes.
  std::size_t start = 0;
  std::size_t repeat = 0;
  for (std::size_t i = 1; i < n; ++i) {
    const std::uint8_t b = row[i];
    if (repeat > 0) {
      if (b == row[i - 1]) {
        if (repeat == 128) {
          w.Repeat(b, 128);
          repeat = 1;
        } else {
          ++repeat;
        }
      } else {
        w.Repeat(row[i - 1], repeat);
        repeat = 0;
        start = i;
      }
      continue;
    }
    if (b == row[i - 1]) {
      // The bytes before the predecessor stay a literal run.
      w.Literal(row + start, i - 1 - start);
      repeat = 2;
    } else if (i - start == 128) {
      w.Literal(row + start, 128);
      start = i;
    }
  }
  if (repeat > 0)
    w.Repeat(row[n - 1], repeat);
  else
    w.Literal(row + start, n - start);
  return w.result();
}

}  // namespace tevrin
