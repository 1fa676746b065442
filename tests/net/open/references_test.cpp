// References to objects (which texts are references, what the store is
// asked), objects by id through the history, and temporary collections.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/collection.h"
#include "core/kx_object.h"
#include "core/object_utils.h"
#include "core/store_registry.h"
#include "net/open/support/scripted_store.h"
#include "net/open_store.h"
#include "net/references.h"

namespace open_test {
namespace {

const char* kText = "ObjectID=0x00000020\nType=Document\nDocumentType=text\nTitle=en:Intro\n";

class ReferencesTest : public RegistryTest {};

TEST_F(ReferencesTest, WhichTextsAreReferences) {
  const Ref<ScriptedStore> store = AddScripted();
  struct Case {
    const char* reference;
    const char* asked;  // null: not a reference, nothing asked
  };
  const Case cases[] = {
      {"0x00000020", "0x00000020"},
      {"korvex://host/intro", "korvex://host/intro"},
      {"//host/intro", "host/intro"},
      {"alice@host", "alice@host"},
      {"ftp:pub", "ftp:pub"},            // a colon at index 3
      {"ab:c", nullptr},                  // a scheme of another kind: no store
      {"C:intro", nullptr},               // the only colon at index 1
      {"intro.html", nullptr},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    store->asked.clear();
    const Ref<KXObject> o = ResolveReference(c.reference);
    if (c.asked) {
      EXPECT_EQ(store->asked, std::vector<std::string>{c.asked}) << c.reference;
    } else {
      EXPECT_TRUE(store->asked.empty()) << c.reference;
      EXPECT_FALSE(o) << c.reference;
    }
  }
  store->records["0x00000020"] = kText;
  const Ref<KXObject> o = ResolveReference(static_cast<const char*>("0x00000020"));
  ASSERT_TRUE(o);
  EXPECT_EQ(o->getClassCode(), kClassText);
  EXPECT_FALSE(ResolveReference(static_cast<const char*>(nullptr)));
}

TEST_F(ReferencesTest, TwoSlashesGoThroughTheDefaultScheme) {
  // No store is open and no scheme is known: "//host/x" names nothing.
  EXPECT_FALSE(ResolveReference("//host/x"));
  EXPECT_EQ(DefaultScheme(), "");
  // With a session open it is asked without the slashes.
  const Ref<ScriptedStore> store = AddScripted();
  store->records["host/x"] = kText;
  EXPECT_TRUE(ResolveReference("//host/x"));
}

Ref<KXObject> gHistoryObject;
std::vector<LONG> gHistoryAsked;
Ref<KXObject> FromHistory(ObjectId id) {
  gHistoryAsked.push_back(id.value());
  return id.value() == 7 ? gHistoryObject : Ref<KXObject>();
}

TEST_F(ReferencesTest, ObjectsByIdComeFromTheHistoryFirst) {
  const Ref<ScriptedStore> store = AddScripted();
  store->records["0x00000020"] = kText;
  gHistoryObject = fetchObject("0x00000020", Ref<Store>(store.get()));
  store->asked.clear();
  gHistoryAsked.clear();
  SetHistoryLookup(&FromHistory);
  EXPECT_EQ(ObjectForId(ObjectId(7)).get(), gHistoryObject.get());
  EXPECT_TRUE(store->asked.empty());
  // Not in the history: fetched by the id's text.
  store->records["0x00000008"] = "ObjectID=0x00000008\nType=Document\nDocumentType=Image\n";
  const Ref<KXObject> eight = ObjectForId(ObjectId(8));
  ASSERT_TRUE(eight);
  EXPECT_EQ(eight->getClassCode(), kClassImage);
  EXPECT_EQ(store->asked, std::vector<std::string>{"0x00000008"});
  EXPECT_EQ(gHistoryAsked, (std::vector<LONG>{7, 8}));
  gHistoryObject = Ref<KXObject>();
}

TEST_F(ReferencesTest, TemporaryCollections) {
  const Ref<ScriptedStore> store = AddScripted();
  store->records["0x00000020"] = kText;
  store->records["0x00000021"] = "ObjectID=0x00000021\nType=Document\nDocumentType=Image\n";
  const Ref<KXObject> a = fetchObject("0x00000020", Ref<Store>());
  const Ref<KXObject> b = fetchObject("0x00000021", Ref<Store>());
  ASSERT_TRUE(a && b);

  EXPECT_FALSE(MakeMultiCluster("Title=en:None\n", nullptr, 0));

  for (const int plain : {0, 1}) {
    List* members = NewObjectList();
    AppendObject(*members, a);
    AppendObject(*members, b);
    const Ref<KXObject> c = MakeMultiCluster("Title=en:Parents\n", members, plain);
    ASSERT_TRUE(c) << plain;
    EXPECT_EQ(c->getClassCode(), kClassCollection);
    EXPECT_EQ(c->getObjectId(), 0);
    EXPECT_FALSE(c->getStore());
    EXPECT_EQ(c->getTitle(), "Parents");
    EXPECT_EQ(c->getAuthor(), "system");
    EXPECT_EQ(collectionKind(c), plain ? 0 : 1) << plain;
    EXPECT_EQ(c->recordText().Find("CollectionType=MultiCluster\n") >= 0, plain == 0);
    auto* collection = dynamic_cast<Collection*>(c.get());
    ASSERT_NE(collection, nullptr);
    const List* list = collection->getChildren(nullptr, 0);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(ObjectOf(list->first()), a.get());
    EXPECT_EQ(ObjectOf(list->first()->next()), b.get());
  }

  // The utilities' service copies the caller's list.
  List given;
  AppendObject(given, b);
  const Ref<KXObject> c = ReferenceServices().makeMultiCluster("Title=en:Head\n", given);
  ASSERT_TRUE(c);
  EXPECT_EQ(given.count(), 1);
  EXPECT_EQ(collectionKind(c), 1);
  given.clearAndDelete();
}

TEST_F(ReferencesTest, CollectionHeadsThroughTheInstalledServices) {
  const Ref<ScriptedStore> store = AddScripted();
  store->records["0x00000030"] =
      "ObjectID=0x00000030\nType=Document\nDocumentType=collection\nTitle=en:Music\n";
  const Ref<KXObject> collection = fetchObject("0x00000030", Ref<Store>());
  ASSERT_TRUE(collection);
  // One member, a collection head: the collection is shown as a
  // temporary collection of that head and itself.
  store->records["0x00000031"] =
      "ObjectID=0x00000031\nType=Document\nDocumentType=text\nPresentationHints=CollectionHead\n";
  store->members["0x00000030"] = {"0x00000031"};
  const Ref<KXObject> shown = collectionHeadList(collection);
  ASSERT_TRUE(shown);
  EXPECT_EQ(collectionKind(shown), 1);
  auto* temporary = dynamic_cast<Collection*>(shown.get());
  ASSERT_NE(temporary, nullptr);
  const List* list = temporary->getChildren(nullptr, 0);
  ASSERT_TRUE(list && list->count() == 2);
  EXPECT_EQ(ObjectOf(list->first())->getObjectIdText(), "0x00000031");
  EXPECT_EQ(ObjectOf(list->first()->next()), collection.get());
}

}  // namespace
}  // namespace open_test
