#include "app/interpreter/command_text.h"

#include <climits>
#include <cstring>
#include <string>

#include "core/screen_geometry.h"

namespace command_text {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool Readable(const char* const* cursor) { return cursor && *cursor; }

}  // namespace

bool IsSpace(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return u == ' ' || (u >= '\t' && u <= '\r');
}

bool IsIdentifierChar(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
}

void SkipSpace(const char** cursor) {
  if (!Readable(cursor)) return;
  while (IsSpace(**cursor)) ++*cursor;
}

CString ReadIdentifier(const char** cursor) {
  if (!Readable(cursor)) return {};
  SkipSpace(cursor);
  const char* start = *cursor;
  while (IsIdentifierChar(**cursor)) ++*cursor;
  return CString(start, static_cast<int>(*cursor - start));
}

int ReadNumber(const char** cursor) {
  if (!Readable(cursor)) return 0;
  SkipSpace(cursor);
  const char* p = *cursor;
  if (IsDigit(*p)) {
    long long value = 0;
    for (; IsDigit(*p); ++p) {
      value = value * 10 + (*p - '0');
      if (value > INT_MAX) value = INT_MAX;
    }
    *cursor = p;
    return static_cast<int>(value);
  }
  if (*p != '"') return 0;
  const char* start = ++p;
  while (*p && *p != '"' && *p != '\n') ++p;
  if (*p != '"') {
    *cursor = p;
    return 0;
  }
  const std::string content(start, static_cast<size_t>(p - start));
  *cursor = p + 1;
  return ReadValue(content.c_str());
}

COLORREF ReadColor(const char** cursor) {
  if (!Readable(cursor)) return 0;
  SkipSpace(cursor);
  const char* p = *cursor;
  if (p[0] != '0' || p[1] != 'x') return 0;
  p += 2;
  unsigned rgb = 0;
  for (int digits = 0; HexDigit(*p) >= 0; ++p, ++digits)
    if (digits < 6) rgb = rgb * 16 + static_cast<unsigned>(HexDigit(*p));
  *cursor = p;
  const unsigned red = (rgb >> 16) & 0xFF, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
  return static_cast<COLORREF>(red | (green << 8) | (blue << 16));
}

CString ReadQuotedString(const char** cursor) {
  if (!Readable(cursor)) return {};
  SkipSpace(cursor);
  const char* p = *cursor;
  if (*p != '"') return {};
  const char* start = ++p;
  while (*p && *p != '"') ++p;
  CString text(start, static_cast<int>(p - start));
  *cursor = *p ? p + 1 : p;
  return text;
}

CString ReadArgument(const char** cursor, const char* arguments) {
  if (!Readable(cursor)) return {};
  SkipSpace(cursor);
  if (**cursor != '#') return {};
  ++*cursor;
  const int n = ReadNumber(cursor);
  if (n < 1 || !arguments) return {};
  const char* item = arguments;
  for (int i = 1; i < n; ++i) {
    item = std::strchr(item, ',');
    if (!item) return {};
    ++item;
  }
  while (IsSpace(*item)) ++item;
  const char* end = std::strchr(item, ',');
  return end ? CString(item, static_cast<int>(end - item)) : CString(item);
}

}  // namespace command_text
