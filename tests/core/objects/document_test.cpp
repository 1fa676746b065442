// Documents: attributes, the identifier of remote documents, anchors and
// the queries built on them, refresh and invalidation, and the operations
// forwarded to a store.
#include "core/document.h"
#include "core/document_kinds.h"

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/objects/document_test_fixture.h"
#include "core/store_registry.h"

namespace {

using doctest::Make;
using doctest::RecordingListener;

const std::string kDoc = "Type=Document\n";

class DocumentTest : public doctest::DocumentFixture {
 protected:
  // A server document asks every open store.
  void SetUp() override {
    DocumentFixture::SetUp();
    AddStoreFront(Ref<Store>(server));
  }
  // An anchor of the server store, made as the session makes hits.
  Ref<KXObject> anchor(std::int32_t id, const std::string& lines) {
    return MakeObject(Record(id, ("Type=Anchor\n" + lines).c_str()), Ref<Store>(server));
  }
};

TEST_F(DocumentTest, AttributesAreReadFromTheRecord) {
  Ref<Document> d = Make(1, kDoc + "DocumentType=Image\nSubType=gif\nInlineID=7\n"
                                   "MimeType=image/gif\nBody=one\nName=n1\nBody=two\n"
                                   "Name=n2\nBody=three\nPath=/p\nPresentationHints=Hidden\n",
                         Ref<Store>(server));
  EXPECT_EQ(d->getClassCode(), kClassDocument);
  EXPECT_EQ(d->getDocumentType(), "Image");
  EXPECT_EQ(d->getSubType(), "gif");
  EXPECT_EQ(d->getInlineId(), "7");
  EXPECT_EQ(d->getMimeType(), "image/gif");
  EXPECT_EQ(d->getPath(), "/p");
  EXPECT_EQ(d->getPresentationHints(), "Hidden");
  ASSERT_EQ(d->getBodies().count(), 3);
  EXPECT_EQ(d->getBodies().at(0), "one");
  EXPECT_EQ(d->getBodies().at(1), "two");
  EXPECT_EQ(d->getBodies().at(2), "three");
  ASSERT_EQ(d->getNames().count(), 2);
  EXPECT_EQ(d->getNames().at(1), "n2");
  EXPECT_EQ(d->getRemoteDocType(), "");  // read only for remote documents
  EXPECT_EQ(d->getIdentifier(), "0x00000001");

  const CString names = d->getAttributeNames();
  const std::string added = "\nLayout\nName\nPresentationHints\nMimeType\nBody\nVhtml\n";
  EXPECT_EQ(names.Right(static_cast<int>(added.size())), added.c_str());
  EXPECT_LT(names.Find("Protocol"), 0);
}

TEST_F(DocumentTest, WrongTypeEndsTheProgram) {
  EXPECT_EQ(doctest::FatalBoxText([] { Ref<Document> d(new Document(Record(1, "Type=Anchor\n"))); }),
            "Fatal Error: Document with Type=Anchor");
}

TEST_F(DocumentTest, RemoteDocumentsAreKnownByTheirAddress) {
  const std::string remote = kDoc +
                             "DocumentType=Remote\nProtocol=ftp\nHost=h\nPort=21\nPath=/a b\n"
                             "RemoteDocType=text\n";
  Ref<Document> unnumbered = Make(0, remote, Ref<Store>(server));
  EXPECT_EQ(unnumbered->getObjectIdText(), "ftp://h:21/a%20b");
  EXPECT_EQ(unnumbered->getIdentifier(), "ftp://h:21/a%20b");
  EXPECT_EQ(unnumbered->getRemoteDocType(), "text");
  EXPECT_GE(unnumbered->getAttributeNames().Find("Protocol\nHost\nPort\nPath\n"), 0);

  // Without a store the address is still the name.
  Ref<Document> storeless = Make(0, remote, Ref<Store>());
  EXPECT_EQ(storeless->getIdentifier(), "ftp://h:21/a%20b");

  // A numbered remote document keeps its id.
  Ref<Document> numbered = Make(9, remote, Ref<Store>(server));
  EXPECT_EQ(numbered->getIdentifier(), "0x00000009");
}

TEST_F(DocumentTest, AnchorsAreSortedIntoLinkSourceAndDestinationAnchors) {
  Ref<Document> d = Make<TextDocument>(1, kDoc + "DocumentType=text\n", Ref<Store>(server));
  Ref<KXObject> link = anchor(11, "TAnchor=Src\nDest=0x00000020\nPosition=30\n");
  Ref<KXObject> urlHint = anchor(12, "TAnchor=Src\nHint=url:http://x/\nPosition=10\n");
  Ref<KXObject> plain = anchor(13, "TAnchor=Src\nHint=note\nPosition=5\n");
  Ref<KXObject> target = anchor(0x20, "TAnchor=Dest\nPosition=20\n");
  server->setResults(kRequestAnchors, "0x00000001", {link, urlHint, plain, target});

  EXPECT_EQ(Identifiers(d->getLinkAnchors()),
            (std::vector<std::string>{"0x0000000b", "0x0000000c"}));
  EXPECT_EQ(Identifiers(d->getSourceAnchors()), std::vector<std::string>{"0x0000000d"});
  EXPECT_EQ(Identifiers(d->getDestAnchors()), std::vector<std::string>{"0x00000020"});
  EXPECT_TRUE(d->anchorsAreValid());

  // The link anchors in the order of their places; the destination anchor
  // lends its place to the link that leads to it.
  std::vector<std::string> places;
  for (const AnchorPosition& p : d->getAnchorPositions()) {
    const auto* at = dynamic_cast<const TextSpanKey*>(p.GetPosition());
    const auto* to = dynamic_cast<const TextSpanKey*>(p.GetDestPosition());
    places.push_back(p.anchorId.str() + "@" + std::to_string(at ? at->start : -1) + ">" +
                     p.dest.str() + (to ? "@" + std::to_string(to->start) : ""));
  }
  EXPECT_EQ(places, (std::vector<std::string>{"0x0000000c@10>http://x/",
                                              "0x0000000b@30>0x00000020@20"}));

  const int asked = server->callCount("openRequest");
  d->loadAnchors();
  EXPECT_EQ(server->callCount("openRequest"), asked);

  // Reloading asks again and does not double the lists.
  d->reloadAnchors();
  EXPECT_EQ(server->callCount("openRequest"), asked + 1);
  EXPECT_EQ(d->getLinkAnchors()->count(), 2);
  EXPECT_EQ(d->getAnchorPositions().size(), 2u);
}

TEST_F(DocumentTest, AnEmptyAnswerMarksTheAnchorsValid) {
  Ref<Document> d = Make(1, kDoc, Ref<Store>(server));
  server->setResults(kRequestAnchors, "0x00000001", {});
  d->loadAnchors();
  EXPECT_TRUE(d->anchorsAreValid());
  EXPECT_TRUE(d->getLinkAnchors()->isEmpty());
  EXPECT_EQ(server->callCount("openRequest"), 1);
  d->loadAnchors();
  EXPECT_EQ(server->callCount("openRequest"), 1);

  // Without a store nothing is asked and nothing is marked.
  Ref<Document> storeless = Make(2, kDoc, Ref<Store>());
  storeless->loadAnchors();
  EXPECT_FALSE(storeless->anchorsAreValid());
}

TEST_F(DocumentTest, LinkDestinationsAreFetchedThroughTheStore) {
  Ref<Document> d = Make(1, kDoc, Ref<Store>(server));
  server->setResults(kRequestAnchors, "0x00000001",
                     {anchor(11, "TAnchor=Src\nDest=0x00000020\n"),
                      anchor(12, "TAnchor=Src\nHint=URL:korvex://x/\n"),
                      anchor(13, "TAnchor=Src\nDest=0x00000099\n")});  // unknown to the store
  server->addRecord("0x00000020", Record(0x20, "Type=Document\n"));
  server->addRecord("URL:korvex://x/", Record(0x21, "Type=Document\n"));

  List* found = d->getLinkDestinations(nullptr, 0);
  EXPECT_EQ(Identifiers(found), (std::vector<std::string>{"0x00000020", "0x00000021"}));
  DeleteObjectList(found);
}

TEST_F(DocumentTest, ReferrersAreAskedOnceAndKept) {
  Ref<Document> d = Make(1, kDoc, Ref<Store>(local));
  Ref<KXObject> target = MakeObject(Record(14, "Type=Anchor\nTAnchor=Dest\n"), Ref<Store>(local));
  local->setResults(kRequestAnchors, "0x00000001", {target});
  Ref<KXObject> toDoc =
      MakeObject(Record(31, "Type=Anchor\nTAnchor=Src\nLinkType=ANNOTATION\n"), Ref<Store>(local));
  Ref<KXObject> toPlace = MakeObject(Record(32, "Type=Anchor\nTAnchor=Src\n"), Ref<Store>(local));
  local->setResults(kRequestReferrers, "0x00000001", {toDoc});
  local->setResults(kRequestReferrers, "0x0000000e", {toPlace});

  const List* referrers = d->getReferrers(nullptr, 0);
  EXPECT_EQ(Identifiers(referrers), (std::vector<std::string>{"0x0000001f", "0x00000020"}));
  const int asked = local->callCount("openRequest");
  EXPECT_EQ(d->getReferrers(nullptr, 0), referrers);
  EXPECT_EQ(local->callCount("openRequest"), asked);

  // The kept list survives the annotation test, which frees lists it made.
  EXPECT_TRUE(d->hasAnnotation());
  EXPECT_EQ(d->cachedReferrers(), referrers);
  EXPECT_EQ(Identifiers(d->cachedReferrers()).size(), 2u);
}

TEST_F(DocumentTest, InvalidationDropsOrInvalidatesTheAnchors) {
  Ref<Document> d = Make<TextDocument>(1, kDoc + "DocumentType=text\n", Ref<Store>(local));
  Ref<KXObject> link = MakeObject(Record(11, "Type=Anchor\nTAnchor=Src\nDest=0x2\n"),
                                  Ref<Store>(local));
  local->addRecord("0x0000000b", link->recordText());
  link->refresh();  // parsed
  local->setResults(kRequestAnchors, "0x00000001", {link});
  d->loadAnchors();
  ASSERT_TRUE(link->isParsed());

  d->invalidate(kRefreshNoFetch);  // anchors invalidated, kept
  EXPECT_FALSE(link->isParsed());
  EXPECT_EQ(link->getRefreshFlags(), kRefreshAnchors);
  EXPECT_TRUE(d->anchorsAreValid());
  EXPECT_EQ(d->getAnchorPositions().size(), 1u);

  d->invalidate(kRefreshAnchors);  // anchors dropped
  EXPECT_FALSE(d->anchorsAreValid());
  EXPECT_EQ(d->getAnchorPositions().size(), 0u);
  EXPECT_EQ(d->cachedReferrers(), nullptr);
}

TEST_F(DocumentTest, RefreshFetchesTheRecordAndLeavesTheFlags) {
  Ref<Document> d = Make(1, kDoc + "MimeType=old\n", Ref<Store>(server));
  server->addRecord("0x00000001", Record(1, (kDoc + "MimeType=new\n").c_str()));
  d->invalidate(kRefreshAttributes);
  EXPECT_TRUE(d->refresh());
  EXPECT_EQ(d->getMimeType(), "new");
  EXPECT_TRUE(d->isParsed());
  EXPECT_EQ(d->getRefreshFlags(), kRefreshAttributes);

  // A record the store no longer has leaves the document unparsed.
  server->clearTables();
  EXPECT_FALSE(d->refresh());
  EXPECT_FALSE(d->isParsed());

  d->invalidate(kRefreshNoFetch);
  const int asked = server->callCount("getRecord");
  EXPECT_TRUE(d->refresh());
  EXPECT_FALSE(d->isParsed());
  EXPECT_EQ(server->callCount("getRecord"), asked);

  Ref<Document> storeless = Make(2, kDoc, Ref<Store>());
  storeless->invalidate(kRefreshAttributes);
  EXPECT_FALSE(storeless->refresh());
}

TEST_F(DocumentTest, RefreshReloadsContentThatListenersWaitFor) {
  useSettings("[text]\nplain=show $arg0\n");
  Ref<Document> d =
      Make(1, kDoc + "DocumentType=text\nMimeType=text/plain\n", Ref<Store>(server));
  server->addRecord("0x00000001", Record(1, (kDoc + "DocumentType=text\nMimeType=text/plain\n").c_str()));
  server->setContent("0x00000001", "first");
  ASSERT_TRUE(d->loadContent(1, "", "", ""));
  const CString first = d->getContentFile();
  ASSERT_TRUE(d->isContentTemporary());

  std::vector<std::string>& log = listenerLog;
  log.clear();
  d->addChild(new RecordingListener(&log, "view"));
  server->setContent("0x00000001", "second");
  // The invalidation finds a listener and refreshes at once: the content is
  // fetched again into a new file.
  d->invalidate(kRefreshContent);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].rfind("view 0 '", 0), 0u) << log[0];
  EXPECT_NE(d->getContentFile(), first);
  EXPECT_EQ(testing_support::TempDir::read(d->getContentFile().str()), "second");
}

