// SendMessage re-entrancy and nested message loops.
#include <vector>

#include "display/headless.h"
#include "recorder.h"
#include "win/kernel.h"

using namespace user_test;

namespace {

using LoopTest = UserTest;

TEST_F(LoopTest, SentMessagesNestAndReturnTheirResults) {
  HWND a = Top("a");
  HWND b = Top("b");
  std::vector<int> trace;
  reactions()[{a, WM_USER}] = [&](HWND, UINT, WPARAM wp, LPARAM) -> LRESULT {
    trace.push_back(static_cast<int>(wp));
    if (wp < 3) return 10 + SendMessage(b, WM_USER, wp + 1, 0);
    return 100;
  };
  reactions()[{b, WM_USER}] = [&](HWND, UINT, WPARAM wp, LPARAM) -> LRESULT {
    trace.push_back(-static_cast<int>(wp));
    return 1 + SendMessage(a, WM_USER, wp + 1, 0);
  };
  // a(0) = 10 + b(1) = 10 + 1 + a(2) = ... = 10 + 1 + 10 + 1 + a(4), a(4) = 100.
  EXPECT_EQ(SendMessage(a, WM_USER, 0, 0), 122);
  EXPECT_EQ(trace, (std::vector<int>{0, -1, 2, -3, 4}));
}

TEST_F(LoopTest, ANestedLoopEndingOnQuitLeavesTheQuitForTheOuterLoop) {
  HWND w = Top();
  bool innerEnded = false, innerSawQuit = false;
  reactions()[{w, WM_USER}] = [&](HWND wnd, UINT, WPARAM, LPARAM) -> LRESULT {
    // A modal loop inside a handler; something posted later quits.
    PostMessage(wnd, WM_USER + 1, 0, 0);
    innerSawQuit = !win::RunModalLoop([] { return false; });
    innerEnded = true;
    return 0;
  };
  reactions()[{w, WM_USER + 1}] = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
    PostQuitMessage(7);
    return 0;
  };
  PostMessage(w, WM_USER, 0, 0);
  MSG msg;
  int outer = 0;
  while (GetMessage(&msg, nullptr, 0, 0)) {
    ++outer;
    DispatchMessage(&msg);
  }
  EXPECT_TRUE(innerEnded);
  EXPECT_TRUE(innerSawQuit);
  EXPECT_EQ(outer, 1);  // only WM_USER went through the outer loop
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(LoopTest, AModalLoopRunsTimersAndPaintingUntilDone) {
  HWND w = CreateWindow(kClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  bool done = false;
  reactions()[{w, WM_TIMER}] = [&](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
    done = true;
    return 0;
  };
  SetTimer(w, 1, 20, nullptr);
  EXPECT_TRUE(win::RunModalLoop([&] { return done; }));
  EXPECT_EQ(Only({WM_PAINT}).size(), 1u);
  // WaitMessage returns at once while a window needs painting: well before
  // a timer that would end a wait that missed the paint.
  KillTimer(w, 1);
  SetTimer(w, 2, 60000, nullptr);
  InvalidateRect(w, nullptr, FALSE);
  WaitMessage();
  MSG msg;
  EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
}

}  // namespace
