// `lzw_expand FILE`: a .Z file (compress(1)'s three-byte header, then the
// codes) expanded to standard output, the same work as `gzip -dc FILE`, by
// a program as small as it (linked with the network layer's decoder and the
// platform layer alone), for the LZW benchmark to time process against
// process. The file is mapped whole; the output goes through one buffer
// that is written out each time it fills, so it never claims more memory
// than that buffer.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>

#include "net/lzw.h"

namespace {

// Writes all of `n` bytes to standard output.
bool WriteOut(const BYTE* bytes, size_t n) {
  while (n > 0) {
    const ssize_t k = ::write(STDOUT_FILENO, bytes, n);
    if (k < 0 && errno == EINTR) continue;
    if (k <= 0) return false;
    bytes += k;
    n -= static_cast<size_t>(k);
  }
  return true;
}

// The header: two magic bytes, then the widest code in the low five bits
// of the third and the block-mode flag (clear codes in use) in its top bit.
constexpr BYTE kMagic0 = 0x1F;
constexpr BYTE kMagic1 = 0x9D;
constexpr BYTE kWidthMask = 0x1F;
constexpr BYTE kBlockMode = 0x80;
constexpr size_t kHeaderSize = 3;

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: lzw_expand FILE\n");
    return 2;
  }
  const int fd = ::open(argv[1], O_RDONLY);
  if (fd < 0) return 1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || st.st_size < static_cast<off_t>(kHeaderSize) ||
      st.st_size > static_cast<off_t>(INT32_MAX)) {
    ::close(fd);
    return 1;
  }
  const size_t size = static_cast<size_t>(st.st_size);
  void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
  ::close(fd);
  if (mapped == MAP_FAILED) return 1;
  const auto* z = static_cast<const BYTE*>(mapped);
  // The decoder takes code 256 for a clear code: a stream written without
  // block mode uses it as a string and would come out wrong.
  if (z[0] != kMagic0 || z[1] != kMagic1 || !(z[2] & kBlockMode)) {
    std::fprintf(stderr, "lzw_expand: not a block-mode .Z file\n");
    ::munmap(mapped, size);
    return 1;
  }

  static BYTE buffer[64 * 1024];
  LzwStream stream;
  LzwStatus status = stream.start(z + kHeaderSize, static_cast<LONG>(size - kHeaderSize),
                                  static_cast<WORD>(z[2] & kWidthMask));
  bool written = true;
  while (status == LzwStatus::Ok && written) {
    LONG n = 0;
    status = stream.read(buffer, static_cast<LONG>(sizeof buffer), n);
    if (n == 0) break;
    written = WriteOut(buffer, static_cast<size_t>(n));
  }
  ::munmap(mapped, size);
  if (status != LzwStatus::Ok) std::fprintf(stderr, "lzw_expand: %s\n", lzwMessage(status));
  return status == LzwStatus::Ok && written ? 0 : 1;
}
