#include "core/uri_chars.h"

#include <array>
#include <string>
#include <string_view>

namespace uri_chars {
namespace {

using Table = std::array<bool, 256>;

constexpr Table Build(const char* members, bool alpha, bool digits, bool high) {
  Table t{};
  for (const char* p = members; *p; ++p) t[static_cast<unsigned char>(*p)] = true;
  for (int c = 0; c < 256; ++c) {
    if (alpha && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) t[c] = true;
    if (digits && c >= '0' && c <= '9') t[c] = true;
    if (high && c >= 128) t[c] = true;
  }
  return t;
}

// Made when the program is compiled: a lookup costs no first-use check.
constexpr Table kHex = Build("ABCDEFabcdef", false, true, false);
constexpr Table kAlpha = Build("", true, false, false);
constexpr Table kDigit = Build("", false, true, false);
constexpr Table kXalpha = Build("!\"$&'()*,-.@_", true, true, false);
constexpr Table kNational = Build("\">[\\]^`{|}~", false, false, true);
constexpr Table kSafe = Build("$+-._", false, false, false);
constexpr Table kExtra = Build("!'()*,", false, false, false);

constexpr Table Union(const Table& a, const Table& b) {
  Table t{};
  for (int c = 0; c < 256; ++c) t[c] = a[c] || b[c];
  return t;
}
// alpha digit safe extra national
constexpr Table kPcharCore = Union(Union(Union(kAlpha, kDigit), Union(kSafe, kExtra)), kNational);
constexpr Table kPchar = Union(kPcharCore, Build("&:=@", false, false, false));
constexpr Table kUchar = Union(kPchar, Build("/;?", false, false, false));
constexpr Table kParamChar = Union(kPchar, Build("/", false, false, false));

int HexValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

}  // namespace

bool IsHex(unsigned char c) { return kHex[c]; }
bool IsAlpha(unsigned char c) { return kAlpha[c]; }
bool IsDigit(unsigned char c) { return kDigit[c]; }
bool IsAlnum(unsigned char c) { return kAlpha[c] || kDigit[c]; }
bool IsXalpha(unsigned char c) { return kXalpha[c]; }
bool IsXalnum(unsigned char c) { return kXalpha[c] || kDigit[c]; }
bool IsNational(unsigned char c) { return kNational[c]; }
bool IsSafe(unsigned char c) { return kSafe[c]; }
bool IsExtra(unsigned char c) { return kExtra[c]; }

bool IsPchar(unsigned char c) { return kPchar[c]; }
bool IsUchar(unsigned char c) { return kUchar[c]; }
bool IsParamChar(unsigned char c) { return kParamChar[c]; }
bool IsUcharOrBlank(unsigned char c) { return c == ' ' || kUchar[c]; }

namespace {

int DecodeEscapeAt(std::string_view text, std::size_t i) {
  // Both digits must lie inside the text: a "%" at or next to the end is a
  // bad escape, never a read past it.
  if (i + 3 > text.size() || text[i] != '%') return -1;
  const auto hi = static_cast<unsigned char>(text[i + 1]);
  const auto lo = static_cast<unsigned char>(text[i + 2]);
  if (!kHex[hi] || !kHex[lo]) return -1;
  return HexValue(hi) * 16 + HexValue(lo);
}

}  // namespace

int DecodeEscape(const CString& text, int i) {
  if (i < 0) return -1;
  return DecodeEscapeAt(text.view(), static_cast<std::size_t>(i));
}

bool CheckPart(CString& part, const PartRule& rule, bool* badEscape) {
  if (badEscape) *badEscape = false;
  const std::string_view text = part.view();
  const std::size_t n = text.size();
  if (n == 0) return true;
  if (rule.first && !rule.first(static_cast<unsigned char>(text[0]))) return false;
  // The unescaped form, begun only when an escape is replaced: most parts
  // have none and stay as they are.
  std::string out;
  bool changed = false;
  for (std::size_t i = 0; i < n; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '%') {
      const int value = DecodeEscapeAt(text, i);
      if (value < 0) {
        if (badEscape) *badEscape = true;
        return false;
      }
      if (rule.decode && rule.rest(static_cast<unsigned char>(value))) {
        if (!changed) {
          out.reserve(n);
          out.assign(text.substr(0, i));
          changed = true;
        }
        out.push_back(static_cast<char>(value));
      } else if (changed) {
        out.append(text.substr(i, 3));
      }
      i += 2;
      continue;
    }
    if (!(i == 0 && rule.first) && !rule.rest(c)) return false;
    if (changed) out.push_back(static_cast<char>(c));
  }
  if (changed) part = CString(std::move(out));
  return true;
}

}  // namespace uri_chars
