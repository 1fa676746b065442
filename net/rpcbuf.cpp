#include "net/rpcbuf.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <new>

#include "core/logbook.h"
#include "core/message_boxes.h"
#include "core/message_pump.h"
#include "net/rpcstream.h"
#include "win/kernel.h"
#include "win/user.h"

using namespace winsock;

namespace {

// Would-block retries before a write or a read is given up.
constexpr int kWriteRetries = 300;
constexpr int kReadRetries = 30;
// The longest one retry of a socket that would block waits for it.
constexpr DWORD kWriteRetryMs = 100;
constexpr DWORD kReadRetryMs = 1000;

// One retry of a socket that would block: until it is ready or `limitMs`
// has passed, with the window's messages served meanwhile, so that a ready
// socket is retried at once and the give-up time stays retries x limit.
void awaitSocket(int socket, bool forWrite, DWORD limitMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD spent = GetTickCount() - start;
    if (spent >= limitMs) return;
    const bool ready = WaitForSocketOrMessages(socket, forWrite, limitMs - spent);
    if (PumpMessages(false) < 0 || ready) return;
  }
}
constexpr int kConnectAttempts = 4;
constexpr int kTextLengthField = 11;
constexpr int kBinaryLengthField = 4;

}  // namespace

const char* rpcbuf::ProtocolErrorText(ProtocolError error) {
  switch (error) {
    case ProtocolError::kNone: return "no protocol error";
    case ProtocolError::kBadLengthField: return "length field holds no number";
    case ProtocolError::kLengthTooSmall: return "message shorter than its header";
    case ProtocolError::kLengthTooLarge: return "message longer than 64 MiB";
    case ProtocolError::kBadHeader: return "message id or code unreadable";
    case ProtocolError::kBodyOverrun: return "message body ends early";
    case ProtocolError::kBadBody: return "message body malformed";
  }
  return "protocol error";
}

rpcbuf::rpcbuf(rpciostream* owner) : owner_(owner) {}

rpcbuf::~rpcbuf() {
  if (open_) close();
}

// ---- Reports -------------------------------------------------------------------

void rpcbuf::reportUse(const char* text) const {
  if (!verbose_) return;
  MessageBox(GetFocus(), text, "!!! Error !!!", MB_OK | MB_ICONEXCLAMATION);
}

void rpcbuf::reportCall(const char* text, int error) const {
  if (!verbose_) return;
  // A windowed client has no console: failed calls go to the logbook.
  char line[300];
  std::snprintf(line, sizeof line, "%s: %s (%d)", text, ErrorText(error), error);
  TheLogbook().Write(line);
}

void rpcbuf::setProtocolError(ProtocolError error) { protocolError_ = error; }

// ---- Areas -----------------------------------------------------------------------

int rpcbuf::doallocate() {
  if (!getBlock_) {
    getBlock_.reset(new (std::nothrow) char[kAreaSize]);
    if (!getBlock_) {
      reportUse("rpcbuf::doallocate: out of memory");
      return oldio::kEof;
    }
    getSize_ = kAreaSize;
    filled_ = 0;
    setg(getBlock_.get(), getBlock_.get(), getBlock_.get());
  }
  if (!putBlock_) {
    putBlock_.reset(new (std::nothrow) char[kAreaSize]);
    if (!putBlock_) {
      reportUse("rpcbuf::doallocate: out of memory");
      return oldio::kEof;
    }
    putSize_ = kAreaSize;
    setp(putBlock_.get(), putBlock_.get() + putSize_);
  }
  return 1;
}

bool rpcbuf::ready() const { return open_ && getBlock_ && putBlock_; }

int rpcbuf::unread() const {
  if (!getBlock_) return 0;
  return static_cast<int>(filled_ - (gptr() - eback()));
}

void rpcbuf::refreshGetArea() {
  char* base = getBlock_.get();
  const LONG offset = static_cast<LONG>(gptr() - eback());
  const LONG end = frameEnd_ >= 0 && frameEnd_ < filled_ ? frameEnd_ : filled_;
  setg(base, base + offset, base + end);
}

bool rpcbuf::growPut() {
  // Twice the size, up to twice the longest message.
  const long long wanted = static_cast<long long>(putSize_) * 2;
  if (wanted > 2LL * kMaxMessage) return false;
  char* block = new (std::nothrow) char[static_cast<size_t>(wanted)];
  if (!block) return false;
  const LONG used = static_cast<LONG>(pptr() - pbase());
  std::memcpy(block, putBlock_.get(), static_cast<size_t>(used));
  putBlock_.reset(block);
  putSize_ = static_cast<int>(wanted);
  setp(block, block + putSize_);
  pbump(used);
  return true;
}

