// The branches of the catalogue for older servers (protocol versions 5, 700
// and 704), in both forms and both byte orders.
#include <gtest/gtest.h>

#include <cstring>

#include "connection_fixture.h"
#include "data_listener.h"

namespace net_test {
namespace {

struct Form {
  const char* name;
  bool binary;
  const char* order;
};

class Versions : public ConnectionTest, public ::testing::WithParamInterface<Form> {
 protected:
  void Open(int version) {
    PeerOptions options;
    options.order = GetParam().order;
    options.version = version;
    peer_ = StartPeer(options);
    ASSERT_TRUE(peer_->started());
    conn_ = Connect(*peer_, GetParam().binary, version);
    ASSERT_EQ(conn_->error(), 0);
    ASSERT_EQ(conn_->version(), version);
  }
  std::vector<LogEvent> Sent(const std::string& name) { return Requests(peer_->log(), name); }

  std::unique_ptr<PeerProcess> peer_;
  std::unique_ptr<KxConnection> conn_;
};

IdArray Make(std::initializer_list<LONG> ids) {
  IdArray a;
  for (LONG id : ids) a.Insert(ObjectId(id));
  return a;
}

TEST_P(Versions, Version5) {
  Open(5);
  KxConnection& c = *conn_;
  LONG a = 0, b = 0;
  IdArray ids;
  // Requests 18 and 19 need version 6: refused before anything is sent.
  EXPECT_FALSE(c.getAnchorLink(ObjectId(0x30), a, b));
  EXPECT_EQ(c.error(), kx_error::kWrongVersion);
  EXPECT_FALSE(c.getLinks(ObjectId(0x21), ids));
  EXPECT_EQ(c.error(), kx_error::kWrongVersion);
  EXPECT_TRUE(Sent("anchor-link").empty());
  EXPECT_TRUE(Sent("links-to").empty());

  // Members come from requests 3 and 5 together.
  ASSERT_TRUE(c.getMembers(ObjectId(0x01), ids));
  EXPECT_EQ(ids.count(), 4);
  ASSERT_TRUE(c.getMembers(ObjectId(0x11), ids));
  EXPECT_EQ(ids.count(), 5);
  EXPECT_TRUE(Sent("members").empty());
  EXPECT_EQ(Sent("documents-of").size(), 2u);
  EXPECT_EQ(Sent("collections-of").size(), 2u);

  // Everything newer is refused with 26 and not sent.
  std::vector<CString> texts;
  EXPECT_FALSE(c.getRemoteMembers("Type=Document\n", "", texts));
  EXPECT_EQ(c.error(), kx_error::kWrongVersion);
  EXPECT_FALSE(c.requestRemoteContent("127.0.0.1", 1, "r", "", 1));
  EXPECT_FALSE(c.requestCgiContent("127.0.0.1", 1, "r", "t", 1));
  EXPECT_EQ(c.findGlobalObject(0x0a000001, 0x99), 0);
  EXPECT_EQ(c.error(), kx_error::kWrongVersion);
  for (const char* name : {"remote-members", "remote-content", "cgi-content", "global-id"})
    EXPECT_TRUE(Sent(name).empty()) << name;

  // An anchor record without "TAnchor=" is completed; request 18 is refused
  // at this version, so the anchor counts as a destination. The line goes
  // after the record's last line, not onto it.
  LONG anchor = 0;
  ASSERT_TRUE(c.insertAnchor(ObjectId(0x21), "Type=Anchor\nPosition=1 2", anchor));
  CString record;
  ASSERT_TRUE(c.getRecord(ObjectId(anchor), record));
  EXPECT_EQ(record.Right(14), "\nTAnchor=Dest\n");
  EXPECT_EQ(record.Find("TAnchor=Src"), -1);
  std::vector<IdRecord> records;
  ASSERT_TRUE(c.getRecords(0, Make({0x30, anchor}), "", records));
  ASSERT_EQ(records.size(), 2u);
  // The peer serves anchors as old servers did, without the line.
  EXPECT_NE(records[0].record.Find("\nTAnchor=Dest\n"), -1);
  EXPECT_NE(records[1].record.Find("\nTAnchor=Dest\n"), -1);
  ASSERT_TRUE(c.lockObject(ObjectId(anchor), record));
  EXPECT_NE(record.Find("\nTAnchor=Dest\n"), -1);

  // Linking goes through requests 15 and 16.
  LONG made = 0;
  ASSERT_TRUE(c.linkToDestination("Type=Anchor\nPosition=7 8\n", ObjectId(0x20), ObjectId(0x21), made));
  EXPECT_TRUE(Sent("insert-source-anchor").empty());
  auto link = Sent("link-anchor").at(0);
  EXPECT_EQ(link.get("dest"), "0x00000021");
  EXPECT_EQ(link.get("record"), "Type=Link\n");
  // A failed link deletes the new anchor again.
  ASSERT_FALSE(c.linkToDestination("Type=Anchor\nPosition=7 8\n", ObjectId(0x20), ObjectId(0x999), made));
  EXPECT_EQ(Sent("delete").size(), 1u);

  // The identification carried no client name.
  EXPECT_FALSE(Sent("identify").at(0).has("client"));
}

TEST_P(Versions, Version6CompletesAnchorsThroughTheirLinks) {
  Open(6);
  KxConnection& c = *conn_;
  struct Case {
    LONG anchor;
    const char* ending;
  };
  const Case cases[] = {
      {0x30, "\nTAnchor=Src\nDest=0x00000021\n"},
      {0x33, "\nTAnchor=Src\nHint=URL:http://www.example.org/music.html\n"},
      {0x31, "\nTAnchor=Dest\n"},
      {0x20, "TimeCreated=96/05/03 10:00:00"},  // not an anchor: unchanged
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.anchor);
    CString record;
    ASSERT_TRUE(c.getRecord(ObjectId(k.anchor), record));
    EXPECT_EQ(record.Right(static_cast<int>(strlen(k.ending))), k.ending);
  }
  EXPECT_EQ(Sent("anchor-link").size(), 3u);

