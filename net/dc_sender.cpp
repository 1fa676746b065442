#include "net/dc_sender.h"

#include <new>

#include "net/dispatcher.h"
#include "win/winsock.h"

namespace {
constexpr const char* kSourceName = "DCSENDER";
}  // namespace

DcSender::DcSender(int port, int bufferSize) {
  bufferSize_ = bufferSize > 0 && bufferSize <= kMaxBufferSize ? bufferSize : kBufferSize;
  buffer_.reset(new (std::nothrow) char[static_cast<size_t>(bufferSize_)]);
  listener_.reset(new (std::nothrow) rpcbuf(nullptr));
  if (!buffer_ || !listener_ || !listener_->listen(port) ||
      !Dispatcher::instance()->link(listener_->socket(), Dispatcher::kRead, this)) {
    // A listener the Dispatcher will not watch would never see the server.
    state_ = kListenFailed;
    closeListener();
  }
}

DcSender::~DcSender() {
  closeListener();
  closeConnection();
}

int DcSender::port() {
  if (!listener_) return -1;
  return listener_->port();
}

void DcSender::unlinkSocket(int socket) {
  if (socket < 0) return;
  Dispatcher* d = Dispatcher::existing();
  if (!d || socket >= Dispatcher::kTableSize) return;
  if (d->handlerFor(socket, Dispatcher::kRead) == this ||
      d->handlerFor(socket, Dispatcher::kWrite) == this ||
      d->handlerFor(socket, Dispatcher::kException) == this)
    d->unlink(socket);
}

void DcSender::closeListener() {
  if (!listener_) return;
  unlinkSocket(listener_->socket());
  listener_.reset();
}

void DcSender::closeConnection() {
  pending_ = nullptr;
  pendingLeft_ = 0;
  if (!connection_) return;
  if (connection_->valid()) unlinkSocket(connection_->socket());
  connection_.reset();
}

int DcSender::inputReady(int socket) {
  if (connection_) {
    if (!finished_) {
      state_ = kPeerClosed;
      finished_ = true;
    }
    // Closed at once: a connection that stays readable would be served
    // again on every pass while nothing more can be sent.
    closeConnection();
    return -1;
  }
  if (!listener_ || socket != listener_->socket())
    KorvexAssertFailed("DcSender::inputReady(): port_ nil or wrong file descriptor on accept",
                       kSourceName, __LINE__);
  int accepted = -1;
  if (!listener_->accept(accepted)) {
    state_ = kAcceptFailed;
  } else {
    connection_.reset(new (std::nothrow) CSocket(accepted));
    if (!connection_) {
      CSocket(accepted).Close();
      state_ = kAcceptFailed;
    } else {
      // Never block the window thread on a slow server: a write takes what
      // fits and the rest waits for the next turn.
      winsock::u_long on = 1;
      winsock::ioctlsocket(static_cast<winsock::SOCKET>(accepted), winsock::FIONBIO, &on);
      Dispatcher* d = Dispatcher::instance();
      if (d->link(accepted, Dispatcher::kWrite, this) && d->link(accepted, Dispatcher::kRead, this)) {
        state_ = kSending;
      } else {
        closeConnection();
        state_ = kAcceptFailed;
      }
    }
  }
  closeListener();
  return -1;
}

int DcSender::writeSome(const char* data, int length) {
  if (!connection_) return -1;
  const int n = connection_->Write(data, length);
  if (n >= 0) return n;
  // Nothing fits now: the next turn tries again.
  return winsock::WSAGetLastError() == winsock::WSAEWOULDBLOCK ? 0 : -1;
}

bool DcSender::flushPending() {
  while (pendingLeft_ > 0) {
    const int n = writeSome(pending_, pendingLeft_);
    if (n < 0 || n > pendingLeft_) return false;
    if (n == 0) return true;
    pending_ += n;
    pendingLeft_ -= n;
    written_ += n;
  }
  pending_ = nullptr;
  return true;
}

int DcSender::endWith(State state) {
  state_ = state;
  closeConnection();
  return -1;
}

int DcSender::outputReady(int) {
  if (headerPending_) {
    headerPending_ = false;
    if (!header_.isUnset()) {
      header_.writeString(headerBytes_);
      pending_ = headerBytes_.c_str();
      pendingLeft_ = headerBytes_.GetLength();
      return flushPending() ? 0 : endWith(kWriteFailed);
    }
  }
  if (finished_) {
    closeConnection();
    return -1;
  }
  if (pendingLeft_ > 0) return flushPending() ? 0 : endWith(kWriteFailed);
  if (state_ != kSending)
    KorvexAssertFailed("DcSender::outputReady(): invalid state_", kSourceName, __LINE__);

  const int n = fill();
  if (n < 0 || n > bufferSize_) return endWith(kFillFailed);
  if (n == 0) return endWith(kDone);
  pending_ = buffer_.get();
  pendingLeft_ = n;
  return flushPending() ? 0 : endWith(kWriteFailed);
}
