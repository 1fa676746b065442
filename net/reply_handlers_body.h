// The body of one message from the server, taken off the control stream
// whole before any handler looks at it. Handlers read their fields from here
// and can never run past the body into the next message: a count or a string
// that does not fit makes the read fail, and whatever a handler leaves unread
// is dropped with the body, so the stream stays in step either way.
//
// Integers come in the form that the connection agreed: in the binary form
// four bytes, least significant first (the server writes in our order); in
// the text form decimal digits after optional white space, then exactly one
// separator character. Floats are text in both forms.
#pragma once

#include <cstddef>
#include <string>

#include "core/int_source.h"
#include "mfc/cstring.h"
#include "win/types.h"

class ReplyBody : public IntSource {
 public:
  ReplyBody(std::string bytes, bool binary) : bytes_(std::move(bytes)), binary_(binary) {}
  ReplyBody(const char* data, size_t size, bool binary) : bytes_(data, size), binary_(binary) {}

  bool binary() const { return binary_; }
  size_t size() const { return bytes_.size(); }
  size_t position() const { return at_; }

  bool readInt(LONG& out) override;
  size_t bytesLeft() const override { return bytes_.size() - at_; }

  // A 32-bit long on the wire, read like an int.
  bool readLong(LONG& out) { return readInt(out); }
  // Decimal text and one separator, in both forms.
  bool readFloat(float& out);
  // Up to and including the NUL, which is dropped. False when the body
  // holds no NUL from here on (nothing is consumed then).
  bool readString(CString& out);
  // Exactly n raw bytes; false (nothing consumed) when fewer are left.
  bool readBytes(size_t n, std::string& out);
  // Every byte not read yet.
  std::string rest();

 private:
  bool readBinaryInt(LONG& out);
  bool readTextInt(LONG& out);

  std::string bytes_;
  size_t at_ = 0;
  bool binary_;
};
