#include "net/kx_body_reader.h"

#include <cstring>
#include <new>
#include <utility>

KxBodyReader::KxBodyReader(Source source) : source_(std::move(source)) {}

std::int32_t KxBodyReader::announcedSize() const {
  if (!sawHeader() || header_.sz < 0) return -1;
  return header_.sz;
}

const char* KxBodyReader::failureText() const {
  switch (failure_) {
    case Failure::kNone: return "";
    case Failure::kSource: return "the data connection failed";
    case Failure::kHeader: return "broken KXHDR header on the data connection";
    case Failure::kShortBody: return "the data connection ended before the announced size";
    case Failure::kEmpty: return "nothing arrived on the data connection";
  }
  return "";
}

int KxBodyReader::fail(Failure why) {
  failure_ = why;
  return -1;
}

bool KxBodyReader::failed(Failure why) {
  failure_ = why;
  return false;
}

bool KxBodyReader::takeHeader() {
  for (;;) {
    if (!source_) return failed(Failure::kSource);
    const int n = source_(start_ + startLength_, KxHeader::kMaxLength - startLength_);
    if (n < 0) return failed(Failure::kSource);
    if (n > KxHeader::kMaxLength - startLength_) return failed(Failure::kSource);
    if (n == 0) {
      ended_ = true;
      if (startLength_ == 0) return failed(Failure::kEmpty);
    }
    startLength_ += n;

    int length = -1;
    const KxHeader::Scan s = header_.scan(start_, startLength_, length);
    if (s == KxHeader::Scan::kComplete) {
      headerLength_ = length;
      startOffset_ = length;
      headerDone_ = true;
      return true;
    }
    if (s == KxHeader::Scan::kNotHeader || (s == KxHeader::Scan::kIncomplete && ended_ &&
                                            startLength_ < static_cast<int>(sizeof "KXHDR"))) {
      // Plain body bytes (a stream that ends while its few bytes still look
      // like the start of the magic line is a short body, not a header).
      header_.reset();
      headerLength_ = 0;
      startOffset_ = 0;
      headerDone_ = true;
      return true;
    }
    if (s == KxHeader::Scan::kTooLong || ended_ || startLength_ >= KxHeader::kMaxLength)
      return failed(Failure::kHeader);
  }
}

int KxBodyReader::read(char* buffer, int size) {
  if (failure_ != Failure::kNone) return -1;
  if (!buffer || size <= 0) return 0;
  if (!headerDone_ && !takeHeader()) return -1;

  const std::int32_t announced = announcedSize();
  std::int64_t room = size;
  if (announced >= 0) {
    const std::int64_t left = announced - delivered_;
    if (left <= 0) return 0;
    if (left < room) room = left;
  }

  // Body bytes that came with the header first; what lies past the
  // announced size is not part of the body.
  if (startOffset_ < startLength_) {
    int n = startLength_ - startOffset_;
    if (announced >= 0 && n > announced - delivered_) {
      const int keep = static_cast<int>(announced - delivered_);
      dropped_ += n - keep;
      startLength_ = startOffset_ + keep;
      n = keep;
    }
    if (n > room) n = static_cast<int>(room);
    std::memcpy(buffer, start_ + startOffset_, static_cast<size_t>(n));
    startOffset_ += n;
    delivered_ += n;
    return n;
  }

  // Bytes read ahead before.
  if (aheadStart_ < aheadEnd_) {
    int n = aheadEnd_ - aheadStart_;
    if (n > room) n = static_cast<int>(room);
    std::memcpy(buffer, ahead_.get() + aheadStart_, static_cast<size_t>(n));
    aheadStart_ += n;
    delivered_ += n;
    return n;
  }

  // A request that takes the whole rest of the body reads straight into
  // the caller's buffer too.
  if (!ended_ && (room >= kDirectRead || (announced >= 0 && room == announced - delivered_))) {
    const int ask = static_cast<int>(room);
    const int n = source_(buffer, ask);
    if (n < 0 || n > ask) return fail(Failure::kSource);
    if (n > 0) {
      delivered_ += n;
      return n;
    }
    ended_ = true;
  }

  if (!ended_) {
    // Small reads go to the source in large pieces (each read of a socket
    // costs a window-message step), but never past the announced size.
    // The block is empty here, so it can be replaced by a larger one
    // without copying.
    if (!ahead_ || (aheadEnd_ == aheadSize_ && aheadSize_ < kReadAhead)) {
      const int size = ahead_ ? aheadSize_ * 2 : kFirstReadAhead;
      ahead_.reset(new (std::nothrow) char[static_cast<size_t>(size)]);
      aheadSize_ = ahead_ ? size : 0;
      aheadStart_ = aheadEnd_ = 0;
    }
    std::int64_t want = announced >= 0 ? announced - delivered_ : aheadSize_;
    if (want > aheadSize_) want = aheadSize_;
    const bool intoAhead = want > room && ahead_;
    char* target = intoAhead ? ahead_.get() : buffer;
    const int ask = static_cast<int>(intoAhead ? want : room);
    const int n = source_(target, ask);
    if (n < 0 || n > ask) return fail(Failure::kSource);
    if (n > 0) {
      if (!intoAhead) {
        delivered_ += n;
        return n;
      }
      aheadStart_ = 0;
      aheadEnd_ = n;
      return read(buffer, size);
    }
    ended_ = true;
  }
  if (announced >= 0 && delivered_ < announced) return fail(Failure::kShortBody);
  return 0;
}
