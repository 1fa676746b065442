// Opening a control connection against the reference peer: forms and byte
// orders, version negotiation, the option variables, identification, and
// every way the opening can fail.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "connection_fixture.h"
#include "support/patience.h"

namespace net_test {
namespace {

struct OpenCase {
  const char* form;  // "text", "binary-little", "binary-big"
  int version;
};

class OpenForms : public ConnectionTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenForms, HelloAndIdentificationInEveryFormAndVersion) {
  const OpenCase& c = GetParam();
  const std::string form = c.form;
  const bool binary = form != "text";
  PeerOptions options;
  options.version = c.version;
  options.order = form == "binary-big" ? "big" : "little";
  options.extra = {"--server-string", "peer under test"};
  auto peer = StartPeer(options);
  ASSERT_TRUE(peer->started());

  auto conn = Connect(*peer, binary);
  ASSERT_EQ(conn->error(), 0);
  EXPECT_TRUE(conn->helloAnswered());
  EXPECT_EQ(conn->version(), c.version);
  EXPECT_EQ(conn->serverString(), "peer under test");
  EXPECT_EQ(conn->userId(), ObjectId(3));
  EXPECT_EQ(conn->identificationText().Left(6), "alice(");

  const std::string log = peer->log();
  auto forms = Events(log, "form");
  ASSERT_EQ(forms.size(), 1u);
  EXPECT_EQ(forms[0].get("form"), binary ? "binary" : "text");
  auto hellos = Events(log, "hello");
  ASSERT_GE(hellos.size(), 1u);
  EXPECT_EQ(hellos[0].get("version"), "717");

  auto ids = Requests(log, "identify");
  ASSERT_EQ(ids.size(), 1u);
  EXPECT_EQ(ids[0].get("flag"), "1");
  EXPECT_EQ(ids[0].get("password"), "wonder");
  EXPECT_EQ(ids[0].get("user").substr(0, 6), "alice@");
  // The client name goes with the first identification from 702 on, with a
  // line feed and the client text from 712 on.
  if (c.version < 702)
    EXPECT_FALSE(ids[0].has("client"));
  else
    EXPECT_EQ(ids[0].get("client"), c.version >= 712 ? "Tolm\n" : "Tolm");

  // A record request works in this form: the stream is in step.
  CString record;
  ASSERT_TRUE(conn->getRecord(ObjectId(0x20), record));
  EXPECT_NE(record.Find("ObjectID=0x00000020"), -1);
}

INSTANTIATE_TEST_SUITE_P(
    Peer, OpenForms,
    ::testing::Values(OpenCase{"text", 717}, OpenCase{"binary-little", 717},
                      OpenCase{"binary-big", 717}, OpenCase{"text", 704},
                      OpenCase{"binary-big", 704}, OpenCase{"binary-little", 700},
                      OpenCase{"text", 700}, OpenCase{"binary-big", 5}, OpenCase{"text", 5}),
    [](const ::testing::TestParamInfo<OpenCase>& info) {
      std::string name = std::string(info.param.form) + "_" + std::to_string(info.param.version);
      for (char& ch : name)
        if (ch == '-') ch = '_';
      return name;
    });

class OpenOptions : public ConnectionTest {};

TEST_F(OpenOptions, EnvironmentVariablesOverrideTheArguments) {
  struct Case {
    const char* distributedEnv;  // null: not set
    const char* compressEnv;
    bool distributedArg;
    bool compressArg;
    const char* distributedSent;
    const char* compressSent;
  };
  const Case cases[] = {
      {nullptr, nullptr, false, true, "0", "1"},
      {"1", nullptr, false, false, "1", "0"},
      {nullptr, "true", false, false, "0", "1"},
      {"TRUE", "0", true, true, "0", "0"},  // only "true" and "1" are on
  };
  PeerOptions options;
  options.compress = "on";
  auto peer = StartPeer(options);
  ASSERT_TRUE(peer->started());
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(n);
    if (c.distributedEnv) setenv("KXDISTRIBUTED", c.distributedEnv, 1);
    else unsetenv("KXDISTRIBUTED");
    if (c.compressEnv) setenv("KXCOMPRESS", c.compressEnv, 1);
    else unsetenv("KXCOMPRESS");
    KxConnection conn("alice", "wonder", "127.0.0.1", peer->port(), true, c.distributedArg,
                      c.compressArg);
    ASSERT_EQ(conn.error(), 0);
    auto hellos = Events(peer->log(), "hello");
    ASSERT_EQ(hellos.size(), static_cast<size_t>(++n));
    EXPECT_EQ(hellos.back().get("distributed"), c.distributedSent);
    EXPECT_EQ(hellos.back().get("compress"), c.compressSent);
    // Compression is on only when the server confirmed it.
    EXPECT_EQ(conn.compress(), std::string(c.compressSent) == "1");
    EXPECT_EQ(conn.distributed(), std::string(c.distributedSent) == "1");
  }
}

