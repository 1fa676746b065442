// KXObject: the walk that fetches related objects (parents, members,
// anchors, referrers) from one store or from every open store, with
// progress and the user's break between batches.
#include <vector>

#include "app/framework/progress_reporter.h"
#include "core/kx_object.h"
#include "core/store_registry.h"

namespace {

// Where one store's share of the progress display lies.
struct ProgressShare {
  double base = 0.0;  // share of the stores done before this one
  int stores = 1;     // number of shares
};

// Runs one request on one store into `list`. `opened` tells whether the
// store took the request; the result tells whether the user broke it.
bool AskStore(Store& store, const Ref<KXObject>& object, std::int32_t kind, std::int32_t batch,
              List*& list, const ProgressShare& share, bool& opened) {
  StoreEntry* handle = store.openRequest(object, kind, nullptr, CString());
  opened = handle != nullptr;
  if (!handle) return false;

  bool broken = false;
  while (handle->delivered < handle->announcedSize) {
    const std::int32_t before = handle->delivered;
    List* got = store.getResults(handle, batch, list);
    // A lost connection: keep what has come so far.
    if (!got) break;
    list = got;
    if (handle->delivered > handle->announcedSize) handle->delivered = handle->announcedSize;
    // Asked again each time: a window message handled while polling may
    // close the frame that owns the reporter.
    if (ProgressReporter* progress = GetFrameProgress()) {
      const double done = static_cast<double>(handle->delivered) / handle->announcedSize;
      progress->SetFractionValue(static_cast<float>(share.base + done / share.stores));
      if (GetFrameProgress() == progress && progress->PollAbort()) {
        broken = true;
        break;
      }
    }
    // A store that hands out nothing more would be asked for ever.
    if (handle->delivered <= before) break;
  }
  store.closeRequest(handle);
  return broken;
}

}  // namespace

List* KXObject::fetchRelated(std::int32_t kind, List* list, bool allStores) {
  if (!store) return nullptr;
  // Callers may drop their last handle while messages are pumped.
  const Ref<KXObject> object = self();

  if (!allStores) {
    const Ref<Store> own = store;
    bool opened = false;
    AskStore(*own, object, kind, kRelatedBatch, list, ProgressShare{}, opened);
    if (opened)
      if (ProgressReporter* progress = GetFrameProgress()) progress->Start();
    return list;
  }

  // A copy of the list: a store opened while messages are pumped must not
  // pull elements out from under the walk.
  std::vector<Ref<Store>> stores;
  for (ListElement* e = OpenStores().first(); e; e = e->next())
    stores.push_back(static_cast<StoreListEntry*>(e)->store);
  ProgressShare share;
  share.stores = stores.empty() ? 1 : static_cast<int>(stores.size());
  for (const Ref<Store>& s : stores) {
    if (!s) break;
    bool opened = false;
    const bool broken = AskStore(*s, object, kind, kRelatedBatch, list, share, opened);
    if (broken) break;
    if (opened) share.base += 1.0 / share.stores;
  }
  if (ProgressReporter* progress = GetFrameProgress()) progress->Start();
  return list;
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
