// A set of socket numbers in WinSock's layout (a count and room for 64
// numbers), as select() takes it. The dispatcher works with at most 20
// sockets per set.
#pragma once

#include "win/winsock.h"

class SocketSet {
 public:
  static constexpr int kWorkingLimit = 20;

  SocketSet() { set_.fd_count = 0; }

  // Adds the socket (again, when it is already there). False, with the set
  // unchanged, when it already holds kWorkingLimit sockets.
  bool add(int socket);
  // Takes out the first occurrence and moves the rest down; false when the
  // socket is not there.
  bool remove(int socket);
  bool contains(int socket) const;
  int count() const { return static_cast<int>(set_.fd_count); }
  bool empty() const { return set_.fd_count == 0; }
  bool full() const { return count() >= kWorkingLimit; }
  void clear() { set_.fd_count = 0; }
  // The i-th socket, 0 <= i < count().
  int at(int i) const { return static_cast<int>(set_.fd_array[i]); }

  winsock::fd_set* raw() { return &set_; }
  const winsock::fd_set* raw() const { return &set_; }

 private:
  winsock::fd_set set_;
};
