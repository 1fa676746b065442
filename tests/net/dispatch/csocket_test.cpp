#include <gtest/gtest.h>
#include <poll.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

#include "core/fatal.h"
#include "core/message_pump.h"
#include "net/csocket.h"
#include "win/kernel.h"
#include "win/user.h"
#include "support/patience.h"

namespace {

// Whether WinSock is started: a raw socket can be had.
bool winsockStarted() {
  const winsock::SOCKET s = winsock::socket(winsock::AF_INET, winsock::SOCK_STREAM, 0);
  if (s == winsock::INVALID_SOCKET) return winsock::WSAGetLastError() != winsock::WSANOTINITIALISED;
  winsock::closesocket(s);
  return true;
}

bool isOpen(int socket) {
  int type = 0;
  int length = sizeof type;
  return winsock::getsockopt(static_cast<winsock::SOCKET>(socket), winsock::SOL_SOCKET,
                             winsock::SO_TYPE, reinterpret_cast<char*>(&type), &length) == 0;
}

class CSocketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetUserState();
    ResetPumpQuit();
  }
  void TearDown() override {
    win::SetVersionForTesting(0x05650004u);
    ResetPumpQuit();
    win::ResetUserState();
  }
  // A listening raw socket on loopback; its port.
  static int listenOn(CSocket& holder) {
    holder.Create();
    winsock::sockaddr_in a{};
    a.sin_family = winsock::AF_INET;
    a.sin_addr.s_addr = winsock::htonl(winsock::INADDR_LOOPBACK);
    const auto s = static_cast<winsock::SOCKET>(holder.socket());
    winsock::bind(s, reinterpret_cast<winsock::sockaddr*>(&a), sizeof a);
    winsock::listen(s, 5);
    int length = sizeof a;
    winsock::getsockname(s, reinterpret_cast<winsock::sockaddr*>(&a), &length);
    return winsock::ntohs(a.sin_port);
  }
};

TEST_F(CSocketTest, WinsockLivesFromTheFirstSocketToTheLast) {
  ASSERT_FALSE(winsockStarted());
  {
    CSocket a;
    EXPECT_TRUE(winsockStarted());
    { CSocket b; }
    EXPECT_TRUE(winsockStarted());  // a still lives
    EXPECT_EQ(CSocket::LiveCount(), 1);
  }
  EXPECT_FALSE(winsockStarted());
  EXPECT_EQ(CSocket::LiveCount(), 0);
}

TEST_F(CSocketTest, ASocketNumberIsClosedOnceAndByItsLastHolder) {
  CSocket a;
  ASSERT_TRUE(a.Create());
  const int s = a.socket();
  EXPECT_TRUE(CSocket::IsRegistered(s));
  {
    CSocket reader(s);  // holds the same number, as the reply reader does
    reader.Close();
    EXPECT_TRUE(isOpen(s));  // a still holds it
  }
  EXPECT_TRUE(isOpen(s));
  a.Close();
  EXPECT_FALSE(isOpen(s));
  EXPECT_FALSE(CSocket::IsRegistered(s));

  // The number comes back for another socket; closing again leaves it be.
  const winsock::SOCKET other = winsock::socket(winsock::AF_INET, winsock::SOCK_STREAM, 0);
  EXPECT_EQ(static_cast<int>(other), s);
  EXPECT_EQ(a.Close(), 1);
  CSocket stale(-1);
  stale.Close();
  EXPECT_TRUE(isOpen(static_cast<int>(other)));
  winsock::closesocket(other);

  // Without a socket reads and writes give 0.
  char buf[4];
  EXPECT_EQ(a.Read(buf, 4), 0);
  EXPECT_EQ(a.Write("x", 1), 0);
}

