// The wire format of the control connection, played byte by byte by the
// server side of a loopback pair.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "core/id_array.h"
#include "net/message_buffer.h"
#include "net/rpcstream.h"
#include "net/support/socket_pair.h"
#include "support/patience.h"

namespace {

using testing_support::SocketPair;
using Error = rpcbuf::ProtocolError;

// The peer's side of the form: how it writes integers to us.
struct Form {
  bool binary;
  bool swapped;  // the peer's byte order differs from ours
  const char* name;
};
const Form kForms[] = {{false, false, "text"}, {true, false, "binary"}, {true, true, "binary swapped"}};

// What the peer sends us: integers in our order (binary) or as unsigned
// decimal and a blank (text).
std::string wireInt(const Form& f, DWORD v) {
  if (!f.binary) {
    char text[16];
    std::snprintf(text, sizeof text, "%u ", v);
    return text;
  }
  std::string b(4, '\0');
  for (int i = 0; i < 4; ++i) b[static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return b;  // little-endian: our own order on this host
}

std::string wireLength(const Form& f, LONG length) {
  if (!f.binary) {
    char text[16];
    std::snprintf(text, sizeof text, "%10d ", static_cast<int>(length));
    return text;
  }
  return wireInt(f, static_cast<DWORD>(length));
}

std::string message(const Form& f, DWORD id, LONG code, const std::string& body) {
  const std::string head = wireInt(f, id) + wireInt(f, static_cast<DWORD>(code));
  const LONG length = static_cast<LONG>((f.binary ? 4 : 11) + head.size() + body.size());
  return wireLength(f, length) + head + body;
}

class FramingTest : public ::testing::Test {
 protected:
  void open(const Form& f) {
    ASSERT_TRUE(stream.attach(static_cast<int>(pair.client)));
    stream.setBinary(f.binary);
    stream.setSwapped(f.swapped);
  }
  // Reads the next header, reading from the (blocking) socket while the
  // message is not whole, within the tests' patience.
  bool next(MessageHeader& h) {
    const auto deadline = testing_support::PatienceDeadline();
    while (std::chrono::steady_clock::now() < deadline) {
      if (readMessageHeader(stream, h)) return true;
      if (!stream.good() || !stream.needsMoreInput()) return false;
    }
    return false;
  }

  SocketPair pair;
  rpcstream stream;
};

TEST_F(FramingTest, OutgoingLengthFieldInEachForm) {
  // A whole message of 42 bytes.
  struct Case {
    Form form;
    std::string field;
  };
  const Case cases[] = {
      {kForms[0], "        42 "},
      {kForms[1], std::string("\x2a\0\0\0", 4)},
      {kForms[2], std::string("\0\0\0\x2a", 4)},
  };
  for (const Case& c : cases) {
    SocketPair p;
    rpcstream s;
    ASSERT_TRUE(s.attach(static_cast<int>(p.client)));
    s.setBinary(c.form.binary);
    s.setSwapped(c.form.swapped);
    MessageBuffer m;
    m.setBinary(c.form.binary);
    m.setSwapped(c.form.swapped);
    m.start(7, 9);
    const int header = static_cast<int>(c.field.size()) + m.length();
    m.putBytes(std::string(static_cast<size_t>(42 - header), 'x').data(), 42 - header);
    ASSERT_TRUE(send(&s, m));
    s.flush();
    const std::string got = p.take(42);
    ASSERT_EQ(got.size(), 42u) << c.form.name;
    EXPECT_EQ(got.substr(0, c.field.size()), c.field) << c.form.name;
  }
}

TEST_F(FramingTest, BodyEncodingOfIntegersStringsAndArrays) {
  MessageBuffer text(1);
  text.start(-1, 24);
  text.putInt(0x80000000);
  text.putString("user");
  IdArray ids;
  ids.Insert(0x20);
  ids.Insert(0x10);
  text.putIntArray(ids);
  EXPECT_EQ(std::string(text.data(), static_cast<size_t>(text.length())),
            std::string("4294967295 24 2147483648 user\0" "2 16 32 ", 38));

  MessageBuffer bin;
  bin.setBinary(true);
  bin.setSwapped(true);  // a big-endian receiver
  bin.start(1, 0x0102);
  EXPECT_EQ(std::string(bin.data(), 8), std::string("\0\0\0\x01\0\0\x01\x02", 8));

  // A request can never pass the longest message a peer takes.
  MessageBuffer big(16);
  big.start(1, 2);
  big.putBytes("x", MessageBuffer::kMaxLength);
  EXPECT_TRUE(big.failed());
  EXPECT_FALSE(send(&stream, big));
}

TEST_F(FramingTest, ARequestStaysInThePutAreaUntilTheFlush) {
  open(kForms[0]);
  EXPECT_EQ(stream.rdbuf()->putAreaSize(), 0);  // made on first use
  MessageBuffer m;
  m.start(1, 7);
  const std::string body(5000, 'b');
  m.putBytes(body.data(), static_cast<int>(body.size()));
  ASSERT_TRUE(send(&stream, m));
  EXPECT_EQ(stream.rdbuf()->putAreaSize(), 8128);  // 2032, 4064, 8128
  EXPECT_EQ(pair.waiting(), 0);
  stream.flush();
  const std::string got = pair.take(5015);
  ASSERT_EQ(got.size(), 5015u);
  EXPECT_EQ(got.substr(0, 15), "      5015 1 7 ");
}

TEST_F(FramingTest, HeaderAndBodyValuesInEachForm) {
  for (const Form& f : kForms) {
    SocketPair p;
    rpcstream s;
    ASSERT_TRUE(s.attach(static_cast<int>(p.client)));
    s.setBinary(f.binary);
    s.setSwapped(f.swapped);
    // An id with bit 31 set and a status of -1, both as unsigned numbers.
    const std::string body = wireInt(f, 0xFFFFFFFFu) + std::string("abc\0", 4) + "2.5 ";
    p.put(message(f, 0x80000001u, 7, body));
    MessageHeader h;
    ASSERT_TRUE(readMessageHeader(s, h)) << f.name;
    EXPECT_EQ(h.id, 0x80000001u) << f.name;
    EXPECT_EQ(h.code, 7);
    EXPECT_EQ(h.length, static_cast<LONG>(body.size()));
    LONG status = 0;
    CString text;
    float weight = 0;
    s >> status >> text >> weight;
    EXPECT_EQ(status, -1) << f.name;
    EXPECT_STREQ(text, "abc");
    EXPECT_FLOAT_EQ(weight, 2.5f);
    EXPECT_EQ(s.rdbuf()->frameLeft(), 0);
    EXPECT_TRUE(s.finishMessage()) << f.name;
  }
}

TEST_F(FramingTest, AnIncomingMessageLargerThanTheAreaGrowsIt) {
  open(kForms[0]);
  const std::string body(3000 - 16, 'z');  // "1 " and "12 " after the field
  pair.put(message(kForms[0], 1, 12, body));
  MessageHeader h;
  ASSERT_TRUE(next(h));
  EXPECT_EQ(h.length, static_cast<LONG>(body.size()));
  // Doubled once its bytes filled it: no more than the message needed.
  EXPECT_EQ(stream.rdbuf()->getAreaSize(), 2 * rpcbuf::kAreaSize);
  std::string got(body.size(), '\0');
  stream.readBytes(got.data(), static_cast<int>(got.size()));
  EXPECT_EQ(got, body);
  EXPECT_TRUE(stream.finishMessage());
}

TEST_F(FramingTest, BrokenLengthFieldsAreProtocolErrors) {
  struct Case {
    Form form;
    std::string bytes;
    Error error;
  };
  const std::string binZero("\0\0\0\0", 4);
  const Case cases[] = {
      {kForms[0], "         0 1 2 ", Error::kLengthTooSmall},
      {kForms[0], "        14 1 2 ", Error::kLengthTooSmall},  // shorter than its header
      {kForms[0], "        -5 1 2 ", Error::kBadLengthField},
      {kForms[0], "      abcd 1 2 ", Error::kBadLengthField},
      {kForms[0], "12345678901 1 2", Error::kBadLengthField},  // no room for the separator
      {kForms[0], "  67108865 1 2 ", Error::kLengthTooLarge},
      {kForms[1], binZero + "12345678", Error::kLengthTooSmall},
      {kForms[1], std::string("\x0b\0\0\0", 4) + "12345678", Error::kLengthTooSmall},
      {kForms[1], std::string("\xff\xff\xff\xff", 4) + "12345678", Error::kLengthTooSmall},
      {kForms[1], std::string("\x01\0\0\x04", 4) + "12345678", Error::kLengthTooLarge},
  };
  for (const Case& c : cases) {
    SocketPair p;
    rpcstream s;
    s.setVerbose(false);
    ASSERT_TRUE(s.attach(static_cast<int>(p.client)));
    s.setBinary(c.form.binary);
    p.put(c.bytes);
    MessageHeader h;
    EXPECT_FALSE(readMessageHeader(s, h)) << c.bytes;
    EXPECT_TRUE(s.bad()) << c.bytes;
    EXPECT_EQ(s.rdbuf()->protocolError(), c.error) << c.bytes;
    // The area never grew for such a length.
    EXPECT_LE(s.rdbuf()->getAreaSize(), rpcbuf::kAreaSize);
  }
}

TEST_F(FramingTest, LengthsAtTheLimitsAreTaken) {
  // The smallest message of each form: a header without a body.
  for (const Form& f : kForms) {
    SocketPair p;
    rpcstream s;
    ASSERT_TRUE(s.attach(static_cast<int>(p.client)));
    s.setBinary(f.binary);
    p.put(message(f, 3, 26, ""));
    MessageHeader h;
    ASSERT_TRUE(readMessageHeader(s, h)) << f.name;
    EXPECT_EQ(h.length, 0);
    EXPECT_EQ(h.code, 26);
    EXPECT_TRUE(s.finishMessage());
  }
  // The longest: accepted and waited for, with nothing set aside for bytes
  // that have not come (a few bytes of length field cannot claim 64 MiB).
  open(kForms[0]);
  pair.put("  67108864 1 2 ");
  MessageHeader h;
  EXPECT_FALSE(readMessageHeader(stream, h));
  EXPECT_TRUE(stream.good());
  EXPECT_TRUE(stream.needsMoreInput());
  EXPECT_EQ(stream.rdbuf()->protocolError(), Error::kNone);
  EXPECT_EQ(stream.rdbuf()->getAreaSize(), rpcbuf::kAreaSize);
}

TEST_F(FramingTest, AMessageOfManyAreasArrivesWhole) {
  // The area doubles as the bytes fill it, up to the message: the body
  // comes through unchanged across every growth.
  open(kForms[0]);
  std::string body;
  for (int i = 0; i < 100000; ++i) body += static_cast<char>('a' + i % 26);
  pair.put(message(kForms[0], 4, 12, body));
  MessageHeader h;
  ASSERT_TRUE(next(h));
  ASSERT_EQ(h.length, static_cast<LONG>(body.size()));
  EXPECT_LT(stream.rdbuf()->getAreaSize(), 4 * static_cast<int>(body.size()));
  std::string got(body.size(), '\0');
  stream.readBytes(got.data(), static_cast<int>(got.size()));
  EXPECT_TRUE(got == body);
  EXPECT_TRUE(stream.finishMessage());
}

TEST_F(FramingTest, AMalformedBodyIsReportedAtOnceAndTheStreamStaysInStep) {
  // Each body is cut short of what its reader expects. The reader fails
  // within the body, never waiting on the socket; the next message is read
  // as it should be.
  struct Case {
    Form form;
    std::string body;
    int reader;  // 0 string, 1 integer, 2 id array, 3 bounded string
    Error error;
  };
  const Case cases[] = {
      {kForms[0], std::string("no nul"), 0, Error::kBodyOverrun},
      {kForms[1], std::string("no nul"), 0, Error::kBodyOverrun},
      {kForms[0], "12", 1, Error::kBodyOverrun},  // no separator
      {kForms[1], "\x01\x02", 1, Error::kBodyOverrun},
      {kForms[0], "99999999999 ", 1, Error::kBadBody},
      {kForms[0], "1000000 1 2 3 ", 2, Error::kNone},  // the count cannot be honest
      {kForms[1], wireInt(kForms[1], 0x7FFFFFFF), 2, Error::kNone},
      {kForms[0], std::string("0123456789\0", 11), 3, Error::kBadBody},  // too long for 8
  };
  for (const Case& c : cases) {
    SocketPair p;
    rpcstream s;
    ASSERT_TRUE(s.attach(static_cast<int>(p.client)));
    s.setBinary(c.form.binary);
    p.put(message(c.form, 1, 7, c.body) + message(c.form, 2, 8, wireInt(c.form, 5)));
    const auto start = std::chrono::steady_clock::now();
    MessageHeader h;
    ASSERT_TRUE(readMessageHeader(s, h));
    bool read = true;
    if (c.reader == 0) {
      CString text;
      s >> text;
      read = !s.fail();
    } else if (c.reader == 1) {
      LONG v = 0;
      s >> v;
      read = !s.fail();
    } else if (c.reader == 2) {
      IdArray ids;
      RpcIntSource source(s);
      read = ids.Read(source);
      EXPECT_EQ(ids.count(), 0);
    } else {
      char small[8];
      s.readString(small, sizeof small);
      read = !s.fail();
      EXPECT_STREQ(small, "0123456");
    }
    EXPECT_FALSE(read) << c.body;
    EXPECT_EQ(s.finishMessage(), c.error == Error::kNone) << c.body;
    EXPECT_EQ(s.rdbuf()->protocolError(), c.error) << c.body;
    EXPECT_TRUE(s.good()) << c.body;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));  // no wait for more input
    s.rdbuf()->clearProtocolError();
    ASSERT_TRUE(readMessageHeader(s, h)) << c.body;
    EXPECT_EQ(h.id, 2u);
    LONG v = 0;
    s >> v;
    EXPECT_EQ(v, 5);
    EXPECT_TRUE(s.finishMessage());
  }
}

