// fuzz-libs: zemra_net
//
// Bytes as the peer sent them on the control connection, through the
// header reader and the body extractors. The first byte chooses the form
// (bit 0: binary), how many bytes each read from the "socket" gives (bits
// 1-3) and which readers run over each body (bits 4-7, mixed with each
// message's code). Whatever the bytes, nothing crashes, a frame is never
// read past, and a finished message leaves the stream exactly at its end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/id_array.h"
#include "net/rpcstream.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t control = data[0];
  const char* wire = reinterpret_cast<const char*>(data + 1);
  const std::size_t wireSize = size - 1;
  const int piece = 1 + ((control >> 1) & 7) * 97;  // 1 .. 680 bytes per read
  std::size_t at = 0;

  rpcstream s;
  s.setVerbose(false);
  s.rdbuf()->setReceiver([&](char* buffer, int length) {
    std::size_t n = wireSize - at;
    if (n > static_cast<std::size_t>(length)) n = static_cast<std::size_t>(length);
    if (n > static_cast<std::size_t>(piece)) n = static_cast<std::size_t>(piece);
    std::memcpy(buffer, wire + at, n);
    at += n;
    return static_cast<int>(n);
  });
  s.attach(0);  // a number it does not own: nothing is ever closed
  s.setBinary(control & 1);

  for (int messages = 0; messages < 64; ++messages) {
    MessageHeader h;
    if (!readMessageHeader(s, h)) {
      if (!s.good()) break;
      continue;  // more input needed, or a skipped malformed header
    }
    rpcbuf* b = s.rdbuf();
    check(h.length >= 0 && h.length <= rpcbuf::kMaxMessage);
    check(b->frameLeft() == h.length);
    const oldio::streampos start = b->seekoff(0, oldio::ios::cur, oldio::ios::in);
    unsigned program = static_cast<unsigned>(h.code) ^ (control >> 4);
    for (int step = 0; step < 8 && s.good(); ++step, program >>= 2) {
      switch ((program + static_cast<unsigned>(step)) % 6) {
        case 0: {
          LONG v;
          s >> v;
          break;
        }
        case 1: {
          CString text;
          s >> text;
          break;
        }
        case 2: {
          char small[16];
          s.readString(small, sizeof small);
          check(std::strlen(small) < sizeof small);
          break;
        }
        case 3: {
          IdArray ids;
          RpcIntSource source(s);
          ids.Read(source);
          break;
        }
        case 4: {
          float f;
          s >> f;
          break;
        }
        default: {
          char raw[8];
          s.readBytes(raw, 1 + static_cast<int>(program % 8));
          break;
        }
      }
      // Never past the frame.
      check(b->frameLeft() >= 0 && b->frameLeft() <= h.length);
    }
    s.finishMessage();
    check(!b->inFrame());
    check(b->seekoff(0, oldio::ios::cur, oldio::ios::in) - start == h.length);
    if (!s.good()) break;
  }
  return 0;
}
