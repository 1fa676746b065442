// An intrusive doubly linked list. Elements derive from ListElement; the
// list links them between its two ends and counts them. The ends never
// leave the list: first(), last(), next() and previous() answer null there.
// The operations of every step (linking, unlinking, walking) are inline:
// documents walk and tear down lists of hundreds of thousands of atoms. Elements belong to whoever put them in, except
// where an operation says it deletes them.
#pragma once

#include "win/types.h"

class List;
class ListElement;

// The two links of a list node. Every element carries a pair; a list's two
// ends are bare pairs, so an empty list costs no element objects.
class ListLinks {
 private:
  friend class List;
  friend class ListElement;
  ListLinks* next_ = nullptr;
  ListLinks* prev_ = nullptr;
};

class ListElement : public ListLinks {
 public:
  ListElement() = default;
  ListElement(const ListElement&) = delete;
  ListElement& operator=(const ListElement&) = delete;
  virtual ~ListElement();

  // The order used by List::sort: true when this element belongs before
  // `other`. The root orders nothing.
  virtual bool precedes(const ListElement& other) const;

  // The neighbours on the list; null past either end or when unlinked. An
  // end is the only pair with a null link on one side: the front end has
  // no previous, the back end no next.
  ListElement* next() const {
    return next_ && next_->next_ ? static_cast<ListElement*>(next_) : nullptr;
  }
  ListElement* previous() const {
    return prev_ && prev_->prev_ ? static_cast<ListElement*>(prev_) : nullptr;
  }
  bool isLinked() const { return next_ != nullptr; }
};

class List {
 public:
  List() {
    head_.next_ = &tail_;
    tail_.prev_ = &head_;
  }
  List(const List&) = delete;
  List& operator=(const List&) = delete;
  // Leaves the elements to their owners, unlinked.
  ~List();

  LONG count() const { return count_; }
  bool isEmpty() const { return count_ == 0; }
  ListElement* first() const { return count_ ? static_cast<ListElement*>(head_.next_) : nullptr; }
  ListElement* last() const { return count_ ? static_cast<ListElement*>(tail_.prev_) : nullptr; }

  // Each links e and adds 1 to the count. An element that is already on a
  // list (or a neighbour that is not) is refused: nothing changes.
  ListElement* prepend(ListElement* e) {  // the former first, or null
    if (!e || e->isLinked()) return nullptr;
    ListElement* former = first();
    linkBetween(e, &head_, head_.next_);
    return former;
  }
  ListElement* append(ListElement* e) {  // the former last, or null
    if (!e || e->isLinked()) return nullptr;
    ListElement* former = last();
    linkBetween(e, tail_.prev_, &tail_);
    return former;
  }
  // After `after`; a null `after` puts e at the front.
  void insertAfter(ListElement* e, ListElement* after);
  // Before `before` (returned); a null `before` puts e at the end.
  ListElement* insertBefore(ListElement* e, ListElement* before);

  // Unlink and return the first or last element; null when empty.
  ListElement* popFront() {
    ListElement* e = first();
    if (e) unlinkLinked(e);
    return e;
  }
  ListElement* popBack() {
    ListElement* e = last();
    if (e) unlinkLinked(e);
    return e;
  }
  // Unlinks e; returns the element that stood before it (null at the
  // front). Nothing for an element that is not linked.
  ListElement* unlink(ListElement* e) {
    if (!e || !e->isLinked()) return nullptr;
    return unlinkLinked(e);
  }
  // Pops and deletes every element.
  void clearAndDelete();

  // The element at index i (from 0), or null out of range. Walks from the
  // nearer end.
  ListElement* at(LONG i) const;

  // Orders the elements by precedes(), ascending; a list that is already in
  // order is left as it is. False only when the work array could not be had.
  bool sort();

 private:
  void linkBetween(ListLinks* e, ListLinks* before, ListLinks* after) {
    e->prev_ = before;
    e->next_ = after;
    before->next_ = e;
    after->prev_ = e;
    ++count_;
  }
  ListElement* unlinkLinked(ListElement* e) {
    ListLinks* before = e->prev_;
    before->next_ = e->next_;
    e->next_->prev_ = before;
    e->next_ = e->prev_ = nullptr;
    --count_;
    return before == &head_ ? nullptr : static_cast<ListElement*>(before);
  }

  ListLinks head_;
  ListLinks tail_;
  LONG count_ = 0;
};
