#include "posix_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>

namespace sender_test {

Server::Server(int port, Mode mode) {
  thread_ = std::thread([this, port, mode] { run(port, mode); });
}

Server::~Server() { join(); }

void Server::join() {
  if (thread_.joinable()) thread_.join();
}

void Server::run(int port, Mode mode) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return;
  if (mode == Mode::kSlowRead) {
    const int small = 4096;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
  }
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<std::uint16_t>(port));
  if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    ::close(fd);
    return;
  }
  if (mode == Mode::kCloseAtOnce) {
    ::close(fd);
    return;
  }
  if (mode == Mode::kSpeakFirst) (void)!::write(fd, "?", 1);
  char buf[65536];
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 10000) <= 0) break;
    const size_t want = mode == Mode::kSlowRead ? 1000 : sizeof buf;
    const ssize_t n = ::read(fd, buf, want);
    if (n <= 0) break;
    bytes_.append(buf, static_cast<size_t>(n));
    if (mode == Mode::kSlowRead && bytes_.size() % 50000 < 1000)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ::close(fd);
}

PortBlocker::PortBlocker() {
  fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_ANY);
  if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      ::listen(fd_, 1) != 0)
    return;
  socklen_t n = sizeof a;
  if (::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &n) == 0) port_ = ntohs(a.sin_port);
}

PortBlocker::~PortBlocker() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace sender_test
