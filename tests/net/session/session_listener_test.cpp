// The server's own messages on a session's control connection: echo
// requests answered on the connection they came on, everything else
// dropped; and the end of the program when the connection is lost.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>
#include <thread>

#include "../connection/peer_log.h"
#include "support/session_fixture.h"
#include "support/patience.h"

namespace session_test {
namespace {

using net_test::Events;
using net_test::Requests;

class SessionListener : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    StartPeer();
    alice_ = OpenAs("alice:wonder");
    bob_ = OpenAs("bob:builder");
    ASSERT_EQ(alice_->getError(), 0);
    ASSERT_EQ(bob_->getError(), 0);
    // Both are listed, alice's first: a reply sent on the first listed
    // session's connection would go to the wrong one for bob.
    AddStoreFront(Ref<Store>(bob_.get()));
    AddStoreFront(Ref<Store>(alice_.get()));
  }
  void TearDown() override {
    alice_ = Ref<KxSession>();
    bob_ = Ref<KxSession>();
    SessionTest::TearDown();
  }

  // Sends a server message to every connection and lets the sessions
  // handle it: once the peer has logged that it sent it, a request on each
  // connection comes back after the message, which its session has taken
  // in by then (any request waits inside the dispatcher, which serves both).
  void SendToAll(const std::string& what, size_t expected) {
    peer_->control("send " + what + "\n");
    sent_ += expected;
    const auto deadline = testing_support::PatienceDeadline();
    while (Events(peer_->log(), "unsolicited").size() < sent_) {
      ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the peer never sent " << what;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    RoundTrips();
  }

  // One request on each connection: the peer has read what the sessions
  // sent before it by the time the answer comes.
  void RoundTrips() {
    alice_->getRecord("0x00000020");
    bob_->getRecord("0x00000021");
  }

  // The echo replies the peer has read from the sessions.
  std::vector<net_test::LogEvent> EchoReplies() {
    RoundTrips();
    return Requests(peer_->log(), "echo-reply");
  }

  Ref<KxSession> alice_;
  Ref<KxSession> bob_;
  size_t sent_ = 0;
};

TEST_F(SessionListener, EchoRequestsAreAnsweredOnTheirOwnConnection) {
  ASSERT_NO_FATAL_FAILURE(SendToAll("echo:probe", 2));
  const auto replies = EchoReplies();
  ASSERT_EQ(replies.size(), 2u);
  std::map<int, int> perConnection;
  for (const auto& r : replies) {
    ++perConnection[r.connection];
    EXPECT_EQ(r.get("text"), "message probe ECHO_REPLY\nTolm");
    EXPECT_EQ(r.get("zero"), "0");
  }
  std::map<int, int> probed;
  for (const auto& e : Events(peer_->log(), "unsolicited")) ++probed[e.connection];
  EXPECT_EQ(perConnection, probed);
}

TEST_F(SessionListener, OtherMessagesAreDropped) {
  SendToAll("msg:Hello\\nthere", 2);
  SendToAll("data:NOT_AN_ECHO", 2);
  // The keyword in lower case is no echo request either.
  SendToAll("raw:FROM korvex-peer [x]\\nTO alice\\nDATA echo_request", 2);
  SendToAll("raw:FROM korvex-peer\\nDATA", 2);
  EXPECT_TRUE(EchoReplies().empty());
  EXPECT_TRUE(BoxTexts().empty());
  // The sessions go on as before.
  EXPECT_NE(alice_->getRecord("0x00000020").Find("Name=intro"), -1);
}

TEST_F(SessionListener, ASenderWithoutBracketsIsNamedWhole) {
  ASSERT_NO_FATAL_FAILURE(SendToAll("raw:FROM korvex\\rpeer\\nTO bob\\nDATA ECHO_REQUEST", 2));
  const auto replies = EchoReplies();
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(replies[0].get("text"), "message korvex peer ECHO_REPLY\nTolm");
}

TEST_F(SessionListener, LosingTheConnectionEndsTheProgram) {
  EXPECT_THROW(alice_->connection()->connectionClosed(), FatalEnd);
  const std::vector<std::string> boxes = BoxTexts();
  ASSERT_GE(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "!!! The connection to the Korvex server has been closed. !!!");
  EXPECT_EQ(alice_->connection()->error(), 7);
}

}  // namespace
}  // namespace session_test
