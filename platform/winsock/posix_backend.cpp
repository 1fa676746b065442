#include "posix_backend.h"

#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <cstring>

namespace winsock_posix {
namespace {

int fail(int* err) {
  *err = errno;
  return -1;
}

sockaddr_in v4(std::uint32_t address, std::uint16_t port) {
  sockaddr_in a;
  std::memset(&a, 0, sizeof a);
  a.sin_family = AF_INET;
  a.sin_port = port;
  a.sin_addr.s_addr = address;
  return a;
}

bool optionName(Option option, int* level, int* name) {
  *level = SOL_SOCKET;
  switch (option) {
    case Option::kReuseAddress: *name = SO_REUSEADDR; return true;
    case Option::kKeepAlive: *name = SO_KEEPALIVE; return true;
    case Option::kDebug: *name = SO_DEBUG; return true;
    case Option::kDontRoute: *name = SO_DONTROUTE; return true;
    case Option::kBroadcast: *name = SO_BROADCAST; return true;
    case Option::kOobInline: *name = SO_OOBINLINE; return true;
    case Option::kSendBuffer: *name = SO_SNDBUF; return true;
    case Option::kReceiveBuffer: *name = SO_RCVBUF; return true;
    case Option::kReceiveLowWater: *name = SO_RCVLOWAT; return true;
    case Option::kError: *name = SO_ERROR; return true;
    case Option::kType: *name = SO_TYPE; return true;
    case Option::kAcceptConn: *name = SO_ACCEPTCONN; return true;
    case Option::kNoDelay:
      *level = IPPROTO_TCP;
      *name = TCP_NODELAY;
      return true;
  }
  return false;
}

}  // namespace

int openStream(int* err) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return fail(err);
#ifdef SO_NOSIGPIPE
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof on);
#endif
  return fd;
}

int closeFd(int fd) { return ::close(fd); }

int bindV4(int fd, std::uint32_t address, std::uint16_t port, int* err) {
  const sockaddr_in a = v4(address, port);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) < 0) return fail(err);
  return 0;
}

int listenFd(int fd, int backlog, int* err) {
  if (::listen(fd, backlog) < 0) return fail(err);
  return 0;
}

int acceptV4(int fd, bool nonblocking, std::uint32_t* address, std::uint16_t* port, int* err) {
  sockaddr_in a;
  socklen_t length = sizeof a;
  int fl = SOCK_CLOEXEC | (nonblocking ? SOCK_NONBLOCK : 0);
  int s;
  do {
    s = ::accept4(fd, reinterpret_cast<sockaddr*>(&a), &length, fl);
  } while (s < 0 && errno == EINTR);
  if (s < 0) return fail(err);
#ifdef SO_NOSIGPIPE
  const int on = 1;
  ::setsockopt(s, SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof on);
#endif
  *address = a.sin_addr.s_addr;
  *port = a.sin_port;
  return s;
}

int connectV4(int fd, std::uint32_t address, std::uint16_t port, int* err) {
  const sockaddr_in a = v4(address, port);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) return 0;
  if (errno != EINTR) return fail(err);
  // An interrupted connect goes on by itself: wait until it is decided.
  pollfd p{fd, POLLOUT, 0};
  while (::poll(&p, 1, -1) < 0) {
    if (errno != EINTR) return fail(err);
  }
  int so = 0;
  socklen_t length = sizeof so;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &so, &length) < 0) return fail(err);
  if (so != 0) {
    *err = so;
    return -1;
  }
  return 0;
}

long sendFd(int fd, const char* buffer, std::size_t length, bool oob, int* err) {
  ssize_t n;
  do {
    n = ::send(fd, buffer, length, MSG_NOSIGNAL | (oob ? MSG_OOB : 0));
  } while (n < 0 && errno == EINTR);
  if (n < 0) return fail(err);
  return static_cast<long>(n);
}

long recvFd(int fd, char* buffer, std::size_t length, bool peek, bool oob, int* err) {
  ssize_t n;
  do {
    n = ::recv(fd, buffer, length, (peek ? MSG_PEEK : 0) | (oob ? MSG_OOB : 0));
  } while (n < 0 && errno == EINTR);
  if (n < 0) return fail(err);
  return static_cast<long>(n);
}

int shutdownFd(int fd, int how, int* err) {
  const int h = how == 0 ? SHUT_RD : how == 1 ? SHUT_WR : SHUT_RDWR;
  if (::shutdown(fd, h) < 0) return fail(err);
  return 0;
}

int setNonblocking(int fd, bool on, int* err) {
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0) return fail(err);
  const int wanted = on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
  if (wanted != flags && ::fcntl(fd, F_SETFL, wanted) < 0) return fail(err);
  return 0;
}

int bytesReadable(int fd, int* count, int* err) {
  int n = 0;
  if (::ioctl(fd, FIONREAD, &n) < 0) return fail(err);
  *count = n;
  return 0;
}

