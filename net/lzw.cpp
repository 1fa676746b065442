#include "net/lzw.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "mfc/app.h"
#include "win/user.h"

namespace {

constexpr int kClearCode = 256;
constexpr int kFirstFree = 257;

// The caller's output block: grows by doubling (twice the capacity plus one
// byte) and always keeps one byte spare for the terminating NUL.
class OutputBlock {
 public:
  OutputBlock(BYTE*& data, LONG& length, LONG& capacity, LONG limit)
      : data_(data), length_(length), capacity_(capacity), limit_(limit) {}

  // Makes the block usable: a fresh one when the caller has none (or one
  // of no capacity), at least 2 bytes, empty and NUL-terminated.
  bool open(LONG inputLength) {
    length_ = 0;
    if (data_ == nullptr || capacity_ <= 0) {
      std::free(data_);
      data_ = nullptr;
      std::int64_t want = capacity_ > 0 ? capacity_ : (inputLength > 0 ? inputLength : 0);
      // Nothing beyond what the cap can ever use is taken up front.
      if (want > std::int64_t{limit_} + 1) want = std::int64_t{limit_} + 1;
      if (want < 2) want = 2;
      data_ = static_cast<BYTE*>(std::malloc(static_cast<size_t>(want)));
      capacity_ = data_ ? static_cast<LONG>(want) : 0;
    } else if (capacity_ < 2 && !resize(2)) {
      return false;
    }
    if (data_ == nullptr) return false;
    data_[0] = 0;
    return true;
  }

  bool good() const { return good_; }

  // Room for `n` more bytes and the NUL after them, at the end of what is
  // written; null when the block cannot grow (memory, or the cap). The
  // bytes count once commit() is called.
  BYTE* reserve(LONG n) {
    if (!good_) return nullptr;
    const std::int64_t needed = std::int64_t{length_} + n;
    if (needed > limit_) {
      fail();
      return nullptr;
    }
    if (needed + 1 > capacity_ && !grow(needed)) {
      fail();
      return nullptr;
    }
    return data_ + length_;
  }
  void commit(LONG n) { length_ += n; }
  void terminate() {
    if (data_ && capacity_ > length_) data_[length_] = 0;
  }

 private:
  // Doubles the block (twice the capacity plus one byte) until `needed`
  // bytes and the NUL fit, never beyond the cap.
  bool grow(std::int64_t needed) {
    std::int64_t next = capacity_;
    while (next < needed + 1) next = next * 2 + 1;
    if (next > std::int64_t{limit_} + 1) next = std::int64_t{limit_} + 1;
    return resize(static_cast<LONG>(next));
  }
  bool resize(LONG capacity) {
    void* grown = std::realloc(data_, static_cast<size_t>(capacity));
    if (grown == nullptr) return false;  // the old block stays valid
    data_ = static_cast<BYTE*>(grown);
    capacity_ = capacity;
    return true;
  }
  bool fail() {
    good_ = false;
    return false;
  }

  BYTE*& data_;
  LONG& length_;
  LONG& capacity_;
  LONG limit_;
  bool good_ = true;
};

// Codes of `bits` bits, least significant bit first. Codes come in groups
// of `bits` bytes (eight codes); when the width changes, and after a clear
// code, the rest of the current group is skipped.
class CodeReader {
 public:
  CodeReader(const BYTE* input, LONG length)
      : input_(input),
        length_(static_cast<std::uint64_t>(length)),
        totalBits_(static_cast<std::uint64_t>(length) * 8) {}

  int bits() const { return bits_; }

  // False when no whole code is left.
  bool next(int& code) {
    if (position_ + static_cast<std::uint64_t>(bits_) > totalBits_) return false;
    const std::uint64_t first = position_ >> 3;
    std::uint32_t window;
    if (first + 3 <= length_) {
      // A code of at most 16 bits at a bit offset of at most 7 lies within
      // three bytes.
      window = static_cast<std::uint32_t>(input_[first]) | static_cast<std::uint32_t>(input_[first + 1]) << 8 |
               static_cast<std::uint32_t>(input_[first + 2]) << 16;
    } else {
      // The last bytes of the input: only those the code covers.
      const std::uint64_t last = (position_ + bits_ - 1) >> 3;
      window = 0;
      for (std::uint64_t i = first; i <= last; ++i)
        window |= static_cast<std::uint32_t>(input_[i]) << (8 * (i - first));
    }
    code = static_cast<int>((window >> (position_ & 7)) & mask_);
    position_ += static_cast<std::uint64_t>(bits_);
    return true;
  }

