// win_fopen: C streams opened through the path layer. In text mode the old
// runtime turned CR LF into LF on reading; a glibc cookie stream does the
// same here. It reads the file in raw blocks and is itself unbuffered, so
// ftell and fseek see raw file offsets, as they did there.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "win/kernel.h"
#include "win/path_map.h"

namespace {

struct TextReader {
  int fd = -1;
  off64_t fdPos = 0;    // offset of the descriptor: just past buf[end - 1]
  size_t pos = 0;       // next raw byte to deliver
  size_t end = 0;       // raw bytes held
  unsigned char buf[4096];

  off64_t Logical() const { return fdPos - static_cast<off64_t>(end - pos); }

  // Keeps the undelivered bytes, then reads more after them: 1 when bytes
  // came, 0 at the end of the file, -1 on error.
  int Refill() {
    size_t keep = end - pos;
    std::memmove(buf, buf + pos, keep);
    pos = 0;
    end = keep;
    for (;;) {
      ssize_t n = ::read(fd, buf + end, sizeof buf - end);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return -1;
      end += static_cast<size_t>(n);
      fdPos += n;
      return n > 0 ? 1 : 0;
    }
  }

  // Puts the descriptor where the reader stands, dropping what it held.
  bool Resync() {
    off64_t here = Logical();
    if (::lseek64(fd, here, SEEK_SET) < 0) return false;
    fdPos = here;
    pos = end = 0;
    return true;
  }
};

ssize_t ReadText(void* cookie, char* out, size_t size) {
  auto* r = static_cast<TextReader*>(cookie);
  size_t produced = 0;
  while (produced < size) {
    if (r->pos == r->end) {
      int got = r->Refill();
      if (got < 0) return produced > 0 ? static_cast<ssize_t>(produced) : -1;
      if (got == 0) break;
    }
    unsigned char c = r->buf[r->pos];
    if (c == '\r') {
      if (r->pos + 1 == r->end && r->Refill() < 0)
        return produced > 0 ? static_cast<ssize_t>(produced) : -1;
      if (r->pos + 1 < r->end && r->buf[r->pos + 1] == '\n') {
        ++r->pos;  // CR LF: deliver only the LF
        continue;
      }
    }
    out[produced++] = static_cast<char>(c);
    ++r->pos;
  }
  return static_cast<ssize_t>(produced);
}

ssize_t WriteText(void* cookie, const char* data, size_t size) {
  auto* r = static_cast<TextReader*>(cookie);
  if (r->end != 0 && !r->Resync()) return 0;  // write where the reader stands
  size_t done = 0;
  while (done < size) {
    ssize_t n = ::write(r->fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  off64_t now = ::lseek64(r->fd, 0, SEEK_CUR);  // appending moves to the end
  if (now >= 0) r->fdPos = now;
  return static_cast<ssize_t>(done);
}

int SeekText(void* cookie, off64_t* offset, int whence) {
  auto* r = static_cast<TextReader*>(cookie);
  off64_t base = 0;
  if (whence == SEEK_CUR) {
    base = r->Logical();
  } else if (whence == SEEK_END) {
    struct stat st;
    if (::fstat(r->fd, &st) != 0) return -1;
    base = st.st_size;
  } else if (whence != SEEK_SET) {
    errno = EINVAL;
    return -1;
  }
  off64_t target = base + *offset;
  if (target < 0) {
    errno = EINVAL;
    return -1;
  }
  if (::lseek64(r->fd, target, SEEK_SET) < 0) return -1;
  r->fdPos = target;
  r->pos = r->end = 0;
  *offset = target;
  return 0;
}

int CloseText(void* cookie) {
  auto* r = static_cast<TextReader*>(cookie);
  int result = ::close(r->fd);
  delete r;
  return result;
}

struct Mode {
  int flags = 0;
  bool readable = false;
  bool text = true;
  std::string base;  // "r", "r+", "w", ... for the C library
};

bool ParseMode(const char* mode, Mode& m) {
  if (!mode) return false;
  bool plus = std::strchr(mode, '+') != nullptr;
  bool exclusive = std::strchr(mode, 'x') != nullptr;
  m.text = std::strchr(mode, 'b') == nullptr;  // "t" or nothing: text
  switch (mode[0]) {
    case 'r': m.flags = plus ? O_RDWR : O_RDONLY; break;
    case 'w': m.flags = (plus ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC; break;
    case 'a': m.flags = (plus ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND; break;
    default: return false;
  }
  if (exclusive && mode[0] == 'w') m.flags |= O_EXCL;
  m.readable = mode[0] == 'r' || plus;
  m.base = std::string(1, mode[0]) + (plus ? "+" : "");
  return true;
}

}  // namespace

FILE* win_fopen(LPCSTR name, LPCSTR mode) {
  Mode m;
  std::string host = win::HostPath(name);
  if (host.empty() || !ParseMode(mode, m)) {
    errno = host.empty() ? ENOENT : EINVAL;
    return nullptr;
  }
  int fd = ::open(host.c_str(), m.flags | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    errno = EISDIR;
    return nullptr;
  }
  if (!m.text || !m.readable) {
    FILE* f = ::fdopen(fd, m.base.c_str());
    if (!f) ::close(fd);
    return f;
  }
  auto* reader = new TextReader;
  reader->fd = fd;
  reader->fdPos = ::lseek64(fd, 0, SEEK_CUR);
  if (reader->fdPos < 0) reader->fdPos = 0;
  cookie_io_functions_t io{ReadText, WriteText, SeekText, CloseText};
  FILE* f = ::fopencookie(reader, m.base.c_str(), io);
  if (!f) {
    ::close(fd);
    delete reader;
    return nullptr;
  }
  std::setvbuf(f, nullptr, _IONBF, 0);
  return f;
}
