#include "net/rpcstream.h"

#include <bit>
#include <cstring>
#include <string>
#include <utility>

namespace {

// A string of a message can never be longer than the longest message.
constexpr size_t kMaxString = rpcbuf::kMaxMessage;

}  // namespace

char rpcios::ownOrderLetter() { return std::endian::native == std::endian::little ? 'l' : 'B'; }

// ---- Input ---------------------------------------------------------------------

rpcistream::rpcistream(rpcbuf* buffer) : oldio::istream(buffer) {}

rpcistream::~rpcistream() = default;

rpcbuf* rpcistream::rpc() const { return static_cast<rpcbuf*>(rdbuf()); }

rpcistream& rpcistream::operator>>(LONG& value) {
  if (isBinary()) {
    if (!ipfx(1)) return *this;
    char bytes[4];
    // The sender wrote the 4 bytes in our order: they are taken as they come.
    if (rdbuf()->sgetn(bytes, 4) != 4) {
      setstate(eofbit | failbit);
      return *this;
    }
    std::memcpy(&value, bytes, 4);
    return *this;
  }
  LONG v = 0;
  oldio::istream::operator>>(v);
  if (fail()) return *this;
  // Exactly one separator follows the number.
  if (rdbuf()->sbumpc() == oldio::kEof) {
    setstate(eofbit | failbit);
    return *this;
  }
  clear(rdstate() & ~eofbit);
  value = v;
  return *this;
}

rpcistream& rpcistream::operator>>(DWORD& value) {
  LONG v = 0;
  *this >> v;
  if (!fail()) value = static_cast<DWORD>(v);
  return *this;
}

rpcistream& rpcistream::operator>>(float& value) {
  float v = 0;
  oldio::istream::operator>>(v);
  if (fail()) return *this;
  if (rdbuf()->sbumpc() == oldio::kEof) {
    setstate(eofbit | failbit);
    return *this;
  }
  clear(rdstate() & ~eofbit);
  value = v;
  return *this;
}

rpcistream& rpcistream::operator>>(CString& out) {
  out.Empty();
  if (!ipfx(1)) return *this;
  oldio::streambuf* sb = rdbuf();
  std::string text;
  while (true) {
    const int c = sb->sbumpc();
    if (c == oldio::kEof) {
      // The body ended before the NUL.
      setstate(eofbit | failbit);
      return *this;
    }
    if (c == 0) break;
    if (text.size() >= kMaxString) {
      setstate(failbit);
      return *this;
    }
    text.push_back(static_cast<char>(c));
  }
  out = CString(std::move(text));
  return *this;
}

rpcistream& rpcistream::readString(char* buf, int size) {
  if (buf && size > 0) buf[0] = '\0';
  if (!ipfx(1)) return *this;
  if (!buf || size <= 0) {
    setstate(failbit);
    return *this;
  }
  oldio::streambuf* sb = rdbuf();
  int n = 0;
  bool fits = true;
  while (true) {
    const int c = sb->sbumpc();
    if (c == oldio::kEof) {
      buf[n] = '\0';
      setstate(eofbit | failbit);
      return *this;
    }
    if (c == 0) break;
    if (n < size - 1) buf[n++] = static_cast<char>(c);
    else fits = false;  // the rest is taken so that the stream stays in step
  }
  buf[n] = '\0';
  if (!fits) setstate(failbit);
  return *this;
}

rpcistream& rpcistream::readBytes(char* buf, int size) {
  if (!ipfx(1)) return *this;
  if (size <= 0) return *this;
  if (!buf) {
    setstate(failbit);
    return *this;
  }
  if (rdbuf()->sgetn(buf, size) != size) setstate(eofbit | failbit);
  return *this;
}

// ---- Output ---------------------------------------------------------------------

rpcostream::rpcostream(rpcbuf* buffer) : oldio::ostream(buffer) {}

rpcostream::~rpcostream() = default;

rpcbuf* rpcostream::rpc() const { return static_cast<rpcbuf*>(rdbuf()); }

rpcostream& rpcostream::operator<<(char c) {
  if (!opfx()) return *this;
  if (rdbuf()->sputc(static_cast<unsigned char>(c)) == oldio::kEof) setstate(badbit);
  return *this;
}

