#include "oldio/streambuf.h"

#include <cstring>
#include <new>

namespace oldio {
namespace {
constexpr int kDefaultReserve = 512;
}

streambuf::streambuf() = default;

streambuf::streambuf(char* area, int length) { setbuf(area, length); }

streambuf::~streambuf() {
  if (autodelete_) delete[] base_;
}

void streambuf::setb(char* b, char* eb, int autodelete) {
  if (autodelete_ && base_ != b) delete[] base_;
  base_ = b;
  ebuf_ = b ? eb : nullptr;
  autodelete_ = b && autodelete != 0;
}

void streambuf::setg(char* eb, char* g, char* eg) {
  eback_ = eb;
  gptr_ = g;
  egptr_ = eg;
}

void streambuf::setp(char* p, char* ep) {
  pbase_ = p;
  pptr_ = p;
  epptr_ = ep;
}

int streambuf::allocate() {
  if (base_ || unbuffered_) return 0;
  return doallocate() == kEof ? kEof : 1;
}

int streambuf::doallocate() {
  char* area = new (std::nothrow) char[kDefaultReserve];
  if (!area) return kEof;
  setb(area, area + kDefaultReserve, 1);
  return 1;
}

streambuf* streambuf::setbuf(char* area, int length) {
  if (base_) return nullptr;
  if (!area || length <= 0) {
    unbuffered_ = true;
    return this;
  }
  setb(area, area + length, 0);
  return this;
}

int streambuf::sgetc() {
  if (gptr_ && gptr_ < egptr_) return static_cast<unsigned char>(*gptr_);
  return underflow();
}

int streambuf::sbumpc() {
  const int c = sgetc();
  if (c != kEof) ++gptr_;
  return c;
}

int streambuf::snextc() {
  if (sbumpc() == kEof) return kEof;
  return sgetc();
}

void streambuf::stossc() { sbumpc(); }

int streambuf::sgetn(char* s, int n) {
  int taken = 0;
  while (taken < n) {
    if (!(gptr_ && gptr_ < egptr_) && underflow() == kEof) break;
    const int chunk = static_cast<int>(egptr_ - gptr_) < n - taken
                          ? static_cast<int>(egptr_ - gptr_)
                          : n - taken;
    std::memcpy(s + taken, gptr_, static_cast<size_t>(chunk));
    gptr_ += chunk;
    taken += chunk;
  }
  return taken;
}

int streambuf::sputbackc(char c) {
  if (gptr_ && eback_ && gptr_ > eback_) {
    --gptr_;
    *gptr_ = c;
    return static_cast<unsigned char>(c);
  }
  return pbackfail(static_cast<unsigned char>(c));
}

int streambuf::in_avail() const {
  return gptr_ && gptr_ < egptr_ ? static_cast<int>(egptr_ - gptr_) : 0;
}

int streambuf::sputc(int c) {
  if (pptr_ && pptr_ < epptr_) {
    *pptr_++ = static_cast<char>(c);
    return static_cast<unsigned char>(c);
  }
  return overflow(static_cast<unsigned char>(c));
}

int streambuf::sputn(const char* s, int n) {
  int written = 0;
  while (written < n) {
    if (pptr_ && pptr_ < epptr_) {
      const int room = static_cast<int>(epptr_ - pptr_);
      const int chunk = room < n - written ? room : n - written;
      std::memcpy(pptr_, s + written, static_cast<size_t>(chunk));
      pptr_ += chunk;
      written += chunk;
      continue;
    }
    if (overflow(static_cast<unsigned char>(s[written])) == kEof) break;
    ++written;
  }
  return written;
}

int streambuf::out_waiting() const {
  return pptr_ && pbase_ ? static_cast<int>(pptr_ - pbase_) : 0;
}

int streambuf::sync() {
  // A plain buffer has nowhere to write to: only an empty put area is in
  // sync.
  return out_waiting() == 0 && in_avail() == 0 ? 0 : kEof;
}

streampos streambuf::seekoff(streamoff, ios::seek_dir, int) { return -1; }

streampos streambuf::seekpos(streampos pos, int mode) { return seekoff(pos, ios::beg, mode); }

int streambuf::overflow(int) { return kEof; }

int streambuf::underflow() { return kEof; }

int streambuf::pbackfail(int) { return kEof; }

}  // namespace oldio
