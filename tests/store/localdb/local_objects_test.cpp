// Inserting, deleting, moving and changing objects; members, parents and
// anchors; all of it read back after the database is closed and opened.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/attr_record.h"
#include "core/store_registry.h"
#include "net/open_store.h"
#include "store/localdb/local_database.h"
#include "store/localdb/local_names.h"
#include "support/local_db.h"
#include "support/temp_dir.h"
#include "win/user.h"

namespace {

using localdb_testing::LocalDb;
using Names = std::vector<std::string>;

std::string id(const Ref<KXObject>& o) { return o->getObjectIdText().str(); }

TEST(LocalObjects, ADocumentIsStoredAsItsCleanedRecordWithANewId) {
  LocalDb local;
  Ref<KXObject> shelf = local.collection("shelf", nullptr);
  const std::string before = testing_support::TempDir::read(local.dir().file("DOVIREV.SDO"));
  Ref<KXObject> doc = local.insert(
      "ObjectID=0x00000777\nType=Document\nDocumentType=text\nName=notes\nTitle=en:Notes\n\n\nKeyword=k", shelf);
  const std::string after = testing_support::TempDir::read(local.dir().file("DOVIREV.SDO"));
  const std::uint32_t position = 0x100 + static_cast<std::uint32_t>(before.size());
  EXPECT_EQ(id(doc), localdb::formatId(position) + "@dovirev");
  EXPECT_EQ(after.substr(before.size()),
            "ObjectID=" + localdb::formatId(position) +
                "\nType=Document\nDocumentType=text\nName=notes\nTitle=en:Notes\nKeyword=k\n"
                "Path=LD0xffffffff 0xffffffff\n\n");
  // Collections have no body.
  EXPECT_EQ(before.find("Path="), std::string::npos);
}

TEST(LocalObjects, RecordsAreHandedOutWithTheirDataSetSuffixes) {
  LocalDb local;
  Ref<KXObject> shelf = local.collection("shelf", nullptr);
  Ref<KXObject> doc = local.insert("Type=Document\nDocumentType=text\nName=notes\nTitle=en:Two words\n", shelf);
  const std::string record = local.db().getRecord(CString(id(doc))).str();
  EXPECT_NE(record.find("ObjectID=" + id(doc) + "\n"), std::string::npos) << record;
  EXPECT_NE(record.find("Name=notes @dovirev\n"), std::string::npos) << record;
  EXPECT_NE(record.find("Title=en:Two words\n"), std::string::npos) << record;
  EXPECT_EQ(local.db().getRecord("notes @ dovirev").str(), record);
  EXPECT_EQ(local.db().getRecord("notes").str(), record);
  EXPECT_EQ(local.db().getRecord("nothing"), "");
  EXPECT_EQ(local.db().getRecord("0x00000999@dovirev"), "");
  // Result lists carry a score and no parent lines.
  std::vector<std::string> members = local.results(shelf, kRequestMembers);
  ASSERT_EQ(members, std::vector<std::string>{id(doc)});
}

TEST(LocalObjects, MembersParentsAndAnchorsSurviveReopening) {
  LocalDb local;
  Ref<KXObject> top = local.collection("top", nullptr);
  Ref<KXObject> planets = local.collection("planets", top);
  Ref<KXObject> earth = local.insert("Type=Document\nDocumentType=text\nName=earth\n", planets);
  Ref<KXObject> mars = local.insert("Type=Document\nDocumentType=text\nName=mars\n", planets);
  Ref<KXObject> link = local.insert("Type=Anchor\nTAnchor=Src\nTitle=en:To Mars\nDest=" + id(mars) +
                                        "\nPosition=0x00000001 0x00000004\n",
                                    earth);
  Ref<KXObject> landing = local.insert("Type=Anchor\nTAnchor=Dest\nTitle=en:Landing\nDest=" + id(earth) + "\n", mars);
  const std::string earthId = id(earth), marsId = id(mars), planetsId = id(planets), linkId = id(link),
                    landingId = id(landing), topId = id(top);
  // Objects hold their store: none may outlive the first opening.
  top = planets = earth = mars = link = landing = nullptr;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "as written" : "after reopening");
    if (round == 1) local.reopen();
    Ref<KXObject> p = local.fetch(planetsId), e = local.fetch(earthId), m = local.fetch(marsId);
    ASSERT_TRUE(p && e && m);
    EXPECT_EQ(local.names(p, kRequestMembers), (Names{"earth", "mars"}));
    EXPECT_EQ(local.names(e, kRequestParents), Names{"planets"});
    EXPECT_EQ(local.results(e, kRequestAnchors), std::vector<std::string>{linkId});
    EXPECT_EQ(local.results(m, kRequestReferrers), std::vector<std::string>{linkId});
    EXPECT_EQ(local.results(m, kRequestAnchors), std::vector<std::string>{landingId});
    EXPECT_TRUE(local.results(e, kRequestReferrers).empty()) << "a destination anchor leads nowhere";
    // An object without a parent hangs under the local root.
    EXPECT_EQ(local.results(local.fetch(topId), kRequestParents), std::vector<std::string>{"0xfffffffe@localdb"});
    const std::string anchor = local.db().getRecord(CString(linkId)).str();
    EXPECT_NE(anchor.find("Dest=" + marsId + "\n"), std::string::npos) << anchor;
    EXPECT_NE(anchor.find("Src=" + earthId + "\n"), std::string::npos) << anchor;
    EXPECT_EQ(local.db().getRecord(CString(landingId)).str().find("Dest="), std::string::npos);
  }
}

