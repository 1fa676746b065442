#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>

#include "win/winsock.h"

using namespace winsock;

namespace {

// The C library has names of its own for these.
using winsock::fd_set;
using winsock::timeval;

// WinSock started for the test, cleaned up after it.
class WinsockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
  }
  void TearDown() override { WSACleanup(); }

  // A listening socket on a free loopback port.
  SOCKET listener(winsock::u_short* port) {
    const SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    EXPECT_NE(s, INVALID_SOCKET);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    EXPECT_EQ(listen(s, 5), 0);
    int length = sizeof a;
    EXPECT_EQ(getsockname(s, reinterpret_cast<sockaddr*>(&a), &length), 0);
    *port = ntohs(a.sin_port);
    return s;
  }

  int connectTo(SOCKET s, winsock::u_short port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = inet_addr("127.0.0.1");
    return connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  }

  // A connected pair: client and the accepted server side.
  void pair(SOCKET* client, SOCKET* server) {
    winsock::u_short port = 0;
    const SOCKET l = listener(&port);
    *client = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_EQ(connectTo(*client, port), 0);
    *server = accept(l, nullptr, nullptr);
    ASSERT_NE(*server, INVALID_SOCKET);
    closesocket(l);
  }
};

TEST(WinsockStartupTest, VersionOneOneIsGrantedAndCallsNeedStartup) {
  struct Case {
    WORD requested;
    int result;
    WORD granted;
  };
  const Case cases[] = {
      {MAKEWORD(1, 1), 0, MAKEWORD(1, 1)},
      {MAKEWORD(2, 2), 0, MAKEWORD(1, 1)},  // the caller must check wVersion
      {MAKEWORD(1, 0), WSAVERNOTSUPPORTED, MAKEWORD(1, 1)},
      {MAKEWORD(0, 9), WSAVERNOTSUPPORTED, MAKEWORD(1, 1)},
  };
  for (const Case& c : cases) {
    WSADATA data;
    EXPECT_EQ(WSAStartup(c.requested, &data), c.result) << c.requested;
    EXPECT_EQ(data.wVersion, c.granted);
    EXPECT_EQ(data.wHighVersion, MAKEWORD(1, 1));
    if (c.result == 0) WSACleanup();
  }
  EXPECT_EQ(WSAStartup(MAKEWORD(1, 1), nullptr), WSAEFAULT);

  // Not started: every socket call refuses.
  EXPECT_EQ(socket(AF_INET, SOCK_STREAM, 0), INVALID_SOCKET);
  EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
  EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
}

TEST(WinsockStartupTest, TheLastCleanupClosesOpenSockets) {
  WSADATA data;
  ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
  ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
  const int before = OpenSocketCount();
  ASSERT_NE(socket(AF_INET, SOCK_STREAM, 0), INVALID_SOCKET);
  EXPECT_EQ(OpenSocketCount(), before + 1);
  WSACleanup();  // nested: still started
  EXPECT_EQ(OpenSocketCount(), before + 1);
  WSACleanup();
  EXPECT_EQ(OpenSocketCount(), 0);
}

TEST(WinsockAddressTest, DottedNumbersAndByteOrder) {
  struct Case {
    const char* text;
    winsock::u_long host;  // INADDR_NONE: refused
  };
  const Case cases[] = {
      {"127.0.0.1", 0x7F000001u},
      {"10.1.2.3", 0x0A010203u},
      {"0x7f.1", 0x7F000001u},
      {"127.1", 0x7F000001u},
      {"1.2.3", 0x01020003u},
      {"16909060", 0x01020304u},
      {"010.0.0.1", 0x08000001u},  // octal part
      {"1.2.3.4 ", 0x01020304u},   // trailing blank
      {"1.2.3.256", INADDR_NONE},
      {"1.2.3.4.5", INADDR_NONE},
      {"1..2", INADDR_NONE},
      {"1.2.3.", INADDR_NONE},
      {"09.1.1.1", INADDR_NONE},  // 9 is no octal digit
      {"host", INADDR_NONE},
      {"1host", INADDR_NONE},
      {"", INADDR_NONE},
  };
  for (const Case& c : cases) {
    const winsock::u_long net = inet_addr(c.text);
    EXPECT_EQ(c.host == INADDR_NONE ? net : ntohl(net), c.host) << c.text;
  }
  EXPECT_EQ(inet_addr(nullptr), INADDR_NONE);

  in_addr a;
  a.s_addr = inet_addr("192.168.10.254");
  EXPECT_STREQ(inet_ntoa(a), "192.168.10.254");
  const winsock::u_short port = htons(0x1234);
  unsigned char bytes[2];
  std::memcpy(bytes, &port, 2);
  EXPECT_EQ(bytes[0], 0x12);  // network order: most significant first
  EXPECT_EQ(ntohs(port), 0x1234);
  EXPECT_EQ(ntohl(htonl(0xA1B2C3D4u)), 0xA1B2C3D4u);
}

