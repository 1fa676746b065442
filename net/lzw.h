// Expansion of LZW-compressed reply bodies. When the control connection runs
// with compression, the server sends the large parts of some replies as the
// code stream of Unix compress(1) (adaptive code width from 9 bits, clear
// code 256), without compress's three-byte file header. Only decoding is
// needed by the client.
#pragma once

#include <cstddef>
#include <memory>

#include "mfc/cstring.h"
#include "win/types.h"

// The code width every caller uses.
constexpr WORD kLzwReplyBits = 12;
// Widths the decoder accepts: the table must hold the 256 bytes and the
// clear code, and compress(1) never goes beyond 16 bits.
constexpr WORD kLzwMinBits = 9;
constexpr WORD kLzwMaxBits = 16;
// No body may expand beyond this many bytes: a few KB of hostile codes could
// otherwise ask for gigabytes (each 12-bit code can stand for 4096 bytes).
constexpr LONG kLzwMaxOutput = 256 << 20;

enum class LzwStatus {
  Ok,
  NoInput,        // null input or a negative length
  NoMemory,       // the tables or the first output block could not be had
  FirstWrite,     // the first byte could not be written
  WriteFailed,    // a string could not be written (memory, or the size cap)
  BadWidth,       // maximum width outside kLzwMinBits..kLzwMaxBits
  Corrupt,        // a code that no table entry can stand for
  BadMode,        // a mode other than 0
};

// The message the user sees for a status ("lzw E0nn: ..."); empty for Ok.
const char* lzwMessage(LzwStatus status);

// What a decoding met, for tests and measurements.
struct LzwStats {
  LONG clearCodes = 0;  // clear codes read
  int widestCode = 0;   // the largest code width reached
};

// The decoder without user interface: expands `inputLength` bytes into the
// caller's block, which grows by doubling as needed (see lzwDecode for the
// block's rules). `outputLimit` caps the decoded length; more counts as a
// failed write. On every return the block holds what was decoded so far and
// a NUL after it, unless the status is NoInput or NoMemory with no block.
LzwStatus lzwExpand(const BYTE* input, LONG inputLength, BYTE*& output, LONG& outputLength,
                    LONG& outputCapacity, WORD maxBits, LONG outputLimit = kLzwMaxOutput,
                    LzwStats* stats = nullptr);

// The same decoding handed out in pieces, for output too large to hold at
// once: each read fills the caller's buffer as far as it can, so a fixed
// buffer can be written out and used again. The bytes, their order and the
// status are those of lzwExpand on the same input and cap. The code
// tables belong to the stream and are kept for its next start.
class LzwStream {
 public:
  LzwStream();
  ~LzwStream();
  LzwStream(const LzwStream&) = delete;
  LzwStream& operator=(const LzwStream&) = delete;

  // Begins on a code stream, which stays the caller's and must outlive the
  // reads. NoInput, BadWidth or NoMemory when decoding cannot begin.
  LzwStatus start(const BYTE* input, LONG inputLength, WORD maxBits,
                  LONG outputLimit = kLzwMaxOutput);
  // Up to `room` next bytes into `buffer`, their count in `produced`: Ok
  // with 0 bytes at the end; a failure status once the codes go wrong
  // (with the bytes that read decoded before it), and on every read after
  // (with nothing). A null buffer or a room below 1 is NoInput. The rest
  // of the room past the count may have been written over.
  LzwStatus read(BYTE* buffer, LONG room, LONG& produced);
  // Every byte handed out and the codes ended without a failure.
  bool finished() const;
  LzwStats stats() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Expands a compressed body from one memory block into another; 0 on
// success, 1 on failure, after an error box with the status's message.
// - output: the caller's block (allocated with std::malloc, freed by the
//   caller with std::free), or null to have one allocated. A null block, or
//   one passed with a capacity of 0 or less (which is freed), is replaced by
//   a new block of `outputCapacity` bytes, or of the input length when the
//   capacity is 0 or less. A capacity below 2 becomes 2: one byte and the
//   NUL always fit. The decoded bytes start at the block's beginning.
// - On return `output`, `outputLength` and `outputCapacity` describe the
//   (possibly moved) block, and output[outputLength] is NUL.
// - maxBits: every caller passes kLzwReplyBits. mode: 0 (the only mode).
int lzwDecode(const BYTE* input, LONG inputLength, BYTE*& output, LONG& outputLength,
              LONG& outputCapacity, WORD maxBits, int mode = 0, int reserved = 0);

// How the reply handlers expand a compressed rest of a body: 12-bit codes,
// the decoded bytes (NULs kept) in `out`. False after the error box; `out`
// is then empty.
bool lzwExpandReplyBody(const void* data, size_t size, CString& out);
