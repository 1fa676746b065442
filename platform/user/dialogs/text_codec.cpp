#include "text_codec.h"

#include <array>
#include <unordered_map>

#include "gdi/text/code_page.h"
#include "win/gdi.h"

namespace win::user {
namespace {

const std::array<char32_t, 256>& AnsiToUnicode() {
  static const std::array<char32_t, 256> table = [] {
    std::array<char32_t, 256> t{};
    const auto& cp = gdi::text::CodePage::ForCharset(ANSI_CHARSET);
    for (int b = 0; b < 256; ++b) {
      const unsigned char byte = static_cast<unsigned char>(b);
      char32_t ch = 0;
      cp.Decode(&byte, 1, &ch);
      // Bytes the code page leaves undefined keep their own value.
      t[static_cast<size_t>(b)] = ch == gdi::text::kReplacementChar ? static_cast<char32_t>(b) : ch;
    }
    return t;
  }();
  return table;
}

const std::unordered_map<char32_t, char>& UnicodeToAnsi() {
  static const std::unordered_map<char32_t, char> table = [] {
    std::unordered_map<char32_t, char> t;
    const auto& forward = AnsiToUnicode();
    for (int b = 0; b < 256; ++b) t.emplace(forward[static_cast<size_t>(b)], static_cast<char>(b));
    return t;
  }();
  return table;
}

void AppendUtf16(std::u16string& out, char32_t ch) {
  if (ch >= 0x10000) {
    ch -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (ch >> 10));
    out += static_cast<char16_t>(0xDC00 + (ch & 0x3FF));
  } else {
    out += static_cast<char16_t>(ch);
  }
}

// The length of the valid UTF-8 sequence at s[i] and its character, or 0.
size_t DecodeUtf8(std::string_view s, size_t i, char32_t* out) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  size_t len = 0;
  char32_t ch = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2;
    ch = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3;
    ch = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4;
    ch = b0 & 0x07;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    ch = (ch << 6) | (b & 0x3F);
  }
  // Overlong forms, surrogates and values past Unicode are not characters.
  if ((len == 3 && ch < 0x800) || (len == 4 && (ch < 0x10000 || ch > 0x10FFFF)) ||
      (ch >= 0xD800 && ch <= 0xDFFF))
    return 0;
  *out = ch;
  return len;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      out += static_cast<char16_t>(b);
      ++i;
      continue;
    }
    char32_t ch = 0;
    if (const size_t n = DecodeUtf8(text, i, &ch)) {
      AppendUtf16(out, ch);
      i += n;
    } else {
      AppendUtf16(out, AnsiToUnicode()[b]);
      ++i;
    }
  }
  return out;
}

std::string Utf16ToAnsi(std::u16string_view text) {
  const auto& table = UnicodeToAnsi();
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t ch = text[i];
    if (ch >= 0xD800 && ch <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      ch = 0x10000 + ((ch - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    auto it = table.find(ch);
    out += it == table.end() ? '?' : it->second;
  }
  return out;
}

std::u16string AnsiToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) AppendUtf16(out, AnsiToUnicode()[static_cast<unsigned char>(c)]);
  return out;
}

}  // namespace win::user
