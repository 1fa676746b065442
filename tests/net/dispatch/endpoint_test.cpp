#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "core/local_host.h"
#include "net/csocket.h"
#include "net/dispatcher.h"
#include "net/listening_endpoint.h"
#include "support/temp_dir.h"
#include "win/user.h"
#include "support/patience.h"

namespace {

class TestEndpoint : public ListeningEndpoint {
 public:
  using ListeningEndpoint::ListeningEndpoint;
  std::vector<int> accepted;
  void connectionAccepted(int socket) override { accepted.push_back(socket); }
};

class EndpointTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dispatcher::destroy();
    win::ResetUserState();
  }
  void TearDown() override {
    Dispatcher::destroy();
    win::ResetUserState();
  }
  // Runs passes until the endpoint has accepted `count` connections.
  static bool acceptUntil(TestEndpoint& ep, size_t count) {
    const auto deadline = testing_support::PatienceDeadline();
    while (ep.accepted.size() < count && std::chrono::steady_clock::now() < deadline)
      Dispatcher::instance()->dispatch();
    return ep.accepted.size() == count;
  }
};

TEST_F(EndpointTest, AcceptsConnectionsAndLeavesAnEndpointFile) {
  testing_support::TempDir dir;
  const std::string file = dir.file("endpoint");
  {
    TestEndpoint ep(0, file.c_str());
    ASSERT_GT(ep.port(), 0);
    EXPECT_EQ(Dispatcher::instance()->handlerFor(ep.socket(), Dispatcher::kRead), &ep);
    const std::string marker = testing_support::TempDir::read(file);
    EXPECT_EQ(marker, std::string(localHostName()) + std::string(1, '\0') + std::to_string(ep.port()));

    CSocket first, second;
    ASSERT_EQ(first.Connect("127.0.0.1", ep.port()), 0);
    ASSERT_TRUE(acceptUntil(ep, 1));
    ASSERT_EQ(second.Connect("127.0.0.1", ep.port()), 0);
    ASSERT_TRUE(acceptUntil(ep, 2));  // it stays linked and accepts again
    // The accepted sockets carry the bytes.
    ASSERT_EQ(first.Write("hi", 2), 2);
    char buf[4] = {};
    EXPECT_EQ(winsock::recv(static_cast<winsock::SOCKET>(ep.accepted[0]), buf, sizeof buf, 0), 2);
    EXPECT_STREQ(buf, "hi");
    for (int s : ep.accepted) winsock::closesocket(static_cast<winsock::SOCKET>(s));
  }
  // Stopped with its owner: unlinked and the file gone.
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(Dispatcher::instance()->slotCount(), 0);
}

TEST_F(EndpointTest, AFailedAcceptDropsTheEndpoint) {
  TestEndpoint ep(0);
  ASSERT_GT(ep.port(), 0);
  ep.buffer().setVerbose(false);
  const int s = ep.socket();
  winsock::closesocket(static_cast<winsock::SOCKET>(s));  // accept must fail now
  ASSERT_TRUE(Dispatcher::instance()->setReady(s, Dispatcher::kRead));
  Dispatcher::instance()->dispatch();
  EXPECT_TRUE(ep.accepted.empty());
  EXPECT_EQ(Dispatcher::instance()->handlerFor(s, Dispatcher::kRead), nullptr);
}

TEST_F(EndpointTest, AFailedListenReportsPortZeroAndIsNeverServed) {
  // A port that another socket listens on already.
  CSocket holder;
  ASSERT_TRUE(holder.Create());
  winsock::sockaddr_in a{};
  a.sin_family = winsock::AF_INET;
  a.sin_addr.s_addr = winsock::htonl(winsock::INADDR_ANY);
  const auto s = static_cast<winsock::SOCKET>(holder.socket());
  ASSERT_EQ(winsock::bind(s, reinterpret_cast<winsock::sockaddr*>(&a), sizeof a), 0);
  ASSERT_EQ(winsock::listen(s, 1), 0);
  int length = sizeof a;
  winsock::getsockname(s, reinterpret_cast<winsock::sockaddr*>(&a), &length);
  const int busy = winsock::ntohs(a.sin_port);

  testing_support::TempDir dir;
  const std::string file = dir.file("endpoint");
  TestEndpoint ep(busy, file.c_str());
  EXPECT_EQ(ep.port(), 0);
  EXPECT_FALSE(ep.isListening());
  EXPECT_EQ(Dispatcher::instance()->slotCount(), 0);
  EXPECT_FALSE(std::filesystem::exists(file));
  win::ClearMessageBoxLog();
}

TEST_F(EndpointTest, AnEndpointFileThatCannotBeWrittenIsAFailedListen) {
  TestEndpoint ep(0, "/nonexistent-dir/for/sure/endpoint");
  EXPECT_EQ(ep.port(), 0);
  EXPECT_FALSE(ep.isListening());
  EXPECT_EQ(Dispatcher::instance()->slotCount(), 0);
}

}  // namespace
