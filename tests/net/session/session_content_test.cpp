// Document content over data connections: the session listens, the peer
// connects back and sends the KXHDR header and the body; the bytes are
// compared with the peer's content files. Misbehaving data connections,
// bounded waits, the user's break and the sockets left behind.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "../connection/peer_log.h"
#include "framework/user_break.h"
#include "core/document_kinds.h"
#include "core/message_pump.h"
#include "net/csocket.h"
#include "net/dispatcher.h"
#include "support/session_fixture.h"
#include "support/temp_dir.h"
#include "win/user.h"

namespace session_test {
namespace {

using net_test::Requests;

// Sets the user-break flag when its timer falls due.
class BreakTimer : public IOHandler {
 public:
  explicit BreakTimer(LONG ms) {
    Dispatcher::instance()->startTimer(ms / 1000, (ms % 1000) * 1000, this);
  }
  void timerExpired(LONG, LONG) override { SetAbortFlag(); }
};

struct Transfer {
  bool opened = false;
  std::string bytes;
  int last = 0;  // the read that ended it: 0 at the end, -1 on failure
  std::int32_t announced = -1;
  std::int32_t delivered = 0;
};

// Opens the content of the object and reads it to its end in chunks.
Transfer ReadContent(KxSession& s, const Ref<KXObject>& object, int chunk = kTransferChunk,
                     const CString& text = CString()) {
  Transfer t;
  StoreEntry* entry = s.openRequest(object, kRequestRead, nullptr, text);
  if (entry == nullptr) return t;
  t.opened = true;
  std::vector<char> buffer(static_cast<size_t>(chunk));
  for (;;) {
    const int n = s.readRequest(entry, buffer.data(), chunk);
    if (n <= 0) {
      t.last = n;
      break;
    }
    t.bytes.append(buffer.data(), static_cast<size_t>(n));
  }
  t.announced = entry->announcedSize;
  t.delivered = entry->delivered;
  s.closeRequest(entry);
  return t;
}

class SessionContent : public SessionTest {
 protected:
  Ref<KxSession> Start(const PeerOptions& options = PeerOptions(), const char* form = "1") {
    StartPeer(options);
    Ref<KxSession> s = Open(Address("alice:wonder", std::string(form) + ":0:0"));
    EXPECT_EQ(s->getError(), 0);
    return s;
  }
  Ref<KXObject> Object(KxSession& s, const char* id) { return fetchObject(id, Ref<Store>(&s)); }
};

struct DocumentCase {
  const char* id;
  const char* file;
};

// The address the server connects back to: the local end of the control
// connection when the server can reach it from elsewhere, else this host's
// address, else the loopback for a server on this machine.
TEST(SessionOwnAddress, LocalEndOrThisHostsAddress) {
  const struct {
    const char* local;
    const char* byName;  // what the host's name resolves to
    const char* chosen;
    int lookups;
  } cases[] = {
      {"10.1.2.3", "192.168.7.7", "10.1.2.3", 0},
      {"127.0.0.1", "192.168.7.7", "192.168.7.7", 1},
      {"0.0.0.0", "192.168.7.7", "192.168.7.7", 1},
      {"", "192.168.7.7", "192.168.7.7", 1},
      {"127.0.0.1", "", "127.0.0.1", 1},
      {"0.0.0.0", "", "", 1},
      {"", "", "", 1},
  };
  for (const auto& c : cases) {
    int lookups = 0;
    const CString chosen = KxSession::ChooseOwnAddress(c.local, [&] {
      ++lookups;
      return CString(c.byName);
    });
    EXPECT_STREQ(chosen.c_str(), c.chosen) << "local " << c.local << ", by name " << c.byName;
    EXPECT_EQ(lookups, c.lookups) << "local " << c.local;
  }
}

TEST_F(SessionContent, DocumentsArriveWholeInBothForms) {
  const DocumentCase documents[] = {{"0x00000020", "objects/intro.body"},
                                    {"0x00000021", "objects/notes.body"},
                                    {"0x00000022", "objects/picture.body"},
                                    {"0x00000050", "objects/mirrored.body"}};
  for (const char* form : {"1", "0"}) {
    Ref<KxSession> s = Start(PeerOptions(), form);
    for (const DocumentCase& d : documents) {
      const std::string expected = ContentFile(d.file);
      ASSERT_FALSE(expected.empty()) << d.file;
      // Small chunks as well: the header and the body in many reads.
      for (int chunk : {kTransferChunk, 7}) {
        const Transfer t = ReadContent(*s, Object(*s, d.id), chunk);
        ASSERT_TRUE(t.opened) << d.id;
        EXPECT_EQ(t.bytes, expected) << d.id << " form " << form << " chunk " << chunk;
        EXPECT_EQ(t.last, 0) << d.id;
        EXPECT_EQ(t.announced, static_cast<std::int32_t>(expected.size())) << d.id;
        EXPECT_EQ(t.delivered, static_cast<std::int32_t>(expected.size())) << d.id;
      }
    }
    // What the session asked for: the object, its port, its address and the
    // reference number 1.
    auto asked = Requests(peer_->log(), "content");
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked[0].get("id"), "0x00000020");
    for (const auto& request : asked) EXPECT_EQ(request.get("address"), s->ownAddress().c_str());
    EXPECT_EQ(asked[0].get("reference"), "Refno=0x00000001");
    EXPECT_NE(asked[0].get("port"), "0");
    EXPECT_TRUE(BoxTexts().empty());
    s = Ref<KxSession>();
    ClearObjectCache();
    peer_.reset();
  }
}

TEST_F(SessionContent, ARefusedRequestIsShown) {
  Ref<KxSession> s = Start();
  const Transfer t = ReadContent(*s, Object(*s, "0x00000011"));  // a collection
  EXPECT_FALSE(t.opened);
  ASSERT_EQ(BoxTexts().size(), 1u);
  EXPECT_EQ(BoxTexts()[0], "Error: object is not a document");
}

struct MisbehaviourCase {
  const char* rule;
  const char* id;
  const char* file;
  int last;                // how the reading ended
  std::int32_t announced;  // -2: the file's size
  size_t bytes;            // bytes delivered; SIZE_MAX: the whole file
  const char* box;         // "" for none
};

TEST_F(SessionContent, MisbehavingDataConnections) {
  const size_t whole = SIZE_MAX;
  const MisbehaviourCase cases[] = {
      // The header in pieces of 5 bytes over several reads.
      {"data-split@36", "0x00000020", "objects/intro.body", 0, -2, whole, ""},
      {"data-empty-line@36", "0x00000021", "objects/notes.body", 0, -2, whole, ""},
      {"data-no-header@36", "0x00000021", "objects/notes.body", 0, -1, whole, ""},
      {"data-unknown-size@36", "0x00000020", "objects/intro.body", 0, -1, whole, ""},
      // More than announced: the announced bytes only.
      {"data-long=64@36", "0x00000021", "objects/notes.body", 0, -2, whole, ""},
      // The peer closes before the announced size: a failure, not an end.
      {"data-short=10@36", "0x00000021", "objects/notes.body", -1, -2, 0,
       "Error: couldn't read from socket !"},
      {"data-delay=1@36", "0x00000021", "objects/notes.body", 0, -2, whole, ""},
  };
  for (const MisbehaviourCase& c : cases) {
    PeerOptions options;
    options.misbehave = {c.rule};
    Ref<KxSession> s = Start(options);
    const std::string expected = ContentFile(c.file);
    const Transfer t = ReadContent(*s, Object(*s, c.id));
    ASSERT_TRUE(t.opened) << c.rule;
    EXPECT_EQ(t.last, c.last) << c.rule;
    EXPECT_EQ(t.announced, c.announced == -2 ? static_cast<std::int32_t>(expected.size())
                                             : c.announced)
        << c.rule;
    if (c.bytes == whole) {
      EXPECT_EQ(t.bytes, expected) << c.rule;
    } else {
      EXPECT_LT(t.bytes.size(), expected.size()) << c.rule;
      EXPECT_EQ(t.bytes, expected.substr(0, t.bytes.size())) << c.rule;
    }
    const std::vector<std::string> boxes = BoxTexts();
    if (*c.box) {
      ASSERT_FALSE(boxes.empty()) << c.rule;
      EXPECT_EQ(boxes.back(), c.box) << c.rule;
    } else {
      EXPECT_TRUE(boxes.empty()) << c.rule << ": " << (boxes.empty() ? "" : boxes.back());
    }
    win::ClearMessageBoxLog();
    s = Ref<KxSession>();
    ClearObjectCache();
    peer_.reset();
  }
}

TEST_F(SessionContent, AServerThatNeverConnectsIsWaitedForBoundedly) {
  PeerOptions options;
  options.misbehave = {"data-no-connect@36"};
  Ref<KxSession> s = Start(options);
  const Ref<KXObject> notes = Object(*s, "0x00000021");
  const int sockets = CSocket::LiveCount();
  KxSession::SetDataWaits(300, 1000);
  const auto started = std::chrono::steady_clock::now();
  EXPECT_FALSE(ReadContent(*s, notes).opened);
  const auto waited = std::chrono::steady_clock::now() - started;
  EXPECT_GE(waited, std::chrono::milliseconds(300));
  EXPECT_LT(waited, std::chrono::seconds(5));
  // The listening socket is gone with the failed request.
  EXPECT_EQ(CSocket::LiveCount(), sockets);
}

TEST_F(SessionContent, TheUserBreaksTheWaitForTheConnection) {
  PeerOptions options;
  options.misbehave = {"data-no-connect@36"};
  Ref<KxSession> s = Start(options);
  const Ref<KXObject> notes = Object(*s, "0x00000021");
  KxSession::SetDataWaits(20000, 20000);
  BreakTimer user(200);
  const auto started = std::chrono::steady_clock::now();
  EXPECT_FALSE(ReadContent(*s, notes).opened);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
  ASSERT_FALSE(BoxTexts().empty());
  EXPECT_EQ(BoxTexts().back(), "Current operation interrupted !");
  // Outer waits see the break too.
  EXPECT_TRUE(TestAbortFlag());
}

// Data the server holds back is waited for asleep, beside the control
// connection: the wait wakes for the data, not to look every moment.
TEST_F(SessionContent, HeldBackDataIsWaitedForAsleep) {
  PeerOptions options;
  options.misbehave = {"data-delay=1@36"};
  Ref<KxSession> s = Start(options);
  const Ref<KXObject> notes = Object(*s, "0x00000021");
  const int slots = Dispatcher::instance()->slotCount();
  const long long waits = PumpWaitCount();
  const Transfer t = ReadContent(*s, notes);
  EXPECT_EQ(t.bytes, ContentFile("objects/notes.body"));
  // A wait that looked every 10 ms would have slept a hundred times.
  EXPECT_LE(PumpWaitCount() - waits, 20);
  // The data socket waited beside the dispatcher's and is gone from it.
  EXPECT_EQ(Dispatcher::instance()->slotCount(), slots);
}

// Fills `content` with a copy of the peer's content and one more document,
// 0x00000071, whose body is `size` bytes of a pattern; returns the body.
std::string AddLargeDocument(testing_support::TempDir& content, size_t size) {
  std::filesystem::copy(testing_support::SourceDir() + "/tests/peer/content", content.path(),
                        std::filesystem::copy_options::recursive);
  std::string body(size, '\0');
  for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 13 + i / 251);
  content.write("objects/big.rec",
                "ObjectID=0x00000071\nType=Document\nDocumentType=text\nMimeType=text/plain\n"
                "Name=big\nParent=0x00000001\n");
  content.write("objects/big.body", body);
  return body;
}

