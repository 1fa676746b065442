// The client started from a Tolm.ini in a run folder of its own, logged in
// to the reference peer serving the sample web, moved through it by the
// navigation commands as the interpreter, the keys and the pages push them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/commands/command_queue.h"
#include "app/commands/navigation_commands.h"
#include "app/commands/session_commands.h"
#include "app/frame/frame_layout.h"
#include "app/history/nav_history.h"
#include "app/shell_state.h"
#include "app/support/shell_fixture.h"
#include "core/kx_object.h"
#include "core/object_utils.h"
#include "mfc/app.h"

namespace app_test {
namespace {

class NavigationTest : public ShellTest {
 protected:
  // Pushes the command and runs the idle processing until the queue is
  // empty; the current object's id afterwards.
  long Run(Command* c) {
    TheCommandQueue().Push(c);
    EXPECT_TRUE(IdleUntilQueueEmpty());
    return CurrentId();
  }
  // The ids of the members of the current (temporary) collection.
  static std::vector<long> CurrentMembers() {
    std::vector<long> ids;
    const Ref<KXObject> current = TheHistory().Current();
    const List* members = GetObjectUtilityServices()->collectionChildren(*current);
    if (members)
      for (ListElement* e = members->first(); e; e = e->next()) ids.push_back(ObjectOf(e)->getObjectId());
    return ids;
  }
};

TEST_F(NavigationTest, StartsFromItsSettingsFileAndLogsIn) {
  StartAndLogIn();
  // Anonymous: the session's home is the root collection.
  EXPECT_EQ(CurrentId(), 0x101);
  EXPECT_EQ(ServerAddress(), CString(ini["CONNECT"]["Server"].c_str()));
  const std::vector<std::string> log = LogLines();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[0], "logbook of Tolm (beta version)");
  EXPECT_EQ(log[1].substr(0, 31), std::string(30, '=') + " ");
  EXPECT_FALSE(LogHas("start-up: file pool not available, starting without it"));
  EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
  // The main frame covers its MainWindow rectangle, the pages the whole of it.
  ASSERT_NE(AfxGetMainWnd(), nullptr);
  const RECT area = FramePageArea();
  EXPECT_EQ(area.right - area.left, 640);
  EXPECT_EQ(area.bottom - area.top, 480);
  EXPECT_EQ(TheHistory().BackCount(), 0);
  EXPECT_EQ(TheCommandQueue().Count(), 0);
}

TEST_F(NavigationTest, MovesThroughTheSampleWeb) {
  StartAndLogIn();
  // Each command is made when its turn comes, as a click makes it: the
  // parents command takes the object current at that moment.
  const CString server(ini["CONNECT"]["Server"].c_str());
  struct Step {
    const char* what;
    std::function<Command*()> make;
    long id;
  } steps[] = {
      {"goto by name", [] { return new GotoCommand(CString("planets")); }, 0x102},
      {"goto by id", [] { return new GotoCommand(ObjectId(0x103)); }, 0x103},
      {"parents (one)", [] { return new ParentsCommand; }, 0x102},
      {"back", [] { return new BackCommand; }, 0x103},
      {"forward", [] { return new ForwardCommand; }, 0x102},
      {"up", [] { return new UpCommand; }, 0x101},
      {"goto by URL", [&] { return new GotoCommand(server + "outer-planets"); }, 0x104},
      {"root", [] { return new RootCommand; }, 0x101},
  };
  for (Step& s : steps) EXPECT_EQ(Run(s.make()), s.id) << s.what;
  // root, outer, root, planets, inner, root (the start) lie behind.
  EXPECT_EQ(TheHistory().BackCount(), 6);
}

TEST_F(NavigationTest, NextAndPreviousStepThroughTheHoldingCollection) {
  StartAndLogIn();
  ASSERT_EQ(Run(new GotoCommand(CString("planets"))), 0x102);
  ASSERT_EQ(Run(new GotoCommand(ObjectId(0x103))), 0x103);
  EXPECT_TRUE(NextCommand::IsEnabled());
  const long next = Run(new NextCommand);
  EXPECT_NE(next, 0x103);
  EXPECT_TRUE(next == 0x104 || next == 0x105) << std::hex << next;
  EXPECT_EQ(Run(new PrevCommand), 0x103);
  // Past either end nothing moves and the queue is left empty.
  while (NextCommand::IsEnabled()) Run(new NextCommand);
  const long last = CurrentId();
  EXPECT_EQ(Run(new NextCommand), last);
}

TEST_F(NavigationTest, HistoryListsTheEntriesBehindTheCurrentOneDownToTheOldest) {
  StartAndLogIn();
  Run(new GotoCommand(CString("planets")));
  Run(new GotoCommand(ObjectId(0x104)));
  Run(new GotoCommand(ObjectId(0x103)));
  Run(new BackCommand);
  // Back list: outer (current), planets, root; forward: inner.
  ASSERT_EQ(Run(new HistoryCommand(20)), 0);
  EXPECT_EQ(CurrentMembers(), (std::vector<long>{0x103, 0x102, 0x101}));
  EXPECT_EQ(collectionKind(TheHistory().Current()), 1);
  // A limit cuts the list from the forward end.
  Run(new BackCommand);
  ASSERT_EQ(Run(new HistoryCommand(2)), 0);
  EXPECT_EQ(CurrentMembers().size(), 2u);
}

TEST_F(NavigationTest, HomeOfAnonymousIsTheRootAndAFailedHomeDisablesIt) {
  StartAndLogIn();
  Run(new GotoCommand(CString("planets")));
  EXPECT_TRUE(HomeCommand::IsEnabled());
  EXPECT_EQ(Run(new HomeCommand), 0x101);
  EXPECT_TRUE(HomeCommand::IsEnabled());
}

TEST_F(NavigationTest, HomeWithoutACurrentObjectDoesNothing) {
  HomeCommand home;
  EXPECT_FALSE(home.Execute());
  EXPECT_FALSE(HomeCommand::IsEnabled());
  UpCommand up;
  EXPECT_FALSE(up.Execute());
}

TEST_F(NavigationTest, AFailingGotoIsRetriedABoundedNumberOfTimes) {
  // The login works, but the object the address names does not exist: the
  // idle processing asks for it again, a bounded number of times.
  StartPeer();
  const std::string address = ini["CONNECT"]["Server"] + "no-such-object";
  ini["CONNECT"]["Server"] = address;
  ini["CONNECT"]["Login"] = "alice";
  ini["CONNECT"]["Password"] = "stargazer";
  StartClient();
  ASSERT_TRUE(IdleUntil([&] { return !BoxTexts().empty(); }));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{kConnectionFailedText});
  // It stops asking.
  for (int i = 0; i < 20; ++i) app_->OnIdle(0);
  EXPECT_EQ(TheCommandQueue().Count(), 0);
  EXPECT_EQ(BoxTexts().size(), 1u);
  int failures = 0;
  for (const std::string& line : LogLines()) failures += line == "goto '" + address + "' failed";
  EXPECT_EQ(failures, ZemraApp::kMaxRecoveryAttempts);
}

TEST_F(NavigationTest, AServerThatCannotBeReachedEndsTheProgram) {
  StartPeer();
  peer_->stop();
  StartClient();
  // The session says why first; then the client gives up.
  IdleUntil([&] { return !BoxTexts().empty() && BoxTexts().back() == kConnectionFailedText; });
  ASSERT_FALSE(BoxTexts().empty());
  EXPECT_EQ(BoxTexts().back(), kConnectionFailedText);
  MSG msg;
  while (!quitSeen && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quitSeen = true;
      quitCode = static_cast<int>(msg.wParam);
    }
  }
  EXPECT_TRUE(quitSeen);
  EXPECT_EQ(quitCode, 1);
}

}  // namespace
}  // namespace app_test
