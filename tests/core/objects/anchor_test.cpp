// Anchors: the source flag, the type check, the forwarding operations with
// their choice of store, the parents walk, the destination and the title.
#include "core/anchor.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/attr_record.h"
#include "core/fatal.h"
#include "core/object_id.h"
#include "core/objects/support/fake_store.h"
#include "win/user.h"

namespace {

struct FatalExit {
  int status;
};

// Records that name an anchor become anchors, others plain objects.
KXObject* MakeFromRecord(const CString& record) {
  if (AttrRecord(record).getAttribute("Type=") == "Anchor") return new Anchor(record);
  return new KXObject(record, Ref<Store>());
}

Ref<Anchor> MakeAnchor(std::int32_t id, const char* rest, const Ref<Store>& store) {
  Ref<Anchor> anchor(new Anchor(Record(id, (std::string("Type=Anchor\n") + rest).c_str())));
  anchor->setStore(store);
  return anchor;
}

class AnchorTest : public ObjectModelTest {
 protected:
  void SetUp() override {
    ObjectModelTest::SetUp();
    factory.make = MakeFromRecord;
    win::ClearMessageBoxLog();
  }
  void TearDown() override {
    SetAnchorDestinationQuery(nullptr);
    ObjectModelTest::TearDown();
  }
  // The server answers the destination request from `destinations`.
  void answerDestinations() {
    SetAnchorDestinationQuery([this](Store& s, std::int32_t anchorId, std::int32_t& dest) {
      queries.push_back({&s, anchorId});
      auto it = destinations.find(anchorId);
      if (it == destinations.end()) return false;
      dest = it->second;
      return true;
    });
  }
  std::map<std::int32_t, std::int32_t> destinations;
  std::vector<std::pair<Store*, std::int32_t>> queries;
};

TEST_F(AnchorTest, SourceFlagAndState) {
  const struct {
    const char* lines;
    bool source;
  } cases[] = {
      {"TAnchor=Src\n", true},
      {"TAnchor=Dest\n", false},
      {"TAnchor=src\n", false},
      {"TAnchor=Src \n", false},  // values are not trimmed
      {"", false},
      {"TAnchor=Dest\nTAnchor=Src\n", false},  // the first value counts
  };
  for (const auto& c : cases) {
    Ref<Anchor> a = MakeAnchor(1, c.lines, Ref<Store>());
    EXPECT_EQ(a->isSourceAnchor(), c.source) << c.lines;
    EXPECT_EQ(a->getClassCode(), kClassAnchor);
  }
  Ref<Anchor> a = MakeAnchor(2, "State=open\nState=closed\nPosition=3 9\nDest=0x5\nGDest=g\n"
                                "Src=s\nHint=URL:http://h/\nLinkType=ANNOTATION\nFragment=f\n",
                             Ref<Store>());
  EXPECT_EQ(a->getState(), "open");
  EXPECT_EQ(a->getPosition(), "3 9");
  EXPECT_EQ(a->getDest(), "0x5");
  EXPECT_EQ(a->getGDest(), "g");
  EXPECT_EQ(a->getSrc(), "s");
  EXPECT_EQ(a->getHint(), "URL:http://h/");
  EXPECT_EQ(a->getLinkType(), "ANNOTATION");
  EXPECT_EQ(a->getFragment(), "f");
  EXPECT_EQ(a->getAttributeNames(),
            "\nName\nTitle\nKeyword\nAuthor\nTimeCreated\nTimeOpen\nTimeExpire\nRights\nSequence\n"
            "UserAttr\nLayout\nPosition\nLinkType\nTagAttr\n");
}

TEST_F(AnchorTest, WrongTypeEndsTheProgram) {
  FatalExitHook previous = SetFatalExitHook([](int status) { throw FatalExit{status}; });
  for (const char* lines : {"Type=Document\n", ""}) {
    win::ClearMessageBoxLog();
    try {
      Ref<Anchor> a(new Anchor(Record(1, lines)));
      ADD_FAILURE() << "constructed from " << lines;
    } catch (const FatalExit& e) {
      EXPECT_EQ(e.status, -1);
    }
    ASSERT_EQ(win::MessageBoxLog().size(), 1u);
    const CString type = AttrRecord(lines).getAttribute("Type=");
    EXPECT_EQ(win::MessageBoxLog()[0].text, ("Fatal Error: Anchor with Type=" + type).str());
    EXPECT_EQ(win::MessageBoxLog()[0].caption, "Error !");
  }
  SetFatalExitHook(previous);
}

// Which store carries out each change, and the order of the handles.
TEST_F(AnchorTest, ChangesGoToTheChosenStore) {
  Ref<FakeStore> other = new FakeStore("http://www/");
  Ref<Anchor> onServer = MakeAnchor(1, "", Ref<Store>(server));
  Ref<KXObject> serverParent = MakeObject(Record(2), Ref<Store>(server));
  Ref<KXObject> localParent = MakeObject(Record(3), Ref<Store>(local));
  Ref<KXObject> otherParent = MakeObject(Record(4), Ref<Store>(other));

  struct Case {
    const char* what;
    std::function<bool()> run;
    FakeStore* expectedStore;  // null: no store is asked
    const char* call;
  };
  const Case cases[] = {
      {"remove", [&] { return onServer->removeFromStore(); }, server.get(),
       "deleteObject 0x00000001"},
      // insert: the local store first, then a server store, else the own.
      {"insert under local", [&] { return onServer->insertInto(localParent, "f", "d", 1); },
       local.get(), "insertObject 0x00000001 0x00000003 0"},
      {"insert under server", [&] { return onServer->insertInto(serverParent, "", nullptr, 0); },
       server.get(), "insertObject 0x00000001 0x00000002 0"},
      {"insert under other", [&] { return onServer->insertInto(otherParent, "", nullptr, 0); },
       server.get(), "insertObject 0x00000001 0x00000004 0"},
      // move: chooseStore(to's, from's).
      {"move to local", [&] { return onServer->moveBetween(serverParent, localParent); },
       local.get(), "moveObject 0x00000001 0x00000002 0x00000003"},
      {"move from local", [&] { return onServer->moveBetween(localParent, serverParent); },
       local.get(), "moveObject 0x00000001 0x00000003 0x00000002"},
      {"move between others", [&] { return onServer->moveBetween(otherParent, otherParent); },
       other.get(), "moveObject 0x00000001 0x00000004 0x00000004"},
      // attach: the parent's store only when it is local.
      {"attach to local", [&] { return onServer->attachTo(localParent); }, local.get(),
       "addToCollection 0x00000001 0x00000003"},
      {"attach to other", [&] { return onServer->attachTo(otherParent); }, server.get(),
       "addToCollection 0x00000001 0x00000004"},
      {"detach", [&] { return onServer->detachFrom(localParent); }, server.get(),
       "removeFromCollection 0x00000001 0x00000003"},
  };
  for (const Case& c : cases) {
    for (FakeStore* s : {server.get(), local.get(), other.get()}) s->calls.clear();
    EXPECT_TRUE(c.run()) << c.what;
    for (FakeStore* s : {server.get(), local.get(), other.get()}) {
      if (s == c.expectedStore)
        EXPECT_EQ(s->calls, std::vector<std::string>{c.call}) << c.what;
      else
        EXPECT_TRUE(s->calls.empty()) << c.what << " asked " << s->getAddress();
    }
  }
  // The store's answer comes back.
  server->setAnswer("deleteObject", false);
  EXPECT_FALSE(onServer->removeFromStore());
  other->clearTables();
}

TEST_F(AnchorTest, WithoutAStoreNothingIsAsked) {
  Ref<Anchor> loose = MakeAnchor(1, "", Ref<Store>());
  Ref<KXObject> parent = MakeObject(Record(2), Ref<Store>());
  EXPECT_FALSE(loose->removeFromStore());
  EXPECT_FALSE(loose->insertInto(parent, "", nullptr, 0));
  EXPECT_FALSE(loose->moveBetween(parent, parent));
  EXPECT_FALSE(loose->attachTo(parent));
  EXPECT_FALSE(loose->detachFrom(parent));
  EXPECT_EQ(loose->getParents(nullptr, 0), nullptr);
  EXPECT_EQ(loose->getDestObject(), nullptr);
  // A parent in the local store still takes an attach or insert.
  Ref<KXObject> localParent = MakeObject(Record(3), Ref<Store>(local));
  EXPECT_TRUE(loose->attachTo(localParent));
  EXPECT_TRUE(loose->insertInto(localParent, "", nullptr, 0));
  EXPECT_EQ(local->calls.size(), 2u);
}

// A server anchor asks every open store in list order, 16 hits at a time,
// with one progress display over all of them.
TEST_F(AnchorTest, ParentsOfAServerAnchorComeFromEveryStore) {
  Ref<Anchor> a = MakeAnchor(1, "", Ref<Store>(server));
  std::vector<Ref<KXObject>> hits;
  for (int i = 0; i < 40; ++i) hits.push_back(MakeObject(Record(100 + i), Ref<Store>(local)));
  local->setResults(kRequestParents, "0x00000001", hits);
  Ref<KXObject> first = MakeObject(Record(99), Ref<Store>(server));
  ASSERT_TRUE(AddStoreFront(Ref<Store>(server)));  // refuses: no hits set
  ASSERT_TRUE(AddStoreBack(Ref<Store>(local)));

  List* list = a->getParents(nullptr, 0);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->count(), 40);
  EXPECT_EQ(Identifiers(list).front(), "0x00000064");
  EXPECT_EQ(server->calls, std::vector<std::string>{"openRequest 3 0x00000001 ''"});
  EXPECT_EQ(local->calls,
            (std::vector<std::string>{"openRequest 3 0x00000001 ''", "getResults 16",
                                      "getResults 16", "getResults 16", "closeRequest"}));
  EXPECT_EQ(progress->fractions, (std::vector<float>{0.2f, 0.4f, 0.5f}));
  EXPECT_EQ(progress->events.back(), "start");
  EXPECT_EQ(local->openHandles(), 0);
  DeleteObjectList(list);