TEST_F(CSocketTest, ADetachedNumberIsTheCallersAlone) {
  CSocket a;
  ASSERT_TRUE(a.Create());
  const int s = a.socket();
  {
    CSocket second(s);
    EXPECT_EQ(second.Detach(), s);  // one hold of two goes
  }
  EXPECT_TRUE(CSocket::IsRegistered(s));
  EXPECT_EQ(a.Detach(), s);  // the last hold goes: no entry is left
  EXPECT_FALSE(CSocket::IsRegistered(s));
  EXPECT_TRUE(isOpen(s));
  {
    // The number, handed on, is held afresh and closed by its one holder.
    CSocket taken(s);
    EXPECT_TRUE(CSocket::IsRegistered(s));
  }
  EXPECT_FALSE(isOpen(s));
  EXPECT_FALSE(CSocket::IsRegistered(s));
}

TEST_F(CSocketTest, AQuitMessageAbortsReadsAndWrites) {
  CSocket listener;
  const int port = listenOn(listener);
  CSocket s;
  ASSERT_EQ(s.Connect("127.0.0.1", port), 0);
  PostQuitMessage(0);
  EXPECT_EQ(s.Write("x", 1), -1);
  EXPECT_EQ(winsock::WSAGetLastError(), winsock::WSAECONNABORTED);
  char buf[4];
  EXPECT_EQ(s.Read(buf, sizeof buf), -1);
  EXPECT_EQ(winsock::WSAGetLastError(), winsock::WSAECONNABORTED);
  // Left open for its owner, with an abortive close ahead.
  winsock::linger l{};
  int length = sizeof l;
  ASSERT_EQ(winsock::getsockopt(static_cast<winsock::SOCKET>(s.socket()), winsock::SOL_SOCKET,
                                winsock::SO_LINGER, reinterpret_cast<char*>(&l), &length),
            0);
  EXPECT_EQ(l.l_onoff, 1);
  EXPECT_EQ(l.l_linger, 0);
}

TEST_F(CSocketTest, ReadNowTakesWhatHasComeWithoutWaiting) {
  CSocket listener;
  const int port = listenOn(listener);
  CSocket writer;
  ASSERT_EQ(writer.Connect("127.0.0.1", port), 0);
  CSocket reader(static_cast<int>(
      winsock::accept(static_cast<winsock::SOCKET>(listener.socket()), nullptr, nullptr)));
  winsock::u_long on = 1;
  ASSERT_EQ(winsock::ioctlsocket(static_cast<winsock::SOCKET>(reader.socket()), winsock::FIONBIO, &on), 0);
  char buf[16];
  // Nothing there yet: no wait, and the caller is told to wait.
  EXPECT_EQ(reader.ReadNow(buf, sizeof buf), -1);
  EXPECT_EQ(winsock::WSAGetLastError(), winsock::WSAEWOULDBLOCK);
  // What has come is taken.
  ASSERT_EQ(writer.Write("abc", 3), 3);
  std::string got;
  const auto deadline = testing_support::PatienceDeadline();
  while (got.size() < 3) {
    const int n = reader.ReadNow(buf, sizeof buf);
    if (n > 0) got.append(buf, static_cast<size_t>(n));
    else ASSERT_EQ(winsock::WSAGetLastError(), winsock::WSAEWOULDBLOCK);
    ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the bytes did not come";
    if (n <= 0) {
      pollfd ready{reader.socket(), POLLIN, 0};
      ::poll(&ready, 1, 1000);  // until the bytes come; the deadline bounds it
    }
  }
  EXPECT_EQ(got, "abc");
  // The quit message aborts it as it aborts Read.
  ASSERT_EQ(writer.Write("d", 1), 1);
  PostQuitMessage(0);
  EXPECT_EQ(reader.ReadNow(buf, sizeof buf), -1);
  EXPECT_EQ(winsock::WSAGetLastError(), winsock::WSAECONNABORTED);
}

