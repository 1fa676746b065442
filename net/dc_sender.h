// Senders: each moves one body of data (a file or a memory block) to the
// server over a data connection. A sender listens on a port of the client;
// its owner names that port to the server in a request on the control
// connection and serves the Dispatcher while it waits for the reply; the
// server connects, and the sender writes the KXHDR header (when its owner
// set one) and then the data, one buffer each time the connection can take
// output, and closes.
//
// Every byte is accounted for: a write that the connection takes only in
// part is continued with the rest on the next turn, and a write that fails
// ends the sender in kWriteFailed, never in kDone. A sender unlinks its
// sockets from the Dispatcher before it closes them.
#pragma once

#include <cstdint>
#include <memory>

#include "mfc/cstring.h"
#include "net/csocket.h"
#include "net/io_handler.h"
#include "net/kx_header.h"
#include "net/rpcbuf.h"
#include "win/types.h"

class DcSender : public IOHandler {
 public:
  // The buffer size of the progress kinds.
  static constexpr int kBufferSize = 8192;
  // The largest buffer a sender takes; a larger (or non-positive) request
  // gets kBufferSize.
  static constexpr int kMaxBufferSize = 1 << 20;

  enum State : int {
    kListening = 0,     // waiting for the server
    kSending = 1,       // connected
    kDone = 2,          // all data sent and the connection closed
    kFillFailed = 3,    // fill failed (a read error, or the user's break)
    kListenFailed = 4,  // no port to listen on
    kAcceptFailed = 5,  // the server's connection could not be taken
    kPeerClosed = 6,    // the server sent something or closed before the end
    kWriteFailed = 7    // the connection refused the data
  };

  ~DcSender() override;

  // The port the sender listens on, for the server; -1 without a listener.
  int port();

  // On the listener: accepts the server's connection and stops listening
  // (-1, so the Dispatcher drops the listening socket). On the connection:
  // the server spoke or closed before the end (kPeerClosed); the connection
  // is closed at once.
  int inputReady(int socket) override;
  // Writes what is still pending, else the header (once), else the next
  // piece that fill gives; closes the connection at the end (-1).
  int outputReady(int socket) override;

  // The next piece of data, at most bufferSize() bytes, into buffer(): its
  // length; 0 at the end of the data; negative on failure.
  virtual int fill() = 0;

  void closeListener();
  void closeConnection();

  int state() const { return state_; }
  bool finished() const { return finished_; }
  // The header sent in front of the data; left unset, none is sent.
  KxHeader& header() { return header_; }
  // Bytes the connection has taken (header included).
  std::int64_t bytesWritten() const { return written_; }
  // The socket numbers held; -1 when none.
  int listeningSocket() const { return listener_ ? listener_->socket() : -1; }
  int connectionSocket() const { return connection_ ? connection_->socket() : -1; }

 protected:
  // Listens on `port` (0: the system chooses).
  DcSender(int port, int bufferSize);

  char* buffer() { return buffer_.get(); }
  int bufferSize() const { return bufferSize_; }

  // Hands bytes to the connection: the count taken (0 when it can take
  // nothing now), -1 when it failed.
  virtual int writeSome(const char* data, int length);

 private:
  // Writes pending bytes; false when the connection failed.
  bool flushPending();
  int endWith(State state);  // closes the connection; -1
  void unlinkSocket(int socket);

  int bufferSize_ = kBufferSize;
  std::unique_ptr<char[]> buffer_;
  bool finished_ = false;
  std::unique_ptr<rpcbuf> listener_;
  std::unique_ptr<CSocket> connection_;
  int state_ = kListening;
  KxHeader header_;
  bool headerPending_ = true;
  // The header as written, and what of the header or the buffer is still
  // to be written.
  CString headerBytes_;
  const char* pending_ = nullptr;
  int pendingLeft_ = 0;
  std::int64_t written_ = 0;
};

// Sends a file.
class FileSender : public DcSender {
 public:
  FileSender(const CString& path, int port, int bufferSize);
  ~FileSender() override;
  // -1 when the file could not be opened or read; 0 at its end.
  int fill() override;
  bool isOpen() const { return file_ != HFILE_ERROR; }

 private:
  HFILE file_ = HFILE_ERROR;
};

// Sends a memory block: `length` bytes, or, for a negative length, a
// NUL-terminated string with its NUL. The caller keeps the block alive.
class MemorySender : public DcSender {
 public:
  MemorySender(const char* data, int length, int port, int bufferSize);
  int fill() override;

 private:
  const char* start_;
  const char* cursor_;
  int length_;
  bool atEnd_ = false;
};

// The kinds the document upload uses: before each piece one window-message
// step and the user's break (a break fails the piece), after it the
// progress (bytes sent of the total) on the main frame's reporter. Without
// a reporter they send without either.
class ProgressFileSender : public FileSender {
 public:
  ProgressFileSender(const CString& path, int total);
  int fill() override;
  int sent() const { return sent_; }

 private:
  int total_;
  int sent_ = 0;
};

class ProgressMemorySender : public MemorySender {
 public:
  ProgressMemorySender(const char* data, int length);
  int fill() override;
  int sent() const { return sent_; }

 private:
  int total_;
  int sent_ = 0;
};
