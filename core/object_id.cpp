#include "core/object_id.h"

#include <cstdio>
#include <cstring>

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One integer conversion of the old scanf: leading blanks, an optional sign,
// for base 16 an optional "0x"/"0X" prefix, then digits accumulated in 32
// bits with wrap-around. False when no digit was read.
bool scanNumber(std::string_view s, size_t pos, int base, LONG& out) {
  while (pos < s.size() && isBlank(s[pos])) ++pos;
  bool negative = false;
  if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
    negative = s[pos] == '-';
    ++pos;
  }
  if (base == 16 && pos + 1 < s.size() && s[pos] == '0' && (s[pos + 1] == 'x' || s[pos + 1] == 'X'))
    pos += 2;
  DWORD value = 0;
  bool any = false;
  for (; pos < s.size(); ++pos) {
    int d = base == 16 ? hexDigit(s[pos]) : (s[pos] >= '0' && s[pos] <= '9' ? s[pos] - '0' : -1);
    if (d < 0) break;
    value = value * static_cast<DWORD>(base) + static_cast<DWORD>(d);
    any = true;
  }
  if (!any) return false;
  if (negative) value = 0u - value;
  out = static_cast<LONG>(value);
  return true;
}

}  // namespace

LONG ObjectId::Parse(std::string_view text) {
  // "0x%x": the literal "0x" must stand at the very start (a literal in a
  // scanf format skips no blanks). Running out of input inside the literal
  // ends the scan as "end of input": the id stays 0.
  if (text.empty() || text[0] == '0') {
    if (text.size() < 2) return 0;
    if (text[1] == 'x') {
      LONG hex = 0;
      if (scanNumber(text, 2, 16, hex)) return hex;
      // Nothing converted after "0x": fall through to the decimal form,
      // which reads the leading 0.
    }
  }
  LONG dec = 0;
  return scanNumber(text, 0, 10, dec) ? dec : 0;
}

ObjectId::ObjectId(const char* text) : value_(text ? Parse(std::string_view(text)) : 0) {}

ObjectId::ObjectId(const CString& text) : value_(Parse(std::string_view(text.c_str()))) {}

CString ObjectId::Format() const {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08x", static_cast<unsigned>(static_cast<DWORD>(value_)));
  return CString(buf);
}
