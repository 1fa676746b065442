#include "oldio/extract.h"

#include <cstdint>

namespace oldio {
namespace {

// Reads an optionally signed decimal number, keeping its value modulo 2^32.
// False when no digit follows the sign.
bool readModulo32(std::istream& in, std::uint32_t* out) {
  using traits = std::char_traits<char>;
  std::istream::sentry ok(in);  // skips white space as the stream's flags say
  if (!ok) return false;
  std::streambuf* sb = in.rdbuf();
  bool negative = false;
  traits::int_type c = sb->sgetc();
  if (!traits::eq_int_type(c, traits::eof()) &&
      (traits::to_char_type(c) == '-' || traits::to_char_type(c) == '+')) {
    negative = traits::to_char_type(c) == '-';
    c = sb->snextc();
  }
  std::uint32_t value = 0;
  bool digits = false;
  while (!traits::eq_int_type(c, traits::eof())) {
    const char ch = traits::to_char_type(c);
    if (ch < '0' || ch > '9') break;
    value = value * 10u + static_cast<std::uint32_t>(ch - '0');  // wraps modulo 2^32
    digits = true;
    c = sb->snextc();
  }
  std::ios_base::iostate state = std::ios_base::goodbit;
  if (traits::eq_int_type(c, traits::eof())) state |= std::ios_base::eofbit;
  if (!digits) state |= std::ios_base::failbit;
  if (state != std::ios_base::goodbit) in.setstate(state);
  if (!digits) return false;
  *out = negative ? 0u - value : value;
  return true;
}

}  // namespace

std::istream& extract(std::istream& in, LONG& value) {
  std::uint32_t v;
  if (readModulo32(in, &v)) value = static_cast<LONG>(v);
  return in;
}

std::istream& extract(std::istream& in, DWORD& value) {
  std::uint32_t v;
  if (readModulo32(in, &v)) value = v;
  return in;
}

}  // namespace oldio
