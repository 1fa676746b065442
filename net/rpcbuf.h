// The stream buffer of the control connection: an old-iostream streambuf
// over a CSocket that frames outgoing requests with a length field and
// tells when a whole incoming message is buffered.
//
// Outgoing: start_request writes a placeholder length field; the request's
// bytes follow through the owning stream; finish_request (or a flush)
// writes the real length over the placeholder. A request never reaches the
// socket before it is finished.
//
// Incoming: read_request tells whether a whole message is buffered;
// readMessageHeader (rpcstream.h) reads its header and opens a frame over
// its body. Inside a frame nothing is read past the body: a read that
// would go further gets end-of-file at once (the socket is not touched)
// and the frame is marked overrun, so a malformed body is a protocol error
// of that one message, not a wait on the socket.
//
// Errors of use and memory go to an "!!! Error !!!" box, failed system
// calls to the logbook; both only while the verbose flag is set.
#pragma once

#include <functional>
#include <memory>

#include "mfc/cstring.h"
#include "net/csocket.h"
#include "oldio/streambuf.h"

class rpciostream;

class rpcbuf : public oldio::streambuf {
 public:
  // Size of the get and the put area when they are first made.
  static constexpr int kAreaSize = 2032;
  // The longest message taken from the peer (64 MiB); a longer length
  // field is a protocol error, so a peer cannot make the client allocate
  // more than this for one message.
  static constexpr LONG kMaxMessage = 64 * 1024 * 1024;
  // The smallest message: the length field, the id and the code, each of
  // at least one digit and a blank in the text form.
  static constexpr LONG kMinTextMessage = 11 + 2 + 2;
  static constexpr LONG kMinBinaryMessage = 4 + 4 + 4;

  enum class ProtocolError {
    kNone,
    kBadLengthField,   // the length field holds no number
    kLengthTooSmall,   // shorter than its own header
    kLengthTooLarge,   // above kMaxMessage
    kBadHeader,        // id or code unreadable within the message
    kBodyOverrun,      // a read of the body ran past its end
    kBadBody,          // a value of the body could not be read
  };
  static const char* ProtocolErrorText(ProtocolError error);

  explicit rpcbuf(rpciostream* owner = nullptr);
  ~rpcbuf() override;

  // Each returns this buffer, or null on failure.
  // A new socket bound to any local address and the port (0: the system
  // chooses), listening with a backlog of 5.
  rpcbuf* listen(int port);
  // Resolves the host (dotted numbers or a name) and connects; a refused
  // connection is tried four times in all, one second apart.
  rpcbuf* connect(const char* host, int port);
  // Accepts one connection on the listening socket; its number goes to
  // `socket`.
  rpcbuf* accept(int& socket);
  // Takes on a socket it does not own (and will not close); -1 is refused.
  rpcbuf* attach(int socket);
  // Flushes; closes the socket (abortively) when it owns it.
  rpcbuf* close();
  rpcbuf* nonblocking(bool on);

  // 0 when not open; else the port (asked of the socket when not known).
  int port();
  int socket() const { return socket_.socket(); }
  bool isOpen() const { return open_; }
  bool isNonblocking() const { return nonblocking_; }
  void setVerbose(bool on) { verbose_ = on; }
  bool verbose() const { return verbose_; }
  rpciostream* owner() const { return owner_; }
  void setOwner(rpciostream* owner) { owner_ = owner; }

  // Opens a request: the placeholder length field is written through the
  // owning stream. 0, or -1 without an owning stream, when not open or
  // without memory.
  int start_request();
  // Writes the length over the placeholder and closes the request.
  void finish_request();
  // 0 when a whole message is buffered, -1 when more must be read or the
  // length field is broken (protocolError() then tells why and the stream
  // is to be dropped).
  int read_request();
  // The length of the message read_request found whole (0 before).
  LONG messageLength() const { return messageLength_; }
  // Reads more behind the unread bytes: the next byte, or end-of-file when
  // nothing is left and nothing came.
  int readon();

  // ---- Frames (the body of the message being read) ----
  // The next `bytes` bytes form the frame (bytes < 0 is taken as 0).
  void beginFrame(LONG bytes);
  // Bytes of the frame not read yet; -1 when there is no frame.
  LONG frameLeft() const;
  bool inFrame() const { return frameEnd_ >= 0; }
  // Whether a read ran past the frame since beginFrame.
  bool frameOverrun() const { return overrun_; }
  // Skips what is left of the frame (reading it from the socket when it is
  // not buffered yet) and closes the frame. False when the frame was
  // overrun or its bytes could not all be had.
  bool endFrame();

  ProtocolError protocolError() const { return protocolError_; }
  void setProtocolError(ProtocolError error);
  void clearProtocolError() { protocolError_ = ProtocolError::kNone; }

  // Bytes of the length field in the agreed form (0 until known).
  int lengthFieldSize() const { return lengthFieldSize_; }
  // Where incoming bytes come from: by default CSocket::Read of the
  // buffer's socket. Tests and the fuzzer feed bytes from memory (same
  // contract: bytes read, 0 at the end, -1 with the WinSock error set).
  using Receiver = std::function<int(char* buffer, int length)>;
  void setReceiver(Receiver receiver) { receiver_ = std::move(receiver); }

  // Sizes of the areas, for tests of their growth.
  int getAreaSize() const { return getSize_; }
  int putAreaSize() const { return putSize_; }
  // Bytes buffered and not read yet.
  int unread() const;

  // ---- streambuf ----
  int sync() override;
  // Only the current get position can be asked (offset 0 from the current
  // position, input side): the offset of the next unread byte in the get
  // area. Anything else gives -1.
  oldio::streampos seekoff(oldio::streamoff offset, oldio::ios::seek_dir dir,
                           int mode = oldio::ios::in | oldio::ios::out) override;

 protected:
  int overflow(int c = oldio::kEof) override;
  int underflow() override;
  int doallocate() override;

 private:
  bool ready() const;  // open with both areas
  bool growPut();
  bool growGet();
  // Writes out the bytes before the open request (all when none is open).
  bool writeOut();
  // Reads into the get area behind the unread bytes; the count, 0 at the
  // end of the stream, -1 on error (the WinSock error is then current).
  int fill(bool compact);
  void refreshGetArea();
  void reportUse(const char* text) const;
  void reportCall(const char* text, int error) const;
  void resetState();

  CSocket socket_;
  rpciostream* owner_;
  LONG requestStart_ = -1;  // offset in the put area; -1 when none is open
  int lengthFieldSize_ = 0;
  CString host_;
  WORD port_ = 0;
  bool open_ = false;
  bool ownSocket_ = false;
  bool nonblocking_ = false;
  bool verbose_ = true;

  std::unique_ptr<char[]> getBlock_;
  int getSize_ = 0;
  LONG filled_ = 0;     // end of the valid bytes in the get area
  LONG frameEnd_ = -1;  // end of the frame in the get area; -1: no frame
  bool overrun_ = false;
  std::unique_ptr<char[]> putBlock_;
  int putSize_ = 0;
  ProtocolError protocolError_ = ProtocolError::kNone;
  LONG messageLength_ = 0;
  Receiver receiver_;
};
