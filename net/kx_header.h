// The KXHDR header that may open a data connection (the second TCP
// connection that carries a document body). KxBodyReader (kx_body_reader.h)
// takes a body off such a connection with its header cut off.
//
// Wire form: 7-bit text lines ended by a single line feed, then one NUL:
//   "KXHDR\nver=1\ntype=7\nsz=-1\nref=-1\nZ=0\n" "\0"
// The body follows the NUL at once. A reader takes the lines after the first
// in any order, skips unknown ones, and ends the header at the first empty
// line or at a line that begins with a NUL (both count as header bytes).
#pragma once

#include <cstdint>

#include "mfc/cstring.h"

// A programming error of the network layer: the box "Korvex assertion
// failed: <text>; file: <source>; line: <line>", then the program ends (as
// after a fatal error; tests intercept through SetFatalExitHook).
[[noreturn]] void KorvexAssertFailed(const char* text, const char* source, int line);

class KxHeader {
 public:
  // Markers of a value that no line set.
  static constexpr std::int32_t kUnsetType = 9;
  static constexpr std::int32_t kUnset = -100;
  // What sanitize puts in place of the markers.
  static constexpr std::int32_t kDefaultType = 7;
  static constexpr std::int32_t kMaxType = 8;
  // A written header is at most this long, NUL included. A reader that has
  // seen this many bytes without the end of the header gives up.
  static constexpr int kMaxLength = 1024;
  // The first line, and the fewest bytes a header can have.
  static constexpr const char* kMagic = "KXHDR";
  static constexpr int kMinLength = 7;

  // The unset values (reset).
  KxHeader();

  // type 9, sz, ref and Z -100, ver 1.
  void reset();
  // type 9 and sz, ref, Z all -100 (ver is not looked at).
  bool isUnset() const;
  // type outside 0..8 becomes 7; sz, ref -100 become -1; Z -100 becomes 0;
  // ver -100 becomes 1. Other values stay.
  void sanitize();

  // Writes a sanitised copy of the header, NUL included, into `buffer`
  // (room for kMaxLength bytes); `length` gets the bytes written. Writing an
  // unset header is a programming error (assertion).
  void write(char* buffer, int& length) const;
  // The same as a string of exactly that many bytes, the NUL its last.
  void writeString(CString& out) const;

  // Parses a header at the start of `data`: the header's length (end marker
  // included), or -1 when the bytes hold no header or only a part of one.
  // Fields that no line sets keep their unset values.
  int read(const char* data, int length);

  // What the bytes at hand tell, for a reader that gathers a header across
  // reads.
  enum class Scan {
    kComplete,    // a whole header; its length is given back
    kIncomplete,  // a beginning of a header: read more
    kNotHeader,   // the bytes do not begin with a header
    kTooLong      // kMaxLength bytes or more without the end of the header
  };
  // As read, telling the three ways of failing apart.
  Scan scan(const char* data, int length, int& headerLength);

  // The length of the line at `start`: 0 when it begins with a NUL; else the
  // distance to the first line feed before `end`; -1 when there is none, or
  // when no byte is left. `end` before `start` is a programming error.
  static int get_line_(const char* start, const char* end);

  std::int32_t type;
  std::int32_t sz;
  std::int32_t ref;
  std::int32_t Z;
  std::int32_t ver;

 private:
  void takeLine(const char* line, int length);
};
