// The registers: the list of open stores, the object cache, and the lookup
// and insert path of fetchObject and objectForRecord.
#include "core/store_registry.h"

#include <gtest/gtest.h>

#include "core/objects/support/fake_store.h"

namespace {

class StoreList : public ObjectModelTest {};

TEST_F(StoreList, FrontAndBackInSearchOrder) {
  Ref<FakeStore> second(new FakeStore("korvex://second/"));
  EXPECT_TRUE(AddStoreBack(Ref<Store>(local)));
  EXPECT_TRUE(AddStoreFront(Ref<Store>(server)));
  EXPECT_TRUE(AddStoreFront(Ref<Store>(second)));  // the newest session is found first
  EXPECT_FALSE(AddStoreFront(Ref<Store>()));
  EXPECT_EQ(OpenStores().count(), 3);
  EXPECT_EQ(FindOpenStore("korvex"), Ref<Store>(second));
  EXPECT_EQ(FindOpenStore("kxlocal"), Ref<Store>(local));
  EXPECT_FALSE(FindOpenStore("http"));
  ClearOpenStores();
  EXPECT_EQ(OpenStores().count(), 0);
  EXPECT_EQ(second->RefCount(), 1);
}

// Counts the objects that die.
class Mortal : public KXObject {
 public:
  Mortal(const CString& record, int& deaths) : KXObject(record, Ref<Store>()), deaths_(deaths) {}
  ~Mortal() override { ++deaths_; }

