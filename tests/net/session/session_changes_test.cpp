// Changes through the session: inserting documents, collections and
// anchors, deleting, membership, locks and attribute changes, checked in
// the peer's log and in the objects afterwards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../connection/peer_log.h"
#include "core/attr_record.h"
#include "support/session_fixture.h"

namespace session_test {
namespace {

using net_test::LogEvent;
using net_test::Requests;

class SessionChanges : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    StartPeer();
    session_ = OpenAs("alice:wonder");
    ASSERT_TRUE(session_->isIdentified());
  }
  void TearDown() override {
    session_ = Ref<KxSession>();
    SessionTest::TearDown();
  }

  Ref<KXObject> Object(const char* id) { return fetchObject(id, Ref<Store>(session_.get())); }
  static Ref<KXObject> Make(const char* record) { return Ref<KXObject>(createObject(record)); }
  std::vector<LogEvent> Sent(const char* name) { return Requests(peer_->log(), name); }
  // What the server holds now.
  CString Fresh(LONG id) { return session_->getRecord(ObjectId(id).Format()); }

  Ref<KxSession> session_;
};

// ---- Inserting ----------------------------------------------------------------------

TEST_F(SessionChanges, ADocumentGetsItsIdAndTheServersRecord) {
  const Ref<KXObject> home = Object("0x00000010");
  Ref<KXObject> doc = Make("ObjectID=0x00000000\nType=Document\nDocumentType=text\n"
                           "Name=fresh\nTitle=en:Fresh");
  ASSERT_TRUE(doc);
  ASSERT_TRUE(session_->insertObject(doc, home, 0));
  ASSERT_GT(doc->getObjectId(), 0);
  EXPECT_STREQ(doc->getObjectIdText().c_str(), ObjectId(doc->getObjectId()).Format().c_str());
  // Fetched again: the server added the parent and the author.
  EXPECT_STREQ(doc->getAttribute("Parent=").c_str(), "0x00000010");
  EXPECT_STREQ(doc->getAttribute("Author=").c_str(), "alice");
  EXPECT_EQ(doc->getStore().get(), session_.get());

  auto sent = Sent("insert-document");
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].get("parent"), "0x00000010");
  EXPECT_EQ(sent[0].get("record"), "Type=Document\nDocumentType=text\nName=fresh\nTitle=en:Fresh\n");

  // The same name again is refused.
  Ref<KXObject> twin = Make("Type=Document\nDocumentType=text\nName=fresh\n");
  EXPECT_FALSE(session_->insertObject(twin, home, 0));
  EXPECT_EQ(twin->getObjectId(), 0);
}

TEST_F(SessionChanges, ACollectionGetsItsIdWithoutAFetch) {
  Ref<KXObject> box = Make("Type=Document\nDocumentType=collection\nName=box\n");
  ASSERT_TRUE(session_->insertObject(box, Object("0x00000010"), 0));
  ASSERT_GT(box->getObjectId(), 0);
  // The identifier follows the id, so the object is found under it.
  EXPECT_STREQ(box->getIdentifier().c_str(), ObjectId(box->getObjectId()).Format().c_str());
  EXPECT_TRUE(box->getAttribute("Author=").IsEmpty());  // not fetched again
  EXPECT_EQ(Sent("insert-collection").size(), 1u);
  EXPECT_NE(Fresh(box->getObjectId()).Find("Name=box"), -1);
}

TEST_F(SessionChanges, UsersAndGroupsAreNotInserted) {
  const Ref<KXObject> home = Object("0x00000010");
  const size_t before = peer_->log().size();
  EXPECT_FALSE(session_->insertObject(Make("TType=User\nUName=dave\n"), home, 0));
  EXPECT_FALSE(session_->insertObject(Make("TType=Group\nUGroup=g\n"), home, 0));
  EXPECT_EQ(peer_->log().size(), before);
}

struct AnchorCase {
  const char* name;
  const char* record;
  bool inserted;
  const char* request;    // the request that carried it; "" for none
  const char* placement;  // of request 32
};

