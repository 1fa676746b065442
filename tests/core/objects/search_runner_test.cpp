// The searches as the search command runs them: which stores are asked with
// which query, how hits are fetched, where the full-text search stops, and
// that a stalled or broken store or a user's abort ends the search cleanly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/languages.h"
#include "core/list.h"
#include "core/objects/support/fake_store.h"
#include "core/search_query.h"
#include "core/search_runner.h"

namespace {

class SearchRunnerTest : public ObjectModelTest {
 protected:
  void SetUp() override {
    ObjectModelTest::SetUp();
    savedOrder_ = Languages::instance()->orderString();
    ASSERT_TRUE(Languages::instance()->setOrder("enge"));
  }
  void TearDown() override {
    Languages::instance()->setOrder(savedOrder_);
    ObjectModelTest::TearDown();
  }

  // `count` objects of `store` with ids from `first` on.
  std::vector<Ref<KXObject>> Hits(const Ref<FakeStore>& store, int first, int count) {
    std::vector<Ref<KXObject>> hits;
    for (int i = 0; i < count; ++i) hits.push_back(MakeObject(Record(first + i), store));
    return hits;
  }

  // The sizes asked by each getResults call of `store`, in order.
  static std::vector<int> Fetches(const FakeStore& store) {
    std::vector<int> sizes;
    for (const std::string& call : store.calls)
      if (call.rfind("getResults ", 0) == 0) sizes.push_back(std::stoi(call.substr(11)));
    return sizes;
  }

