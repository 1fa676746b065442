#include <charconv>
#include <cstdint>

#include "oldio/iostream.h"

namespace oldio {
namespace {

bool isSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

int digitValue(int c, int base) {
  int v = 99;
  if (c >= '0' && c <= '9') v = c - '0';
  else if (c >= 'a' && c <= 'z') v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'Z') v = c - 'A' + 10;
  return v < base ? v : -1;
}

// Longest text of a floating-point number that is taken; a longer one is
// no number the protocol would send.
constexpr int kMaxRealText = 120;

}  // namespace

istream::istream(streambuf* buffer) { init(buffer); }

istream::istream() = default;

istream::~istream() = default;

int istream::ipfx(int need) {
  gcount_ = 0;
  if (!good()) {
    setstate(failbit);
    return 0;
  }
  if (need == 0 && (flags() & skipws)) {
    streambuf* sb = rdbuf();
    int c = sb->sgetc();
    while (c != kEof && isSpace(c)) c = sb->snextc();
    if (c == kEof) {
      setstate(eofbit | failbit);
      return 0;
    }
  }
  return 1;
}

bool istream::readInteger(DWORD& bits, bool& negative) {
  if (!ipfx()) return false;
  streambuf* sb = rdbuf();
  int c = sb->sgetc();
  negative = false;
  if (c == '-' || c == '+') {
    negative = c == '-';
    c = sb->snextc();
  }
  int base = 10;
  const LONG basefield = flags() & ios::basefield;
  if (basefield == ios::hex) base = 16;
  else if (basefield == ios::oct) base = 8;
  std::uint64_t value = 0;
  bool digits = false;
  bool over = false;
  if ((basefield == 0 || base == 16) && c == '0') {
    // "0x" before hexadecimal digits; with no base set the prefix tells,
    // as C does (a leading 0 alone is octal). The 0 itself is a digit.
    c = sb->snextc();
    if (c == 'x' || c == 'X') {
      base = 16;
      c = sb->snextc();
    } else {
      if (basefield == 0) base = 8;
      digits = true;
    }
  }
  while (c != kEof) {
    const int d = digitValue(c, base);
    if (d < 0) break;
    if (!over) {
      value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
      if (value > 0xFFFFFFFFull) over = true;
    }
    digits = true;
    c = sb->snextc();
  }
  if (c == kEof) setstate(eofbit);
  // Signed or unsigned, the value must fit 32 bits; its bit pattern is kept.
  if (!digits || over || (negative && value > 0x80000000ull)) {
    setstate(failbit);
    return false;
  }
  bits = static_cast<DWORD>(negative ? (0 - value) : value);
  return true;
}

istream& istream::operator>>(LONG& value) {
  DWORD bits;
  bool negative;
  if (readInteger(bits, negative)) value = static_cast<LONG>(bits);
  return *this;
}

istream& istream::operator>>(DWORD& value) {
  DWORD bits;
  bool negative;
  if (readInteger(bits, negative)) value = bits;
  return *this;
}

istream& istream::operator>>(SHORT& value) {
  DWORD bits;
  bool negative;
  if (!readInteger(bits, negative)) return *this;
  const LONG v = static_cast<LONG>(bits);
  // -32768 .. 65535, kept as 16 bits.
  if ((negative && v < -32768) || (!negative && bits > 0xFFFFu)) {
    setstate(failbit);
    return *this;
  }
  value = static_cast<SHORT>(static_cast<WORD>(bits & 0xFFFFu));
  return *this;
}

istream& istream::operator>>(WORD& value) {
  SHORT s;
  const int before = rdstate();
  *this >> s;
  if (!(rdstate() & failbit) || (before & failbit)) value = static_cast<WORD>(s);
  return *this;
}

bool istream::readReal(double& value) {
  if (!ipfx()) return false;
  streambuf* sb = rdbuf();
  char text[kMaxRealText + 1];
  int n = 0;
  bool tooLong = false;
  auto keep = [&](int c) {
    if (n < kMaxRealText) text[n++] = static_cast<char>(c);
    else tooLong = true;
  };
  int c = sb->sgetc();
  if (c == '-' || c == '+') {
    if (c == '-') keep(c);
    c = sb->snextc();
  }
  int mantissaDigits = 0;
  while (c != kEof && c >= '0' && c <= '9') {
    keep(c);
    ++mantissaDigits;
    c = sb->snextc();
  }
  if (c == '.') {
    keep(c);
    c = sb->snextc();
    while (c != kEof && c >= '0' && c <= '9') {
      keep(c);
      ++mantissaDigits;
      c = sb->snextc();
    }
  }
  const int mantissaEnd = n;
  if (mantissaDigits > 0 && (c == 'e' || c == 'E')) {
    keep(c);
    c = sb->snextc();
    if (c == '-' || c == '+') {
      keep(c);
      c = sb->snextc();
    }
    int expDigits = 0;
    while (c != kEof && c >= '0' && c <= '9') {
      keep(c);
      ++expDigits;
      c = sb->snextc();
    }
    if (expDigits == 0) n = mantissaEnd;  // "1e" is the number 1
  }
  if (c == kEof) setstate(eofbit);
  if (mantissaDigits == 0 || tooLong) {
    setstate(failbit);
    return false;
  }
  double v = 0;
  const auto result = std::from_chars(text, text + n, v);
  if (result.ec != std::errc() || result.ptr != text + n) {
    setstate(failbit);
    return false;
  }
  value = v;
  return true;
}

