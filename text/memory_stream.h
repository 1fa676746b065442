// An input stream over bytes held in memory, without copying them: for
// documents and definitions that are already in memory, and for tests.
// Seeking and telling work as on a file.
#pragma once

#include <istream>
#include <streambuf>
#include <string_view>

class MemoryStreamBuf : public std::streambuf {
 public:
  explicit MemoryStreamBuf(std::string_view bytes) {
    char* p = const_cast<char*>(bytes.data());
    setg(p, p, p + bytes.size());
  }

 protected:
  pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode) override {
    off_type base = dir == std::ios_base::beg ? 0 : dir == std::ios_base::cur ? gptr() - eback() : egptr() - eback();
    const off_type target = base + off;
    if (target < 0 || target > egptr() - eback()) return pos_type(off_type(-1));
    setg(eback(), eback() + target, egptr());
    return pos_type(target);
  }
  pos_type seekpos(pos_type pos, std::ios_base::openmode mode) override {
    return seekoff(off_type(pos), std::ios_base::beg, mode);
  }
};

class MemoryStream : public std::istream {
 public:
  explicit MemoryStream(std::string_view bytes) : std::istream(nullptr), buf_(bytes) { rdbuf(&buf_); }

 private:
  MemoryStreamBuf buf_;
};
