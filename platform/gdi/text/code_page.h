// The byte encodings text arrives in, by the font's character set: Windows-
// 1252 for ANSI (0x80-0x9F are the Windows punctuation, euro and letters,
// not C1 controls), Shift-JIS (code page 932) for SHIFTJIS_CHARSET, EUC-KR
// and its Windows extension (code page 949) for HANGUL_CHARSET, code page
// 437 for OEM_CHARSET, and the bytes themselves for SYMBOL_CHARSET.
//
// The double-byte tables are built on first use from the C library's iconv,
// so a lookup is one array read and bad bytes can never run past the text.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "win/types.h"

namespace win::gdi::text {

// What a byte sequence that is not a character becomes.
inline constexpr char32_t kReplacementChar = 0xFFFD;

class CodePage {
 public:
  static const CodePage& ForCharset(BYTE charset);

  // Decodes the character at the start of `s`, of which `avail` (> 0) bytes
  // may be read; gives its length in bytes (1 or 2) and stores the character.
  int Decode(const unsigned char* s, int avail, char32_t* ch) const;
  bool IsLeadByte(unsigned char b) const { return lead_[b]; }
  bool doubleByte() const { return !pairs_.empty(); }
  // A character code as GetCharWidth takes it: a byte, or lead << 8 | trail.
  char32_t CharOfCode(std::uint32_t code) const;

  enum class Kind { Windows1252, ShiftJis, Korean, Oem437, Symbol };
  explicit CodePage(Kind kind);

 private:
  void BuildFromIconv(const char* name, bool doubleByte);

  std::array<char32_t, 256> single_{};
  std::array<bool, 256> lead_{};
  std::vector<char16_t> pairs_;  // (lead << 8 | trail) -> character; 0 = none
};

}  // namespace win::gdi::text
