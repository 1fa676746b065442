// The reply receiver against a scripted server: the test writes the
// server's bytes into the socket before the client reads, so several
// messages arrive in one segment.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "net/dispatcher.h"
#include "net/kx_connection.h"
#include "net/reply_receiver.h"

// The system's socket headers after the WinSock stand-in, whose constants
// they would otherwise turn into macros.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// One message in the text form: the length field counts the whole message.
std::string frame(unsigned id, int code, const std::string& body) {
  std::string rest = std::to_string(id) + " " + std::to_string(code) + " " + body;
  char field[16];
  std::snprintf(field, sizeof field, "%10zu ", rest.size() + 11);
  return field + rest;
}

class ScriptedServer {
 public:
  ScriptedServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(listener_, 1);
    socklen_t n = sizeof a;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &n);
    port_ = ntohs(a.sin_port);
  }
  ~ScriptedServer() {
    if (client_ >= 0) ::close(client_);
    ::close(listener_);
  }
  int port() const { return port_; }
  bool accept() {
    pollfd p{listener_, POLLIN, 0};
    if (::poll(&p, 1, 5000) <= 0) return false;
    client_ = ::accept(listener_, nullptr, nullptr);
    return client_ >= 0;
  }
  void write(const std::string& bytes) { ASSERT_EQ(::write(client_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size())); }

 private:
  int listener_ = -1;
  int client_ = -1;
  int port_ = 0;
};

// A connection in the text form whose server has already said `script`.
std::unique_ptr<KxConnection> connectScripted(ScriptedServer& server, const std::string& script) {
  auto stream = std::make_unique<rpcstream>();
  stream->setVerbose(false);
  if (!stream->connect("127.0.0.1", server.port()) || !server.accept()) return nullptr;
  server.write(script);
  return std::make_unique<KxConnection>(std::move(stream), "alice", "wonder", false, false);
}

class ReceiverScript : public ::testing::Test {
 protected:
  void SetUp() override { Dispatcher::destroy(); }
  void TearDown() override { Dispatcher::destroy(); }
};

TEST_F(ReceiverScript, SeveralMessagesInOneSegmentAreEachHandled) {
  ScriptedServer server;
  std::string script = frame(717, 25, std::string("0 ServerString$scripted", 24)) +
                       frame(1, 24, std::string("0x00000003 alice(here)", 23)) +
                       frame(0, 13, "1 2 3 ") +                          // no handler: skipped
                       frame(0x7fff, 7, std::string("0 Type=Stray", 13)) +  // not asked for
                       frame(2, 7, std::string("0 Type=Document\nName=x", 23));
  auto conn = connectScripted(server, script);
  ASSERT_NE(conn, nullptr);
  ASSERT_EQ(conn->error(), 0);
  EXPECT_EQ(conn->serverString(), "scripted");
  EXPECT_EQ(conn->userId(), ObjectId(3));
  EXPECT_EQ(conn->identificationText(), "alice(here)");

  CString record;
  ASSERT_TRUE(conn->getRecord(ObjectId(5), record));
  EXPECT_EQ(record, "Type=Document\nName=x");
  EXPECT_EQ(conn->arrivedCount(), 0);
  EXPECT_EQ(conn->pendingCount(), 0);
}

TEST_F(ReceiverScript, AShortIdentificationAnswerLeavesAnEmptyText) {
  ScriptedServer server;
  std::string script = frame(717, 25, std::string("0 ", 2)) +  // status only
                       frame(1, 24, std::string("0x3", 4));
  auto conn = connectScripted(server, script);
  ASSERT_NE(conn, nullptr);
  ASSERT_EQ(conn->error(), 0);
  EXPECT_EQ(conn->userId(), ObjectId(3));
  EXPECT_TRUE(conn->identificationText().IsEmpty());
  EXPECT_TRUE(conn->serverString().IsEmpty());
}

TEST_F(ReceiverScript, AServerOlderThanTheClientLowersTheVersionAndKeepsCompressionOff) {
  ScriptedServer server;
  // Version 700 without the compress bit; the hello body is one string.
  std::string script = frame(700, 25, std::string("ServerString$old", 17)) +
                       frame(0, 24, std::string("0x00000002 anonymous(x)", 24));
  auto stream = std::make_unique<rpcstream>();
  stream->setVerbose(false);
  ASSERT_TRUE(stream->connect("127.0.0.1", server.port()));
  ASSERT_TRUE(server.accept());
  server.write(script);
  KxConnection conn(std::move(stream), "", "", false, true);
  ASSERT_EQ(conn.error(), 0);
  EXPECT_EQ(conn.version(), 700);
  EXPECT_FALSE(conn.compress());
  EXPECT_EQ(conn.serverString(), "old");
}

}  // namespace