TEST_F(FramingTest, MessagesTogetherAndInPieces) {
  open(kForms[0]);
  // Two messages in one segment: the second needs no read from the socket.
  pair.put(message(kForms[0], 1, 7, "1 ") + message(kForms[0], 2, 7, "2 "));
  MessageHeader h;
  ASSERT_TRUE(next(h));
  EXPECT_EQ(h.id, 1u);
  // Unread body is dropped by the next header read.
  ASSERT_TRUE(readMessageHeader(stream, h));
  EXPECT_EQ(h.id, 2u);
  EXPECT_FALSE(stream.needsMoreInput());
  EXPECT_TRUE(stream.finishMessage());

  // One byte at a time: incomplete until the last byte.
  const std::string m = message(kForms[0], 3, 9, std::string("abc\0", 4));
  for (size_t i = 0; i + 1 < m.size(); ++i) {
    pair.put(m.substr(i, 1));
    EXPECT_FALSE(readMessageHeader(stream, h)) << i;  // reads the byte, finds it short
    EXPECT_TRUE(stream.good());
    EXPECT_TRUE(stream.needsMoreInput());
  }
  pair.put(m.substr(m.size() - 1));
  ASSERT_TRUE(readMessageHeader(stream, h));
  EXPECT_EQ(h.id, 3u);
  CString text;
  stream >> text;
  EXPECT_STREQ(text, "abc");
}

