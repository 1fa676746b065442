#include "oldio/strstream.h"

namespace oldio {
namespace {

// The put pointers of a buffer are protected; this reaches them through
// member pointers taken in a derived class, which the language allows.
struct PutArea : std::strstreambuf {
  static char* next(std::strstreambuf* b) { return (b->*&PutArea::pptr)(); }
  static char* end(std::strstreambuf* b) { return (b->*&PutArea::epptr)(); }
  static void back(std::strstreambuf* b) { (b->*&PutArea::pbump)(-1); }
};

}  // namespace

void TerminateText(std::strstreambuf* buf) {
  if (!buf) return;
  char* next = PutArea::next(buf);
  if (next && next < PutArea::end(buf)) {
    *next = '\0';  // room left: the NUL sits just past the text
    return;
  }
  // A full buffer grows for the NUL (a dynamic one that is not frozen); the
  // put position then steps back so that the NUL is not part of the text.
  if (buf->sputc('\0') != std::char_traits<char>::eof()) PutArea::back(buf);
}

}  // namespace oldio
