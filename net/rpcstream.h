// The stream classes of the control connection: they read and write
// integers in the agreed form (text or binary, and in the binary form the
// peer's byte order), and the socket stream rpcstream that owns its rpcbuf.
//
// Wire format, after the one-time negotiation (negotiateFormat):
//   message  = length field, id, code, body; the length counts it all
//   length   = text: the value right-aligned in 10 characters and a blank;
//              binary: 4 bytes
//   integer  = text: unsigned 32-bit decimal and one blank;
//              binary: 4 bytes in the receiver's byte order
//   string   = the characters and their NUL, in both forms
//   float    = text in both forms: the number and one separator
#pragma once

#include "core/int_source.h"
#include "mfc/cstring.h"
#include "net/rpcbuf.h"
#include "oldio/iostream.h"

// The agreed form, beside ios in every stream class of the connection.
class rpcios {
 public:
  rpcios() = default;
  virtual ~rpcios() = default;

  bool isBinary() const { return binary_; }
  void setBinary(bool on) { binary_ = on; }
  // The peer's byte order differs from ours: integers we write are
  // reversed.
  bool isSwapped() const { return swap_; }
  void setSwapped(bool on) { swap_ = on; }

  // The byte-order letter of this host: 'l' least significant byte first,
  // 'B' most significant first.
  static char ownOrderLetter();

 private:
  bool binary_ = false;
  bool swap_ = false;
};

class rpcistream : public oldio::istream, virtual public rpcios {
 public:
  explicit rpcistream(rpcbuf* buffer);
  ~rpcistream() override;

  // Binary: 4 bytes as they come (the sender wrote them in our order),
  // stored only when all 4 were read. Text: the number (white space before
  // it skipped; any value from -2^31 to 2^32 - 1, kept as its bit pattern,
  // so an unsigned value with bit 31 set reads back into a LONG unchanged)
  // and exactly one separator, which must be there.
  rpcistream& operator>>(LONG& value);
  rpcistream& operator>>(DWORD& value);
  // Text in both forms: the number and one separator.
  rpcistream& operator>>(float& value);
  // A string up to its NUL, which is taken and dropped. A string whose NUL
  // is missing (the body ends first) fails the stream and leaves `out`
  // empty.
  rpcistream& operator>>(CString& out);
  // The same into a buffer of `size` bytes: a string that does not fit
  // with its NUL fails the stream (its bytes up to the NUL are still
  // taken, so the stream stays in step) and `buf` gets what fitted.
  rpcistream& readString(char* buf, int size);
  // Exactly `size` raw bytes; fails when fewer are there.
  rpcistream& readBytes(char* buf, int size);

  rpcbuf* rpc() const;
};

class rpcostream : public oldio::ostream, virtual public rpcios {
 public:
  explicit rpcostream(rpcbuf* buffer);
  ~rpcostream() override;

  // One character, unformatted (the negotiation letters).
  rpcostream& operator<<(char c);
  // Binary: 4 bytes in the receiver's order, width reset to 0. Text: a
  // width, when set, is reduced by one, then the value as a signed decimal
  // in that width, then one blank.
  rpcostream& operator<<(LONG value);

  rpcbuf* rpc() const;
};

class rpciostream : public rpcistream, public rpcostream {
 public:
  explicit rpciostream(rpcbuf* buffer);
  ~rpciostream() override;
};

// The socket stream of the control connection; it owns its rpcbuf.
class rpcstream : public rpciostream {
 public:
  rpcstream();
  ~rpcstream() override;

  // Connects the buffer; the state becomes good on success, failbit alone
  // otherwise. Returns whether it connected.
  bool connect(const char* host, int port);
  // Takes on a connected socket it does not own (tests, accepted sockets);
  // the state as for connect.
  bool attach(int socket);
  // failbit when the switch fails.
  void nonblocking(bool on);
  void setVerbose(bool on) { buffer_.setVerbose(on); }
  // The one-time choice of form and byte order, right after connecting:
  // sends "T" (binary) or "F" (text), takes the server's letter ("T" keeps
  // the choice, "F" gives text, anything else makes the stream bad); in
  // the binary form the byte-order letters follow. Nothing when the state
  // is not good.
  void negotiateFormat(bool binary);

  rpcbuf* rdbuf() { return &buffer_; }
  const rpcbuf* rdbuf() const { return &buffer_; }

  // Whether the next header read must read from the socket first.
  bool needsMoreInput() const { return needsMoreInput_; }
  void setNeedsMoreInput(bool on) { needsMoreInput_ = on; }

  // Ends the body of the message whose header was read last: skips what
  // the handler left of it and closes the frame. When the handler read
  // past the body, the stream is made good again, the buffer's protocol
  // error says kBodyOverrun and the result is false: that message was
  // malformed, the connection is still in step.
  bool finishMessage();

 private:
  rpcbuf buffer_;
  bool needsMoreInput_ = true;
};

// The header of an incoming message.
struct MessageHeader {
  DWORD id = 0;
  LONG code = 0;
  // After reading: the number of body bytes that follow the header.
  LONG length = 0;
};

// Reads the header of the next message when it is whole in the buffer
// (reading from the socket first when the stream needs more input) and
// opens a frame over its body, so that nothing past the body can be read
// until finishMessage (or the next readMessageHeader, which finishes a
// message still open first). True when a header was read. False when the
// message is not whole yet (the stream then needs more input and stays
// good), at the end of the stream (eof and fail set) or on a protocol
// error of the framing (the stream is made bad; rdbuf()->protocolError()
// tells which).
bool readMessageHeader(rpcstream& stream, MessageHeader& header);

// Integers of a message body for the readers of core (IdArray::Read):
// bytesLeft is what is left of the frame.
class RpcIntSource : public IntSource {
 public:
  explicit RpcIntSource(rpcistream& in) : in_(in) {}
  bool readInt(LONG& out) override;
  size_t bytesLeft() const override;

 private:
  rpcistream& in_;
};