 private:
  int& deaths_;
};

class ObjectCache : public ObjectModelTest {};

TEST_F(ObjectCache, HoldsObjectsUntilCleared) {
  int deaths = 0;
  CacheObject("0x00000001", Ref<KXObject>(new Mortal(Record(1), deaths)));
  Ref<KXObject> found;
  EXPECT_TRUE(LookupCachedObject("0x00000001", found));
  found = nullptr;
  EXPECT_EQ(deaths, 0);
  EXPECT_FALSE(CacheObject("", Ref<KXObject>(new Mortal(Record(2), deaths))));
  EXPECT_EQ(deaths, 1);  // refused, and gone with its only handle
  ClearObjectCache();
  EXPECT_EQ(deaths, 2);
  EXPECT_FALSE(LookupCachedObject("0x00000001", found));
}

TEST_F(ObjectCache, InvalidateEveryObject) {
  Ref<KXObject> a = MakeObject(Record(1), Ref<Store>(server));
  Ref<KXObject> b = MakeObject(Record(2), Ref<Store>(server));
  CacheObject("0x00000001", a);
  CacheObject("0x00000002", b);
  InvalidateCachedObjects(kRefreshAll);
  EXPECT_EQ(a->getRefreshFlags(), kRefreshAll);
  EXPECT_FALSE(a->isParsed());
  EXPECT_FALSE(b->isParsed());
}

// An object whose invalidation fetches (a document with listeners
// refreshes at once), and so adds to the cache while it is walked.
class FetchingOnInvalidate : public KXObject {
 public:
  using KXObject::KXObject;
  void invalidate(std::uint32_t flags) override {
    KXObject::invalidate(flags);
    fetchObject("0x00000100", getStore());
  }
};

TEST_F(ObjectCache, InvalidationMayFillTheCache) {
  for (int i = 1; i <= 20; ++i) {
    Ref<KXObject> o(new FetchingOnInvalidate(Record(i), Ref<Store>()));
    o->setStore(Ref<Store>(server));
    CacheObject(o->getIdentifier(), o);
  }
  server->addRecord("0x00000100", Record(0x100));
  InvalidateCachedObjects(kRefreshAttributes);
  Ref<KXObject> added;
  EXPECT_TRUE(LookupCachedObject("0x00000100", added));
  EXPECT_EQ(server->callCount("getRecord"), 1);  // cached after the first
}

class FetchObject : public ObjectModelTest {};

TEST_F(FetchObject, AsksTheStoreOnceAndRenewsTheTimeStamp) {
  server->addRecord("0x00000001", Record(1, "Title=en:A\n"));
  Ref<KXObject> first = fetchObject("0x00000001", Ref<Store>(server));
  ASSERT_TRUE(first);
  EXPECT_EQ(first->getStore(), Ref<Store>(server));
  first->setTimeStamp(0);
  Ref<KXObject> second = fetchObject("0x00000001", Ref<Store>(server));
  EXPECT_EQ(second, first);
  EXPECT_GT(first->getTimeStamp(), 0);
  EXPECT_EQ(server->callCount("getRecord"), 1);
  EXPECT_EQ(factory.created, 1);
}

TEST_F(FetchObject, CachedButUnparsedIsRefreshed) {
  server->addRecord("0x00000001", Record(1, "Title=en:A\n"));
  Ref<KXObject> o = fetchObject("0x00000001", Ref<Store>(server));
  o->invalidate(kRefreshAttributes);
  server->addRecord("0x00000001", Record(1, "Title=en:B\n"));
  EXPECT_EQ(fetchObject("0x00000001", Ref<Store>()), o);
  EXPECT_TRUE(o->isParsed());
  EXPECT_EQ(o->getTitle(), "B");
}

TEST_F(FetchObject, CachedUnderItsIdentifierWhenTheNameDiffers) {
  server->addRecord("korvex://server/home", Record(5));
  server->addRecord("0x0000005", Record(5));
  Ref<KXObject> o = fetchObject("korvex://server/home", Ref<Store>(server));
  ASSERT_TRUE(o);
  Ref<KXObject> cached;
  EXPECT_FALSE(LookupCachedObject("korvex://server/home", cached));
  EXPECT_TRUE(LookupCachedObject("0x00000005", cached));
  EXPECT_EQ(cached, o);
  // Another name for the same object: the cached one wins.
  Ref<KXObject> again = fetchObject("0x0000005", Ref<Store>(server));
  EXPECT_EQ(again, o);
  EXPECT_EQ(factory.created, 2);
}

TEST_F(FetchObject, LocalRootCollectionName) {
  local->addRecord("local-db-root", Record(9));
  Ref<KXObject> root = fetchObject("rootcollection", Ref<Store>(local));
  ASSERT_TRUE(root);
  EXPECT_EQ(local->calls, (std::vector<std::string>{"getRecord local-db-root"}));
  // A server is asked the name as it stands.
  fetchObject("rootcollection", Ref<Store>(server));
  EXPECT_EQ(server->calls, (std::vector<std::string>{"getRecord rootcollection"}));
}

TEST_F(FetchObject, WithoutStoreTheNameOpensOne) {
  server->addRecord("0x00000003", Record(3));
  EXPECT_FALSE(fetchObject("0x00000003", Ref<Store>()));  // the factory opens nothing
  factory.storeToOpen = server;
  Ref<KXObject> o = fetchObject("0x00000003", Ref<Store>());
  ASSERT_TRUE(o);
  EXPECT_EQ(o->getStore(), Ref<Store>(server));
  EXPECT_EQ(factory.opened, (std::vector<std::string>{"0x00000003", "0x00000003"}));
}

TEST_F(FetchObject, NothingFound) {
  EXPECT_FALSE(fetchObject("0x00000004", Ref<Store>(server)));
  // A record of no known kind.
  server->addRecord("0x00000004", Record(4));
  factory.make = [](const CString&) -> KXObject* { return nullptr; };
  EXPECT_FALSE(fetchObject("0x00000004", Ref<Store>(server)));
}

TEST_F(FetchObject, ObjectsWithoutIdentifierAreNotCached) {
  // Cached under an empty key, the first would be handed out for every
  // later name without an id.
  server->addRecord("a", "Type=Document\nName=a\n");
  server->addRecord("b", "Type=Document\nName=b\n");
  Ref<KXObject> a = fetchObject("a", Ref<Store>(server));
  Ref<KXObject> b = fetchObject("b", Ref<Store>(server));
  ASSERT_TRUE(a && b);
  EXPECT_NE(a, b);
  EXPECT_EQ(b->getAttribute("Name="), "b");
  EXPECT_EQ(server->callCount("getRecord"), 2);
}

TEST_F(FetchObject, WithoutFactoryNothingIsMade) {
  ObjectFactory* saved = SetObjectFactory(nullptr);
  server->addRecord("0x00000001", Record(1));
  EXPECT_FALSE(fetchObject("0x00000001", Ref<Store>(server)));
  EXPECT_EQ(createObject(Record(1)), nullptr);
  EXPECT_EQ(openStore("korvex://x/", Ref<Store>(local)), Ref<Store>(local));
  SetObjectFactory(saved);
}

class ObjectForRecord : public ObjectModelTest {};

TEST_F(ObjectForRecord, CachedByObjectId) {
  Ref<KXObject> a = objectForRecord(Record(1, "Title=en:A\n"), Ref<Store>(server));
  ASSERT_TRUE(a);
  EXPECT_EQ(a->getStore(), Ref<Store>(server));
  Ref<KXObject> b = objectForRecord(Record(1, "Title=en:B\n"), Ref<Store>(server));
  EXPECT_EQ(a, b);
  EXPECT_EQ(factory.created, 1);
  // Upper-case id text: found through the identifier.
  Ref<KXObject> c = objectForRecord("ObjectID=0x0000000A\n", Ref<Store>(server));
  Ref<KXObject> d = objectForRecord("ObjectID=0x0000000a\n", Ref<Store>(server));
  EXPECT_EQ(c, d);
}

TEST_F(ObjectForRecord, WithoutObjectIdNotCached) {
  Ref<KXObject> a = objectForRecord("Type=Document\n", Ref<Store>(server));
  Ref<KXObject> b = objectForRecord("Type=Document\n", Ref<Store>(server));
  ASSERT_TRUE(a && b);
  EXPECT_NE(a, b);
  EXPECT_EQ(a->RefCount(), 1);
}

}  // namespace
