// The reader of the control connection. LineHandler is the IOHandler that
// takes each whole message off the stream when the Dispatcher finds the
// socket readable: it reads the header, takes the body off whole, and lets
// the handler of the message's code read it (a code without a handler is
// dropped). ReplyReceiver is the LineHandler of a KxConnection: it files
// parsed replies where the waiting request finds them, answers the hello,
// carries the handshake timer and reports a closed connection.
#pragma once

#include "net/io_handler.h"
#include "net/reply_handlers_body.h"
#include "net/rpcstream.h"

class KxConnection;

class LineHandler : public IOHandler {
 public:
  // Switches the stream to non-blocking mode, links its socket for reading,
  // and, when a whole message is buffered already, marks the socket ready
  // so that the next pass handles it without waiting.
  LineHandler(rpcstream* stream, int codes);
  // Unlinks the socket; the stream stays its owner's.
  ~LineHandler() override;

  int inputReady(int socket) override;

  // The handler whose table serves a message with this id (this one).
  virtual LineHandler* targetFor(DWORD id);
  // The stream ended or broke; the socket is unlinked after this returns.
  virtual void streamFailed(int socket) = 0;

  // Whether the socket is linked with the Dispatcher.
  bool isLinked() const { return linked_; }
  // Links the socket again with the current Dispatcher when that is not
  // the one it was linked with (the instance was ended and made anew).
  void relink();
  int codes() const { return codes_; }
  // Messages taken off the stream so far.
  long messagesRead() const { return messagesRead_; }

 protected:
  // Whether a message of this code is read by handle(); others are dropped.
  virtual bool handles(int code) const = 0;
  // The body is the message's whole body, already off the stream.
  virtual void handle(const MessageHeader& header, ReplyBody& body) = 0;

  rpcstream* stream() const { return stream_; }

 private:
  rpcstream* stream_;
  int codes_;
  int socket_ = -1;
  bool linked_ = false;
  long messagesRead_ = 0;
};

class ReplyReceiver : public LineHandler {
 public:
  ReplyReceiver(rpcstream* stream, KxConnection* owner);

  // The handshake timer: error 16, unless the connection is closed (7).
  void timerExpired(LONG seconds, LONG microseconds) override;
  // The connection's connectionClosed (error 7).
  void streamFailed(int socket) override;

 protected:
  bool handles(int code) const override;
  void handle(const MessageHeader& header, ReplyBody& body) override;

 private:
  KxConnection* owner_;
};