// A body that comes in small pieces, with the socket found empty between
// them, arrives whole: each wait for bytes ends with the next piece, long
// before the wait would run out, however large the reads ask.
TEST_F(SessionContent, ABodyThatTricklesInArrivesWhole) {
  testing_support::TempDir content;
  const std::string body = AddLargeDocument(content, 80 * 1024);
  PeerOptions options;
  options.content = content.path().string();
  // 4 KiB every 20 ms: 64 KiB, what one read asks, would take 320 ms.
  options.misbehave = {"data-trickle=4096@36"};
  Ref<KxSession> s = Start(options);
  KxSession::SetDataWaits(5000, 200);
  const Transfer t = ReadContent(*s, Object(*s, "0x00000071"));
  ASSERT_TRUE(t.opened);
  EXPECT_EQ(t.last, 0);
  EXPECT_TRUE(t.bytes == body) << t.bytes.size();
  EXPECT_TRUE(BoxTexts().empty());
}

// A body of known size ends with its last byte, though the server keeps
// the connection open after it: however long the reads let bytes gather,
// none waits for more than the body still to come.
TEST_F(SessionContent, ABodyEndsAtItsSizeWhileTheConnectionStaysOpen) {
  testing_support::TempDir content;
  const std::string body = AddLargeDocument(content, 300 * 1024 + 123);
  PeerOptions options;
  options.content = content.path().string();
  options.misbehave = {"data-hold=60@36"};
  Ref<KxSession> s = Start(options);
  // A wait that lasted until the server closes would run out long before.
  KxSession::SetDataWaits(5000, 5000);
  for (const int chunk : {static_cast<int>(kTransferChunk), 256 * 1024}) {
    SCOPED_TRACE(chunk);
    const Transfer t = ReadContent(*s, Object(*s, "0x00000071"), chunk);
    ASSERT_TRUE(t.opened);
    EXPECT_EQ(t.last, 0);
    EXPECT_EQ(t.announced, static_cast<std::int32_t>(body.size()));
    EXPECT_TRUE(t.bytes == body) << t.bytes.size();
  }
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(SessionContent, AServerThatFallsSilentIsAFailure) {
  PeerOptions options;
  options.misbehave = {"data-delay=3@36"};
  Ref<KxSession> s = Start(options);
  KxSession::SetDataWaits(5000, 300);
  const Transfer t = ReadContent(*s, Object(*s, "0x00000021"));
  ASSERT_TRUE(t.opened);
  EXPECT_EQ(t.last, -1);
  EXPECT_TRUE(t.bytes.empty());
  ASSERT_FALSE(BoxTexts().empty());
  EXPECT_EQ(BoxTexts().back(), "Error: couldn't read from socket !");
}

TEST_F(SessionContent, ManyDocumentsLeaveNoSocketsBehind) {
  Ref<KxSession> s = Start();
  const Ref<KXObject> notes = Object(*s, "0x00000021");
  const std::string expected = ContentFile("objects/notes.body");
  ASSERT_EQ(ReadContent(*s, notes).bytes, expected);
  const int sockets = CSocket::LiveCount();
  const int slots = Dispatcher::instance()->slotCount();
  // More documents than the dispatcher's sets hold sockets.
  for (int i = 0; i < 30; ++i) ASSERT_EQ(ReadContent(*s, notes).bytes, expected) << i;
  EXPECT_EQ(CSocket::LiveCount(), sockets);
  EXPECT_EQ(Dispatcher::instance()->slotCount(), slots);
  // A handle given back unread closes its connection too.
  StoreEntry* entry = s->openRequest(notes, kRequestRead, nullptr, "");
  ASSERT_NE(entry, nullptr);
  s->closeRequest(entry);
  EXPECT_EQ(CSocket::LiveCount(), sockets);
}

TEST_F(SessionContent, RemoteDocumentsComeThroughTheServer) {
  Ref<KxSession> s = Start();
  const Ref<KXObject> readme =
      fetchObject("gopher://gopher.example:70/0/readme.txt", Ref<Store>(s.get()));
  ASSERT_TRUE(readme);
  const Transfer t = ReadContent(*s, readme);
  EXPECT_EQ(t.bytes, ContentFile("remote/gopher-readme.body"));
  auto asked = Requests(peer_->log(), "remote-content");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].get("flag"), "1");
  EXPECT_NE(asked[0].get("record").find("Path=/0/readme.txt\n"), std::string::npos);
}

