#include "core/sort_keys.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>

#include "core/attr_keys.h"
#include "core/entities.h"
#include "core/str_helpers.h"

namespace {

// Keys of the object model that the shared constants do not hold (yet).
constexpr const char* kSequenceKey = "Sequence=";
constexpr const char* kParentKey = "Parent=";

constexpr int kSequenceDigits = 10;  // every 32-bit magnitude
constexpr int kYearDigits = 4;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The text read as a 32-bit long, the way the runtime's atol does: leading
// white space, an optional sign, the digits that follow; out-of-range values
// stop at the limits.
std::int64_t ReadLong(const CString& s) {
  const int n = s.GetLength();
  int i = 0;
  while (i < n && IsSpace(s[i])) ++i;
  bool negative = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  std::int64_t value = 0;
  for (; i < n && IsDigit(s[i]); ++i) {
    value = value * 10 + (s[i] - '0');
    if (value > INT32_MAX + std::int64_t{1}) break;  // clamped below
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return value;
}

// The value of a shared key constant; nothing while the constant is not built.
CString Attribute(SortableObject& object, const CString* key) {
  return key ? object.sortAttribute(key->c_str()) : CString();
}

CString Lowered(CString s) {
  s.MakeLower();
  return s;
}

}  // namespace

CString SequenceSortValue(const CString& stored) {
  const std::int64_t n = ReadLong(stored.IsEmpty() ? CString("0") : stored);
  char digits[32];
  std::snprintf(digits, sizeof digits, "%0*" PRId64, kSequenceDigits, n < 0 ? -n : n);
  CString value(digits);
  if (n >= 0) return value;
  StrNegateBytes(value);
  return "-" + value;
}

CString TimeSortValue(const CString& stored) {
  int digits = 0;
  while (digits < stored.GetLength() && IsDigit(stored[digits])) ++digits;
  if (digits < 1 || digits >= kYearDigits || stored[digits] != '/') return stored;
  int years = 0;
  for (int i = 0; i < digits; ++i) years = years * 10 + (stored[i] - '0');
  char year[16];
  std::snprintf(year, sizeof year, "%0*d", kYearDigits, 1900 + years);
  return CString(year) + stored.Mid(digits);
}

CString SortKeyPartValue(SortableObject& object, char letter) {
  switch (letter) {
    case '#':
      return SequenceSortValue(object.sortAttribute(kSequenceKey));
    case 'A': {
      // A mail address and a full name both sort by their first word.
      int pos = 0;
      CString word;
      if (!StrNextToken(Attribute(object, AuthorKey), pos, "@ ", word)) return CString();
      return Lowered(word);
    }
    case 'C':
      return TimeSortValue(Attribute(object, TimeCreatedKey));
    case 'E':
      return TimeSortValue(Attribute(object, TimeExpireKey));
    case 'O':
      return TimeSortValue(Attribute(object, TimeOpenKey));
    case 'I':
      return Lowered(object.sortIdentifier());
    case 'P':
      return Lowered(object.sortAttribute(kParentKey));
    case 'S':
      return DocumentTypeName && object.sortType() == *DocumentTypeName ? object.sortScore()
                                                                        : CString();
    case 'T':
      return FoldToAscii(object.sortTitle());
    case 't':
      return CString(static_cast<char>('A' + object.sortClassCode()));
    default:
      return CString();
  }
}

CString BuildSortKey(SortableObject& object, const CString& order) {
  CString key;
  bool descending = false;
  for (int i = 0; i < order.GetLength(); ++i) {
    const char letter = order[i];
    if (letter == '-') {
      descending = true;
      continue;
    }
    CString value = SortKeyPartValue(object, letter);
    if (descending) {
      StrNegateBytes(value);
      key += value;
      key += static_cast<char>(kDescendingPartEnd);
    } else {
      key += value;
      key += static_cast<char>(kAscendingPartEnd);
    }
    descending = false;
  }
  return key;
}

bool SortKeyLessOrEqual(const CString& a, const CString& b) {
  // Past its end a key reads as NUL, as the terminated strings did.
  auto at = [](const CString& s, int i) -> signed char {
    return i < s.GetLength() ? static_cast<signed char>(s[i]) : 0;
  };
  int i = 0;
  while (at(a, i) != 0 && at(a, i) == at(b, i)) ++i;
  if (at(a, i) == 0) return true;
  return at(a, i) < at(b, i);
}
