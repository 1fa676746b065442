// The idle processing without a server: one command per call, a command
// that cannot run now is deleted rather than lost, the recovery when the
// history is empty, work put off to idle time runs before the next
// command, idle calls go on only while there is work, and a page that needs
// an idle event later is woken by a timer rather than called in a spin.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/commands/command_queue.h"
#include "app/commands/navigation_commands.h"
#include "app/history/nav_history.h"
#include "app/idle_tasks.h"
#include "app/idle_wake.h"
#include "app/shell_state.h"
#include "app/zemra_app.h"
#include "core/kx_object.h"
#include "core/store.h"
#include "framework/user_break.h"
#include "pages/objects/vobject.h"
#include "support/user_clock.h"
#include "user/message_queue.h"
#include "win/user.h"

namespace app_test {
namespace {

std::vector<std::string>& Events() {
  static std::vector<std::string> events;
  return events;
}

class Probe : public Command {
 public:
  explicit Probe(std::string name) : name_(std::move(name)) {}
  ~Probe() override { Events().push_back("deleted " + name_); }
  BOOL Execute() override {
    Events().push_back("ran " + name_);
    return TRUE;
  }

 private:
  std::string name_;
};

class IdleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetUserState();
    TheCommandQueue().ResetForTests();
    TheHistory().Clear();
    ResetStopFlagForTests();
    SetLongOperationFlag(0);
    DropIdleTasks();
    Events().clear();
  }
  void TearDown() override {
    TheCommandQueue().ResetForTests();
    SetServerAddress(kDefaultServerAddress);
    SetLongOperationFlag(0);
  }
  ZemraApp app;
};

TEST_F(IdleTest, RunsOneCommandPerCallAndDeletesIt) {
  // A current object: nothing to recover, which would empty the queue.
  TheHistory().Push(Ref<KXObject>(new KXObject("ObjectID=0x00000101\n", Ref<Store>())));
  TheCommandQueue().Push(new Probe("a"));
  TheCommandQueue().Push(new Probe("b"));
  app.OnIdle(0);
  EXPECT_EQ(Events(), (std::vector<std::string>{"ran a", "deleted a"}));
  EXPECT_FALSE(LongOperationFlag());
  EXPECT_EQ(app.BusyCount(), 0);
  ASSERT_EQ(TheCommandQueue().Count(), 1);
  TheHistory().Clear();
}

TEST_F(IdleTest, ACommandThatCannotRunNowIsDeleted) {
  // A command runs further up the stack (inside a wait).
  SetLongOperationFlag(1);
  TheCommandQueue().Push(new Probe("late"));
  app.OnIdle(0);
  EXPECT_EQ(Events(), std::vector<std::string>{"deleted late"});
}

TEST_F(IdleTest, WithoutACurrentObjectOneRecoveryCommandIsQueued) {
  struct Case {
    const char* server;
    int type;
  } cases[] = {{"", kCommandRoot}, {"korvex://example:1500/root", kCommandGoto}};
  for (const Case& c : cases) {
    TheCommandQueue().ResetForTests();
    SetServerAddress(c.server);
    // An empty queue: the call only recovers.
    app.OnIdle(0);
    ASSERT_EQ(TheCommandQueue().Count(), 1) << c.server;
    Command* queued = TheCommandQueue().At(0);
    EXPECT_EQ(queued->GetType(), c.type) << c.server;
    if (c.type == kCommandGoto) EXPECT_EQ(static_cast<GotoCommand*>(queued)->name, c.server);
  }
}

TEST_F(IdleTest, WorkPutOffToIdleTimeRunsBeforeTheNextCommand) {
  TheCommandQueue().Push(new Probe("next"));
  RunAtIdle([] { Events().push_back("reload"); });
  app.OnIdle(0);
  ASSERT_GE(Events().size(), 2u);
  EXPECT_EQ(Events()[0], "reload");
  EXPECT_EQ(Events()[1], "ran next");
  EXPECT_EQ(PendingIdleTasks(), 0);
}

TEST_F(IdleTest, IdleCallsGoOnOnlyWhileThereIsWork) {
  // A current object and no page: nothing asks for idle events.
  TheHistory().Push(Ref<KXObject>(new KXObject("ObjectID=0x00000101\n", Ref<Store>())));
  struct Case {
    int commands;
    bool more;
  } cases[] = {{0, false}, {1, false}, {2, true}};
  for (const Case& c : cases) {
    TheCommandQueue().ResetForTests();
    for (int i = 0; i < c.commands; ++i) TheCommandQueue().Push(new Probe("c" + std::to_string(i)));
    // FALSE lets the message loop sleep until the next message.
    EXPECT_EQ(app.OnIdle(0) != FALSE, c.more) << c.commands << " commands queued";
  }
  TheHistory().Clear();
}

TEST_F(IdleTest, APageIsWokenByATimerWhenItNeedsItsNextIdleEvent) {
  testing_support::TestUserClock clock;
  const DWORD none = win::user::kNoTimer;
  struct Case {
    DWORD wait;
    bool again;     // OnIdle is called again at once
    DWORD timerIn;  // the wake-up is due in
  } cases[] = {
      {40, false, 40},
      {VObject::kNoIdleWait, false, none},
      {100, false, 100},
      {0, true, none},
      {1, false, 10},  // the shortest a timer waits
      {VObject::kNoIdleWait, false, none},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WakeForIdle(c.wait) != FALSE, c.again) << c.wait;
    EXPECT_EQ(win::user::TimeToNextTimer(nullptr, WM_TIMER, WM_TIMER), c.timerIn) << c.wait;
  }
  // The wake-up is one timer, set again for the time asked last; when it
  // is due, its message is one after which MFC runs the idle processing.
  WakeForIdle(100);
  clock.Advance(60);
  WakeForIdle(80);
  clock.Advance(79);
  MSG m;
  EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE));
  clock.Advance(1);
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(m.wParam, IdleWakeTimer());
  EXPECT_TRUE(app.IsIdleMessage(&m));
  DispatchMessage(&m);
  WakeForIdle(VObject::kNoIdleWait);
  EXPECT_EQ(IdleWakeTimer(), 0u);
}

TEST_F(IdleTest, AfterQuitNothingRuns) {
  SetStopFlag();
  TheCommandQueue().ResetForTests();
  EXPECT_FALSE(app.OnIdle(0));
}

}  // namespace
}  // namespace app_test
