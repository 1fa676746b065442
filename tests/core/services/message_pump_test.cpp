#include "core/message_pump.h"

#include <gtest/gtest.h>

#include "support/counting_window.h"
#include "win/user.h"

namespace {

using MessagePump = testing_support::CountingWindowTest;

TEST_F(MessagePump, DispatchesOneMessagePerStep) {
  EXPECT_EQ(PumpMessages(false), 0);  // empty queue
  post();
  post();
  EXPECT_EQ(PumpMessages(true), 0);
  EXPECT_EQ(handled(), 1);
  EXPECT_EQ(PumpMessages(false), 0);
  EXPECT_EQ(handled(), 2);
  EXPECT_EQ(PumpMessages(false), 0);
  EXPECT_EQ(handled(), 2);
}

TEST_F(MessagePump, QuitIsConsumedAndLaterCallsLeaveTheQueueAlone) {
  PostQuitMessage(0);
  EXPECT_EQ(PumpMessages(false), -1);
  EXPECT_TRUE(PumpQuitSeen());
  MSG msg{};
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) << "the quit message was put back";

  post();
  EXPECT_EQ(PumpMessages(false), -1);
  EXPECT_EQ(PumpMessages(true), -1);
  EXPECT_EQ(handled(), 0);
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, kCounted);
}

}  // namespace