istream& istream::operator>>(double& value) {
  double v;
  if (readReal(v)) value = v;
  return *this;
}

istream& istream::operator>>(float& value) {
  double v;
  if (readReal(v)) value = static_cast<float>(v);
  return *this;
}

istream& istream::operator>>(char& c) {
  if (!ipfx()) return *this;
  const int v = rdbuf()->sbumpc();
  if (v == kEof) setstate(eofbit | failbit);
  else c = static_cast<char>(v);
  return *this;
}

int istream::get() {
  if (!ipfx(1)) return kEof;
  const int c = rdbuf()->sbumpc();
  if (c == kEof) setstate(eofbit | failbit);
  else gcount_ = 1;
  return c;
}

istream& istream::get(char& c) {
  const int v = get();
  if (v != kEof) c = static_cast<char>(v);
  return *this;
}

istream& istream::get(char* buf, int size, char delim) {
  if (buf && size > 0) buf[0] = '\0';
  if (!ipfx(1)) return *this;
  if (!buf || size <= 0) {
    setstate(failbit);
    return *this;
  }
  streambuf* sb = rdbuf();
  int n = 0;
  int c = sb->sgetc();
  while (n < size - 1 && c != kEof && c != static_cast<unsigned char>(delim)) {
    buf[n++] = static_cast<char>(c);
    c = sb->snextc();
  }
  buf[n] = '\0';
  gcount_ = n;
  if (c == kEof) setstate(n == 0 ? (eofbit | failbit) : eofbit);
  return *this;
}

istream& istream::getline(char* buf, int size, char delim) {
  get(buf, size, delim);
  if (fail() && gcount_ == 0) return *this;
  streambuf* sb = rdbuf();
  if (sb->sgetc() == static_cast<unsigned char>(delim)) {
    sb->stossc();
    ++gcount_;
    // A delimiter after nothing is still a line.
    if (rdstate() & failbit) clear(rdstate() & ~failbit);
  }
  return *this;
}

istream& istream::read(char* buf, int size) {
  if (!ipfx(1)) return *this;
  if (size <= 0) return *this;
  if (!buf) {
    setstate(failbit);
    return *this;
  }
  gcount_ = rdbuf()->sgetn(buf, size);
  if (gcount_ < size) setstate(eofbit | failbit);
  return *this;
}

istream& istream::ignore(int count, int delim) {
  if (!ipfx(1)) return *this;
  streambuf* sb = rdbuf();
  int n = 0;
  while (n < count) {
    const int c = sb->sbumpc();
    if (c == kEof) {
      setstate(eofbit);
      break;
    }
    ++n;
    if (c == delim) break;
  }
  gcount_ = n;
  return *this;
}

int istream::peek() {
  if (!ipfx(1)) return kEof;
  const int c = rdbuf()->sgetc();
  if (c == kEof) setstate(eofbit);
  return c;
}

istream& istream::putback(char c) {
  if (good() && rdbuf()->sputbackc(c) == kEof) setstate(badbit);
  return *this;
}

istream& istream::seekg(streampos pos) {
  if (rdbuf()->seekpos(pos, ios::in) == -1) setstate(failbit);
  return *this;
}

istream& istream::seekg(streamoff offset, ios::seek_dir dir) {
  if (rdbuf()->seekoff(offset, dir, ios::in) == -1) setstate(failbit);
  return *this;
}

streampos istream::tellg() {
  const streampos pos = rdbuf()->seekoff(0, ios::cur, ios::in);
  if (pos == -1) setstate(failbit);
  return pos;
}

istream& ws(istream& in) {
  streambuf* sb = in.rdbuf();
  if (!sb || !in.good()) return in;
  int c = sb->sgetc();
  while (c != kEof && isSpace(c)) c = sb->snextc();
  if (c == kEof) in.setstate(ios::eofbit);
  return in;
}

}  // namespace oldio
