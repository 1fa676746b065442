#include "net/kx_connection.h"

#include <algorithm>

#include "framework/app_hooks.h"
#include "core/environ.h"
#include "net/dispatcher.h"
#include "net/lzw.h"
#include "net/reply_receiver.h"
#include "net/requests_echo.h"

namespace {

bool later(const TimeVal& a, const TimeVal& b) {
  return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_usec > b.tv_usec;
}

}  // namespace

KxConnection::KxConnection(const CString& user, const CString& password, const CString& host,
                           int port, bool binary, bool distributed, bool compress, int version) {
  stream_ = std::make_unique<rpcstream>();
  stream_->setVerbose(false);
  if (stream_->connect(host, port)) stream_->negotiateFormat(binary);
  open(user, password, distributed, compress, version);
}

KxConnection::KxConnection(std::unique_ptr<rpcstream> stream, const CString& user,
                           const CString& password, bool distributed, bool compress, int version)
    : stream_(std::move(stream)) {
  open(user, password, distributed, compress, version);
}

void KxConnection::open(const CString& user, const CString& password, bool distributed,
                        bool compress, int version) {
  version_ = version & kVersionMask;
  if (handshake(distributed, compress)) identify(user, password);
}

KxConnection::~KxConnection() {
  receiver_.reset();  // unlinks the socket
  buffer_.reset();
  pending_.clearAndDelete();
  arrived_.clearAndDelete();
  stream_.reset();
}

void KxConnection::connectionClosed() { error_ = kx_error::kNotResponding; }

void KxConnection::serverMessage() {
  CString message;
  if (!takeServerMessage(message)) return;
  CString reply;
  if (EchoReplyFor(message, reply)) sendEcho(reply);
}

void KxConnection::setError(int code) {
  if (error_ != kx_error::kNotResponding) error_ = code;
}

int KxConnection::socket() const { return stream_ ? stream_->rdbuf()->socket() : -1; }

// ---- Opening ---------------------------------------------------------------

bool KxConnection::handshake(bool distributed, bool compress) {
  bool value = false;
  distributed_ = Environ::getBool("KXDISTRIBUTED", value) ? value : distributed;
  compress_ = Environ::getBool("KXCOMPRESS", value) ? value : compress;
  error_ = 0;
  helloAnswered_ = false;
  awaitedId_ = 0;
  awaitedCode_ = kNoCode;
  if (!stream_ || !stream_->good()) {
    error_ = kx_error::kNotResponding;
    return false;
  }
  receiver_ = std::make_unique<ReplyReceiver>(stream_.get(), this);
  if (!receiver_->isLinked()) {  // nothing would ever read the answer
    error_ = kx_error::kNotResponding;
    return false;
  }
  buffer_ = std::make_unique<MessageBuffer>();
  buffer_->setBinary(stream_->isBinary());
  buffer_->setSwapped(stream_->isSwapped());

  Dispatcher::instance()->startTimer(kHandshakeSeconds, 0, receiver_.get());
  TimeVal deadline = Dispatcher::now();
  deadline.tv_sec += kHandshakeSeconds - 1;
  while (!helloAnswered_ && error_ == 0) {
    sendHello();
    bool served = Dispatcher::instance()->dispatch();
    // While the timer is queued a pass waits in select() until the answer
    // or the timer comes; one that comes back with neither, long before the
    // timer is due, was refused because a pass is running already (the
    // handshake was started from inside one). Waiting on could only spin.
    if (!served && !helloAnswered_ && error_ == 0 && later(deadline, Dispatcher::now())) {
      error_ = kx_error::kPriorRequest;
    }
  }
  if (error_ != kx_error::kTimedOut) Dispatcher::instance()->stopTimer(receiver_.get());
  return error_ == 0;
}

void KxConnection::sendHello() {
  DWORD word = static_cast<DWORD>(version_ & kVersionMask);
  if (distributed_) word |= kDistributedBit;
  if (compress_) word |= kCompressBit;
  sendMessage(word, kHelloCode, [](MessageBuffer&) {});
}

void KxConnection::identify(const CString& user, const CString& password) {
  CString name = user;
  CString secret = password;
  if (name.IsEmpty() && !Environ::getpw(name, secret)) {
    name.Empty();
    secret.Empty();
  }
  if (secret.IsEmpty()) secret = "XNIL";
  name = name + "@" + Environ::localHostAddress();
  identifyUser(name, secret, 1);
}

