// CWinApp's run loop: idle calls while nothing waits, counting up until
// OnIdle answers FALSE, a new round after a message that counts, the
// user-interface update at count 0, temporary objects freed at count 1, and
// WM_QUIT ending the loop with its code.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "mfc/afx.h"
#include "support/mfc_fixture.h"

namespace {

using mfc_test::MfcTest;

class MainWnd : public CWnd {
 public:
  int updates = 0;
  afx_msg LRESULT OnIdleUpdate(WPARAM, LPARAM) {
    ++updates;
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(MainWnd, CWnd)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

class ChildWnd : public MainWnd {};

class IdleApp : public CWinApp {
 public:
  IdleApp() : CWinApp("Idle") {}
  BOOL OnIdle(LONG count) override {
    counts.push_back(count);
    const BOOL more = CWinApp::OnIdle(count);
    if (step) step(count);
    return more;
  }
  std::vector<LONG> counts;
  std::function<void(LONG)> step;
};

using IdleTest = MfcTest;

TEST_F(IdleTest, IdleRoundsUpdateTheInterfaceFreeTemporariesAndEndOnQuit) {
  IdleApp app;
  MainWnd main;
  ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), "main", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                            nullptr, nullptr));
  ChildWnd child;
  ASSERT_TRUE(child.Create(nullptr, "child", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &main, 1));
  app.m_pMainWnd = &main;
  HWND foreign = CreateWindow("STATIC", "x", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  mfc_test::PumpPending();  // creation's own messages

  int round = 0;
  size_t tempsAtCount0 = 0;
  size_t tempsAfterCount1 = 99;
  app.step = [&](LONG count) {
    if (count == 0 && round == 1) {
      CWnd::FromHandle(foreign);  // a temporary object, held until idle
      tempsAtCount0 = AfxTemporaryObjectCount();
    }
    if (count == 1) {
      if (round == 1) tempsAfterCount1 = AfxTemporaryObjectCount();
      // A message ends each round; the third round ends the loop.
      if (++round < 3)
        PostMessage(nullptr, WM_USER, 0, 0);
      else
        PostQuitMessage(21);
    }
  };
  EXPECT_EQ(app.Run(), 21);
  EXPECT_EQ(app.counts, (std::vector<LONG>{0, 1, 0, 1, 0, 1}));
  EXPECT_EQ(main.updates, 3);   // once per round, at count 0
  EXPECT_EQ(child.updates, 3);  // and to its permanent children
  EXPECT_GE(tempsAtCount0, 1u);
  EXPECT_EQ(tempsAfterCount1, 0u);
  app.m_pMainWnd = nullptr;
  DestroyWindow(foreign);
}

TEST_F(IdleTest, MessagesThatDoNotStartANewRound) {
  IdleApp app;
  struct Case {
    UINT message;
    POINT pt;
    BOOL idle;
  };
  // A mouse move counts only when the pointer moved.
  const Case cases[] = {{WM_USER, {0, 0}, TRUE},      {WM_TIMER, {0, 0}, TRUE},
                        {WM_PAINT, {0, 0}, FALSE},    {WM_SYSTIMER, {0, 0}, FALSE},
                        {WM_MOUSEMOVE, {5, 5}, TRUE}, {WM_MOUSEMOVE, {5, 5}, FALSE},
                        {WM_MOUSEMOVE, {6, 5}, TRUE}, {WM_KEYDOWN, {6, 5}, TRUE}};
  for (const Case& c : cases) {
    MSG msg{};
    msg.message = c.message;
    msg.pt = c.pt;
    EXPECT_EQ(app.IsIdleMessage(&msg), c.idle) << std::hex << c.message;
  }
}

TEST_F(IdleTest, TemporaryObjectsAreKeptWhileTheMapsAreLocked) {
  HWND foreign = CreateWindow("STATIC", "x", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  CWnd* temp = CWnd::FromHandle(foreign);
  ASSERT_NE(temp, nullptr);
  EXPECT_EQ(CWnd::FromHandle(foreign), temp);  // one per handle
  EXPECT_EQ(CWnd::FromHandlePermanent(foreign), nullptr);
  CWinApp app("Locks");
  AfxLockTempMaps();
  app.OnIdle(1);
  EXPECT_EQ(AfxTemporaryObjectCount(), 1u);
  EXPECT_TRUE(AfxUnlockTempMaps());  // the last unlock frees them
  EXPECT_EQ(AfxTemporaryObjectCount(), 0u);
  // A permanent object is what FromHandle answers from then on.
  CWnd perm;
  ASSERT_TRUE(perm.Attach(foreign));
  EXPECT_EQ(CWnd::FromHandle(foreign), &perm);
  app.OnIdle(1);
  EXPECT_EQ(CWnd::FromHandle(foreign), &perm);
  EXPECT_EQ(perm.Detach(), foreign);
  DestroyWindow(foreign);
}

}  // namespace
