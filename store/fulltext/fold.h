// Folding of full-text keys and search terms: letters of the Latin-1, Latin
// Extended, Greek and Cyrillic ranges become plain letters (ligatures two),
// case is set as asked, and separators are dropped, so that words compare
// whatever their accents and case.
#pragma once

#include <string>
#include <string_view>

enum FoldFlags : int {
  kKeepCapitals = 1,    // else capitals become small letters
  kKeepSmall = 2,       // else small letters become capitals
  kKeepDigits = 4,      // else digits are dropped
  kKeepOtherAscii = 8,  // else other ASCII characters are dropped
  kCapitalsAndDigits = kKeepCapitals | kKeepDigits,
};

enum TextEncoding : int {
  kOneByte = 0,
  kTwoBytes = 1,   // first byte high
  kFourBytes = 2,  // first byte highest
  // Bytes below 160 alone, 160-245 lead two bytes, 246-251 three, 252 and
  // above five; each character is then mapped by decodeWide.
  kDictionaryBytes = 3,
};

constexpr int kMaxFoldedLength = 100;

// The folded code of a character (0: dropped) and, for a ligature, its
// second letter. With `cyrillic`, the bytes of the 8-bit Cyrillic code are
// taken as Cyrillic letters; capital and small Cyrillic letters fold alike.
int foldChar(int code, int flags, int& second, bool cyrillic);

// The folded text, at most kMaxFoldedLength characters. A character in
// `stopChars` (codes below 255) ends it; a character whose last bytes lie
// beyond the text ends it too.
std::string foldText(std::string_view text, int flags, int encoding = kOneByte, bool cyrillic = false,
                     const char* stopChars = nullptr);

// Folds `text` in place; 1 when the result is not empty.
int foldString(std::string& text, int flags, int encoding = kOneByte, bool cyrillic = false,
               const char* stopChars = nullptr);
