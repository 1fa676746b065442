// A singly linked list of fixed-size records with one cursor. Records are
// copied in and out byte for byte; the caller's buffers must hold one record
// (the record size). Results follow the old convention: 1 done, 0 not done.
#pragma once

#include <cstddef>

class RecordList {
 public:
  RecordList() = default;
  explicit RecordList(int recordSize);
  RecordList(const RecordList&) = delete;
  RecordList& operator=(const RecordList&) = delete;
  ~RecordList();

  int recordSize() const { return size_; }
  int count() const;

  // 1, or -1 when n < 1. With reset the records are dropped (and freed).
  // Records of another size cannot be reinterpreted: changing the size of a
  // non-empty list without reset is refused with -1.
  int SetRecordSize(int n, bool reset);

  int First();                  // cursor to the first record; 0 when empty
  int Next();                   // 0 at the end (cursor unchanged)
  int Append(const void* record);  // to the end; the cursor ends on it
  int GetCurrent(void* out) const;
  // n > 0: the record n places after the first; n <= 0: the record under
  // the cursor. Its bytes are overwritten from `record`; the cursor ends on
  // it. 0 (cursor unchanged) when there is no such record.
  int SetAt(const void* record, int n);
  // Drops the record under the cursor; the cursor moves to the next record,
  // or to the previous one when the last was removed.
  int RemoveCurrent();
  void Clear();
  int RemoveAll();  // 0 when no record size is set

 private:
  struct Node {
    unsigned char* record;
    Node* next;
  };
  void freeAll();

  Node* head_ = nullptr;
  Node* cursor_ = nullptr;
  int size_ = 0;
};
