#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/fatal.h"
#include "core/logbook.h"
#include "core/message_pump.h"
#include "net/dispatcher.h"
#include "net/support/socket_pair.h"
#include "support/temp_dir.h"
#include "win/user.h"
#include "support/patience.h"

namespace {

using testing_support::SocketPair;

// The clock of the timers; tests move it by hand.
TimeVal gNow{1000, 0};
TimeVal fakeNow() { return gNow; }

std::vector<std::string> gCalls;

class Probe : public IOHandler {
 public:
  explicit Probe(std::string name) : name_(std::move(name)) {}
  std::function<int(int)> onInput;
  std::function<int(int)> onOutput;
  std::function<void()> onTimer;

  int inputReady(int s) override {
    gCalls.push_back(name_ + ":in");
    return onInput ? onInput(s) : 0;
  }
  int outputReady(int s) override {
    gCalls.push_back(name_ + ":out");
    return onOutput ? onOutput(s) : 0;
  }
  void timerExpired(LONG, LONG) override {
    gCalls.push_back(name_ + ":timer");
    if (onTimer) onTimer();
  }

 private:
  std::string name_;
};

class DispatcherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dispatcher::destroy();
    Dispatcher::setClock(fakeNow);
    gNow = TimeVal{1000, 0};
    gCalls.clear();
    win::ResetUserState();
    ResetPumpQuit();
  }
  void TearDown() override {
    Dispatcher::destroy();
    Dispatcher::setClock(nullptr);
    win::ResetUserState();
  }
  Dispatcher& d() { return *Dispatcher::instance(); }
  // Waits until what the server side sent has reached the client socket.
  static void waitReadable(const SocketPair& p) {
    winsock::fd_set r;
    r.fd_count = 1;
    r.fd_array[0] = p.client;
    const winsock::timeval wait{2, 0};
    ASSERT_EQ(winsock::select(0, &r, nullptr, nullptr, &wait), 1);
  }
  // Drains what the server side sent to the client socket.
  static void drain(const SocketPair& p) {
    winsock::u_long n = 0;
    winsock::ioctlsocket(p.client, winsock::FIONREAD, &n);
    char buf[256];
    if (n > 0) winsock::recv(p.client, buf, sizeof buf, 0);
  }
};

TEST(SocketSetTest, WorkingLimitDuplicatesAndRemoval) {
  SocketSet set;
  for (int s = 0; s < SocketSet::kWorkingLimit; ++s) EXPECT_TRUE(set.add(s));
  EXPECT_FALSE(set.add(99));  // the 21st is refused, not stored
  EXPECT_FALSE(set.contains(99));
  EXPECT_EQ(set.count(), 20);

  SocketSet dup;
  dup.add(5);
  dup.add(7);
  dup.add(5);  // again
  EXPECT_EQ(dup.count(), 3);
  EXPECT_TRUE(dup.remove(5));  // the first one; the rest moves down
  EXPECT_EQ(dup.at(0), 7);
  EXPECT_EQ(dup.at(1), 5);
  EXPECT_FALSE(dup.remove(8));
  SocketSet copy = dup;
  EXPECT_EQ(copy.count(), 2);
  EXPECT_EQ(copy.at(1), 5);
}

TEST_F(DispatcherTest, AHandlerWithMoreToDoIsServedAgainWithoutSelect) {
  SocketPair p;
  Probe probe("a");
  int calls = 0;
  probe.onInput = [&](int) {
    drain(p);  // nothing is left for select() to see
    return ++calls == 1 ? 1 : 0;
  };
  ASSERT_TRUE(d().link(static_cast<int>(p.client), Dispatcher::kRead, &probe));
  p.put("x");
  const auto deadline = testing_support::PatienceDeadline();
  while (calls == 0 && std::chrono::steady_clock::now() < deadline) d().dispatch();
  ASSERT_EQ(calls, 1);
  EXPECT_TRUE(d().dispatch());  // from the ready set
  EXPECT_EQ(calls, 2);
  EXPECT_FALSE(d().dispatch());  // done: select() finds nothing
  EXPECT_EQ(calls, 2);
}

TEST_F(DispatcherTest, ANegativeResultUnlinksEveryKindOfTheSocket) {
  SocketPair p;
  Probe probe("a");
  probe.onInput = [](int) { return -1; };
  const int s = static_cast<int>(p.client);
  d().link(s, Dispatcher::kRead, &probe);
  d().link(s, Dispatcher::kWrite, &probe);  // writable at once
  EXPECT_EQ(d().slotCount(), s + 1);
  p.put("x");
  const auto deadline = testing_support::PatienceDeadline();
  while (gCalls.empty() && std::chrono::steady_clock::now() < deadline) d().dispatch();
  // Read comes first; its -1 leaves no write handler for the same pass.
  EXPECT_EQ(gCalls, std::vector<std::string>({"a:in"}));
  EXPECT_EQ(d().handlerFor(s, Dispatcher::kRead), nullptr);
  EXPECT_EQ(d().handlerFor(s, Dispatcher::kWrite), nullptr);
  EXPECT_EQ(d().slotCount(), 0);
  EXPECT_FALSE(d().dispatch());
}

