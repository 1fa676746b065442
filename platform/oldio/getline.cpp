#include "oldio/getline.h"

#include <string>

namespace oldio {

std::istream& getline(std::istream& in, char* buf, int size, char delim) {
  using traits = std::char_traits<char>;
  if (buf && size > 0) buf[0] = '\0';
  std::istream::sentry ok(in, true);
  if (!ok) return in;
  if (!buf || size <= 0) {
    in.setstate(std::ios_base::failbit);
    return in;
  }
  std::streambuf* sb = in.rdbuf();
  int n = 0;
  bool tookDelim = false;
  bool atEnd = false;
  while (true) {
    const traits::int_type c = sb->sgetc();
    if (traits::eq_int_type(c, traits::eof())) {
      atEnd = true;
      break;
    }
    if (traits::to_char_type(c) == delim) {
      sb->sbumpc();
      tookDelim = true;
      break;
    }
    if (n >= size - 1) break;  // full: the rest waits for the next call
    buf[n++] = traits::to_char_type(c);
    sb->sbumpc();
  }
  buf[n] = '\0';
  std::ios_base::iostate state = std::ios_base::goodbit;
  if (atEnd) state |= std::ios_base::eofbit;
  if (atEnd && n == 0 && !tookDelim) state |= std::ios_base::failbit;
  if (state != std::ios_base::goodbit) in.setstate(state);
  return in;
}

}  // namespace oldio