bool KxConnection::identifyUser(const CString& user, const CString& password, int flag) {
  CString secret = password;
  int sentFlag = flag;
  if (secret.IsEmpty()) {
    secret = AskPassword("Password:", 8);
    sentFlag = 0;
  }
  bool withClient = firstIdentificationPending_ && version_ >= 702;
  CString client = kClientName;
  if (version_ >= 712) client = client + "\n" + clientText_;
  auto reply = call(24, [&](MessageBuffer& m) {
    m.putInt(sentFlag);
    m.putString(user);
    m.putString(secret);
    if (withClient) m.putString(client);
  });
  if (!reply) return false;
  firstIdentificationPending_ = false;
  const CString& text = reply->firstText;
  userId_ = ObjectId(text);
  identificationText_ = text.GetLength() > 11 ? text.Mid(11) : CString();
  return reply->success;
}

// ---- Hello and server messages ---------------------------------------------

void KxConnection::helloReceived(DWORD versionWord, ReplyBody& body) {
  helloAnswered_ = true;
  HelloAnswer answer;
  bool wellFormed = parseHello(versionWord, body, answer);
  compress_ = answer.compress;
  if (answer.serverVersion < version_) version_ = answer.serverVersion;
  if (!wellFormed) return;
  if (answer.status != 0) {
    setError(answer.status);
    return;
  }
  switch (answer.kind) {
    case HelloAnswer::Kind::kServerString:
      serverString_ = answer.text;
      break;
    case HelloAnswer::Kind::kReorganization:
      setError(kx_error::kReorganization);
      break;
    case HelloAnswer::Kind::kMessage:
      serverMessageText_ = answer.text;
      serverMessageWaiting_ = true;
      serverMessage();
      break;
    case HelloAnswer::Kind::kNothing:
      break;
  }
}

bool KxConnection::takeServerMessage(CString& out) {
  if (!serverMessageWaiting_) return false;
  out = serverMessageText_;
  serverMessageWaiting_ = false;
  return true;
}

void KxConnection::sendEcho(const CString& text) {
  LONG seconds = 0;
  LONG microseconds = 0;
  Dispatcher::instance()->dispatch(seconds, microseconds);
  DWORD id = ++requestCounter_;
  sendMessage(id, kEchoCode, [&](MessageBuffer& m) {
    m.putInt(0);
    m.putString(text);
  });
}

ReplyContext KxConnection::replyContext() const {
  ReplyContext context;
  context.version = version_;
  context.compressed = compress_;
  context.expand = lzwExpandReplyBody;
  return context;
}

// ---- Sending and waiting ----------------------------------------------------

bool KxConnection::sendMessage(DWORD id, int code, const ArgWriter& args) {
  if (!stream_ || !buffer_) {
    setError(kx_error::kNotResponding);
    return false;
  }
  buffer_->start(static_cast<LONG>(id), code);
  args(*buffer_);
  bool sent = send(stream_.get(), *buffer_);
  if (sent) stream_->flush();
  // A request that did not go out whole will never be answered: waiting
  // for it could only hang.
  if (!sent || !stream_->good()) {
    error_ = kx_error::kNotResponding;
    return false;
  }
  return true;
}

std::unique_ptr<Reply> KxConnection::call(int code, const ArgWriter& args) {
  DWORD id = ++requestCounter_;
  if (registerRequest(id, code) == nullptr) return nullptr;
  if (!sendMessage(id, code, args)) {
    discardPending(id, code);
    return nullptr;
  }
  return waitReply(id, code);
}

RequestTicket KxConnection::start(int code, const ArgWriter& args) {
  RequestTicket ticket;
  ticket.code = code;
  ticket.id = ++requestCounter_;
  if (registerRequest(ticket.id, code) == nullptr) {
    ticket.refused = true;
    return ticket;
  }
  if (!sendMessage(ticket.id, code, args)) {
    discardPending(ticket.id, code);
    ticket.refused = true;
    return ticket;
  }
  ticket.sent = true;
  return ticket;
}

Reply* KxConnection::findIn(const List& list, DWORD id, int code) const {
  for (ListElement* e = list.first(); e != nullptr; e = e->next()) {
    auto* r = static_cast<Reply*>(e);
    if (r->code == code && r->id == id) return r;
  }
  return nullptr;
}

