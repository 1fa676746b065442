// A fixture for tests of the message loop: USER state and the pump's quit
// flag fresh for each test, and one window whose procedure counts the
// messages numbered kCounted sent or posted to it.
#pragma once

#include <gtest/gtest.h>

#include "core/message_pump.h"
#include "win/user.h"

namespace testing_support {

class CountingWindowTest : public ::testing::Test {
 protected:
  static constexpr UINT kCounted = WM_USER + 7;

  void SetUp() override {
    win::ResetUserState();
    ResetPumpQuit();
    counted() = 0;
    WNDCLASS cls{};
    cls.lpfnWndProc = &CountingProc;
    cls.lpszClassName = "ZemraCountingWindow";
    ASSERT_NE(RegisterClass(&cls), 0);
    wnd_ = CreateWindow("ZemraCountingWindow", "", WS_OVERLAPPED, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                        nullptr);
    ASSERT_NE(wnd_, nullptr);
  }
  void TearDown() override {
    ResetPumpQuit();
    win::ResetUserState();
  }

  // Messages numbered kCounted the window has handled.
  static int handled() { return counted(); }
  void post() const { PostMessage(wnd_, kCounted, 0, 0); }
  // Drops every message still queued.
  static void drainQueue() {
    MSG drop{};
    while (PeekMessage(&drop, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  HWND wnd_ = nullptr;

 private:
  static int& counted() {
    static int n = 0;
    return n;
  }
  static LRESULT CountingProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kCounted) {
      ++counted();
      return 0;
    }
    return DefWindowProc(wnd, msg, wp, lp);
  }
};

}  // namespace testing_support