TEST_F(CSocketTest, OutsideNtReadsAndWritesGoInPiecesOf2048) {
  struct Case {
    DWORD version;
    bool cut;
  };
  const Case cases[] = {{0x05650004u, false}, {0xC0000004u, true}};  // NT 4.0, Windows 95
  for (const Case& c : cases) {
    win::SetVersionForTesting(c.version);
    CSocket listener;
    const int port = listenOn(listener);
    CSocket writer;
    ASSERT_EQ(writer.Connect("127.0.0.1", port), 0);
    CSocket reader(static_cast<int>(
        winsock::accept(static_cast<winsock::SOCKET>(listener.socket()), nullptr, nullptr)));
    const std::string data(10000, 'd');
    EXPECT_EQ(writer.Write(data.data(), static_cast<int>(data.size())), 10000);
    // Wait until all of it is there.
    winsock::u_long waiting = 0;
    const auto deadline = testing_support::PatienceDeadline();
    for (;;) {
      winsock::ioctlsocket(static_cast<winsock::SOCKET>(reader.socket()), winsock::FIONREAD, &waiting);
      if (waiting >= 10000) break;
      ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "only " << waiting << " bytes arrived";
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    char buf[10000];
    const int n = reader.Read(buf, sizeof buf);
    if (c.cut) EXPECT_EQ(n, 2048);
    else EXPECT_EQ(n, 10000);
  }
  // A negative length is a caller's bug: fatal, whichever way the system
  // sends.
  const FatalExitHook old = SetFatalExitHook([](int) { throw std::runtime_error("fatal"); });
  for (DWORD version : {0xC0000004u, 0x00000004u}) {
    win::SetVersionForTesting(version);
    CSocket listener;
    const int port = listenOn(listener);
    CSocket writer;
    ASSERT_EQ(writer.Connect("127.0.0.1", port), 0);
    win::ClearMessageBoxLog();
    EXPECT_THROW(writer.Write("x", -1), std::runtime_error) << version;
    ASSERT_FALSE(win::MessageBoxLog().empty());
    EXPECT_EQ(win::MessageBoxLog()[0].text, "CSocket::Write: FATAL BUG: buffer with negative length !!");
    EXPECT_FALSE(writer.valid());
  }
  SetFatalExitHook(old);
}

TEST_F(CSocketTest, ConnectTakesDottedNumbersOrLooksTheNameUp) {
  CSocket listener;
  const int port = listenOn(listener);
  CSocket byNumber("127.0.0.1", port);
  EXPECT_TRUE(byNumber.valid());
  CSocket byName;
  EXPECT_EQ(byName.Connect("localhost", port), 0);

  // Begins with a digit but is no dotted address: looked up by name.
  win::ClearMessageBoxLog();
  CSocket bad;
  EXPECT_EQ(bad.Connect("1.2.3.4.5", port), -1);
  ASSERT_EQ(win::MessageBoxLog().size(), 1u);
  EXPECT_EQ(win::MessageBoxLog()[0].text, "CSocket::Connect: gethostbyname: no such host 1.2.3.4.5");

  // A refusing port: -1 and no socket kept.
  CSocket gone;
  const int closedPort = listenOn(gone);
  gone.Close();
  CSocket refused;
  EXPECT_EQ(refused.Connect("127.0.0.1", closedPort), -1);
  EXPECT_EQ(winsock::WSAGetLastError(), winsock::WSAECONNREFUSED);
  EXPECT_FALSE(refused.valid());
}

TEST_F(CSocketTest, NoSocketToBeHadEndsTheProgram) {
  int status = 0;
  const CSocket::ExitHook old = CSocket::SetExitHook([&](int code) {
    status = code;
    throw std::runtime_error("exit");
  });
  CSocket s;
  const int limit = winsock::SetSocketLimitForTesting(0);
  win::ClearMessageBoxLog();
  EXPECT_THROW(s.Create(), std::runtime_error);
  winsock::SetSocketLimitForTesting(limit);
  EXPECT_EQ(status, -1);
  ASSERT_FALSE(win::MessageBoxLog().empty());
  EXPECT_EQ(win::MessageBoxLog()[0].text, "Couldn't create a valid socket !");
  CSocket::SetExitHook(old);
}

}  // namespace
