// Clusters: the type check, invalidation of the members, and the choice of
// the members to show.
#include "core/cluster.h"

#include <vector>

#include "core/fatal.h"
#include "core/languages.h"

namespace {

// A document type among a cluster's single-title members: every member of
// that type, and the one chosen to be shown.
struct TypeGroup {
  CString documentType;
  std::vector<Ref<KXObject>> members;
  Ref<KXObject> chosen;
  int chosenRank = Languages::kUnranked;
};

int LanguageRank(const KXObject& member) {
  const Languages* languages = Languages::instance();
  return languages ? languages->rank(member.getTitleLanguage().c_str()) : Languages::kUnranked;
}

// Shown at all: a document whose presentation hints do not hide it.
bool Eligible(KXObject& member) {
  return member.getType() == kxcoll::kDocumentTypeName &&
         member.getAttribute(kxcoll::kPresentationHintsKey).Find(kxcoll::kHiddenHint) < 0;
}

}  // namespace

Cluster::Cluster(const CString& recordText, List* initialMembers)
    : Collection(recordText, initialMembers) {
  classCode = kClassCluster;
  const CString type = getCollectionType();
  if (type != kxcoll::kClusterType)
    FatalErrorBox(("Fatal Error: Cluster with CollectionType=" + type).c_str());
}

Cluster::~Cluster() = default;

void Cluster::invalidate(std::uint32_t flags) {
  const std::uint32_t before = refreshFlags;
  if (members && !members->isEmpty() && (before & (kRefreshAll | kRefreshContent)))
    dropMembers(before);
  Collection::invalidate(flags);
}

bool Cluster::collectVisibleMembers(List& out, bool recursive) {
  if (expanding_) return false;
  if (!parsed) refresh();
  const List* list = getChildren(nullptr, 0);
  if (!list || list->isEmpty()) return false;

  // The members as they stand now: placing a nested cluster may load, and
  // a window message handled meanwhile may drop, member lists.
  std::vector<Ref<KXObject>> all;
  for (ListElement* e = list->first(); e; e = e->next())
    if (KXObject* member = ObjectOf(e)) all.emplace_back(member);

  // Set while this cluster's members are placed: a cluster that contains
  // itself, directly or through others, is not expanded a second time.
  struct Expanding {
    bool& flag;
    explicit Expanding(bool& f) : flag(f) { flag = true; }
    ~Expanding() { flag = false; }
  } expanding(expanding_);
  const Ref<KXObject> keep = self();

  auto place = [&](const Ref<KXObject>& member) {
    const CString docType = member->getAttribute(kxcoll::kDocumentTypeKey);
    if (docType == kxcoll::kTextDocType) {
      out.prepend(new MemberEntry(member));
      return;
    }
    if (recursive && docType == kxcoll::kCollectionDocType &&
        member->getAttribute(kxcoll::kCollectionTypeKey) == kxcoll::kClusterType) {
      if (auto* nested = dynamic_cast<Cluster*>(member.get())) {
        nested->collectVisibleMembers(out, true);
        return;
      }
    }
    AppendObject(out, member);
  };

  // Members with a multi-language title, or none, are shown as they are.
  std::vector<TypeGroup> groups;
  for (const Ref<KXObject>& member : all) {
    if (!Eligible(*member)) continue;
    if (member->getTitles().count() != 1) {
      place(member);
      continue;
    }
    const CString docType = member->getAttribute(kxcoll::kDocumentTypeKey);
    TypeGroup* group = nullptr;
    for (TypeGroup& g : groups)
      if (g.documentType == docType) group = &g;
    if (!group) {
      groups.push_back(TypeGroup{docType, {}, {}, Languages::kUnranked});
      group = &groups.back();
    }
    group->members.push_back(member);
    const int rank = LanguageRank(*member);
    if (!group->chosen || rank < group->chosenRank) {
      group->chosen = member;
      group->chosenRank = rank;
    }
  }

  // Each single-title member learns its language alternatives.
  for (const TypeGroup& g : groups) {
    List names;
    for (const Ref<KXObject>& member : g.members)
      names.append(new NameElement(member->getIdentifier()));
    for (const Ref<KXObject>& member : g.members) member->setNameList(names);
    names.clearAndDelete();
  }
  for (const TypeGroup& g : groups) place(g.chosen);
  return true;
}
