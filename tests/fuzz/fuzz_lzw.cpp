// fuzz-libs: zemra_net
//
// Input: one settings byte (low three bits: code width 9 + 0..7; the rest:
// the starting capacity of the output block, negative values included), then
// the code stream. Decodes under an output cap and checks the block's
// promises: the length within the cap and below the capacity, the NUL after
// the last byte, the same answer from a second run into a caller's block,
// and the same bytes and status from the streaming form read in pieces of
// a size the settings byte picks.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "net/lzw.h"
#include "win/user.h"

namespace {

constexpr LONG kCap = 1 << 20;

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1u << 16)) return 0;
  static const BYTE kNothing = 0;
  const WORD bits = static_cast<WORD>(9 + (data[0] & 7));
  const LONG startCapacity = static_cast<LONG>(data[0] >> 3) * 3 - 6;
  const BYTE* input = size > 1 ? data + 1 : &kNothing;
  const LONG length = static_cast<LONG>(size - 1);

  BYTE* block = nullptr;
  LONG outLength = -1;
  LONG capacity = startCapacity;
  LzwStats stats;
  LzwStatus status = lzwExpand(input, length, block, outLength, capacity, bits, kCap, &stats);
  check(block != nullptr);
  check(outLength >= 0 && outLength <= kCap && outLength < capacity && capacity <= kCap + 1);
  check(block[outLength] == 0);
  check(stats.widestCode <= bits);

  // Again into a small block of the caller's: the same bytes and status.
  BYTE* again = static_cast<BYTE*>(std::malloc(3));
  LONG againLength = 0;
  LONG againCapacity = 3;
  check(lzwExpand(input, length, again, againLength, againCapacity, bits, kCap) == status);
  check(againLength == outLength && std::memcmp(again, block, static_cast<size_t>(outLength)) == 0);
  std::free(again);

  // Streamed in pieces: the same bytes, then the same status.
  static BYTE piece[4099];
  const LONG pieceSize = 1 + static_cast<LONG>(data[0] >> 3) * 131;
  LzwStream stream;
  LzwStatus streamed = stream.start(input, length, bits, kCap);
  LONG at = 0;
  while (streamed == LzwStatus::Ok) {
    LONG n = -1;
    streamed = stream.read(piece, pieceSize, n);
    check(n >= 0 && n <= pieceSize && at + n <= outLength);
    check(std::memcmp(piece, block + at, static_cast<size_t>(n)) == 0);
    at += n;
    if (n == 0) break;
  }
  check(streamed == status && at == outLength);
  check(stream.stats().clearCodes == stats.clearCodes && stream.stats().widestCode == stats.widestCode);
  std::free(block);

  // The public entry with its message box, on inputs that cannot expand far.
  if (length <= 64) {
    BYTE* boxed = nullptr;
    LONG boxedLength = 0;
    LONG boxedCapacity = 0;
    int failed = lzwDecode(input, length, boxed, boxedLength, boxedCapacity, bits);
    check((failed == 0) == (status == LzwStatus::Ok));
    check(boxedLength == outLength);
    std::free(boxed);
    win::ClearMessageBoxLog();
  }
  return 0;
}
