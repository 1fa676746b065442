#include "net/lzw.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>

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
  // `writable` tells how many bytes from there may be written: the string
  // and scratch bytes after it, which later strings overwrite.
  BYTE* reserve(LONG n, LONG& writable) {
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
    writable = capacity_ - length_;
    return data_ + length_;
  }
  void commit(LONG n) { length_ += n; }
  // The block grows instead: a run goes on to the end of the codes.
  static constexpr bool full() { return false; }
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
// 704 KB and the strings' copies 1 MB more, which a program expanding many
// small replies would otherwise allocate and give back every time. Only entries made by the current call
// are ever read, so nothing needs clearing between calls.
struct Tables {
  int size = 0;
  std::unique_ptr<WORD[]> prefix;
  std::unique_ptr<BYTE[]> suffix;
  // The length of each entry's string.
  std::unique_ptr<std::uint32_t[]> length;
  // Where in the copies each entry's string is, or kNoCopy. A string with
  // a copy goes to the output in one piece; one without is written from
  // its last byte back to its first, along the prefixes.
  std::unique_ptr<std::uint32_t[]> copyAt;
  std::unique_ptr<BYTE[]> copies;
};

constexpr std::uint32_t kNoCopy = UINT32_MAX;
// Room for the strings of the entries made since the last clear code: the
// entries of ordinary data fit many times over; the longest strings (long
// runs of one byte) go without a copy once it is full. Only the pages
// used are ever touched.
constexpr std::uint32_t kCopiesBytes = 1u << 20;
// Short strings are moved 16 bytes at a time, past their end: the copies
// have room for that after their last byte.
constexpr std::uint32_t kCopiesSlack = 16;

// Makes `tables` hold at least `tableSize` entries; false (and no tables)
// when memory is short.
bool HaveTables(Tables& tables, int tableSize) {
  if (tables.size >= tableSize) return true;
  tables = Tables();
  tables.prefix.reset(new (std::nothrow) WORD[tableSize]);
  tables.suffix.reset(new (std::nothrow) BYTE[tableSize]);
  tables.length.reset(new (std::nothrow) std::uint32_t[tableSize]);
  tables.copyAt.reset(new (std::nothrow) std::uint32_t[tableSize]);
  tables.copies.reset(new (std::nothrow) BYTE[kCopiesBytes + kCopiesSlack]);
  if (!tables.prefix || !tables.suffix || !tables.length || !tables.copyAt || !tables.copies) {
    tables = Tables();
    return false;
  }
  tables.size = tableSize;
  return true;
}

Tables* TablesFor(int tableSize) {
  thread_local Tables tables;
  return HaveTables(tables, tableSize) ? &tables : nullptr;
}

// Copies `n` bytes, sizeof(Word) <= n <= 2 * sizeof(Word), as two moves
// of one word that may overlap in the middle.
template <typename Word>
inline void CopyHeadAndTail(BYTE* to, const BYTE* from, std::uint32_t n) {
  Word head, tail;
  std::memcpy(&head, from, sizeof head);
  std::memcpy(&tail, from + n - sizeof tail, sizeof tail);
  std::memcpy(to, &head, sizeof head);
  std::memcpy(to + n - sizeof tail, &tail, sizeof tail);
}

// Copies exactly `n` bytes between places that do not overlap: strings are
// short, and a few fixed-size moves cost less than a call.
inline void CopyString(BYTE* to, const BYTE* from, std::uint32_t n) {
  if (n >= 16) {
    std::uint32_t i = 0;
    for (; i + 16 <= n; i += 16) std::memcpy(to + i, from + i, 16);
    if (i < n) std::memcpy(to + n - 16, from + n - 16, 16);
  } else if (n >= 8) {
    CopyHeadAndTail<std::uint64_t>(to, from, n);
  } else if (n >= 4) {
    CopyHeadAndTail<std::uint32_t>(to, from, n);
  } else if (n >= 2) {
    CopyHeadAndTail<std::uint16_t>(to, from, n);
  } else if (n == 1) {
    *to = *from;
  }
}

