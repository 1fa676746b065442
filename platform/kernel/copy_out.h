// Copying a result text into a caller's buffer with the Windows rules of the
// "size needed" functions. Internal to the platform layer.
#pragma once

#include <cstring>
#include <string>

#include "win/types.h"

namespace win::detail {

// When the text and its NUL fit: copies them and returns the length. When
// not: returns the size needed, NUL included, and leaves an empty string in
// the buffer (when it has room for one) so that a caller who does not check
// the result reads nothing stale.
inline DWORD CopyOutOrNeeded(const std::string& text, LPSTR buffer, DWORD size) {
  if (buffer && text.size() < size) {
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
  }
  if (buffer && size > 0) buffer[0] = '\0';
  return static_cast<DWORD>(text.size() + 1);
}

// Copies at most size - 1 characters and a NUL; returns the number copied.
inline DWORD CopyOutCut(const std::string& text, LPSTR buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  size_t n = text.size() < size ? text.size() : size - 1;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<DWORD>(n);
}

}  // namespace win::detail
