// The command queue: ownership of every pushed command, the ring of 50, the
// navigating push that breaks the running request and empties the queue,
// closing by quit, cancelling, and withdrawing the loads of a target.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "app/commands/command_queue.h"
#include "app/commands/load_commands.h"
#include "app/shell_state.h"
#include "framework/progress_reporter.h"
#include "framework/user_break.h"
#include "pages/load_target.h"

namespace app_test {
namespace {

// Commands that record their deletion, so the test sees what the queue
// deleted and what it handed out.
std::set<int>& Deleted() {
  static std::set<int> deleted;
  return deleted;
}

class Probe : public Command {
 public:
  explicit Probe(int id, int type = kCommandLanguage, bool navigating = false)
      : id(id), type(type), navigating(navigating) {}
  ~Probe() override { Deleted().insert(id); }
  int GetType() const override { return type; }
  BOOL IsNavigation() const override { return navigating; }
  int id;
  int type;
  bool navigating;
};

int IdOf(Command* c) { return c ? static_cast<Probe*>(c)->id : -1; }

class CommandQueueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    q.ResetForTests();
    Deleted().clear();
    ResetStopFlagForTests();
    SetLongOperationFlag(0);
    ClearAbortFlag();
  }
  void TearDown() override { SetFrameProgress(nullptr); }

  // Pops everything, deleting it; the ids in pop order (-1 for a blank).
  std::vector<int> Drain() {
    std::vector<int> ids;
    while (q.Count() > 0) {
      Command* c = q.Pop();
      ids.push_back(IdOf(c));
      delete c;
    }
    return ids;
  }

  CommandQueue q;
};

TEST_F(CommandQueueTest, FullQueueKeepsTheFirstFiftyAndDeletesTheNewest) {
  for (int i = 0; i < 51; ++i) q.Push(new Probe(i));
  EXPECT_EQ(q.Count(), 50);
  EXPECT_EQ(Deleted(), std::set<int>{50});
  const std::vector<int> ids = Drain();
  ASSERT_EQ(ids.size(), 50u);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(ids[i], i);
}

TEST_F(CommandQueueTest, RingWrapsAndKeepsPushOrder) {
  q.Push(new Probe(0));
  int next = 1;
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 49; ++i) q.Push(new Probe(next++));
    for (int i = 0; i < 49; ++i) delete q.Pop();
  }
  // Three rounds of 49 pushes and pops on a queue holding one: the head has
  // gone round the ring, and what is left is the newest, in order.
  EXPECT_EQ(q.Count(), 1);
  EXPECT_EQ(Drain(), std::vector<int>{next - 1});
  EXPECT_EQ(q.Pop(), nullptr);
}

TEST_F(CommandQueueTest, NavigatingPushEmptiesTheQueueAndBreaksTheRunningRequest) {
  ProgressReporter reporter;
  SetFrameProgress(&reporter);
  for (int i = 0; i < 10; ++i) q.Push(new Probe(i));
  // Not busy: nothing to break.
  q.Push(new Probe(100, kCommandGoto, true));
  EXPECT_EQ(Deleted().size(), 10u);
  EXPECT_FALSE(TestAbortFlag());
  // Busy (a command or download runs): both the wait and a search give up.
  SetLongOperationFlag(1);
  q.Push(new Probe(101, kCommandBack, true));
  EXPECT_TRUE(TestAbortFlag());
  EXPECT_TRUE(reporter.cancelSet());
  EXPECT_EQ(Drain(), std::vector<int>{101});
  SetLongOperationFlag(0);
}

TEST_F(CommandQueueTest, QuitClosesTheQueueButStaysQueued) {
  q.Push(new Probe(1));
  q.Push(new Probe(13, kCommandQuit, true));
  EXPECT_TRUE(q.IsClosed());
  q.Push(new Probe(2));
  q.Push(new Probe(3, kCommandGoto, true));
  EXPECT_TRUE(Deleted().count(2) && Deleted().count(3));
  EXPECT_EQ(Drain(), std::vector<int>{13});
  // Clearing keeps it closed.
  q.Clear();
  q.Push(new Probe(4));
  EXPECT_EQ(q.Count(), 0);
}

TEST_F(CommandQueueTest, StopFlagRefusesEveryPush) {
  SetStopFlag();
  q.Push(new Probe(1));
  EXPECT_EQ(q.Count(), 0);
  EXPECT_EQ(Deleted(), std::set<int>{1});
  q.Push(nullptr);
  EXPECT_EQ(q.Count(), 0);
}

TEST_F(CommandQueueTest, CancelBlanksTheSlotAndDeletesTheCommand) {
  auto* a = new Probe(1);
  auto* b = new Probe(2);
  q.Push(a);
  q.Push(b);
  q.Cancel(a);
  EXPECT_TRUE(Deleted().count(1));
  EXPECT_EQ(q.At(0), nullptr);
  EXPECT_EQ(q.At(1), b);
  EXPECT_EQ(q.At(2), nullptr);
  // The blank still counts until popped.
  EXPECT_EQ(q.Count(), 2);
  q.Cancel(nullptr);
  Probe stranger(3);
  q.Cancel(&stranger);
  EXPECT_EQ(Drain(), (std::vector<int>{-1, 2}));
}

TEST_F(CommandQueueTest, LoadsOfAGoneTargetAreWithdrawn) {
  auto kept = std::make_unique<LoadTarget>(nullptr);
  auto* gone = new LoadTarget(nullptr);
  q.Push(new LoadImageCommand(Ref<KXObject>(), gone));
  q.Push(new LoadSoundCommand(Ref<KXObject>(), kept.get()));
  q.Push(new LoadInlineCommand(Ref<KXObject>(), gone, "pic.gif"));
  // The one running now keeps running, but delivers to nobody.
  auto running = std::make_unique<LoadMovieCommand>(Ref<KXObject>(), gone);
  q.SetRunning(running.get());
  q.CancelLoads(gone);
  delete gone;
  EXPECT_EQ(running->Target(), nullptr);
  EXPECT_EQ(q.At(0), nullptr);
  EXPECT_EQ(q.At(2), nullptr);
  auto* sound = dynamic_cast<LoadCommand*>(q.At(1));
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(sound->Target(), kept.get());
  q.SetRunning(nullptr);
}

}  // namespace
}  // namespace app_test
