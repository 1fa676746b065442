// Hit lists and searches through the Store interface: openRequest, then
// getResults in batches while delivered is below announcedSize, then
// closeRequest, as the object model runs them.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "../connection/peer_log.h"
#include "core/attr_record.h"
#include "core/list.h"
#include "support/session_fixture.h"

namespace session_test {
namespace {

using net_test::Requests;

struct ListDeleter {
  void operator()(List* l) const { DeleteObjectList(l); }
};
using OwnedList = std::unique_ptr<List, ListDeleter>;

class SessionRequests : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    StartPeer();
    session_ = OpenAs("alice:wonder");
    ASSERT_EQ(session_->getError(), 0);
  }
  void TearDown() override {
    session_ = Ref<KxSession>();
    SessionTest::TearDown();
  }

  Ref<KXObject> Object(const char* id) { return fetchObject(id, Ref<Store>(session_.get())); }

  // Runs a request as the object model does, `batch` hits at a time.
  std::vector<LONG> Run(const Ref<KXObject>& object, std::int32_t kind, const CString& text,
                        std::int32_t batch, List* within = nullptr, int* rounds = nullptr) {
    StoreEntry* entry = session_->openRequest(object, kind, within, text);
    EXPECT_NE(entry, nullptr) << "kind " << kind;
    if (entry == nullptr) return {};
    OwnedList list;
    int n = 0;
    while (entry->delivered < entry->announcedSize) {
      list.reset(session_->getResults(entry, batch, list.release()));
      ++n;
    }
    if (rounds) *rounds = n;
    EXPECT_FALSE(session_->closeRequest(entry));  // deleted all the same
    return IdsOf(list.get());
  }

  Ref<KxSession> session_;
};

struct KindCase {
  const char* name;
  std::int32_t kind;
  const char* object;  // "" for none
  const char* text;
  std::vector<LONG> expected;
};

TEST_F(SessionRequests, EveryKindDeliversItsHitsInBatches) {
  const KindCase cases[] = {
      {"members", kRequestMembers, "0x00000011", "", {0x20, 0x21, 0x40, 0x41, 0x50}},
      {"parents", kRequestParents, "0x00000021", "", {0x10, 0x11}},
      {"anchor parents", kRequestParents, "0x00000030", "", {0x20}},
      {"anchors", kRequestAnchors, "0x00000020", "", {0x30, 0x32, 0x33}},
      {"links to a document", kRequestReferrers, "0x00000021", "", {0x30}},
      {"links to an anchor", kRequestReferrers, "0x00000031", "", {0x32}},
      {"groups", kRequestGroupsNamed, "", "editors", {0x05}},
      {"users", kRequestUsersNamed, "", "alice", {0x03}},
      {"group members", kRequestGroupMembers, "", "editors", {0x03}},
      {"key query", kRequestKeyQuery, "", "Keyword=music", {0x20}},
  };
  for (const KindCase& c : cases) {
    const Ref<KXObject> object = *c.object ? Object(c.object) : Ref<KXObject>();
    int rounds = 0;
    EXPECT_EQ(Run(object, c.kind, c.text, 2, nullptr, &rounds), c.expected) << c.name;
    EXPECT_EQ(rounds, static_cast<int>((c.expected.size() + 1) / 2)) << c.name;
  }
  // Members and parents of an anchor went as requests 44 and 6.
  EXPECT_EQ(Requests(peer_->log(), "members").size(), 1u);
  EXPECT_EQ(Requests(peer_->log(), "anchor-parents").size(), 1u);
}

TEST_F(SessionRequests, EachBatchIsOneRecordRequest) {
  const Ref<KXObject> music = Object("0x00000011");
  const size_t before = Requests(peer_->log(), "records").size();
  StoreEntry* entry = session_->openRequest(music, kRequestMembers, nullptr, "");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->announcedSize, 5);
  EXPECT_STREQ(entry->scheme.c_str(), "korvex");

  // n = 0 fetches nothing and gives the list back as it is.
  EXPECT_EQ(session_->getResults(entry, 0, nullptr), nullptr);
  OwnedList list(session_->getResults(entry, 3, nullptr));
  EXPECT_EQ(IdsOf(list.get()), (std::vector<LONG>{0x20, 0x21, 0x40}));
  EXPECT_EQ(entry->delivered, 3);
  // A negative n takes every hit that is left.
  list.reset(session_->getResults(entry, -1, list.release()));
  EXPECT_EQ(IdsOf(list.get()), (std::vector<LONG>{0x20, 0x21, 0x40, 0x41, 0x50}));
  EXPECT_EQ(entry->delivered, 5);
  // Past the end nothing more is fetched.
  list.reset(session_->getResults(entry, 16, list.release()));
  EXPECT_EQ(list->count(), 5);
  session_->closeRequest(entry);

  auto records = Requests(peer_->log(), "records");
  ASSERT_EQ(records.size(), before + 2);
  EXPECT_EQ(records[before].get("ids"), "0x00000020,0x00000021,0x00000040");
  EXPECT_EQ(records[before + 1].get("ids"), "0x00000041,0x00000050");
}

