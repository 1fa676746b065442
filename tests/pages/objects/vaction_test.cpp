// Actions: the line of their style goes to the shell when they start (by
// the page clock), once; they are never drawn and never hit by the mouse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/objects/support/objects_fixture.h"
#include "pages/objects/vaction.h"
#include "pages/style/style_expressions.h"

namespace {

using pages_test::ObjectsTest;
using Lines = std::vector<std::string>;

class VActionTest : public ObjectsTest {
 protected:
  void SetUp() override {
    ObjectsTest::SetUp();
    Styles("Action = { Value start = 0; Value end = 2097152; Boolean visible = TRUE;"
           " String command = \"\" }\n"
           "Action Later { start = 5; command = \"goto Harbour\" }\n");
  }
  void Clock(DWORD ms) {
    PageEvent clock(PageEvent::Clock);
    clock.time = ms;
    host_->HandleEvent(clock);
  }
};

TEST_F(VActionTest, ItsStyleIsActionAndItsLineRunsWhenItStarts) {
  auto* action = Add(new VAction);
  EXPECT_STREQ(action->GetClassName(), "VAction");
  ASSERT_NE(action->GetStyle(), nullptr);
  EXPECT_EQ(action->Command(), "");
  action->Start();
  EXPECT_EQ(shell_.lines, Lines{""});  // the empty line, which does nothing
}

TEST_F(VActionTest, AStartTimeOfFiveSecondsRunsTheLineOnceAtFiveSeconds) {
  auto* action = new VAction;
  action->SetStyle(ApplyStyleAssignments("Later()", nullptr));
  Add(action);
  EXPECT_EQ(action->Command(), "goto Harbour");
  for (DWORD t : {1000u, 4000u, 4999u}) Clock(t);
  EXPECT_TRUE(shell_.lines.empty());
  for (DWORD t : {5000u, 6000u, 9000u}) Clock(t);
  EXPECT_EQ(shell_.lines, Lines{"goto Harbour"});
  // Never drawn, never under the mouse.
  EXPECT_FALSE(action->IsShown());
  EXPECT_EQ(host_->ChildAt(0, 0), nullptr);
}

}  // namespace
