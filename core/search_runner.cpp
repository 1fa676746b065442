#include "core/search_runner.h"

#include <algorithm>
#include <vector>

#include "framework/progress_reporter.h"
#include "core/kx_object.h"
#include "core/list.h"
#include "core/search_query.h"
#include "core/store_registry.h"
#include "core/store_walk.h"

namespace {

// One place a search goes: a store, and the marked objects it is limited
// to (null: the whole store).
struct SearchTarget {
  Ref<Store> store;
  List* scope = nullptr;
};

bool SameObject(const KXObject* a, const KXObject* b) {
  if (a == b) return true;
  return a && b && a->getObjectId() != 0 && a->getStore() == b->getStore() &&
         a->getObjectId() == b->getObjectId();
}

// A document written in several of the user's languages is found once per
// language; the user wants it listed once, where it was first found.
void DropRepeatedHits(List& list, ListElement* firstNew) {
  for (ListElement* e = firstNew; e;) {
    ListElement* next = e->next();
    const KXObject* object = ObjectOf(e);
    for (ListElement* earlier = list.first(); earlier != e; earlier = earlier->next()) {
      if (SameObject(ObjectOf(earlier), object)) {
        list.unlink(e);
        delete e;
        break;
      }
    }
    e = next;
  }
}

// Unscoped: every open store, up to the first entry without one. Scoped:
// the store of each marked group's first object, up to the first group
// without one, the group being the scope.
std::vector<SearchTarget> SearchTargets(bool unscoped) {
  std::vector<SearchTarget> targets;
  if (unscoped) {
    for (ListElement* e = OpenStores().first(); e; e = e->next()) {
      const Ref<Store>& s = static_cast<StoreListEntry*>(e)->store;
      if (!s) break;
      targets.push_back({s, nullptr});
    }
    return targets;
  }
  for (ListElement* e = MarkedObjectGroups().first(); e; e = e->next()) {
    MarkedGroup* group = static_cast<MarkedGroup*>(e);
    KXObject* first = ObjectOf(group->members.first());
    if (!first || !first->getStore()) break;
    targets.push_back({first->getStore(), &group->members});
  }
  return targets;
}

void ReportFraction(int done, int total) {
  if (ProgressReporter* progress = GetFrameProgress()) progress->SetFraction(done, total);
}

void ReportFinished() {
  if (ProgressReporter* progress = GetFrameProgress()) progress->Start();
}

// The abort request of the search's progress display (the cancel byte that
// breaking the running request sets), answered once.
bool SearchAborted() {
  ProgressReporter* progress = GetFrameProgress();
  return progress && progress->TestAndClearCancel();
}

}  // namespace

List* searchStores(const CString& terms, const CString& author, const CString& time, bool unscoped,
                   List* target, const Languages& languages) {
  CString query;
  // Too long a field, or nothing to search: no request (an empty query
  // would ask the servers for everything, or nothing they can parse).
  if (!buildAttributeSearch(terms, author, time, languages, query) || query.IsEmpty())
    return target;

  if (unscoped) {
    Ref<KXObject> none;
    return RunOnOpenStores(none, kSearchKindAttributes, nullptr, query, KXObject::kRelatedBatch,
                           target);
  }

  int total = 0;
  for (const SearchTarget& t : SearchTargets(false)) {
    StoreEntry* handle = t.store->openRequest(Ref<KXObject>(), kSearchKindAttributes, t.scope, query);
    if (!handle) continue;
    total += std::max(0, handle->announcedSize);
    while (handle->delivered < handle->announcedSize) {
      const int before = handle->delivered;
      List* got = t.store->getResults(handle, kSearchFetchBatch, target);
      if (!got) break;  // a lost connection keeps what came
      target = got;
      ReportFraction(handle->delivered, total + kSearchFetchBatch);
      if (handle->delivered <= before) break;  // nothing more is coming
    }
    t.store->closeRequest(handle);
  }
  ReportFinished();
  return target;
}

List* runSearch(const CString& terms, bool unscoped, List* target) {
  return searchStores(terms, CString(), CString(), unscoped, target, *Languages::instance());
}

List* searchAllLanguages(const CString& text, bool unscoped, List* target) {
  const CString query = prepareFullText(text);
  if (query.IsEmpty()) return target;  // a bare language code is no query
  const Languages& languages = *Languages::instance();

  int collected = 0;
  for (const SearchTarget& t : SearchTargets(unscoped)) {
    for (int rank = 0; rank < languages.count(); ++rank) {
      StoreEntry* handle = t.store->openRequest(Ref<KXObject>(), kSearchKindFullText, t.scope,
                                                languages.codeAtRank(rank) + ":" + query);
      if (!handle) continue;
      for (;;) {
        const int n = fullTextFetchCount(collected, handle->delivered, handle->announcedSize);
        if (n == 0) break;
        const int before = handle->delivered;
        ListElement* lastBefore = target ? target->last() : nullptr;
        List* got = t.store->getResults(handle, n, target);
        if (!got) break;
        target = got;
        DropRepeatedHits(*target, lastBefore ? lastBefore->next() : target->first());
        ReportFraction(handle->delivered, handle->announcedSize + collected + n);
        if (SearchAborted()) {
          t.store->closeRequest(handle);
          ReportFinished();
          return target;
        }
        if (handle->delivered <= before) break;
      }
      collected += std::max(0, handle->announcedSize);
      t.store->closeRequest(handle);
    }
  }
  ReportFinished();
  return target;
}
