// An intrusive doubly linked list. Elements derive from ListElement; the
// list links them between a head and a tail sentinel and counts them. The
// sentinels never leave the list: first(), last(), next() and previous()
// answer null at the ends. Elements belong to whoever put them in, except
// where an operation says it deletes them.
#pragma once

#include "win/types.h"

class List;

class ListElement {
 public:
  ListElement() = default;
  ListElement(const ListElement&) = delete;
  ListElement& operator=(const ListElement&) = delete;
  virtual ~ListElement();

  // The order used by List::sort: true when this element belongs before
  // `other`. The root orders nothing.
  virtual bool precedes(const ListElement& other) const;

  // The neighbours on the list; null past either end or when unlinked.
  ListElement* next() const;
  ListElement* previous() const;
  bool isLinked() const { return next_ != nullptr; }

 private:
  friend class List;
  ListElement* next_ = nullptr;
  ListElement* prev_ = nullptr;
};

class List {
 public:
  List();
  List(const List&) = delete;
  List& operator=(const List&) = delete;
  // Leaves the elements to their owners, unlinked.
  ~List();

  LONG count() const { return count_; }
  bool isEmpty() const { return count_ == 0; }
  ListElement* first() const;
  ListElement* last() const;

  // Each links e and adds 1 to the count. An element that is already on a
  // list (or a neighbour that is not) is refused: nothing changes.
  ListElement* prepend(ListElement* e);  // the former first, or null
  ListElement* append(ListElement* e);   // the former last, or null
  // After `after`; a null `after` puts e at the front.
  void insertAfter(ListElement* e, ListElement* after);
  // Before `before` (returned); a null `before` puts e at the end.
  ListElement* insertBefore(ListElement* e, ListElement* before);

  // Unlink and return the first or last element; null when empty.
  ListElement* popFront();
  ListElement* popBack();
  // Unlinks e; returns the element that stood before it (null at the
  // front). Nothing for an element that is not linked.
  ListElement* unlink(ListElement* e);
  // Pops and deletes every element.
  void clearAndDelete();

  // The element at index i (from 0), or null out of range. Walks from the
  // nearer end.
  ListElement* at(LONG i) const;

  // Orders the elements by precedes(), ascending; a list that is already in
  // order is left as it is. False only when the work array could not be had.
  bool sort();

 private:
  void linkBetween(ListElement* e, ListElement* before, ListElement* after);

  ListElement head_;
  ListElement tail_;
  LONG count_ = 0;
};