// Moves 16 bytes through a register: the two places may overlap (a new
// copy may start within the 16 bytes after the string it repeats).
inline void Move16(BYTE* to, const BYTE* from) {
  BYTE bytes[16];
  std::memcpy(bytes, from, 16);
  std::memcpy(to, bytes, 16);
}

// The decoder's state between runs: where the codes are, the string last
// decoded and the entries made so far. A run decodes strings into a sink
// until the codes end or the sink is full; the next run goes on from there.
class Decoder {
 public:
  Decoder(const BYTE* input, LONG inputLength, int maxBits, Tables& tables)
      : reader_(input, inputLength),
        maxBits_(maxBits),
        tableSize_(1 << maxBits),
        prefix_(tables.prefix.get()),
        suffix_(tables.suffix.get()),
        length_(tables.length.get()),
        copyAt_(tables.copyAt.get()),
        copies_(tables.copies.get()) {
    for (int c = 0; c < 256; ++c) {
      prefix_[c] = 0;
      suffix_[c] = static_cast<BYTE>(c);
      length_[c] = 1;
    }
  }

  bool ended() const { return ended_; }
  const LzwStats& stats() const { return stats_; }

  // The sink gives room for a string (reserve: null when it cannot take
  // it), takes it (commit) and says when to stop (full).
  template <class Sink>
  LzwStatus run(Sink& out);

 private:
  CodeReader reader_;
  int maxBits_;
  int tableSize_;
  WORD* prefix_;
  BYTE* suffix_;
  std::uint32_t* length_;
  std::uint32_t* copyAt_;
  BYTE* copies_;
  std::uint32_t copiesUsed_ = 0;
  bool started_ = false;
  bool ended_ = false;
  int previous_ = 0;
  BYTE firstByte_ = 0;
  int nextFree_ = kFirstFree;
  int maxCode_ = (1 << 9) - 1;
  LzwStats stats_;
};