TEST(LocalObjects, TheLocalRootListsEachDataSetsHomeCollection) {
  LocalDb local("dovirev", "home");
  Ref<KXObject> home = local.collection("home", nullptr);
  local.collection("other", nullptr);
  Ref<KXObject> root = local.fetch("0x00000000");
  ASSERT_TRUE(root);
  EXPECT_EQ(local.results(root, kRequestMembers), std::vector<std::string>{"0xfffffffe@localdb"});
  Ref<KXObject> localRoot = local.fetch("LOCAL-DB-ROOT");
  ASSERT_TRUE(localRoot);
  EXPECT_EQ(local.results(localRoot, kRequestMembers), std::vector<std::string>{id(home)});
  EXPECT_EQ(local.db().collectionCount(localRoot), 1);
}

TEST(LocalObjects, ANameIsTakenUntilItsHolderIsDeleted) {
  LocalDb local;
  Ref<KXObject> a = local.collection("a", nullptr);
  Ref<KXObject> b = local.collection("b", nullptr);
  Ref<KXObject> first = local.insert("Type=Document\nDocumentType=text\nName=unique\n", a);
  Ref<KXObject> again = local.make("Type=Document\nDocumentType=text\nName=unique\n");
  EXPECT_FALSE(local.db().insertObject(again, b, 0));
  EXPECT_EQ(local.db().getError(), 0xF006);
  EXPECT_EQ(local.db().getErrorText(), "You must specify a unique collection name !");
  ASSERT_TRUE(local.db().deleteObject(first));
  EXPECT_TRUE(local.db().insertObject(again, b, 0));
}

TEST(LocalObjects, DeletedObjectsKeepTheirPlaceAndLeaveEveryList) {
  LocalDb local;
  Ref<KXObject> shelf = local.collection("shelf", nullptr);
  Ref<KXObject> doc = local.insert("Type=Document\nDocumentType=text\nName=gone\nKeyword=kw\n", shelf);
  const std::string docId = id(doc);
  const size_t size = testing_support::TempDir::read(local.dir().file("DOVIREV.SDO")).size();
  ASSERT_TRUE(local.db().deleteObject(doc));
  const std::string shelfId = id(shelf);
  shelf = doc = nullptr;
  local.reopen();
  EXPECT_EQ(testing_support::TempDir::read(local.dir().file("DOVIREV.SDO")).size(), size);
  EXPECT_EQ(local.db().getRecord(CString(docId)), "");
  EXPECT_TRUE(local.results(local.fetch(shelfId), kRequestMembers).empty());
  EXPECT_TRUE(local.results(nullptr, kRequestKeyQuery, "Keyword=kw").empty());
  Ref<KXObject> next = local.insert("Type=Document\nDocumentType=text\nName=next\n", local.fetch(shelfId));
  EXPECT_NE(id(next), docId);
}

