// Byte-string helpers of the old runtime for the single-byte Windows-1252
// code page: casing, comparisons without case, and in-place casing.
#include <cstring>

#include "win/kernel.h"

namespace {

// Windows-1252 pairs outside the two plain alphabets: Š/š, Œ/œ, Ž/ž, Ÿ/ÿ.
// 0xDF (sharp s) and 0xB5 (micro) have no single-byte partner and stay.
constexpr unsigned char kExtraUpper[] = {0x8A, 0x8C, 0x8E, 0x9F};
constexpr unsigned char kExtraLower[] = {0x9A, 0x9C, 0x9E, 0xFF};

int Lower(int c) { return win_tolower(c); }

}  // namespace

int win_toupper(int c) {
  if (c >= 'a' && c <= 'z') return c - ('a' - 'A');
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  for (size_t i = 0; i < sizeof kExtraLower; ++i)
    if (c == kExtraLower[i]) return kExtraUpper[i];
  return c;
}

int win_tolower(int c) {
  if (c >= 'A' && c <= 'Z') return c + ('a' - 'A');
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  for (size_t i = 0; i < sizeof kExtraUpper; ++i)
    if (c == kExtraUpper[i]) return kExtraLower[i];
  return c;
}

// A null string sorts before every other string and equals another null one,
// so a missing name is a result, not a crash.
static int CompareNulls(const void* a, const void* b) {
  if (a == b) return 0;
  return a == nullptr ? -1 : 1;
}

int _mbscmp(const unsigned char* a, const unsigned char* b) {
  if (!a || !b) return CompareNulls(a, b);
  for (;; ++a, ++b) {
    if (*a != *b) return *a < *b ? -1 : 1;
    if (*a == 0) return 0;
  }
}

// The runtime compares the lower-case forms, so "_" sorts before letters.
int _strnicmp(const char* a, const char* b, size_t n) {
  if (!a || !b) return CompareNulls(a, b);
  for (size_t i = 0; i < n; ++i) {
    int ca = Lower(static_cast<unsigned char>(a[i]));
    int cb = Lower(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
  return 0;
}

int _stricmp(const char* a, const char* b) { return _strnicmp(a, b, static_cast<size_t>(-1)); }

int _mbsicmp(const unsigned char* a, const unsigned char* b) {
  return _stricmp(reinterpret_cast<const char*>(a), reinterpret_cast<const char*>(b));
}

char* _strupr(char* s) {
  if (!s) return s;
  for (char* p = s; *p; ++p) *p = static_cast<char>(win_toupper(static_cast<unsigned char>(*p)));
  return s;
}

char* _strlwr(char* s) {
  if (!s) return s;
  for (char* p = s; *p; ++p) *p = static_cast<char>(win_tolower(static_cast<unsigned char>(*p)));
  return s;
}
