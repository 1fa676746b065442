#include "gdi/text/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "win/gdi.h"

namespace win::gdi::text {

namespace {

// Windows-1252 0x80-0x9F; the five unassigned bytes stand for themselves,
// as Windows converts them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

enum class Outcome { Char, Incomplete, Invalid };

// Converts exactly `n` bytes to one character.
Outcome ConvertOne(iconv_t cd, const unsigned char* bytes, std::size_t n, char32_t* out) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
  char in[2];
  std::memcpy(in, bytes, n);
  char* inp = in;
  std::size_t inLeft = n;
  char32_t buf[4] = {};
  char* outp = reinterpret_cast<char*>(buf);
  std::size_t outLeft = sizeof(buf);
  std::size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
  if (r == std::size_t(-1)) {
    if (errno == EINVAL) return Outcome::Incomplete;
    return Outcome::Invalid;
  }
  if (inLeft != 0 || sizeof(buf) - outLeft != sizeof(char32_t)) return Outcome::Invalid;
  *out = buf[0];
  return Outcome::Char;
}

}  // namespace

CodePage::CodePage(Kind kind) {
  for (int b = 0; b < 256; ++b) single_[b] = char32_t(b);
  switch (kind) {
    case Kind::Windows1252:
      for (int b = 0x80; b < 0xA0; ++b) single_[b] = kCp1252High[b - 0x80];
      break;
    case Kind::ShiftJis:
      BuildFromIconv("CP932", true);
      break;
    case Kind::Korean:
      BuildFromIconv("CP949", true);
      break;
    case Kind::Oem437:
      BuildFromIconv("IBM437", false);
      break;
    case Kind::Symbol:
      break;
  }
}

void CodePage::BuildFromIconv(const char* name, bool doubleByte) {
  // UTF-32 in the machine's order: the output is read as char32_t.
  iconv_t cd = iconv_open("UTF-32LE", name);
  if (cd == iconv_t(-1)) {
    // No converter on this system: ASCII stays, everything else is unknown.
    for (int b = 0x80; b < 256; ++b) single_[b] = kReplacementChar;
    return;
  }
  for (int b = 0x80; b < 256; ++b) {
    unsigned char byte = static_cast<unsigned char>(b);
    char32_t ch = 0;
    Outcome o = ConvertOne(cd, &byte, 1, &ch);
    if (o == Outcome::Char) {
      single_[b] = ch;
    } else if (o == Outcome::Incomplete && doubleByte) {
      lead_[b] = true;
    }
    // An unassigned byte keeps its own value, as Windows converts it.
  }
  if (doubleByte) {
    pairs_.assign(65536, 0);
    for (int lead = 0x80; lead < 256; ++lead) {
      if (!lead_[lead]) continue;
      for (int trail = 0x20; trail < 256; ++trail) {
        unsigned char pair[2] = {static_cast<unsigned char>(lead),
                                 static_cast<unsigned char>(trail)};
        char32_t ch = 0;
        if (ConvertOne(cd, pair, 2, &ch) == Outcome::Char && ch > 0 && ch <= 0xFFFF) {
          pairs_[std::size_t(lead) << 8 | std::size_t(trail)] = char16_t(ch);
        }
      }
    }
  }
  iconv_close(cd);
}

const CodePage& CodePage::ForCharset(BYTE charset) {
  switch (charset) {
    case SHIFTJIS_CHARSET: {
      static const CodePage page(Kind::ShiftJis);
      return page;
    }
    case HANGUL_CHARSET: {
      static const CodePage page(Kind::Korean);
      return page;
    }
    case OEM_CHARSET: {
      static const CodePage page(Kind::Oem437);
      return page;
    }
    case SYMBOL_CHARSET: {
      static const CodePage page(Kind::Symbol);
      return page;
    }
    default: {
      static const CodePage page(Kind::Windows1252);
      return page;
    }
  }
}

int CodePage::Decode(const unsigned char* s, int avail, char32_t* ch) const {
  unsigned char b = s[0];
  if (!lead_[b]) {
    *ch = single_[b];
    return 1;
  }
  if (avail >= 2) {
    char16_t c = pairs_[std::size_t(b) << 8 | s[1]];
    if (c != 0) {
      *ch = c;
      return 2;
    }
  }
  // A lead byte without a valid partner: one unknown character; the next
  // byte is read on its own (it may be plain ASCII).
  *ch = kReplacementChar;
  return 1;
}

char32_t CodePage::CharOfCode(std::uint32_t code) const {
  if (code < 0x100) return lead_[code] ? kReplacementChar : single_[code];
  if (code > 0xFFFF || pairs_.empty()) return kReplacementChar;
  char16_t c = pairs_[code];
  return c != 0 ? char32_t(c) : kReplacementChar;
}

}  // namespace win::gdi::text
