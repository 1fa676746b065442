// Running one request over a store, or over every open store in list order:
// openRequest, then getResults in batches while `delivered` is below
// `announcedSize`, then closeRequest; one progress display over all stores,
// and the user's break polled between batches. The related-objects queries
// of the object model and the unscoped searches share it.
#pragma once

#include <cstdint>

#include "core/kx_object.h"
#include "core/objref.h"
#include "core/store.h"
#include "mfc/cstring.h"

class List;

// Where one store's share of the progress display lies.
struct StoreWalkShare {
  double base = 0.0;  // share of the stores done before this one
  int stores = 1;     // number of shares
};

// Runs the request on `store`, appending hits to `list` (which getResults
// may replace). `opened` tells whether the store took the request; the
// result is true when the user broke it. A batch that comes back null or
// does not raise `delivered` ends the request, keeping what came.
bool RunStoreRequest(Store& store, const Ref<KXObject>& object, std::int32_t kind, List* scope,
                     const CString& text, std::int32_t batch, List*& list,
                     const StoreWalkShare& share, bool& opened);

// The same request on every open store, front to back, until the user
// breaks; then the progress display is told the operation ended.
List* RunOnOpenStores(const Ref<KXObject>& object, std::int32_t kind, List* scope,
                      const CString& text, std::int32_t batch, List* list);