  // Both stores deliver: the first store's hits come first, and the
  // caller's list is the one filled.
  server->setResults(kRequestParents, "0x00000001", {first});
  progress->fractions.clear();
  List mine;
  EXPECT_EQ(a->getParents(&mine, 0), &mine);
  EXPECT_EQ(mine.count(), 41);
  EXPECT_EQ(Identifiers(&mine).front(), "0x00000063");
  EXPECT_EQ(progress->fractions, (std::vector<float>{0.5f, 0.7f, 0.9f, 1.0f}));
  mine.clearAndDelete();
}

TEST_F(AnchorTest, ParentsOfALocalAnchorComeFromItsOwnStoreAndStopOnABreak) {
  Ref<Anchor> a = MakeAnchor(1, "", Ref<Store>(local));
  std::vector<Ref<KXObject>> hits;
  for (int i = 0; i < 40; ++i) hits.push_back(MakeObject(Record(100 + i), Ref<Store>(local)));
  local->setResults(kRequestParents, "0x00000001", hits);
  server->setResults(kRequestParents, "0x00000001", hits);
  ASSERT_TRUE(AddStoreFront(Ref<Store>(server)));
  ASSERT_TRUE(AddStoreBack(Ref<Store>(local)));
  progress->breakOnPoll(2);

  List* list = a->getParents(nullptr, 0);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->count(), 32);  // two batches, then the break
  EXPECT_TRUE(server->calls.empty());
  EXPECT_EQ(local->callCount("getResults"), 2);
  EXPECT_EQ(local->callCount("closeRequest"), 1);
  EXPECT_EQ(progress->fractions, (std::vector<float>{0.4f, 0.8f}));
  EXPECT_EQ(progress->starts, 1);
  DeleteObjectList(list);
}