// Which store each forwarded change goes to.
TEST_F(DocumentTest, ChangesGoToTheRightStore) {
  Ref<Document> d = Make(1, kDoc, Ref<Store>(server));
  Ref<KXObject> localColl = MakeObject(Record(2, "Type=Document\n"), Ref<Store>(local));
  Ref<KXObject> localColl2 = MakeObject(Record(3, "Type=Document\n"), Ref<Store>(local));
  Ref<KXObject> serverColl = MakeObject(Record(4, "Type=Document\n"), Ref<Store>(server));
  Ref<KXObject> serverColl2 = MakeObject(Record(5, "Type=Document\n"), Ref<Store>(server));

  struct Case {
    const char* name;
    std::function<bool()> run;
    bool result;
    const char* serverCall;  // null: none
    const char* localCall;
  };
  const Case cases[] = {
      {"move across stores", [&] { return d->moveBetween(localColl, serverColl); }, false, nullptr,
       nullptr},
      {"move within the local store", [&] { return d->moveBetween(localColl, localColl2); }, true,
       nullptr, "moveObject 0x00000001 0x00000002 0x00000003"},
      {"move within the server", [&] { return d->moveBetween(serverColl, serverColl2); }, true,
       "moveObject 0x00000001 0x00000004 0x00000005", nullptr},
      {"attach to a local parent", [&] { return d->attachTo(localColl); }, true, nullptr,
       "addToCollection 0x00000001 0x00000002"},
      {"attach to a server parent", [&] { return d->attachTo(serverColl); }, true,
       "addToCollection 0x00000001 0x00000004", nullptr},
      {"detach", [&] { return d->detachFrom(localColl); }, true,
       "removeFromCollection 0x00000001 0x00000002", nullptr},
      {"remove", [&] { return d->removeFromStore(); }, true, "deleteObject 0x00000001", nullptr},
  };
  for (const Case& c : cases) {
    server->calls.clear();
    local->calls.clear();
    EXPECT_EQ(c.run(), c.result) << c.name;
    EXPECT_EQ(server->calls, c.serverCall ? std::vector<std::string>{c.serverCall}
                                          : std::vector<std::string>{})
        << c.name;
    EXPECT_EQ(local->calls, c.localCall ? std::vector<std::string>{c.localCall}
                                        : std::vector<std::string>{})
        << c.name;
  }

  Ref<Document> storeless = Make(6, kDoc, Ref<Store>());
  EXPECT_FALSE(storeless->removeFromStore());
  EXPECT_FALSE(storeless->detachFrom(localColl));
  EXPECT_FALSE(storeless->attachTo(serverColl));
  EXPECT_FALSE(storeless->moveBetween(serverColl, serverColl2));
  EXPECT_TRUE(storeless->attachTo(localColl));  // the local parent's store takes it
}

TEST_F(DocumentTest, ParentsComeFromEveryOpenStoreForAServerDocument) {
  Ref<Document> d = Make(1, kDoc, Ref<Store>(server));
  AddStoreBack(Ref<Store>(local));
  server->setResults(kRequestParents, "0x00000001",
                     {MakeObject(Record(2, "Type=Document\n"), Ref<Store>(server))});
  local->setResults(kRequestParents, "0x00000001",
                    {MakeObject(Record(3, "Type=Document\n"), Ref<Store>(local))});
  List* parents = d->getParents(nullptr, 0);
  EXPECT_EQ(Identifiers(parents), (std::vector<std::string>{"0x00000002", "0x00000003"}));
  DeleteObjectList(parents);
}

}  // namespace