TEST(LocalObjects, MovingAndRemovingMembers) {
  LocalDb local;
  Ref<KXObject> a = local.collection("a", nullptr);
  Ref<KXObject> b = local.collection("b", nullptr);
  Ref<KXObject> c = local.collection("c", nullptr);
  Ref<KXObject> doc = local.insert("Type=Document\nDocumentType=text\nName=doc\n", a);
  ASSERT_TRUE(local.db().moveObject(doc, a, b));
  EXPECT_TRUE(local.names(a, kRequestMembers).empty());
  EXPECT_EQ(local.names(b, kRequestMembers), Names{"doc"});
  ASSERT_TRUE(local.db().addToCollection(doc, c));
  EXPECT_EQ(local.names(doc, kRequestParents), (Names{"b", "c"}));
  EXPECT_EQ(local.db().collectionCount(c), 1);
  ASSERT_TRUE(local.db().removeFromCollection(doc, b));
  EXPECT_EQ(local.names(doc, kRequestParents), Names{"c"});
  // Leaving its last collection deletes the object.
  ASSERT_TRUE(local.db().removeFromCollection(doc, c));
  EXPECT_EQ(local.db().getRecord(CString(id(doc))), "");
  EXPECT_FALSE(local.db().removeFromCollection(doc, c));
}

TEST(LocalObjects, AttributeChangesAppendANewVersion) {
  LocalDb local;
  Ref<KXObject> shelf = local.collection("shelf", nullptr);
  Ref<KXObject> doc = local.insert("Type=Document\nDocumentType=text\nName=doc\nKeyword=old\nTitle=en:Keyword=old\n", shelf);
  const std::string docId = id(doc);
  const std::string sdo = local.dir().file("DOVIREV.SDO");
  const std::string before = testing_support::TempDir::read(sdo);
  // The key alone names its whole line, matched at a line start only.
  ASSERT_TRUE(local.db().modifyAttributes(doc, "Keyword", "Keyword=new"));
  const std::string after = testing_support::TempDir::read(sdo);
  EXPECT_EQ(after.substr(0, before.size()), before) << "the old version stays as it was";
  const std::string shelfId = id(shelf);
  shelf = doc = nullptr;
  local.reopen();
  const std::string record = local.db().getRecord(CString(docId)).str();
  EXPECT_NE(record.find("ObjectID=" + docId + "\n"), std::string::npos);
  EXPECT_NE(record.find("\nKeyword=new\n"), std::string::npos) << record;
  EXPECT_NE(record.find("Title=en:Keyword=old\n"), std::string::npos) << record;
  EXPECT_EQ(local.results(nullptr, kRequestKeyQuery, "Keyword=new"), std::vector<std::string>{docId});
  EXPECT_TRUE(local.results(nullptr, kRequestKeyQuery, "Keyword=old").empty());
  EXPECT_EQ(local.names(local.fetch(shelfId), kRequestMembers), Names{"doc"});
  ASSERT_TRUE(local.db().modifyAttributes(local.fetch(docId), "", "Author=someone"));
  EXPECT_EQ(local.results(nullptr, kRequestKeyQuery, "Author=someone"), std::vector<std::string>{docId});
}

TEST(LocalObjects, ARecordWithoutItsEndMarkIsCappedWhenRead) {
  LocalDb local;
  KeyedStore& store = *local.db().keyedStore();
  const int set = local.db().defaultDataSet();
  WriteItem write;
  ASSERT_TRUE(store.openAppend(set, WriteItem::kRecords, write));
  const std::string junk(3 * LocalDatabase::kMaxRecordBytes, 'x');
  ASSERT_TRUE(store.append(write, junk.data(), static_cast<long>(junk.size())));
  store.close(write);
  ASSERT_TRUE(store.insertKey(set, localdb::idKey(localdb::KeyKind::kRecord, write.position), DataItem::kText,
                              write.position));
  std::string text;
  ASSERT_TRUE(local.db().readStoredRecord(set, write.position, text));
  EXPECT_EQ(text.size(), LocalDatabase::kMaxRecordBytes);
}

