// fuzz-libs: zemra_net
// The KXHDR reader on raw bytes: the header alone (read and scan), a
// written header read back, and the body reader taking the same bytes in
// pieces whose sizes come from the first byte.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "net/kx_body_reader.h"
#include "net/kx_header.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 1 << 20) return 0;
  const size_t piece = 1 + data[0] % 37;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const int length = static_cast<int>(bytes.size());

  KxHeader h;
  const int n = h.read(bytes.data(), length);
  check(n == -1 || (n >= KxHeader::kMinLength && n <= length));
  int scanned = 0;
  KxHeader s;
  const KxHeader::Scan result = s.scan(bytes.data(), length, scanned);
  check((result == KxHeader::Scan::kComplete) == (n > 0));
  if (n > 0) {
    check(scanned == n);
    check(std::memcmp(bytes.data(), "KXHDR\n", 6) == 0);
    check(h.type >= 0 && h.type <= KxHeader::kUnsetType);
    check(h.Z == KxHeader::kUnset || h.Z == 0 || h.Z == 1);
    if (!h.isUnset()) {
      // What is written reads back as the sanitised values.
      CString written;
      h.writeString(written);
      check(written.GetLength() <= KxHeader::kMaxLength);
      KxHeader back;
      check(back.read(written.c_str(), written.GetLength()) == written.GetLength());
      KxHeader sane = h;
      sane.sanitize();
      check(back.type == sane.type && back.sz == sane.sz && back.ref == sane.ref &&
            back.ver == sane.ver);
    }
  }

  size_t offset = 0;
  KxBodyReader reader([&](char* buffer, int room) {
    const size_t take = std::min({piece, bytes.size() - offset, static_cast<size_t>(room)});
    std::memcpy(buffer, bytes.data() + offset, take);
    offset += take;
    return static_cast<int>(take);
  });
  std::string body;
  char buffer[64];
  for (;;) {
    const int got = reader.read(buffer, sizeof buffer);
    if (got <= 0) break;
    check(got <= static_cast<int>(sizeof buffer));
    body.append(buffer, static_cast<size_t>(got));
  }
  // The body is what follows the header, held to the announced size.
  if (reader.failure() == KxBodyReader::Failure::kNone && reader.sawHeader()) {
    check(n > 0 && bytes.compare(static_cast<size_t>(n), body.size(), body) == 0);
    if (reader.announcedSize() >= 0) check(body.size() == static_cast<size_t>(reader.announcedSize()));
  }
  if (reader.failure() == KxBodyReader::Failure::kNone && !reader.sawHeader()) check(body == bytes);
  check(reader.delivered() == static_cast<std::int64_t>(body.size()));
  return 0;
}