TEST_F(OpenOptions, AnEmptyPasswordIsSentAsXnil) {
  auto peer = StartPeer();
  ASSERT_TRUE(peer->started());
  auto conn = Connect(*peer, false, 717, false, Login{"carol", ""});
  ASSERT_EQ(conn->error(), 0);
  auto ids = Requests(peer->log(), "identify");
  ASSERT_EQ(ids.size(), 1u);
  EXPECT_EQ(ids[0].get("password"), "XNIL");
  EXPECT_EQ(ids[0].get("user").substr(0, 6), "carol@");
  EXPECT_EQ(conn->identificationText().Left(6), "carol(");

  // No user at all: the system's (empty) user, still with "@" and XNIL.
  auto anon = Connect(*peer, false, 717, false, Login{"", ""});
  ids = Requests(peer->log(), "identify");
  ASSERT_EQ(ids.size(), 2u);
  EXPECT_EQ(ids[1].get("user").substr(0, 1), "@");
  EXPECT_EQ(ids[1].get("password"), "XNIL");
  EXPECT_EQ(anon->identificationText().Left(10), "anonymous(");
}

TEST_F(OpenOptions, FailuresOfTheOpeningGiveTheirErrors) {
  struct Case {
    const char* rule;
    bool binary;
    int version;
    int error;
  };
  const Case cases[] = {
      {"refuse-handshake", true, 717, kx_error::kNotResponding},
      {"close-at-negotiation", false, 717, kx_error::kNotResponding},
      {"bad-order", true, 717, kx_error::kNotResponding},
      {"close-at-hello", false, 717, kx_error::kNotResponding},
      {"reorganization", true, 717, kx_error::kReorganization},
      {"reorganization", false, 700, kx_error::kReorganization},
      {"hello-status=41", false, 717, 41},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    PeerOptions options;
    options.misbehave = {c.rule};
    options.version = c.version;
    auto peer = StartPeer(options);
    ASSERT_TRUE(peer->started());
    auto conn = Connect(*peer, c.binary, c.version);
    EXPECT_EQ(conn->error(), c.error);
    // A failed opening sends no identification.
    EXPECT_TRUE(Requests(peer->log(), "identify").empty());
    Dispatcher::destroy();
  }
}

TEST_F(OpenOptions, NothingListensAtThePort) {
  auto peer = StartPeer();
  ASSERT_TRUE(peer->started());
  int port = peer->port();
  peer->stop();
  KxConnection conn("alice", "wonder", "127.0.0.1", port, true, false, false);
  EXPECT_EQ(conn.error(), kx_error::kNotResponding);
}

// Each look at the clock moves it on by half a minute.
TimeVal racingClock() {
  static LONG seconds = 1000000;
  seconds += 30;
  return TimeVal{seconds, 0};
}

TEST_F(OpenOptions, AServerThatNeverAnswersTheHelloTimesOut) {
  PeerOptions options;
  options.misbehave = {"no-hello-reply"};
  auto peer = StartPeer(options);
  ASSERT_TRUE(peer->started());
  Dispatcher::setClock(racingClock);
  auto started = std::chrono::steady_clock::now();
  auto conn = Connect(*peer, false);
  EXPECT_EQ(conn->error(), kx_error::kTimedOut);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
  EXPECT_TRUE(Requests(peer->log(), "identify").empty());
  // The fired timer is gone; nothing is left queued for the receiver.
  EXPECT_EQ(Dispatcher::instance()->timerCount(), 0);
}

// Runs a handshake from inside a dispatcher pass (a timer callback).
class NestedOpener : public IOHandler {
 public:
  explicit NestedOpener(int port) : port_(port) {}
  void timerExpired(LONG, LONG) override {
    auto started = std::chrono::steady_clock::now();
    KxConnection conn("alice", "wonder", "127.0.0.1", port_, false, false, false);
    error = conn.error();
    took = std::chrono::steady_clock::now() - started;
  }
  int port_;
  int error = -1;
  std::chrono::steady_clock::duration took{};
};

TEST_F(OpenOptions, AHandshakeInsideARunningPassEndsAtOnce) {
  auto peer = StartPeer();
  ASSERT_TRUE(peer->started());
  NestedOpener opener(peer->port());
  Dispatcher::instance()->startTimer(0, 0, &opener);
  const auto until = testing_support::PatienceDeadline();
  while (opener.error == -1 && std::chrono::steady_clock::now() < until)
    Dispatcher::instance()->dispatch();
  EXPECT_EQ(opener.error, kx_error::kPriorRequest);
  EXPECT_LT(opener.took, std::chrono::seconds(5));
  // It sent one hello, not a flood of them: all the peer read of the
  // connection, which it logs as closed once it has read to the end.
  ASSERT_TRUE(peer->waitForLog("\tclose\t")) << peer->log();
  EXPECT_EQ(Events(peer->log(), "hello").size(), 1u);
}

}  // namespace
}  // namespace net_test
