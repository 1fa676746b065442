// "reload" and "stop": the running request gives up at once; reloading
// waits for idle time, as a queued command, and then loads the styles, the
// rules and the file cache's table afresh and shows the current object
// again; "stop" empties the queue.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/commands/command_queue.h"
#include "app/commands/load_commands.h"
#include "app/commands/navigation_commands.h"
#include "app/history/nav_history.h"
#include "app/interpreter/deferred_commands.h"
#include "app/interpreter/interpreter.h"
#include "app/shell_state.h"
#include "app/dialogs/support/ui_fixture.h"
#include "core/object_id.h"
#include "pages/rules/rule_set.h"
#include "pages/style/property_table.h"
#include "win/kernel.h"

namespace {

// Records what is asked of the file cache.
class RecordingCache : public DocumentFileCache {
 public:
  void SetLimits(long, int) override {}
  void LoadTable(const CString& path) override { calls.push_back("load " + path.str()); }
  void SaveTable(const CString&) override {}
  int TemporaryCount() override { return 0; }
  void RemoveAll() override { calls.push_back("remove all"); }
  bool Contains(const CString&) override { return false; }
  CString Fetch(const CString&) override { return {}; }
  CString Acquire(const CString&) override { return {}; }
  void Unlock(const CString&) override {}
  void Insert(const CString&, const CString&, bool, const CString&) override {}
  std::vector<std::string> calls;
};

class ReloadTest : public shell_ui_test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    TheCommandQueue().ResetForTests();
    ResetStopFlagForTests();
    TheHistory().Clear();
    TheRuleSet().clear();
    char dir[MAX_PATH] = {};
    GetCurrentDirectory(sizeof dir, dir);
    startDir_ = dir;
    tmp_.write("MAIN.STY", "<Style Description>\nFresh = { Value y = 2 }\n");
    tmp_.write("tolm.rul", "Type == \"Cluster\" => ClusterPage()\n");
    ASSERT_TRUE(SetCurrentDirectory(tmp_.path().string().c_str()));
    previousCache_ = SetLoadCache(&cache_);
  }
  void TearDown() override {
    SetLoadCache(previousCache_);
    SetCurrentDirectory(startDir_.c_str());
    TheCommandQueue().ResetForTests();
    TheHistory().Clear();
    TheRuleSet().clear();
    UiTest::TearDown();
  }

  RecordingCache cache_;
  DocumentFileCache* previousCache_ = nullptr;
  std::string startDir_;
};

TEST_F(ReloadTest, ReloadRunsAtIdleTimeAndShowsTheCurrentObjectAgain) {
  Styles("Stale = { Value x = 1 }");
  const Ref<KXObject> current(
      new KXObject("ObjectID=0x42\nType=Document\nDocumentType=text\n", Ref<Store>()));
  TheHistory().Push(current);

  Interpreter::Run("reload");
  // Nothing is reloaded inside the call.
  EXPECT_NE(StyleTable().StyleQuery("Stale"), nullptr);
  EXPECT_TRUE(cache_.calls.empty());
  ASSERT_EQ(TheCommandQueue().Count(), 1);
  std::unique_ptr<Command> reload(TheCommandQueue().Pop());
  ASSERT_NE(dynamic_cast<ReloadCommand*>(reload.get()), nullptr);
  EXPECT_FALSE(reload->IsNavigation());

  EXPECT_TRUE(reload->Execute());
  EXPECT_EQ(StyleTable().StyleQuery("Stale"), nullptr);
  EXPECT_NE(StyleTable().StyleQuery("Fresh"), nullptr);
  EXPECT_EQ(TheRuleSet().count(), 1);
  EXPECT_EQ(cache_.calls, (std::vector<std::string>{"remove all", "load tolmperm.csh"}));
  ASSERT_EQ(TheCommandQueue().Count(), 1);
  const auto* again = dynamic_cast<const GotoCommand*>(TheCommandQueue().At(0));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->target, current);
}

TEST_F(ReloadTest, StopEmptiesTheQueueAndSwitchesNoPage) {
  Interpreter::Run("language ge; language fr; stop");
  ASSERT_EQ(TheCommandQueue().Count(), 1);
  std::unique_ptr<Command> stop(TheCommandQueue().Pop());
  ASSERT_NE(dynamic_cast<StopCommand*>(stop.get()), nullptr);
  EXPECT_FALSE(stop->Execute());
}

}  // namespace
