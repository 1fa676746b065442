// The sockets of our WinSock layer: numbers of our own mapped to the
// descriptors underneath, the start-up count and the last error. Internal
// to platform/winsock.
#pragma once

#include <cstdint>

namespace winsock_table {

struct Entry {
  int fd = -1;
  bool nonblocking = false;
};

// The last error of this thread.
int lastError();
void setLastError(int error);

// Start-up count.
bool started();
void addStart();
// False when it was not started; closes every socket when the count
// reaches 0.
bool dropStart();

// A new number for the descriptor (the lowest free one from 1); 0 when the
// limit is reached.
std::uint32_t add(int fd, bool nonblocking);
// The entry of a number; false when it is not open.
bool find(std::uint32_t s, Entry* out);
bool setNonblocking(std::uint32_t s, bool on);
// Takes the number out; its descriptor in *fd. False when it is not open.
bool remove(std::uint32_t s, int* fd);
int openCount();
int setLimit(int count);  // negative: the normal limit; returns the old one

}  // namespace winsock_table
