// The name of the local host, asked of the system once and kept.
#pragma once

#include <cstddef>

// How the name is asked for: gethostname's contract (0 on success; the name
// may fill the buffer without a terminating NUL when it is too long).
using HostNameQuery = int (*)(char* buffer, std::size_t size);

class LocalHostName {
 public:
  static constexpr std::size_t kBufferSize = 100;

  explicit LocalHostName(HostNameQuery query);

  // The name, at most kBufferSize - 1 characters and always terminated. The
  // first successful answer is kept; after a failed one the name is empty
  // and the system is asked again on the next call.
  const char* get();

 private:
  HostNameQuery query_;
  char buffer_[kBufferSize] = {};
  bool known_ = false;
};

// The program's local host name (by gethostname).
const char* localHostName();