TEST_F(WinsockTest, HostNamesResolveAndErrorsHaveTheirCodes) {
  hostent* h = gethostbyname("localhost");
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->h_addrtype, AF_INET);
  EXPECT_EQ(h->h_length, 4);
  ASSERT_NE(h->h_addr_list[0], nullptr);
  in_addr a;
  std::memcpy(&a.s_addr, h->h_addr_list[0], 4);
  EXPECT_EQ(ntohl(a.s_addr) >> 24, 127u);

  EXPECT_EQ(gethostbyname("no-such-host.invalid"), nullptr);
  const int error = WSAGetLastError();
  EXPECT_TRUE(error == WSAHOST_NOT_FOUND || error == WSATRY_AGAIN || error == WSANO_DATA) << error;

  char name[256];
  ASSERT_EQ(gethostname(name, sizeof name), 0);
  EXPECT_GT(std::strlen(name), 0u);
  char tiny[1];
  EXPECT_EQ(gethostname(tiny, 1), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
}

TEST_F(WinsockTest, StreamTransferWithFionreadNonBlockingAndClose) {
  SOCKET client, server;
  pair(&client, &server);

  EXPECT_EQ(send(client, "hello", 5, 0), 5);
  fd_set r;
  FD_ZERO(&r);
  FD_SET(server, &r);
  const timeval wait{2, 0};
  ASSERT_EQ(select(0, &r, nullptr, nullptr, &wait), 1);
  winsock::u_long available = 0;
  ASSERT_EQ(ioctlsocket(server, FIONREAD, &available), 0);
  EXPECT_EQ(available, 5u);
  char buf[16];
  EXPECT_EQ(recv(server, buf, 2, MSG_PEEK), 2);
  EXPECT_EQ(recv(server, buf, sizeof buf, 0), 5);
  EXPECT_EQ(std::string(buf, 5), "hello");

  // Non-blocking: nothing there is WSAEWOULDBLOCK, not a wait.
  winsock::u_long on = 1;
  ASSERT_EQ(ioctlsocket(server, FIONBIO, &on), 0);
  EXPECT_EQ(recv(server, buf, sizeof buf, 0), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);

  // The peer's close: recv gives 0; sending to it never raises SIGPIPE.
  ASSERT_EQ(closesocket(client), 0);
  on = 0;
  ASSERT_EQ(ioctlsocket(server, FIONBIO, &on), 0);
  EXPECT_EQ(recv(server, buf, sizeof buf, 0), 0);
  int result = 0;
  for (int i = 0; i < 50 && result != SOCKET_ERROR; ++i) result = send(server, "x", 1, 0);
  EXPECT_EQ(result, SOCKET_ERROR);
  EXPECT_TRUE(WSAGetLastError() == WSAECONNRESET || WSAGetLastError() == WSAECONNABORTED)
      << WSAGetLastError();

  // A closed number is refused, never closed twice.
  EXPECT_EQ(closesocket(client), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
  EXPECT_EQ(send(client, "x", 1, 0), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
  closesocket(server);
}

TEST_F(WinsockTest, RefusedConnectionAndNonBlockingConnect) {
  winsock::u_short port = 0;
  const SOCKET l = listener(&port);
  closesocket(l);  // nobody listens there now
  const SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  EXPECT_EQ(connectTo(s, port), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAECONNREFUSED);
  closesocket(s);

  const SOCKET l2 = listener(&port);
  const SOCKET nb = socket(AF_INET, SOCK_STREAM, 0);
  winsock::u_long on = 1;
  ASSERT_EQ(ioctlsocket(nb, FIONBIO, &on), 0);
  const int rc = connectTo(nb, port);
  if (rc == SOCKET_ERROR) {
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
  }
  fd_set w;
  FD_ZERO(&w);
  FD_SET(nb, &w);
  const timeval wait{2, 0};
  EXPECT_EQ(select(0, nullptr, &w, nullptr, &wait), 1);
  // The accepted socket inherits the listener's mode (blocking here).
  const SOCKET a = accept(l2, nullptr, nullptr);
  EXPECT_NE(a, INVALID_SOCKET);
  closesocket(a);
  closesocket(nb);
  closesocket(l2);
}

TEST_F(WinsockTest, SelectKeepsOnlyReadySocketsAndRejectsBadOnes) {
  SOCKET c1, s1, c2, s2;
  pair(&c1, &s1);
  pair(&c2, &s2);
  ASSERT_EQ(send(c2, "z", 1, 0), 1);

  fd_set r, w;
  FD_ZERO(&r);
  FD_ZERO(&w);
  FD_SET(s1, &r);
  FD_SET(s2, &r);
  FD_SET(s2, &r);  // once only
  EXPECT_EQ(r.fd_count, 2u);
  FD_SET(c1, &w);
  const timeval wait{2, 0};
  // s2 readable, c1 writable: two in all; s1 is taken out of its set.
  EXPECT_EQ(select(0, &r, &w, nullptr, &wait), 2);
  EXPECT_EQ(r.fd_count, 1u);
  EXPECT_TRUE(FD_ISSET(s2, &r));
  EXPECT_FALSE(FD_ISSET(s1, &r));
  EXPECT_TRUE(FD_ISSET(c1, &w));

  // A zero timeout returns at once; the timeout is kept.
  FD_ZERO(&r);
  FD_SET(s1, &r);
  const timeval zero{0, 0};
  EXPECT_EQ(select(0, &r, nullptr, nullptr, &zero), 0);
  FD_SET(s1, &r);
  const timeval shortWait{0, 200000};
  const auto t0 = std::chrono::steady_clock::now();
  EXPECT_EQ(select(0, &r, nullptr, nullptr, &shortWait), 0);
  EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(150));

  // A number that is not open: WSAEBADF, the sets untouched.
  const SOCKET gone = c1;
  closesocket(c1);
  FD_ZERO(&r);
  FD_SET(s2, &r);
  FD_SET(gone, &r);
  EXPECT_EQ(select(0, &r, nullptr, nullptr, &zero), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEBADF);
  EXPECT_EQ(r.fd_count, 2u);
  // Nothing to wait for at all.
  FD_ZERO(&r);
  EXPECT_EQ(select(0, &r, nullptr, nullptr, &zero), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
  FD_CLR(s2, &r);
  closesocket(s1);
  closesocket(c2);
  closesocket(s2);
}

TEST_F(WinsockTest, FdSetHoldsSixtyFourSockets) {
  fd_set set;
  FD_ZERO(&set);
  for (SOCKET s = 1; s <= 70; ++s) FD_SET(s, &set);
  EXPECT_EQ(set.fd_count, 64u);
  EXPECT_TRUE(FD_ISSET(64, &set));
  EXPECT_FALSE(FD_ISSET(65, &set));
  FD_CLR(1, &set);
  EXPECT_EQ(set.fd_count, 63u);
  EXPECT_EQ(set.fd_array[0], 2u);
}

TEST_F(WinsockTest, OptionsRoundTrip) {
  const SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  int on = 1;
  ASSERT_EQ(setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<char*>(&on), sizeof on), 0);
  int value = 0;
  int length = sizeof value;
  ASSERT_EQ(getsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<char*>(&value), &length), 0);
  EXPECT_EQ(value, 1);
  length = sizeof value;
  ASSERT_EQ(getsockopt(s, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&value), &length), 0);
  EXPECT_EQ(value, SOCK_STREAM);
  // The receive low-water mark reaches the system's own option.
  int mark = 4096;
  ASSERT_EQ(setsockopt(s, SOL_SOCKET, SO_RCVLOWAT, reinterpret_cast<char*>(&mark), sizeof mark), 0);
  length = sizeof value;
  ASSERT_EQ(getsockopt(s, SOL_SOCKET, SO_RCVLOWAT, reinterpret_cast<char*>(&value), &length), 0);
  EXPECT_EQ(value, 4096);

  linger l{1, 7};
  ASSERT_EQ(setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<char*>(&l), sizeof l), 0);
  linger back{};
  length = sizeof back;
  ASSERT_EQ(getsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<char*>(&back), &length), 0);
  EXPECT_EQ(back.l_onoff, 1);
  EXPECT_EQ(back.l_linger, 7);

  EXPECT_EQ(setsockopt(s, SOL_SOCKET, 0x7777, reinterpret_cast<char*>(&on), sizeof on), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOPROTOOPT);
  EXPECT_EQ(setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<char*>(&on), 1), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
  winsock::u_long arg = 0;
  EXPECT_EQ(ioctlsocket(s, 0x1234, &arg), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
  closesocket(s);

  // Only TCP over IPv4.
  EXPECT_EQ(socket(AF_INET, SOCK_DGRAM, 0), INVALID_SOCKET);
  EXPECT_EQ(WSAGetLastError(), WSAESOCKTNOSUPPORT);
  EXPECT_EQ(socket(AF_UNSPEC, SOCK_STREAM, 0), INVALID_SOCKET);
  EXPECT_EQ(WSAGetLastError(), WSAEAFNOSUPPORT);
}

