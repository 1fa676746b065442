// Waiting for the network while the window stays alive: the wait ends as
// soon as a socket, a window message or a window timer is there, and never
// waits for a socket that is ready already. Every limit here is far longer
// than the test may take: a wait that missed its event would show as a
// timed-out wait (a false result), never as a slow pass.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <thread>

#include "core/message_pump.h"
#include "net/dispatcher.h"
#include "net/support/socket_pair.h"
#include "support/counting_window.h"
#include "support/patience.h"
#include "support/user_clock.h"
#include "win/user.h"
#include "win/winsock_wait.h"

namespace {

using testing_support::SocketPair;

constexpr DWORD kLong = 60000;  // longer than any test may run

class NetworkWait : public testing_support::CountingWindowTest {
 protected:
  void TearDown() override {
    Dispatcher::destroy();
    CountingWindowTest::TearDown();
  }
};

// Whatever can end the wait, it ends it at once, and says whether the
// socket was among it.
TEST_F(NetworkWait, EndsAtOnceForWhatIsThere) {
  struct Case {
    const char* what;
    bool data;     // bytes wait on the socket
    bool message;  // a message is posted
    bool timer;    // a window timer is due
    bool socketReady;
  };
  const Case cases[] = {
      {"bytes on the socket", true, false, false, true},
      {"bytes and a message", true, true, false, true},
      {"a posted message", false, true, false, false},
      {"a due window timer", false, false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SocketPair p;
    testing_support::TestUserClock clock;
    if (c.data) p.put("x");
    if (c.message) post();
    if (c.timer) {
      SetTimer(wnd_, 1, 50, nullptr);
      clock.Advance(50);
    }
    if (c.data) {
      // The byte has to have crossed the loopback before the wait begins.
      winsock::fd_set r{};
      winsock::FdSetAdd(p.client, &r);
      const winsock::timeval patience{60, 0};
      ASSERT_EQ(winsock::select(0, &r, nullptr, nullptr, &patience), 1);
    }
    EXPECT_EQ(WaitForSocketOrMessages(static_cast<int>(p.client), false, kLong), c.socketReady);
    KillTimer(wnd_, 1);
    drainQueue();
  }
}

TEST_F(NetworkWait, AWritableSocketDoesNotWait) {
  SocketPair p;
  EXPECT_TRUE(WaitForSocketOrMessages(static_cast<int>(p.client), true, kLong));
}

// Bytes that come while the wait sleeps wake it.
TEST_F(NetworkWait, BytesArrivingLaterEndTheWait) {
  SocketPair p;
  std::thread writer([&p] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    p.put("late");
  });
  EXPECT_TRUE(WaitForSocketOrMessages(static_cast<int>(p.client), false, kLong));
  writer.join();
}

// The idle pass of the dispatcher: a linked socket that becomes readable
// while it waits is served by that same pass, and a pass with nothing to
// do still runs the window step.
TEST_F(NetworkWait, AnIdlePassIsWokenByItsSocket) {
  SocketPair p;
  struct Reader : IOHandler {
    int calls = 0;
    int inputReady(int) override {
      ++calls;
      return 0;
    }
  } reader;
  ASSERT_TRUE(Dispatcher::instance()->link(static_cast<int>(p.client), Dispatcher::kRead, &reader));
  std::thread writer([&p] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    p.put("late");
  });
  const auto deadline = testing_support::PatienceDeadline();
  while (reader.calls == 0 && std::chrono::steady_clock::now() < deadline)
    Dispatcher::instance()->dispatch();
  writer.join();
  EXPECT_EQ(reader.calls, 1);

  char drain[8];
  winsock::recv(p.client, drain, sizeof drain, 0);
  post();
  EXPECT_FALSE(Dispatcher::instance()->dispatch());
  EXPECT_EQ(handled(), 1);
  Dispatcher::instance()->unlink(static_cast<int>(p.client));
}

// An idle pass sleeps until something comes (here a window timer) instead
// of waking to look: the caller's loop runs once or twice, not once for
// every few milliseconds of the wait.
TEST_F(NetworkWait, AnIdlePassSleepsUntilSomethingComes) {
  static bool fired = false;
  fired = false;
  SocketPair p;
  struct Reader : IOHandler {
    int inputReady(int) override { return 0; }
  } reader;
  ASSERT_TRUE(Dispatcher::instance()->link(static_cast<int>(p.client), Dispatcher::kRead, &reader));
  SetTimer(wnd_, 1, 200, [](HWND, UINT, UINT_PTR, DWORD) { fired = true; });
  const long long waits = PumpWaitCount();
  int passes = 0;
  const auto deadline = testing_support::PatienceDeadline();
  while (!fired && std::chrono::steady_clock::now() < deadline) {
    Dispatcher::instance()->dispatch();
    ++passes;
  }
  KillTimer(wnd_, 1);
  EXPECT_TRUE(fired);
  EXPECT_LE(passes, 4);
  EXPECT_LE(PumpWaitCount() - waits, 4);
  Dispatcher::instance()->unlink(static_cast<int>(p.client));
}

// A pass for a caller with a deadline of its own waits no longer than it
// is given: with nothing to wait for, not at all.
TEST_F(NetworkWait, APassWithinALimitKeepsIt) {
  const long long waits = PumpWaitCount();
  EXPECT_FALSE(Dispatcher::instance()->dispatchWithin(0));
  EXPECT_EQ(PumpWaitCount(), waits);
}

// A waiting message keeps a wait from sleeping, but only while the pump
// still takes messages: after the quit message nothing takes it, and waits
// sleep again instead of spinning.
TEST_F(NetworkWait, AMessageLeftAfterQuitDoesNotKeepWaitsAwake) {
  post();
  long long before = PumpWaitCount();
  WaitForMessages(1);
  EXPECT_EQ(PumpWaitCount(), before) << "slept with a message waiting";

  PostQuitMessage(0);
  while (PumpMessages(false) >= 0) {
  }
  post();
  before = PumpWaitCount();
  WaitForMessages(1);
  EXPECT_EQ(PumpWaitCount(), before + 1) << "did not sleep after the quit message";
  ResetPumpQuit();
}

// The descriptor beside the sockets (the display's connection) is watched
// for reading, and the sets may be empty.
TEST_F(NetworkWait, SelectWatchesADescriptorBesideTheSockets) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  bool ready = true;
  const winsock::timeval zero{0, 0};
  EXPECT_EQ(winsock::SelectWithDescriptor(nullptr, nullptr, nullptr, &zero, fds[0], &ready), 0);
  EXPECT_FALSE(ready);
  ASSERT_EQ(write(fds[1], "x", 1), 1);
  const winsock::timeval patience{60, 0};
  EXPECT_EQ(winsock::SelectWithDescriptor(nullptr, nullptr, nullptr, &patience, fds[0], &ready), 0);
  EXPECT_TRUE(ready);

  SocketPair p;
  p.put("x");
  winsock::fd_set r{};
  winsock::FdSetAdd(p.client, &r);
  EXPECT_EQ(winsock::SelectWithDescriptor(&r, nullptr, nullptr, &patience, fds[0], &ready), 1);
  EXPECT_TRUE(ready);
  EXPECT_EQ(r.fd_count, 1u);
  close(fds[0]);
  close(fds[1]);
}

}  // namespace
