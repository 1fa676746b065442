// KXObject: the related-objects walk (through getReferrers and the walk
// subclasses use for parents, members and anchors), with batches, progress,
// breaks and failing stores; and hasAnnotation.
#include <gtest/gtest.h>

#include "framework/user_break.h"
#include "core/kx_object.h"
#include "core/objects/support/fake_store.h"

namespace {

// Opens the walk to tests the way subclasses use it.
class Walker : public KXObject {
 public:
  using KXObject::KXObject;
  List* walk(std::int32_t kind, List* list, bool allStores) {
    return fetchRelated(kind, list, allStores);
  }
};

class RelatedWalk : public ObjectModelTest {
 protected:
  // `n` objects of the given store with ids from `first`.
  std::vector<Ref<KXObject>> Hits(int n, const Ref<Store>& store, int first = 100,
                                  const char* lines = "") {
    std::vector<Ref<KXObject>> hits;
    for (int i = 0; i < n; ++i) hits.push_back(MakeObject(Record(first + i, lines), store));
    return hits;
  }
  Ref<Walker> MakeWalker(const Ref<Store>& store, int id = 1) {
    Ref<Walker> w(new Walker(Record(id), Ref<Store>()));
    w->setStore(store);
    return w;
  }
  std::vector<std::string> Events() const { return progress->events; }
};

TEST_F(RelatedWalk, ServerObjectAsksEveryOpenStoreInListOrder) {
  // The case of the referrer query: the first store refuses, the second
  // delivers 40 hits in batches of 16, 16 and 8.
  Ref<FakeStore> refusing(new FakeStore("korvex://first/"));
  AddStoreBack(Ref<Store>(refusing));
  AddStoreBack(Ref<Store>(server));
  Ref<KXObject> o = MakeObject(Record(1), Ref<Store>(server));
  server->setResults(kRequestReferrers, "0x00000001", Hits(40, Ref<Store>(server)));

  List* list = o->getReferrers(nullptr, 0);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->count(), 40);
  EXPECT_EQ(Identifiers(list).front(), "0x00000064");
  EXPECT_EQ(refusing->calls, (std::vector<std::string>{"openRequest 5 0x00000001 ''"}));
  EXPECT_EQ(server->calls,
            (std::vector<std::string>{"openRequest 5 0x00000001 ''", "getResults 16",
                                      "getResults 16", "getResults 16", "closeRequest"}));
  EXPECT_EQ(Events(), (std::vector<std::string>{"fraction 0.2", "poll", "fraction 0.4", "poll",
                                                "fraction 0.5", "poll", "start"}));
  EXPECT_EQ(server->openHandles(), 0);
  DeleteObjectList(list);
  refusing->clearTables();
}

TEST_F(RelatedWalk, FractionsSpanAllStores) {
  Ref<FakeStore> second(new FakeStore("kxlocal://second/"));
  AddStoreBack(Ref<Store>(server));
  AddStoreBack(Ref<Store>(second));
  Ref<Walker> w = MakeWalker(Ref<Store>(server));
  server->setResults(kRequestParents, "0x00000001", Hits(20, Ref<Store>(server)));
  // The second store finds the same object by its own identifier.
  second->setResults(kRequestParents, "0x00000001", Hits(8, Ref<Store>(second), 200));

  List* list = w->walk(kRequestParents, nullptr, true);
  EXPECT_EQ(list->count(), 28);
  EXPECT_EQ(progress->fractions, (std::vector<float>{0.4f, 0.5f, 1.0f}));
  EXPECT_EQ(progress->starts, 1);
  DeleteObjectList(list);
  second->clearTables();
}

TEST_F(RelatedWalk, OwnStoreOnlyForOtherSchemes) {
  AddStoreBack(Ref<Store>(server));
  Ref<Walker> w = MakeWalker(Ref<Store>(local));
  local->setResults(kRequestAnchors, "0x00000001", Hits(20, Ref<Store>(local)));

  List* list = w->walk(kRequestAnchors, nullptr, false);
  EXPECT_EQ(list->count(), 20);
  EXPECT_TRUE(server->calls.empty());
  EXPECT_EQ(progress->fractions, (std::vector<float>{0.8f, 1.0f}));
  EXPECT_EQ(progress->starts, 1);
  DeleteObjectList(list);
}

TEST_F(RelatedWalk, RefusedOwnStoreReportsNothing) {
  Ref<Walker> w = MakeWalker(Ref<Store>(local));
  List given;
  EXPECT_EQ(w->walk(kRequestAnchors, &given, false), &given);
  EXPECT_EQ(w->walk(kRequestAnchors, nullptr, false), nullptr);
  EXPECT_TRUE(Events().empty());
}

TEST_F(RelatedWalk, EmptyStoreListStillReportsTheEnd) {
  Ref<Walker> w = MakeWalker(Ref<Store>(server));
  EXPECT_EQ(w->walk(kRequestReferrers, nullptr, true), nullptr);
  EXPECT_EQ(Events(), (std::vector<std::string>{"start"}));
}

