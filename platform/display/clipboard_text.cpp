#include "display/clipboard_text.h"

#include "user/dialogs/text_codec.h"

namespace win::display {
namespace {

std::string_view UpToNul(std::string_view s) {
  const size_t nul = s.find('\0');
  return nul == std::string_view::npos ? s : s.substr(0, nul);
}

// CR LF becomes LF; a lone CR stays.
std::string ToLf(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
    out += s[i];
  }
  return out;
}

// A lone LF becomes CR LF; CR LF stays.
std::string ToCrLf(std::string_view s) {
  std::string out;
  out.reserve(s.size() + s.size() / 16);
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) out += '\r';
    out += s[i];
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t ch) {
  if (ch < 0x80) {
    out += static_cast<char>(ch);
  } else if (ch < 0x800) {
    out += static_cast<char>(0xC0 | (ch >> 6));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else if (ch < 0x10000) {
    out += static_cast<char>(0xE0 | (ch >> 12));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (ch >> 18));
    out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  }
}

}  // namespace

std::string ClipboardTextToUtf8(std::string_view ansi) {
  // Every 1252 byte is one character of the Basic Multilingual Plane.
  const std::u16string wide = user::AnsiToUtf16(ToLf(UpToNul(ansi)));
  std::string out;
  out.reserve(wide.size() + wide.size() / 8);
  for (char16_t c : wide) AppendUtf8(out, c);
  return out;
}

std::string ClipboardTextToLatin1(std::string_view ansi) {
  const std::u16string wide = user::AnsiToUtf16(ToLf(UpToNul(ansi)));
  std::string out;
  out.reserve(wide.size());
  for (char16_t c : wide) out += c <= 0xFF ? static_cast<char>(c) : '?';
  return out;
}

std::string ClipboardTextFromUtf8(std::string_view utf8) {
  return ToCrLf(user::Utf16ToAnsi(user::Utf8ToUtf16(UpToNul(utf8))));
}

std::string ClipboardTextFromLatin1(std::string_view latin1) {
  std::string out(UpToNul(latin1));
  for (char& c : out) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x80 && b <= 0x9F) c = '?';
  }
  return ToCrLf(out);
}

}  // namespace win::display
