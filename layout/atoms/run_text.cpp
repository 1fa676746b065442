#include "layout/atoms/run_text.h"

#include <limits>

#include "text/atom/atom_pool.h"

namespace {

constexpr std::uint32_t kMost = std::numeric_limits<std::uint32_t>::max() - 64;

}  // namespace

char* RunText::NewBuffer(std::uint32_t length) {
  if (length > kMost) return nullptr;
  // Powers of two from 32 bytes: a word grown piece by piece moves
  // seldom, and the sizes fall on the pool's size classes.
  std::uint64_t size = 32;
  while (size < std::uint64_t{length} + kHeader) size <<= 1;
  if (size > kMost) size = std::uint64_t{length} + kHeader;
  auto* buffer = static_cast<char*>(AtomPool::Allocate(size));
  if (!buffer) return nullptr;
  const auto stored = static_cast<std::uint32_t>(size);
  std::memcpy(buffer, &stored, sizeof stored);
  return buffer;
}

void RunText::Release() {
  if (length_ > kInPlace) {
    char* buffer = Buffer();
    AtomPool::Free(buffer, SizeOf(buffer));
  }
  length_ = 0;
}

bool RunText::Assign(std::string_view text) {
  if (text.size() > kMost) return false;
  const auto length = static_cast<std::uint32_t>(text.size());
  if (length <= kInPlace) {
    char copy[kInPlace];
    if (length) std::memcpy(copy, text.data(), length);  // the text may be this run's own
    Release();
    if (length) std::memcpy(bytes_, copy, length);
    length_ = length;
    return true;
  }
  char* buffer = NewBuffer(length);
  if (!buffer) return false;
  std::memcpy(buffer + kHeader, text.data(), length);
  Release();
  Adopt(buffer, length);
  return true;
}

bool RunText::Append(std::string_view piece) {
  if (piece.empty()) return true;
  if (piece.size() > kMost - length_) return false;
  const auto length = static_cast<std::uint32_t>(length_ + piece.size());
  if (length <= kInPlace) {
    std::memmove(bytes_ + length_, piece.data(), piece.size());
    length_ = length;
    return true;
  }
  if (length_ > kInPlace && length + kHeader <= SizeOf(Buffer())) {
    std::memmove(Buffer() + kHeader + length_, piece.data(), piece.size());
    length_ = length;
    return true;
  }
  char* buffer = NewBuffer(length);
  if (!buffer) return false;
  std::memcpy(buffer + kHeader, Data(), length_);
  std::memcpy(buffer + kHeader + length_, piece.data(), piece.size());
  Release();
  Adopt(buffer, length);
  return true;
}

void RunText::Truncate(LONG length) {
  if (length < 0 || static_cast<std::uint32_t>(length) >= length_) return;
  const auto kept = static_cast<std::uint32_t>(length);
  if (length_ > kInPlace && kept <= kInPlace) {
    char* buffer = Buffer();
    std::memcpy(bytes_, buffer + kHeader, kept);
    AtomPool::Free(buffer, SizeOf(buffer));
  }
  length_ = kept;
}
