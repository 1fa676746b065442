#include "core/message_pump.h"

#include <gtest/gtest.h>

#include "win/user.h"

namespace {

int gHandled = 0;

LRESULT countingProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_USER + 1) {
    ++gHandled;
    return 0;
  }
  return DefWindowProc(wnd, msg, wp, lp);
}

class MessagePump : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetUserState();
    ResetPumpQuit();
    gHandled = 0;
    WNDCLASS cls{};
    cls.lpfnWndProc = countingProc;
    cls.lpszClassName = "ZemraPumpTest";
    ASSERT_NE(RegisterClass(&cls), 0);
    wnd_ = CreateWindow("ZemraPumpTest", "", WS_OVERLAPPED, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                        nullptr);
    ASSERT_NE(wnd_, nullptr);
  }
  void TearDown() override {
    ResetPumpQuit();
    win::ResetUserState();
  }
  HWND wnd_ = nullptr;
};

TEST_F(MessagePump, DispatchesOneMessagePerStep) {
  EXPECT_EQ(PumpMessages(false), 0);  // empty queue
  PostMessage(wnd_, WM_USER + 1, 0, 0);
  PostMessage(wnd_, WM_USER + 1, 0, 0);
  EXPECT_EQ(PumpMessages(true), 0);
  EXPECT_EQ(gHandled, 1);
  EXPECT_EQ(PumpMessages(false), 0);
  EXPECT_EQ(gHandled, 2);
  EXPECT_EQ(PumpMessages(false), 0);
  EXPECT_EQ(gHandled, 2);
}

TEST_F(MessagePump, QuitIsConsumedAndLaterCallsLeaveTheQueueAlone) {
  PostQuitMessage(0);
  EXPECT_EQ(PumpMessages(false), -1);
  EXPECT_TRUE(PumpQuitSeen());
  MSG msg{};
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) << "the quit message was put back";

  PostMessage(wnd_, WM_USER + 1, 0, 0);
  EXPECT_EQ(PumpMessages(false), -1);
  EXPECT_EQ(PumpMessages(true), -1);
  EXPECT_EQ(gHandled, 0);
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
}

}  // namespace
