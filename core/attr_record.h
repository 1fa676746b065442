// The attribute record of a server object: lines of key "=" value separated by
// single line feeds. Keys are case-sensitive and may repeat; a key counts only
// at the start of the record or right after a line feed. Values are taken as
// they stand (blanks and a carriage return before the line feed belong to
// them). The record is parsed anew on each access and never changed by it.
// Keys are always given with their "=" ("Title=", "ObjectID=").
#pragma once

#include "core/object_id.h"
#include "core/string_array.h"
#include "mfc/cstring.h"

class AttrRecord {
 public:
  AttrRecord() = default;
  explicit AttrRecord(const CString& text) : text_(text) {}
  explicit AttrRecord(const char* text) : text_(text) {}

  const CString& text() const { return text_; }
  void setText(const CString& text) { text_ = text; }

  // The value of the first line with this key; `out` is left alone when
  // there is none.
  bool find(const char* key, CString& out) const;
  // The value that find gives, or the empty string.
  CString getAttribute(const char* key) const;
  // Inserts the value of every line with this key into `values` (sorted,
  // each once); returns the array's count afterwards.
  int findAll(const char* key, SortedStringArray& values) const;
  // The "ObjectID=" value as an id: its first occurrence anywhere in the
  // text. False and 0 when there is none.
  bool getObjectId(ObjectId& out) const;

 private:
  CString text_;
};