template <class Sink>
LzwStatus Decoder::run(Sink& out) {
  if (ended_) return LzwStatus::Ok;
  int code = 0;
  if (!started_) {
    started_ = true;
    if (!reader_.next(code)) {  // empty input
      ended_ = true;
      return LzwStatus::Ok;
    }
    // The first code has no string before it: only a byte can stand there.
    if (code >= 256) return LzwStatus::Corrupt;
    previous_ = code;
    firstByte_ = static_cast<BYTE>(code);
    LONG writable = 0;
    BYTE* first = out.reserve(1, writable);
    if (!first) return LzwStatus::FirstWrite;
    *first = firstByte_;
    out.commit(1);
    stats_.widestCode = reader_.bits();
    maxCode_ = (1 << reader_.bits()) - 1;
  }

  // The state lives in locals while the loop runs: the strings are written
  // through byte pointers, which the compiler must assume could change any
  // member.
  CodeReader reader = reader_;
  WORD* const prefix = prefix_;
  BYTE* const suffix = suffix_;
  std::uint32_t* const length = length_;
  std::uint32_t* const copyAt = copyAt_;
  BYTE* const copies = copies_;
  std::uint32_t copiesUsed = copiesUsed_;
  const int tableSize = tableSize_;
  int previous = previous_;
  BYTE firstByte = firstByte_;
  int nextFree = nextFree_;
  int maxCode = maxCode_;
  LzwStatus status = LzwStatus::Ok;
  while (!out.full()) {
    if (!reader.next(code)) {
      ended_ = true;
      break;
    }
    if (code == kClearCode) {
      ++stats_.clearCodes;
      nextFree = kFirstFree - 1;
      // The entries to come are new: their copies start again.
      copiesUsed = 0;
      reader.startGroup(9);
      maxCode = (1 << 9) - 1;
      continue;
    }
    // Only the entry about to be made may be named before it exists: its
    // string is the previous one and that string's first byte again.
    const bool pending = code >= nextFree;
    if (pending && code > nextFree) {
      status = LzwStatus::Corrupt;
      break;
    }
    const int source = pending ? previous : code;
    const std::uint32_t sourceLength = length[source];
    const std::uint32_t n = pending ? sourceLength + 1 : sourceLength;
    LONG writable = 0;
    BYTE* const start = out.reserve(static_cast<LONG>(n), writable);
    if (!start) {
      status = LzwStatus::WriteFailed;
      break;
    }
    if (source < 256) {
      *start = static_cast<BYTE>(source);
    } else if (copyAt[source] != kNoCopy) {
      // Most strings are short: one move of 16 bytes, when there is room
      // to write that many, is cheaper than choosing the exact one.
      const BYTE* from = copies + copyAt[source];
      if (sourceLength <= 16 && writable >= 16) Move16(start, from);
      else CopyString(start, from, sourceLength);
    } else {
      // Each entry's prefix is an older entry whose string is one byte
      // shorter, so the walk ends on a byte exactly at `start`; the bound
      // keeps a broken table from writing outside the string.
      BYTE* p = start + sourceLength - 1;
      int c = source;
      while (c >= 256 && p > start) {
        *p-- = suffix[c];
        c = prefix[c];
      }
      if (c >= 256 || p != start) {
        status = LzwStatus::Corrupt;
        break;
      }
      *p = static_cast<BYTE>(c);
    }
    firstByte = *start;
    if (pending) start[n - 1] = firstByte;
    out.commit(static_cast<LONG>(n));

    if (nextFree < tableSize) {
      const std::uint32_t made = length[previous] + 1;
      prefix[nextFree] = static_cast<WORD>(previous);
      suffix[nextFree] = firstByte;
      length[nextFree] = made;
      // The new string is the previous one and this one's first byte. The
      // entry made right after a clear code is never named (its code is the
      // clear code), and its previous string is from before the clear.
      std::uint32_t at = kNoCopy;
      if (nextFree != kClearCode && made <= kCopiesBytes - copiesUsed &&
          (previous < 256 || copyAt[previous] != kNoCopy)) {
        at = copiesUsed;
        if (previous < 256) copies[at] = static_cast<BYTE>(previous);
        else if (made - 1 <= 16) Move16(copies + at, copies + copyAt[previous]);
        else CopyString(copies + at, copies + copyAt[previous], made - 1);
        copies[at + made - 1] = firstByte;
        copiesUsed += made;
      }
      copyAt[nextFree] = at;
      ++nextFree;
    }
    previous = code;

    if (nextFree > maxCode && reader.bits() < maxBits_) {
      int bits = reader.bits() + 1;
      reader.startGroup(bits);
      if (bits > stats_.widestCode) stats_.widestCode = bits;
      // At the widest codes the limit is the table itself, never passed.
      maxCode = bits == maxBits_ ? tableSize : (1 << bits) - 1;
    }
  }
  reader_ = reader;
  copiesUsed_ = copiesUsed;
  previous_ = previous;
  firstByte_ = firstByte;
  nextFree_ = nextFree;
  maxCode_ = maxCode;
  return status;
}

// The caller's buffer of a streaming read. A string longer than the room
// left goes whole into the stash, and what fits of it is copied out; the
// rest waits there for the next read.
class PieceSink {
 public:
  PieceSink(BYTE* buffer, LONG room, BYTE* stash, LONG stashSize, std::int64_t& total, LONG limit)
      : buffer_(buffer), room_(room), stash_(stash), stashSize_(stashSize), total_(total), limit_(limit) {}

  BYTE* reserve(LONG n, LONG& writable) {
    if (total_ + n > limit_) return nullptr;
    if (n <= room_ - used_) {
      writable = room_ - used_;
      return buffer_ + used_;
    }
    if (n > stashSize_) return nullptr;  // no string is longer than the table
    stashed_ = true;
    writable = stashSize_;
    return stash_;
  }
  void commit(LONG n) {
    total_ += n;
    if (!stashed_) {
      used_ += n;
      return;
    }
    const LONG k = n < room_ - used_ ? n : room_ - used_;
    std::memcpy(buffer_ + used_, stash_, static_cast<size_t>(k));
    used_ += k;
    stashStart_ = k;
    stashEnd_ = n;
  }
  bool full() const { return stashed_ || used_ == room_; }

