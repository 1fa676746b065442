// Clusters: the type check, the choice of the members to show (one per
// document type by language, text first, hidden ones left out, nested
// clusters expanded), the invalidation by the earlier flags, and clusters
// that contain themselves.
#include "core/cluster.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/fatal.h"
#include "core/languages.h"
#include "core/object_id.h"
#include "core/objects/support/fake_store.h"
#include "win/user.h"

namespace {

struct FatalExit {
  int status;
};

// Puts the program's language order back after a test changes it.
class LanguageOrder {
 public:
  explicit LanguageOrder(const char* codes) : saved_(Languages::instance()->orderString()) {
    Languages::instance()->setOrder(codes);
  }
  ~LanguageOrder() { Languages::instance()->setOrder(saved_.c_str()); }

 private:
  CString saved_;
};

std::vector<std::string> Names(const KXObject& o) {
  std::vector<std::string> out;
  if (const List* names = o.getNameList())
    for (ListElement* e = names->first(); e; e = e->next())
      out.push_back(static_cast<NameElement*>(e)->text.str());
  return out;
}

class ClusterTest : public ObjectModelTest {
 protected:
  void TearDown() override {
    // Clusters that hold themselves let go of their members.
    for (const Ref<Cluster>& c : clusters) c->clearMembers();
    clusters.clear();
    ObjectModelTest::TearDown();
  }

  // A cluster of the local store whose members the store hands out.
  Ref<Cluster> MakeCluster(std::int32_t id, std::vector<Ref<KXObject>> members = {}) {
    Ref<Cluster> c(new Cluster(
        Record(id, "Type=Document\nDocumentType=collection\nCollectionType=Cluster\n"), nullptr));
    c->setStore(Ref<Store>(local));
    local->setResults(kRequestMembers, ObjectId(id).Format(), std::move(members));
    clusters.push_back(c);
    return c;
  }
  void setMembers(const Ref<Cluster>& c, std::vector<Ref<KXObject>> members) {
    local->setResults(kRequestMembers, c->getIdentifier(), std::move(members));
  }
  // A document of the local store: "Type=Document" and the given lines.
  Ref<KXObject> Doc(std::int32_t id, const char* lines) {
    return MakeObject(Record(id, (std::string("Type=Document\n") + lines).c_str()),
                      Ref<Store>(local));
  }
  std::vector<std::string> Visible(const Ref<Cluster>& c, bool recursive, bool* result = nullptr) {
    List out;
    const bool r = c->collectVisibleMembers(out, recursive);
    if (result) *result = r;
    std::vector<std::string> ids = Identifiers(&out);
    out.clearAndDelete();
    return ids;
  }

