#include "store/fulltext/fold.h"

#include <cstdint>
#include <cstring>

#include "store/fulltext/char_class.h"
#include "store/fulltext/fold_table.h"

namespace {

int applyCase(int c, int flags) {
  if (c >= 'A' && c <= 'Z') return flags & kKeepCapitals ? c : c + ('a' - 'A');
  if (c >= 'a' && c <= 'z') return flags & kKeepSmall ? c : c - ('a' - 'A');
  if (c >= '0' && c <= '9') return flags & kKeepDigits ? c : 0;
  return flags & kKeepOtherAscii ? c : 0;
}

int cyrillicFold(int code) {
  if (code >= 1040 && code <= 1071) return (code & 0xFF) + 176;
  if (code >= 1072 && code <= 1103) return (code & 0xFF) + 144;
  if (code == 1025 || code == 1105) return 197;
  return 0;
}

// Bytes of the character that starts with `lead`.
size_t widthOf(int encoding, unsigned char lead) {
  switch (encoding) {
    case kTwoBytes: return 2;
    case kFourBytes: return 4;
    case kDictionaryBytes:
      if (lead < 160) return 1;
      if (lead <= 245) return 2;
      if (lead <= 251) return 3;
      return 5;
    default: return 1;
  }
}

}  // namespace

int foldChar(int code, int flags, int& second, bool cyrillic) {
  second = 0;
  if (cyrillic) {
    if (code >= 192 && code <= 255)
      code += 848;
    else if (code == 168)
      code = 1025;
    else if (code == 184)
      code = 1105;
  }
  if (code >= 1024 && code <= 1279) return cyrillicFold(code);
  if (const FoldLetters* letters = findFoldLetters(code)) {
    if (letters->second) second = applyCase(letters->second, flags);
    return applyCase(letters->first, flags);
  }
  if (code < 0 || code > 127) return 0;
  return applyCase(code, flags);
}

std::string foldText(std::string_view text, int flags, int encoding, bool cyrillic, const char* stopChars) {
  std::string out;
  size_t at = 0;
  while (at < text.size() && out.size() < static_cast<size_t>(kMaxFoldedLength)) {
    size_t width = widthOf(encoding, static_cast<unsigned char>(text[at]));
    // A lead byte whose character would run past the end ends the text.
    if (width > text.size() - at) break;
    std::int64_t wide = 0;
    for (size_t i = 0; i < width; ++i) wide = (wide << 8) | static_cast<unsigned char>(text[at + i]);
    at += width;
    int code = wide > INT32_MAX ? -1 : static_cast<int>(wide);
    if (encoding == kDictionaryBytes) code = decodeWide(code);
    if (stopChars && code > 0 && code < 255 && std::strchr(stopChars, code)) break;
    if (!(charClass(code) & kOrdinaryBit)) {
      if ((flags & kKeepOtherAscii) && code >= 0 && code < 128) out.push_back(static_cast<char>(code));
      continue;
    }
    int second;
    int folded = foldChar(code, flags, second, cyrillic);
    if (folded) out.push_back(static_cast<char>(folded));
    if (second && out.size() < static_cast<size_t>(kMaxFoldedLength)) out.push_back(static_cast<char>(second));
  }
  return out;
}

int foldString(std::string& text, int flags, int encoding, bool cyrillic, const char* stopChars) {
  text = foldText(text, flags, encoding, cyrillic, stopChars);
  return text.empty() ? 0 : 1;
}
