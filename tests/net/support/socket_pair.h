// A connected pair of loopback sockets of our WinSock layer, for tests that
// play the server side byte by byte. WinSock is started for the pair's
// lifetime.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "win/winsock.h"

namespace testing_support {

class SocketPair {
 public:
  SocketPair() {
    winsock::WSADATA data;
    started_ = winsock::WSAStartup(MAKEWORD(1, 1), &data) == 0;
    const winsock::SOCKET l = winsock::socket(winsock::AF_INET, winsock::SOCK_STREAM, 0);
    winsock::sockaddr_in a{};
    a.sin_family = winsock::AF_INET;
    a.sin_addr.s_addr = winsock::htonl(winsock::INADDR_LOOPBACK);
    winsock::bind(l, reinterpret_cast<winsock::sockaddr*>(&a), sizeof a);
    winsock::listen(l, 1);
    int length = sizeof a;
    winsock::getsockname(l, reinterpret_cast<winsock::sockaddr*>(&a), &length);
    client = winsock::socket(winsock::AF_INET, winsock::SOCK_STREAM, 0);
    EXPECT_EQ(winsock::connect(client, reinterpret_cast<winsock::sockaddr*>(&a), sizeof a), 0);
    server = winsock::accept(l, nullptr, nullptr);
    EXPECT_NE(server, winsock::INVALID_SOCKET);
    winsock::closesocket(l);
  }
  ~SocketPair() {
    closeServer();
    if (client != winsock::INVALID_SOCKET) winsock::closesocket(client);
    if (started_) winsock::WSACleanup();
  }
  SocketPair(const SocketPair&) = delete;
  SocketPair& operator=(const SocketPair&) = delete;

  // The server side writes bytes as they are.
  void put(const std::string& bytes) const {
    size_t done = 0;
    while (done < bytes.size()) {
      const int n = winsock::send(server, bytes.data() + done, static_cast<int>(bytes.size() - done), 0);
      ASSERT_GT(n, 0);
      done += static_cast<size_t>(n);
    }
  }
  // What the server side has received within `ms` milliseconds, at least
  // `atLeast` bytes if they come.
  std::string take(size_t atLeast, int ms = 2000) const {
    std::string out;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (out.size() < atLeast && std::chrono::steady_clock::now() < deadline) {
      winsock::fd_set r;
      r.fd_count = 1;
      r.fd_array[0] = server;
      const winsock::timeval wait{0, 20000};
      if (winsock::select(0, &r, nullptr, nullptr, &wait) != 1) continue;
      char buf[4096];
      const int n = winsock::recv(server, buf, sizeof buf, 0);
      if (n <= 0) break;
      out.append(buf, static_cast<size_t>(n));
    }
    return out;
  }
  // Bytes waiting at the server side now.
  int waiting() const {
    winsock::u_long n = 0;
    winsock::ioctlsocket(server, winsock::FIONREAD, &n);
    return static_cast<int>(n);
  }
  void closeServer() {
    if (server != winsock::INVALID_SOCKET) winsock::closesocket(server);
    server = winsock::INVALID_SOCKET;
  }

  winsock::SOCKET client = winsock::INVALID_SOCKET;
  winsock::SOCKET server = winsock::INVALID_SOCKET;

 private:
  bool started_ = false;
};

}  // namespace testing_support