TEST_F(RelatedWalk, HitsAreAppendedToTheCallersList) {
  Ref<Walker> w = MakeWalker(Ref<Store>(local));
  local->setResults(kRequestAnchors, "0x00000001", Hits(2, Ref<Store>(local)));
  List* given = NewObjectList();
  AppendObject(*given, MakeObject(Record(9), Ref<Store>(local)));
  EXPECT_EQ(w->walk(kRequestAnchors, given, false), given);
  EXPECT_EQ(Identifiers(given),
            (std::vector<std::string>{"0x00000009", "0x00000064", "0x00000065"}));
  DeleteObjectList(given);
}

TEST_F(RelatedWalk, UserBreakBetweenBatchesEndsTheWalk) {
  Ref<FakeStore> second(new FakeStore("korvex://second/"));
  AddStoreBack(Ref<Store>(server));
  AddStoreBack(Ref<Store>(second));
  Ref<KXObject> o = MakeObject(Record(1), Ref<Store>(server));
  server->setResults(kRequestReferrers, "0x00000001", Hits(40, Ref<Store>(server)));
  second->setResults(kRequestReferrers, "0x00000001", Hits(4, Ref<Store>(second)));
  progress->breakOnPoll(1);

  List* list = o->getReferrers(nullptr, 0);
  EXPECT_EQ(list->count(), 16);
  EXPECT_EQ(server->callCount("getResults"), 1);
  EXPECT_EQ(server->callCount("closeRequest"), 1);  // the broken request is closed
  EXPECT_TRUE(second->calls.empty());               // and no further store asked
  EXPECT_EQ(Events(), (std::vector<std::string>{"fraction 0.2", "poll", "break", "start"}));
  DeleteObjectList(list);
  second->clearTables();
}

TEST_F(RelatedWalk, BreakThroughTheUserBreakFlag) {
  Ref<Walker> w = MakeWalker(Ref<Store>(local));
  local->setResults(kRequestMembers, "0x00000001", Hits(40, Ref<Store>(local)));
  // The user breaks while the second batch is fetched.
  local->onBatch = [this](int batch) {
    if (batch == 1) progress->RequestAbort();
  };
  List* list = w->walk(kRequestMembers, nullptr, false);
  EXPECT_EQ(list->count(), 32);
  EXPECT_EQ(local->callCount("getResults"), 2);
  EXPECT_FALSE(TestAbortFlag());  // the poll took the break
  DeleteObjectList(list);
}

TEST_F(RelatedWalk, WithoutReporterNothingIsReportedAndNothingBreaks) {
  progress.reset();
  SetAbortFlag();
  Ref<Walker> w = MakeWalker(Ref<Store>(local));
  local->setResults(kRequestMembers, "0x00000001", Hits(40, Ref<Store>(local)));
  List* list = w->walk(kRequestMembers, nullptr, false);
  EXPECT_EQ(list->count(), 40);
  EXPECT_TRUE(TestAbortFlag());  // nobody polled it
  DeleteObjectList(list);
}

// Stores that stop delivering: the walk must end and keep what it has.
struct FailureCase {
  const char* name;
  int nullFromBatch;
  int stallFromBatch;
  int expectedHits;
  int expectedBatches;
};

class RelatedWalkFailure : public RelatedWalk,
                           public ::testing::WithParamInterface<FailureCase> {};

TEST_P(RelatedWalkFailure, EndsAndKeepsTheHits) {
  const FailureCase& c = GetParam();
  Ref<FakeStore> second(new FakeStore("korvex://second/"));
  AddStoreBack(Ref<Store>(server));
  AddStoreBack(Ref<Store>(second));
  Ref<KXObject> o = MakeObject(Record(1), Ref<Store>(server));
  server->setResults(kRequestReferrers, "0x00000001", Hits(40, Ref<Store>(server)));
  second->setResults(kRequestReferrers, "0x00000001", Hits(3, Ref<Store>(second), 500));
  server->nullFromBatch = c.nullFromBatch;
  server->stallFromBatch = c.stallFromBatch;

  List* list = o->getReferrers(nullptr, 0);
  ASSERT_NE(list, nullptr);
  // What the failing store gave, then the other store's hits.
  EXPECT_EQ(list->count(), c.expectedHits + 3);
  EXPECT_EQ(server->callCount("getResults"), c.expectedBatches);
  EXPECT_EQ(server->openHandles(), 0);
  EXPECT_EQ(second->callCount("getResults"), 1);
  EXPECT_EQ(progress->starts, 1);
  DeleteObjectList(list);
  second->clearTables();
}

