#include "core/uri_chars.h"

#include <array>
#include <string>

namespace uri_chars {
namespace {

using Table = std::array<bool, 256>;

Table Build(const char* members, bool alpha, bool digits, bool high) {
  Table t{};
  for (const char* p = members; *p; ++p) t[static_cast<unsigned char>(*p)] = true;
  for (int c = 0; c < 256; ++c) {
    if (alpha && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) t[c] = true;
    if (digits && c >= '0' && c <= '9') t[c] = true;
    if (high && c >= 128) t[c] = true;
  }
  return t;
}

const Table& HexTable() {
  static const Table t = Build("ABCDEFabcdef", false, true, false);
  return t;
}
const Table& AlphaTable() {
  static const Table t = Build("", true, false, false);
  return t;
}
const Table& DigitTable() {
  static const Table t = Build("", false, true, false);
  return t;
}
const Table& XalphaTable() {
  static const Table t = Build("!\"$&'()*,-.@_", true, true, false);
  return t;
}
const Table& NationalTable() {
  static const Table t = Build("\">[\\]^`{|}~", false, false, true);
  return t;
}
const Table& SafeTable() {
  static const Table t = Build("$+-._", false, false, false);
  return t;
}
const Table& ExtraTable() {
  static const Table t = Build("!'()*,", false, false, false);
  return t;
}

int HexValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

bool PcharCore(unsigned char c) {
  return IsAlpha(c) || IsDigit(c) || IsSafe(c) || IsExtra(c) || IsNational(c);
}

}  // namespace

bool IsHex(unsigned char c) { return HexTable()[c]; }
bool IsAlpha(unsigned char c) { return AlphaTable()[c]; }
bool IsDigit(unsigned char c) { return DigitTable()[c]; }
bool IsAlnum(unsigned char c) { return IsAlpha(c) || IsDigit(c); }
bool IsXalpha(unsigned char c) { return XalphaTable()[c]; }
bool IsXalnum(unsigned char c) { return IsXalpha(c) || IsDigit(c); }
bool IsNational(unsigned char c) { return NationalTable()[c]; }
bool IsSafe(unsigned char c) { return SafeTable()[c]; }
bool IsExtra(unsigned char c) { return ExtraTable()[c]; }

bool IsPchar(unsigned char c) {
  return c == '&' || c == ':' || c == '=' || c == '@' || PcharCore(c);
}

bool IsUchar(unsigned char c) {
  return c == '&' || c == '/' || c == ':' || c == ';' || c == '=' || c == '?' || c == '@' ||
         PcharCore(c);
}

bool IsParamChar(unsigned char c) { return c == '/' || IsPchar(c); }
bool IsUcharOrBlank(unsigned char c) { return c == ' ' || IsUchar(c); }

int DecodeEscape(const CString& text, int i) {
  // Both digits must lie inside the text: a "%" at or next to the end is a
  // bad escape, never a read past it.
  if (i < 0 || i > text.GetLength() - 3) return -1;
  if (text[i] != '%') return -1;
  const auto hi = static_cast<unsigned char>(text[i + 1]);
  const auto lo = static_cast<unsigned char>(text[i + 2]);
  if (!IsHex(hi) || !IsHex(lo)) return -1;
  return HexValue(hi) * 16 + HexValue(lo);
}

bool CheckPart(CString& part, const PartRule& rule, bool* badEscape) {
  if (badEscape) *badEscape = false;
  const int n = part.GetLength();
  if (n == 0) return true;
  if (rule.first && !rule.first(static_cast<unsigned char>(part[0]))) return false;
  std::string out;
  out.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const auto c = static_cast<unsigned char>(part[i]);
    if (c == '%') {
      const int value = DecodeEscape(part, i);
      if (value < 0) {
        if (badEscape) *badEscape = true;
        return false;
      }
      if (rule.decode && rule.rest(static_cast<unsigned char>(value))) {
        out.push_back(static_cast<char>(value));
      } else {
        out.append(part.view().substr(static_cast<std::size_t>(i), 3));
      }
      i += 2;
      continue;
    }
    if (!(i == 0 && rule.first) && !rule.rest(c)) return false;
    out.push_back(static_cast<char>(c));
  }
  part = CString(std::move(out));
  return true;
}

}  // namespace uri_chars