TEST_F(SessionRequests, KeyQueryHitsScoreAThousand) {
  OwnedList within(NewObjectList());
  AppendObject(*within, Object("0x00000010"));  // alice-home holds notes only
  ClearObjectCache();
  EXPECT_EQ(Run(Ref<KXObject>(), kRequestKeyQuery, "Author=alice", 16, within.get()),
            (std::vector<LONG>{0x21}));
  auto asked = Requests(peer_->log(), "query-within");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].get("ids"), "0x00000010");

  StoreEntry* entry = session_->openRequest(Ref<KXObject>(), kRequestKeyQuery, nullptr,
                                            "Keyword=music||Keyword=scores");
  ASSERT_NE(entry, nullptr);
  OwnedList hits(session_->getResults(entry, -1, nullptr));
  session_->closeRequest(entry);
  ASSERT_EQ(hits->count(), 2);
  for (ListElement* e = hits->first(); e; e = e->next()) {
    KXObject* o = ObjectOf(e);
    EXPECT_STREQ(o->getAttribute("Score=").c_str(), "1000");
    EXPECT_STREQ(o->getScoreText().c_str(), "1000");
  }
  // An empty query finds nothing without asking.
  entry = session_->openRequest(Ref<KXObject>(), kRequestKeyQuery, nullptr, "");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->announcedSize, 0);
  session_->closeRequest(entry);
}

TEST_F(SessionRequests, SearchHitsCarryScoreAndPositionsInTheServersOrder) {
  // The weights and positions as the server gives them.
  FeatureVector expected;
  ASSERT_TRUE(session_->connection()->fullTextSearch("music", expected));
  ASSERT_GE(expected.count(), 2);
  float best = 0;
  for (const Features* f = expected.first(); f; f = FeatureVector::next(f))
    best = std::max(best, f->weight());

  ClearObjectCache();
  StoreEntry* entry = session_->openRequest(Ref<KXObject>(), kRequestFullText, nullptr, "music");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->announcedSize, expected.count());
  OwnedList hits;
  while (entry->delivered < entry->announcedSize)
    hits.reset(session_->getResults(entry, 1, hits.release()));
  session_->closeRequest(entry);

  ASSERT_EQ(hits->count(), expected.count());
  const Features* f = expected.first();
  for (ListElement* e = hits->first(); e; e = e->next(), f = FeatureVector::next(f)) {
    KXObject* o = ObjectOf(e);
    ASSERT_EQ(o->getObjectId(), f->id());
    const int score = static_cast<int>(f->weight() / best * 1000.0);
    EXPECT_STREQ(o->getAttribute("Score=").c_str(), std::to_string(score).c_str());
    EXPECT_STREQ(o->getAttribute("Positions=").c_str(), f->entry().formatPositions().c_str());
    EXPECT_EQ(o->recordText().Find("\n\nScore="), -1);  // one line feed before the score
  }
  EXPECT_STREQ(ObjectOf(hits->first())->getAttribute("Score=").c_str(), "1000");
}

