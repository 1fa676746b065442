// Takes a document body off a data connection, with the KXHDR header that
// may open it cut off.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "net/kx_header.h"

// Takes a document body off a data connection: the first bytes are checked
// for a KXHDR header, which may arrive split over several reads and is cut
// off; the body follows. When the header announces a size, the body is
// held to it: bytes past it are not delivered, and an end of the stream
// before it is a failure, so a short transfer is never taken for a whole
// one.
class KxBodyReader {
 public:
  // Reads up to `length` bytes into `buffer`: the count, 0 at the end of the
  // stream, -1 on failure (the same contract as CSocket::Read).
  using Source = std::function<int(char* buffer, int length)>;

  enum class Failure {
    kNone,
    kSource,      // the source failed
    kHeader,      // a header began but was broken or longer than kMaxLength
    kShortBody,   // the stream ended before the announced size
    kEmpty        // the stream ended before any byte came
  };

  // The most the reader asks of the source at once: it reads ahead of the
  // caller (never past the announced size) so that a caller that takes
  // small pieces does not pay for a socket read each time. The block starts
  // at kFirstReadAhead and doubles each time the source fills it, so a body
  // that announces much and sends little holds little. It stays small
  // enough to live in the processor's cache: a larger one made every socket
  // read and every copy out of it go to memory, and cost fresh pages for
  // each transfer.
  static constexpr int kFirstReadAhead = 64 * 1024;
  static constexpr int kReadAhead = 256 * 1024;
  // A request at least this large, met with nothing read ahead, goes to the
  // source with the caller's own buffer: one socket read per such request
  // costs less than copying every byte out of the block again.
  static constexpr int kDirectRead = 32 * 1024;

  explicit KxBodyReader(Source source);

  // The next body bytes: the count placed in `buffer` (at most `size`), 0
  // at the end of the body, -1 on failure (failure() tells which).
  int read(char* buffer, int size);

  // The header as read; unset when the stream carried none (or not yet).
  const KxHeader& header() const { return header_; }
  bool sawHeader() const { return headerDone_ && headerLength_ > 0; }
  // The size the header announced; -1 when unknown.
  std::int32_t announcedSize() const;
  // Body bytes delivered so far.
  std::int64_t delivered() const { return delivered_; }
  // Bytes that came past the announced size and were dropped.
  std::int64_t dropped() const { return dropped_; }
  Failure failure() const { return failure_; }
  // A short text of the failure for the logbook; "" when none.
  const char* failureText() const;

 private:
  // Reads until the header is complete or known to be absent.
  bool takeHeader();
  int fail(Failure why);   // -1
  bool failed(Failure why);  // false

  Source source_;
  KxHeader header_;
  bool headerDone_ = false;
  int headerLength_ = 0;
  bool ended_ = false;
  // Bytes read while looking for the header that belong to the body.
  char start_[KxHeader::kMaxLength];
  int startLength_ = 0;
  int startOffset_ = 0;
  std::unique_ptr<char[]> ahead_;  // made on first use
  int aheadSize_ = 0;
  int aheadStart_ = 0;
  int aheadEnd_ = 0;
  std::int64_t delivered_ = 0;
  std::int64_t dropped_ = 0;
  Failure failure_ = Failure::kNone;
};