  CString savedOrder_;
};

TEST_F(SearchRunnerTest, UnscopedAttributeSearchAsksEveryOpenStoreInOrder) {
  const CString query = buildQuery("music", "", *Languages::instance());
  server->setResults(kRequestKeyQuery, query, Hits(server, 1, 20));
  local->setResults(kRequestKeyQuery, query, Hits(local, 100, 3));
  AddStoreFront(server);
  AddStoreBack(local);

  List* hits = runSearch("music", true, nullptr);
  ASSERT_NE(hits, nullptr);
  EXPECT_EQ(hits->count(), 23);
  EXPECT_EQ(Identifiers(hits).front(), "0x00000001");
  EXPECT_EQ(Identifiers(hits).back(), "0x00000066");
  EXPECT_EQ(Fetches(*server), (std::vector<int>{16, 16}));
  EXPECT_EQ(server->calls.front(), "openRequest 6 null '" + query.str() + "'");
  EXPECT_EQ(server->openHandles() + local->openHandles(), 0);
  DeleteObjectList(hits);
}

TEST_F(SearchRunnerTest, NothingToSearchSendsNoRequest) {
  AddStoreFront(server);
  EXPECT_EQ(runSearch("  ", true, nullptr), nullptr);
  EXPECT_EQ(searchAllLanguages("", true, nullptr), nullptr);
  EXPECT_TRUE(server->calls.empty());
}

TEST_F(SearchRunnerTest, ScopedAttributeSearchGoesToEachMarkedGroupsStore) {
  Ref<KXObject> a = MakeObject(Record(1), server);
  Ref<KXObject> b = MakeObject(Record(2), local);
  a->setMarked(true);
  b->setMarked(true);
  const CString query = buildQuery("x", "", *Languages::instance());
  server->setResults(kRequestKeyQuery, query, Hits(server, 10, 12));
  local->setResults(kRequestKeyQuery, query, Hits(local, 50, 1));

  List* hits = runSearch("x", false, nullptr);
  ASSERT_NE(hits, nullptr);
  EXPECT_EQ(hits->count(), 13);
  EXPECT_EQ(server->calls.front(), "openRequest 6 null '" + query.str() + "' with list");
  EXPECT_EQ(local->calls.front(), "openRequest 6 null '" + query.str() + "' with list");
  EXPECT_EQ(Fetches(*server), (std::vector<int>{10, 10}));
  EXPECT_EQ(progress->starts, 1);
  DeleteObjectList(hits);
  ClearMarkedObjects();
}

// 35 hits in the first language (the fourth fetch asks for 10 and gets the
// last 5), then a result of 20: one fetch of 5 more, and nothing after the
// limit of 40 (the other store is opened but not fetched from).
TEST_F(SearchRunnerTest, FullTextStopsAtFortyHitsOverLanguagesAndStores) {
  const CString query = prepareFullText("digital library");
  ASSERT_EQ(query, "digital&library");
  server->setResults(kRequestFullText, "en:" + query, Hits(server, 1, 35));
  server->setResults(kRequestFullText, "ge:" + query, Hits(server, 100, 20));
  local->setResults(kRequestFullText, "en:" + query, Hits(local, 200, 5));
  AddStoreFront(server);
  AddStoreBack(local);

  List* hits = searchAllLanguages("digital library", true, nullptr);
  ASSERT_NE(hits, nullptr);
  EXPECT_EQ(hits->count(), 40);
  EXPECT_EQ(Fetches(*server), (std::vector<int>{10, 10, 10, 10, 5}));
  EXPECT_TRUE(Fetches(*local).empty());
  EXPECT_EQ(server->openHandles() + local->openHandles(), 0);
  DeleteObjectList(hits);
}

TEST_F(SearchRunnerTest, FullTextListsADocumentFoundInTwoLanguagesOnce) {
  const CString query = prepareFullText("crater");
  server->setResults(kRequestFullText, "en:" + query, Hits(server, 1, 3));
  server->setResults(kRequestFullText, "ge:" + query, Hits(server, 2, 3));
  AddStoreFront(server);

  List* hits = searchAllLanguages("crater", true, nullptr);
  ASSERT_NE(hits, nullptr);
  std::vector<int> ids;
  for (ListElement* e = hits->first(); e; e = e->next()) ids.push_back(ObjectOf(e)->getObjectId());
  EXPECT_EQ(ids, (std::vector<int>{1, 2, 3, 4}));
  DeleteObjectList(hits);
}

TEST_F(SearchRunnerTest, FullTextAbortKeepsWhatCameAndClosesTheRequest) {
  const CString query = prepareFullText("a");
  server->setResults(kRequestFullText, "en:" + query, Hits(server, 1, 30));
  server->setResults(kRequestFullText, "ge:" + query, Hits(server, 100, 5));
  AddStoreFront(server);
  server->onBatch = [this](int batch) {
    if (batch == 1) progress->SetCancel();
  };

  List* hits = searchAllLanguages("a", true, nullptr);
  ASSERT_NE(hits, nullptr);
  EXPECT_EQ(hits->count(), 20);  // the fetch that saw the abort is kept
  EXPECT_EQ(server->callCount("openRequest"), 1);
  EXPECT_EQ(server->openHandles(), 0);
  EXPECT_EQ(progress->starts, 1);
  DeleteObjectList(hits);
}

// A store that stops handing out hits, or loses its connection, ends that
// request instead of being asked for ever; what came stays.
TEST_F(SearchRunnerTest, StalledOrLostStoreEndsTheRequest) {
  struct Case {
    const char* name;
    int stallFrom;
    int nullFrom;
    bool fullText;
  };
  const Case cases[] = {{"stall, full text", 1, -1, true},
                        {"lost, full text", -1, 1, true},
                        {"stall, attributes", 1, -1, false},
                        {"lost, attributes", -1, 1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Ref<FakeStore> store = new FakeStore("korvex://stall/");
    store->stallFromBatch = c.stallFrom;
    store->nullFromBatch = c.nullFrom;
    const CString text = c.fullText ? "en:" + prepareFullText("z")
                                    : buildQuery("z", "", *Languages::instance());
    store->setResults(c.fullText ? kRequestFullText : kRequestKeyQuery, text, Hits(store, 1, 30));
    Ref<KXObject> marked = MakeObject(Record(99), store);
    marked->setMarked(true);

    List* hits = c.fullText ? searchAllLanguages("z", false, nullptr) : runSearch("z", false, nullptr);
    EXPECT_EQ(hits ? hits->count() : 0, 10);
    EXPECT_EQ(store->openHandles(), 0);
    DeleteObjectList(hits);
    ClearMarkedObjects();
    store->clearTables();
  }
}

}  // namespace
