#include "net/kx_header.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/fatal.h"
#include "core/regexp.h"

namespace {

constexpr const char* kSourceName = "KXHEADER";
constexpr int kMagicLength = 5;

// The line patterns, compiled on first use and kept for the program's life.
Regexp& SizePattern() {
  static Regexp* p = new Regexp("^sz=(-?[0-9]+)$");
  return *p;
}
Regexp& RefPattern() {
  static Regexp* p = new Regexp("^ref=(-?[0-9]+)$");
  return *p;
}
Regexp& TypePattern() {
  static Regexp* p = new Regexp("^type=([0-9]+)$");
  return *p;
}
Regexp& FlagPattern() {
  static Regexp* p = new Regexp("^Z=([0,1])$");
  return *p;
}
Regexp& VersionPattern() {
  static Regexp* p = new Regexp("^ver=([0-9]+)$");
  return *p;
}

// Group 1 of the last match of `re` over `text` as a number; false when it
// does not fit 32 bits (such a line sets nothing: a size or number the
// fields cannot hold is no size at all).
bool GroupValue(Regexp& re, const char* text, std::int64_t& out) {
  const int b = re.BeginningOfMatch(1);
  const int e = re.EndOfMatch(1);
  if (b < 0 || e <= b) return false;
  char digits[32];
  const int n = e - b;
  if (n >= static_cast<int>(sizeof digits)) {
    // Leading zeros may make a small number long; anything else this long
    // is out of range.
    int i = b + (text[b] == '-' ? 1 : 0);
    while (i < e - 1 && text[i] == '0') ++i;
    const int significant = e - i;
    if (significant >= static_cast<int>(sizeof digits) - 1) return false;
    digits[0] = text[b] == '-' ? '-' : '+';
    std::memcpy(digits + 1, text + i, static_cast<size_t>(significant));
    digits[significant + 1] = '\0';
  } else {
    std::memcpy(digits, text + b, static_cast<size_t>(n));
    digits[n] = '\0';
  }
  errno = 0;
  char* stop = nullptr;
  const long long v = std::strtoll(digits, &stop, 10);
  if (errno != 0 || !stop || *stop != '\0') return false;
  if (v < INT32_MIN || v > INT32_MAX) return false;
  out = v;
  return true;
}

// Whether `text[0, length)` could still grow into the first line.
bool PrefixOfMagicLine(const char* text, int length) {
  static const char line[] = "KXHDR\n";
  const int n = length < kMagicLength + 1 ? length : kMagicLength + 1;
  return std::memcmp(text, line, static_cast<size_t>(n)) == 0;
}

}  // namespace

void KorvexAssertFailed(const char* text, const char* source, int line) {
  char message[512];
  std::snprintf(message, sizeof message, "Korvex assertion failed: %s; file: %s; line: %d",
                text ? text : "", source ? source : "", line);
  FatalErrorBox(message);
}

KxHeader::KxHeader() { reset(); }

void KxHeader::reset() {
  type = kUnsetType;
  sz = kUnset;
  ref = kUnset;
  Z = kUnset;
  ver = 1;
}

bool KxHeader::isUnset() const {
  return type == kUnsetType && sz == kUnset && ref == kUnset && Z == kUnset;
}

void KxHeader::sanitize() {
  if (type < 0 || type > kMaxType) type = kDefaultType;
  if (sz == kUnset) sz = -1;
  if (ref == kUnset) ref = -1;
  if (Z == kUnset) Z = 0;
  if (ver == kUnset) ver = 1;
}

void KxHeader::write(char* buffer, int& length) const {
  if (isUnset()) KorvexAssertFailed("KxHeader::write(): this not ok", kSourceName, __LINE__);
  KxHeader h = *this;
  h.sanitize();
  // The flag goes out as its low byte read unsigned.
  const unsigned flag = static_cast<unsigned>(h.Z) & 0xFFu;
  const int n = std::snprintf(buffer, kMaxLength, "%s\nver=%d\ntype=%d\nsz=%d\nref=%d\nZ=%u\n",
                              kMagic, h.ver, h.type, h.sz, h.ref, flag);
  // Five 32-bit numbers cannot fill the buffer; the NUL is part of the
  // header.
  length = (n > 0 && n < kMaxLength ? n : kMaxLength - 1) + 1;
  buffer[length - 1] = '\0';
}

void KxHeader::writeString(CString& out) const {
  char buffer[kMaxLength];
  int length = 0;
  write(buffer, length);
  out = CString(buffer, length);
}

int KxHeader::get_line_(const char* start, const char* end) {
  if (end < start)
    KorvexAssertFailed("KxHeader::get_line_(): already passed end of data", kSourceName, __LINE__);
  if (start == end) return -1;
  if (*start == '\0') return 0;
  const void* lf = std::memchr(start, '\n', static_cast<size_t>(end - start));
  if (!lf) return -1;
  return static_cast<int>(static_cast<const char*>(lf) - start);
}

void KxHeader::takeLine(const char* line, int length) {
  // A line the patterns could hold is short; a NUL inside a line would cut
  // the pattern search short and let a garbled line pass.
  char text[64];
  if (length >= static_cast<int>(sizeof text)) return;
  if (std::memchr(line, '\0', static_cast<size_t>(length))) return;
  std::memcpy(text, line, static_cast<size_t>(length));
  text[length] = '\0';

  std::int64_t v = 0;
  if (SizePattern().Search(text, length) >= 0) {
    if (GroupValue(SizePattern(), text, v)) sz = static_cast<std::int32_t>(v);
  } else if (RefPattern().Search(text, length) >= 0) {
    if (GroupValue(RefPattern(), text, v)) ref = static_cast<std::int32_t>(v);
  } else if (TypePattern().Search(text, length) >= 0) {
    // A number too large for the field is outside 0..8 all the same.
    const bool fits = GroupValue(TypePattern(), text, v);
    type = fits && v >= 0 && v <= kMaxType ? static_cast<std::int32_t>(v) : kUnsetType;
  } else if (FlagPattern().Search(text, length) >= 0) {
    // The class holds a comma as well: it reads as 0.
    Z = text[FlagPattern().BeginningOfMatch(1)] == '1' ? 1 : 0;
  } else if (VersionPattern().Search(text, length) >= 0) {
    if (GroupValue(VersionPattern(), text, v)) ver = static_cast<std::int32_t>(v);
  }
}

KxHeader::Scan KxHeader::scan(const char* data, int length, int& headerLength) {
  reset();
  headerLength = -1;
  if (!data || length <= 0) return Scan::kIncomplete;
  const char* end = data + length;
  int n = get_line_(data, end);
  if (n < 0) {
    // No line feed yet: a header only while the bytes can still become the
    // first line.
    return PrefixOfMagicLine(data, length) && length <= kMagicLength ? Scan::kIncomplete
                                                                      : Scan::kNotHeader;
  }
  if (n != kMagicLength || std::memcmp(data, kMagic, kMagicLength) != 0) return Scan::kNotHeader;

  const char* p = data + n + 1;
  for (;;) {
    n = get_line_(p, end);
    if (n < 1) break;
    takeLine(p, n);
    p += n + 1;
  }
  if (n < 0) return length >= kMaxLength ? Scan::kTooLong : Scan::kIncomplete;
  headerLength = static_cast<int>(p - data) + 1;
  return Scan::kComplete;
}

int KxHeader::read(const char* data, int length) {
  int headerLength = -1;
  const Scan s = scan(data, length, headerLength);
  return s == Scan::kComplete ? headerLength : -1;
}
