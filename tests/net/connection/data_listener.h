// A plain listening socket on the loopback interface that takes the data
// connections the peer opens back to the client, or that serves an upload.
// (Header only: the test folders compile *_test.cpp.)
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <thread>

namespace net_test {

class DataListener {
 public:
  DataListener() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd_, 5) != 0) return;
    socklen_t n = sizeof a;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &n);
    port_ = ntohs(a.sin_port);
  }
  ~DataListener() {
    if (server_.joinable()) server_.join();
    if (fd_ >= 0) ::close(fd_);
  }
  int port() const { return port_; }

  // Accepts one connection (waiting at most `ms`) and reads it to its end.
  std::string receive(int ms = 5000) {
    int c = acceptOne(ms);
    if (c < 0) return "<no connection>";
    std::string out;
    char buf[4096];
    for (;;) {
      pollfd p{c, POLLIN, 0};
      if (::poll(&p, 1, ms) <= 0) break;
      ssize_t r = ::read(c, buf, sizeof buf);
      if (r <= 0) break;
      out.append(buf, static_cast<size_t>(r));
    }
    ::close(c);
    return out;
  }

  // In the background: accepts one connection, writes `bytes`, closes.
  void serve(const std::string& bytes) {
    server_ = std::thread([this, bytes] {
      int c = acceptOne(10000);
      if (c < 0) return;
      (void)!::write(c, bytes.data(), bytes.size());
      ::close(c);
    });
  }

 private:
  int acceptOne(int ms) {
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, ms) <= 0) return -1;
    return ::accept(fd_, nullptr, nullptr);
  }

  int fd_ = -1;
  int port_ = 0;
  std::thread server_;
};

}  // namespace net_test