int localName(int fd, std::uint32_t* address, std::uint16_t* port, int* err) {
  sockaddr_in a;
  socklen_t length = sizeof a;
  if (::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) < 0) return fail(err);
  *address = a.sin_addr.s_addr;
  *port = a.sin_port;
  return 0;
}

int peerName(int fd, std::uint32_t* address, std::uint16_t* port, int* err) {
  sockaddr_in a;
  socklen_t length = sizeof a;
  if (::getpeername(fd, reinterpret_cast<sockaddr*>(&a), &length) < 0) return fail(err);
  *address = a.sin_addr.s_addr;
  *port = a.sin_port;
  return 0;
}

int setOption(int fd, Option option, int value, int* err) {
  int level, name;
  if (!optionName(option, &level, &name)) {
    *err = ENOPROTOOPT;
    return -1;
  }
  if (::setsockopt(fd, level, name, &value, sizeof value) < 0) return fail(err);
  return 0;
}

int getOption(int fd, Option option, int* value, int* err) {
  int level, name;
  if (!optionName(option, &level, &name)) {
    *err = ENOPROTOOPT;
    return -1;
  }
  socklen_t length = sizeof *value;
  if (::getsockopt(fd, level, name, value, &length) < 0) return fail(err);
  if (option == Option::kType) *value = *value == SOCK_STREAM ? 1 : 2;
  return 0;
}

int setLinger(int fd, bool on, int seconds, int* err) {
  struct linger l;
  l.l_onoff = on ? 1 : 0;
  l.l_linger = seconds;
  if (::setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l) < 0) return fail(err);
  return 0;
}

int getLinger(int fd, bool* on, int* seconds, int* err) {
  struct linger l;
  socklen_t length = sizeof l;
  if (::getsockopt(fd, SOL_SOCKET, SO_LINGER, &l, &length) < 0) return fail(err);
  *on = l.l_onoff != 0;
  *seconds = l.l_linger;
  return 0;
}

int pollFds(std::vector<PollItem>& items, long seconds, long microseconds, int* err) {
  std::vector<pollfd> fds(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    fds[i].fd = items[i].fd;
    fds[i].events = static_cast<short>((items[i].wantRead ? POLLIN : 0) |
                                       (items[i].wantWrite ? POLLOUT : 0) |
                                       (items[i].wantExcept ? POLLPRI : 0));
    fds[i].revents = 0;
  }
  timespec limit{seconds, microseconds * 1000};
  const int n = ::ppoll(fds.data(), fds.size(), seconds < 0 ? nullptr : &limit, nullptr);
  if (n < 0) return fail(err);
  int ready = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const short r = fds[i].revents;
    // The end of the stream and a reset make a socket readable (recv then
    // tells which); a failed connection shows as an exception.
    items[i].read = items[i].wantRead && (r & (POLLIN | POLLHUP | POLLERR));
    items[i].write = items[i].wantWrite && (r & (POLLOUT | POLLERR | POLLHUP));
    items[i].except = items[i].wantExcept && (r & (POLLPRI | POLLERR));
    ready += items[i].read + items[i].write + items[i].except;
  }
  return ready;
}

int hostName(char* buffer, std::size_t size, int* err) {
  if (::gethostname(buffer, size) < 0) return fail(err);
  return 0;
}

Lookup resolveV4(const char* name, std::vector<std::uint32_t>& addresses, std::string& canonical) {
  addrinfo hints;
  std::memset(&hints, 0, sizeof hints);
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_CANONNAME;
  addrinfo* list = nullptr;
  const int rc = ::getaddrinfo(name, nullptr, &hints, &list);
  switch (rc) {
    case 0: break;
    case EAI_AGAIN: return Lookup::kTryAgain;
#ifdef EAI_NODATA
    case EAI_NODATA: return Lookup::kNoData;
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY: return Lookup::kNoData;
#endif
    case EAI_NONAME: return Lookup::kNotFound;
    case EAI_FAIL: return Lookup::kNoRecovery;
    default: return Lookup::kNoRecovery;
  }
  addresses.clear();
  canonical.clear();
  for (addrinfo* p = list; p; p = p->ai_next) {
    if (p->ai_canonname && canonical.empty()) canonical = p->ai_canonname;
    if (p->ai_family != AF_INET || !p->ai_addr) continue;
    const std::uint32_t a = reinterpret_cast<const sockaddr_in*>(p->ai_addr)->sin_addr.s_addr;
    bool seen = false;
    for (std::uint32_t b : addresses) seen = seen || a == b;
    if (!seen) addresses.push_back(a);
  }
  ::freeaddrinfo(list);
  return addresses.empty() ? Lookup::kNoData : Lookup::kFound;
}

}  // namespace winsock_posix
