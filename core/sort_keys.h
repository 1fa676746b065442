// Sort keys: the byte string built from a server object for one sort order,
// one part per letter of the order, and the comparison that orders them.
//
// Letters: "#" sequence number, "A" author's first word, "C" creation time,
// "E" expiry time, "O" opening time, "I" id, "P" parent, "S" score of a
// document, "T" title folded to lower-case ASCII, "t" class code; "-" makes
// the next part descending; any other letter adds an empty part.
#pragma once

#include "mfc/cstring.h"

// What a key is built from. The object model's server objects implement it;
// anything with an attribute record can.
class SortableObject {
 public:
  virtual ~SortableObject() = default;
  // The first value of `key` (given with its "=") in the attribute record as
  // it stands, without fetching it again; empty when absent.
  virtual CString sortAttribute(const char* key) = 0;
  // The id/URL under which the store knows the object.
  virtual CString sortIdentifier() = 0;
  // The title in the preferred language, entity references decoded.
  virtual CString sortTitle() = 0;
  // The "Type=" value (users and groups answer their own type).
  virtual CString sortType() = 0;
  // The score, already formatted "%04d"; empty when the object has none.
  virtual CString sortScore() = 0;
  // 0 object, 1 anchor, 2 user, 3 group, 4 document, 5 collection, ...
  virtual int sortClassCode() = 0;
};

// Byte that ends an ascending part: below every ASCII byte of a value, so a
// value sorts before its own extensions.
inline constexpr unsigned char kAscendingPartEnd = 0x01;
// Byte that ends a descending part: the negation of kAscendingPartEnd, so a
// descending part is the exact reverse of the ascending one, prefixes
// included.
inline constexpr unsigned char kDescendingPartEnd = 0xFF;

// The key of `object` for `order` (see the letters above).
CString BuildSortKey(SortableObject& object, const CString& order);

// The value of one letter's part, before any negation or end byte.
CString SortKeyPartValue(SortableObject& object, char letter);

// The sequence-number part: ten digits, negative numbers as "-" and the
// negated digits of their magnitude, so that signed byte order is numeric
// order over the whole 32-bit range.
CString SequenceSortValue(const CString& stored);

// A time text "yy/mm/dd hh:mm:ss" counts years from 1900 (2001 is "101");
// the key carries the true year in four digits instead, so that times from
// 2000 on sort after 1999. A year of four digits is taken as written; a text
// of another shape is used as stored.
CString TimeSortValue(const CString& stored);

// The ordering predicate of keys: true when `a` belongs before or with `b`.
// Keys are walked while equal; a key that ends there (or reaches a NUL byte)
// comes first; otherwise the first differing bytes decide, compared as signed
// 8-bit values on every platform (so bytes 0x80-0xFF sort before 0x00-0x7F).
bool SortKeyLessOrEqual(const CString& a, const CString& b);
