// Collections: the type check, lazy members from the stores, refresh and
// invalidation by flags, the member count and the forwarded changes.
#include "core/collection.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/content_listener.h"
#include "core/fatal.h"
#include "core/object_id.h"
#include "core/objects/support/fake_store.h"
#include "win/user.h"

namespace {

struct FatalExit {
  int status;
};

const char* const kCollectionLines = "Type=Document\nDocumentType=collection\n";

Ref<Collection> MakeCollection(std::int32_t id, const Ref<Store>& store, List* members = nullptr,
                               const char* rest = "") {
  Ref<Collection> c(
      new Collection(Record(id, (std::string(kCollectionLines) + rest).c_str()), members));
  c->setStore(store);
  return c;
}

std::vector<Ref<KXObject>> Documents(int count, std::int32_t firstId, const Ref<Store>& store) {
  std::vector<Ref<KXObject>> out;
  for (int i = 0; i < count; ++i)
    out.push_back(MakeObject(Record(firstId + i, "Type=Document\n"), store));
  return out;
}

// A local store that counts the members of its collections.
class CountingStore : public FakeStore, public CollectionCounter {
 public:
  CountingStore() : FakeStore("kxlocal://counting/") {}
  std::int32_t collectionCount(const Ref<KXObject>& collection) override {
    ++asked;
    return collection ? 7 : -1;
  }
  int asked = 0;
};

class CollectionTest : public ObjectModelTest {};

TEST_F(CollectionTest, ConstructionChecksTheDocumentType) {
  List* initial = NewObjectList();
  AppendObject(*initial, MakeObject(Record(5, "Type=Document\n"), Ref<Store>(local)));
  Ref<Collection> c = MakeCollection(1, Ref<Store>(local), initial,
                                     "CollectionType=Sequence\n");
  EXPECT_EQ(c->getClassCode(), kClassCollection);
  EXPECT_EQ(c->getCollectionType(), "Sequence");
  EXPECT_EQ(c->memberList(), initial);
  EXPECT_FALSE(c->membersWereLoaded());
  const char* const added = "CollectionType\nDescription\nSortOrder\nLicense\n";
  const CString names = c->getAttributeNames();
  EXPECT_EQ(names.Right(static_cast<int>(std::strlen(added))), added);
  EXPECT_GE(names.Find("\nPresentationHints\n"), 0);  // the document's names first

  Ref<Collection> remote(new Collection(Record(2, "Type=Document\nDocumentType=Remote\n"),
                                        nullptr));
  EXPECT_EQ(remote->getClassCode(), kClassCollection);

  FatalExitHook previous = SetFatalExitHook([](int status) { throw FatalExit{status}; });
  for (const char* type : {"text", ""}) {
    win::ClearMessageBoxLog();
    List* doomed = NewObjectList();  // freed with the half-built collection
    AppendObject(*doomed, MakeObject(Record(5, "Type=Document\n"), Ref<Store>(local)));
    try {
      Ref<Collection> bad(new Collection(
          Record(3, (std::string("Type=Document\nDocumentType=") + type + "\n").c_str()),
          doomed));
      ADD_FAILURE() << "constructed with " << type;
    } catch (const FatalExit& e) {
      EXPECT_EQ(e.status, -1);
    }
    ASSERT_EQ(win::MessageBoxLog().size(), 1u);
    EXPECT_EQ(win::MessageBoxLog()[0].text,
              std::string("Fatal Error: Collection with DocumentType=") + type);
    EXPECT_EQ(win::MessageBoxLog()[0].caption, "Error !");
  }
  SetFatalExitHook(previous);
}

TEST_F(CollectionTest, MembersAreLoadedOnceOnFirstUse) {
  Ref<Collection> c = MakeCollection(1, Ref<Store>(local));
  local->setResults(kRequestMembers, "0x00000001", Documents(3, 10, Ref<Store>(local)));
  EXPECT_FALSE(c->isVisited());
  const List* members = c->getChildren(nullptr, 0);
  EXPECT_EQ(Identifiers(members),
            (std::vector<std::string>{"0x0000000a", "0x0000000b", "0x0000000c"}));
  EXPECT_TRUE(c->isVisited());
  EXPECT_TRUE(c->membersWereLoaded());
  EXPECT_EQ(c->getChildren(nullptr, 0), members);
  EXPECT_EQ(local->calls, (std::vector<std::string>{"openRequest 2 0x00000001 ''",
                                                    "getResults 16", "closeRequest"}));
  // clearMembers: the next use asks again.
  c->clearMembers();
  EXPECT_FALSE(c->membersWereLoaded());
  EXPECT_EQ(c->memberList(), nullptr);
  EXPECT_EQ(c->getChildren(nullptr, 0)->count(), 3);
  EXPECT_EQ(local->callCount("openRequest 2"), 2);
}

// Which stores are asked: every open store, in list order, for a server
// collection or a new one; only its own store for any other.
TEST_F(CollectionTest, MembersComeFromTheStoresInListOrder) {
  const struct {
    const char* what;
    std::int32_t id;
    bool onServer;
    bool allStores;
  } cases[] = {
      {"server collection", 1, true, true},
      {"new local collection", 0, false, true},
      {"local collection", 1, false, false},
  };
  for (const auto& c : cases) {
    ObjectModelTest::TearDown();
    ObjectModelTest::SetUp();
    server->calls.clear();
    local->calls.clear();
    ASSERT_TRUE(AddStoreFront(Ref<Store>(server)));
    ASSERT_TRUE(AddStoreBack(Ref<Store>(local)));
    Ref<Collection> coll = MakeCollection(c.id, c.onServer ? Ref<Store>(server) : Ref<Store>(local));
    const CString key = ObjectId(c.id).Format();
    server->setResults(kRequestMembers, key, Documents(20, 100, Ref<Store>(server)));
    local->setResults(kRequestMembers, key, Documents(12, 200, Ref<Store>(local)));

    const List* members = coll->getChildren(nullptr, 0);
    ASSERT_NE(members, nullptr) << c.what;
    if (c.allStores) {
      EXPECT_EQ(members->count(), 32) << c.what;
      EXPECT_EQ(Identifiers(members).front(), "0x00000064") << c.what;  // server's first
      EXPECT_EQ(Identifiers(members).back(), "0x000000d3") << c.what;
      EXPECT_EQ(server->callCount("getResults 16"), 2) << c.what;  // 16 + 4
      EXPECT_EQ(progress->fractions, (std::vector<float>{0.4f, 0.5f, 1.0f})) << c.what;
    } else {
      EXPECT_EQ(members->count(), 12) << c.what;
      EXPECT_TRUE(server->calls.empty()) << c.what;
      EXPECT_EQ(progress->fractions, std::vector<float>{1.0f}) << c.what;
    }
    EXPECT_EQ(local->callCount("openRequest 2"), 1) << c.what;
    EXPECT_EQ(progress->starts, 1) << c.what;
    coll->clearMembers();
  }
}

TEST_F(CollectionTest, ABreakKeepsWhatCameSoFar) {
  Ref<Collection> c = MakeCollection(1, Ref<Store>(server));
  ASSERT_TRUE(AddStoreFront(Ref<Store>(server)));
  ASSERT_TRUE(AddStoreBack(Ref<Store>(local)));
  server->setResults(kRequestMembers, "0x00000001", Documents(40, 100, Ref<Store>(server)));
  local->setResults(kRequestMembers, "0x00000001", Documents(3, 200, Ref<Store>(local)));
  progress->breakOnPoll(2);
  EXPECT_EQ(c->getChildren(nullptr, 0)->count(), 32);
  EXPECT_TRUE(local->calls.empty());  // the walk over the stores ends too
  EXPECT_EQ(server->openHandles(), 0);
  EXPECT_EQ(progress->events.back(), "start");
}

// A pseudo collection: no store, a ready member list.
TEST_F(CollectionTest, PseudoCollectionKeepsItsList) {
  List* initial = NewObjectList();
  AppendObject(*initial, MakeObject(Record(5, "Type=Document\n"), Ref<Store>(server)));
  Ref<Collection> c = MakeCollection(0, Ref<Store>(), initial);
  EXPECT_EQ(c->getChildren(nullptr, 0), initial);
  EXPECT_EQ(c->getMembers(nullptr, 0), nullptr);
  EXPECT_EQ(c->getParents(nullptr, 0), nullptr);
  EXPECT_EQ(c->getMemberCount(), kxcoll::kCountUnavailable);
  EXPECT_FALSE(c->removeFromStore());
  EXPECT_FALSE(c->insertInto(Ref<KXObject>(), "", nullptr, 0));
  EXPECT_TRUE(server->calls.empty());
}

TEST_F(CollectionTest, InvalidationByFlags) {
  const struct {
    std::uint32_t flags;
    bool drops;
  } cases[] = {
      {kRefreshAttributes, false}, {kRefreshAnchors, false}, {kRefreshContent, false},
      {kRefreshMembers, true},     {kRefreshNoFetch, true},  {kRefreshAll, true},
  };
  for (const auto& c : cases) {
    Ref<Collection> coll = MakeCollection(1, Ref<Store>(local));
    std::vector<Ref<KXObject>> docs = Documents(2, 10, Ref<Store>(local));
    local->setResults(kRequestMembers, "0x00000001", docs);
    ASSERT_EQ(coll->getChildren(nullptr, 0)->count(), 2);
    coll->invalidate(c.flags);
    EXPECT_FALSE(coll->isParsed());
    EXPECT_EQ(coll->getRefreshFlags(), c.flags);
    EXPECT_EQ(coll->memberList() == nullptr, c.drops) << c.flags;
    EXPECT_TRUE(coll->membersWereLoaded());
    for (const Ref<KXObject>& d : docs) {
      // Dropped members are told to fetch their record again.
      EXPECT_EQ(d->isParsed(), !c.drops) << c.flags;
      EXPECT_EQ(d->getRefreshFlags(), c.drops ? kRefreshAttributes : kRefreshAll) << c.flags;
    }
  }
}

// refresh: the record when the flags ask for it, then the members again
// when they had been asked for and the flags have 0x1 (or 0x80000000).
TEST_F(CollectionTest, RefreshReloadsMembersFor0x1) {
  Ref<Collection> c = MakeCollection(1, Ref<Store>(local));
  local->addRecord("0x00000001", Record(1, "Type=Document\nDocumentType=collection\nTitle=en:New\n"));
  local->setResults(kRequestMembers, "0x00000001", Documents(2, 10, Ref<Store>(local)));

  // Members never asked for: a refresh loads none.
  c->invalidate(kRefreshMembers | kRefreshAttributes);
  EXPECT_TRUE(c->refresh());
  EXPECT_EQ(local->callCount("openRequest"), 0);
  EXPECT_EQ(c->getTitle(), "New");
  EXPECT_EQ(c->getRefreshFlags(), kRefreshMembers | kRefreshAttributes);  // left as they were

  ASSERT_NE(c->getChildren(nullptr, 0), nullptr);
  EXPECT_EQ(local->callCount("openRequest"), 1);
  c->invalidate(kRefreshMembers | kRefreshAttributes);  // drops them
  EXPECT_TRUE(c->refresh());
  EXPECT_EQ(local->callCount("getRecord"), 2);
  EXPECT_EQ(local->callCount("openRequest"), 2);  // reloaded
  EXPECT_EQ(c->memberList()->count(), 2);

  // 0x8 alone keeps the members; the refresh fetches the record only.
  c->invalidate(kRefreshAttributes);
  EXPECT_TRUE(c->refresh());
  EXPECT_EQ(local->callCount("getRecord"), 3);
  EXPECT_EQ(local->callCount("openRequest"), 2);

  // 0x1 without 0x8: no record, but the dropped members come again.
  c->invalidate(kRefreshMembers);
  EXPECT_TRUE(c->refresh());
  EXPECT_EQ(local->callCount("getRecord"), 3);
  EXPECT_EQ(local->callCount("openRequest"), 3);
  EXPECT_TRUE(c->isParsed());

  // 0x10: unparsed, nothing asked; refresh answers true.
  c->invalidate(kRefreshNoFetch);
  EXPECT_TRUE(c->refresh());
  EXPECT_FALSE(c->isParsed());
  EXPECT_EQ(local->callCount("getRecord"), 3);

  // An empty answer: false, unparsed.
  local->clearTables();
  c->invalidate(kRefreshAttributes);
  EXPECT_FALSE(c->refresh());
  EXPECT_FALSE(c->isParsed());
  Ref<Collection> loose = MakeCollection(2, Ref<Store>());
  loose->invalidate(kRefreshAttributes);
  EXPECT_FALSE(loose->refresh());
}

// A collection with listeners among its children refreshes at once when it
// is invalidated (a document's rule); the members it drops come back on the
// next use. Without listeners nothing is asked before that.
TEST_F(CollectionTest, ListenersMakeTheInvalidationRefreshAtOnce) {
  class Listener : public ContentListener {
   public:
    int contentReady(const CString&, int) override { return 0; }
  };
  local->addRecord("0x00000001", Record(1, kCollectionLines));
  local->setResults(kRequestMembers, "0x00000001", Documents(2, 10, Ref<Store>(local)));
  for (bool listening : {true, false}) {
    local->calls.clear();
    Ref<Collection> c = MakeCollection(1, Ref<Store>(local));
    ASSERT_NE(c->getChildren(nullptr, 0), nullptr);
    if (listening) c->addChild(new Listener);
    c->invalidate(kRefreshMembers | kRefreshAttributes);
    EXPECT_EQ(local->callCount("getRecord"), listening ? 1 : 0);
    EXPECT_EQ(c->isParsed(), listening);
    EXPECT_EQ(c->memberList(), nullptr);
    EXPECT_EQ(c->getChildren(nullptr, 0)->count(), 2);
    EXPECT_EQ(local->callCount("openRequest 2"), 2);
    EXPECT_EQ(local->callCount("getRecord"), 1);
  }
}

TEST_F(CollectionTest, MemberCountFromTheLocalDatabase) {
  Ref<CountingStore> counting = new CountingStore;
  Ref<Collection> c = MakeCollection(1, Ref<Store>(counting));
  EXPECT_EQ(c->getMemberCount(), 7);
  EXPECT_EQ(c->getMemberCount(), 7);
  EXPECT_EQ(counting->asked, 1);  // kept
  c->invalidate(kRefreshAttributes);
  EXPECT_EQ(c->getMemberCount(), 7);
  EXPECT_EQ(counting->asked, 2);  // forgotten by the invalidation

  // A server collection, or a local store without a count: -2.
  EXPECT_EQ(MakeCollection(2, Ref<Store>(server))->getMemberCount(), kxcoll::kCountUnavailable);
  EXPECT_EQ(MakeCollection(3, Ref<Store>(local))->getMemberCount(), kxcoll::kCountUnavailable);
}

TEST_F(CollectionTest, ChangesGoToTheChosenStore) {
  Ref<Collection> onServer = MakeCollection(1, Ref<Store>(server));
  Ref<Collection> onLocal = MakeCollection(2, Ref<Store>(local));
  Ref<KXObject> serverParent = MakeObject(Record(3), Ref<Store>(server));
  Ref<KXObject> localParent = MakeObject(Record(4), Ref<Store>(local));
  local->addRecord("0x00000002", Record(2, kCollectionLines));

  struct Case {
    const char* what;
    std::function<bool()> run;
    FakeStore* store;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {"remove", [&] { return onServer->removeFromStore(); }, server.get(),
       {"deleteObject 0x00000001"}},
      // The own store inserts, even below a local parent.
      {"insert server", [&] { return onServer->insertInto(localParent, "f", "d", 1); },
       server.get(), {"insertObject 0x00000001 0x00000004 0"}},
      // A local collection refreshes itself after the insert.
      {"insert local", [&] { return onLocal->insertInto(serverParent, "", nullptr, 0); },
       local.get(), {"insertObject 0x00000002 0x00000003 0", "getRecord 0x00000002"}},
      {"move to local", [&] { return onServer->moveBetween(serverParent, localParent); },
       local.get(), {"moveObject 0x00000001 0x00000003 0x00000004"}},
      {"move on server", [&] { return onServer->moveBetween(serverParent, serverParent); },
       server.get(), {"moveObject 0x00000001 0x00000003 0x00000003"}},
      {"attach to local", [&] { return onServer->attachTo(localParent); }, local.get(),
       {"addToCollection 0x00000001 0x00000004"}},
      {"attach to server", [&] { return onLocal->attachTo(serverParent); }, local.get(),
       {"addToCollection 0x00000002 0x00000003"}},
      {"detach", [&] { return onServer->detachFrom(localParent); }, server.get(),
       {"removeFromCollection 0x00000001 0x00000004"}},
  };
  for (const Case& c : cases) {
    server->calls.clear();
    local->calls.clear();
    EXPECT_TRUE(c.run()) << c.what;
    EXPECT_EQ(c.store->calls, c.calls) << c.what;
    FakeStore* other = c.store == server.get() ? local.get() : server.get();
    EXPECT_TRUE(other->calls.empty()) << c.what;
  }
  // A refused insert does not refresh.
  local->calls.clear();
  local->setAnswer("insertObject", false);
  EXPECT_FALSE(onLocal->insertInto(serverParent, "", nullptr, 0));
  EXPECT_EQ(local->calls.size(), 1u);
}

TEST_F(CollectionTest, ParentsAreRequestKind3) {
  Ref<Collection> c = MakeCollection(1, Ref<Store>(local));
  local->setResults(kRequestParents, "0x00000001", Documents(1, 9, Ref<Store>(local)));
  List* parents = c->getParents(nullptr, 0);
  EXPECT_EQ(Identifiers(parents), std::vector<std::string>{"0x00000009"});
  EXPECT_EQ(local->calls.front(), "openRequest 3 0x00000001 ''");
  DeleteObjectList(parents);
}

}  // namespace
