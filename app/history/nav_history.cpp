#include "app/history/nav_history.h"

#include "net/references.h"

namespace {

Ref<KXObject> ObjectOfEntry(ListElement* e) {
  auto* entry = static_cast<NavHistoryEntry*>(e);
  return entry ? entry->object : Ref<KXObject>();
}

}  // namespace

NavHistory::NavHistory(int maximum) : maximum_(maximum) {}

NavHistory::~NavHistory() { Clear(); }

void NavHistory::Clear() {
  back_.clearAndDelete();
  forward_.clearAndDelete();
}

void NavHistory::Push(const Ref<KXObject>& object) {
  if (!object) return;
  if (Current() == object) return;
  if (maximum_ > 0 && back_.count() >= maximum_) delete back_.popBack();
  auto* entry = new NavHistoryEntry(object);
  back_.prepend(entry);
  forward_.clearAndDelete();
}

Ref<KXObject> NavHistory::Current() const { return ObjectOfEntry(back_.first()); }

Ref<KXObject> NavHistory::Back() {
  if (!CanGoBack()) return Ref<KXObject>();
  forward_.prepend(back_.popFront());
  return Current();
}

Ref<KXObject> NavHistory::Forward() {
  if (!CanGoForward()) return Ref<KXObject>();
  back_.prepend(forward_.popFront());
  return Current();
}

Ref<KXObject> NavHistory::ObjectAt(const List& list, int index) {
  return ObjectOfEntry(list.at(index));
}

Ref<KXObject> NavHistory::At(int i) const {
  if (i == 0) return Current();
  if (i < 0) {
    const int n = -i;
    if (n > back_.count()) return Ref<KXObject>();
    return ObjectAt(back_, n - 1);
  }
  if (i > forward_.count()) return Ref<KXObject>();
  return ObjectAt(forward_, static_cast<int>(forward_.count()) - i);
}

Ref<KXObject> NavHistory::FindById(ObjectId id) const {
  for (const List* list : {&back_, &forward_}) {
    for (ListElement* e = list->first(); e; e = e->next()) {
      const Ref<KXObject> o = ObjectOfEntry(e);
      if (o && ObjectId(o->getObjectId()) == id) return o;
    }
  }
  return Ref<KXObject>();
}

namespace {

Ref<KXObject> HistoryLookupById(ObjectId id) { return TheHistory().FindById(id); }

}  // namespace

NavHistory& TheHistory() {
  static NavHistory* history = [] {
    static NavHistory h(NavHistory::kProgramMaximum);
    // Goto by id finds an object the user has seen without asking the store.
    SetHistoryLookup(&HistoryLookupById);
    return &h;
  }();
  return *history;
}