TEST_F(SessionChanges, AnchorsGoInWithTheirLinks) {
  const AnchorCase cases[] = {
      {"to an object", "Type=Anchor\nTAnchor=Src\nDest=0x00000021\nPosition=0x1 0x2\n", true,
       "insert-source-anchor", "Doc=0x00000020\nDest=0x00000021\n"},
      {"to a name, taken as a hint", "Type=Anchor\nTAnchor=Src\nDest=notes\nPosition=0x3 0x4\n",
       true, "insert-source-anchor", "Doc=0x00000020\nHint=notes\n"},
      {"by hint", "Type=Anchor\nTAnchor=Src\nHint=URL:http://h/\nPosition=0x5 0x6\n", true,
       "insert-source-anchor", "Doc=0x00000020\nHint=URL:http://h/\n"},
      {"placed by its own lines",
       "Type=Anchor\nTAnchor=Src\nGDest=0x0a000001 0x00000099\nDoc=0x00000020\nMyDoc=0x00000020\n"
       "Position=0x7 0x8\n",
       true, "insert-source-anchor", "GDest=0x0a000001 0x00000099\nDoc=0x00000020\n"},
      {"destination", "Type=Anchor\nTAnchor=Dest\nPosition=0x9 0xa\nKeyword=b\nKeyword=a\n", true,
       "insert-anchor", ""},
      {"destination without a position", "Type=Anchor\nTAnchor=Dest\n", false, "", ""},
  };
  const Ref<KXObject> intro = Object("0x00000020");
  for (const AnchorCase& c : cases) {
    const size_t source = Sent("insert-source-anchor").size();
    const size_t plain = Sent("insert-anchor").size();
    Ref<KXObject> anchor = Make(c.record);
    ASSERT_TRUE(anchor) << c.name;
    EXPECT_EQ(session_->insertObject(anchor, intro, 0), c.inserted) << c.name;
    const auto sentSource = Sent("insert-source-anchor");
    const auto sentPlain = Sent("insert-anchor");
    EXPECT_EQ(sentSource.size() - source, std::string(c.request) == "insert-source-anchor" ? 1u : 0u)
        << c.name;
    EXPECT_EQ(sentPlain.size() - plain, std::string(c.request) == "insert-anchor" ? 1u : 0u)
        << c.name;
    if (sentSource.size() > source) {
      EXPECT_EQ(sentSource.back().get("placement"), c.placement) << c.name;
      // The placement lines left the record (whole lines only).
      const std::string record = sentSource.back().get("record");
      EXPECT_EQ(record.find("\nDoc="), std::string::npos) << c.name;
      EXPECT_EQ(record.find("\nGDest="), std::string::npos) << c.name;
      if (std::string(c.placement).find("GDest") != std::string::npos)
        EXPECT_NE(record.find("\nMyDoc=0x00000020\n"), std::string::npos) << record;
    }
    if (sentPlain.size() > plain) {
      EXPECT_EQ(sentPlain.back().get("parent"), "0x00000020");
      const std::string record = sentPlain.back().get("record");
      EXPECT_NE(record.find("Keyword=a\n"), std::string::npos) << record;  // the first keyword
      EXPECT_NE(record.find("Position=0x9 0xa\n"), std::string::npos) << record;
    }
    if (c.inserted) {
      EXPECT_GT(anchor->getObjectId(), 0) << c.name;
      EXPECT_STREQ(anchor->getAttribute("Parent=").c_str(), "0x00000020") << c.name;
    }
  }
}

// ---- Deleting, membership, locks -----------------------------------------------------

TEST_F(SessionChanges, Deleting) {
  Ref<KXObject> doc = Make("Type=Document\nDocumentType=text\nName=short-lived\n");
  ASSERT_TRUE(session_->insertObject(doc, Object("0x00000010"), 0));
  EXPECT_TRUE(session_->deleteObject(doc));
  EXPECT_TRUE(Fresh(doc->getObjectId()).IsEmpty());
  EXPECT_FALSE(session_->deleteObject(Object("0x00000011")));  // a collection with members
  EXPECT_EQ(session_->connection()->error(), 12);
}

struct MembershipCase {
  const char* name;
  const char* object;
  int operation;  // 0 add to A, 1 remove from A, 2 move from A to B
  const char* a;
  const char* b;
  const char* request;  // "" when nothing is sent
  const char* leave;
  const char* from;
  const char* to;
};

TEST_F(SessionChanges, MembershipRequestsByKindOfObject) {
  const MembershipCase cases[] = {
      {"add a document", "0x00000020", 0, "0x00000010", "", "membership", "0", "0x00000000",
       "0x00000010"},
      {"remove it again", "0x00000020", 1, "0x00000010", "", "membership", "1", "0x00000010",
       "0x00000000"},
      {"move a document", "0x00000020", 2, "0x00000011", "0x00000013", "membership", "1",
       "0x00000011", "0x00000013"},
      {"add a collection", "0x00000013", 0, "0x00000010", "", "collection-membership", "0",
       "0x00000000", "0x00000010"},
      {"add an anchor", "0x00000033", 0, "0x00000010", "", "membership", "0", "0x00000000",
       "0x00000010"},
      {"a group belongs nowhere", "0x00000005", 0, "0x00000010", "", "", "", "", ""},
  };
  for (const MembershipCase& c : cases) {
    const Ref<KXObject> object = Object(c.object);
    const Ref<KXObject> a = Object(c.a);
    const Ref<KXObject> b = *c.b ? Object(c.b) : Ref<KXObject>();
    ASSERT_TRUE(object && a) << c.name;
    const size_t plain = Sent("membership").size();
    const size_t collections = Sent("collection-membership").size();
    bool ok = false;
    if (c.operation == 0) ok = session_->addToCollection(object, a);
    if (c.operation == 1) ok = session_->removeFromCollection(object, a);
    if (c.operation == 2) ok = session_->moveObject(object, a, b);
    const auto sent = Sent(*c.request ? c.request : "membership");
    const size_t before = std::string(c.request) == "collection-membership" ? collections : plain;
    if (!*c.request) {
      EXPECT_FALSE(ok) << c.name;
      EXPECT_EQ(sent.size(), plain) << c.name;
      EXPECT_EQ(Sent("collection-membership").size(), collections) << c.name;
      continue;
    }
    ASSERT_EQ(sent.size(), before + 1) << c.name;
    EXPECT_EQ(sent.back().get("leave"), c.leave) << c.name;
    EXPECT_EQ(sent.back().get("from"), c.from) << c.name;
    EXPECT_EQ(sent.back().get("to"), c.to) << c.name;
    EXPECT_EQ(sent.back().get("ids"), c.object) << c.name;
    if (c.operation != 0 || std::string(c.object) != "0x00000033") EXPECT_TRUE(ok) << c.name;
  }
  // The moved document is in bob's collection now.
  EXPECT_NE(Fresh(0x20).Find("Parent=0x00000013"), -1);
}