  LONG used() const { return used_; }
  // The part of the stash still to be handed out.
  LONG stashStart() const { return stashStart_; }
  LONG stashEnd() const { return stashEnd_; }

 private:
  BYTE* buffer_;
  LONG room_;
  BYTE* stash_;
  LONG stashSize_;
  std::int64_t& total_;
  LONG limit_;
  LONG used_ = 0;
  bool stashed_ = false;
  LONG stashStart_ = 0;
  LONG stashEnd_ = 0;
};

LzwStatus decode(const BYTE* input, LONG inputLength, OutputBlock& out, int maxBits, LzwStats& stats) {
  Tables* tables = TablesFor(1 << maxBits);
  if (!tables) return LzwStatus::NoMemory;
  Decoder decoder(input, inputLength, maxBits, *tables);
  const LzwStatus status = decoder.run(out);
  stats = decoder.stats();
  return status;
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

// ---- Streaming ----

struct LzwStream::State {
  Tables tables;
  std::unique_ptr<BYTE[]> stash;
  LONG stashSize = 0;
  LONG stashStart = 0;
  LONG stashEnd = 0;
  std::optional<Decoder> decoder;
  std::int64_t total = 0;
  LONG limit = 0;
  LzwStatus status = LzwStatus::NoInput;
};

LzwStream::LzwStream() = default;
LzwStream::~LzwStream() = default;

LzwStatus LzwStream::start(const BYTE* input, LONG inputLength, WORD maxBits, LONG outputLimit) {
  if (!state_) state_.reset(new (std::nothrow) State);
  if (!state_) return LzwStatus::NoMemory;
  State& s = *state_;
  s.decoder.reset();
  s.stashStart = s.stashEnd = 0;
  s.total = 0;
  s.limit = outputLimit < 0 ? 0 : outputLimit;
  if (input == nullptr || inputLength < 0) return s.status = LzwStatus::NoInput;
  if (maxBits < kLzwMinBits || maxBits > kLzwMaxBits) return s.status = LzwStatus::BadWidth;
  const int tableSize = 1 << maxBits;
  if (s.stashSize < tableSize) {
    s.stash.reset(new (std::nothrow) BYTE[static_cast<size_t>(tableSize)]);
    s.stashSize = s.stash ? tableSize : 0;
  }
  if (!s.stash || !HaveTables(s.tables, tableSize)) return s.status = LzwStatus::NoMemory;
  s.decoder.emplace(input, inputLength, maxBits, s.tables);
  return s.status = LzwStatus::Ok;
}

LzwStatus LzwStream::read(BYTE* buffer, LONG room, LONG& produced) {
  produced = 0;
  if (!state_) return LzwStatus::NoInput;
  State& s = *state_;
  if (buffer == nullptr || room < 1) return LzwStatus::NoInput;
  // The rest of a string that did not fit last time comes first.
  if (s.stashStart < s.stashEnd) {
    const LONG k = s.stashEnd - s.stashStart < room ? s.stashEnd - s.stashStart : room;
    std::memcpy(buffer, s.stash.get() + s.stashStart, static_cast<size_t>(k));
    s.stashStart += k;
    produced = k;
    if (s.stashStart < s.stashEnd) return LzwStatus::Ok;
  }
  if (s.status != LzwStatus::Ok || !s.decoder) return s.status;
  PieceSink sink(buffer + produced, room - produced, s.stash.get(), s.stashSize, s.total, s.limit);
  s.status = s.decoder->run(sink);
  produced += sink.used();
  s.stashStart = sink.stashStart();
  s.stashEnd = sink.stashEnd();
  return s.status;
}

bool LzwStream::finished() const {
  if (!state_) return false;
  const State& s = *state_;
  return s.status == LzwStatus::Ok && s.decoder && s.decoder->ended() && s.stashStart >= s.stashEnd;
}

LzwStats LzwStream::stats() const {
  return state_ && state_->decoder ? state_->decoder->stats() : LzwStats();
}
