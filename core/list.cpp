#include "core/list.h"

#include <memory>
#include <new>

ListElement::~ListElement() = default;

bool ListElement::precedes(const ListElement&) const { return false; }

List::~List() {
  ListLinks* e = head_.next_;
  while (e != &tail_) {
    ListLinks* following = e->next_;
    e->next_ = e->prev_ = nullptr;
    e = following;
  }
}

void List::insertAfter(ListElement* e, ListElement* after) {
  if (!e || e->isLinked() || (after && !after->isLinked())) return;
  ListLinks* at = after ? static_cast<ListLinks*>(after) : &head_;
  linkBetween(e, at, at->next_);
}

ListElement* List::insertBefore(ListElement* e, ListElement* before) {
  if (!e || e->isLinked() || (before && !before->isLinked())) return before;
  ListLinks* at = before ? static_cast<ListLinks*>(before) : &tail_;
  linkBetween(e, at->prev_, at);
  return before;
}

void List::clearAndDelete() {
  while (ListElement* e = popFront()) delete e;
}

ListElement* List::at(LONG i) const {
  if (i < 0 || i >= count_) return nullptr;
  if (i <= count_ / 2) {
    ListLinks* e = head_.next_;
    while (i-- > 0) e = e->next_;
    return static_cast<ListElement*>(e);
  }
  ListLinks* e = tail_.prev_;
  for (LONG k = count_ - 1; k > i; --k) e = e->prev_;
  return static_cast<ListElement*>(e);
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
