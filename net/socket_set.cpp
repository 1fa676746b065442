#include "net/socket_set.h"

bool SocketSet::add(int socket) {
  if (full()) return false;
  set_.fd_array[set_.fd_count++] = static_cast<winsock::SOCKET>(socket);
  return true;
}

bool SocketSet::remove(int socket) {
  const int n = count();
  for (int i = 0; i < n; ++i) {
    if (at(i) != socket) continue;
    for (int k = i + 1; k < n; ++k) set_.fd_array[k - 1] = set_.fd_array[k];
    --set_.fd_count;
    return true;
  }
  return false;
}

bool SocketSet::contains(int socket) const {
  return winsock::FdIsSet(static_cast<winsock::SOCKET>(socket), &set_) != 0;
}