TEST_F(SessionContent, RemoteFormsSendTheirQuery) {
  Ref<KxSession> s = Start();
  const struct {
    const char* record;
    const char* body;
    const char* path;  // the Path= line sent
    bool keepsQuery;   // the query lines stay in the record
  } cases[] = {
      {"Type=Document\nDocumentType=Remote\nProtocol=http\nHost=h\nPort=80\nPath=/form\n"
       "CGI_REQUEST_METHOD=POST\nCGI_QUERY_STRING=a=1&b=2\n",
       "a=1&b=2", "Path=/form\n", false},
      {"Type=Document\nDocumentType=Remote\nProtocol=http\nHost=h\nPort=80\nPath=/form\n"
       "CGI_REQUEST_METHOD=GET\nCGI_QUERY_STRING=q=x\n",
       "q=x", "Path=/form?q=x\n", true},
  };
  for (const auto& c : cases) {
    Ref<KXObject> form(createObject(c.record));
    ASSERT_TRUE(form);
    form->setStore(Ref<Store>(s.get()));
    EXPECT_FALSE(ReadContent(*s, form).opened);  // the peer holds no such page
    auto asked = Requests(peer_->log(), "remote-content");
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back().get("text"), c.body);
    const std::string record = asked.back().get("record");
    EXPECT_NE(record.find(c.path), std::string::npos) << record;
    EXPECT_EQ(record.find("CGI_QUERY_STRING=") != std::string::npos, c.keepsQuery) << record;
  }
}

TEST_F(SessionContent, ServerProgramsGetMethodAndQuery) {
  Ref<KxSession> s = Start();
  Ref<KXObject> script = Object(*s, "0x00000041");
  auto* cgi = dynamic_cast<CGIDocument*>(script.get());
  ASSERT_NE(cgi, nullptr);

  cgi->getQueryString() = "a=1&b=2";
  std::string page = ReadContent(*s, script).bytes;
  EXPECT_NE(page.find("CGI_REQUEST_METHOD=GET"), std::string::npos) << page;
  EXPECT_NE(page.find("CGI_QUERY_STRING=a=1&b=2"), std::string::npos) << page;

  cgi->getRequestMethod() = "POST";
  page = ReadContent(*s, script).bytes;
  EXPECT_NE(page.find("CGI_REQUEST_METHOD=POST"), std::string::npos) << page;
  EXPECT_NE(page.find("Body=a=1&b=2"), std::string::npos) << page;
  EXPECT_EQ(Requests(peer_->log(), "cgi-content").size(), 2u);
}

}  // namespace
}  // namespace session_test