  // Skips to the end of the current group and reads on with `bits`.
  void startGroup(int bits) {
    std::uint64_t group = static_cast<std::uint64_t>(bits_) * 8;
    std::uint64_t used = position_ - groupStart_;
    position_ = groupStart_ + (used + group - 1) / group * group;
    groupStart_ = position_;
    bits_ = bits;
    mask_ = (1u << bits) - 1;
  }

 private:
  const BYTE* input_;
  std::uint64_t length_;
  std::uint64_t totalBits_;
  std::uint64_t position_ = 0;
  std::uint64_t groupStart_ = 0;
  int bits_ = 9;
  std::uint32_t mask_ = (1u << 9) - 1;
};

// The code tables, kept from one call to the next: at 16 bits they are
// 448 KB, which a program expanding many small replies would otherwise
// allocate and give back every time. Only entries made by the current call
// are ever read, so nothing needs clearing between calls.
struct Tables {
  int size = 0;
  std::unique_ptr<WORD[]> prefix;
  std::unique_ptr<BYTE[]> suffix;
  // The length of each entry's string: a string is written straight into
  // the output, from its last byte back to its first.
  std::unique_ptr<std::uint32_t[]> length;
};

Tables* TablesFor(int tableSize) {
  thread_local Tables tables;
  if (tables.size >= tableSize) return &tables;
  tables = Tables();
  tables.prefix.reset(new (std::nothrow) WORD[tableSize]);
  tables.suffix.reset(new (std::nothrow) BYTE[tableSize]);
  tables.length.reset(new (std::nothrow) std::uint32_t[tableSize]);
  if (!tables.prefix || !tables.suffix || !tables.length) {
    tables = Tables();
    return nullptr;
  }
  tables.size = tableSize;
  return &tables;
}

LzwStatus decode(const BYTE* input, LONG inputLength, OutputBlock& out, int maxBits, LzwStats& stats) {
  const int tableSize = 1 << maxBits;
  Tables* tables = TablesFor(tableSize);
  if (!tables) return LzwStatus::NoMemory;
  WORD* prefix = tables->prefix.get();
  BYTE* suffix = tables->suffix.get();
  std::uint32_t* length = tables->length.get();
  for (int c = 0; c < 256; ++c) {
    prefix[c] = 0;
    suffix[c] = static_cast<BYTE>(c);
    length[c] = 1;
  }

  CodeReader reader(input, inputLength);
  int code = 0;
  if (!reader.next(code)) return LzwStatus::Ok;  // empty input
  // The first code has no string before it: only a byte can stand there.
  if (code >= 256) return LzwStatus::Corrupt;
  int previous = code;
  BYTE firstByte = static_cast<BYTE>(code);
  BYTE* first = out.reserve(1);
  if (!first) return LzwStatus::FirstWrite;
  *first = firstByte;
  out.commit(1);

  stats.widestCode = reader.bits();
  int nextFree = kFirstFree;
  int maxCode = (1 << reader.bits()) - 1;
  while (reader.next(code)) {
    if (code == kClearCode) {
      ++stats.clearCodes;
      nextFree = kFirstFree - 1;
      reader.startGroup(9);
      maxCode = (1 << 9) - 1;
      continue;
    }
    // Only the entry about to be made may be named before it exists: its
    // string is the previous one and that string's first byte again.
    const bool pending = code >= nextFree;
    if (pending && code > nextFree) return LzwStatus::Corrupt;
    const std::uint32_t n = pending ? length[previous] + 1 : length[code];
    BYTE* const start = out.reserve(static_cast<LONG>(n));
    if (!start) return LzwStatus::WriteFailed;
    BYTE* p = start + n - 1;
    int c = code;
    if (pending) {
      *p-- = firstByte;
      c = previous;
    }
    // Each entry's prefix is an older entry whose string is one byte
    // shorter, so the walk ends on a byte exactly at `start`; the bound
    // keeps a broken table from writing outside the string.
    while (c >= 256 && p > start) {
      *p-- = suffix[c];
      c = prefix[c];
    }
    if (c >= 256 || p != start) return LzwStatus::Corrupt;
    firstByte = static_cast<BYTE>(c);
    *p = firstByte;
    out.commit(static_cast<LONG>(n));

    if (nextFree < tableSize) {
      prefix[nextFree] = static_cast<WORD>(previous);
      suffix[nextFree] = firstByte;
      length[nextFree] = length[previous] + 1;
      ++nextFree;
    }
    previous = code;

    if (nextFree > maxCode && reader.bits() < maxBits) {
      int bits = reader.bits() + 1;
      reader.startGroup(bits);
      if (bits > stats.widestCode) stats.widestCode = bits;
      // At the widest codes the limit is the table itself, never passed.
      maxCode = bits == maxBits ? tableSize : (1 << bits) - 1;
    }
  }
  return LzwStatus::Ok;
}

}  // namespace

