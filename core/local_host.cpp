#include "core/local_host.h"

#include <unistd.h>

#include <cstring>

LocalHostName::LocalHostName(HostNameQuery query) : query_(query) {}

const char* LocalHostName::get() {
  if (known_ || !query_) return buffer_;
  if (query_(buffer_, sizeof buffer_) != 0) {
    std::memset(buffer_, 0, sizeof buffer_);
    return buffer_;
  }
  // A name as long as the buffer comes back without its NUL.
  buffer_[sizeof buffer_ - 1] = '\0';
  known_ = true;
  return buffer_;
}

const char* localHostName() {
  static LocalHostName name([](char* buffer, std::size_t size) { return gethostname(buffer, size); });
  return name.get();
}