bool rpcbuf::growGet() {
  // Twice the size, but never past the longest message taken: a peer
  // cannot make the client hold more than kMaxMessage for one message.
  long long wanted = 2LL * getSize_;
  if (wanted > kMaxMessage) wanted = kMaxMessage;
  if (wanted <= getSize_) return false;
  char* block = new (std::nothrow) char[static_cast<size_t>(wanted)];
  if (!block) return false;
  const LONG offset = static_cast<LONG>(gptr() - eback());
  const LONG keep = filled_ - offset;
  std::memcpy(block, getBlock_.get() + offset, static_cast<size_t>(keep));
  getBlock_.reset(block);
  getSize_ = static_cast<int>(wanted);
  filled_ = keep;
  if (frameEnd_ >= 0) frameEnd_ -= offset;
  setg(block, block, block);
  refreshGetArea();
  return true;
}

// ---- Writing ------------------------------------------------------------------------

namespace {

// The length field in the owner's form: text, the value right-aligned in
// ten characters and a blank; binary, 4 bytes in the receiver's order.
int encodeLength(const rpciostream& form, LONG value, char* out) {
  if (form.isBinary()) {
    std::memcpy(out, &value, 4);
    if (form.isSwapped()) {
      std::swap(out[0], out[3]);
      std::swap(out[1], out[2]);
    }
    return kBinaryLengthField;
  }
  char text[16];
  std::snprintf(text, sizeof text, "%10d ", static_cast<int>(value));
  const int n = static_cast<int>(std::strlen(text));
  std::memcpy(out, text, static_cast<size_t>(n));
  return n;
}

}  // namespace

int rpcbuf::start_request() {
  if (!owner_ || !open_) return -1;
  if (!ready() && doallocate() == oldio::kEof) return -1;
  if (requestStart_ >= 0) finish_request();
  char field[16];
  const int n = encodeLength(*owner_, 0, field);
  // Room for the placeholder first: what is written so far goes out.
  if (epptr() - pptr() < n && !writeOut()) return -1;
  requestStart_ = static_cast<LONG>(pptr() - pbase());
  std::memcpy(pptr(), field, static_cast<size_t>(n));
  pbump(n);
  lengthFieldSize_ = n;
  return 0;
}

void rpcbuf::finish_request() {
  if (requestStart_ < 0) return;
  const LONG used = static_cast<LONG>(pptr() - pbase());
  const LONG length = used - requestStart_;
  if (length > 0 && owner_) {
    char field[16];
    const int n = encodeLength(*owner_, length, field);
    if (n != lengthFieldSize_) {
      reportUse("rpcbuf::finish_request: length field's width changed");
    } else if (requestStart_ + n <= used) {
      std::memcpy(pbase() + requestStart_, field, static_cast<size_t>(n));
    }
  }
  requestStart_ = -1;
}

bool rpcbuf::writeOut() {
  const LONG end = requestStart_ >= 0 ? requestStart_ : static_cast<LONG>(pptr() - pbase());
  LONG done = 0;
  int wouldBlock = 0;
  while (done < end) {
    const int n = socket_.Write(pbase() + done, static_cast<int>(end - done));
    if (n > 0) {
      done += n;
      wouldBlock = 0;
      continue;
    }
    const int error = n < 0 ? WSAGetLastError() : WSAECONNRESET;
    if (n < 0 && error == WSAEWOULDBLOCK && ++wouldBlock < kWriteRetries) {
      awaitSocket(socket_.socket(), true, kWriteRetryMs);
      continue;
    }
    reportCall("rpcbuf::overflow: write", error);
    return false;
  }
  // What is left (the open request) moves to the start of the area.
  const LONG used = static_cast<LONG>(pptr() - pbase());
  const LONG rest = used - end;
  if (end > 0) {
    std::memmove(pbase(), pbase() + end, static_cast<size_t>(rest));
    setp(putBlock_.get(), putBlock_.get() + putSize_);
    pbump(rest);
    if (requestStart_ >= 0) requestStart_ = 0;
  }
  return true;
}

