// The object utilities over the real collection and cluster classes,
// through ObjectClassServices: counting members by type and the head of a
// collection.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/anchor.h"
#include "core/attr_record.h"
#include "core/cluster.h"
#include "core/collection.h"
#include "core/object_id.h"
#include "core/object_services.h"
#include "core/object_utils.h"
#include "core/objects/support/fake_store.h"

namespace {

// The reference layer's share, as simple as the tests need: references are
// fetched by name, temporary collections built from a record.
class TestServices : public ObjectClassServices {
 public:
  TestServices() { previous_ = SetObjectUtilityServices(this); }
  ~TestServices() override { SetObjectUtilityServices(previous_); }

  Ref<KXObject> resolveReference(const CString& name) override {
    resolved.push_back(name.str());
    return fetchObject(name, Ref<Store>());
  }
  Ref<KXObject> makeMultiCluster(const CString& title, const List& members) override {
    List* copy = NewObjectList();
    for (ListElement* e = members.first(); e; e = e->next())
      AppendObject(*copy, Ref<KXObject>(ObjectOf(e)));
    return Ref<KXObject>(new Collection(
        "ObjectID=0x00000000\nType=Document\nDocumentType=collection\nAuthor=system\n"
        "CollectionType=MultiCluster\n" + title,
        copy));
  }
  std::vector<std::string> resolved;

 private:
  ObjectUtilityServices* previous_ = nullptr;
};

// Records become objects of their class, as the session's factory makes
// them.
KXObject* MakeFromRecord(const CString& record) {
  const AttrRecord attrs(record);
  if (attrs.getAttribute("Type=") == "Anchor") return new Anchor(record);
  if (attrs.getAttribute("DocumentType=") == "collection") {
    if (attrs.getAttribute("CollectionType=") == "Cluster") return new Cluster(record, nullptr);
    return new Collection(record, nullptr);
  }
  return new KXObject(record, Ref<Store>());
}

class CollectionUtils : public ObjectModelTest {
 protected:
  void SetUp() override {
    ObjectModelTest::SetUp();
    factory.make = MakeFromRecord;
    factory.storeToOpen = local;
  }
  void TearDown() override {
    for (const Ref<KXObject>& c : held)
      if (auto* coll = dynamic_cast<Collection*>(c.get())) coll->clearMembers();
    held.clear();
    SetAnchorDestinationQuery(nullptr);
    ObjectModelTest::TearDown();
  }
  // An object of the local store made from its record and cached, as a
  // fetch leaves it.
  Ref<KXObject> Put(std::int32_t id, const char* lines) {
    const CString record = Record(id, lines);
    local->addRecord(ObjectId(id).Format(), record);
    Ref<KXObject> o = fetchObject(ObjectId(id).Format(), Ref<Store>());
    held.push_back(o);
    return o;
  }
  void members(const Ref<KXObject>& c, std::vector<Ref<KXObject>> list) {
    local->setResults(kRequestMembers, c->getIdentifier(), std::move(list));
  }

  TestServices services;
  std::vector<Ref<KXObject>> held;
};

const char* const kCluster = "Type=Document\nDocumentType=collection\nCollectionType=Cluster\n";

TEST_F(CollectionUtils, CountMembersOfRealCollections) {
  Ref<KXObject> image = Put(10, "Type=Document\nDocumentType=Image\n");
  Ref<KXObject> text = Put(11, "Type=Document\nDocumentType=text\nTitle=en:T\n");
  Ref<KXObject> anchor = Put(12, "Type=Anchor\nTAnchor=Src\nDest=0x0000000a\n");

  // A plain collection, or a Sequence, counts itself.
  Ref<KXObject> plain = Put(1, "Type=Document\nDocumentType=collection\n");
  members(plain, {image, text});
  TypeCount counts;
  counts.countMembers(plain);
  EXPECT_EQ(counts.count(kClassCollection), 1);
  EXPECT_EQ(counts.total(), 1);

  // A MultiCluster counts its children by what each stands for.
  Ref<KXObject> multi =
      Put(2, "Type=Document\nDocumentType=collection\nCollectionType=MultiCluster\n");
  members(multi, {image, text, anchor});
  counts.countMembers(multi);
  EXPECT_EQ(counts.total(), 3);
  EXPECT_EQ(counts.count(kClassObject), 3);  // the anchor counts as its target

  // A cluster counts its visible members, nested clusters expanded.
  Ref<KXObject> inner = Put(4, kCluster);
  members(inner, {Put(20, "Type=Document\nDocumentType=Sound\n")});
  Ref<KXObject> cluster = Put(3, kCluster);
  members(cluster, {image, inner, Put(21, "Type=Document\nDocumentType=Image\n"
                                          "PresentationHints=Hidden\n")});
  counts.countMembers(cluster);
  EXPECT_EQ(counts.total(), 2);
  EXPECT_EQ(counts.count(kClassCluster), 0);
}

TEST_F(CollectionUtils, CountMembersOfASelfContainingCluster) {
  Ref<KXObject> cluster = Put(3, kCluster);
  members(cluster, {Put(10, "Type=Document\nDocumentType=Image\n"), cluster});
  TypeCount counts;
  counts.countMembers(cluster);
  EXPECT_EQ(counts.total(), 1);
}

TEST_F(CollectionUtils, HeadOfARealCollection) {
  Ref<KXObject> coll = Put(1, "Type=Document\nDocumentType=collection\n");
  Ref<KXObject> plainDoc = Put(10, "Type=Document\nDocumentType=Image\n");
  Ref<KXObject> head = Put(11, "Type=Document\nDocumentType=text\nPresentationHints=CollectionHead\n");
  Ref<KXObject> full =
      Put(12, "Type=Document\nDocumentType=text\nPresentationHints=FullCollectionHead\n");

  members(coll, {plainDoc, full, head});
  EXPECT_EQ(collectionHeadList(coll), full);

  auto* c = dynamic_cast<Collection*>(coll.get());
  ASSERT_NE(c, nullptr);
  c->clearMembers();
  members(coll, {plainDoc, head, full});
  Ref<KXObject> made = collectionHeadList(coll);
  ASSERT_NE(made, nullptr);
  auto* temporary = dynamic_cast<Collection*>(made.get());
  ASSERT_NE(temporary, nullptr);
  EXPECT_EQ(temporary->getClassCode(), kClassCollection);
  EXPECT_EQ(collectionKind(made), 1);
  // A temporary collection has no store: its members are the ones given.
  EXPECT_EQ(Identifiers(temporary->getChildren(nullptr, 0)),
            (std::vector<std::string>{"0x0000000b", "0x00000001"}));

  c->clearMembers();
  members(coll, {plainDoc});
  EXPECT_EQ(collectionHeadList(coll), nullptr);
}

}  // namespace