  // A lock whose record cannot be completed is released again.
  peer_->control("misbehave status=8@7\n");
  ASSERT_TRUE(peer_->waitForLog("\tcontrol\t"));
  CString record;
  EXPECT_FALSE(c.lockObject(ObjectId(0x33), record));
  ASSERT_TRUE(peer_->waitForLog("unlock"));
  EXPECT_EQ(Requests(peer_->log(), "unlock").at(0).get("id"), "0x00000033");
}

TEST_P(Versions, Version700) {
  Open(700);
  KxConnection& c = *conn_;
  // Replies carry id 0: one request per code may be outstanding.
  RequestTicket first = c.startQueryWithin(Make({0x11}), "Keyword=scores");
  ASSERT_TRUE(first.sent);
  IdArray ids;
  EXPECT_FALSE(c.queryWithin(Make({0x11}), "Keyword=music", ids));
  EXPECT_EQ(c.error(), kx_error::kPriorRequest);
  ASSERT_TRUE(c.finishQueryWithin(first, ids));
  EXPECT_EQ(ids.count(), 1);
  EXPECT_EQ(Sent("query-within").size(), 1u);
  ASSERT_TRUE(c.queryWithin(Make({0x11}), "Keyword=music", ids));  // free again

  // 41 has no place for a text before 716; 43 and 46 need newer servers.
  EXPECT_FALSE(c.requestRemoteContent("127.0.0.1", 1, "r", "text", 1));
  EXPECT_EQ(c.error(), kx_error::kWrongVersion);
  EXPECT_TRUE(Sent("remote-content").empty());
  {
    DataListener data;
    CString gopher;
    ASSERT_TRUE(c.getRecord(ObjectId(0x40), gopher));
    std::vector<CString> members;
    ASSERT_TRUE(c.getRemoteMembers(gopher, "", members));  // a string text
    ASSERT_EQ(members.size(), 2u);
    ASSERT_TRUE(c.requestRemoteContent("127.0.0.1", data.port(), members[0], "", 1));
    EXPECT_FALSE(Sent("remote-content").at(0).has("text"));
    EXPECT_NE(data.receive().find("readme"), std::string::npos);
  }
  EXPECT_EQ(c.findGlobalObject(0x0a000001, 0x99), 0);
  EXPECT_FALSE(c.requestCgiContent("127.0.0.1", 1, "r", "", 1));
  EXPECT_TRUE(Sent("global-id").empty());
  EXPECT_TRUE(Sent("cgi-content").empty());

  // Linking uses request 32 from version 7 on.
  LONG made = 0;
  ASSERT_TRUE(c.linkToDestination("Type=Anchor\nPosition=7 8\n", ObjectId(0x20), ObjectId(0x21), made));
  EXPECT_EQ(Sent("insert-source-anchor").size(), 1u);
  EXPECT_TRUE(Sent("link-anchor").empty());

  // Members through 3 and 5; a missing record through the found flag.
  ASSERT_TRUE(c.getMembers(ObjectId(0x11), ids));
  EXPECT_EQ(ids.count(), 5);
  CString record;
  EXPECT_FALSE(c.getRecord(ObjectId(0x999), record));
  EXPECT_EQ(c.error(), 8);
  EXPECT_FALSE(Sent("identify").at(0).has("client"));  // from 702 on
}

TEST_P(Versions, Version704) {
  Open(704);
  KxConnection& c = *conn_;
  CString record;
  EXPECT_FALSE(c.getRecord(ObjectId(0x999), record));  // the found flag 0
  EXPECT_EQ(c.error(), 8);
  EXPECT_EQ(c.findGlobalObject(0x0a000001, 0x99), 0x50);
  IdArray ids;
  ASSERT_TRUE(c.query("Name=music", ids));
  EXPECT_EQ(ids.count(), 1);
  ASSERT_TRUE(c.queryWithin(Make({0x01}), "Keyword=scores", ids));
  EXPECT_EQ(ids.count(), 1);
  ASSERT_TRUE(c.getRecord(ObjectId(0x30), record));
  EXPECT_NE(record.Find("TAnchor=Src"), -1);
  EXPECT_TRUE(Sent("anchor-link").empty());  // no completion needed from 7 on
}

INSTANTIATE_TEST_SUITE_P(Peer, Versions,
                         ::testing::Values(Form{"Text", false, "little"},
                                           Form{"BinaryLittle", true, "little"},
                                           Form{"BinaryBig", true, "big"}),
                         [](const ::testing::TestParamInfo<Form>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace net_test
