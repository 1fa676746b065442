#include <vector>

#include "recorder.h"
#include "support/user_clock.h"
#include "win/kernel.h"

using namespace user_test;

namespace {

using QueueTest = UserTest;

// Takes and dispatches everything waiting; returns the numbers taken.
std::vector<UINT> Drain() {
  std::vector<UINT> taken;
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    taken.push_back(msg.message);
    if (msg.message == WM_QUIT) break;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  return taken;
}

TEST_F(QueueTest, PostedFirstInFirstOutThenQuitThenTimers) {
  testing_support::TestUserClock clock;
  HWND w = Top();
  SetTimer(w, 7, 10, nullptr);
  clock.Advance(30);
  PostMessage(w, WM_USER + 1, 0, 0);
  PostQuitMessage(3);
  PostMessage(w, WM_USER + 2, 0, 0);  // posted after the quit: still ahead of it
  PostThreadMessage(0, WM_USER + 3, 0, 0);
  received().clear();
  // A sent message is a direct call: it overtakes everything queued.
  EXPECT_EQ(SendMessage(w, WM_USER + 9, 0, 0), 0);
  ASSERT_EQ(received().size(), 1u);

  MSG msg;
  std::vector<UINT> order;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    order.push_back(msg.message);
    if (msg.message == WM_QUIT) {
      EXPECT_EQ(msg.wParam, 3u);
    }
    if (msg.message == WM_TIMER) {
      EXPECT_EQ(msg.hwnd, w);
      EXPECT_EQ(msg.wParam, 7u);
      break;
    }
  }
  const std::vector<UINT> expected = {WM_USER + 1, WM_USER + 2, WM_USER + 3, WM_QUIT, WM_TIMER};
  EXPECT_EQ(order, expected);
}

TEST_F(QueueTest, PeekFiltersByWindowAndRangeAndNoRemoveLeavesTheMessage) {
  HWND a = Top("a");
  HWND b = Top("b");
  HWND a1 = Child(a, 1);
  PostMessage(b, WM_USER + 1, 0, 0);
  PostMessage(a1, WM_USER + 2, 0, 0);
  PostMessage(nullptr, WM_USER + 3, 0, 0);
  PostMessage(a, WM_KEYDOWN, 'A', 0);

  struct Case {
    const char* what;
    HWND wnd;
    UINT first, last;
    UINT expected;  // 0: nothing
  };
  const Case cases[] = {
      {"any window, any number", nullptr, 0, 0, WM_USER + 1},
      {"window a covers its child", a, 0, 0, WM_USER + 2},
      {"window a1 only", a1, 0, 0, WM_USER + 2},
      {"thread messages only", reinterpret_cast<HWND>(-1), 0, 0, WM_USER + 3},
      {"keyboard range", nullptr, WM_KEYFIRST, WM_KEYLAST, WM_KEYDOWN},
      {"range that matches nothing", nullptr, WM_USER + 10, WM_USER + 20, 0},
      {"window b and a key range", b, WM_KEYFIRST, WM_KEYLAST, 0},
  };
  for (const Case& c : cases) {
    MSG msg{};
    const BOOL got = PeekMessage(&msg, c.wnd, c.first, c.last, PM_NOREMOVE);
    EXPECT_EQ(got != 0, c.expected != 0) << c.what;
    if (got) {
      EXPECT_EQ(msg.message, c.expected) << c.what;
    }
  }
  // PM_NOREMOVE left all four; removing by filter takes them out of order.
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, a, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));
  const std::vector<UINT> rest = {WM_USER + 1, WM_USER + 3, WM_KEYDOWN, WM_CHAR};
  EXPECT_EQ(Drain(), rest);
  // A window filter that is no window.
  EXPECT_FALSE(PeekMessage(&msg, reinterpret_cast<HWND>(999), 0, 0, PM_REMOVE));
  EXPECT_EQ(GetMessage(&msg, reinterpret_cast<HWND>(999), 0, 0), -1);
}

