// select() over our socket numbers, by poll() on the descriptors.
#include <vector>

#include "posix_backend.h"
#include "socket_table.h"
#include "win/winsock.h"
#include "win/winsock_wait.h"

namespace winsock {
namespace {

int failWith(int error) {
  winsock_table::setLastError(error);
  return SOCKET_ERROR;
}

struct Watched {
  SOCKET s;
  std::size_t item;  // index into the poll items
};

// Adds the sockets of one set to the poll items (one item per socket);
// false when a number is not open.
bool collect(fd_set* set, int kind, std::vector<SOCKET>& sockets,
             std::vector<winsock_posix::PollItem>& items) {
  if (!set) return true;
  const u_int n = set->fd_count < kFdSetSize ? set->fd_count : kFdSetSize;
  for (u_int i = 0; i < n; ++i) {
    const SOCKET s = set->fd_array[i];
    winsock_table::Entry e;
    if (!winsock_table::find(s, &e)) return false;
    std::size_t at = 0;
    while (at < sockets.size() && sockets[at] != s) ++at;
    if (at == sockets.size()) {
      sockets.push_back(s);
      items.push_back(winsock_posix::PollItem{e.fd, false, false, false, false, false, false});
    }
    if (kind == 0) items[at].wantRead = true;
    if (kind == 1) items[at].wantWrite = true;
    if (kind == 2) items[at].wantExcept = true;
  }
  return true;
}

// Leaves in the set the sockets that are ready for the kind; their count.
int keepReady(fd_set* set, int kind, const std::vector<SOCKET>& sockets,
              const std::vector<winsock_posix::PollItem>& items) {
  if (!set) return 0;
  const u_int n = set->fd_count < kFdSetSize ? set->fd_count : kFdSetSize;
  u_int kept = 0;
  for (u_int i = 0; i < n; ++i) {
    const SOCKET s = set->fd_array[i];
    std::size_t at = 0;
    while (at < sockets.size() && sockets[at] != s) ++at;
    if (at == sockets.size()) continue;
    const bool ready = kind == 0 ? items[at].read : kind == 1 ? items[at].write : items[at].except;
    bool already = false;
    for (u_int k = 0; k < kept; ++k) already = already || set->fd_array[k] == s;
    if (ready && !already) set->fd_array[kept++] = s;
  }
  set->fd_count = kept;
  return static_cast<int>(kept);
}

// One wait of select(): the poll items of the three sets (one item per
// socket) and the time in poll()'s terms.
struct SelectWait {
  std::vector<SOCKET> sockets;
  std::vector<winsock_posix::PollItem> items;
  long seconds = -1;  // -1: no limit
  long micro = 0;
};

// Fills the wait from the sets and the time; 0, or the WinSock error that
// refuses the call.
int planWait(fd_set* readfds, fd_set* writefds, fd_set* exceptfds, const timeval* timeout,
             SelectWait& wait) {
  if (timeout) {
    if (timeout->tv_sec < 0 || timeout->tv_usec < 0) return WSAEINVAL;
    wait.seconds = timeout->tv_sec + timeout->tv_usec / 1000000;
    wait.micro = timeout->tv_usec % 1000000;
  }
  if (!collect(readfds, 0, wait.sockets, wait.items) || !collect(writefds, 1, wait.sockets, wait.items) ||
      !collect(exceptfds, 2, wait.sockets, wait.items))
    return WSAEBADF;
  return 0;
}

// Polls, then leaves in the sets the sockets that are ready: their count,
// or SOCKET_ERROR.
int pollAndKeepReady(fd_set* readfds, fd_set* writefds, fd_set* exceptfds, SelectWait& wait) {
  int err = 0;
  if (winsock_posix::pollFds(wait.items, wait.seconds, wait.micro, &err) < 0)
    return failWith(ErrorFromErrno(err));
  return keepReady(readfds, 0, wait.sockets, wait.items) + keepReady(writefds, 1, wait.sockets, wait.items) +
         keepReady(exceptfds, 2, wait.sockets, wait.items);
}

}  // namespace

int select(int, fd_set* readfds, fd_set* writefds, fd_set* exceptfds, const timeval* timeout) {
  if (!winsock_table::started()) return failWith(WSANOTINITIALISED);
  SelectWait wait;
  if (const int error = planWait(readfds, writefds, exceptfds, timeout, wait)) return failWith(error);
  if (wait.sockets.empty()) return failWith(WSAEINVAL);
  return pollAndKeepReady(readfds, writefds, exceptfds, wait);
}

int SelectWithDescriptor(fd_set* readfds, fd_set* writefds, fd_set* exceptfds,
                         const timeval* timeout, int descriptor, bool* descriptorReady) {
  if (descriptorReady) *descriptorReady = false;
  const bool anySocket = (readfds && readfds->fd_count) || (writefds && writefds->fd_count) ||
                         (exceptfds && exceptfds->fd_count);
  // Without sockets the wait needs nothing of WinSock.
  if (anySocket && !winsock_table::started()) return failWith(WSANOTINITIALISED);
  SelectWait wait;
  if (const int error = planWait(readfds, writefds, exceptfds, timeout, wait)) return failWith(error);
  const std::size_t descriptorItem = wait.items.size();
  if (descriptor >= 0)
    wait.items.push_back(winsock_posix::PollItem{descriptor, true, false, false, false, false, false});
  const int n = pollAndKeepReady(readfds, writefds, exceptfds, wait);
  if (n != SOCKET_ERROR && descriptor >= 0 && descriptorReady) *descriptorReady = wait.items[descriptorItem].read;
  return n;
}

int FdIsSet(SOCKET s, const fd_set* set) {
  if (!set) return 0;
  const u_int n = set->fd_count < kFdSetSize ? set->fd_count : kFdSetSize;
  for (u_int i = 0; i < n; ++i)
    if (set->fd_array[i] == s) return 1;
  return 0;
}

void FdSetAdd(SOCKET s, fd_set* set) {
  if (!set || FdIsSet(s, set) || set->fd_count >= kFdSetSize) return;
  set->fd_array[set->fd_count++] = s;
}

void FdSetRemove(SOCKET s, fd_set* set) {
  if (!set) return;
  const u_int n = set->fd_count < kFdSetSize ? set->fd_count : kFdSetSize;
  for (u_int i = 0; i < n; ++i) {
    if (set->fd_array[i] != s) continue;
    for (u_int k = i + 1; k < n; ++k) set->fd_array[k - 1] = set->fd_array[k];
    set->fd_count = n - 1;
    return;
  }
}

}  // namespace winsock