const char* lzwMessage(LzwStatus status) {
  switch (status) {
    case LzwStatus::Ok:
      return "";
    case LzwStatus::NoInput:
      return "lzw E001: kein Input";
    case LzwStatus::NoMemory:
      return "lzw E009: nicht genug Hauptspeicher";
    case LzwStatus::FirstWrite:
      return "lzw E010: problem with output stream";
    case LzwStatus::WriteFailed:
      return "lzw E012: problem with output stream";
    case LzwStatus::BadWidth:
      return "lzw E013: dictionary size not supported";
    case LzwStatus::Corrupt:
      return "lzw E014: corrupt input";
    case LzwStatus::BadMode:
      return "lzw E015: mode not supported";
  }
  return "lzw: unknown failure";
}

LzwStatus lzwExpand(const BYTE* input, LONG inputLength, BYTE*& output, LONG& outputLength,
                    LONG& outputCapacity, WORD maxBits, LONG outputLimit, LzwStats* stats) {
  LzwStats ignored;
  LzwStats& counts = stats ? *stats : ignored;
  counts = LzwStats();
  if (outputLimit < 0) outputLimit = 0;
  OutputBlock out(output, outputLength, outputCapacity, outputLimit);
  if (!out.open(inputLength)) return LzwStatus::NoMemory;
  if (input == nullptr || inputLength < 0) return LzwStatus::NoInput;
  if (maxBits < kLzwMinBits || maxBits > kLzwMaxBits) return LzwStatus::BadWidth;
  const LzwStatus status = decode(input, inputLength, out, maxBits, counts);
  out.terminate();
  return status;
}

int lzwDecode(const BYTE* input, LONG inputLength, BYTE*& output, LONG& outputLength,
              LONG& outputCapacity, WORD maxBits, int mode, int /*reserved*/) {
  LzwStatus status = LzwStatus::BadMode;
  if (mode == 0)
    status = lzwExpand(input, inputLength, output, outputLength, outputCapacity, maxBits);
  if (status == LzwStatus::Ok) return 0;
  AfxMessageBox(lzwMessage(status), MB_OK | MB_ICONHAND);
  return 1;
}

bool lzwExpandReplyBody(const void* data, size_t size, CString& out) {
  out.Empty();
  if (size > static_cast<size_t>(INT32_MAX)) {
    AfxMessageBox(lzwMessage(LzwStatus::NoInput), MB_OK | MB_ICONHAND);
    return false;
  }
  // A body with no bytes still has a valid (non-null) start.
  static const BYTE kNothing = 0;
  const BYTE* input = size > 0 ? static_cast<const BYTE*>(data) : &kNothing;
  BYTE* block = nullptr;
  LONG length = 0;
  LONG capacity = 0;
  int failed = lzwDecode(input, static_cast<LONG>(size), block, length, capacity, kLzwReplyBits);
  if (!failed) out = CString(reinterpret_cast<const char*>(block), static_cast<int>(length));
  std::free(block);
  return !failed;
}
