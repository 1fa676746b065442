// Documents: the anchors that start or end in a document, the objects its
// links lead to and the anchors that lead to it.
#include <vector>

#include "core/document.h"
#include "core/store_registry.h"

namespace {

inline constexpr const char* kTAnchorKey = "TAnchor=";
inline constexpr const char* kSourceMark = "Src";
inline constexpr const char* kHintKey = "Hint=";
inline constexpr const char* kUrlHint = "URL:";

// A Hint= that names an address: its first four characters, upper-cased,
// are "URL:".
bool IsUrlHint(const CString& hint) {
  CString head = hint.Left(4);
  head.MakeUpper();
  return head == kUrlHint;
}

// The handles of a list, so that a walk survives changes to the list.
std::vector<Ref<KXObject>> Handles(const List* list) {
  std::vector<Ref<KXObject>> out;
  if (!list) return out;
  for (ListElement* e = list->first(); e; e = e->next())
    if (KXObject* o = ObjectOf(e)) out.emplace_back(o);
  return out;
}

}  // namespace

void Document::dropAnchors() {
  linkAnchors.clearAndDelete();
  sourceAnchors.clearAndDelete();
  destAnchors.clearAndDelete();
  anchorPositions.clear();
  if (ownedReferrers == referrers) ownedReferrers = nullptr;
  DeleteObjectList(referrers);
  referrers = nullptr;
}

void Document::sortAnchors(const List& answer) {
  for (const Ref<KXObject>& anchor : Handles(&answer)) {
    List* target = &linkAnchors;
    if (anchor->getAttribute(kTAnchorKey) != kSourceMark)
      target = &destAnchors;
    else if (anchor->getAttribute(kxobj::kDestKey).IsEmpty() &&
             !IsUrlHint(anchor->getAttribute(kHintKey)))
      target = &sourceAnchors;
    AppendObject(*target, anchor);
  }
}

void Document::loadAnchors() {
  const Ref<KXObject> keep = self();
  if (!parsed) refresh();
  if (anchorsValid || !store) return;
  List* answer = runRelated(kRequestAnchors, nullptr);
  if (!answer || answer->isEmpty()) {
    DeleteObjectList(answer);
    anchorsValid = true;
    return;
  }
  anchorPositions.clear();
  sortAnchors(*answer);
  DeleteObjectList(answer);
  anchorsValid = true;
  anchorsLoadedOnce = true;
  for (const Ref<KXObject>& a : Handles(&linkAnchors)) anchorPositions.AddAnchor(a, this);
  for (const Ref<KXObject>& a : Handles(&destAnchors)) anchorPositions.AddAnchor(a, this);
}

void Document::reloadAnchors() {
  anchorsValid = false;
  dropAnchors();
  loadAnchors();
}

const List* Document::getLinkAnchors() {
  loadAnchors();
  return &linkAnchors;
}

const List* Document::getDestAnchors() {
  loadAnchors();
  return &destAnchors;
}

const List* Document::getSourceAnchors() {
  loadAnchors();
  return &sourceAnchors;
}

List* Document::getLinkDestinations(List* list, std::int32_t) {
  const Ref<KXObject> keep = self();
  if (!parsed) refresh();
  List* out = list ? list : NewObjectList();
  if (!out) return nullptr;
  if (linkAnchors.isEmpty()) loadAnchors();
  // Fetching may pump messages that invalidate this document and empty
  // its lists: walk a copy.
  for (const Ref<KXObject>& anchor : Handles(&linkAnchors)) {
    CString dest = anchor->getAttribute(kxobj::kDestKey);
    if (dest.IsEmpty()) {
      const CString hint = anchor->getAttribute(kHintKey);
      if (IsUrlHint(hint)) dest = hint;
    }
    if (dest.IsEmpty()) continue;
    if (Ref<KXObject> found = fetchObject(dest, store)) AppendObject(*out, found);
  }
  return out;
}

List* Document::getReferrers(List* list, std::int32_t) {
  const Ref<KXObject> keep = self();
  if (!parsed) refresh();
  if (!referrers && store) {
    List* found = runRelated(kRequestReferrers, list);
    loadAnchors();
    for (const Ref<KXObject>& anchor : Handles(&destAnchors)) found = anchor->getReferrers(found, 0);
    // An invalidation while the stores were asked dropped what was kept.
    if (referrers && referrers != found) DeleteObjectList(referrers);
    referrers = found;
    ownedReferrers = referrers;
  }
  return referrers;
}
