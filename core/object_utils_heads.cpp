// Object utilities: collection kinds and collection heads.
#include "core/logbook.h"
#include "core/object_utils.h"

namespace {

constexpr const char* kPresentationHintsKey = "PresentationHints=";
constexpr const char* kCollectionTypeKey = "CollectionType=";
constexpr const char* kNameKey = "Name=";

CString UpperHints(const Ref<KXObject>& h) {
  CString hints = h->getAttribute(kPresentationHintsKey);
  hints.MakeUpper();
  return hints;
}

// A document with presentation hints that is not hidden and carries `mark`.
bool HeadMarked(const Ref<KXObject>& h, const char* mark) {
  if (!isDocument(h)) return false;
  const CString hints = UpperHints(h);
  return !hints.IsEmpty() && hints.Find("HIDDEN") < 0 && hints.Find(mark) >= 0;
}

}  // namespace

bool isHidden(const Ref<KXObject>& h) {
  if (!isDocument(h)) return true;
  return UpperHints(h).Find("HIDDEN") >= 0;
}

bool isFullCollectionHead(const Ref<KXObject>& h) { return HeadMarked(h, "FULLCOLLECTIONHEAD"); }
bool isCollectionHead(const Ref<KXObject>& h) { return HeadMarked(h, "COLLECTIONHEAD"); }

int collectionKind(const Ref<KXObject>& h) {
  const Ref<KXObject> target = followLink(h);
  if (!target || target->getClassCode() != kClassCollection) return 0;
  const CString type = target->getAttribute(kCollectionTypeKey);
  if (type.IsEmpty() || type == "Sequence") return 0;
  if (type == "MultiCluster") return 1;
  TheLogbook().Write("Unknown collection type '" + type + "' found in collection" +
                     target->getAttribute(kNameKey));
  return 0;
}

Ref<KXObject> collectionHeadList(const Ref<KXObject>& h) {
  if (!h || h->getClassCode() != kClassCollection) return Ref<KXObject>();
  const CString id = h->getIdentifier();
  if (id.IsEmpty() || id == "0x00000000") return Ref<KXObject>();
  ObjectUtilityServices* services = GetObjectUtilityServices();
  const List* children = services ? services->collectionChildren(*h) : nullptr;
  if (!children) return Ref<KXObject>();

  for (ListElement* e = children->first(); e; e = e->next()) {
    const Ref<KXObject> child(ObjectOf(e));
    if (isFullCollectionHead(child)) return child;
    if (isCollectionHead(child)) {
      List members;
      AppendObject(members, child);
      AppendObject(members, h);
      Ref<KXObject> head = services->makeMultiCluster(CString(), members);
      members.clearAndDelete();
      return head;
    }
  }
  return Ref<KXObject>();
}
