// The framing against the reference peer: negotiation, the hello and a
// record request in both forms and both byte orders, and the peer's
// misbehaviour.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "net/message_buffer.h"
#include "net/rpcstream.h"
#include "net/support/peer_process.h"

namespace {

using testing_support::PeerOptions;
using testing_support::PeerProcess;

constexpr LONG kVersion = 717;

class PeerFramingTest : public ::testing::Test {
 protected:
  // Connects and negotiates; the message buffer takes the agreed form.
  void open(PeerProcess& peer, bool askBinary) {
    ASSERT_TRUE(peer.started()) << peer.error();
    stream.setVerbose(false);
    ASSERT_TRUE(stream.connect("127.0.0.1", peer.port()));
    stream.negotiateFormat(askBinary);
    ASSERT_TRUE(stream.good());
    out.setBinary(stream.isBinary());
    out.setSwapped(stream.isSwapped());
  }
  void request(LONG id, LONG code, LONG arg = 0, bool withArg = false) {
    out.start(id, code);
    if (withArg) out.putInt(arg);
    ASSERT_TRUE(send(&stream, out));
    stream.flush();
  }
  // The next whole message (the stream blocks while it is not there).
  bool next(MessageHeader& h) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      if (readMessageHeader(stream, h)) return true;
      if (!stream.good() || !stream.needsMoreInput()) return false;
    }
    return false;
  }
  // Hello, then the record of an object.
  void helloAndRecord() {
    request(static_cast<LONG>(kVersion), 25);
    MessageHeader h;
    ASSERT_TRUE(next(h));
    EXPECT_EQ(h.code, 25);
    EXPECT_EQ(h.id & 0x3FFFu, static_cast<DWORD>(kVersion));
    LONG status = -1;
    CString text;
    stream >> status >> text;
    EXPECT_EQ(status, 0);
    EXPECT_EQ(text.Left(13), CString("ServerString$"));
    EXPECT_TRUE(stream.finishMessage());

    request(1, 7, 0x20, true);
    ASSERT_TRUE(next(h));
    EXPECT_EQ(h.code, 7);
    EXPECT_EQ(h.id, 1u);
    stream >> status >> text;
    EXPECT_EQ(status, 0);
    EXPECT_NE(text.Find("ObjectID=0x00000020"), -1) << text.c_str();
    EXPECT_TRUE(stream.finishMessage());
  }

  rpcstream stream;
  MessageBuffer out;
};

TEST_F(PeerFramingTest, BothFormsAndBothByteOrders) {
  struct Case {
    const char* form;
    const char* order;
    bool askBinary;
    bool binary;
    bool swapped;
  };
  const Case cases[] = {
      {"client", "little", true, true, false},
      {"client", "big", true, true, true},
      {"client", "little", false, false, false},
      {"text", "little", true, false, false},  // the peer insists on text
  };
  for (const Case& c : cases) {
    PeerOptions options;
    options.form = c.form;
    options.order = c.order;
    PeerProcess peer(options);
    stream.rdbuf()->close();
    stream.clear();
    open(peer, c.askBinary);
    EXPECT_EQ(stream.isBinary(), c.binary) << c.form << " " << c.order;
    EXPECT_EQ(stream.isSwapped(), c.swapped) << c.form << " " << c.order;
    helloAndRecord();
    // An id with bit 31 set goes out as the same 32 bits.
    request(2, 7, static_cast<LONG>(0x80000005u), true);
    MessageHeader h;
    ASSERT_TRUE(next(h));
    LONG status = 0;
    stream >> status;
    EXPECT_EQ(status, 8);  // no such object
    stream.finishMessage();
    EXPECT_TRUE(peer.waitForLog("id=0x80000005")) << peer.log();
    stream.rdbuf()->close();
  }
}

TEST_F(PeerFramingTest, AShortBodyIsAProtocolErrorOfThatReplyOnly) {
  PeerOptions options;
  options.misbehave = {"short-body=10@7#1"};
  PeerProcess peer(options);
  open(peer, true);
  request(1, 7, 0x20, true);
  const auto start = std::chrono::steady_clock::now();
  MessageHeader h;
  ASSERT_TRUE(next(h));
  LONG status = -1;
  CString text;
  stream >> status >> text;  // the record's NUL is gone with the cut
  EXPECT_TRUE(stream.fail());
  EXPECT_FALSE(stream.finishMessage());
  EXPECT_EQ(stream.rdbuf()->protocolError(), rpcbuf::ProtocolError::kBodyOverrun);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));  // no wait for the rest
  // The connection goes on.
  stream.rdbuf()->clearProtocolError();
  request(2, 7, 0x21, true);
  ASSERT_TRUE(next(h));
  EXPECT_EQ(h.id, 2u);
  stream >> status >> text;
  EXPECT_EQ(status, 0);
  EXPECT_NE(text.Find("ObjectID=0x00000021"), -1);
  EXPECT_TRUE(stream.finishMessage());
}

TEST_F(PeerFramingTest, BrokenFramingAndAClosedConnectionEndTheStream) {
  struct Case {
    const char* rule;
    bool bad;  // protocol error (else the end of the stream)
  };
  const Case cases[] = {
      {"zero-length@7", true},
      {"close-mid-reply@7", false},
      {"close-before-reply@7", false},
  };
  for (const Case& c : cases) {
    PeerOptions options;
    options.misbehave = {c.rule};
    PeerProcess peer(options);
    stream.rdbuf()->close();
    stream.clear();
    stream.rdbuf()->clearProtocolError();
    open(peer, false);
    request(1, 7, 0x20, true);
    MessageHeader h;
    EXPECT_FALSE(next(h)) << c.rule;
    EXPECT_FALSE(stream.good()) << c.rule;
    EXPECT_EQ(stream.bad() != 0, c.bad) << c.rule;
    EXPECT_EQ(stream.rdbuf()->protocolError() != rpcbuf::ProtocolError::kNone, c.bad) << c.rule;
    if (!c.bad) {
      EXPECT_TRUE(stream.eof()) << c.rule;
    }
    stream.rdbuf()->close();
  }
}

}  // namespace