int rpcbuf::overflow(int c) {
  if (!open_) return oldio::kEof;
  if (!ready() && doallocate() == oldio::kEof) return oldio::kEof;
  while (true) {
    if (c == oldio::kEof) finish_request();
    if (requestStart_ == 0 && pptr() >= epptr()) {
      if (!growPut()) {
        ShowErrorText("Out of memory !");
        reportUse("rpcbuf::overflow: out of memory");
        return oldio::kEof;
      }
    }
    // A request is never written before it is finished.
    if (!writeOut()) return oldio::kEof;
    if (c == oldio::kEof) return 0;
    if (pptr() < epptr()) {
      *pptr() = static_cast<char>(c);
      pbump(1);
      return static_cast<unsigned char>(c);
    }
  }
}

int rpcbuf::sync() {
  if (!putBlock_ || pptr() == pbase()) return 0;
  if (!open_) return oldio::kEof;
  finish_request();
  return writeOut() ? 0 : oldio::kEof;
}

// ---- Reading ----------------------------------------------------------------------------

int rpcbuf::fill(bool compact) {
  char* base = getBlock_.get();
  if (compact) {
    const LONG offset = static_cast<LONG>(gptr() - eback());
    const LONG keep = filled_ - offset;
    if (offset > 0) {
      std::memmove(base, base + offset, static_cast<size_t>(keep));
      filled_ = keep;
      if (frameEnd_ >= 0) frameEnd_ -= offset;
      setg(base, base, base);
    }
  } else {
    filled_ = 0;
    setg(base, base, base);
  }
  const int room = getSize_ - static_cast<int>(filled_);
  if (room <= 0) return -2;  // full: nothing could be read
  const int n = receiver_ ? receiver_(base + filled_, room) : socket_.Read(base + filled_, room);
  if (n > 0) filled_ += n;
  refreshGetArea();
  return n;
}

int rpcbuf::underflow() {
  if (!open_) return oldio::kEof;
  if (!ready() && doallocate() == oldio::kEof) return oldio::kEof;
  if (frameEnd_ >= 0 && gptr() - eback() >= frameEnd_) {
    // Nothing is read past the body of the current message.
    overrun_ = true;
    return oldio::kEof;
  }
  if (gptr() < egptr()) return static_cast<unsigned char>(*gptr());
  // Output always goes out before input is awaited.
  if (out_waiting() > 0 && sync() == oldio::kEof) return oldio::kEof;
  int wouldBlock = 0;
  while (true) {
    const int n = fill(frameEnd_ >= 0 || unread() > 0);
    if (n > 0) return static_cast<unsigned char>(*gptr());
    if (n == 0 || n == -2) return oldio::kEof;
    const int error = WSAGetLastError();
    if (error == WSAEWOULDBLOCK && ++wouldBlock < kReadRetries) {
      awaitSocket(socket_.socket(), false, kReadRetryMs);
      continue;
    }
    reportCall("rpcbuf::underflow: read", error);
    return oldio::kEof;
  }
}

int rpcbuf::readon() {
  if (!open_) return oldio::kEof;
  if (!ready() && doallocate() == oldio::kEof) return oldio::kEof;
  if (out_waiting() > 0 && sync() == oldio::kEof) return oldio::kEof;
  int wouldBlock = 0;
  while (true) {
    const int n = fill(true);
    if (n > 0 || n == -2) return static_cast<unsigned char>(*gptr());
    if (n == 0) {
      // The peer ended the stream: bytes of a message it will never finish
      // are no message, so this is the end either way.
      filled_ = 0;
      frameEnd_ = -1;
      setg(getBlock_.get(), getBlock_.get(), getBlock_.get());
      return oldio::kEof;
    }
    const int error = WSAGetLastError();
    if (error == WSAEWOULDBLOCK) {
      if (unread() > 0) return static_cast<unsigned char>(*gptr());
      // Called when the socket was said to be readable; a socket that keeps
      // saying it would block is given up like any other failed read.
      if (++wouldBlock < kReadRetries) {
        PumpMessages(true);
        Sleep(1000);
        continue;
      }
    }
    char text[64];
    std::snprintf(text, sizeof text, "rpcbuf::readon: read (%d) ", error);
    reportCall(text, error);
    return oldio::kEof;
  }
}

