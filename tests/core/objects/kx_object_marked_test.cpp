// KXObject: the global groups of marked objects.
#include <gtest/gtest.h>

#include "core/kx_object.h"
#include "core/objects/support/fake_store.h"
#include "core/store_registry.h"

namespace {

class MarkedObjects : public ObjectModelTest {
 protected:
  static int Groups() { return MarkedObjectGroups().count(); }
  static int GroupSize(int i) {
    return static_cast<MarkedGroup*>(MarkedObjectGroups().at(i))->members.count();
  }
};

TEST_F(MarkedObjects, MarkingTwiceAddsOneEntry) {
  Ref<KXObject> o = MakeObject(Record(1), Ref<Store>(server));
  o->setMarked(true);
  o->setMarked(true);
  EXPECT_TRUE(o->isMarked());
  ASSERT_EQ(Groups(), 1);
  EXPECT_EQ(GroupSize(0), 1);
}

TEST_F(MarkedObjects, UnmarkingTheLastObjectRemovesItsGroup) {
  Ref<KXObject> a = MakeObject(Record(1), Ref<Store>(server));
  Ref<KXObject> b = MakeObject(Record(2), Ref<Store>(server));
  a->setMarked(true);
  b->setMarked(true);
  EXPECT_EQ(GroupSize(0), 2);
  a->setMarked(false);
  EXPECT_FALSE(a->isMarked());
  EXPECT_EQ(GroupSize(0), 1);
  b->setMarked(false);
  EXPECT_EQ(Groups(), 0);
}

TEST_F(MarkedObjects, OneGroupPerStoreKind) {
  Ref<FakeStore> otherServer(new FakeStore("korvex://other/"));
  Ref<KXObject> s1 = MakeObject(Record(1), Ref<Store>(server));
  Ref<KXObject> l1 = MakeObject(Record(1), Ref<Store>(local));
  Ref<KXObject> s2 = MakeObject(Record(2), Ref<Store>(otherServer));
  s1->setMarked(true);
  l1->setMarked(true);  // same id, other kind of store: its own group
  s2->setMarked(true);  // another server: the server group
  ASSERT_EQ(Groups(), 2);
  EXPECT_EQ(GroupSize(0), 2);
  EXPECT_EQ(GroupSize(1), 1);
}

TEST_F(MarkedObjects, UnmarkingWithoutGroupsLeavesOneEmptyGroup) {
  Ref<KXObject> o = MakeObject(Record(1), Ref<Store>(server));
  o->setMarked(false);
  EXPECT_FALSE(o->isMarked());
  ASSERT_EQ(Groups(), 1);
  EXPECT_EQ(GroupSize(0), 0);
  // The empty group takes the next marked object of any kind.
  Ref<KXObject> l = MakeObject(Record(2), Ref<Store>(local));
  l->setMarked(true);
  EXPECT_EQ(Groups(), 1);
}

TEST_F(MarkedObjects, ObjectWithoutStoreIsNeverMarked) {
  Ref<KXObject> o(new KXObject(Record(1), Ref<Store>()));
  o->setMarked(true);
  EXPECT_FALSE(o->isMarked());
  EXPECT_EQ(Groups(), 0);
}

TEST_F(MarkedObjects, FoundByIdentifier) {
  Ref<KXObject> first = MakeObject(Record(1), Ref<Store>(server));
  Ref<KXObject> again = MakeObject(Record(1), Ref<Store>(server));
  first->setMarked(true);
  // Another object with the same identifier counts as marked already.
  again->setMarked(true);
  EXPECT_TRUE(again->isMarked());
  EXPECT_EQ(GroupSize(0), 1);
}

TEST_F(MarkedObjects, UnmarkingAnObjectHeldOnlyByItsGroup) {
  Ref<KXObject> o = MakeObject(Record(1), Ref<Store>(server));
  o->setMarked(true);
  KXObject* raw = o.get();
  o = nullptr;
  // The group's entry is the last handle; the call must not touch a dead
  // object (ASan checks).
  raw->setMarked(false);
  EXPECT_EQ(Groups(), 0);
}

TEST_F(MarkedObjects, ClearingTheGroupsClearsTheFlags) {
  Ref<KXObject> o = MakeObject(Record(1), Ref<Store>(server));
  o->setMarked(true);
  ClearMarkedObjects();
  EXPECT_FALSE(o->isMarked());
  EXPECT_EQ(Groups(), 0);
  EXPECT_EQ(o->RefCount(), 1);
}

}  // namespace
