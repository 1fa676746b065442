// The frozen-buffer string streams of the old runtime. The standard library
// still has them (deprecated); this header is the one place that includes
// them, with the deprecation warning silenced here only.
//
// Usage as the old code has it:
//   oldio::strstream s;
//   s << "value " << n;
//   Show(s.str());          // str() freezes the buffer: it stays valid
//   s.rdbuf()->freeze(0);   // or s.freeze(false): the stream frees it again
#pragma once

// libstdc++ warns about its backward headers unless __DEPRECATED is unset.
#pragma push_macro("__DEPRECATED")
#undef __DEPRECATED
#include <strstream>
#pragma pop_macro("__DEPRECATED")

namespace oldio {

// Makes a dynamic buffer's text NUL-ended just past what was written,
// without counting the NUL in pcount(); nothing for a frozen or full buffer.
void TerminateText(std::strstreambuf* buf);

// A read-write string stream. str() gives the text written so far, always
// NUL-ended (whether or not `std::ends` was written), and freezes the buffer
// until freeze(false).
class strstream : public std::strstream {
 public:
  strstream() = default;
  // A stream over a fixed buffer of `size` bytes (the old constructor).
  strstream(char* buf, int size, std::ios_base::openmode mode = std::ios_base::in | std::ios_base::out)
      : std::strstream(buf, size, mode) {}

  char* str() {
    TerminateText(rdbuf());
    return std::strstream::str();
  }
};

class ostrstream : public std::ostrstream {
 public:
  ostrstream() = default;
  ostrstream(char* buf, int size, std::ios_base::openmode mode = std::ios_base::out)
      : std::ostrstream(buf, size, mode) {}

  char* str() {
    TerminateText(rdbuf());
    return std::ostrstream::str();
  }
};

using istrstream = std::istrstream;

}  // namespace oldio
