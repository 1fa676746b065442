#include "net/reply_receiver.h"

#include <string>

#include "net/dispatcher.h"
#include "net/kx_connection.h"

LineHandler::LineHandler(rpcstream* stream, int codes) : stream_(stream), codes_(codes) {
  if (stream_ == nullptr) return;
  stream_->nonblocking(true);
  socket_ = stream_->rdbuf()->socket();
  if (socket_ < 0) return;
  Dispatcher* dispatcher = Dispatcher::instance();
  linked_ = dispatcher->link(socket_, Dispatcher::kRead, this);
  if (linked_ && stream_->rdbuf()->read_request() == 0) {
    dispatcher->setReady(socket_, Dispatcher::kRead);
    stream_->setNeedsMoreInput(false);
  }
}

LineHandler::~LineHandler() {
  // The dispatcher may have dropped the socket already (a failed stream);
  // unlink only what is still ours.
  Dispatcher* dispatcher = Dispatcher::existing();
  if (dispatcher != nullptr && socket_ >= 0 &&
      dispatcher->handlerFor(socket_, Dispatcher::kRead) == this)
    dispatcher->unlink(socket_);
}

void LineHandler::relink() {
  if (stream_ == nullptr || socket_ < 0 || !stream_->good()) return;
  Dispatcher* dispatcher = Dispatcher::instance();
  if (dispatcher->handlerFor(socket_, Dispatcher::kRead) == this) return;
  linked_ = dispatcher->link(socket_, Dispatcher::kRead, this);
  if (linked_ && !stream_->needsMoreInput()) dispatcher->setReady(socket_, Dispatcher::kRead);
}

LineHandler* LineHandler::targetFor(DWORD) { return this; }

int LineHandler::inputReady(int socket) {
  MessageHeader header;
  if (readMessageHeader(*stream_, header)) {
    ++messagesRead_;
    // The whole body comes off the stream before any handler sees it, so
    // that whatever a handler leaves unread, or a body that lies about its
    // counts, cannot put the stream out of step.
    std::string bytes;
    LONG length = header.length > 0 ? header.length : 0;
    bytes.resize(static_cast<size_t>(length));
    if (length > 0) stream_->readBytes(bytes.data(), static_cast<int>(length));
    stream_->finishMessage();
    if (stream_->good()) {
      LineHandler* target = targetFor(header.id);
      if (target != nullptr && header.code >= 0 && header.code < target->codes_ &&
          target->handles(header.code)) {
        ReplyBody body(std::move(bytes), stream_->isBinary());
        target->handle(header, body);
      }
    }
  }
  if (!stream_->good()) {
    linked_ = false;
    streamFailed(socket);  // may end the owner: nothing of this is touched after it
    return -1;
  }
  return stream_->needsMoreInput() ? 0 : 1;
}

ReplyReceiver::ReplyReceiver(rpcstream* stream, KxConnection* owner)
    : LineHandler(stream, kMessageCodes), owner_(owner) {}

void ReplyReceiver::timerExpired(LONG, LONG) {
  if (owner_->error() != kx_error::kNotResponding) owner_->setError(kx_error::kTimedOut);
}

void ReplyReceiver::streamFailed(int) { owner_->connectionClosed(); }

bool ReplyReceiver::handles(int code) const { return hasReplyHandler(code); }

void ReplyReceiver::handle(const MessageHeader& header, ReplyBody& body) {
  if (header.code == kHelloCode) {
    owner_->helloReceived(header.id, body);
    return;
  }
  Reply* reply = owner_->takePending(header.id, header.code);
  if (reply == nullptr) return;  // late or unrequested: dropped
  parseReplyBody(header.code, owner_->replyContext(), body, *reply);
  owner_->fileArrived(reply);
}