TEST(LocalObjects, TypesOtherThanDocumentsAndAnchorsAreNotStored) {
  LocalDb local;
  const size_t size = testing_support::TempDir::read(local.dir().file("DOVIREV.SDO")).size();
  Ref<KXObject> user = local.make("Type=User\nUName=someone\n");
  EXPECT_FALSE(local.db().insertObject(user, nullptr, 0));
  EXPECT_EQ(testing_support::TempDir::read(local.dir().file("DOVIREV.SDO")).size(), size);
}

}  // namespace

namespace {

TEST(LocalObjectsAcrossDataSets, AMembershipBetweenDataSetsIsARelationRecord) {
  testing_support::TempDir dir;
  KeyedStore::createDataSet(dir.path().string(), "alpha", "a");
  KeyedStore::createDataSet(dir.path().string(), "beta", "b");
  const std::string list = dir.write("sets.ML", "5 ALPHA.CFG\n6 BETA.CFG\n");
  InstallObjectFactory();
  ClearObjectCache();
  std::string docId, shelfId, homeId;
  auto open = [&] { return Ref<LocalDatabase>(new LocalDatabase(CString("kxlocal:" + list))); };
  auto make = [&](LocalDatabase& db, const std::string& record) {
    Ref<KXObject> o(createObject(CString(record)));
    o->setStore(Ref<Store>(&db));
    return o;
  };
  auto ids = [&](LocalDatabase& db, const Ref<KXObject>& o, int kind) {
    std::vector<std::string> out;
    StoreEntry* entry = db.openRequest(o, kind, nullptr, CString());
    List* l = db.getResults(entry, -1, nullptr);
    for (ListElement* e = l ? l->first() : nullptr; e; e = e->next()) out.push_back(ObjectOf(e)->getObjectIdText().str());
    DeleteObjectList(l);
    db.closeRequest(entry);
    std::sort(out.begin(), out.end());
    return out;
  };
  {
    Ref<LocalDatabase> db = open();
    Ref<KXObject> home = make(*db, "Type=Document\nDocumentType=collection\nName=home\n");
    ASSERT_TRUE(db->insertObject(home, nullptr, 0));
    Ref<KXObject> shelfInBeta = make(*db, "Type=Document\nDocumentType=collection\nName=shelf\n");
    // Inserted below a place in beta, the shelf goes to beta.
    Ref<KXObject> placeInBeta = objectForRecord(CString("ObjectID=0x00000100@beta\nType=Document\n"), Ref<Store>(db.get()));
    ASSERT_TRUE(db->insertObject(shelfInBeta, placeInBeta, 0));
    Ref<KXObject> doc = make(*db, "Type=Document\nDocumentType=text\nName=doc\n");
    ASSERT_TRUE(db->insertObject(doc, home, 0));
    docId = doc->getObjectIdText().str();
    shelfId = shelfInBeta->getObjectIdText().str();
    homeId = home->getObjectIdText().str();
    ASSERT_NE(docId.find("@alpha"), std::string::npos);
    ASSERT_NE(shelfId.find("@beta"), std::string::npos);
    ASSERT_TRUE(db->addToCollection(doc, shelfInBeta));
    ClearObjectCache();
  }
  {
    Ref<LocalDatabase> db = open();
    Ref<KXObject> doc = objectForRecord(db->getRecord(CString(docId)), Ref<Store>(db.get()));
    Ref<KXObject> shelf = objectForRecord(db->getRecord(CString(shelfId)), Ref<Store>(db.get()));
    ASSERT_TRUE(doc && shelf);
    EXPECT_EQ(ids(*db, shelf, kRequestMembers), std::vector<std::string>{docId});
    std::vector<std::string> parents{homeId, shelfId};
    std::sort(parents.begin(), parents.end());
    EXPECT_EQ(ids(*db, doc, kRequestParents), parents);
    ASSERT_TRUE(db->removeFromCollection(doc, shelf));
    EXPECT_TRUE(ids(*db, shelf, kRequestMembers).empty());
    EXPECT_EQ(ids(*db, doc, kRequestParents), std::vector<std::string>{homeId});
    ClearObjectCache();
  }
}

TEST(LocalObjectsAcrossDataSets, LinksBetweenDataSetsGoToTheLinkDataSet) {
  testing_support::TempDir dir;
  KeyedStore::createDataSet(dir.path().string(), "alpha", "a");
  KeyedStore::createDataSet(dir.path().string(), "beta", "b");
  KeyedStore::createDataSet(dir.path().string(), "links", "l");
  const std::string list = dir.write("sets.ML", "5 ALPHA.CFG\n6 BETA.CFG\n9 LINKS.CFG\n");
  InstallObjectFactory();
  ClearObjectCache();
  auto size = [&](const char* file) { return testing_support::TempDir::read(dir.file(file)).size(); };
  auto ids = [](LocalDatabase& db, const Ref<KXObject>& o, int kind) {
    std::vector<std::string> out;
    StoreEntry* entry = db.openRequest(o, kind, nullptr, CString());
    List* l = db.getResults(entry, -1, nullptr);
    for (ListElement* e = l ? l->first() : nullptr; e; e = e->next()) out.push_back(ObjectOf(e)->getObjectIdText().str());
    DeleteObjectList(l);
    db.closeRequest(entry);
    return out;
  };
  std::string docId, pictureId, anchorId;
  {
    Ref<LocalDatabase> db(new LocalDatabase(CString("kxlocal:" + list)));
    auto insert = [&](const std::string& record, const Ref<KXObject>& where) {
      Ref<KXObject> o(createObject(CString(record)));
      o->setStore(Ref<Store>(db.get()));
      EXPECT_TRUE(db->insertObject(o, where, 0)) << record;
      return o;
    };
    Ref<KXObject> placeInBeta =
        objectForRecord(CString("ObjectID=0x00000100@beta\nType=Document\n"), Ref<Store>(db.get()));
    Ref<KXObject> home = insert("Type=Document\nDocumentType=collection\nName=home\n", nullptr);
    Ref<KXObject> doc = insert("Type=Document\nDocumentType=text\nName=doc\n", home);
    Ref<KXObject> picture = insert("Type=Document\nDocumentType=image\nName=pic\n", placeInBeta);
    docId = doc->getObjectIdText().str();
    pictureId = picture->getObjectIdText().str();
    ASSERT_NE(docId.find("@alpha"), std::string::npos);
    ASSERT_NE(pictureId.find("@beta"), std::string::npos);
    const size_t alpha = size("ALPHA.SDO");
    const size_t beta = size("BETA.SDO");
    const size_t links = size("LINKS.SDO");
    Ref<KXObject> anchor = insert("Type=Anchor\nTAnchor=Src\nDest=" + pictureId + "\nTitle=en:The picture\n", doc);
    anchorId = anchor->getObjectIdText().str();
    EXPECT_NE(anchorId.find("@links"), std::string::npos) << anchorId;
    // Only the link data set grew.
    EXPECT_EQ(size("ALPHA.SDO"), alpha);
    EXPECT_EQ(size("BETA.SDO"), beta);
    EXPECT_GT(size("LINKS.SDO"), links);
    ClearObjectCache();
  }
  Ref<LocalDatabase> db(new LocalDatabase(CString("kxlocal:" + list)));
  Ref<KXObject> doc = objectForRecord(db->getRecord(CString(docId)), Ref<Store>(db.get()));
  Ref<KXObject> picture = objectForRecord(db->getRecord(CString(pictureId)), Ref<Store>(db.get()));
  ASSERT_TRUE(doc && picture);
  EXPECT_EQ(ids(*db, doc, kRequestAnchors), std::vector<std::string>{anchorId});
  EXPECT_EQ(ids(*db, picture, kRequestReferrers), std::vector<std::string>{anchorId});
  const std::string anchor = db->getRecord(CString(anchorId)).str();
  EXPECT_NE(anchor.find("Dest=" + pictureId + "\n"), std::string::npos) << anchor;
  ClearObjectCache();
}

}  // namespace
