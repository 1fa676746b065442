// The least a client of the reference peer can do: a blocking loop over a
// raw socket that speaks the binary little-endian form of the control
// connection, with no window system, no dispatcher and no parsing beyond
// the framing. What it reaches is the peer's own ceiling, against which the
// client's figures are set.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace bench_support {

class MinimalClient {
 public:
  static constexpr std::uint32_t kHello = 25;
  static constexpr std::uint32_t kRecord = 7;
  static constexpr std::uint32_t kContent = 36;
  static constexpr std::uint32_t kVersion = 717;
  // In the hello's id beside the version: the peer is asked to compress
  // the large parts of its replies.
  static constexpr std::uint32_t kCompressBit = 0x40000000;

  // With `compressed`, the hello asks for compressed replies; the client
  // reads them as bytes and expands nothing.
  explicit MinimalClient(int port, bool compressed = false) {
    fd_ = connectTo(port);
    if (fd_ < 0) return;
    if (!handshake(compressed)) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~MinimalClient() {
    if (fd_ >= 0) ::close(fd_);
  }
  MinimalClient(const MinimalClient&) = delete;
  MinimalClient& operator=(const MinimalClient&) = delete;

  bool ok() const { return fd_ >= 0; }

  // One request with one integer argument, and its reply (server messages
  // in between are skipped). False when the connection failed.
  bool roundTrip(std::uint32_t code, std::uint32_t argument) {
    std::string arg(4, '\0');
    std::memcpy(arg.data(), &argument, 4);
    return roundTrip(code, arg);
  }

  // One request with the argument bytes given, and its reply read whole.
  bool roundTrip(std::uint32_t code, const std::string& args) {
    if (!send(++id_, code, args)) return false;
    std::uint32_t got = 0;
    std::string body;
    do {
      if (!receive(got, body)) return false;
    } while (got == kHello);
    return got == code;
  }

  // The body of an object over a data connection the peer opens to a port
  // of ours: the bytes after the KXHDR header, or -1 when it failed. With a
  // descriptor `sink` the body is written there as it comes. Each read of
  // the socket asks for `readSize` bytes, as a caller taking the body in
  // pieces of that size would.
  long long download(std::uint32_t object, int sink = -1, size_t readSize = 65536) {
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = loopback(0);
    socklen_t n = sizeof a;
    if (::bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(listener, 1) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&a), &n) != 0) {
      ::close(listener);
      return -1;
    }
    std::string args(8, '\0');
    const std::uint32_t port = ntohs(a.sin_port);
    std::memcpy(args.data(), &object, 4);
    std::memcpy(args.data() + 4, &port, 4);
    args += std::string("127.0.0.1", 10);  // with its terminating zero
    if (!roundTrip(kContent, args)) {
      ::close(listener);
      return -1;
    }
    const int data = ::accept(listener, nullptr, nullptr);
    ::close(listener);
    if (data < 0) return -1;
    std::vector<char> buffer(readSize < 4096 ? 4096 : readSize);
    long long total = 0;
    bool inHeader = true;
    for (;;) {
      const ssize_t got = ::recv(data, buffer.data(), buffer.size(), 0);
      if (got <= 0) break;
      ssize_t from = 0;
      if (inHeader) {
        const void* zero = std::memchr(buffer.data(), '\0', static_cast<size_t>(got));
        if (!zero) continue;  // the header goes on (it is far shorter than a read)
        from = static_cast<const char*>(zero) - buffer.data() + 1;
        inHeader = false;
      }
      if (sink >= 0 && !writeAll(sink, buffer.data() + from, static_cast<size_t>(got - from))) {
        total = -1;
        break;
      }
      total += got - from;
    }
    ::close(data);
    return total;
  }

 private:
  static sockaddr_in loopback(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    return a;
  }
  static int connectTo(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in a = loopback(port);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
      ::close(fd);
      return -1;
    }
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
  }
  // The binary form in our (little-endian) order, then the hello.
  bool handshake(bool compressed) {
    char answer = 0;
    if (!sendAll("T", 1) || !recvAll(&answer, 1) || answer != 'T') return false;
    if (!sendAll("l", 1) || !recvAll(&answer, 1) || answer != 'l') return false;
    std::uint32_t code = 0;
    std::string body;
    return send(kVersion | (compressed ? kCompressBit : 0), kHello, "") && receive(code, body) && code == kHello;
  }
  static bool writeAll(int fd, const char* p, size_t n) {
    while (n > 0) {
      const ssize_t w = ::write(fd, p, n);
      if (w <= 0) return false;
      p += w;
      n -= static_cast<size_t>(w);
    }
    return true;
  }
  bool sendAll(const char* p, size_t n) {
    while (n > 0) {
      const ssize_t w = ::send(fd_, p, n, MSG_NOSIGNAL);
      if (w <= 0) return false;
      p += w;
      n -= static_cast<size_t>(w);
    }
    return true;
  }
  bool recvAll(char* p, size_t n) {
    while (n > 0) {
      const ssize_t r = ::recv(fd_, p, n, 0);
      if (r <= 0) return false;
      p += r;
      n -= static_cast<size_t>(r);
    }
    return true;
  }
  // One message: its length (counting itself), id, code, then the body.
  bool send(std::uint32_t id, std::uint32_t code, const std::string& body) {
    std::string m(12, '\0');
    const std::uint32_t length = static_cast<std::uint32_t>(12 + body.size());
    std::memcpy(m.data(), &length, 4);
    std::memcpy(m.data() + 4, &id, 4);
    std::memcpy(m.data() + 8, &code, 4);
    m += body;
    return sendAll(m.data(), m.size());
  }
  bool receive(std::uint32_t& code, std::string& body) {
    char head[12];
    if (!recvAll(head, sizeof head)) return false;
    std::uint32_t length = 0;
    std::memcpy(&length, head, 4);
    std::memcpy(&code, head + 8, 4);
    if (length < 12 || length > (64u << 20)) return false;
    body.resize(length - 12);
    return body.empty() || recvAll(body.data(), body.size());
  }

  int fd_ = -1;
  std::uint32_t id_ = 0;
};

}  // namespace bench_support