int rpcbuf::read_request() {
  if (!owner_) return -1;
  if (!ready() && (!open_ || doallocate() == oldio::kEof)) return -1;
  lengthFieldSize_ = owner_->isBinary() ? kBinaryLengthField : kTextLengthField;
  const LONG available = unread();
  if (available < lengthFieldSize_) return -1;
  const char* p = gptr();
  LONG length = 0;
  int fieldBytes = lengthFieldSize_;
  if (owner_->isBinary()) {
    std::memcpy(&length, p, 4);  // the sender wrote it in our order
  } else {
    // Blanks, the digits and one separator, all within the field.
    int i = 0;
    while (i < kTextLengthField && std::isspace(static_cast<unsigned char>(p[i]))) ++i;
    if (i < kTextLengthField && p[i] == '+') ++i;
    const int digitsStart = i;
    long long v = 0;
    while (i < kTextLengthField && p[i] >= '0' && p[i] <= '9') {
      v = v * 10 + (p[i] - '0');
      ++i;
    }
    if (i == digitsStart || i >= kTextLengthField) {
      // A negative length, no digits, or no room for the separator.
      if (i < kTextLengthField && p[i] == '-') reportUse("rpcbuf::read_request: zero or negative length");
      setProtocolError(ProtocolError::kBadLengthField);
      return -1;
    }
    fieldBytes = i + 1;
    length = v > kMaxMessage ? kMaxMessage + 1 : static_cast<LONG>(v);
  }
  if (length < 1) reportUse("rpcbuf::read_request: zero or negative length");
  // The id and the code need 4 bytes each in the binary form and at least
  // a digit and a blank each in the text form.
  const LONG minimum = fieldBytes + (owner_->isBinary() ? 8 : 4);
  if (length < minimum) {
    setProtocolError(ProtocolError::kLengthTooSmall);
    return -1;
  }
  if (length > kMaxMessage) {
    setProtocolError(ProtocolError::kLengthTooLarge);
    return -1;
  }
  // The area grows as the message's bytes arrive, once they fill it: a
  // length field alone sets nothing aside.
  if (available < length && available >= getSize_ && !growGet()) {
    ShowErrorText("Out of memory !");
    reportUse("rpcbuf::read_request: out of memory");
    return -1;
  }
  if (available < length) return -1;
  messageLength_ = length;
  return 0;
}

oldio::streampos rpcbuf::seekoff(oldio::streamoff offset, oldio::ios::seek_dir dir, int mode) {
  if (!open_ || !getBlock_ || offset != 0 || dir != oldio::ios::cur || mode != oldio::ios::in)
    return -1;
  return static_cast<oldio::streampos>(gptr() - eback());
}

// ---- Frames --------------------------------------------------------------------------

void rpcbuf::beginFrame(LONG bytes) {
  if (!getBlock_) return;
  frameEnd_ = static_cast<LONG>(gptr() - eback()) + (bytes < 0 ? 0 : bytes);
  overrun_ = false;
  refreshGetArea();
}

LONG rpcbuf::frameLeft() const {
  if (frameEnd_ < 0 || !getBlock_) return -1;
  return frameEnd_ - static_cast<LONG>(gptr() - eback());
}

bool rpcbuf::endFrame() {
  if (frameEnd_ < 0) return true;
  const bool ok = !overrun_;
  const LONG offset = static_cast<LONG>(gptr() - eback());
  LONG left = frameEnd_ - offset;
  const LONG here = filled_ - offset;
  LONG take = here < left ? here : left;
  if (take > 0) gbump(static_cast<int>(take));
  left -= take;
  frameEnd_ = -1;
  overrun_ = false;
  refreshGetArea();
  // The rest of the frame is still on its way: read it and drop it.
  while (left > 0) {
    if (underflow() == oldio::kEof) return false;
    const LONG available = static_cast<LONG>(egptr() - gptr());
    take = available < left ? available : left;
    gbump(static_cast<int>(take));
    left -= take;
  }
  return ok;
}

// ---- Connections -------------------------------------------------------------------------

void rpcbuf::resetState() {
  host_.Empty();
  port_ = 0;
  open_ = false;
  ownSocket_ = false;
  nonblocking_ = false;
  requestStart_ = -1;
  frameEnd_ = -1;
  overrun_ = false;
  filled_ = 0;
  if (getBlock_) setg(getBlock_.get(), getBlock_.get(), getBlock_.get());
  if (putBlock_) setp(putBlock_.get(), putBlock_.get() + putSize_);
}

