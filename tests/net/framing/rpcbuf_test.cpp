// The stream buffer's connections and its reports.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "net/rpcstream.h"
#include "net/support/socket_pair.h"
#include "win/user.h"

namespace {

using testing_support::SocketPair;

class RpcbufTest : public ::testing::Test {
 protected:
  void SetUp() override { win::ResetUserState(); }
  void TearDown() override { win::ResetUserState(); }
  static std::vector<std::string> boxes() {
    std::vector<std::string> texts;
    for (const auto& r : win::MessageBoxLog()) texts.push_back(r.caption + "|" + r.text);
    return texts;
  }
};

TEST_F(RpcbufTest, ErrorsOfUseAreReportedOnlyWhenVerbose) {
  struct Case {
    const char* text;
    std::function<bool(rpcbuf&)> call;  // true when the call failed
  };
  int socket = 0;
  const Case cases[] = {
      {"rpcbuf::attach: cannot use a negative file number", [](rpcbuf& b) { return !b.attach(-1); }},
      {"rpcbuf::accept: not using a file number yet", [&](rpcbuf& b) { return !b.accept(socket); }},
      {"rpcbuf::nonblocking: not using a file number yet", [](rpcbuf& b) { return !b.nonblocking(true); }},
  };
  for (const Case& c : cases) {
    for (bool verbose : {true, false}) {
      win::ClearMessageBoxLog();
      rpcbuf b;
      b.setVerbose(verbose);
      EXPECT_TRUE(c.call(b)) << c.text;
      if (verbose)
        EXPECT_EQ(boxes(), std::vector<std::string>({std::string("!!! Error !!!|") + c.text}));
      else
        EXPECT_TRUE(boxes().empty()) << c.text;
    }
  }
  // A buffer in use refuses to be opened again.
  rpcbuf b;
  ASSERT_TRUE(b.listen(0));
  EXPECT_GT(b.port(), 0);
  win::ClearMessageBoxLog();
  EXPECT_EQ(b.listen(0), nullptr);
  EXPECT_EQ(b.connect("127.0.0.1", 1), nullptr);
  EXPECT_EQ(b.attach(3), nullptr);
  EXPECT_EQ(boxes(), std::vector<std::string>({"!!! Error !!!|rpcbuf::listen: already using a file number",
                                               "!!! Error !!!|rpcbuf::connect: already using a file number",
                                               "!!! Error !!!|rpcbuf::attach: already using a file number"}));
  EXPECT_TRUE(b.close());
  EXPECT_EQ(b.close(), nullptr);  // not open
  EXPECT_EQ(b.port(), 0);
}

TEST_F(RpcbufTest, FailedConnectionsAreToldToTheUser) {
  rpcstream s;
  s.setVerbose(false);
  EXPECT_FALSE(s.connect("no-such-host.invalid", 418));
  EXPECT_TRUE(s.fail());
  ASSERT_EQ(win::MessageBoxLog().size(), 1u);
  EXPECT_EQ(win::MessageBoxLog()[0].text.rfind("No such host: no-such-host.invalid (Code:110", 0), 0u)
      << win::MessageBoxLog()[0].text;

  // A port nobody listens on: four attempts a second apart, then the box.
  rpcbuf probe;
  ASSERT_TRUE(probe.listen(0));
  const int port = probe.port();
  probe.close();
  win::ClearMessageBoxLog();
  const auto t0 = std::chrono::steady_clock::now();
  EXPECT_FALSE(s.connect("127.0.0.1", port));
  EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(2900));
  EXPECT_EQ(boxes(), std::vector<std::string>({"Error !|Could not connect to 127.0.0.1 !"}));
  EXPECT_FALSE(s.rdbuf()->isOpen());
}

TEST_F(RpcbufTest, SeekingOnlyTellsTheGetPositionAndCloseFlushes) {
  SocketPair p;
  rpcstream s;
  EXPECT_EQ(s.rdbuf()->seekoff(0, oldio::ios::cur, oldio::ios::in), -1);  // not open
  ASSERT_TRUE(s.attach(static_cast<int>(p.client)));
  p.put("ab");
  EXPECT_EQ(s.rdbuf()->sgetc(), 'a');
  EXPECT_EQ(s.rdbuf()->seekoff(0, oldio::ios::cur, oldio::ios::in), 0);
  s.rdbuf()->sbumpc();
  EXPECT_EQ(s.rdbuf()->seekoff(0, oldio::ios::cur, oldio::ios::in), 1);
  EXPECT_EQ(s.rdbuf()->seekoff(1, oldio::ios::cur, oldio::ios::in), -1);
  EXPECT_EQ(s.rdbuf()->seekoff(0, oldio::ios::beg, oldio::ios::in), -1);
  EXPECT_EQ(s.rdbuf()->seekoff(0, oldio::ios::cur, oldio::ios::out), -1);

  // Unsent bytes go out when the buffer closes; an attached socket stays
  // open (the buffer does not own it).
  s.write("xyz", 3);
  EXPECT_EQ(p.waiting(), 0);
  s.rdbuf()->close();
  EXPECT_EQ(p.take(3), "xyz");
  EXPECT_EQ(winsock::send(p.client, "k", 1, 0), 1);
}

}  // namespace
