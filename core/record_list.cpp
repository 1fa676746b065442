#include "core/record_list.h"

#include <cstring>
#include <new>

RecordList::RecordList(int recordSize) { SetRecordSize(recordSize, false); }

RecordList::~RecordList() { freeAll(); }

void RecordList::freeAll() {
  Node* n = head_;
  while (n) {
    Node* following = n->next;
    delete[] n->record;
    delete n;
    n = following;
  }
  head_ = cursor_ = nullptr;
}

int RecordList::count() const {
  int c = 0;
  for (Node* n = head_; n; n = n->next) ++c;
  return c;
}

int RecordList::SetRecordSize(int n, bool reset) {
  if (n < 1) return -1;
  if (reset)
    freeAll();
  else if (head_ && n != size_)
    return -1;
  size_ = n;
  return 1;
}

int RecordList::First() {
  if (!head_) return 0;
  cursor_ = head_;
  return 1;
}

int RecordList::Next() {
  if (!cursor_ || !cursor_->next) return 0;
  cursor_ = cursor_->next;
  return 1;
}

int RecordList::Append(const void* record) {
  if (size_ < 1 || !record) return 0;
  Node* node = new (std::nothrow) Node{nullptr, nullptr};
  if (!node) return 0;
  node->record = new (std::nothrow) unsigned char[static_cast<size_t>(size_)];
  if (!node->record) {
    delete node;
    return 0;
  }
  std::memcpy(node->record, record, static_cast<size_t>(size_));
  if (!head_) {
    head_ = node;
  } else {
    Node* tail = cursor_ ? cursor_ : head_;
    while (tail->next) tail = tail->next;
    tail->next = node;
  }
  cursor_ = node;
  return 1;
}

int RecordList::GetCurrent(void* out) const {
  if (!cursor_ || !out) return 0;
  std::memcpy(out, cursor_->record, static_cast<size_t>(size_));
  return 1;
}

int RecordList::SetAt(const void* record, int n) {
  if (!record) return 0;
  Node* target = cursor_;
  if (n > 0) {
    target = head_;
    for (int i = 0; target && i < n; ++i) target = target->next;
  }
  if (!target) return 0;
  cursor_ = target;
  std::memcpy(target->record, record, static_cast<size_t>(size_));
  return 1;
}

int RecordList::RemoveCurrent() {
  if (!cursor_) return 0;
  Node* before = nullptr;
  if (cursor_ != head_) {
    before = head_;
    while (before->next != cursor_) before = before->next;
  }
  Node* gone = cursor_;
  if (before)
    before->next = gone->next;
  else
    head_ = gone->next;
  cursor_ = gone->next ? gone->next : before;
  delete[] gone->record;
  delete gone;
  return 1;
}

void RecordList::Clear() { freeAll(); }

int RecordList::RemoveAll() {
  if (size_ < 1) return 0;
  freeAll();
  return 1;
}