TEST_F(DispatcherTest, APassInsideAPassIsRefused) {
  SocketPair p;
  Probe outer("outer"), inner("inner");
  bool nested = true;
  outer.onInput = [&](int) {
    nested = Dispatcher::instance()->dispatch();
    drain(p);
    return 0;
  };
  d().link(static_cast<int>(p.client), Dispatcher::kRead, &outer);
  d().link(static_cast<int>(p.server), Dispatcher::kWrite, &inner);  // always ready
  p.put("x");
  waitReadable(p);
  d().dispatch();
  EXPECT_FALSE(nested);
  // The inner handler ran once, in the outer pass, not in the nested one.
  EXPECT_EQ(gCalls, std::vector<std::string>({"outer:in", "inner:out"}));
}

TEST_F(DispatcherTest, TimersFireInDueOrderOnlyWhenStrictlyDue) {
  Probe a("a"), b("b"), c("c"), x("x");
  d().startTimer(2, 0, &a);   // 1002.0
  d().startTimer(2, 0, &b);   // same time, behind a (a is at the head)
  d().startTimer(1, 0, &c);   // 1001.0, in front
  d().startTimer(0, 1500000, &x);  // carries: 1001.5
  EXPECT_EQ(d().timerCount(), 4);

  gNow = TimeVal{1001, 0};  // c is due now, not yet past
  d().dispatch();
  EXPECT_TRUE(gCalls.empty());
  gNow = TimeVal{1001, 1};
  d().dispatch();
  EXPECT_EQ(gCalls, std::vector<std::string>({"c:timer"}));
  gNow = TimeVal{1003, 0};
  d().dispatch();
  EXPECT_EQ(gCalls, std::vector<std::string>({"c:timer", "x:timer", "a:timer", "b:timer"}));
  EXPECT_EQ(d().timerCount(), 0);
}

TEST_F(DispatcherTest, TimerQueueRules) {
  Probe a("a"), b("b"), c("c");
  // Behind the head, a new entry goes in front of one due at the same time.
  d().startTimer(1, 0, &a);
  d().startTimer(5, 0, &b);
  d().startTimer(5, 0, &c);
  gNow = TimeVal{1010, 0};
  d().dispatch();
  EXPECT_EQ(gCalls, std::vector<std::string>({"a:timer", "c:timer", "b:timer"}));

  // stopTimer takes the earlier of two timers only; a negative microsecond
  // part borrows a second.
  gCalls.clear();
  d().startTimer(3, 0, &a);         // 1013.0
  d().startTimer(2, -500000, &a);   // 1011.5, the earlier one
  d().stopTimer(&a);
  EXPECT_EQ(d().timerCount(), 1);
  gNow = TimeVal{1012, 0};
  d().dispatch();
  EXPECT_TRUE(gCalls.empty());  // the one left is due at 1013
  gNow = TimeVal{1014, 0};
  d().dispatch();
  EXPECT_EQ(gCalls, std::vector<std::string>({"a:timer"}));

  // A timer started by timerExpired fires on a later pass at the earliest.
  gCalls.clear();
  b.onTimer = [&] { Dispatcher::instance()->startTimer(0, 0, &c); };
  d().startTimer(0, 0, &b);
  gNow.tv_usec = 1;
  d().dispatch();
  EXPECT_EQ(gCalls, std::vector<std::string>({"b:timer"}));
  gNow.tv_usec = 2;
  d().dispatch();
  EXPECT_EQ(gCalls, std::vector<std::string>({"b:timer", "c:timer"}));
}

TEST_F(DispatcherTest, ATimedPassWritesBackTheTimeLeft) {
  struct Case {
    LONG spentMicro;  // the clock moves this far while the handler runs
    LONG leftSec, leftMicro;
  };
  const Case cases[] = {{300000, 0, 700000}, {5000000, 0, 0}, {1000000, 0, 0}};
  for (const Case& c : cases) {
    SocketPair p;
    Probe probe("a");
    probe.onInput = [&](int) {
      drain(p);
      gNow.tv_usec += c.spentMicro % 1000000;
      gNow.tv_sec += c.spentMicro / 1000000;
      return 0;
    };
    d().link(static_cast<int>(p.client), Dispatcher::kRead, &probe);
    p.put("x");
    LONG sec = 1, micro = 0;
    EXPECT_TRUE(d().dispatch(sec, micro));
    EXPECT_EQ(sec, c.leftSec) << c.spentMicro;
    EXPECT_EQ(micro, c.leftMicro) << c.spentMicro;
    d().unlink(static_cast<int>(p.client));
    gNow = TimeVal{1000, 0};
  }
}

