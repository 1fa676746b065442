#include "core/list.h"

#include <memory>
#include <new>

ListElement::~ListElement() = default;

bool ListElement::precedes(const ListElement&) const { return false; }

// A sentinel is the only element with a null link on one side: the head has
// no previous, the tail no next.
ListElement* ListElement::next() const {
  return next_ && next_->next_ ? next_ : nullptr;
}

ListElement* ListElement::previous() const {
  return prev_ && prev_->prev_ ? prev_ : nullptr;
}

List::List() {
  head_.next_ = &tail_;
  tail_.prev_ = &head_;
}

List::~List() {
  ListElement* e = head_.next_;
  while (e != &tail_) {
    ListElement* following = e->next_;
    e->next_ = e->prev_ = nullptr;
    e = following;
  }
}

ListElement* List::first() const { return count_ ? head_.next_ : nullptr; }
ListElement* List::last() const { return count_ ? tail_.prev_ : nullptr; }

void List::linkBetween(ListElement* e, ListElement* before, ListElement* after) {
  e->prev_ = before;
  e->next_ = after;
  before->next_ = e;
  after->prev_ = e;
  ++count_;
}

ListElement* List::prepend(ListElement* e) {
  if (!e || e->isLinked()) return nullptr;
  ListElement* former = first();
  linkBetween(e, &head_, head_.next_);
  return former;
}

ListElement* List::append(ListElement* e) {
  if (!e || e->isLinked()) return nullptr;
  ListElement* former = last();
  linkBetween(e, tail_.prev_, &tail_);
  return former;
}

void List::insertAfter(ListElement* e, ListElement* after) {
  if (!e || e->isLinked() || (after && !after->isLinked())) return;
  if (!after) after = &head_;
  linkBetween(e, after, after->next_);
}

ListElement* List::insertBefore(ListElement* e, ListElement* before) {
  if (!e || e->isLinked() || (before && !before->isLinked())) return before;
  ListElement* at = before ? before : &tail_;
  linkBetween(e, at->prev_, at);
  return before;
}

ListElement* List::popFront() {
  ListElement* e = first();
  if (e) unlink(e);
  return e;
}

ListElement* List::popBack() {
  ListElement* e = last();
  if (e) unlink(e);
  return e;
}

ListElement* List::unlink(ListElement* e) {
  if (!e || !e->isLinked() || e == &head_ || e == &tail_) return nullptr;
  ListElement* before = e->prev_;
  before->next_ = e->next_;
  e->next_->prev_ = before;
  e->next_ = e->prev_ = nullptr;
  --count_;
  return before == &head_ ? nullptr : before;
}

void List::clearAndDelete() {
  while (ListElement* e = popFront()) delete e;
}

ListElement* List::at(LONG i) const {
  if (i < 0 || i >= count_) return nullptr;
  if (i <= count_ / 2) {
    ListElement* e = head_.next_;
    while (i-- > 0) e = e->next_;
    return e;
  }
  ListElement* e = tail_.prev_;
  for (LONG k = count_ - 1; k > i; --k) e = e->prev_;
  return e;
}

namespace {

// Sift-down of a one-based heap a[1..n] whose first element by precedes()
// stays at the root.
void siftDown(ListElement** a, LONG root, LONG n) {
  for (;;) {
    LONG child = root * 2;
    if (child > n) return;
    if (child < n && a[child + 1]->precedes(*a[child])) ++child;
    if (!a[child]->precedes(*a[root])) return;
    ListElement* t = a[root];
    a[root] = a[child];
    a[child] = t;
    root = child;
  }
}

}  // namespace

bool List::sort() {
  if (count_ < 2) return true;
  const LONG n = count_;
  std::unique_ptr<ListElement*[]> heap(new (std::nothrow) ListElement*[n + 1]);
  if (!heap) return false;
  ListElement** a = heap.get();
  bool ordered = true;
  for (LONG i = 1; i <= n; ++i) {
    a[i] = popFront();
    if (i > 1 && a[i]->precedes(*a[i - 1])) ordered = false;
  }
  if (ordered) {
    for (LONG i = 1; i <= n; ++i) append(a[i]);
    return true;
  }
  for (LONG i = n / 2; i >= 1; --i) siftDown(a, i, n);
  for (LONG size = n; size >= 1; --size) {
    ListElement* least = a[1];
    a[1] = a[size];
    siftDown(a, 1, size - 1);
    append(least);
  }
  return true;
}
