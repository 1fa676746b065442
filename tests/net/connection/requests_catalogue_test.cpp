// Every request of the catalogue against the reference peer, in the text
// form and in the binary form with both byte orders; the peer's log shows
// what the client sent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "connection_fixture.h"
#include "data_listener.h"

namespace net_test {
namespace {

struct Form {
  const char* name;
  bool binary;
  const char* order;
};

const Form kForms[] = {{"Text", false, "little"},
                       {"BinaryLittle", true, "little"},
                       {"BinaryBig", true, "big"}};

std::vector<LONG> Ids(const IdArray& a) {
  std::vector<LONG> v;
  for (int k = 0; k < a.count(); ++k) v.push_back(a.at(k).value());
  return v;
}

IdArray Make(std::initializer_list<LONG> ids) {
  IdArray a;
  for (LONG id : ids) a.Insert(ObjectId(id));
  return a;
}

class Catalogue : public ConnectionTest, public ::testing::WithParamInterface<Form> {
 protected:
  void Open(int version = 717, std::vector<std::string> extra = {}) {
    PeerOptions options;
    options.order = GetParam().order;
    options.version = version;
    options.extra = std::move(extra);
    peer_ = StartPeer(options);
    ASSERT_TRUE(peer_->started());
    conn_ = Connect(*peer_, GetParam().binary, version);
    ASSERT_EQ(conn_->error(), 0);
  }
  std::vector<LogEvent> Sent(const std::string& name) { return Requests(peer_->log(), name); }

