// The user's break: a navigation pushed while a request waits for the
// server (input handled inside the wait) makes that request give up; the
// break does not reach the next request, and a search runs whole.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "app/commands/command_queue.h"
#include "app/commands/command_texts.h"
#include "app/commands/navigation_commands.h"
#include "app/commands/session_commands.h"
#include "app/history/nav_history.h"
#include "app/support/shell_fixture.h"
#include "core/object_utils.h"
#include "framework/progress_reporter.h"
#include "framework/user_break.h"
#include "support/patience.h"
#include "win/user.h"

namespace app_test {
namespace {

constexpr UINT kPushBack = WM_USER + 1;

// Input that arrives while a request waits: the user goes back.
LRESULT CALLBACK UserInputProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kPushBack) {
    TheCommandQueue().Push(new BackCommand);
    return 0;
  }
  return DefWindowProc(wnd, msg, wp, lp);
}

HWND MakeInputWindow() {
  WNDCLASS cls{};
  cls.lpfnWndProc = &UserInputProc;
  cls.lpszClassName = "UserInput";
  RegisterClass(&cls);
  return CreateWindowEx(0, "UserInput", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                        nullptr);
}

int Occurrences(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class UserBreakTest : public ShellTest {
 protected:
  // Gives the peer a control file and waits until it has read it.
  void Control(const std::string& lines) {
    const int before = Occurrences(peer_->log(), "control-steady");
    peer_->control(lines);
    const auto deadline = testing_support::PatienceDeadline();
    while (Occurrences(peer_->log(), "control-steady") <= before &&
           std::chrono::steady_clock::now() < deadline)
      Sleep(10);
    ASSERT_GT(Occurrences(peer_->log(), "control-steady"), before);
  }
};

TEST_F(UserBreakTest, ANavigationPushedDuringAWaitBreaksItAndOnlyIt) {
  StartAndLogIn();
  HWND input = MakeInputWindow();
  ASSERT_NE(input, nullptr);

  // Every record now comes late: the goto waits for it.
  Control("misbehave delay=20@7\n");
  TheCommandQueue().Push(new GotoCommand(ObjectId(0x124)));
  PostMessage(input, kPushBack, 0, 0);
  app_->OnIdle(0);
  // The goto gave up; what the user pushed is all that is queued.
  EXPECT_TRUE(LogHas("goto '0x00000124' failed"));
  EXPECT_EQ(CurrentId(), 0x101);
  ASSERT_EQ(TheCommandQueue().Count(), 1);
  EXPECT_EQ(TheCommandQueue().At(0)->GetType(), kCommandBack);
  // Nothing of the break is left for the next request.
  EXPECT_FALSE(TestAbortFlag());
  ASSERT_NE(GetFrameProgress(), nullptr);
  EXPECT_FALSE(GetFrameProgress()->cancelSet());
  EXPECT_TRUE(IdleUntilQueueEmpty());

  Control("# records on time again\n");
  TheCommandQueue().Push(new SearchCommand(0, "planets"));
  ASSERT_TRUE(IdleUntilQueueEmpty());
  EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
  const Ref<KXObject> results = TheHistory().Current();
  ASSERT_TRUE(results);
  EXPECT_NE(results->getObjectId(), 0x101);
  DestroyWindow(input);
}

TEST_F(UserBreakTest, ASearchWithoutHitsSaysSoAndKeepsThePage) {
  StartAndLogIn();
  TheCommandQueue().Push(new SearchCommand(0, "xyzzy-nothing-like-it"));
  ASSERT_TRUE(IdleUntilQueueEmpty());
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"No matching object found!"});
  EXPECT_EQ(CurrentId(), 0x101);
}

TEST_F(UserBreakTest, ASearchForAnAddressBecomesAGoto) {
  StartAndLogIn();
  const std::string address = ini["CONNECT"]["Server"] + "planets";
  TheCommandQueue().Push(new SearchCommand(0, CString(("see " + address).c_str())));
  app_->OnIdle(0);
  ASSERT_EQ(TheCommandQueue().Count(), 1);
  auto* go = dynamic_cast<GotoCommand*>(TheCommandQueue().At(0));
  ASSERT_NE(go, nullptr);
  EXPECT_EQ(go->name, CString(("see " + address).c_str()));
}

}  // namespace
}  // namespace app_test
