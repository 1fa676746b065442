// Ending the client: the quit command breaks what runs, closes the queue,
// closes the frame, and the exit keeps or clears the file cache as the
// ClearCache setting says (asking when it is "?").
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/commands/command_queue.h"
#include "app/commands/load_commands.h"
#include "app/commands/navigation_commands.h"
#include "app/commands/session_commands.h"
#include "app/history/nav_history.h"
#include "app/shell_state.h"
#include "app/support/shell_fixture.h"
#include "support/temp_dir.h"
#include "framework/user_break.h"
#include "mfc/app.h"
#include "win/path_map.h"
#include "win/user.h"

namespace app_test {
namespace {

// A file cache that records what the shell asks of it.
class RecordingCache : public DocumentFileCache {
 public:
  void SetLimits(long bytes, int entries) override {
    calls.push_back("limits " + std::to_string(bytes) + " " + std::to_string(entries));
  }
  void LoadTable(const CString& path) override { calls.push_back("load " + path.str()); }
  void SaveTable(const CString& path) override {
    calls.push_back("save " + path.str());
    temporary = 0;
  }
  int TemporaryCount() override { return temporary; }
  void RemoveAll() override {
    calls.push_back("remove");
    temporary = 0;
  }
  bool Contains(const CString&) override { return false; }
  CString Fetch(const CString&) override { return CString(); }
  CString Acquire(const CString&) override { return CString(); }
  void Unlock(const CString&) override {}
  void Insert(const CString&, const CString&, bool, const CString&) override {}

  int temporary = 1;
  std::vector<std::string> calls;
};

class QuitTest : public ShellTest {
 protected:
  RecordingCache cache;
};

TEST_F(QuitTest, QuitClosesTheQueueAndTheFrameAndClearsTheCacheAsSet) {
  struct Case {
    const char* clearCache;
    int temporary;
    int answer;  // to "Delete File Cache?"; 0: no box expected
    bool cleared;
  } cases[] = {
      {"Y", 1, 0, true},   {"y", 1, 0, true},      {"?", 1, IDYES, true},
      {"?", 1, IDNO, false}, {"", 1, IDYES, true}, {"N", 1, 0, false},
      {"?", 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("ClearCache=") + c.clearCache + " temporary=" + std::to_string(c.temporary));
    cache.calls.clear();
    cache.temporary = c.temporary;
    SetLoadCache(&cache);
    ini["CACHE"]["ClearCache"] = c.clearCache;
    ini["CACHE"]["LimitSize"] = "1234";
    ini["CACHE"]["LimitFiles"] = "7";
    win::ClearMessageBoxLog();
    if (c.answer) win::QueueMessageBoxAnswer(c.answer);
    if (!peer_) StartPeer();
    StartClient();
    ASSERT_TRUE(IdleUntil([] { return bool(TheHistory().Current()); }))
        << ::testing::PrintToString(BoxTexts()) << " quit " << quitSeen << " queue "
        << TheCommandQueue().Count() << " busy " << LongOperationFlag();
    const std::string table = app_->TempCacheTable().str();
    EXPECT_EQ(table, win::WindowsPath(testing_support::PrivateTempDir().string()) + "\\tolm.csh");
    EXPECT_EQ(cache.calls, (std::vector<std::string>{"limits 1234 7", "load tolmperm.csh", "load " + table}));
    cache.calls.clear();

    TheCommandQueue().Push(new QuitCommand);
    EXPECT_TRUE(TheCommandQueue().IsClosed());
    // Closed: nothing more is taken.
    TheCommandQueue().Push(new RootCommand);
    EXPECT_EQ(TheCommandQueue().Count(), 1);
    IdleUntil([] { return StopFlag(); });
    EXPECT_TRUE(StopFlag());
    EXPECT_FALSE(app_->OnIdle(0));
    // The frame closed once the queue was closed.
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
    ExitClient();

    std::vector<std::string> expected;
    if (c.cleared) expected.push_back("remove");
    expected.push_back("save " + table);
    expected.push_back("remove");
    EXPECT_EQ(cache.calls, expected);
    EXPECT_EQ(BoxTexts(), c.answer ? std::vector<std::string>{"Delete File Cache?"}
                                   : std::vector<std::string>{});
    EXPECT_EQ(TheHistory().Current(), nullptr);
    SetLoadCache(nullptr);
    ForgetSessions();
    TheCommandQueue().ResetForTests();
    ResetStopFlagForTests();
  }
}

TEST_F(QuitTest, ClosingTheFrameGoesThroughTheQuitCommand) {
  StartAndLogIn();
  CWnd* frame = AfxGetMainWnd();
  ASSERT_NE(frame, nullptr);
  // The first close only queues the quit; the window stays.
  SendMessage(frame->GetSafeHwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(AfxGetMainWnd(), frame);
  ASSERT_EQ(TheCommandQueue().Count(), 1);
  EXPECT_EQ(TheCommandQueue().At(0)->GetType(), kCommandQuit);
  IdleUntil([] { return StopFlag(); });
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
}

}  // namespace
}  // namespace app_test
