#include "core/sort_order.h"

namespace {

CString& Order() {
  static CString order(kDefaultSortOrder);
  return order;
}

// Puts the sort order back when a sort ends.
class OrderRestorer {
 public:
  OrderRestorer() : saved_(Order()) {}
  ~OrderRestorer() { Order() = saved_; }
  OrderRestorer(const OrderRestorer&) = delete;
  OrderRestorer& operator=(const OrderRestorer&) = delete;

 private:
  CString saved_;
};

SortableMember* AsMember(ListElement* e) { return dynamic_cast<SortableMember*>(e); }

}  // namespace

const CString& GetSortOrder() { return Order(); }
void SetSortOrder(const CString& order) { Order() = order; }

const CString& SortableMember::sortKey() const {
  if (!keyValid_) {
    SortableObject* object = sortObject();
    key_ = object ? BuildSortKey(*object, GetSortOrder()) : CString();
    keyValid_ = true;
  }
  return key_;
}

void SortableMember::resetKey() {
  keyValid_ = false;
  key_.Empty();
}

bool SortableMember::lessOrEqual(const SortableMember& other) const {
  // An entry without an object has nothing to build a key from: it goes
  // behind every entry that has one.
  const bool mine = sortObject() != nullptr;
  const bool theirs = other.sortObject() != nullptr;
  if (!mine || !theirs) return !theirs;
  return SortKeyLessOrEqual(sortKey(), other.sortKey());
}

bool SortableMember::precedes(const ListElement& other) const {
  const auto* member = dynamic_cast<const SortableMember*>(&other);
  return member && lessOrEqual(*member);
}

bool SortMembers(List& list) {
  OrderRestorer restore;
  SetSortOrder(GetSortOrder() + "I");
  for (ListElement* e = list.first(); e; e = e->next())
    if (SortableMember* m = AsMember(e)) m->resetKey();
  const bool sorted = list.sort();

  // The first entry always stays, whatever its id.
  bool havePrev = false;
  CString prev;
  ListElement* e = list.first();
  while (e) {
    SortableMember* m = AsMember(e);
    if (!m || !m->sortObject()) break;
    const CString id = m->sortObject()->sortIdentifier();
    if (havePrev && id == prev) {
      ListElement* next = e->next();
      list.unlink(e);
      delete e;
      e = next;
      continue;
    }
    prev = id;
    havePrev = true;
    e = e->next();
  }
  return sorted;
}

SortableMember* FindMember(const List& list, const CString& id) {
  for (ListElement* e = list.first(); e; e = e->next()) {
    SortableMember* m = AsMember(e);
    if (!m || !m->sortObject()) return nullptr;
    if (m->sortObject()->sortIdentifier() == id) return m;
  }
  return nullptr;
}
