// Object utilities: links, type names, member counts, addresses,
// descriptions, collection kinds and heads. What needs anchors, documents
// and collections goes through stand-in services.
#include "core/object_utils.h"

#include <map>
#include <string>

#include <gtest/gtest.h>

#include "core/logbook.h"
#include "core/objects/support/fake_store.h"
#include "support/temp_dir.h"

namespace {

// A base object with the class code of a subclass.
class Classed : public KXObject {
 public:
  Classed(const CString& record, std::int32_t code) : KXObject(record, Ref<Store>()) {
    classCode = code;
  }
};

// What the anchor, document and collection classes will provide.
class FakeServices : public ObjectUtilityServices {
 public:
  FakeServices() { previous_ = SetObjectUtilityServices(this); }
  ~FakeServices() override {
    SetObjectUtilityServices(previous_);
    for (auto& entry : lists) entry.second.clearAndDelete();
  }

  Ref<KXObject> anchorDestination(KXObject& anchor) override {
    auto it = destinations.find(anchor.getObjectId());
    return it == destinations.end() ? Ref<KXObject>() : it->second;
  }
  Ref<KXObject> resolveReference(const CString& name) override {
    resolved.push_back(name.str());
    auto it = references.find(name.str());
    return it == references.end() ? Ref<KXObject>() : it->second;
  }
  const List* destinationAnchors(KXObject& document) override { return find(document); }
  const List* collectionChildren(KXObject& collection) override { return find(collection); }
  void clusterMembers(KXObject& cluster, List& out) override {
    if (const List* members = find(cluster))
      for (ListElement* e = members->first(); e; e = e->next())
        AppendObject(out, Ref<KXObject>(ObjectOf(e)));
  }
  Ref<KXObject> makeMultiCluster(const CString& title, const List& members) override {
    madeTitle = title.str();
    madeMembers = Identifiers(&members);
    multiCluster = Ref<KXObject>(new Classed(Record(0, "Type=Document\n"), kClassCollection));
    return multiCluster;
  }

  // The list kept for an object (anchors, children or members by id).
  List& listOf(const Ref<KXObject>& o) { return lists[o->getObjectId()]; }

  std::map<std::int32_t, Ref<KXObject>> destinations;
  std::map<std::string, Ref<KXObject>> references;
  std::map<std::int32_t, List> lists;
  std::vector<std::string> resolved;
  std::string madeTitle;
  std::vector<std::string> madeMembers;
  Ref<KXObject> multiCluster;

 private:
  const List* find(KXObject& o) {
    auto it = lists.find(o.getObjectId());
    return it == lists.end() ? nullptr : &it->second;
  }
  ObjectUtilityServices* previous_ = nullptr;
};

class ObjectUtils : public ObjectModelTest {
 protected:
  void SetUp() override {
    ObjectModelTest::SetUp();
    savedLog_ = TheLogbook().FileName();
    TheLogbook().SetFileName(tmp_.file("tolm.log").c_str());
  }
  void TearDown() override {
    TheLogbook().SetFileName(savedLog_.c_str());
    ObjectModelTest::TearDown();
  }
  std::string Log() {
    TheLogbook().Close();
    return testing_support::TempDir::read(tmp_.file("tolm.log"));
  }

  Ref<KXObject> Obj(std::int32_t id, std::int32_t code, const char* lines = "") {
    Ref<KXObject> o(new Classed(Record(id, lines), code));
    o->setStore(Ref<Store>(server));
    return o;
  }
  Ref<KXObject> Doc(std::int32_t id, const char* lines = "") {
    return Obj(id, kClassDocument, (std::string("Type=Document\n") + lines).c_str());
  }
  Ref<KXObject> Coll(std::int32_t id, const char* lines = "") {
    return Obj(id, kClassCollection,
               (std::string("Type=Document\nDocumentType=collection\n") + lines).c_str());
  }

  FakeServices services;