  std::unique_ptr<PeerProcess> peer_;
  std::unique_ptr<KxConnection> conn_;
};

TEST_P(Catalogue, ReadingRequests) {
  Open();
  KxConnection& c = *conn_;
  LONG n = 0;
  ASSERT_TRUE(c.getAnchorDestination(ObjectId(0x30), n));  // 2
  EXPECT_EQ(n, 0x21);
  EXPECT_EQ(Sent("anchor-destination").at(0).get("id"), "0x00000030");

  IdArray ids;
  ASSERT_TRUE(c.getDocumentMembers(ObjectId(0x11), ids));  // 3
  EXPECT_EQ(Ids(ids), (std::vector<LONG>{0x20, 0x21, 0x40, 0x41, 0x50}));
  ASSERT_TRUE(c.getParents(ObjectId(0x21), ids));  // 4
  EXPECT_EQ(Ids(ids), (std::vector<LONG>{0x10, 0x11}));
  ASSERT_TRUE(c.getCollectionMembers(ObjectId(0x01), ids));  // 5
  EXPECT_EQ(Ids(ids), (std::vector<LONG>{0x10, 0x11, 0x12, 0x13}));
  ASSERT_TRUE(c.getAnchorParents(ObjectId(0x30), ids));  // 6
  EXPECT_EQ(Ids(ids), (std::vector<LONG>{0x20}));

  CString record;
  ASSERT_TRUE(c.getRecord(ObjectId(0x20), record));  // 7
  EXPECT_NE(record.Find("Name=intro"), -1);
  EXPECT_FALSE(c.getRecord(ObjectId(0x999), record));
  EXPECT_EQ(c.error(), 8);

  ASSERT_TRUE(c.getAnchors(ObjectId(0x20), ids));  // 8
  EXPECT_EQ(Ids(ids), (std::vector<LONG>{0x30, 0x32, 0x33}));

  ASSERT_TRUE(c.query("Name=music", ids));  // 9
  EXPECT_EQ(Ids(ids), (std::vector<LONG>{0x11}));
  EXPECT_EQ(Sent("query").at(0).get("query"), "Name=music");
  ASSERT_TRUE(c.query("", ids));  // nothing is sent for an empty query
  EXPECT_EQ(ids.count(), 0);
  EXPECT_EQ(Sent("query").size(), 1u);

  ASSERT_TRUE(c.queryWithin(Make({0x11}), "Keyword=scores", ids));  // 10
  EXPECT_EQ(Ids(ids), (std::vector<LONG>{0x21}));
  EXPECT_EQ(Sent("query-within").at(0).get("ids"), "0x00000011");
  ASSERT_TRUE(c.queryWithin(IdArray(), "Keyword=scores", ids));
  ASSERT_TRUE(c.queryWithin(Make({0x11}), "", ids));
  EXPECT_EQ(Sent("query-within").size(), 1u);

  std::vector<IdRecord> records;  // 11
  ASSERT_TRUE(c.getRecords(0, Make({0x20, 0x21}), "", records));
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].id, ObjectId(0x20));
  EXPECT_NE(records[0].record.Find("Name=intro"), -1);
  EXPECT_NE(records[1].record.Find("Name=notes"), -1);
  auto sent = Sent("records");
  EXPECT_EQ(sent.at(0).get("flag"), "0");
  EXPECT_EQ(sent.at(0).get("ids"), "0x00000020,0x00000021");
  EXPECT_FALSE(sent.at(0).has("query"));
  ASSERT_TRUE(c.getRecords(1, Make({0x20, 0x21}), "Name=notes", records));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].id, ObjectId(0x21));
  EXPECT_EQ(Sent("records").at(1).get("query"), "Name=notes");
  ASSERT_TRUE(c.getRecords(0, IdArray(), "", records));
  EXPECT_EQ(Sent("records").size(), 2u);

  LONG link = 0;
  ASSERT_TRUE(c.getAnchorLink(ObjectId(0x30), link, n));  // 18
  EXPECT_EQ(link, 0x7f000030);
  EXPECT_EQ(n, 0x21);
  ASSERT_TRUE(c.getLinks(ObjectId(0x21), ids));  // 19
  EXPECT_EQ(Ids(ids), (std::vector<LONG>{0x30}));
  ASSERT_TRUE(c.getMembers(ObjectId(0x11), ids));  // 44
  EXPECT_EQ(Ids(ids), (std::vector<LONG>{0x20, 0x21, 0x40, 0x41, 0x50}));
  EXPECT_EQ(Sent("members").size(), 1u);

  FeatureVector hits;
  ASSERT_TRUE(c.fullTextSearch("scores", hits));  // 34
  ASSERT_GE(hits.count(), 1);
  EXPECT_EQ(hits.first()->id(), 0x21);
  ASSERT_NE(hits.first()->positions(), nullptr);
  ASSERT_TRUE(c.fullTextWithin(Make({0x11}), "music", hits));  // 35
  EXPECT_TRUE(hits.ids().Contains(ObjectId(0x20)));
  EXPECT_FALSE(c.fullTextSearch("", hits));
  EXPECT_EQ(c.error(), kx_error::kSyntax);
  EXPECT_FALSE(c.fullTextWithin(Make({0x11}), "", hits));
  EXPECT_EQ(c.error(), kx_error::kSyntax);
  EXPECT_FALSE(c.fullTextWithin(IdArray(), "music", hits));
  EXPECT_EQ(c.error(), kx_error::kNoCollections);
  EXPECT_EQ(Sent("full-text").size(), 1u);
  EXPECT_EQ(Sent("full-text-within").size(), 1u);

  EXPECT_EQ(c.findGlobalObject(0x0a000001, 0x99), 0x50);  // 43
  EXPECT_EQ(Sent("global-id").at(0).get("server"), "0x0a000001");
  EXPECT_EQ(c.resolveGlobalId("0x0a000001 0x00000099"), ObjectId(0x50));
  EXPECT_EQ(c.resolveGlobalId("no numbers here"), ObjectId());
  EXPECT_EQ(Sent("global-id").size(), 2u);
  EXPECT_EQ(c.findCollectionByName("music"), ObjectId(0x11));
  EXPECT_EQ(c.findCollectionByName("intro"), ObjectId());  // a document
  EXPECT_TRUE(c.isCollection(ObjectId(0x12)));
  EXPECT_FALSE(c.isCollection(ObjectId(0x20)));
}

