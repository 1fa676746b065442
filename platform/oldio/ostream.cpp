#include <cmath>
#include <cstdio>
#include <cstring>

#include "oldio/iostream.h"

namespace oldio {

ostream::ostream(streambuf* buffer) { init(buffer); }

ostream::ostream() = default;

ostream::~ostream() = default;

int ostream::opfx() {
  if (!good()) {
    setstate(failbit);
    return 0;
  }
  return 1;
}

void ostream::osfx() {
  if (flags() & unitbuf) flush();
}

void ostream::padded(const char* prefix, const char* digits) {
  const int used = static_cast<int>(std::strlen(prefix) + std::strlen(digits));
  const int w = width(0);  // a width holds for one output only
  const int pad = w > used ? w - used : 0;
  const LONG adjust = flags() & adjustfield;
  streambuf* sb = rdbuf();
  bool ok = true;
  auto put = [&](const char* s) {
    const int n = static_cast<int>(std::strlen(s));
    if (n && sb->sputn(s, n) != n) ok = false;
  };
  auto fillOut = [&] {
    for (int i = 0; i < pad; ++i)
      if (sb->sputc(static_cast<unsigned char>(fill())) == kEof) ok = false;
  };
  if (adjust == left) {
    put(prefix);
    put(digits);
    fillOut();
  } else if (adjust == internal) {
    put(prefix);
    fillOut();
    put(digits);
  } else {
    fillOut();
    put(prefix);
    put(digits);
  }
  if (!ok) setstate(badbit);
}

ostream& ostream::operator<<(char c) {
  if (!opfx()) return *this;
  const char text[2] = {c, '\0'};
  if (c == '\0') {
    // A NUL is a character too: written as it is, after any padding.
    const int w = width(0);
    for (int i = 1; i < w; ++i) rdbuf()->sputc(static_cast<unsigned char>(fill()));
    if (rdbuf()->sputc(0) == kEof) setstate(badbit);
  } else {
    padded("", text);
  }
  osfx();
  return *this;
}

ostream& ostream::operator<<(const char* s) {
  if (!opfx()) return *this;
  if (!s) {
    setstate(failbit);
    return *this;
  }
  padded("", s);
  osfx();
  return *this;
}

ostream& ostream::operator<<(LONG value) {
  if (!opfx()) return *this;
  const LONG base = flags() & basefield;
  char digits[16];
  const char* prefix = "";
  if (base == hex || base == oct) {
    // Other bases show the bit pattern.
    const bool up = flags() & uppercase;
    std::snprintf(digits, sizeof digits, base == hex ? (up ? "%X" : "%x") : "%o",
                  static_cast<unsigned>(value));
    if ((flags() & showbase) && value != 0) prefix = base == hex ? (up ? "0X" : "0x") : "0";
  } else {
    const long long v = value;
    std::snprintf(digits, sizeof digits, "%lld", v < 0 ? -v : v);
    prefix = v < 0 ? "-" : ((flags() & showpos) ? "+" : "");
  }
  padded(prefix, digits);
  osfx();
  return *this;
}

ostream& ostream::operator<<(DWORD value) {
  if (!opfx()) return *this;
  const LONG base = flags() & basefield;
  char digits[16];
  const char* prefix = "";
  const bool up = flags() & uppercase;
  if (base == hex) {
    std::snprintf(digits, sizeof digits, up ? "%X" : "%x", value);
    if ((flags() & showbase) && value != 0) prefix = up ? "0X" : "0x";
  } else if (base == oct) {
    std::snprintf(digits, sizeof digits, "%o", value);
    if ((flags() & showbase) && value != 0) prefix = "0";
  } else {
    std::snprintf(digits, sizeof digits, "%u", value);
    if (flags() & showpos) prefix = "+";
  }
  padded(prefix, digits);
  osfx();
  return *this;
}

ostream& ostream::operator<<(double value) {
  if (!opfx()) return *this;
  char format[8] = "%";
  int n = 1;
  if (flags() & showpoint) format[n++] = '#';
  format[n++] = '.';
  format[n++] = '*';
  const LONG field = flags() & floatfield;
  const bool up = flags() & uppercase;
  format[n++] = field == fixed ? 'f' : field == scientific ? (up ? 'E' : 'e') : (up ? 'G' : 'g');
  format[n] = '\0';
  char text[512];
  const double magnitude = value < 0 ? -value : value;
  const int p = precision() < 0 ? 6 : (precision() > 100 ? 100 : precision());
  std::snprintf(text, sizeof text, format, p, magnitude);
  const char* prefix = (value < 0 || (value == 0 && std::signbit(value))) ? "-"
                       : (flags() & showpos)                               ? "+"
                                                                           : "";
  padded(prefix, text);
  osfx();
  return *this;
}

ostream& ostream::put(char c) {
  if (!opfx()) return *this;
  if (rdbuf()->sputc(static_cast<unsigned char>(c)) == kEof) setstate(badbit);
  osfx();
  return *this;
}

ostream& ostream::write(const char* s, int size) {
  if (!opfx()) return *this;
  if (size > 0 && (!s || rdbuf()->sputn(s, size) != size)) setstate(badbit);
  osfx();
  return *this;
}

ostream& ostream::flush() {
  if (rdbuf() && rdbuf()->sync() == kEof) setstate(badbit);
  return *this;
}

ostream& ostream::seekp(streampos pos) {
  if (rdbuf()->seekpos(pos, ios::out) == -1) setstate(failbit);
  return *this;
}

ostream& ostream::seekp(streamoff offset, ios::seek_dir dir) {
  if (rdbuf()->seekoff(offset, dir, ios::out) == -1) setstate(failbit);
  return *this;
}

streampos ostream::tellp() {
  const streampos pos = rdbuf()->seekoff(0, ios::cur, ios::out);
  if (pos == -1) setstate(failbit);
  return pos;
}

iostream::iostream(streambuf* buffer) { init(buffer); }

iostream::iostream() = default;

iostream::~iostream() = default;

ostream& endl(ostream& out) {
  out.put('\n');
  return out.flush();
}

ostream& ends(ostream& out) { return out.put('\0'); }

ostream& flush(ostream& out) { return out.flush(); }

ostream& dec(ostream& out) {
  out.setf(ios::dec, ios::basefield);
  return out;
}

ostream& hex(ostream& out) {
  out.setf(ios::hex, ios::basefield);
  return out;
}

ostream& oct(ostream& out) {
  out.setf(ios::oct, ios::basefield);
  return out;
}

}  // namespace oldio