 private:
  testing_support::TempDir tmp_;
  CString savedLog_;
};

TEST(ObjectTypeName, Table) {
  const struct {
    int code;
    const char* name;
  } cases[] = {{0, "KXObject"},   {1, "Anchor"},          {2, "unknown"},
               {3, "unknown"},    {4, "Document"},        {5, "Collection"},
               {6, "Cluster"},    {7, "Text"},            {15, "Remote"},
               {16, "WWWDocument"}, {21, "GopherCollection"}, {26, "WaisImage"},
               {27, "TelnetSession"}, {28, "FTPDocument"}, {29, "unknown"},
               {30, "unknown"},   {31, "FakeObject"},     {32, "unknown"},
               {-1, "unknown"}};
  for (const auto& c : cases) EXPECT_STREQ(objectTypeName(c.code), c.name) << c.code;
}

TEST_F(ObjectUtils, NonAnchorsStandForThemselves) {
  Ref<KXObject> doc = Doc(1);
  EXPECT_EQ(followLink(doc), doc);
  EXPECT_FALSE(followLink(Ref<KXObject>()));
  EXPECT_EQ(linkTargetClass(doc), kClassDocument);
  EXPECT_EQ(linkTargetClass(Ref<KXObject>()), 0);
  EXPECT_TRUE(isDocument(doc));
  EXPECT_FALSE(isDocument(Obj(2, kClassAnchor, "Type=Anchor\n")));
  EXPECT_FALSE(isDocument(Ref<KXObject>()));
}

TEST_F(ObjectUtils, SourceAnchorsFollowDestOrUrlHint) {
  Ref<KXObject> target = Doc(9);
  services.references["0x00000009"] = target;
  services.references["korvex://h/x"] = target;
  const char* anchors[] = {
      "TAnchor=Src\nDest=0x00000009\n",
      "TAnchor=Src\nDest=\nHint=url:korvex://h/x\n",  // any letter case
      "TAnchor=Src\nHint=URL:korvex://h/x\n",
  };
  for (const char* lines : anchors) {
    Ref<KXObject> a = Obj(2, kClassAnchor, lines);
    EXPECT_EQ(followLink(a), target) << lines;
    EXPECT_EQ(linkTargetClass(a), kClassDocument) << lines;
  }
  // A hint of another kind names nothing.
  EXPECT_FALSE(followLink(Obj(2, kClassAnchor, "TAnchor=Src\nHint=see page 3\n")));
}

TEST_F(ObjectUtils, DestinationAnchorsGiveTheirDestinationObject) {
  Ref<KXObject> a = Obj(2, kClassAnchor, "TAnchor=Dest\nDest=0x00000009\n");
  EXPECT_FALSE(followLink(a));
  services.destinations[2] = Doc(7);
  EXPECT_EQ(followLink(a)->getObjectId(), 7);
  EXPECT_TRUE(services.resolved.empty());
}

TEST_F(ObjectUtils, FragmentFindsTheDestinationAnchor) {
  Ref<KXObject> doc = Doc(9);
  services.references["0x00000009"] = doc;
  Ref<KXObject> other = Obj(20, kClassAnchor, "TAnchor=Dest\nKeyword=outro\n");
  Ref<KXObject> intro = Obj(21, kClassAnchor, "TAnchor=Dest\nKeyword=x\nKeyword=intro\n");
  AppendObject(services.listOf(doc), other);
  AppendObject(services.listOf(doc), intro);
  Ref<KXObject> a = Obj(2, kClassAnchor, "TAnchor=Src\nDest=0x00000009\nFragment=intro\n");
  EXPECT_EQ(followLink(a), intro);
  EXPECT_EQ(Log(), "");
}

TEST_F(ObjectUtils, MissingFragmentIsLoggedAndGivesTheDocument) {
  Ref<KXObject> doc = Doc(9);
  services.references["0x00000009"] = doc;
  Ref<KXObject> a = Obj(2, kClassAnchor, "TAnchor=Src\nDest=0x00000009\nFragment=intro\n");
  EXPECT_EQ(followLink(a), doc);
  EXPECT_EQ(Log(), "Fragment intro not found in object 0x00000009\n");
}

TEST_F(ObjectUtils, WithoutServicesAnchorsLeadNowhere) {
  SetObjectUtilityServices(nullptr);
  EXPECT_FALSE(followLink(Obj(2, kClassAnchor, "TAnchor=Src\nDest=0x00000009\n")));
  EXPECT_FALSE(followLink(Obj(2, kClassAnchor, "TAnchor=Dest\n")));
  SetObjectUtilityServices(&services);
}

TEST(TypeCountArray, GrowsByFivePairs) {
  TypeCount counts;
  for (int code = 0; code < 5; ++code) counts.add(code);
  EXPECT_EQ(counts.capacity(), 5);
  counts.add(9);
  EXPECT_EQ(counts.capacity(), 10);
  counts.add(9);
  EXPECT_EQ(counts.pairCount(), 6);
  EXPECT_EQ(counts.count(9), 2);
  EXPECT_EQ(counts.count(8), 0);
  EXPECT_EQ(counts.total(), 7);
  counts.clear();
  EXPECT_EQ(counts.total(), 0);
  EXPECT_EQ(counts.pairCount(), 0);
  EXPECT_EQ(counts.capacity(), 0);
}

TEST_F(ObjectUtils, CountMembersByKindOfCollection) {
  TypeCount counts;
  // A plain collection, and one of type Sequence, count themselves.
  for (const char* lines : {"", "CollectionType=Sequence\n"}) {
    Ref<KXObject> c = Coll(1, lines);
    AppendObject(services.listOf(c), Doc(2));
    counts.countMembers(c);
    EXPECT_EQ(counts.total(), 1) << lines;
    EXPECT_EQ(counts.count(kClassCollection), 1) << lines;
    EXPECT_EQ(counts.object(), c);
    services.listOf(c).clearAndDelete();
  }

  // A MultiCluster counts its children by what they stand for.
  Ref<KXObject> multi = Coll(3, "CollectionType=MultiCluster\n");
  Ref<KXObject> image = Obj(4, kClassImage);
  services.references["0x00000005"] = Obj(5, kClassText);
  AppendObject(services.listOf(multi), image);
  AppendObject(services.listOf(multi), Obj(6, kClassImage));
  AppendObject(services.listOf(multi), Obj(7, kClassAnchor, "TAnchor=Src\nDest=0x00000005\n"));
  counts.countMembers(multi);
  EXPECT_EQ(counts.total(), 3);
  EXPECT_EQ(counts.count(kClassImage), 2);
  EXPECT_EQ(counts.count(kClassText), 1);

  // A cluster counts its member list; an anchor to it is followed first.
  Ref<KXObject> cluster = Obj(8, kClassCluster, "Type=Document\nCollectionType=Cluster\n");
  AppendObject(services.listOf(cluster), Obj(9, kClassSound));
  services.references["0x00000008"] = cluster;
  counts.countMembers(Obj(10, kClassAnchor, "TAnchor=Src\nDest=0x00000008\n"));
  EXPECT_EQ(counts.object(), cluster);
  EXPECT_EQ(counts.total(), 1);
  EXPECT_EQ(counts.count(kClassSound), 1);

  counts.countMembers(Ref<KXObject>());
  EXPECT_EQ(counts.total(), 0);
}

TEST_F(ObjectUtils, ObjectUrl) {
  const struct {
    const char* id;
    const char* url;
  } cases[] = {
      {"0x00000010", "korvex:0x1 0x2"},
      {"0X00000010", "korvex:0x1 0x2"},
      {"http://www.x.at/a", "http://www.x.at/a"},
      {"0x00000010@host", "0x00000010@host"},  // an "@" after the start
      {"@0x00000010", "korvex:0x1 0x2"},       // only at the start
      {"", ""},
  };
  for (const auto& c : cases) {
    Ref<KXObject> o = Obj(16, kClassDocument, "GOid=0x1 0x2\n");
    if (*c.id) {
      o->invalidate(kRefreshAll);
      o->parseAttributes(CString("ObjectID=") + c.id + "\nGOid=0x1 0x2\n");
    } else {
      o->setStore(Ref<Store>());
    }
    EXPECT_EQ(objectUrl(o), c.url) << c.id;
  }
  EXPECT_EQ(objectUrl(Ref<KXObject>()), "");
  // No global id, no address: never the same "korvex:" for every object.
  EXPECT_EQ(objectUrl(Obj(17, kClassDocument, "Title=en:Quay\n")), "");
}

TEST_F(ObjectUtils, DescribeObject) {
  EXPECT_EQ(describeObject(Ref<KXObject>()), "(no object)");
  EXPECT_EQ(describeObject(Coll(1, "GOid=0x5 0x6\nTitle=en:Home\n")),
            "URL:korvex:0x5 0x6 type:Collection Title:Home");
  EXPECT_EQ(describeObject(Coll(1, "GOid=g\nCollectionType=MultiCluster\n")),
            "URL:korvex:g type:MultiCluster");
  EXPECT_EQ(describeObject(Obj(2, kClassText,
                               "Type=Document\nGOid=g\nName=a\nName=b\n"
                               "PresentationHints=Hidden\n")),
            "URL:korvex:g type:Text Name:a Name:b Presentation:Hidden");
  // Not a document: names and hints are not read; no address without a
  // store.
  Ref<KXObject> anchor(new Classed(Record(3, "Type=Anchor\nName=n\n"), kClassAnchor));
  EXPECT_EQ(describeObject(anchor), " type:Anchor");
}

TEST_F(ObjectUtils, CollectionKind) {
  const struct {
    const char* lines;
    int kind;
    const char* log;
  } cases[] = {
      {"", 0, ""},
      {"CollectionType=MultiCluster\n", 1, ""},
      {"CollectionType=Sequence\n", 0, ""},
      {"CollectionType=Odd\nName=top\nName=second\n", 0,
       "Unknown collection type 'Odd' found in collectiontop\n"},
      {"CollectionType=Odd\n", 0, "Unknown collection type 'Odd' found in collection\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(collectionKind(Coll(1, c.lines)), c.kind) << c.lines;
    EXPECT_EQ(Log(), c.log) << c.lines;
    TheLogbook().Remove();
  }
  // Only class 5 exactly: a cluster is of kind 0.
  EXPECT_EQ(collectionKind(Obj(2, kClassCluster, "CollectionType=MultiCluster\n")), 0);
  EXPECT_EQ(collectionKind(Ref<KXObject>()), 0);
}

TEST_F(ObjectUtils, HeadMarks) {
  const struct {
    const char* lines;
    bool hidden, fullHead, head;
  } cases[] = {
      {"Type=Document\n", false, false, false},
      {"Type=Document\nPresentationHints=collectionhead hidden\n", true, false, false},
      {"Type=Document\nPresentationHints=CollectionHead\n", false, false, true},
      {"Type=Document\nPresentationHints=FullCollectionHead\n", false, true, true},
      {"Type=Anchor\nPresentationHints=CollectionHead\n", true, false, false},
  };
  for (const auto& c : cases) {
    Ref<KXObject> o = Obj(1, kClassDocument, c.lines);
    EXPECT_EQ(isHidden(o), c.hidden) << c.lines;
    EXPECT_EQ(isFullCollectionHead(o), c.fullHead) << c.lines;
    EXPECT_EQ(isCollectionHead(o), c.head) << c.lines;
  }
  EXPECT_TRUE(isHidden(Ref<KXObject>()));
  EXPECT_FALSE(isCollectionHead(Ref<KXObject>()));
}

TEST_F(ObjectUtils, CollectionHeadList) {
  Ref<KXObject> coll = Coll(1);
  EXPECT_FALSE(collectionHeadList(coll));  // no children
  Ref<KXObject> plain = Doc(2);
  Ref<KXObject> head = Doc(3, "PresentationHints=CollectionHead\n");
  Ref<KXObject> full = Doc(4, "PresentationHints=FullCollectionHead\n");
  AppendObject(services.listOf(coll), plain);
  EXPECT_FALSE(collectionHeadList(coll));

  // The first head decides: a collection head gives a new collection of
  // the head and the collection.
  AppendObject(services.listOf(coll), head);
  AppendObject(services.listOf(coll), full);
  Ref<KXObject> made = collectionHeadList(coll);
  EXPECT_EQ(made, services.multiCluster);
  EXPECT_EQ(services.madeTitle, "");
  EXPECT_EQ(services.madeMembers, (std::vector<std::string>{"0x00000003", "0x00000001"}));

  // A full collection head is the result itself.
  services.listOf(coll).clearAndDelete();
  AppendObject(services.listOf(coll), full);
  AppendObject(services.listOf(coll), head);
  EXPECT_EQ(collectionHeadList(coll), full);

  // Not a collection, or the root or an object without an id text.
  EXPECT_FALSE(collectionHeadList(Doc(5)));
  EXPECT_FALSE(collectionHeadList(Ref<KXObject>()));
  Ref<KXObject> root = Coll(0);
  AppendObject(services.listOf(root), full);
  EXPECT_FALSE(collectionHeadList(root));
}

}  // namespace
