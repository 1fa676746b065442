// Object utilities: breaking the running request, waiting while busy (with
// an injected clock), and marking every cached object for a fresh fetch.
#include <gtest/gtest.h>

#include "framework/user_break.h"
#include "core/object_utils.h"
#include "core/objects/support/fake_store.h"

namespace {

class BusyProgress : public ObjectModelTest {};

TEST_F(BusyProgress, BreaksOnlyARunningOperation) {
  stepBusyProgress();
  EXPECT_TRUE(progress->events.empty());
  EXPECT_FALSE(TestAbortFlag());

  SetLongOperationFlag(1);
  stepBusyProgress();
  // Both flags: the network waits poll the one, searches the other.
  EXPECT_EQ(progress->events, (std::vector<std::string>{"requestAbort", "setCancel"}));
  EXPECT_TRUE(TestAbortFlag());
  EXPECT_TRUE(progress->TestAndClearCancel());

  progress.reset();
  ClearAbortFlag();
  stepBusyProgress();  // no reporter: nothing
  EXPECT_FALSE(TestAbortFlag());
}

// A clock the test drives: each reading advances it by `step`; after
// `clearAfter` readings the operation ends.
struct TestClock {
  static inline DWORD now = 0;
  static inline DWORD step = 0;
  static inline int readings = 0;
  static inline int clearAfter = -1;
  static DWORD Read() {
    ++readings;
    if (readings == clearAfter) SetLongOperationFlag(0);
    const DWORD t = now;
    now += step;
    return t;
  }
  static void Reset(DWORD start, DWORD stepMs, int clearAt) {
    now = start;
    step = stepMs;
    readings = 0;
    clearAfter = clearAt;
  }
};

class WaitWhileBusy : public ObjectModelTest {};

TEST_F(WaitWhileBusy, ReturnsAtOnceWhenIdle) {
  TestClock::Reset(0, 1000, -1);
  waitWhileBusy(&TestClock::Read);
  EXPECT_EQ(TestClock::readings, 1);
}

TEST_F(WaitWhileBusy, GivesUpAfterThirtySeconds) {
  const struct {
    DWORD start;
    const char* name;
  } cases[] = {{1000, "plain"}, {0xFFFFF000u, "tick count wraps"}};
  for (const auto& c : cases) {
    TestClock::Reset(c.start, 1000, -1);
    SetLongOperationFlag(1);
    waitWhileBusy(&TestClock::Read);
    // Readings at 0, 1000, ..., 30000 ms after the start.
    EXPECT_EQ(TestClock::readings, 31) << c.name;
    EXPECT_EQ(LongOperationFlag(), 1);
  }
}

TEST_F(WaitWhileBusy, EndsWhenTheOperationEnds) {
  TestClock::Reset(0, 1000, 5);
  SetLongOperationFlag(1);
  waitWhileBusy(&TestClock::Read);
  EXPECT_EQ(TestClock::readings, 5);
}

class InvalidateAll : public ObjectModelTest {};

TEST_F(InvalidateAll, MarksEveryCachedObject) {
  server->addRecord("0x00000001", Record(1));
  server->addRecord("0x00000002", Record(2));
  Ref<KXObject> a = fetchObject("0x00000001", Ref<Store>(server));
  Ref<KXObject> b = fetchObject("0x00000002", Ref<Store>(server));
  invalidateAllObjects();
  for (const Ref<KXObject>& o : {a, b}) {
    EXPECT_EQ(o->getRefreshFlags(), 13u);
    EXPECT_FALSE(o->isParsed());
  }
  // Fetched again on next use.
  EXPECT_EQ(a->getRecord(), Record(1));
  EXPECT_EQ(server->callCount("getRecord 0x00000001"), 2);
}

}  // namespace
