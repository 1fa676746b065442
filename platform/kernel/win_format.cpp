// printf and scanf with the 32-bit meaning of the `l` size. Code written for
// the old platform passes LONG and DWORD (32 bits) to %ld and %lx and stores
// them through %ld in scanf; glibc would read and write 64-bit longs there.
// The format is rewritten so that glibc sees int-sized conversions instead;
// everything else goes to the C library unchanged.
#include <algorithm>
#include <cstring>
#include <string>

#include "win/kernel.h"

namespace {

bool IsOneOf(char c, const char* set) { return c != '\0' && std::strchr(set, c) != nullptr; }

// Copies a scanf scan set "[...]" starting at fmt[i] == '['; a "]" right after
// "[" or "[^" belongs to the set. Returns the index after the set.
size_t CopyScanSet(const char* fmt, size_t i, std::string& out) {
  out += fmt[i++];
  if (fmt[i] == '^') out += fmt[i++];
  if (fmt[i] == ']') out += fmt[i++];
  while (fmt[i] != '\0' && fmt[i] != ']') out += fmt[i++];
  if (fmt[i] == ']') out += fmt[i++];
  return i;
}

// Rewrites one conversion whose "%" is at fmt[i]; returns the index after it.
size_t TranslateConversion(const char* fmt, size_t i, std::string& out) {
  out += fmt[i++];  // '%'
  if (fmt[i] == '%') {
    out += fmt[i++];
    return i;
  }
  // Argument positions, flags, widths, precisions, '*' (width or, in scanf,
  // no assignment) are kept as they stand.
  while (IsOneOf(fmt[i], "-+ #0'*$.123456789")) out += fmt[i++];

  // Size prefixes of the old runtime: I64 is 64 bits, I32 32 bits, a bare I
  // the size of a pointer-sized integer.
  if (fmt[i] == 'I' && fmt[i + 1] == '6' && fmt[i + 2] == '4') {
    out += "ll";
    i += 3;
  } else if (fmt[i] == 'I' && fmt[i + 1] == '3' && fmt[i + 2] == '2') {
    i += 3;
  } else if (fmt[i] == 'I' && IsOneOf(fmt[i + 1], "diouxX")) {
    out += 'z';
    i += 1;
  } else if (fmt[i] == 'l' && fmt[i + 1] == 'l') {
    out += "ll";
    i += 2;
  } else if (fmt[i] == 'l' && IsOneOf(fmt[i + 1], "diouxXn")) {
    i += 1;  // 32-bit LONG/DWORD: glibc reads and stores an int
  } else {
    while (IsOneOf(fmt[i], "hlLqjzt")) out += fmt[i++];
  }

  if (fmt[i] == '[') return CopyScanSet(fmt, i, out);
  if (fmt[i] != '\0') out += fmt[i++];
  return i;
}

std::string Translate(const char* fmt) {
  std::string out;
  if (!fmt) return out;
  out.reserve(std::strlen(fmt));
  size_t i = 0;
  while (fmt[i] != '\0') {
    if (fmt[i] == '%')
      i = TranslateConversion(fmt, i, out);
    else
      out += fmt[i++];
  }
  return out;
}

}  // namespace

void win_translate_format(const char* fmt, char* out, size_t size) {
  if (!out || size == 0) return;
  std::string t = Translate(fmt);
  size_t n = std::min(t.size(), size - 1);
  std::memcpy(out, t.data(), n);
  out[n] = '\0';
}

int win_vsnprintf(char* out, size_t size, const char* fmt, va_list args) {
  std::string f = Translate(fmt);
  if (!out) size = 0;  // a measuring call
  return std::vsnprintf(out, size, f.c_str(), args);
}

int win_snprintf(char* out, size_t size, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  int n = win_vsnprintf(out, size, fmt, args);
  va_end(args);
  return n;
}

int win_sprintf(char* out, const char* fmt, ...) {
  if (!out) return -1;
  std::string f = Translate(fmt);
  va_list args;
  va_start(args, fmt);
  int n = std::vsprintf(out, f.c_str(), args);
  va_end(args);
  return n;
}

// USER's wsprintf writes at most 1024 bytes, the NUL included, and answers
// the number of characters it stored.
int wsprintf(LPSTR out, LPCSTR fmt, ...) {
  constexpr int kLimit = 1024;
  if (!out) return 0;
  va_list args;
  va_start(args, fmt);
  int n = win_vsnprintf(out, kLimit, fmt, args);
  va_end(args);
  if (n < 0) {
    out[0] = '\0';
    return 0;
  }
  return std::min(n, kLimit - 1);
}

int win_vsscanf(const char* text, const char* fmt, va_list args) {
  if (!text || !fmt) return EOF;
  std::string f = Translate(fmt);
  return std::vsscanf(text, f.c_str(), args);
}

int win_sscanf(const char* text, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  int n = win_vsscanf(text, fmt, args);
  va_end(args);
  return n;
}