// A window whose procedure records the messages it gets and may act.
std::vector<UINT> gMessages;
std::function<void(UINT)> gOnMessage;
LRESULT CALLBACK RecordingProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg >= WM_USER) {
    gMessages.push_back(msg);
    if (gOnMessage) gOnMessage(msg);
    return 0;
  }
  return DefWindowProc(wnd, msg, wp, lp);
}

HWND makeWindow() {
  WNDCLASS wc{};
  wc.lpfnWndProc = RecordingProc;
  wc.lpszClassName = "DispatcherTestWindow";
  RegisterClass(&wc);
  gMessages.clear();
  gOnMessage = nullptr;
  return CreateWindow("DispatcherTestWindow", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

TEST_F(DispatcherTest, WithNothingLinkedAPassRunsOneWindowStep) {
  const HWND wnd = makeWindow();
  PostMessage(wnd, WM_USER + 1, 0, 0);
  PostMessage(wnd, WM_USER + 2, 0, 0);
  EXPECT_FALSE(d().dispatch());  // neither blocks nor loops
  EXPECT_EQ(gMessages, std::vector<UINT>({WM_USER + 1}));
  EXPECT_FALSE(d().dispatch());
  EXPECT_EQ(gMessages, std::vector<UINT>({WM_USER + 1, WM_USER + 2}));
}

TEST_F(DispatcherTest, WindowStepsRunInsideWaitsAndMayWaitThemselves) {
  SocketPair p;
  Probe probe("a");
  d().link(static_cast<int>(p.client), Dispatcher::kRead, &probe);
  const HWND wnd = makeWindow();
  const HWND other = CreateWindow("DispatcherTestWindow", "", 0, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
  bool nested = true;
  gOnMessage = [&](UINT msg) {
    if (msg != WM_USER + 1) return;
    // A handler of a window message that sends on and waits for the
    // network gets no nested pass.
    SendMessage(other, WM_USER + 2, 0, 0);
    nested = Dispatcher::instance()->dispatch();
  };
  PostMessage(wnd, WM_USER + 1, 0, 0);
  EXPECT_FALSE(d().dispatch());  // nothing readable: the window step runs
  EXPECT_EQ(gMessages, std::vector<UINT>({WM_USER + 1, WM_USER + 2}));
  EXPECT_FALSE(nested);
  EXPECT_TRUE(gCalls.empty());
}

TEST_F(DispatcherTest, AQueuedTimerWaitsInSelectAndRunsNoWindowStep) {
  SocketPair p;
  Probe probe("a");
  d().link(static_cast<int>(p.client), Dispatcher::kRead, &probe);
  const HWND wnd = makeWindow();
  PostMessage(wnd, WM_USER + 1, 0, 0);
  d().startTimer(0, 200000, &probe);
  const auto t0 = std::chrono::steady_clock::now();
  EXPECT_FALSE(d().dispatch());
  EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(150));
  EXPECT_TRUE(gMessages.empty());
  MSG msg;
  EXPECT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_TRUE(gCalls.empty());  // the fake clock has not moved: not due
  // Data wakes the wait at once.
  d().stopTimer(&probe);
  d().startTimer(30, 0, &probe);
  probe.onInput = [&](int) {
    drain(p);
    return 0;
  };
  p.put("x");
  const auto t1 = std::chrono::steady_clock::now();
  EXPECT_TRUE(d().dispatch());
  EXPECT_LT(std::chrono::steady_clock::now() - t1, std::chrono::seconds(5));
}

TEST_F(DispatcherTest, TheTwentySocketLimitIsRefusedLoudly) {
  testing_support::TempDir dir;
  TheLogbook().SetFileName(dir.file("tolm.log").c_str());
  Probe probe("a");
  for (int s = 100; s < 100 + SocketSet::kWorkingLimit; ++s)
    ASSERT_TRUE(d().link(s, Dispatcher::kRead, &probe));
  EXPECT_EQ(d().lastLinkError(), Dispatcher::LinkError::kNone);
  // Linking one of them again replaces, it takes no new place.
  EXPECT_TRUE(d().link(100, Dispatcher::kRead, &probe));
  EXPECT_FALSE(d().link(120, Dispatcher::kRead, &probe));
  EXPECT_EQ(d().lastLinkError(), Dispatcher::LinkError::kSetFull);
  EXPECT_EQ(d().handlerFor(120, Dispatcher::kRead), nullptr);
  EXPECT_TRUE(d().link(120, Dispatcher::kWrite, &probe));  // another kind has room
  TheLogbook().SetFileName("");
  const std::string log = testing_support::TempDir::read(dir.file("tolm.log"));
  EXPECT_NE(log.find("Dispatcher: cannot watch socket 120"), std::string::npos) << log;
  for (int s = 100; s <= 120; ++s) d().unlink(s);
  EXPECT_EQ(d().slotCount(), 0);
}

TEST_F(DispatcherTest, ADeletedHandlerIsForgottenNotCalled) {
  SocketPair p;
  auto* probe = new Probe("gone");
  Probe other("other");
  d().link(static_cast<int>(p.client), Dispatcher::kRead, probe);
  d().startTimer(0, 0, probe);
  d().startTimer(0, 0, &other);
  delete probe;  // its owner deletes it without unlinking
  EXPECT_EQ(d().handlerFor(static_cast<int>(p.client), Dispatcher::kRead), nullptr);
  EXPECT_EQ(d().timerCount(), 1);
  p.put("x");
  gNow.tv_sec += 1;
  d().dispatch();
  EXPECT_EQ(gCalls, std::vector<std::string>({"other:timer"}));
}

TEST_F(DispatcherTest, DestroyingTheDispatcherLeavesHandlersToTheirOwners) {
  auto probe = std::make_unique<Probe>("kept");
  d().link(5, Dispatcher::kRead, probe.get());
  d().startTimer(1, 0, probe.get());
  Dispatcher::destroy();
  EXPECT_EQ(Dispatcher::existing(), nullptr);
  // Still the owner's: usable, and deleted by the owner alone.
  probe->timerExpired(0, 0);
  EXPECT_EQ(gCalls, std::vector<std::string>({"kept:timer"}));
  probe.reset();
  EXPECT_EQ(Dispatcher::instance()->slotCount(), 0);
}

TEST_F(DispatcherTest, DestroyedInsideAPassItEndsWhenThePassReturns) {
  SocketPair p;
  Probe first("first"), second("second");
  first.onInput = [](int) {
    Dispatcher::destroy();
    return 0;
  };
  d().link(static_cast<int>(p.client), Dispatcher::kRead, &first);
  d().link(static_cast<int>(p.server), Dispatcher::kWrite, &second);
  p.put("x");
  waitReadable(p);
  Dispatcher::instance()->dispatch();
  EXPECT_EQ(gCalls, std::vector<std::string>({"first:in"}));  // nothing after it
  EXPECT_EQ(Dispatcher::existing(), nullptr);
  Dispatcher* fresh = Dispatcher::instance();
  EXPECT_EQ(fresh->slotCount(), 0);
  EXPECT_EQ(fresh->handlerFor(static_cast<int>(p.server), Dispatcher::kWrite), nullptr);
}

TEST_F(DispatcherTest, ASocketClosedUnderneathIsDroppedNotFatal) {
  const FatalExitHook old = SetFatalExitHook([](int) { throw std::runtime_error("fatal"); });
  SocketPair p;
  Probe probe("a");
  const winsock::SOCKET extra = winsock::socket(winsock::AF_INET, winsock::SOCK_STREAM, 0);
  d().link(static_cast<int>(extra), Dispatcher::kRead, &probe);
  d().link(static_cast<int>(p.client), Dispatcher::kRead, &probe);
  winsock::closesocket(extra);
  EXPECT_NO_THROW(d().dispatch());
  EXPECT_EQ(d().handlerFor(static_cast<int>(extra), Dispatcher::kRead), nullptr);
  EXPECT_EQ(d().handlerFor(static_cast<int>(p.client), Dispatcher::kRead), &probe);
  // Out of range numbers are the caller's fault: fatal.
  EXPECT_THROW(d().link(65535, Dispatcher::kRead, &probe), std::runtime_error);
  EXPECT_THROW(d().handlerFor(1, 3), std::runtime_error);
  SetFatalExitHook(old);
  win::ClearMessageBoxLog();
}

TEST_F(DispatcherTest, TheUserBreakFlag) {
  EXPECT_FALSE(SetAbortFlag());
  EXPECT_TRUE(SetAbortFlag());
  EXPECT_TRUE(PollMessages());  // answered once, then cleared
  EXPECT_FALSE(PollMessages());
  SetAbortFlag();
  EXPECT_TRUE(ClearAbortFlag());
  EXPECT_FALSE(ClearAbortFlag());
  // A new dispatcher starts without a break.
  SetAbortFlag();
  Dispatcher::destroy();
  Dispatcher::instance();
  EXPECT_FALSE(ClearAbortFlag());
  // PollMessages runs a window step.
  const HWND wnd = makeWindow();
  PostMessage(wnd, WM_USER + 3, 0, 0);
  EXPECT_FALSE(PollMessages());
  EXPECT_EQ(gMessages, std::vector<UINT>({WM_USER + 3}));
}

}  // namespace