TEST_F(AnchorTest, ServerDestinationIsAskedOnceAndFetchedById) {
  answerDestinations();
  destinations[1] = 0x42;
  factory.storeToOpen = server;
  server->addRecord("0x00000042", Record(0x42, "Type=Document\nTitle=en:Target\n"));
  Ref<Anchor> a = MakeAnchor(1, "TAnchor=Src\n", Ref<Store>(server));

  Ref<KXObject> dest = a->getDestObject();
  ASSERT_NE(dest, nullptr);
  EXPECT_EQ(dest->getIdentifier(), "0x00000042");
  ASSERT_EQ(queries.size(), 1u);
  EXPECT_EQ(queries[0].first, server.get());
  EXPECT_EQ(queries[0].second, 1);
  EXPECT_FALSE(a->isVisited());

  // Cached: no second question; the visited flag follows the destination.
  dest->setVisited();
  EXPECT_EQ(a->getDestObject(), dest);
  EXPECT_EQ(queries.size(), 1u);
  EXPECT_TRUE(a->isVisited());
  EXPECT_EQ(a->getTitle(), "Target");

  // A re-parse forgets the destination; the next call asks again.
  server->addRecord("0x00000001", Record(1, "Type=Anchor\nTAnchor=Src\n"));
  a->invalidate(kRefreshAttributes);
  EXPECT_TRUE(a->refresh());
  EXPECT_EQ(queries.size(), 1u);  // the parse itself asks nothing
  EXPECT_EQ(a->getDestObject(), dest);
  EXPECT_EQ(queries.size(), 2u);
}

TEST_F(AnchorTest, LocalDestinationIsFetchedBySrc) {
  factory.storeToOpen = local;
  local->addRecord("kxlocal:doc", Record(7, "Type=Document\n"));
  for (const char* tanchor : {"TAnchor=Src\n", "TAnchor=Dest\n"}) {
    ClearObjectCache();
    Ref<Anchor> a = MakeAnchor(1, (std::string(tanchor) + "Src=kxlocal:doc\n").c_str(),
                               Ref<Store>(local));
    Ref<KXObject> dest = a->getDestObject();
    ASSERT_NE(dest, nullptr) << tanchor;
    EXPECT_EQ(dest->getObjectId(), 7);
  }
  EXPECT_EQ(factory.opened, (std::vector<std::string>{"kxlocal:doc", "kxlocal:doc"}));
}