rpcostream& rpcostream::operator<<(LONG value) {
  if (!opfx()) return *this;
  if (isBinary()) {
    width(0);
    char bytes[4];
    std::memcpy(bytes, &value, 4);
    // Written in the receiver's order.
    if (isSwapped()) {
      std::swap(bytes[0], bytes[3]);
      std::swap(bytes[1], bytes[2]);
    }
    if (rdbuf()->sputn(bytes, 4) != 4) setstate(badbit);
    return *this;
  }
  const int w = width();
  if (w > 0) width(w - 1);
  oldio::ostream::operator<<(value);
  if (rdbuf()->sputc(' ') == oldio::kEof) setstate(badbit);
  return *this;
}

rpciostream::rpciostream(rpcbuf* buffer) : rpcistream(buffer), rpcostream(buffer) {}

rpciostream::~rpciostream() = default;

// ---- The socket stream --------------------------------------------------------------

rpcstream::rpcstream() : rpciostream(&buffer_), buffer_(this) {
  // The bases saw the buffer before it was made; it exists now.
  init(&buffer_);
}

rpcstream::~rpcstream() {
  if (buffer_.isOpen()) buffer_.close();
}

bool rpcstream::connect(const char* host, int port) {
  const bool ok = buffer_.connect(host, port) != nullptr;
  clear(ok ? goodbit : failbit);
  needsMoreInput_ = true;
  return ok;
}

bool rpcstream::attach(int socket) {
  const bool ok = buffer_.attach(socket) != nullptr;
  clear(ok ? goodbit : failbit);
  needsMoreInput_ = true;
  return ok;
}

void rpcstream::nonblocking(bool on) {
  if (!buffer_.nonblocking(on)) setstate(failbit);
}

void rpcstream::negotiateFormat(bool binary) {
  if (!good()) return;
  oldio::streambuf* sb = rdbuf();
  *this << (binary ? 'T' : 'F');
  flush();
  const int answer = good() ? sb->sbumpc() : oldio::kEof;
  if (answer == 'T') {
    setBinary(binary);
  } else if (answer == 'F') {
    setBinary(false);
  } else {
    setstate(badbit);
    return;
  }
  setSwapped(false);
  if (!isBinary()) return;
  const char own = ownOrderLetter();
  *this << own;
  flush();
  const int order = good() ? sb->sbumpc() : oldio::kEof;
  if (order != 'l' && order != 'B') {
    setstate(badbit);
    return;
  }
  setSwapped(order != own);
}

bool rpcstream::finishMessage() {
  const bool inBounds = buffer_.endFrame();
  if (inBounds && !fail()) return true;
  // The message was malformed; the framing was not, so the stream goes on.
  if (!bad()) clear();
  buffer_.setProtocolError(inBounds ? rpcbuf::ProtocolError::kBadBody
                                    : rpcbuf::ProtocolError::kBodyOverrun);
  return false;
}

bool readMessageHeader(rpcstream& stream, MessageHeader& header) {
  rpcbuf* buf = stream.rdbuf();
  // A body the previous reader left is dropped first.
  if (buf->inFrame()) stream.finishMessage();

  if (stream.good() && stream.needsMoreInput()) {
    if (buf->readon() == oldio::kEof) stream.setstate(oldio::ios::eofbit);
    else stream.setNeedsMoreInput(false);
  } else if (stream.eof()) {
    stream.setstate(oldio::ios::failbit);
  }
  if (!stream.good()) return false;

  if (buf->read_request() != 0) {
    if (buf->protocolError() != rpcbuf::ProtocolError::kNone) {
      // The framing is lost: nothing after this can be read in step.
      stream.setstate(oldio::ios::badbit);
      return false;
    }
    stream.setNeedsMoreInput(true);
    return false;
  }

  // The whole message is buffered: its header and body form one frame, so
  // nothing of the next message can be taken for this one.
  buf->beginFrame(buf->messageLength());
  LONG length = 0;
  DWORD id = 0;
  LONG code = 0;
  stream >> length >> id >> code;
  if (stream.fail()) {
    // The message matches nothing: it is skipped and the stream stays in
    // step; another message may be buffered behind it.
    buf->endFrame();
    if (!stream.bad()) stream.clear();
    buf->setProtocolError(rpcbuf::ProtocolError::kBadHeader);
    stream.setNeedsMoreInput(false);
    return false;
  }
  header.id = id;
  header.code = code;
  header.length = buf->frameLeft();
  return true;
}

// ---- Integers for core's readers -------------------------------------------------------

bool RpcIntSource::readInt(LONG& out) {
  LONG v = 0;
  in_ >> v;
  if (in_.fail()) return false;
  out = v;
  return true;
}

size_t RpcIntSource::bytesLeft() const {
  const LONG left = in_.rpc() ? in_.rpc()->frameLeft() : -1;
  return left < 0 ? 0 : static_cast<size_t>(left);
}
