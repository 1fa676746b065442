// Socket calls of the WinSock layer: each maps its number to the descriptor
// underneath and the errno of a failure to the WinSock code.
#include <cstring>

#include "posix_backend.h"
#include "socket_table.h"
#include "win/winsock.h"

namespace winsock {
namespace {

int failWith(int error) {
  winsock_table::setLastError(error);
  return SOCKET_ERROR;
}

int failErrno(int err) { return failWith(ErrorFromErrno(err)); }

// The descriptor of an open socket of a started layer; -1 with the error
// set otherwise.
int descriptor(SOCKET s, winsock_table::Entry* entry = nullptr) {
  if (!winsock_table::started()) {
    winsock_table::setLastError(WSANOTINITIALISED);
    return -1;
  }
  winsock_table::Entry e;
  if (!winsock_table::find(s, &e)) {
    winsock_table::setLastError(WSAENOTSOCK);
    return -1;
  }
  if (entry) *entry = e;
  return e.fd;
}

// An IPv4 address argument: false (WSAEFAULT or WSAEAFNOSUPPORT set) when
// it is none.
bool v4Argument(const sockaddr* address, int length, std::uint32_t* host, std::uint16_t* port) {
  if (!address || length < static_cast<int>(sizeof(sockaddr_in))) {
    winsock_table::setLastError(WSAEFAULT);
    return false;
  }
  sockaddr_in a;
  std::memcpy(&a, address, sizeof a);
  if (a.sin_family != AF_INET) {
    winsock_table::setLastError(WSAEAFNOSUPPORT);
    return false;
  }
  *host = a.sin_addr.s_addr;
  *port = a.sin_port;
  return true;
}

// Fills an address result; false (WSAEFAULT) when the caller's room is too
// small.
bool v4Result(std::uint32_t host, std::uint16_t port, sockaddr* address, int* length) {
  if (!address || !length) return true;  // accept() may be given none
  if (*length < static_cast<int>(sizeof(sockaddr_in))) {
    winsock_table::setLastError(WSAEFAULT);
    return false;
  }
  sockaddr_in a;
  std::memset(&a, 0, sizeof a);
  a.sin_family = AF_INET;
  a.sin_port = port;
  a.sin_addr.s_addr = host;
  std::memcpy(address, &a, sizeof a);
  *length = sizeof a;
  return true;
}

bool optionOf(int level, int name, winsock_posix::Option* out) {
  using winsock_posix::Option;
  if (level == IPPROTO_TCP) {
    if (name != TCP_NODELAY) return false;
    *out = Option::kNoDelay;
    return true;
  }
  if (level != SOL_SOCKET) return false;
  switch (name) {
    case SO_REUSEADDR: *out = Option::kReuseAddress; return true;
    case SO_KEEPALIVE: *out = Option::kKeepAlive; return true;
    case SO_DEBUG: *out = Option::kDebug; return true;
    case SO_DONTROUTE: *out = Option::kDontRoute; return true;
    case SO_BROADCAST: *out = Option::kBroadcast; return true;
    case SO_OOBINLINE: *out = Option::kOobInline; return true;
    case SO_SNDBUF: *out = Option::kSendBuffer; return true;
    case SO_RCVBUF: *out = Option::kReceiveBuffer; return true;
    case SO_RCVLOWAT: *out = Option::kReceiveLowWater; return true;
    case SO_ERROR: *out = Option::kError; return true;
    case SO_TYPE: *out = Option::kType; return true;
    case SO_ACCEPTCONN: *out = Option::kAcceptConn; return true;
    default: return false;
  }
}

}  // namespace

SOCKET socket(int family, int type, int protocol) {
  if (!winsock_table::started()) {
    winsock_table::setLastError(WSANOTINITIALISED);
    return INVALID_SOCKET;
  }
  if (family != AF_INET) {
    winsock_table::setLastError(WSAEAFNOSUPPORT);
    return INVALID_SOCKET;
  }
  // The client speaks TCP only.
  if (type != SOCK_STREAM || (protocol != 0 && protocol != IPPROTO_TCP)) {
    winsock_table::setLastError(type != SOCK_STREAM ? WSAESOCKTNOSUPPORT : WSAEPROTONOSUPPORT);
    return INVALID_SOCKET;
  }
  int err = 0;
  const int fd = winsock_posix::openStream(&err);
  if (fd < 0) {
    failErrno(err);
    return INVALID_SOCKET;
  }
  const SOCKET s = winsock_table::add(fd, false);
  if (s == 0) {
    winsock_posix::closeFd(fd);
    winsock_table::setLastError(WSAEMFILE);
    return INVALID_SOCKET;
  }
  return s;
}

int bind(SOCKET s, const sockaddr* address, int length) {
  const int fd = descriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  std::uint32_t host;
  std::uint16_t port;
  if (!v4Argument(address, length, &host, &port)) return SOCKET_ERROR;
  int err = 0;
  if (winsock_posix::bindV4(fd, host, port, &err) < 0) return failErrno(err);
  return 0;
}

int listen(SOCKET s, int backlog) {
  const int fd = descriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  // WinSock 1.1 keeps the backlog between 1 and SOMAXCONN.
  const int b = backlog < 1 ? 1 : (backlog > SOMAXCONN ? SOMAXCONN : backlog);
  int err = 0;
  if (winsock_posix::listenFd(fd, b, &err) < 0) return failErrno(err);
  return 0;
}

SOCKET accept(SOCKET s, sockaddr* address, int* length) {
  winsock_table::Entry e;
  const int fd = descriptor(s, &e);
  if (fd < 0) return INVALID_SOCKET;
  if (address && (!length || *length < static_cast<int>(sizeof(sockaddr_in)))) {
    winsock_table::setLastError(WSAEFAULT);
    return INVALID_SOCKET;
  }
  int err = 0;
  std::uint32_t host = 0;
  std::uint16_t port = 0;
  const int n = winsock_posix::acceptV4(fd, e.nonblocking, &host, &port, &err);
  if (n < 0) {
    failErrno(err);
    return INVALID_SOCKET;
  }
  const SOCKET a = winsock_table::add(n, e.nonblocking);
  if (a == 0) {
    winsock_posix::closeFd(n);
    winsock_table::setLastError(WSAEMFILE);
    return INVALID_SOCKET;
  }
  v4Result(host, port, address, length);
  return a;
}

int connect(SOCKET s, const sockaddr* address, int length) {
  const int fd = descriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  std::uint32_t host;
  std::uint16_t port;
  if (!v4Argument(address, length, &host, &port)) return SOCKET_ERROR;
  int err = 0;
  if (winsock_posix::connectV4(fd, host, port, &err) < 0) {
    const int code = ErrorFromErrno(err);
    // A non-blocking connect under way is WSAEWOULDBLOCK in WinSock.
    return failWith(code == WSAEINPROGRESS ? WSAEWOULDBLOCK : code);
  }
  return 0;
}

int send(SOCKET s, const char* buffer, int length, int flags) {
  const int fd = descriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  if (length < 0 || (!buffer && length > 0)) return failWith(WSAEFAULT);
  int err = 0;
  const long n = winsock_posix::sendFd(fd, buffer, static_cast<std::size_t>(length),
                                       (flags & MSG_OOB) != 0, &err);
  if (n < 0) return failErrno(err);
  return static_cast<int>(n);
}

int recv(SOCKET s, char* buffer, int length, int flags) {
  const int fd = descriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  if (length < 0 || (!buffer && length > 0)) return failWith(WSAEFAULT);
  int err = 0;
  const long n = winsock_posix::recvFd(fd, buffer, static_cast<std::size_t>(length),
                                       (flags & MSG_PEEK) != 0, (flags & MSG_OOB) != 0, &err);
  if (n < 0) return failErrno(err);
  return static_cast<int>(n);
}

int shutdown(SOCKET s, int how) {
  const int fd = descriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  if (how < SD_RECEIVE || how > SD_BOTH) return failWith(WSAEINVAL);
  int err = 0;
  if (winsock_posix::shutdownFd(fd, how, &err) < 0) return failErrno(err);
  return 0;
}

int closesocket(SOCKET s) {
  if (!winsock_table::started()) return failWith(WSANOTINITIALISED);
  int fd = -1;
  if (!winsock_table::remove(s, &fd)) return failWith(WSAENOTSOCK);
  winsock_posix::closeFd(fd);
  return 0;
}

int getsockname(SOCKET s, sockaddr* address, int* length) {
  const int fd = descriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  if (!address || !length) return failWith(WSAEFAULT);
  std::uint32_t host;
  std::uint16_t port;
  int err = 0;
  if (winsock_posix::localName(fd, &host, &port, &err) < 0) return failErrno(err);
  if (!v4Result(host, port, address, length)) return SOCKET_ERROR;
  return 0;
}

int getpeername(SOCKET s, sockaddr* address, int* length) {
  const int fd = descriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  if (!address || !length) return failWith(WSAEFAULT);
  std::uint32_t host;
  std::uint16_t port;
  int err = 0;
  if (winsock_posix::peerName(fd, &host, &port, &err) < 0) return failErrno(err);
  if (!v4Result(host, port, address, length)) return SOCKET_ERROR;
  return 0;
}

int setsockopt(SOCKET s, int level, int name, const char* value, int length) {
  const int fd = descriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  int err = 0;
  if (level == SOL_SOCKET && (name == SO_LINGER || name == SO_DONTLINGER)) {
    if (name == SO_DONTLINGER) {
      // A Boolean: true switches lingering off.
      if (!value || length < static_cast<int>(sizeof(int))) return failWith(WSAEFAULT);
      int off;
      std::memcpy(&off, value, sizeof off);
      if (winsock_posix::setLinger(fd, off == 0, 0, &err) < 0) return failErrno(err);
      return 0;
    }
    if (!value || length < static_cast<int>(sizeof(linger))) return failWith(WSAEFAULT);
    linger l;
    std::memcpy(&l, value, sizeof l);
    if (winsock_posix::setLinger(fd, l.l_onoff != 0, l.l_linger, &err) < 0) return failErrno(err);
    return 0;
  }
  winsock_posix::Option option;
  if (!optionOf(level, name, &option)) return failWith(WSAENOPROTOOPT);
  if (!value || length < 1) return failWith(WSAEFAULT);
  // WinSock takes a Boolean option from a single byte too.
  int v = 0;
  if (length >= static_cast<int>(sizeof(int))) std::memcpy(&v, value, sizeof v);
  else v = static_cast<unsigned char>(value[0]);
  if (winsock_posix::setOption(fd, option, v, &err) < 0) return failErrno(err);
  return 0;
}

int getsockopt(SOCKET s, int level, int name, char* value, int* length) {
  const int fd = descriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  if (!value || !length) return failWith(WSAEFAULT);
  int err = 0;
  if (level == SOL_SOCKET && (name == SO_LINGER || name == SO_DONTLINGER)) {
    bool on = false;
    int seconds = 0;
    if (winsock_posix::getLinger(fd, &on, &seconds, &err) < 0) return failErrno(err);
    if (name == SO_DONTLINGER) {
      if (*length < static_cast<int>(sizeof(int))) return failWith(WSAEFAULT);
      const int off = on ? 0 : 1;
      std::memcpy(value, &off, sizeof off);
      *length = sizeof off;
      return 0;
    }
    if (*length < static_cast<int>(sizeof(linger))) return failWith(WSAEFAULT);
    linger l;
    l.l_onoff = on ? 1 : 0;
    l.l_linger = static_cast<u_short>(seconds);
    std::memcpy(value, &l, sizeof l);
    *length = sizeof l;
    return 0;
  }
  winsock_posix::Option option;
  if (!optionOf(level, name, &option)) return failWith(WSAENOPROTOOPT);
  if (*length < static_cast<int>(sizeof(int))) return failWith(WSAEFAULT);
  int v = 0;
  if (winsock_posix::getOption(fd, option, &v, &err) < 0) return failErrno(err);
  if (option == winsock_posix::Option::kError) v = ErrorFromErrno(v);
  else if (option == winsock_posix::Option::kReuseAddress ||
           option == winsock_posix::Option::kKeepAlive ||
           option == winsock_posix::Option::kNoDelay)
    v = v ? 1 : 0;
  std::memcpy(value, &v, sizeof v);
  *length = sizeof v;
  return 0;
}

int ioctlsocket(SOCKET s, LONG command, u_long* arg) {
  const int fd = descriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  if (!arg) return failWith(WSAEFAULT);
  int err = 0;
  if (command == FIONBIO) {
    const bool on = *arg != 0;
    if (winsock_posix::setNonblocking(fd, on, &err) < 0) return failErrno(err);
    winsock_table::setNonblocking(s, on);
    return 0;
  }
  if (command == FIONREAD) {
    int n = 0;
    if (winsock_posix::bytesReadable(fd, &n, &err) < 0) return failErrno(err);
    *arg = static_cast<u_long>(n < 0 ? 0 : n);
    return 0;
  }
  return failWith(WSAEINVAL);
}

int SetSocketLimitForTesting(int count) { return winsock_table::setLimit(count); }

int OpenSocketCount() { return winsock_table::openCount(); }

}  // namespace winsock