TEST_F(AnchorTest, UnresolvableDestinations) {
  answerDestinations();  // knows no anchor: the server denies
  factory.storeToOpen = server;
  Ref<FakeStore> other = new FakeStore("http://www/");
  other->addRecord("0x00000001", Record(1, "Type=Anchor\n"));
  const struct {
    const char* what;
    Ref<Store> store;
    const char* lines;
  } cases[] = {
      {"server denies", Ref<Store>(server), ""},
      {"local without Src", Ref<Store>(local), ""},
      {"local Src names nothing", Ref<Store>(local), "Src=kxlocal:gone\n"},
      {"other scheme", Ref<Store>(other), "Src=kxlocal:gone\n"},
      {"no store", Ref<Store>(), ""},
  };
  for (const auto& c : cases) {
    Ref<Anchor> a = MakeAnchor(1, c.lines, c.store);
    EXPECT_EQ(a->getDestObject(), nullptr) << c.what;
    EXPECT_EQ(a->getTitle(), "") << c.what;
  }
  EXPECT_EQ(queries.size(), 2u);  // only the server anchor asks (twice)
  other->clearTables();
}

TEST_F(AnchorTest, TitleIsTheAnchorsOwnBeforeTheDestinations) {
  answerDestinations();
  destinations[1] = 0x42;
  factory.storeToOpen = server;
  server->addRecord("0x00000042", Record(0x42, "Type=Document\nTitle=en:Target\n"));
  Ref<Anchor> titled = MakeAnchor(1, "Title=en:Own\n", Ref<Store>(server));
  EXPECT_EQ(titled->getTitle(), "Own");
  EXPECT_TRUE(queries.empty());
  // The title recorded at parse time is the anchor's own, never the
  // destination's.
  Ref<Anchor> untitled = MakeAnchor(1, "", Ref<Store>(server));
  server->addRecord("0x00000001", Record(1, "Type=Anchor\n"));
  untitled->invalidate(kRefreshAttributes);
  ASSERT_TRUE(untitled->refresh());
  EXPECT_EQ(untitled->getTitleText(), "");
  EXPECT_TRUE(queries.empty());
  EXPECT_EQ(untitled->getTitle(), "Target");
}

// Untitled anchors that lead to each other, or an anchor that leads to
// itself, have no title; asking for one must not recurse for ever.
TEST_F(AnchorTest, TitleOfAnchorsThatLeadInACircle) {
  const int before = KXObject::LiveCount();
  answerDestinations();
  destinations[1] = 2;
  destinations[2] = 1;
  destinations[3] = 3;
  factory.storeToOpen = server;
  for (int id : {1, 2, 3}) {
    const CString record = Record(id, "Type=Anchor\n");
    server->addRecord(ObjectId(id).Format(), record);
  }
  for (int id : {1, 3}) {
    Ref<KXObject> a = fetchObject(ObjectId(id).Format(), Ref<Store>());
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->getTitle(), "");
  }
  // Each anchor names its destination and holds none: once the cache lets
  // go, the circle goes too, the anchor that leads to itself with it.
  EXPECT_GT(KXObject::LiveCount(), before);
  ClearObjectCache();
  EXPECT_EQ(KXObject::LiveCount(), before);
}

TEST_F(AnchorTest, RefreshLeavesTheFlags) {
  Ref<Anchor> a = MakeAnchor(1, "TAnchor=Src\nState=x\n", Ref<Store>(server));
  server->addRecord("0x00000001", Record(1, "Type=Anchor\nTAnchor=Dest\nState=y\n"));
  a->invalidate(kRefreshAttributes);
  EXPECT_TRUE(a->refresh());
  EXPECT_TRUE(a->isParsed());
  EXPECT_EQ(a->getRefreshFlags(), kRefreshAttributes);  // unchanged
  EXPECT_FALSE(a->isSourceAnchor());
  EXPECT_EQ(a->getState(), "y");
  EXPECT_EQ(a->recordText(), Record(1, "Type=Anchor\nTAnchor=Dest\nState=y\n"));

  // Without a fetch bit: kRefreshNoFetch leaves the anchor unparsed.
  a->invalidate(kRefreshNoFetch);
  EXPECT_TRUE(a->refresh());
  EXPECT_FALSE(a->isParsed());
  a->invalidate(kRefreshMembers);
  EXPECT_TRUE(a->refresh());
  EXPECT_TRUE(a->isParsed());

  // An empty answer: not parsed, false.
  server->clearTables();
  a->invalidate(kRefreshAttributes);
  EXPECT_FALSE(a->refresh());
  EXPECT_FALSE(a->isParsed());
  Ref<Anchor> loose = MakeAnchor(2, "", Ref<Store>());
  loose->invalidate(kRefreshAttributes);
  EXPECT_FALSE(loose->refresh());
}

}  // namespace