TEST(SessionSearchScores, AreMeasuredAgainstTheBestWeight) {
  const struct {
    float weight, best;
    int score;
  } cases[] = {
      {2.0f, 2.0f, 1000}, {0.5f, 2.0f, 250}, {1.0f, 3.0f, 333}, {-1.0f, 2.0f, -500},
      // No positive weight: nothing to measure against, never a division by 0.
      {0.0f, 0.0f, 0}, {-1.0f, 0.0f, 0}, {-3.0f, -1.0f, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(KxSession::SearchScore(c.weight, c.best), c.score) << c.weight << "/" << c.best;
}

TEST_F(SessionRequests, SearchWithinCollections) {
  OwnedList within(NewObjectList());
  AppendObject(*within, Object("0x00000010"));
  EXPECT_EQ(Run(Ref<KXObject>(), kRequestFullText, "scores", 16, within.get()),
            (std::vector<LONG>{0x21}));
  EXPECT_EQ(Requests(peer_->log(), "full-text-within").size(), 1u);
  // A refused search opens nothing.
  EXPECT_EQ(session_->openRequest(Ref<KXObject>(), kRequestFullText, nullptr, ""), nullptr);
  EXPECT_EQ(session_->connection()->error(), 23);
}

TEST_F(SessionRequests, MembersOfARemoteCollectionComeAsRecords) {
  const Ref<KXObject> gopher = Object("0x00000040");
  ASSERT_TRUE(gopher);
  StoreEntry* entry = session_->openRequest(gopher, kRequestMembers, nullptr, "");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->announcedSize, 2);
  OwnedList list(session_->getResults(entry, 1, nullptr));
  list.reset(session_->getResults(entry, 1, list.release()));
  session_->closeRequest(entry);
  ASSERT_EQ(list->count(), 2);
  EXPECT_STREQ(ObjectOf(list->first())->getAttribute("Path=").c_str(), "/0/readme.txt");
  EXPECT_STREQ(ObjectOf(list->last())->getAttribute("Path=").c_str(), "/1/archive");
  EXPECT_EQ(Requests(peer_->log(), "remote-members").size(), 1u);
}

TEST_F(SessionRequests, KindsWithoutAHandle) {
  const Ref<KXObject> intro = Object("0x00000020");
  EXPECT_EQ(session_->openRequest(intro, kRequestWrite, nullptr, "0x00000010"), nullptr);
  EXPECT_EQ(session_->openRequest(intro, 11, nullptr, ""), nullptr);
  EXPECT_EQ(session_->openRequest(intro, -1, nullptr, ""), nullptr);
  EXPECT_EQ(session_->openRequest(Ref<KXObject>(), kRequestMembers, nullptr, ""), nullptr);
  // Members of something that is no collection: refused by the server.
  EXPECT_EQ(session_->openRequest(intro, kRequestMembers, nullptr, ""), nullptr);
  char buffer[16];
  EXPECT_EQ(session_->writeRequest(nullptr, buffer, 16), -1);
  EXPECT_EQ(session_->readRequest(nullptr, buffer, 16), -1);
  EXPECT_EQ(session_->getResults(nullptr, 16, nullptr), nullptr);
  EXPECT_FALSE(session_->closeRequest(nullptr));
}

TEST_F(SessionRequests, TheObjectModelWalksTheStoresThroughTheSession) {
  AddStoreFront(Ref<Store>(session_.get()));
  const Ref<KXObject> notes = Object("0x00000021");
  OwnedList parents(notes->getParents(nullptr, 0));
  EXPECT_EQ(IdsOf(parents.get()), (std::vector<LONG>{0x10, 0x11}));
  // Kept by the document: anchors that lead to it or into it.
  const List* referrers = notes->getReferrers(nullptr, 0);
  ASSERT_NE(referrers, nullptr);
  const std::vector<LONG> ids = IdsOf(referrers);
  EXPECT_NE(std::find(ids.begin(), ids.end(), 0x30), ids.end());  // to the document
  EXPECT_NE(std::find(ids.begin(), ids.end(), 0x32), ids.end());  // to its anchor 0x31
}

}  // namespace
}  // namespace session_test

namespace session_test {
namespace {

// Older servers: ids in replies (705), requests 43 and 46 (704, 711), the
// members request (705): the session's work is the same.
class SessionOlderServers : public SessionTest, public ::testing::WithParamInterface<int> {};

TEST_P(SessionOlderServers, BrowseAndRead) {
  PeerOptions options;
  options.version = GetParam();
  StartPeer(options);
  Ref<KxSession> s = OpenAs("alice:wonder");
  ASSERT_EQ(s->getError(), 0) << s->getErrorText().c_str();
  EXPECT_TRUE(s->isIdentified());
  EXPECT_STREQ(s->getPath().c_str(), "0x00000010");

  const Ref<KXObject> music = fetchObject("music", Ref<Store>(s.get()));
  ASSERT_TRUE(music);
  StoreEntry* entry = s->openRequest(music, kRequestMembers, nullptr, "");
  ASSERT_NE(entry, nullptr);
  List* list = nullptr;
  while (entry->delivered < entry->announcedSize) list = s->getResults(entry, 2, list);
  EXPECT_EQ(IdsOf(list), (std::vector<LONG>{0x20, 0x21, 0x40, 0x41, 0x50}));
  DeleteObjectList(list);
  s->closeRequest(entry);

  entry = s->openRequest(fetchObject("notes", Ref<Store>(s.get())), kRequestRead, nullptr, "");
  ASSERT_NE(entry, nullptr);
  std::string bytes;
  char buffer[kTransferChunk];
  for (int n; (n = s->readRequest(entry, buffer, kTransferChunk)) > 0;) bytes.append(buffer, n);
  s->closeRequest(entry);
  EXPECT_EQ(bytes, ContentFile("objects/notes.body"));
}

INSTANTIATE_TEST_SUITE_P(Versions, SessionOlderServers, ::testing::Values(717, 711, 705, 704, 702));

}  // namespace
}  // namespace session_test
