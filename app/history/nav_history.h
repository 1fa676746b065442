// The navigation history: the objects the user arrived at, with back and
// forward as a browser has them. The first entry of the back list is the
// current object that the idle processing and the page switch show.
#pragma once

#include "core/kx_object.h"
#include "core/list.h"
#include "core/object_id.h"
#include "core/objref.h"
#include "core/static_guard.h"
#include "core/store_registry.h"
#include "mfc/cstring.h"

class NavHistoryEntry : public ListElement {
 public:
  explicit NavHistoryEntry(const Ref<KXObject>& o) : object(o) {}
  Ref<KXObject> object;
  CString label;
  unsigned char flag = 0;
};

class NavHistory {
 public:
  static constexpr int kProgramMaximum = 50;

  explicit NavHistory(int maximum);
  NavHistory(const NavHistory&) = delete;
  NavHistory& operator=(const NavHistory&) = delete;
  ~NavHistory();

  void Clear();
  // The object becomes current; the forward list is dropped. Null, and the
  // current object again, change nothing; the oldest entry goes when the
  // back list is full.
  void Push(const Ref<KXObject>& object);
  Ref<KXObject> Current() const;
  // One step back (the current entry moves to the front of the forward
  // list): the new current object; null and no change without an entry
  // before the current one.
  Ref<KXObject> Back();
  // One step forward: the new current object, or null.
  Ref<KXObject> Forward();
  BOOL CanGoBack() const { return back_.count() > 1; }
  BOOL CanGoForward() const { return !forward_.isEmpty(); }
  // The steps back that can be taken.
  int BackCount() const { return static_cast<int>(back_.count()) - 1; }
  int ForwardCount() const { return static_cast<int>(forward_.count()); }
  // 0: the current object. Negative: the (-i)-th back entry, the current one
  // counting as 1. Positive: the forward entry counted from the far end (i
  // equal to the forward count is the next one). Null beyond either list.
  Ref<KXObject> At(int i) const;
  // The first entry whose object has the id: the back list from the current
  // entry, then the forward list from the next one; null when none.
  Ref<KXObject> FindById(ObjectId id) const;

 private:
  static Ref<KXObject> ObjectAt(const List& list, int index);

  List back_;
  List forward_;
  int maximum_;
};

// The program's history (at most 50 back entries).
NavHistory& TheHistory();
