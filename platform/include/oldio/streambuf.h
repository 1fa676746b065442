// The stream buffer of the old runtime's iostream classes: a reserve area
// (base .. ebuf) that derived buffers carve into a get area (eback, gptr,
// egptr) and a put area (pbase, pptr, epptr). Derived buffers fill and drain
// the areas in underflow and overflow; doallocate makes the reserve area on
// first use.
#pragma once

#include "oldio/ios.h"

namespace oldio {

// End of input, and the failure result of the character operations.
inline constexpr int kEof = -1;

class streambuf {
 public:
  virtual ~streambuf();
  streambuf(const streambuf&) = delete;
  streambuf& operator=(const streambuf&) = delete;

  // ---- Reading ----
  // The next character without taking it; kEof at the end.
  int sgetc();
  // Takes the next character.
  int sbumpc();
  // Skips one character and looks at the one after it.
  int snextc();
  // Skips one character.
  void stossc();
  // Up to n characters into s; the number taken.
  int sgetn(char* s, int n);
  // Puts c back before the next character; kEof when that is not possible.
  int sputbackc(char c);
  // Characters in the get area not yet taken.
  int in_avail() const;

  // ---- Writing ----
  int sputc(int c);
  // Up to n characters of s; the number written.
  int sputn(const char* s, int n);
  // Characters in the put area not yet written out.
  int out_waiting() const;

  // ---- Overridable ----
  // Writes out the put area; 0, or kEof on failure.
  virtual int sync();
  // The new position, or -1 when seeking is not possible.
  virtual streampos seekoff(streamoff offset, ios::seek_dir dir, int mode = ios::in | ios::out);
  virtual streampos seekpos(streampos pos, int mode = ios::in | ios::out);
  // Gives the buffer a reserve area of its caller's (not freed by the
  // buffer); a null area or length 0 makes it unbuffered. Null when the
  // buffer already has a reserve area.
  virtual streambuf* setbuf(char* area, int length);

  // Makes the reserve area through doallocate unless there is one or the
  // buffer is unbuffered: 0 when nothing was needed, 1 when made, kEof when
  // it failed.
  int allocate();
  int unbuffered() const { return unbuffered_; }
  void unbuffered(int on) { unbuffered_ = on != 0; }

 protected:
  streambuf();
  streambuf(char* area, int length);

  // Reserve area. With autodelete the buffer frees it (delete[]) when it is
  // replaced or the buffer goes away.
  char* base() const { return base_; }
  char* ebuf() const { return ebuf_; }
  int blen() const { return static_cast<int>(ebuf_ - base_); }
  void setb(char* b, char* eb, int autodelete = 0);

  char* eback() const { return eback_; }
  char* gptr() const { return gptr_; }
  char* egptr() const { return egptr_; }
  void gbump(int n) { gptr_ += n; }
  void setg(char* eb, char* g, char* eg);

  char* pbase() const { return pbase_; }
  char* pptr() const { return pptr_; }
  char* epptr() const { return epptr_; }
  void pbump(int n) { pptr_ += n; }
  void setp(char* p, char* ep);

  // Called when the put area is full (or to flush with c == kEof): makes
  // room and stores c. c as an unsigned byte, or kEof on failure.
  virtual int overflow(int c = kEof);
  // Called when the get area is empty: refills it. The next character, or
  // kEof.
  virtual int underflow();
  // Called by sputbackc when there is no room before gptr.
  virtual int pbackfail(int c);
  // Makes the reserve area (here: 512 bytes, freed with the buffer).
  // kEof on failure.
  virtual int doallocate();

 private:
  char* base_ = nullptr;
  char* ebuf_ = nullptr;
  bool autodelete_ = false;
  bool unbuffered_ = false;
  char* eback_ = nullptr;
  char* gptr_ = nullptr;
  char* egptr_ = nullptr;
  char* pbase_ = nullptr;
  char* pptr_ = nullptr;
  char* epptr_ = nullptr;
};

}  // namespace oldio