TEST_F(FramingTest, APeerThatClosesMidMessageEndsTheStream) {
  open(kForms[0]);
  const std::string m = message(kForms[0], 1, 7, "0 record text");
  pair.put(m.substr(0, m.size() / 2));
  pair.closeServer();
  MessageHeader h;
  EXPECT_FALSE(next(h));
  EXPECT_TRUE(stream.eof());
  EXPECT_FALSE(stream.good());
  // And later reads fail at once.
  EXPECT_FALSE(readMessageHeader(stream, h));
  EXPECT_TRUE(stream.fail());
}

TEST_F(FramingTest, NegotiationOfFormAndByteOrder) {
  struct Case {
    bool askBinary;
    std::string answers;  // what the server says, in order
    std::string expectSent;
    bool good;
    bool binary;
    bool swapped;
  };
  const std::string own(1, rpcios::ownOrderLetter());
  const std::string other = own == "l" ? "B" : "l";
  const Case cases[] = {
      {true, "T" + own, "T" + own, true, true, false},
      {true, "T" + other, "T" + own, true, true, true},
      {true, "F", "T", true, false, false},  // the server wants text
      {false, "T", "F", true, false, false},
      {false, "F", "F", true, false, false},
      {true, "X", "T", false, false, false},
      {true, "TQ", "T" + own, false, true, false},
      {true, "", "T", false, false, false},  // closed without a word
  };
  for (const Case& c : cases) {
    SocketPair p;
    rpcstream s;
    ASSERT_TRUE(s.attach(static_cast<int>(p.client)));
    p.put(c.answers);
    if (c.answers.empty()) p.closeServer();
    s.negotiateFormat(c.askBinary);
    EXPECT_EQ(s.good() != 0, c.good) << c.answers;
    if (c.good) {
      EXPECT_EQ(s.isBinary(), c.binary) << c.answers;
      EXPECT_EQ(s.isSwapped(), c.swapped) << c.answers;
    }
    if (!c.answers.empty()) {
      EXPECT_EQ(p.take(c.expectSent.size(), 200), c.expectSent) << c.answers;
    }
  }
}

}  // namespace
