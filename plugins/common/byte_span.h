// Bounded reading of a picture file held in memory. Every size, offset and
// count in a picture file comes from the file itself, so every read here is
// checked against the bytes that are really there; a read that does not fit
// fails instead of touching memory outside.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace plugins {

// Random access by absolute offset, in either byte order.
class ByteSpan {
 public:
  ByteSpan() = default;
  ByteSpan(const std::uint8_t* data, std::size_t size) : data_(data), size_(data ? size : 0) {}

  const std::uint8_t* data() const { return data_; }
  std::size_t size() const { return size_; }

  // Whether `count` bytes start at `offset` (offsets from the file may be
  // anything up to 64 bits).
  bool Has(std::uint64_t offset, std::uint64_t count) const {
    return offset <= size_ && count <= size_ - offset;
  }
  // The address of `offset`; only after Has() said yes.
  const std::uint8_t* At(std::uint64_t offset) const { return data_ + offset; }

  bool U8(std::uint64_t offset, std::uint8_t& out) const {
    if (!Has(offset, 1)) return false;
    out = data_[offset];
    return true;
  }
  bool U16(std::uint64_t offset, bool bigEndian, std::uint16_t& out) const {
    if (!Has(offset, 2)) return false;
    const std::uint8_t* p = data_ + offset;
    out = bigEndian ? static_cast<std::uint16_t>(p[0] << 8 | p[1])
                    : static_cast<std::uint16_t>(p[1] << 8 | p[0]);
    return true;
  }
  bool U32(std::uint64_t offset, bool bigEndian, std::uint32_t& out) const {
    if (!Has(offset, 4)) return false;
    const std::uint8_t* p = data_ + offset;
    out = bigEndian ? (std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 |
                       std::uint32_t{p[2]} << 8 | p[3])
                    : (std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 |
                       std::uint32_t{p[1]} << 8 | p[0]);
    return true;
  }

 private:
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

// Sequential little-endian reading with a position; reads past the end
// fail and leave the position where it was.
class ByteCursor {
 public:
  ByteCursor() = default;
  ByteCursor(const std::uint8_t* data, std::size_t size) : span_(data, size) {}

  std::size_t position() const { return pos_; }
  std::size_t remaining() const { return span_.size() - pos_; }
  bool AtEnd() const { return pos_ >= span_.size(); }
  const std::uint8_t* current() const { return span_.data() + pos_; }

  bool U8(std::uint8_t& out) {
    if (!span_.U8(pos_, out)) return false;
    pos_ += 1;
    return true;
  }
  bool U16(std::uint16_t& out) {
    if (!span_.U16(pos_, false, out)) return false;
    pos_ += 2;
    return true;
  }
  bool Read(void* out, std::size_t count) {
    if (!span_.Has(pos_, count)) return false;
    if (count) std::memcpy(out, span_.data() + pos_, count);
    pos_ += count;
    return true;
  }
  bool Skip(std::size_t count) {
    if (!span_.Has(pos_, count)) return false;
    pos_ += count;
    return true;
  }

 private:
  ByteSpan span_;
  std::size_t pos_ = 0;
};

}  // namespace plugins