  std::vector<Ref<Cluster>> clusters;
};

TEST_F(ClusterTest, ConstructionChecksTheCollectionType) {
  Ref<Cluster> c = MakeCluster(1);
  EXPECT_EQ(c->getClassCode(), kClassCluster);
  FatalExitHook previous = SetFatalExitHook([](int status) { throw FatalExit{status}; });
  win::ClearMessageBoxLog();
  try {
    Ref<Cluster> bad(new Cluster(
        Record(2, "Type=Document\nDocumentType=collection\nCollectionType=Sequence\n"),
        NewObjectList()));
    ADD_FAILURE() << "constructed";
  } catch (const FatalExit& e) {
    EXPECT_EQ(e.status, -1);
  }
  SetFatalExitHook(previous);
  ASSERT_EQ(win::MessageBoxLog().size(), 1u);
  EXPECT_EQ(win::MessageBoxLog()[0].text, "Fatal Error: Cluster with CollectionType=Sequence");
}

TEST_F(ClusterTest, OneTextPerTypeInThePreferredLanguage) {
  LanguageOrder order("geen");
  Ref<KXObject> english = Doc(10, "DocumentType=text\nTitle=en:Hello\n");
  Ref<KXObject> german = Doc(11, "DocumentType=text\nTitle=ge:Hallo\n");
  Ref<Cluster> c = MakeCluster(1, {english, german});
  EXPECT_EQ(Visible(c, false), std::vector<std::string>{"0x0000000b"});
  // Both know the identifiers of the group, their own included.
  const std::vector<std::string> alternatives{"0x0000000a", "0x0000000b"};
  EXPECT_EQ(Names(*english), alternatives);
  EXPECT_EQ(Names(*german), alternatives);
}

TEST_F(ClusterTest, Placement) {
  LanguageOrder order("en");  // ge and fr are inactive: both rank 20
  const struct {
    const char* what;
    std::vector<const char*> members;  // lines of documents 10, 11, ...
    std::vector<std::string> visible;
  } cases[] = {
      {"equal rank: the first stays",
       {"DocumentType=Image\nTitle=ge:Bild\n", "DocumentType=Image\nTitle=fr:Image\n"},
       {"0x0000000a"}},
      {"a better rank later replaces the first",
       {"DocumentType=Image\nTitle=ge:Bild\n", "DocumentType=Image\nTitle=en:Picture\n"},
       {"0x0000000b"}},
      {"hidden members are never placed",
       {"DocumentType=Image\nTitle=en:A\nPresentationHints=Hidden\n",
        "DocumentType=Sound\nTitle=en:B\nPresentationHints=FullHidden x\n",
        "DocumentType=Movie\nTitle=en:C\nPresentationHints=hidden\n"},
       {"0x0000000c"}},  // the comparison is case-sensitive
      {"multi-language and untitled members are placed as they are, first",
       {"DocumentType=Image\nTitle=en:A\n", "DocumentType=Image\nTitle=en:B\nTitle=ge:C\n",
        "DocumentType=Sound\n"},
       {"0x0000000b", "0x0000000c", "0x0000000a"}},
      {"groups in the order their type first occurs",
       {"DocumentType=Sound\nTitle=en:A\n", "DocumentType=Image\nTitle=en:B\n",
        "DocumentType=Sound\nTitle=ge:C\n"},
       {"0x0000000a", "0x0000000b"}},
      {"text goes to the front, in reverse order of placement",
       {"DocumentType=Image\nTitle=en:A\n", "DocumentType=text\nTitle=en:B\nTitle=ge:B\n",
        "DocumentType=text\nTitle=en:C\n", "DocumentType=Sound\n"},
       {"0x0000000c", "0x0000000b", "0x0000000d", "0x0000000a"}},
      {"only documents", {"DocumentType=text\nTitle=en:A\nType=Anchor\n"}, {"0x0000000a"}},
  };
  for (const auto& c : cases) {
    std::vector<Ref<KXObject>> members;
    std::int32_t id = 10;
    for (const char* lines : c.members) members.push_back(Doc(id++, lines));
    Ref<Cluster> cluster = MakeCluster(1, members);
    EXPECT_EQ(Visible(cluster, true), c.visible) << c.what;
  }
  // An object whose type is not "Document" is left out.
  Ref<KXObject> anchor = MakeObject(Record(20, "Type=Anchor\nTitle=en:A\n"), Ref<Store>(local));
  EXPECT_TRUE(Visible(MakeCluster(2, {anchor}), true).empty());
}

TEST_F(ClusterTest, HiddenMembersGetNoAlternatives) {
  Ref<KXObject> hidden = Doc(10, "DocumentType=Image\nTitle=en:A\nPresentationHints=Hidden\n");
  Ref<KXObject> shown = Doc(11, "DocumentType=Image\nTitle=ge:B\n");
  Visible(MakeCluster(1, {hidden, shown}), true);
  EXPECT_EQ(hidden->getNameList(), nullptr);
  EXPECT_EQ(Names(*shown), std::vector<std::string>{"0x0000000b"});
}

TEST_F(ClusterTest, NoMembers) {
  Ref<Cluster> empty = MakeCluster(1);
  List out;
  AppendObject(out, Doc(5, ""));
  EXPECT_FALSE(empty->collectVisibleMembers(out, true));
  EXPECT_EQ(out.count(), 1);  // untouched
  Ref<Cluster> refused(new Cluster(
      Record(2, "Type=Document\nDocumentType=collection\nCollectionType=Cluster\n"), nullptr));
  refused->setStore(Ref<Store>(local));  // the store knows no members
  EXPECT_FALSE(refused->collectVisibleMembers(out, true));
  EXPECT_EQ(out.count(), 1);
  out.clearAndDelete();
}

TEST_F(ClusterTest, NestedClustersExpandOnlyWhenRecursive) {
  Ref<Cluster> inner = MakeCluster(2, {Doc(20, "DocumentType=text\nTitle=en:T\n"),
                                       Doc(21, "DocumentType=Image\nTitle=en:I\n")});
  Ref<Cluster> outer = MakeCluster(1, {Doc(10, "DocumentType=Sound\n"), inner,
                                       Doc(11, "DocumentType=Movie\n")});
  EXPECT_EQ(Visible(outer, false),
            (std::vector<std::string>{"0x0000000a", "0x00000002", "0x0000000b"}));
  EXPECT_EQ(Visible(outer, true),
            (std::vector<std::string>{"0x00000014", "0x0000000a", "0x00000015", "0x0000000b"}));
}

// A cluster that contains itself, directly or through another, is expanded
// once: the stack does not overflow and no member is shown twice.
TEST_F(ClusterTest, SelfContainingClusters) {
  Ref<Cluster> self = MakeCluster(1);
  setMembers(self, {Doc(10, "DocumentType=Image\n"), self});
  EXPECT_EQ(Visible(self, true), std::vector<std::string>{"0x0000000a"});

  Ref<Cluster> a = MakeCluster(2);
  Ref<Cluster> b = MakeCluster(3);
  setMembers(a, {Doc(20, "DocumentType=Image\n"), b});
  setMembers(b, {Doc(30, "DocumentType=Sound\n"), a});
  EXPECT_EQ(Visible(a, true), (std::vector<std::string>{"0x00000014", "0x0000001e"}));
  EXPECT_EQ(Visible(b, true), (std::vector<std::string>{"0x0000001e", "0x00000014"}));
  // A second expansion finds the same.
  bool result = false;
  EXPECT_EQ(Visible(a, true, &result).size(), 2u);
  EXPECT_TRUE(result);

  // Invalidating such clusters ends too.
  a->invalidate(kRefreshAll);
  self->invalidate(kRefreshAll);
  EXPECT_EQ(a->memberList(), nullptr);
  EXPECT_EQ(self->memberList(), nullptr);
}

// The cluster drops its members by the flags in force before the call
// (0x80000000 or 0x2), handing those flags to every member; the
// collection's rule for the new flags follows.
TEST_F(ClusterTest, InvalidationByTheEarlierFlags) {
  Ref<KXObject> member = Doc(10, "DocumentType=Image\n");
  Ref<Cluster> c = MakeCluster(1, {member});
  const struct {
    const char* what;
    std::uint32_t earlier;
    std::uint32_t flags;
    bool drops;
    std::uint32_t memberFlags;
  } cases[] = {
      {"earlier 0x2", kRefreshContent, kRefreshAttributes, true, kRefreshContent},
      {"earlier 0x80000000", kRefreshAll, kRefreshAttributes, true, kRefreshAll},
      {"earlier 0x8, now 0x8", kRefreshAttributes, kRefreshAttributes, false, 0},
      {"earlier 0x8, now 0x2", kRefreshAttributes, kRefreshContent, false, 0},
      {"earlier 0x8, now 0x1", kRefreshAttributes, kRefreshMembers, true, kRefreshAttributes},
  };
  for (const auto& k : cases) {
    c->invalidate(k.earlier);
    c->clearMembers();
    member->invalidate(0);
    ASSERT_NE(c->getChildren(nullptr, 0), nullptr);
    c->invalidate(k.flags);
    EXPECT_EQ(c->getRefreshFlags(), k.flags) << k.what;
    EXPECT_EQ(c->memberList() == nullptr, k.drops) << k.what;
    EXPECT_EQ(member->getRefreshFlags(), k.memberFlags) << k.what;
  }
}

}  // namespace
