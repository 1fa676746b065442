// The shared fake store itself: the fixtures other object-model tests build
// on must hand out what they are told, in the shapes real stores use.
#include <gtest/gtest.h>

#include "core/objects/support/fake_store.h"

namespace {

class FakeStoreSelf : public ObjectModelTest {};

TEST_F(FakeStoreSelf, HitRequestsAreKeyedByObjectOrText) {
  Ref<KXObject> o = MakeObject(Record(1), Ref<Store>(server));
  Ref<KXObject> g = MakeObject(Record(2, "TType=Group\n"), Ref<Store>(server));
  server->setResults(kRequestGroupsNamed, "staff", {g});
  server->setResults(kRequestMembers, "0x00000001", {g, o}, 5);

  StoreEntry* byText = server->openRequest(o, kRequestGroupsNamed, nullptr, "staff");
  ASSERT_NE(byText, nullptr);
  EXPECT_EQ(byText->kind, kRequestGroupsNamed);
  EXPECT_EQ(byText->announcedSize, 1);
  List* list = server->getResults(byText, byText->announcedSize, nullptr);
  EXPECT_EQ(Identifiers(list), (std::vector<std::string>{"0x00000002"}));
  EXPECT_EQ(byText->delivered, 1);

  StoreEntry* byObject = server->openRequest(o, kRequestMembers, nullptr, "");
  EXPECT_EQ(byObject->announcedSize, 5);  // announced more than it has
  EXPECT_EQ(server->getResults(byObject, 16, list), list);
  EXPECT_EQ(list->count(), 3);
  EXPECT_EQ(byObject->delivered, 2);
  EXPECT_EQ(server->openHandles(), 2);

  // Unknown requests are refused.
  EXPECT_EQ(server->openRequest(o, kRequestGroupsNamed, nullptr, "guests"), nullptr);
  EXPECT_EQ(server->openRequest(o, kRequestParents, nullptr, ""), nullptr);

  EXPECT_FALSE(server->closeRequest(byText));
  EXPECT_FALSE(server->closeRequest(byObject));
  EXPECT_EQ(server->openHandles(), 0);
  DeleteObjectList(list);
  EXPECT_EQ(server->calls.front(), "openRequest 8 0x00000001 'staff'");
}

TEST_F(FakeStoreSelf, StreamedContentInChunksWithInjectedFailure) {
  Ref<KXObject> o = MakeObject(Record(1), Ref<Store>(local));
  local->setContent("0x00000001", std::string(20000, 'a'));
  StoreEntry* t = local->openRequest(o, kRequestRead, nullptr, "");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->announcedSize, 20000);
  EXPECT_TRUE(t->text.IsEmpty());
  char buffer[kTransferChunk];
  std::vector<int> counts;
  for (int n; (n = local->readRequest(t, buffer, kTransferChunk)) > 0;) counts.push_back(n);
  EXPECT_EQ(counts, (std::vector<int>{8192, 8192, 3616}));
  local->closeRequest(t);

  local->readFailAfter = 20000 + 100;  // counts every byte this store read
  t = local->openRequest(o, kRequestRead, nullptr, "");
  EXPECT_EQ(local->readRequest(t, buffer, kTransferChunk), 100);
  EXPECT_EQ(local->readRequest(t, buffer, kTransferChunk), -1);
  local->closeRequest(t);
}

TEST_F(FakeStoreSelf, ContentInALocalFileAndWrites) {
  Ref<KXObject> o = MakeObject(Record(1), Ref<Store>(local));
  local->setContentFile("0x00000001", "DOCS\\PAGE.HTM", 42);
  StoreEntry* t = local->openRequest(o, kRequestRead, nullptr, "");
  EXPECT_EQ(t->text, "DOCS\\PAGE.HTM");
  EXPECT_EQ(t->announcedSize, 42);
  local->closeRequest(t);

  StoreEntry* w = local->openRequest(o, kRequestWrite, nullptr, "0x00000005");
  EXPECT_EQ(w->announcedSize, 5);
  EXPECT_EQ(local->writeRequest(w, "hel", 3), 3);
  EXPECT_EQ(local->writeRequest(w, "lo", 2), 2);
  local->closeRequest(w);
  EXPECT_EQ(local->written("0x00000001"), "hello");
}

TEST_F(FakeStoreSelf, ChangeOperationsAreRecordedWithTheirAnswers) {
  Ref<KXObject> o = MakeObject(Record(1), Ref<Store>(server));
  Ref<KXObject> a = MakeObject(Record(2), Ref<Store>(server));
  Ref<KXObject> b = MakeObject(Record(3), Ref<Store>(local));
  server->setAnswer("moveObject", false);
  EXPECT_TRUE(server->insertObject(o, a, 0));
  EXPECT_TRUE(server->deleteObject(o));
  EXPECT_FALSE(server->moveObject(o, a, b));
  EXPECT_TRUE(server->addToCollection(o, a));
  EXPECT_TRUE(server->removeFromCollection(o, Ref<KXObject>()));
  EXPECT_EQ(server->calls,
            (std::vector<std::string>{"insertObject 0x00000001 0x00000002 0",
                                      "deleteObject 0x00000001",
                                      "moveObject 0x00000001 0x00000002 0x00000003",
                                      "addToCollection 0x00000001 0x00000002",
                                      "removeFromCollection 0x00000001 null"}));
  EXPECT_EQ(server->callCount("moveObject"), 1);
}

}  // namespace
