// The program-wide sort order and the member lists it orders.
//
// The sort order is a short string of key letters (see core/sort_keys.h),
// "#CT" until the application reads INIT SortOrder from its settings. Every
// entry of a member list caches the key of its object for that order.
#pragma once

#include "core/list.h"
#include "core/sort_keys.h"
#include "mfc/cstring.h"

inline constexpr const char* kDefaultSortOrder = "#CT";

const CString& GetSortOrder();
void SetSortOrder(const CString& order);

// An entry of a member list: stands for one object, which the object model's
// entry class supplies (it holds the object's handle). Entries without an
// object sort after all others.
class SortableMember : public ListElement {
 public:
  // The object this entry stands for; null for an entry without one.
  virtual SortableObject* sortObject() const = 0;

  // The key for the current sort order, built on first use and kept until
  // resetKey (it does not follow later changes of the object or the order).
  const CString& sortKey() const;
  void resetKey();
  bool keyValid() const { return keyValid_; }

  // The ordering predicate: keys compared by SortKeyLessOrEqual.
  bool lessOrEqual(const SortableMember& other) const;
  // List::sort's order: lessOrEqual against another member; false against
  // any other kind of element.
  bool precedes(const ListElement& other) const override;

 private:
  mutable CString key_;
  mutable bool keyValid_ = false;
};

// Sorts a list of SortableMember entries by the sort order with "I" appended
// (equal keys then go by id), and deletes every entry whose object has the
// same id as the entry before it, so each object stays once. The walk stops
// at the first entry without an object. False only when the list could not
// be sorted (no memory); duplicates are still dropped where adjacent.
bool SortMembers(List& list);

// The first entry whose object's id equals `id` (byte comparison); null when
// there is none before the end or before an entry without an object.
SortableMember* FindMember(const List& list, const CString& id);
