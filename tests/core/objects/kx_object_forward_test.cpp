// KXObject: refresh by flags, lazy loading, and the operations that forward
// to the store (or answer without one).
#include <gtest/gtest.h>

#include "core/kx_object.h"
#include "core/objects/support/fake_store.h"

namespace {

class KXObjectRefresh : public ObjectModelTest {};

TEST_F(KXObjectRefresh, ByFlags) {
  const struct {
    std::uint32_t flags;
    bool haveRecord;
    bool result;
    bool parsed;
    int fetches;
    std::uint32_t flagsAfter;
  } cases[] = {
      {0, true, true, true, 0, 0},                           // nothing asked
      {kRefreshNoFetch, true, true, false, 0, kRefreshNoFetch},  // stays unparsed
      {kRefreshMembers | kRefreshContent, true, true, true, 0, 0x3},
      {kRefreshAttributes, true, true, true, 1, 0},
      {kRefreshAll, true, true, true, 1, 0},
      {kRefreshAttributes, false, false, false, 1, kRefreshAttributes},  // empty answer
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    Ref<FakeStore> store(new FakeStore("korvex://s/"));
    Ref<KXObject> o = MakeObject(Record(1, "Title=en:old\n"), Ref<Store>(store));
    if (c.haveRecord) store->addRecord("0x00000001", Record(1, "Title=en:new\n"));
    o->invalidate(c.flags);
    EXPECT_EQ(o->refresh(), c.result);
    EXPECT_EQ(o->isParsed(), c.parsed);
    EXPECT_EQ(store->callCount("getRecord 0x00000001"), c.fetches);
    EXPECT_EQ(o->getRefreshFlags(), c.flagsAfter);
    store->clearTables();
  }
}

TEST_F(KXObjectRefresh, FetchedRecordReplacesTheFields) {
  Ref<KXObject> o = MakeObject(Record(1, "Keyword=a\n"), Ref<Store>(server));
  server->addRecord("0x00000001", Record(1, "Keyword=b\nScore=3\n"));
  o->invalidate(kRefreshAttributes);
  EXPECT_TRUE(o->refresh());
  EXPECT_EQ(o->getKeywords().at(0), "b");
  EXPECT_EQ(o->getScoreText(), "0003");
  EXPECT_EQ(o->recordText(), Record(1, "Keyword=b\nScore=3\n"));
}

TEST_F(KXObjectRefresh, WithoutStoreFails) {
  Ref<KXObject> o(new KXObject(Record(1), Ref<Store>()));
  o->invalidate(kRefreshAttributes);
  EXPECT_FALSE(o->refresh());
  EXPECT_FALSE(o->isParsed());
  EXPECT_EQ(o->getIdentifier(), "");
}

TEST_F(KXObjectRefresh, AccessorsLoadLazilyAndRetryAfterAnEmptyAnswer) {
  Ref<KXObject> o = MakeObject(Record(1, "Title=en:A\n"), Ref<Store>(server));
  o->invalidate(kRefreshAttributes);
  // No record yet: the accessor keeps the old text and the object unparsed.
  EXPECT_EQ(o->getRecord(), Record(1, "Title=en:A\n"));
  EXPECT_FALSE(o->isParsed());
  EXPECT_EQ(server->callCount("getRecord"), 1);
  // The next accessor tries again.
  server->addRecord("0x00000001", Record(1, "Title=en:B\n"));
  EXPECT_EQ(o->getTitle(), "B");
  EXPECT_EQ(server->callCount("getRecord"), 2);
  // Parsed now: no further fetch.
  EXPECT_EQ(o->getRecord(), Record(1, "Title=en:B\n"));
  EXPECT_EQ(server->callCount("getRecord"), 2);
}

class KXObjectForward : public ObjectModelTest {};

TEST_F(KXObjectForward, StoreOperationsGetAHandleToTheObject) {
  Ref<KXObject> o = MakeObject(Record(7), Ref<Store>(server));
  EXPECT_TRUE(o->lock());
  EXPECT_TRUE(o->unlock());
  EXPECT_TRUE(o->changeAttributes("Title=a", "Title=b", true));
  server->setAnswer("lockObject", false);
  EXPECT_FALSE(o->lock());
  EXPECT_EQ(server->calls, (std::vector<std::string>{
                               "lockObject 0x00000007", "unlockObject 0x00000007",
                               "modifyAttributes 0x00000007 'Title=a' 'Title=b'",
                               "lockObject 0x00000007"}));
  // Forwarded changes leave the local record alone.
  EXPECT_EQ(o->recordText(), Record(7));
  // The temporary handles were given back.
  EXPECT_EQ(o->RefCount(), 1);
}

TEST_F(KXObjectForward, WithoutStore) {
  Ref<KXObject> o(new KXObject(Record(7), Ref<Store>()));
  EXPECT_FALSE(o->lock());
  EXPECT_FALSE(o->unlock());
  EXPECT_FALSE(o->changeAttributes("", "Title=b", true));
  EXPECT_EQ(o->getUserName(), "anonymous");
  EXPECT_TRUE(o->isAnonymous());
  EXPECT_EQ(o->getReferrers(nullptr, 0), nullptr);
  EXPECT_FALSE(o->hasAnnotation());
}

TEST_F(KXObjectForward, UserNameComesFromTheStore) {
  Ref<KXObject> o = MakeObject(Record(7), Ref<Store>(server));
  server->setUser("ann");
  EXPECT_EQ(o->getUserName(), "ann");
  EXPECT_FALSE(o->isAnonymous());
  server->setUser("anonymous");
  EXPECT_TRUE(o->isAnonymous());
}

TEST_F(KXObjectForward, BaseAnswersForSubclassOperations) {
  Ref<KXObject> o = MakeObject(Record(7), Ref<Store>(server));
  Ref<KXObject> p = MakeObject(Record(8), Ref<Store>(server));
  List given;
  EXPECT_FALSE(o->loadContent(1, "f", "internal", ""));
  EXPECT_FALSE(o->storeContentFromMemory("abc", 3));
  EXPECT_FALSE(o->reservedContentOperation("a", "b", 1));
  EXPECT_EQ(o->getParents(&given, 0), nullptr);
  EXPECT_EQ(o->getMembers(&given, 0), nullptr);
  EXPECT_EQ(o->getLinkDestinations(&given, 0), nullptr);
  EXPECT_FALSE(o->removeFromStore());
  EXPECT_FALSE(o->insertInto(p, "", "x", 1));
  EXPECT_FALSE(o->moveBetween(p, p));
  EXPECT_FALSE(o->attachTo(p));
  EXPECT_FALSE(o->detachFrom(p));
  EXPECT_EQ(o->getMemberCount(), 0);
  EXPECT_TRUE(server->calls.empty());
}

TEST_F(KXObjectForward, StateFlags) {
  Ref<KXObject> o = MakeObject(Record(0), Ref<Store>(server));
  EXPECT_TRUE(o->isNew());
  o->setVisited();
  EXPECT_TRUE(o->isVisited());
  o->setRequestText("GET /x");
  EXPECT_EQ(o->getRequestText(), "GET /x");
  o->invalidate(kRefreshContent);
  EXPECT_FALSE(o->isParsed());
  EXPECT_EQ(o->getRefreshFlags(), kRefreshContent);
}

TEST_F(KXObjectForward, ChooseStorePrefersLocalThenServer) {
  Ref<KXObject> o = MakeObject(Record(7), Ref<Store>(server));
  Ref<Store> s(server), l(local), other(new FakeStore("http://w/")), none;
  const struct {
    Ref<Store> a, b, expected;
  } cases[] = {
      {l, s, l},         {s, l, l},         {s, other, s},   {other, s, s},
      {other, none, other}, {none, other, none}, {none, s, s}, {none, none, none},
  };
  for (const auto& c : cases) EXPECT_EQ(o->chooseStore(c.a, c.b), c.expected);
}

// An object with an owner name, as a subclass would set it.
class OwnedObject : public KXObject {
 public:
  OwnedObject(const CString& record, const CString& owner) : KXObject(record, Ref<Store>()) {
    ownerName = owner;
  }
};

TEST_F(KXObjectForward, OwnerObjectIsFetchedByName) {
  Ref<KXObject> plain = MakeObject(Record(1), Ref<Store>(server));
  EXPECT_FALSE(plain->getOwnerObject());

  Ref<KXObject> owner = MakeObject(Record(2), Ref<Store>(server));
  CacheObject("0x00000002", owner);
  Ref<KXObject> owned(new OwnedObject(Record(1), "0x00000002"));
  EXPECT_EQ(owned->getOwnerObject(), owner);

  // Not cached: the name goes to the store that the factory opens.
  factory.storeToOpen = server;
  server->addRecord("0x00000003", Record(3));
  Ref<KXObject> owned3(new OwnedObject(Record(1), "0x00000003"));
  Ref<KXObject> fetched = owned3->getOwnerObject();
  ASSERT_TRUE(fetched);
  EXPECT_EQ(fetched->getObjectId(), 3);
  EXPECT_EQ(factory.opened, (std::vector<std::string>{"0x00000003"}));
}

}  // namespace