TEST_F(WinsockTest, SocketNumbersAreSmallOwnNumbersWithinTheLimit) {
  const SOCKET a = socket(AF_INET, SOCK_STREAM, 0);
  const SOCKET b = socket(AF_INET, SOCK_STREAM, 0);
  EXPECT_GE(a, 1u);
  EXPECT_LT(b, 65535u);
  closesocket(a);
  // The lowest free number is used again.
  const SOCKET c = socket(AF_INET, SOCK_STREAM, 0);
  EXPECT_EQ(c, a);

  const int open = OpenSocketCount();
  const int old = SetSocketLimitForTesting(open);
  EXPECT_EQ(socket(AF_INET, SOCK_STREAM, 0), INVALID_SOCKET);
  EXPECT_EQ(WSAGetLastError(), WSAEMFILE);
  SetSocketLimitForTesting(old);
  closesocket(b);
  closesocket(c);
}

TEST(WinsockErrorTest, ErrnoValuesMapToWinsockCodes) {
  struct Case {
    int err;
    int code;
  };
  const Case cases[] = {
      {0, 0},
      {EINTR, WSAEINTR},
      {EBADF, WSAEBADF},
      {EAGAIN, WSAEWOULDBLOCK},
      {EINPROGRESS, WSAEINPROGRESS},
      {ECONNABORTED, WSAECONNABORTED},
      {ECONNRESET, WSAECONNRESET},
      {EPIPE, WSAECONNRESET},
      {ECONNREFUSED, WSAECONNREFUSED},
      {ETIMEDOUT, WSAETIMEDOUT},
      {EADDRINUSE, WSAEADDRINUSE},
      {ENOTSOCK, WSAENOTSOCK},
      {EHOSTUNREACH, WSAEHOSTUNREACH},
      {EMFILE, WSAEMFILE},
      {ENOEXEC, WSAEINVAL},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorFromErrno(c.err), c.code) << c.err;
  EXPECT_STREQ(ErrorText(WSAECONNREFUSED), "Connection refused");
  EXPECT_STREQ(ErrorText(12345), "Unknown error 12345");
}

}  // namespace