rpcbuf* rpcbuf::listen(int port) {
  if (open_) {
    reportUse("rpcbuf::listen: already using a file number");
    return nullptr;
  }
  if (!socket_.Create()) return nullptr;
  const SOCKET s = static_cast<SOCKET>(socket_.socket());
  const int on = 1;
  const char* failed = nullptr;
  if (setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on) != 0) {
    failed = "rpcbuf::listen: setsockopt";
  } else {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<winsock::u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
      failed = "rpcbuf::listen: bind";
    else if (winsock::listen(s, 5) != 0)
      failed = "rpcbuf::listen: listen";
  }
  if (failed) {
    reportCall(failed, WSAGetLastError());
    socket_.SetLinger(0);
    socket_.Close();
    return nullptr;
  }
  resetState();
  open_ = true;
  ownSocket_ = true;
  port_ = static_cast<WORD>(port);
  return this;
}

rpcbuf* rpcbuf::connect(const char* host, int port) {
  if (open_) {
    reportUse("rpcbuf::connect: already using a file number");
    return nullptr;
  }
  if (!host) host = "";
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<winsock::u_short>(port));
  winsock::u_long ip = INADDR_NONE;
  switch (CSocket::ResolveHost(host, ip)) {
    case CSocket::Lookup::kFound:
      break;
    case CSocket::Lookup::kNoSuchHost: {
      const int error = WSAGetLastError();
      char text[400];
      std::snprintf(text, sizeof text, "rpcbuf::connect: gethostbyname: no such host (Code:%d)", error);
      reportUse(text);
      std::snprintf(text, sizeof text, "No such host: %s (Code:%d)", host, error);
      ShowErrorText(text);
      return nullptr;
    }
    case CSocket::Lookup::kNotInternet:
      reportUse("rpcbuf::connect: gethostbyname: not an Internet host");
      return nullptr;
  }
  address.sin_addr.s_addr = ip;

  for (int attempt = 1;; ++attempt) {
    if (!socket_.Create()) return nullptr;
    if (socket_.RawConnect(address) == 0) break;
    const int error = WSAGetLastError();
    socket_.SetLinger(0);
    socket_.Close();
    if (error == WSAECONNREFUSED && attempt < kConnectAttempts) {
      PumpMessages(true);
      Sleep(1000);
      continue;
    }
    reportCall("rpcbuf::connect: connect", error);
    char text[400];
    std::snprintf(text, sizeof text, "Could not connect to %s !", host);
    ShowErrorText(text);
    return nullptr;
  }
  resetState();
  host_ = host;
  open_ = true;
  ownSocket_ = true;
  port_ = static_cast<WORD>(port);
  return this;
}

rpcbuf* rpcbuf::accept(int& socket) {
  if (!open_) {
    reportUse("rpcbuf::accept: not using a file number yet");
    return nullptr;
  }
  const SOCKET s = winsock::accept(static_cast<SOCKET>(socket_.socket()), nullptr, nullptr);
  if (s == INVALID_SOCKET) {
    reportCall("rpcbuf::accept: accept", WSAGetLastError());
    return nullptr;
  }
  socket = static_cast<int>(s);
  return this;
}

rpcbuf* rpcbuf::attach(int socket) {
  if (open_) {
    reportUse("rpcbuf::attach: already using a file number");
    return nullptr;
  }
  if (socket < 0) {
    reportUse("rpcbuf::attach: cannot use a negative file number");
    return nullptr;
  }
  resetState();
  socket_.Attach(socket);
  open_ = true;
  return this;
}

rpcbuf* rpcbuf::close() {
  if (!open_) return nullptr;
  sync();
  if (ownSocket_) {
    socket_.SetLinger(0);  // abortive: nothing is left to say
    socket_.Close();
  } else {
    socket_.Detach();
  }
  resetState();
  return this;
}

rpcbuf* rpcbuf::nonblocking(bool on) {
  if (!open_) {
    reportUse("rpcbuf::nonblocking: not using a file number yet");
    return nullptr;
  }
  winsock::u_long arg = on ? 1 : 0;
  if (ioctlsocket(static_cast<SOCKET>(socket_.socket()), FIONBIO, &arg) != 0) {
    reportCall("rpcbuf::nonblocking: F_SETFL fcntl", WSAGetLastError());
    return nullptr;
  }
  nonblocking_ = on;
  return this;
}

int rpcbuf::port() {
  if (!open_) return 0;
  if (port_ != 0) return port_;
  sockaddr_in address{};
  int length = sizeof address;
  if (getsockname(static_cast<SOCKET>(socket_.socket()), reinterpret_cast<sockaddr*>(&address),
                  &length) != 0) {
    reportCall("rpcbuf::port: getsockname", WSAGetLastError());
    return 0;
  }
  port_ = ntohs(address.sin_port);
  return port_;
}