Reply* KxConnection::registerRequest(DWORD id, int code) {
  if (awaitedCode_ != kNoCode) {
    setError(kx_error::kPriorRequest);
    return nullptr;
  }
  id = matchId(id);
  if (version_ < 705 && (findIn(pending_, 0, code) != nullptr || findIn(arrived_, 0, code) != nullptr)) {
    setError(kx_error::kPriorRequest);
    return nullptr;
  }
  auto* reply = new Reply(id, code);
  pending_.append(reply);
  return reply;
}

Reply* KxConnection::takePending(DWORD id, int code) {
  id = matchId(id);
  // Before 705 replies carry no id: the first reply of a code whose request
  // was broken off is that request's late answer, not the next one's.
  if (version_ < 705) {
    auto late = std::find(abandoned_.begin(), abandoned_.end(), std::make_pair(id, code));
    if (late != abandoned_.end()) {
      abandoned_.erase(late);
      return nullptr;
    }
  }
  Reply* reply = findIn(pending_, id, code);
  if (reply != nullptr) pending_.unlink(reply);
  return reply;
}

void KxConnection::fileArrived(Reply* reply) { arrived_.append(reply); }

std::unique_ptr<Reply> KxConnection::takeArrived(DWORD id, int code) {
  Reply* reply = findIn(arrived_, id, code);
  if (reply == nullptr) return nullptr;
  arrived_.unlink(reply);
  return std::unique_ptr<Reply>(reply);
}

void KxConnection::discardPending(DWORD id, int code) {
  Reply* pending = findIn(pending_, matchId(id), code);
  if (pending == nullptr) return;
  pending_.unlink(pending);
  delete pending;
}

void KxConnection::abandon(DWORD id, int code) {
  Reply* pending = findIn(pending_, id, code);
  if (pending == nullptr) return;  // nothing outstanding: nothing will come late
  pending_.unlink(pending);
  delete pending;
  if (version_ >= 705) return;  // a late reply finds no pending id and is dropped
  if (abandoned_.size() >= kMaxAbandoned) abandoned_.erase(abandoned_.begin());
  abandoned_.emplace_back(id, code);
}

std::unique_ptr<Reply> KxConnection::waitReply(DWORD id, int code) {
  id = matchId(id);
  if (awaitedCode_ != kNoCode) {  // a wait from inside a wait
    if (auto reply = takeArrived(id, code)) {
      setError(reply->status);
      return reply;
    }
    auto reply = std::make_unique<Reply>(id, code);
    abandon(id, code);
    setError(kx_error::kPriorRequest);
    return reply;
  }

  // A reorganization or user-limit error ends the wait it arrives in; one
  // left over from an earlier request must not end this one before it
  // starts.
  if (error_ == kx_error::kReorganization || error_ == kx_error::kUserLimit) error_ = 0;
  // The dispatcher may have been ended and made anew since the last wait.
  if (receiver_ && error_ != kx_error::kNotResponding) receiver_->relink();
  awaitedId_ = id;
  awaitedCode_ = code;
  std::unique_ptr<Reply> reply;
  for (;;) {
    Dispatcher::instance()->dispatch();
    if ((reply = takeArrived(id, code))) break;
    if (PollMessages()) {
      SetAbortFlag();  // outer waits see the break too
      reply = std::make_unique<Reply>(id, code);
      reply->status = kx_error::kUserBreak;
      abandon(id, code);
      break;
    }
    if (error_ != kx_error::kNotResponding && error_ != kx_error::kUserBreak)
      Dispatcher::instance()->dispatch();
    if (error_ == kx_error::kNotResponding || error_ == kx_error::kReorganization ||
        error_ == kx_error::kUserLimit) {
      if ((reply = takeArrived(id, code))) break;  // it came with the end
      reply = std::make_unique<Reply>(id, code);
      reply->status = error_;
      abandon(id, code);
      break;
    }
  }
  awaitedId_ = 0;
  awaitedCode_ = kNoCode;
  setError(reply->status);
  return reply;
}

bool KxConnection::needsVersion(int minimum) {
  if (version_ >= minimum) return true;
  setError(kx_error::kWrongVersion);
  return false;
}
