// Small substring and comparison helpers on CString that code all over the
// client uses (they came with the search-query builder, which needs them
// most).
#pragma once

#include "mfc/cstring.h"

// The characters of `s` from index a to index b, both included, clamped to
// the text; empty when b is below a.
CString midRange(const CString& s, int a, int b);

// The characters of `s` from index a to the end; a negative a counts as 0.
CString midFrom(const CString& s, int a);

// `s` equals `t` as C strings (multibyte comparison, up to the first NUL);
// a null `t` equals only the empty string.
bool StrEquals(const CString& s, const char* t);

// `a` followed by `b`; a null operand counts as empty.
CString concat(const char* a, const CString& b);
CString concat(const CString& a, const char* b);
