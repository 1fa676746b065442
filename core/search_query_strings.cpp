#include "core/search_query_strings.h"

#include "core/str_helpers.h"
#include "win/kernel.h"

CString midRange(const CString& s, int a, int b) { return StrSlice(s, a, b); }

CString midFrom(const CString& s, int a) { return s.Mid(a < 0 ? 0 : a); }

bool StrEquals(const CString& s, const char* t) {
  const auto* left = reinterpret_cast<const unsigned char*>(s.c_str());
  if (!t) return left[0] == '\0';
  return _mbscmp(left, reinterpret_cast<const unsigned char*>(t)) == 0;
}

CString concat(const char* a, const CString& b) { return CString(a ? a : "") + b; }

CString concat(const CString& a, const char* b) { return b ? a + b : a; }
