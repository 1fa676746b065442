// The progress reporter: what each operation keeps and what it sends to the
// main window, the user-break flag and the cancel byte, the message step of
// a poll, and the frame registration.
#include "framework/progress_reporter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/user_break.h"
#include "core/message_pump.h"
#include "core/user_break.h"  // installs the message step of a poll
#include "mfc/app.h"
#include "win/user.h"

namespace {

// What the main window received, one line per message.
std::vector<std::string> gReceived;
HWND gMainWindow = nullptr;
constexpr UINT kPing = WM_USER + 5;

LRESULT SinkProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kPing) gReceived.push_back("ping");
  if (msg != kProgressMessage) return DefWindowProc(wnd, msg, wp, lp);
  std::string line = "kind " + std::to_string(wp) + " ";
  switch (wp) {
    case kProgressFraction:
      line += std::to_string(*reinterpret_cast<const float*>(lp));
      break;
    case kProgressText:
      line += lp ? reinterpret_cast<const char*>(lp) : "(null)";
      break;
    default:
      line += std::to_string(lp);
  }
  gReceived.push_back(line);
  return 0;
}

HWND ResolveMainWindow(const CWnd*) { return gMainWindow; }

// A main window that records what it is sent.
class ProgressReporterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetUserState();
    gReceived.clear();
    WNDCLASS wc{};
    wc.lpfnWndProc = SinkProc;
    wc.lpszClassName = "ProgressSink";
    ASSERT_NE(RegisterClass(&wc), 0);
    gMainWindow = CreateWindow("ProgressSink", "main", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                               nullptr, nullptr, nullptr);
    ASSERT_NE(gMainWindow, nullptr);
    // The window classes of the shell are not here yet: any non-null CWnd
    // pointer stands for the main window, resolved to the sink window.
    app_.m_pMainWnd = reinterpret_cast<CWnd*>(&frameStandIn_);
    AfxSetWindowHandleResolver(&ResolveMainWindow);
    ClearAbortFlag();
  }
  void TearDown() override {
    AfxSetWindowHandleResolver(nullptr);
    app_.m_pMainWnd = nullptr;
    gMainWindow = nullptr;
    ClearAbortFlag();
    win::ResetUserState();
  }

  CWinApp app_{"Tolm"};
  int frameStandIn_ = 0;
};

TEST_F(ProgressReporterTest, ReportsReachTheMainWindow) {
  ProgressReporter r;
  r.SetFraction(1, 4);
  r.SetFraction(5, 0);  // no total: 0, still shown
  r.SetFractionValue(1.5f);
  r.SetFractionValue(0.5f);
  r.SetCount(1234);
  r.SetText("loading");
  r.SetText(nullptr);
  r.Start();
  r.Notify(7);  // no such kind: nothing
  EXPECT_EQ(gReceived, (std::vector<std::string>{
                           "kind 1 0.250000", "kind 1 0.000000", "kind 1 1.000000",
                           "kind 1 0.500000", "kind 2 1234", "kind 3 loading", "kind 3 (null)",
                           "kind 0 0"}));
  EXPECT_FLOAT_EQ(r.fraction(), 1234.0f);
}

TEST_F(ProgressReporterTest, FractionOfLargeCountsIsNotTruncatedToIntegers) {
  ProgressReporter r;
  r.SetFraction(2000000000, 2100000000);
  EXPECT_NEAR(r.fraction(), 0.952f, 0.001f);
  r.SetFraction(-1, 4);
  EXPECT_FLOAT_EQ(r.fraction(), -0.25f);
}

TEST_F(ProgressReporterTest, TextIsACopy) {
  ProgressReporter r;
  char buffer[] = "first";
  r.SetText(buffer);
  buffer[0] = 'X';
  EXPECT_STREQ(r.text(), "first");
  r.SetText("second");  // the first copy is freed (the leak check sees it)
  EXPECT_STREQ(r.text(), "second");
}

TEST_F(ProgressReporterTest, WithoutMainWindowNothingIsSent) {
  app_.m_pMainWnd = nullptr;
  ProgressReporter r;
  r.SetFraction(1, 2);
  r.SetText("x");
  r.Start();
  EXPECT_TRUE(gReceived.empty());
  EXPECT_FLOAT_EQ(r.fraction(), 0.5f);
}

TEST_F(ProgressReporterTest, UserBreakFlag) {
  ProgressReporter r;
  EXPECT_FALSE(r.RequestAbort());
  EXPECT_TRUE(r.RequestAbort());
  EXPECT_TRUE(TestAbortFlag());
  EXPECT_TRUE(r.PollAbort());   // returned once ...
  EXPECT_FALSE(r.PollAbort());  // ... and cleared
  r.RequestAbort();
  EXPECT_TRUE(r.ResetAbort());
  EXPECT_FALSE(r.ResetAbort());
  EXPECT_FALSE(TestAbortFlag());
}

TEST_F(ProgressReporterTest, CancelByte) {
  ProgressReporter r;
  EXPECT_FALSE(r.cancelSet());
  EXPECT_FALSE(r.SetCancel());
  EXPECT_TRUE(r.SetCancel());
  EXPECT_TRUE(r.TestAndClearCancel());
  EXPECT_FALSE(r.TestAndClearCancel());
  // The cancel byte and the user-break flag are separate.
  EXPECT_FALSE(TestAbortFlag());
}

TEST_F(ProgressReporterTest, PollRunsOneMessageStep) {
  ProgressReporter r;
  PostMessage(gMainWindow, kPing, 0, 0);
  PostMessage(gMainWindow, kPing, 0, 0);
  EXPECT_FALSE(r.PollAbort());
  EXPECT_EQ(gReceived, (std::vector<std::string>{"ping"}));
  EXPECT_FALSE(r.PollAbort());
  EXPECT_EQ(gReceived.size(), 2u);
}

TEST_F(ProgressReporterTest, PollSeesTheQuitMessage) {
  ProgressReporter r;
  PostQuitMessage(0);
  EXPECT_FALSE(r.PollAbort());
  EXPECT_TRUE(PumpQuitSeen());
  ResetPumpQuit();
}

TEST(FrameProgress, RegistrationHook) {
  EXPECT_EQ(GetFrameProgress(), nullptr);
  ProgressReporter a, b;
  EXPECT_EQ(SetFrameProgress(&a), nullptr);
  EXPECT_EQ(GetFrameProgress(), &a);
  ClearFrameProgress(&b);  // another frame's reporter stays
  EXPECT_EQ(GetFrameProgress(), &a);
  ClearFrameProgress(&a);
  EXPECT_EQ(GetFrameProgress(), nullptr);
}

}  // namespace
