// Waits that end without their reply (user breaks, a closed connection),
// replies that misbehave, the server's own messages, compression, and the
// hint cache of each connection.
#include <gtest/gtest.h>

#include <chrono>
#include <set>

#include "connection_fixture.h"

namespace net_test {
namespace {

using std::chrono::steady_clock;

class Faults : public ConnectionTest {
 protected:
  void Open(PeerOptions options, bool binary = true, bool compress = false) {
    peer_ = StartPeer(options);
    ASSERT_TRUE(peer_->started());
    conn_ = Connect(*peer_, binary, options.version, compress);
    ASSERT_EQ(conn_->error(), 0);
  }
  std::unique_ptr<PeerProcess> peer_;
  std::unique_ptr<KxConnection> conn_;
};

// ---- User breaks ----------------------------------------------------------

class Breaks : public Faults, public ::testing::WithParamInterface<int> {};

TEST_P(Breaks, ABrokenRequestLeavesNothingBehindAndItsLateReplyIsDropped) {
  PeerOptions options;
  options.version = GetParam();
  options.misbehave = {"delay=1@7#1"};
  Open(options);
  KxConnection& c = *conn_;

  SetAbortFlag();  // the user breaks at once
  CString record;
  EXPECT_FALSE(c.getRecord(ObjectId(0x20), record));
  EXPECT_EQ(c.error(), kx_error::kUserBreak);
  EXPECT_TRUE(ClearAbortFlag()) << "outer waits must see the break too";
  EXPECT_EQ(c.pendingCount(), 0);

  // The same code again: not refused, and answered with its own record even
  // though the late reply of the broken request arrives first.
  ASSERT_TRUE(c.getRecord(ObjectId(0x21), record));
  EXPECT_NE(record.Find("Name=notes"), -1);
  ASSERT_TRUE(c.getRecord(ObjectId(0x22), record));
  EXPECT_NE(record.Find("Name=picture"), -1);
  EXPECT_EQ(c.arrivedCount(), 0);
  EXPECT_EQ(c.pendingCount(), 0);
}

TEST_P(Breaks, AReplyThatNeverComesWaitsForTheUser) {
  PeerOptions options;
  options.version = GetParam();
  options.misbehave = {"drop-reply@4#1"};
  Open(options);
  KxConnection& c = *conn_;
  BreakTimer user(300);
  IdArray ids;
  EXPECT_FALSE(c.getParents(ObjectId(0x21), ids));
  EXPECT_TRUE(user.fired);
  EXPECT_EQ(c.error(), kx_error::kUserBreak);
  ClearAbortFlag();
  CString record;
  ASSERT_TRUE(c.getRecord(ObjectId(0x20), record));
  EXPECT_NE(record.Find("Name=intro"), -1);
}

INSTANTIATE_TEST_SUITE_P(Peer, Breaks, ::testing::Values(700, 717));

// ---- Misbehaving replies --------------------------------------------------

struct Misbehaviour {
  const char* rule;
  std::set<int> firstErrors;  // what the misbehaving request may end with
  bool followUpWorks;         // the stream stayed in step
};

class Replies : public Faults, public ::testing::WithParamInterface<bool> {};

TEST_P(Replies, EachMisbehaviourEndsCleanly) {
  const Misbehaviour cases[] = {
      {"close-mid-reply@7", {kx_error::kNotResponding}, false},
      {"close-before-reply@7", {kx_error::kNotResponding}, false},
      {"zero-length@7#1", {kx_error::kNotResponding}, false},
      {"wrong-length=4@7#1", {kx_error::kUserBreak, kx_error::kNotResponding}, false},
      {"wrong-length=-4@7#1", {kMalformedReplyStatus, kx_error::kNotResponding}, false},
      {"wrong-length=-40@7#1", {kMalformedReplyStatus, kx_error::kNotResponding}, false},
      {"short-body@7#1", {kMalformedReplyStatus}, true},
      {"short-body=1@7#1", {kMalformedReplyStatus}, true},
      {"long-body@7#1", {0}, true},
      {"split-reply@7#1", {0}, true},
      {"delay=1@7#1", {0}, true},
      {"status=19@7#1", {19}, true},
  };
  for (const Misbehaviour& m : cases) {
    SCOPED_TRACE(m.rule);
    PeerOptions options;
    options.misbehave = {m.rule};
    Open(options, GetParam());
    KxConnection& c = *conn_;
    auto started = steady_clock::now();
    CString record;
    {
      BreakTimer user(3000);  // a user who gives up on a wait that hangs
      bool ok = c.getRecord(ObjectId(0x20), record);
      EXPECT_EQ(ok, m.firstErrors.count(0) == 1);
      EXPECT_EQ(m.firstErrors.count(c.error()), 1u) << "error " << c.error();
      if (ok) {
        EXPECT_NE(record.Find("Name=intro"), -1);
      }
    }
    ClearAbortFlag();
    {
      BreakTimer user(3000);
      bool ok = c.getRecord(ObjectId(0x21), record);
      if (m.followUpWorks) {
        EXPECT_TRUE(ok);
        EXPECT_NE(record.Find("Name=notes"), -1);
      } else if (!ok) {
        EXPECT_TRUE(c.error() == kx_error::kNotResponding || c.error() == kx_error::kUserBreak ||
                    c.error() == kMalformedReplyStatus)
            << "error " << c.error();
      }
    }
    ClearAbortFlag();
    EXPECT_LT(steady_clock::now() - started, std::chrono::seconds(15));
    conn_.reset();
    Dispatcher::destroy();
  }
}

TEST_P(Replies, BodiesShorterThanTheirCountsFailTheReplyNotTheStream) {
  PeerOptions options;
  options.misbehave = {"short-body=3@44#1", "short-body@11#1", "long-body=8@11#2"};
  Open(options, GetParam());
  KxConnection& c = *conn_;
  IdArray ids;
  EXPECT_FALSE(c.getMembers(ObjectId(0x11), ids));
  EXPECT_EQ(c.error(), kMalformedReplyStatus);
  EXPECT_EQ(ids.count(), 0);
  ASSERT_TRUE(c.getMembers(ObjectId(0x11), ids));
  EXPECT_EQ(ids.count(), 5);

  IdArray two;
  two.Insert(ObjectId(0x20));
  two.Insert(ObjectId(0x21));
  std::vector<IdRecord> records;
  EXPECT_FALSE(c.getRecords(0, two, "", records));
  EXPECT_EQ(c.error(), kMalformedReplyStatus);
  ASSERT_TRUE(c.getRecords(0, two, "", records));  // with bytes after the body
  ASSERT_EQ(records.size(), 2u);
  EXPECT_NE(records[1].record.Find("Name=notes"), -1);
}

INSTANTIATE_TEST_SUITE_P(Peer, Replies, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Binary" : "Text");
                         });

// ---- A closed connection --------------------------------------------------

TEST_F(Faults, AClosedConnectionFailsEveryLaterRequestAtOnce) {
  for (int version : {5, 717}) {
    SCOPED_TRACE(version);
    PeerOptions options;
    options.version = version;
    options.misbehave = {"drop-reply@7#1"};
    Open(options);
    KxConnection& c = *conn_;
    CString broken;
    SetAbortFlag();  // a broken request whose reply never comes
    EXPECT_FALSE(c.getRecord(ObjectId(0x20), broken));
    ClearAbortFlag();
    peer_->control("close\n");
    ASSERT_TRUE(peer_->waitForLog("\tclose\t"));
    CString record;
    EXPECT_FALSE(c.getRecord(ObjectId(0x20), record));
    EXPECT_EQ(c.error(), kx_error::kNotResponding);
    auto started = steady_clock::now();
    IdArray ids;
    EXPECT_FALSE(c.getMembers(ObjectId(0x11), ids));
    EXPECT_EQ(c.error(), kx_error::kNotResponding);
    // Request 18 of an old server: its "too old" does not hide the closure.
    LONG a = 0, b = 0;
    EXPECT_FALSE(c.getAnchorLink(ObjectId(0x30), a, b));
    EXPECT_EQ(c.error(), kx_error::kNotResponding);
    EXPECT_FALSE(c.getRecord(ObjectId(0x20), record));
    EXPECT_EQ(c.error(), kx_error::kNotResponding);
    EXPECT_LT(steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_EQ(c.pendingCount(), 0);
    conn_.reset();
    Dispatcher::destroy();
  }
}

TEST_F(Faults, AConnectionOutlivesTheDispatcherInstance) {
  Open(PeerOptions());
  CString record;
  ASSERT_TRUE(conn_->getRecord(ObjectId(0x20), record));
  Dispatcher::destroy();  // its owner ended it; the next user makes a new one
  ASSERT_TRUE(conn_->getRecord(ObjectId(0x21), record));
  EXPECT_NE(record.Find("Name=notes"), -1);
}

// ---- Messages of the server ------------------------------------------------

TEST_F(Faults, AnEchoRequestIsAnsweredAndOtherMessagesAreDropped) {
  PeerOptions options;
  options.unsolicited = {"after-identify=echo:tester", "before-7=msg:hello there",
                         "before-44=reply:7", "after-44=code:13", "before-8=data:SOMETHING ELSE"};
  Open(options, false);
  KxConnection& c = *conn_;
  CString record;
  ASSERT_TRUE(c.getRecord(ObjectId(0x20), record));
  EXPECT_NE(record.Find("Name=intro"), -1);
  ASSERT_TRUE(peer_->waitForLog("echo-reply"));
  auto echoes = Requests(peer_->log(), "echo-reply");
  ASSERT_EQ(echoes.size(), 1u);
  EXPECT_EQ(echoes[0].get("text"), "message tester ECHO_REPLY\nTolm");
  EXPECT_EQ(echoes[0].get("zero"), "0");
  CString pending;
  EXPECT_FALSE(c.takeServerMessage(pending));  // handled, not left waiting

  IdArray ids;
  ASSERT_TRUE(c.getMembers(ObjectId(0x11), ids));  // after an unrequested 7
  EXPECT_EQ(ids.count(), 5);
  ASSERT_TRUE(c.getAnchors(ObjectId(0x20), ids));  // after a message of code 13
  EXPECT_EQ(ids.count(), 3);
  ASSERT_TRUE(c.getRecord(ObjectId(0x21), record));
  EXPECT_NE(record.Find("Name=notes"), -1);
  EXPECT_EQ(c.arrivedCount(), 0);
  EXPECT_EQ(Requests(peer_->log(), "echo-reply").size(), 1u);
}

TEST_F(Faults, AReorganizationAnnouncedDuringAWaitEndsThatWaitOnly) {
  PeerOptions options;
  options.unsolicited = {"before-7=raw:Reorganization$soon"};
  options.misbehave = {"drop-reply@7#1"};
  Open(options);
  KxConnection& c = *conn_;
  CString record;
  EXPECT_FALSE(c.getRecord(ObjectId(0x20), record));
  EXPECT_EQ(c.error(), kx_error::kReorganization);
  IdArray ids;
  ASSERT_TRUE(c.getMembers(ObjectId(0x11), ids));
  EXPECT_EQ(c.error(), 0);
}

// ---- Compression ----------------------------------------------------------

TEST_F(Faults, CompressedRepliesMatchPlainOnes) {
  for (const char* mode : {"on", "force"}) {
    SCOPED_TRACE(mode);
    PeerOptions options;
    options.compress = mode;
    Open(options, true, std::string(mode) == "on");
    ASSERT_TRUE(conn_->compress());
    auto plainPeer = StartPeer();
    auto plain = Connect(*plainPeer, true);
    ASSERT_FALSE(plain->compress());

    IdArray ids;
    for (LONG id : {0x01, 0x10, 0x11, 0x12, 0x20, 0x21, 0x22, 0x30, 0x40, 0x41, 0x50})
      ids.Insert(ObjectId(id));
    std::vector<IdRecord> packed, unpacked;
    ASSERT_TRUE(conn_->getRecords(0, ids, "", packed));
    ASSERT_TRUE(plain->getRecords(0, ids, "", unpacked));
    ASSERT_EQ(packed.size(), unpacked.size());
    for (size_t k = 0; k < packed.size(); ++k) EXPECT_EQ(packed[k].record, unpacked[k].record);

    CString gopher;
    ASSERT_TRUE(plain->getRecord(ObjectId(0x40), gopher));
    std::vector<CString> a, b;
    ASSERT_TRUE(conn_->getRemoteMembers(gopher, "", a));
    ASSERT_TRUE(plain->getRemoteMembers(gopher, "", b));
    EXPECT_EQ(a, b);
    plain.reset();
    conn_.reset();
    Dispatcher::destroy();
  }
}

// ---- Hint resolution ------------------------------------------------------

TEST_F(Faults, EachConnectionKeepsItsOwnHintCache) {
  PeerOptions options;
  Open(options);
  auto other = Connect(*peer_, true);
  ASSERT_EQ(other->error(), 0);
  auto nameQueries = [&] {
    size_t n = 0;
    for (const LogEvent& e : Requests(peer_->log(), "query"))
      if (e.get("query") == "Name=music") ++n;
    return n;
  };

  IdArray ids;
  EXPECT_EQ(conn_->resolveHint("music scores", ids), 1);
  EXPECT_TRUE(ids.Contains(ObjectId(0x21)));
  EXPECT_EQ(nameQueries(), 1u);
  EXPECT_EQ(conn_->resolveHint("music history", ids), 1);  // answered from the cache
  EXPECT_TRUE(ids.Contains(ObjectId(0x20)));
  EXPECT_EQ(nameQueries(), 1u);
  EXPECT_EQ(other->resolveHint("music scores", ids), 1);  // its own cache
  EXPECT_EQ(nameQueries(), 2u);

  LONG doc = 0;
  ASSERT_TRUE(conn_->insertDocument(ObjectId(0x11), "Type=Document\nDocumentType=text\nName=x\n", "",
                                    doc));
  EXPECT_TRUE(conn_->hintCache().isEmpty());
  EXPECT_FALSE(other->hintCache().isEmpty());
  EXPECT_EQ(conn_->resolveHint("music scores", ids), 1);
  EXPECT_EQ(nameQueries(), 3u);

  // An object id is the whole answer; a title with a language prefix.
  size_t before = Requests(peer_->log(), "query").size();
  EXPECT_EQ(conn_->resolveHint("  0x00000021 anything", ids), 1);
  EXPECT_TRUE(ids.Contains(ObjectId(0x21)));
  EXPECT_EQ(conn_->resolveHint("", ids), 0);
  EXPECT_EQ(Requests(peer_->log(), "query").size(), before);
  EXPECT_EQ(conn_->resolveHint("music en:notes", ids), 1);
  auto within = Requests(peer_->log(), "query-within");
  EXPECT_EQ(within.back().get("query"), "Title=en:notes||Keyword=notes");
  // Several hits are narrowed by a records request with the query.
  EXPECT_GE(conn_->resolveHint("rootcollection music", ids), 1);
}

}  // namespace
}  // namespace net_test