TEST_P(Catalogue, ChangingRequests) {
  Open();
  KxConnection& c = *conn_;
  LONG coll = 0, doc = 0, anchor = 0, link = 0, source = 0, unused = 0;
  ASSERT_TRUE(c.insertCollection(ObjectId(0x10),
                                 "Type=Document\nDocumentType=collection\nName=fresh\n", coll));  // 17
  ASSERT_NE(coll, 0);
  EXPECT_FALSE(c.insertCollection(ObjectId(0x10),
                                  "Type=Document\nDocumentType=collection\nName=fresh\n", unused));
  EXPECT_EQ(c.error(), 17);  // the name is taken
  ASSERT_TRUE(c.insertDocument(ObjectId(coll), "Type=Document\nDocumentType=text\nName=page\n", "",
                               doc));  // 14
  EXPECT_FALSE(Sent("insert-document").at(0).has("extra"));
  LONG doc2 = 0;
  ASSERT_TRUE(c.insertDocument(ObjectId(coll), "Type=Document\nDocumentType=text\nName=page2\n",
                               "more", doc2));
  EXPECT_EQ(Sent("insert-document").at(1).get("extra"), "more");

  ASSERT_TRUE(c.insertAnchor(ObjectId(doc), "Type=Anchor\nPosition=1 2\n", anchor));  // 15
  ASSERT_TRUE(c.linkAnchor(ObjectId(anchor), ObjectId(0x21), "Type=Link\n", link));  // 16
  EXPECT_EQ(Sent("link-anchor").at(0).get("zero"), "0");
  ASSERT_TRUE(c.insertSourceAnchor("Type=Anchor\nPosition=3 4\n",
                                   "Doc=" + ObjectId(doc).Format() + "\nDest=0x00000021\n",
                                   source));  // 32
  IdArray ids;
  ASSERT_TRUE(c.getLinks(ObjectId(0x21), ids));
  EXPECT_TRUE(ids.Contains(ObjectId(anchor)));
  EXPECT_TRUE(ids.Contains(ObjectId(source)));

  ASSERT_TRUE(c.changeMembership(0, ObjectId(0), ObjectId(coll), Make({0x20})));  // 22
  ASSERT_TRUE(c.getParents(ObjectId(0x20), ids));
  EXPECT_TRUE(ids.Contains(ObjectId(coll)));
  auto moved = Sent("membership").at(0);
  EXPECT_EQ(moved.get("to"), ObjectId(coll).Format().c_str());
  EXPECT_EQ(moved.get("ids"), "0x00000020");
  EXPECT_FALSE(c.changeMembership(0, ObjectId(0), ObjectId(coll), Make({0x11})));
  EXPECT_EQ(c.error(), 25);  // a collection goes with 23
  ASSERT_TRUE(c.changeCollectionMembership(1, ObjectId(0x10), ObjectId(0x13), Make({coll})));  // 23
  ASSERT_TRUE(c.getParents(ObjectId(coll), ids));
  EXPECT_EQ(Ids(ids), (std::vector<LONG>{0x13}));

  ASSERT_TRUE(c.modifyObject(ObjectId(doc), "add Keyword=fresh"));  // 27
  CString record;
  ASSERT_TRUE(c.getRecord(ObjectId(doc), record));
  EXPECT_NE(record.Find("Keyword=fresh"), -1);
  EXPECT_FALSE(c.modifyObject(ObjectId(doc), "rem Keyword=absent"));
  EXPECT_EQ(c.error(), 21);

  ASSERT_TRUE(c.lockObject(ObjectId(doc), record));  // 29
  EXPECT_NE(record.Find("Name=page"), -1);
  c.unlockObject(ObjectId(doc));  // 30: no reply
  ASSERT_TRUE(c.deleteObject(ObjectId(doc2)));  // 37
  EXPECT_TRUE(peer_->waitForLog("unlock"));
  EXPECT_EQ(Sent("unlock").at(0).get("id"), ObjectId(doc).Format().c_str());
  EXPECT_FALSE(c.getRecord(ObjectId(doc2), record));
  EXPECT_EQ(c.error(), 8);

  // The composite anchor operations.
  LONG made = 0;
  EXPECT_FALSE(c.createAnchor(ObjectId(doc), "", "", "", "", "", "", "", "", made));
  ASSERT_TRUE(c.createAnchor(ObjectId(doc), "alice", "", "", "", "97/01/01 00:00:00", "en:a title",
                             "", "5 9", made));
  auto created = Sent("insert-anchor").back();
  EXPECT_EQ(created.get("record"),
            "Type=Anchor\nAuthor=alice\nTimeCreated=97/01/01 00:00:00\nTitle=en:a title\n"
            "Position=5 9\n");
  ASSERT_TRUE(c.linkToDestination("Type=Anchor\nPosition=7 8\n", ObjectId(doc), ObjectId(0x31), made));
  EXPECT_EQ(Sent("insert-source-anchor").back().get("placement"),
            "Doc=" + std::string(ObjectId(doc).Format()) + "\nDest=0x00000031\n");
  ASSERT_TRUE(c.linkToHint("Type=Anchor\nPosition=9 9\n", ObjectId(doc), "music scores", made));
  EXPECT_EQ(Sent("insert-source-anchor").back().get("placement"),
            "Doc=" + std::string(ObjectId(doc).Format()) + "\nHint=music scores\n");
}

