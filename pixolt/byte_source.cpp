#include "byte_source.h"

#include <algorithm>
#include <cstring>

namespace pixolt {

std::size_t FileSource::Read(void* out, std::size_t n) {
  auto* dst = static_cast<std::uint8_t*>(out);
  std::size_t done = 0;
  // _lread counts in UINT; large reads go in pieces.
  while (done < n) {
    UINT piece = static_cast<UINT>(std::min<std::size_t>(n - done, 1u << 30));
    UINT got = _lread(file_, dst + done, piece);
    if (got == static_cast<UINT>(HFILE_ERROR) || got == 0) break;
    done += got;
    if (got < piece) break;
  }
  return done;
}

bool FileSource::Seek(std::uint64_t position) {
  if (position > 0x7fffffffu) return false;
  return _llseek(file_, static_cast<LONG>(position), 0) == static_cast<LONG>(position);
}

std::size_t MemorySource::Read(void* out, std::size_t n) {
  if (position_ >= size_) return 0;
  std::uint64_t left = size_ - position_;
  std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(n, left));
  std::memcpy(out, image_ + position_, count);
  position_ += count;
  return count;
}

bool MemorySource::Seek(std::uint64_t position) {
  position_ = position;
  return true;
}

}  // namespace pixolt
