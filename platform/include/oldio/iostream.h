// The input and output stream classes of the old runtime, over oldio's own
// streambuf. Numbers are read and written by our own code, not the C
// library's: a 32-bit integer reads back as the bit pattern it was written
// with, whether it was written signed or unsigned.
#pragma once

#include "oldio/ios.h"
#include "oldio/streambuf.h"

namespace oldio {

class istream : virtual public ios {
 public:
  explicit istream(streambuf* buffer);
  ~istream() override;

  // Prefix of every input operation: false (and failbit) when the stream
  // is not good; skips white space when skipws is set (need == 0) and sets
  // eof|fail when the input ends there.
  int ipfx(int need = 0);

  // An optionally signed decimal integer (octal or hexadecimal when the
  // base flags say so). Any value from -2^31 to 2^32 - 1 is taken and kept
  // as its 32-bit pattern, so "4294967295" gives -1 as a LONG; a longer
  // number, or no digit at all, fails and leaves the target unchanged.
  istream& operator>>(LONG& value);
  istream& operator>>(DWORD& value);
  istream& operator>>(SHORT& value);
  istream& operator>>(WORD& value);
  // A decimal floating-point number (sign, digits, point, exponent).
  istream& operator>>(float& value);
  istream& operator>>(double& value);
  istream& operator>>(char& c);
  istream& operator>>(istream& (*manip)(istream&)) { return manip(*this); }

  // Unformatted input; gcount tells how many characters the last one took.
  int get();
  istream& get(char& c);
  // Up to size - 1 characters before delim (which stays in the stream),
  // always NUL-ended when size >= 1.
  istream& get(char* buf, int size, char delim = '\n');
  // As get, but the delimiter is taken (and not stored).
  istream& getline(char* buf, int size, char delim = '\n');
  istream& read(char* buf, int size);
  istream& ignore(int count = 1, int delim = kEof);
  int peek();
  istream& putback(char c);
  int gcount() const { return gcount_; }

  istream& seekg(streampos pos);
  istream& seekg(streamoff offset, ios::seek_dir dir);
  streampos tellg();

 protected:
  istream();

 private:
  bool readInteger(DWORD& bits, bool& negative);
  bool readReal(double& value);

  int gcount_ = 0;
};

class ostream : virtual public ios {
 public:
  explicit ostream(streambuf* buffer);
  ~ostream() override;

  // Prefix and suffix of every output operation: opfx fails on a stream
  // that is not good; osfx flushes when unitbuf is set.
  int opfx();
  void osfx();

  // Formatted output honours width (reset to 0 after each), fill,
  // left/right/internal, the base flags, showbase, showpos and uppercase.
  ostream& operator<<(char c);
  ostream& operator<<(const char* s);
  ostream& operator<<(LONG value);
  ostream& operator<<(DWORD value);
  ostream& operator<<(double value);
  ostream& operator<<(ostream& (*manip)(ostream&)) { return manip(*this); }

  ostream& put(char c);
  ostream& write(const char* s, int size);
  ostream& flush();

  ostream& seekp(streampos pos);
  ostream& seekp(streamoff offset, ios::seek_dir dir);
  streampos tellp();

 protected:
  ostream();

 private:
  void padded(const char* prefix, const char* digits);
};

class iostream : public istream, public ostream {
 public:
  explicit iostream(streambuf* buffer);
  ~iostream() override;

 protected:
  iostream();
};

// Manipulators.
istream& ws(istream& in);
ostream& endl(ostream& out);
ostream& ends(ostream& out);
ostream& flush(ostream& out);
ostream& dec(ostream& out);
ostream& hex(ostream& out);
ostream& oct(ostream& out);

}  // namespace oldio