INSTANTIATE_TEST_SUITE_P(
    Stores, RelatedWalkFailure,
    ::testing::Values(FailureCase{"NullFirstBatch", 0, -1, 0, 1},
                      FailureCase{"NullAfterOneBatch", 1, -1, 16, 2},
                      FailureCase{"StallsAtOnce", -1, 0, 0, 1},
                      FailureCase{"StallsAfterTwoBatches", -1, 2, 32, 3}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST_F(RelatedWalk, NullBatchKeepsTheCallersList) {
  Ref<Walker> w = MakeWalker(Ref<Store>(local));
  local->setResults(kRequestMembers, "0x00000001", Hits(4, Ref<Store>(local)));
  local->nullFromBatch = 0;
  List* given = NewObjectList();
  EXPECT_EQ(w->walk(kRequestMembers, given, false), given);
  EXPECT_EQ(given->count(), 0);
  DeleteObjectList(given);
}

TEST_F(RelatedWalk, DeliveredBeyondTheAnnouncementIsClamped) {
  Ref<Walker> w = MakeWalker(Ref<Store>(local));
  local->setResults(kRequestMembers, "0x00000001", Hits(20, Ref<Store>(local)));
  local->overDeliver = 10;  // 26 counted after the first batch
  List* list = w->walk(kRequestMembers, nullptr, false);
  EXPECT_EQ(list->count(), 16);
  EXPECT_EQ(local->callCount("getResults"), 1);
  EXPECT_EQ(progress->fractions, (std::vector<float>{1.0f}));
  DeleteObjectList(list);
}

TEST_F(RelatedWalk, UnknownOrZeroAnnouncementFetchesNothing) {
  Ref<Walker> w = MakeWalker(Ref<Store>(local));
  for (std::int32_t announced : {0, -1}) {
    local->setResults(kRequestMembers, "0x00000001", Hits(3, Ref<Store>(local)), announced);
    EXPECT_EQ(w->walk(kRequestMembers, nullptr, false), nullptr);
  }
  EXPECT_EQ(local->callCount("getResults"), 0);
  EXPECT_EQ(local->callCount("closeRequest"), 2);
}

TEST_F(RelatedWalk, TheObjectSurvivesLosingItsLastOtherHandle) {
  Ref<Walker> w = MakeWalker(Ref<Store>(local));
  CacheObject("0x00000001", Ref<KXObject>(w));
  local->setResults(kRequestMembers, "0x00000001", Hits(20, Ref<Store>(local)));
  Walker* raw = w.get();
  w = nullptr;  // the cache holds the only handle now
  local->onBatch = [](int) { ClearObjectCache(); };
  List* list = raw->walk(kRequestMembers, nullptr, false);
  // Still alive through the walk (ASan would report a use after free); the
  // walk's own handle was the last.
  EXPECT_EQ(list->count(), 20);
  DeleteObjectList(list);
}

// An object that keeps the referrer list it returns, as a document does.
class CachingReferrers : public KXObject {
 public:
  using KXObject::KXObject;
  ~CachingReferrers() override { DeleteObjectList(cache_); }
  List* getReferrers(List* list, std::int32_t unused) override {
    if (!cache_) cache_ = KXObject::getReferrers(list, unused);
    ownedReferrers = cache_;
    return cache_;
  }

 private:
  List* cache_ = nullptr;
};

class Annotation : public RelatedWalk {};

TEST_F(Annotation, TrueWhenAnAnnotationLinkLeadsHere) {
  const struct {
    const char* linkType;
    bool annotated;
  } cases[] = {{"ANNOTATION", true}, {"annotation", false}, {"", false}};
  for (const auto& c : cases) {
    Ref<KXObject> o = MakeObject(Record(1), Ref<Store>(local));
    const CString line = CString("LinkType=") + c.linkType + "\n";
    auto hits = Hits(1, Ref<Store>(local), 100, "LinkType=SEE\n");
    hits.push_back(MakeObject(Record(101, line), Ref<Store>(local)));
    local->setResults(kRequestReferrers, "0x00000001", hits);
    EXPECT_EQ(o->hasAnnotation(), c.annotated) << c.linkType;
  }
}

TEST_F(Annotation, NoReferrersNoAnnotation) {
  Ref<KXObject> o = MakeObject(Record(1), Ref<Store>(local));
  EXPECT_FALSE(o->hasAnnotation());
}

TEST_F(Annotation, ListTheObjectOwnsIsNotFreed) {
  Ref<KXObject> o(new CachingReferrers(Record(1), Ref<Store>()));
  o->setStore(Ref<Store>(local));
  local->setResults(kRequestReferrers, "0x00000001",
                    Hits(1, Ref<Store>(local), 100, "LinkType=ANNOTATION\n"));
  EXPECT_TRUE(o->hasAnnotation());
  // Asked again: the cached list is still there (a freed list would be
  // read after free here, and freed twice by the destructor).
  EXPECT_TRUE(o->hasAnnotation());
  EXPECT_EQ(o->getReferrers(nullptr, 0)->count(), 1);
  EXPECT_EQ(local->callCount("openRequest"), 1);
}

}  // namespace