TEST_P(Catalogue, ContentRequests) {
  Open();
  KxConnection& c = *conn_;
  {
    DataListener data;
    ASSERT_TRUE(c.requestReference("127.0.0.1", data.port(), ObjectId(0x21), 1));  // 36
    std::string bytes = data.receive();
    EXPECT_EQ(bytes.substr(0, 6), "KXHDR\n");
    EXPECT_NE(bytes.find("ref=1\n"), std::string::npos);
    EXPECT_NE(bytes.find("Scores are written music."), std::string::npos);
    auto sent = Sent("content").at(0);
    EXPECT_EQ(sent.get("reference"), "Refno=0x00000001");
    EXPECT_EQ(sent.get("port"), std::to_string(data.port()));
    EXPECT_EQ(sent.get("address"), "127.0.0.1");
  }
  {
    DataListener data;
    ASSERT_TRUE(c.requestReference("127.0.0.1", data.port(), ObjectId(0x20), -1));
    EXPECT_NE(data.receive().find("ref=-1\n"), std::string::npos);
    EXPECT_FALSE(Sent("content").at(1).has("reference"));
    EXPECT_FALSE(c.requestReference("127.0.0.1", data.port(), ObjectId(0x11), 1));
    EXPECT_EQ(c.error(), 4);  // a collection has no content
  }
  {
    DataListener sender;
    sender.serve("new bytes of the notes");
    ASSERT_TRUE(c.uploadContent(ObjectId(0x21), sender.port(), "127.0.0.1", "/notes"));  // 38
    EXPECT_EQ(Sent("upload").at(0).get("layout"), "id-port-address-path");
  }
  CString gopher;
  ASSERT_TRUE(c.getRecord(ObjectId(0x40), gopher));
  std::vector<CString> members;
  ASSERT_TRUE(c.getRemoteMembers(gopher, "", members));  // 40
  ASSERT_EQ(members.size(), 2u);
  EXPECT_NE(members[0].Find("Path=/0/readme.txt"), -1);
  {
    DataListener data;
    CString readme = members[0];
    ASSERT_TRUE(c.requestRemoteContent("127.0.0.1", data.port(), readme, "", 7));  // 41
    EXPECT_NE(data.receive().find("This is the readme"), std::string::npos);
    auto sent = Sent("remote-content").at(0);
    EXPECT_EQ(sent.get("flag"), "7");
    EXPECT_EQ(sent.get("text"), "");
  }
  {
    DataListener data;
    CString cgi;
    ASSERT_TRUE(c.getRecord(ObjectId(0x41), cgi));
    cgi += "\nCGI_REQUEST_METHOD=POST\n";
    ASSERT_TRUE(c.requestCgiContent("127.0.0.1", data.port(), cgi, "a=1&b=2", 1));  // 46
    std::string bytes = data.receive();
    EXPECT_NE(bytes.find("Body=a=1&b=2"), std::string::npos);
    EXPECT_EQ(Sent("cgi-content").at(0).get("text"), "a=1&b=2");
  }
}

INSTANTIATE_TEST_SUITE_P(Peer, Catalogue, ::testing::ValuesIn(kForms),
                         [](const ::testing::TestParamInfo<Form>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace net_test