// An unlock has no reply, so nothing tells when the server has done it. A
// request that is answered on the same connection does: the server handles
// one connection's requests in the order they came.
void Settle(KxSession& session) {
  EXPECT_FALSE(session.getRecord("0x00000010").IsEmpty());
}

TEST_F(SessionChanges, LocksBelongToTheirConnection) {
  Ref<KxSession> bob = OpenAs("bob:builder");
  const Ref<KXObject> notes = Object("0x00000021");
  const Ref<KXObject> notesOfBob = Ref<KXObject>(createObject(notes->getRecord()));
  EXPECT_TRUE(session_->lockObject(notes));
  EXPECT_FALSE(bob->lockObject(notesOfBob));
  EXPECT_EQ(bob->connection()->error(), 19);
  EXPECT_TRUE(bob->unlockObject(notesOfBob));  // not bob's lock: true all the same
  Settle(*bob);
  EXPECT_FALSE(bob->lockObject(notesOfBob));  // alice still holds it
  EXPECT_EQ(bob->connection()->error(), 19);
  EXPECT_TRUE(session_->unlockObject(notes));
  Settle(*session_);
  EXPECT_TRUE(bob->lockObject(notesOfBob));
  EXPECT_EQ(Sent("unlock").size(), 2u);
}

// ---- Attribute changes -----------------------------------------------------------------

bool HasLine(const CString& record, const char* line) {
  const std::string text = "\n" + std::string(record.c_str()) + "\n";
  return text.find("\n" + std::string(line) + "\n") != std::string::npos;
}

TEST_F(SessionChanges, AttributeChangesAreSeenInTheObject) {
  // "UName=" stands before "Name=": a search for "Name" anywhere would
  // find it first.
  Ref<KXObject> doc = Make("Type=Document\nDocumentType=text\nUName=zz\nName=changing\n"
                           "Keyword=old\n");
  ASSERT_TRUE(session_->insertObject(doc, Object("0x00000010"), 0));

  const struct {
    const char* remove;
    const char* add;
    bool ok;
    int requests;  // modify requests sent
    const char* present;
    const char* absent;
  } steps[] = {
      {"", "Keyword=new", true, 1, "Keyword=new", ""},
      {"Keyword=new", "", true, 1, "Keyword=old", "Keyword=new"},
      {"Keyword", "Keyword=renewed", true, 2, "Keyword=renewed", "Keyword=old"},
      // A bare "Name" is the Name= line, not the end of "UName=".
      {"Name", "Name=changed", true, 2, "Name=changed", "Name=changing"},
      // A name the server refuses leaves the old name: nothing is removed.
      {"Name=changed", "Name=intro", false, 1, "Name=changed", "Name=intro"},
      // A line without "=" is not sent.
      {"", "Keyword", false, 0, "Keyword=renewed", ""},
      // A bare key the record does not hold: nothing to remove.
      {"Rights", "Rights=R:a", true, 1, "Rights=R:a", ""},
  };
  for (const auto& step : steps) {
    const size_t before = Sent("modify").size();
    EXPECT_EQ(session_->modifyAttributes(doc, step.remove, step.add), step.ok)
        << step.remove << " / " << step.add;
    EXPECT_EQ(Sent("modify").size() - before, static_cast<size_t>(step.requests))
        << step.remove << " / " << step.add;
    const CString now = doc->getRecord();
    EXPECT_TRUE(HasLine(now, step.present)) << now.c_str();
    if (*step.absent) EXPECT_FALSE(HasLine(now, step.absent)) << now.c_str();
    EXPECT_TRUE(HasLine(now, "UName=zz")) << now.c_str();
  }
}

TEST_F(SessionChanges, AnonymousChangesAreRefused) {
  Ref<KxSession> anonymous = OpenAs("");
  const Ref<KXObject> intro = fetchObject("0x00000020", Ref<Store>(anonymous.get()));
  EXPECT_FALSE(anonymous->modifyAttributes(intro, "", "Keyword=x"));
  EXPECT_EQ(anonymous->connection()->error(), 1);
  EXPECT_STREQ(anonymous->getErrorText().c_str(), "access denied");
}

}  // namespace
}  // namespace session_test
