// The bytes of a text run. Most runs are a word and its blank, a dozen
// bytes or less: those are kept in place, in the run itself; longer text
// goes to one buffer from the atom pool, grown in steps as pieces are
// added. Lengths are 32 bits, so that a long word keeps them.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "win/types.h"

class RunText {
 public:
  static constexpr std::uint32_t kInPlace = 12;

  RunText() = default;
  RunText(const RunText&) = delete;
  RunText& operator=(const RunText&) = delete;
  ~RunText() {
    if (length_ > kInPlace) Release();
  }

  std::string_view View() const { return {Data(), length_}; }
  const char* Data() const { return length_ <= kInPlace ? bytes_ : Buffer() + kHeader; }
  LONG Length() const { return static_cast<LONG>(length_); }
  // The byte at an index, 0 outside the text.
  char At(LONG index) const {
    return index >= 0 && static_cast<std::uint32_t>(index) < length_ ? Data()[index] : '\0';
  }

  // Each returns false, with the text unchanged, when memory failed or the
  // text would not fit in 32 bits.
  bool Assign(std::string_view text);
  bool Append(std::string_view piece);
  // Keeps the first `length` bytes; never needs memory.
  void Truncate(LONG length);

 private:
  // A buffer begins with its size in bytes (this header included).
  static constexpr std::uint32_t kHeader = 8;

  char* Buffer() const {
    char* p;
    std::memcpy(&p, bytes_, sizeof p);
    return p;
  }
  static std::uint32_t SizeOf(const char* buffer) {
    std::uint32_t size;
    std::memcpy(&size, buffer, sizeof size);
    return size;
  }
  // A buffer with room for at least `length` bytes, or null.
  static char* NewBuffer(std::uint32_t length);
  // Frees the buffer (if any) and leaves the text empty.
  void Release();
  void Adopt(char* buffer, std::uint32_t length) {
    std::memcpy(bytes_, &buffer, sizeof buffer);
    length_ = length;
  }

  std::uint32_t length_ = 0;
  // In place: the bytes themselves; otherwise the first 8 hold the
  // buffer's address.
  char bytes_[kInPlace] = {};
};
