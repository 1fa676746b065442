#include "store/localdb/local_names.h"

#include <cstdio>

#include "store/fulltext/language_file.h"

namespace localdb {

namespace {
const char* prefixOf(KeyKind kind) {
  switch (kind) {
    case KeyKind::kRecord: return "%O";
    case KeyKind::kParent: return "%RP";
    case KeyKind::kChild: return "%RC";
    case KeyKind::kAnchorFrom: return "%AS";
    case KeyKind::kAnchorTo: return "%AD";
  }
  return "%";
}
}  // namespace

std::string upperCase(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = static_cast<char>(upperLatin1(static_cast<unsigned char>(c)));
  return s;
}

std::string idKey(KeyKind kind, std::uint32_t id) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0X%08X", id);
  return std::string(prefixOf(kind)) + hex;
}

std::string nameKey(KeyKind kind, std::string_view reference) {
  return std::string(prefixOf(kind)) + foldKeyName(reference);
}

std::string formatId(std::uint32_t id) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", id);
  return text;
}

std::string dataSetNameOf(std::string_view reference) {
  size_t at = reference.find(kIdSeparator);
  if (at == std::string_view::npos) return {};
  std::string_view name = reference.substr(at + 1);
  size_t first = name.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  size_t last = name.find_last_not_of(' ');
  name = name.substr(first, last - first + 1);
  return std::string(name.substr(0, kMaxReference));
}

bool isIdText(std::string_view text) {
  return text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

std::string stripStoreSuffix(std::string_view reference) {
  size_t at = isIdText(reference) ? reference.find(kIdSeparator) : reference.find(kNameSeparator);
  return std::string(reference.substr(0, at));
}

std::string foldKeyName(std::string_view reference) {
  std::string s = upperCase(reference.substr(0, kMaxReference));
  for (char& c : s)
    if (c == ' ') c = '\x01';
  return s;
}

bool parseId(std::string_view text, std::uint32_t& out) {
  std::string t = stripStoreSuffix(text);
  size_t first = t.find_first_not_of(' ');
  if (first == std::string::npos) return false;
  t = t.substr(first);
  const bool hex = isIdText(t);
  size_t i = hex ? 2 : 0;
  std::uint64_t v = 0;
  size_t digits = 0;
  for (; i < t.size(); ++i, ++digits) {
    const char c = t[i];
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    if (d < 0) break;
    v = v * (hex ? 16 : 10) + static_cast<std::uint64_t>(d);
    if (v > 0xFFFFFFFFull) return false;
  }
  if (digits == 0) return false;
  out = static_cast<std::uint32_t>(v);
  return true;
}

}  // namespace localdb
