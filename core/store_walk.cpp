#include "core/store_walk.h"

#include <vector>

#include "framework/progress_reporter.h"
#include "core/list.h"
#include "core/store_registry.h"

bool RunStoreRequest(Store& store, const Ref<KXObject>& object, std::int32_t kind, List* scope,
                     const CString& text, std::int32_t batch, List*& list,
                     const StoreWalkShare& share, bool& opened) {
  StoreEntry* handle = store.openRequest(object, kind, scope, text);
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

List* RunOnOpenStores(const Ref<KXObject>& object, std::int32_t kind, List* scope,
                      const CString& text, std::int32_t batch, List* list) {
  // A copy of the list: a store opened while messages are pumped must not
  // pull elements out from under the walk.
  std::vector<Ref<Store>> stores;
  for (ListElement* e = OpenStores().first(); e; e = e->next())
    stores.push_back(static_cast<StoreListEntry*>(e)->store);
  StoreWalkShare share;
  share.stores = stores.empty() ? 1 : static_cast<int>(stores.size());
  for (const Ref<Store>& s : stores) {
    if (!s) break;
    bool opened = false;
    const bool broken = RunStoreRequest(*s, object, kind, scope, text, batch, list, share, opened);
    if (broken) break;
    if (opened) share.base += 1.0 / share.stores;
  }
  if (ProgressReporter* progress = GetFrameProgress()) progress->Start();
  return list;
}