TEST_F(QueueTest, QuitComesOnceAndGetMessageReturnsFalseForIt) {
  PostMessage(nullptr, WM_USER, 0, 0);
  PostQuitMessage(9);
  MSG msg;
  EXPECT_EQ(GetMessage(&msg, nullptr, 0, 0), TRUE);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  // A range without WM_QUIT does not see it.
  EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_USER, WM_USER + 5, PM_NOREMOVE));
  EXPECT_EQ(GetMessage(&msg, nullptr, 0, 0), FALSE);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 9u);
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(QueueTest, DispatchCallsTheWindowAndTranslateMakesCharacters) {
  HWND w = Top();
  struct Case {
    std::vector<std::pair<UINT, WPARAM>> keys;  // posted before the key of interest
    UINT msg;
    WPARAM vk;
    WPARAM expectedChar;  // 0: no character
  };
  const Case cases[] = {
      {{}, WM_KEYDOWN, 'A', 'a'},
      {{{WM_KEYDOWN, VK_SHIFT}}, WM_KEYDOWN, 'A', 'A'},
      {{{WM_KEYDOWN, VK_SHIFT}}, WM_KEYDOWN, '1', '!'},
      {{{WM_KEYDOWN, VK_CONTROL}}, WM_KEYDOWN, 'C', 3},
      {{}, WM_KEYDOWN, VK_RETURN, '\r'},
      {{}, WM_KEYDOWN, VK_LEFT, 0},
      {{}, WM_KEYDOWN, VK_F1, 0},
      {{}, WM_SYSKEYDOWN, 'X', 'x'},
  };
  for (const Case& c : cases) {
    win::ResetUserState();
    WNDCLASS wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = kClass;
    RegisterClass(&wc);
    w = Top();
    for (auto [m, vk] : c.keys) PostMessage(w, m, vk, 0);
    PostMessage(w, c.msg, c.vk, 0x1E0001);
    PostMessage(w, WM_USER, 0, 0);
    received().clear();
    Drain();
    std::vector<Received> chars = Only({WM_CHAR, WM_SYSCHAR});
    if (c.expectedChar == 0) {
      EXPECT_TRUE(chars.empty()) << c.vk;
      continue;
    }
    ASSERT_EQ(chars.size(), 1u) << c.vk;
    EXPECT_EQ(chars[0].wp, c.expectedChar) << c.vk;
    EXPECT_EQ(chars[0].msg, c.msg == WM_KEYDOWN ? static_cast<UINT>(WM_CHAR) : static_cast<UINT>(WM_SYSCHAR));
    EXPECT_EQ(chars[0].lp, 0x1E0001);
    // The character comes right after its key, before what was posted later.
    size_t key = 0;
    while (received()[key].msg != c.msg || received()[key].wp != c.vk) ++key;
    EXPECT_EQ(received()[key + 1].msg, chars[0].msg);
  }
}

std::vector<std::pair<HWND, UINT_PTR>> gTimerCalls;
void CALLBACK TimerProc(HWND wnd, UINT, UINT_PTR id, DWORD) { gTimerCalls.push_back({wnd, id}); }

TEST_F(QueueTest, TimersCoalesceRestartAndKillDropsThePendingMessage) {
  testing_support::TestUserClock clock;
  HWND w = Top();
  EXPECT_EQ(SetTimer(w, 5, 10, nullptr), 5u);
  clock.Advance(9);
  EXPECT_TRUE(Drain().empty());  // not due before its period
  clock.Advance(51);  // several periods: still one WM_TIMER
  received().clear();
  EXPECT_EQ(Drain(), std::vector<UINT>{WM_TIMER});
  EXPECT_EQ(Only({WM_TIMER}).size(), 1u);

  // PM_NOREMOVE sees it without taking it; KillTimer drops it.
  clock.Advance(20);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
  EXPECT_TRUE(KillTimer(w, 5));
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(KillTimer(w, 5));

  // Setting the id again restarts the timer: not due before its new period.
  SetTimer(w, 6, 10, nullptr);
  clock.Advance(20);
  SetTimer(w, 6, 100000, nullptr);
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));

  // A timer of no window gets its own id and calls its procedure on dispatch.
  gTimerCalls.clear();
  const UINT_PTR id = SetTimer(nullptr, 0, 10, TimerProc);
  const UINT_PTR other = SetTimer(nullptr, 0, 100000, TimerProc);
  EXPECT_NE(id, 0u);
  EXPECT_NE(id, other);
  clock.Advance(20);
  Drain();
  ASSERT_EQ(gTimerCalls.size(), 1u);
  EXPECT_EQ(gTimerCalls[0].first, nullptr);
  EXPECT_EQ(gTimerCalls[0].second, id);
  // A destroyed window's timers go with it.
  SetTimer(w, 8, 10, nullptr);
  DestroyWindow(w);
  KillTimer(nullptr, id);
  clock.Advance(20);
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(QueueTest, PostedTimerMessageCannotCallAnArbitraryAddress) {
  HWND w = Top();
  gTimerCalls.clear();
  // lParam names a procedure, but no timer was set with it.
  PostMessage(w, WM_TIMER, 1, reinterpret_cast<LPARAM>(&TimerProc));
  received().clear();
  Drain();
  EXPECT_TRUE(gTimerCalls.empty());
  EXPECT_TRUE(received().empty());
}

TEST_F(QueueTest, GetMessageSleepsUntilTheTimerIsDue) {
  HWND w = Top();
  SetTimer(w, 1, 50, nullptr);
  const DWORD start = GetTickCount();
  MSG msg;
  ASSERT_EQ(GetMessage(&msg, nullptr, 0, 0), TRUE);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
  EXPECT_GE(GetTickCount() - start, 40u);
  EXPECT_EQ(GetMessageTime(), msg.time);
}

TEST_F(QueueTest, PostingIsBounded) {
  int posted = 0;
  while (PostMessage(nullptr, WM_USER, 0, 0) && posted < 20000) ++posted;
  EXPECT_EQ(posted, 10000);
}

}  // namespace
