// KXObject: the walk that fetches related objects (parents, members,
// anchors, referrers) from one store or from every open store, with
// progress and the user's break between batches.
#include <vector>

#include "framework/progress_reporter.h"
#include "core/kx_object.h"
#include "core/store_registry.h"
#include "core/store_walk.h"

List* KXObject::fetchRelated(std::int32_t kind, List* list, bool allStores) {
  if (!store) return nullptr;
  // Callers may drop their last handle while messages are pumped.
  const Ref<KXObject> object = self();

  if (!allStores) {
    const Ref<Store> own = store;
    bool opened = false;
    RunStoreRequest(*own, object, kind, nullptr, CString(), kRelatedBatch, list, StoreWalkShare{},
                    opened);
    if (opened)
      if (ProgressReporter* progress = GetFrameProgress()) progress->Start();
    return list;
  }
  return RunOnOpenStores(object, kind, nullptr, CString(), kRelatedBatch, list);
}

List* KXObject::getParents(List*, std::int32_t) { return nullptr; }
List* KXObject::getMembers(List*, std::int32_t) { return nullptr; }
List* KXObject::getLinkDestinations(List*, std::int32_t) { return nullptr; }

List* KXObject::getReferrers(List* list, std::int32_t) {
  return fetchRelated(kRequestReferrers, list, storeIsServer());
}

bool KXObject::hasAnnotation() {
  List* referrers = getReferrers(nullptr, 0);
  if (!referrers) return false;
  bool found = false;
  for (ListElement* e = referrers->first(); e && !found; e = e->next()) {
    KXObject* anchor = ObjectOf(e);
    found = anchor && anchor->getAttribute(kxobj::kLinkTypeKey) == kxobj::kAnnotation;
  }
  // A list the object keeps (a document's cached referrers) stays.
  if (referrers != ownedReferrers) DeleteObjectList(referrers);
  return found;
}
