// Where the BMP readers take their bytes from: an open file or a memory
// image. Reads never go past the end of either; what is not there reads
// as nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

#include "win/kernel.h"

namespace pixolt {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Copies up to `n` bytes from the current position; answers how many.
  virtual std::size_t Read(void* out, std::size_t n) = 0;
  // Moves to an absolute position; false when the source cannot go there.
  virtual bool Seek(std::uint64_t position) = 0;
};

class FileSource : public ByteSource {
 public:
  explicit FileSource(HFILE file) : file_(file) {}
  std::size_t Read(void* out, std::size_t n) override;
  bool Seek(std::uint64_t position) override;

 private:
  HFILE file_;
};

// A memory image of `size` bytes; kUnbounded when the caller did not say
// (then the caller vouches for every byte the image's headers describe).
class MemorySource : public ByteSource {
 public:
  static constexpr std::uint64_t kUnbounded = std::numeric_limits<std::uint64_t>::max();
  MemorySource(const void* image, std::uint64_t size)
      : image_(static_cast<const std::uint8_t*>(image)), size_(size) {}
  std::size_t Read(void* out, std::size_t n) override;
  bool Seek(std::uint64_t position) override;

 private:
  const std::uint8_t* image_;
  std::uint64_t size_;
  std::uint64_t position_ = 0;
};

}  // namespace pixolt
