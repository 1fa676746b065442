// Document content over a data connection: the session listens on a port
// of its own, asks the server (on the control connection) to connect to
// it, and reads the body behind the KXHDR header from the connection the
// server opened.
//
// Every wait here is bounded and serves the dispatcher, so the control
// connection and the window stay alive and the user can break it: the
// wait for the server's connection (AcceptWaitMs) and each wait for the
// next bytes (ReadWaitMs).
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "core/attr_record.h"
#include "core/document.h"
#include "core/document_kinds.h"
#include "core/environ.h"
#include "core/logbook.h"
#include "core/message_boxes.h"
#include "core/message_pump.h"
#include "net/dispatcher.h"
#include "net/error_texts.h"
#include "net/kx_session.h"
#include "net/listening_endpoint.h"
#include "win/kernel.h"
#include "win/winsock.h"

namespace {

constexpr const char* kQueryKey = "CGI_QUERY_STRING=";
constexpr const char* kMethodKey = "CGI_REQUEST_METHOD=";

// Listens for the one connection the server opens for a content request.
class DataEndpoint : public ListeningEndpoint {
 public:
  DataEndpoint() : ListeningEndpoint(0) {}
  void connectionAccepted(int socket) override {
    if (!accepted) {
      accepted = std::make_unique<CSocket>(socket);
      return;
    }
    CSocket extra(socket);  // one connection per request: a second is closed
    extra.Close();
  }
  std::unique_ptr<CSocket> accepted;
};

// Inside a pass of the dispatcher (a callback that reads content) the
// control connection cannot be served while the data waits: the wait then
// looks at the data socket this often at least.
constexpr long long kReadSliceMs = 10;
// The most reads of a data connection in a row that take bytes already
// there without a wait, in which the dispatcher serves the rest.
constexpr int kReadsWithoutWait = 16;

long long NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

enum class WaitEnd { kReady, kBroken, kTimedOut };

// Whether the message step found the user's break (set again for the outer
// waits).
bool BrokenByUser() {
  if (!PollMessages()) return false;
  SetAbortFlag();
  return true;
}

// One round of a wait: the dispatcher is served (the control connection,
// the endpoint) and the window gets one message step. True when the user
// broke the wait; the flag is set again so that outer waits see it too.
bool ServeAndPoll() {
  LONG seconds = 0;
  LONG microseconds = 0;
  Dispatcher::instance()->dispatch(seconds, microseconds);
  return BrokenByUser();
}

// Notes that the data socket became readable.
class ReadableFlag : public IOHandler {
 public:
  int inputReady(int) override {
    ready = true;
    return 0;
  }
  bool ready = false;
};

// Waits in slices on the data socket alone, serving the dispatcher between
// them: for a wait inside a pass, where the dispatcher cannot wait.
WaitEnd WaitReadableInSlices(int socket, long long deadline) {
  for (;;) {
    // The data socket, the display and the window timers wake this wait
    // at once; the slice bounds how late the control connection is served
    // while the data waits.
    const long long left = deadline - NowMs();
    const DWORD slice = static_cast<DWORD>(left < kReadSliceMs ? (left > 0 ? left : 0) : kReadSliceMs);
    winsock::fd_set set{};
    winsock::FdSetAdd(static_cast<winsock::SOCKET>(socket), &set);
    const int ready = WaitForSocketsOrMessages(&set, nullptr, nullptr, slice);
    if (ready != 0) return WaitEnd::kReady;  // readable, or an error the read will tell
    if (ServeAndPoll()) return WaitEnd::kBroken;
    if (NowMs() >= deadline) return WaitEnd::kTimedOut;
  }
}

// Waits until `socket` can be read (data, or the end of the stream). The
// data socket waits beside the dispatcher's own, so the wait sleeps until
// the data, the control connection, the display or a timer wakes it.
WaitEnd WaitReadable(int socket, int limitMs) {
  const long long deadline = NowMs() + limitMs;
  Dispatcher* dispatcher = Dispatcher::instance();
  ReadableFlag flag;
  if (Dispatcher::passRunning() || dispatcher->handlerFor(socket, Dispatcher::kRead) ||
      !dispatcher->link(socket, Dispatcher::kRead, &flag))
    return WaitReadableInSlices(socket, deadline);
  WaitEnd end = WaitEnd::kReady;
  while (!flag.ready) {
    // A pass may have ended the dispatcher, and the link with it.
    Dispatcher* d = Dispatcher::existing();
    if (!d || d->handlerFor(socket, Dispatcher::kRead) != &flag) return WaitReadableInSlices(socket, deadline);
    const long long left = deadline - NowMs();
    d->dispatchWithin(static_cast<DWORD>(left > 0 ? left : 0));
    if (flag.ready) break;
    if (BrokenByUser()) {
      end = WaitEnd::kBroken;
      break;
    }
    if (NowMs() >= deadline) {
      end = WaitEnd::kTimedOut;
      break;
    }
  }
  if (Dispatcher* d = Dispatcher::existing(); d && d->handlerFor(socket, Dispatcher::kRead) == &flag)
    d->unlink(socket);
  return end;
}

// Takes what the non-blocking data socket holds: the count (0 at the end
// of the stream), or -1 with the entry's socketError set; WSAEWOULDBLOCK
// when nothing is there.
int TakeWhatCame(KxContentEntry& entry, char* buffer, int length) {
  const int n = entry.socket->ReadNow(buffer, length);
  if (n < 0) entry.socketError = winsock::WSAGetLastError();
  return n;
}

// While a body of known size streams in, a wait for bytes asks the system
// to wake it only once a batch has come (or the stream has ended): one
// wake-up and one read per batch rather than per piece the server wrote.
// The batch stays a small part of the receive buffer, so the server's
// window never closes on it.
constexpr int kBatchBytes = 32 * 1024;
// A batch that has not come within this long shows a slow stream: from then
// on every wait ends with the first bytes, so a trickle is not held back.
constexpr int kBatchWaitMs = 10;

// Sets the socket's receive low-water mark; false when the system refused.
bool SetLowWater(KxContentEntry& entry, int mark) {
  if (mark == entry.lowWater) return true;
  const auto s = static_cast<winsock::SOCKET>(entry.socket->socket());
  if (winsock::setsockopt(s, winsock::SOL_SOCKET, winsock::SO_RCVLOWAT,
                          reinterpret_cast<const char*>(&mark), sizeof mark) != 0)
    return false;
  entry.lowWater = mark;
  return true;
}

// The mark for the wait of a read that asks `length` bytes: a batch while a
// body of known size streams in, 1 otherwise. The reader never asks past
// the announced size, so a mark within `length` is always reached, by the
// body's last bytes at the latest, even when the server keeps the
// connection open after them.
int BatchFor(KxContentEntry& entry, int length) {
  if (entry.slowStream || !entry.reader || !entry.reader->sawHeader() ||
      entry.reader->announcedSize() < 0)
    return 1;
  if (entry.receiveBuffer == 0) {
    int size = 0;
    int sizeLength = sizeof size;
    if (winsock::getsockopt(static_cast<winsock::SOCKET>(entry.socket->socket()),
                            winsock::SOL_SOCKET, winsock::SO_RCVBUF,
                            reinterpret_cast<char*>(&size), &sizeLength) != 0 || size <= 0)
      size = -1;
    entry.receiveBuffer = size;
  }
  if (entry.receiveBuffer < 0) return 1;
  int mark = kBatchBytes;
  if (mark > entry.receiveBuffer / 4) mark = entry.receiveBuffer / 4;
  if (mark > length) mark = length;
  return mark > 1 ? mark : 1;
}

// Waits for the next bytes of the body: for a batch first, then, once a
// batch is late, for whatever comes (the stream is slow).
WaitEnd WaitForBody(KxContentEntry& entry, int length) {
  const int mark = BatchFor(entry, length);
  if (mark > 1 && SetLowWater(entry, mark)) {
    const WaitEnd end = WaitReadable(entry.socket->socket(), kBatchWaitMs);
    if (end != WaitEnd::kTimedOut) return end;
    entry.slowStream = true;
  } else if (mark > 1) {
    entry.slowStream = true;  // the system has no such mark
  }
  // Should the system refuse to take the mark back, the one left was set
  // for this read, within the body still to come: the wait still ends.
  SetLowWater(entry, 1);
  return WaitReadable(entry.socket->socket(), KxSession::ReadWaitMs());
}

// Reads up to `length` body bytes off the data connection (the reader's
// source): the count, 0 at the end of the stream, -1 on failure with the
// entry's flags and socketError telling why.
int ReadBody(KxContentEntry& entry, char* buffer, int length) {
  // Bytes that have come already are taken at once (the window still gets
  // its message step); the wait, in which the dispatcher serves the
  // control connection and the timers, comes when none are there, after a
  // read that emptied the socket, and at least every kReadsWithoutWait
  // reads.
  const bool nonBlocking = entry.readsWithoutWait >= 0;
  if (nonBlocking && !entry.drained && entry.readsWithoutWait < kReadsWithoutWait) {
    const int n = TakeWhatCame(entry, buffer, length);
    if (n >= 0) {
      ++entry.readsWithoutWait;
      entry.drained = n < length;
      return n;
    }
    if (entry.socketError != winsock::WSAEWOULDBLOCK) return -1;
    entry.socketError = 0;
  }
  entry.drained = false;
  if (entry.readsWithoutWait > 0) entry.readsWithoutWait = 0;
  for (;;) {
    switch (nonBlocking ? WaitForBody(entry, length)
                        : WaitReadable(entry.socket->socket(), KxSession::ReadWaitMs())) {
      case WaitEnd::kBroken:
        entry.broken = true;
        return -1;
      case WaitEnd::kTimedOut:
        entry.timedOut = true;
        return -1;
      case WaitEnd::kReady:
        break;
    }
    // A non-blocking socket found readable is read at once; a blocking one
    // waits as a read does, the wait having perhaps ended on an error.
    const int n = nonBlocking ? TakeWhatCame(entry, buffer, length) : entry.socket->Read(buffer, length);
    if (n >= 0) {
      entry.drained = n < length;
      return n;
    }
    if (!nonBlocking) entry.socketError = winsock::WSAGetLastError();
    // A non-blocking socket woken with nothing to take waits again.
    if (entry.socketError != winsock::WSAEWOULDBLOCK) return -1;
    entry.socketError = 0;
  }
}

// Waits until the endpoint has accepted the server's connection.
WaitEnd WaitAccepted(DataEndpoint& endpoint, int limitMs) {
  const long long deadline = NowMs() + limitMs;
  while (!endpoint.accepted) {
    const long long left = deadline - NowMs();
    const bool served =
        Dispatcher::instance()->dispatchWithin(static_cast<DWORD>(left > 0 ? left : 0));
    if (endpoint.accepted) break;
    if (PollMessages()) {
      SetAbortFlag();
      return WaitEnd::kBroken;
    }
    if (NowMs() >= deadline) return WaitEnd::kTimedOut;
    // A pass refused (we are inside one) has not slept: do it here.
    if (!served) Sleep(1);
  }
  return WaitEnd::kReady;
}

// The start of a line with this key in the record, or -1.
int FindLineKey(const CString& record, const char* key) {
  if (record.view().substr(0, std::char_traits<char>::length(key)) == key) return 0;
  const int at = record.Find(("\n" + CString(key)).c_str());
  return at < 0 ? -1 : at + 1;
}

void LogTransfer(const char* what, const KXObject& object) {
  CString line;
  line.Format("Content of 0x%08x: %s", static_cast<unsigned>(object.getObjectId()), what);
  TheLogbook().Write(line.c_str());
}

}  // namespace

KxContentEntry::KxContentEntry() = default;

KxContentEntry::~KxContentEntry() {
  reader.reset();
  if (socket) socket->Close();
}

CString KxSession::ChooseOwnAddress(const CString& local,
                                    const std::function<CString()>& hostAddress) {
  if (!local.IsEmpty() && local != "0.0.0.0" && local != "127.0.0.1") return local;
  const CString byName = hostAddress();
  if (!byName.IsEmpty()) return byName;
  // A server reached over the loopback is on this machine: it can connect
  // back there even when this host's name has no address.
  if (local == "127.0.0.1") return local;
  return CString();
}

CString KxSession::ownAddress() const {
  // The local end of the control connection stays as it is while the
  // session lives, and a lookup of the host's name reads the hosts file:
  // found once, kept for every later transfer. None found is asked again.
  if (!ownAddress_.IsEmpty()) return ownAddress_;
  CString local;
  if (connection_ && connection_->socket() >= 0) {
    winsock::sockaddr_in a{};
    int length = sizeof a;
    if (winsock::getsockname(static_cast<winsock::SOCKET>(connection_->socket()),
                             reinterpret_cast<winsock::sockaddr*>(&a), &length) == 0) {
      local = winsock::inet_ntoa(a.sin_addr);
    }
  }
  ownAddress_ = ChooseOwnAddress(local, [] {
    CString byName;
    if (!Environ::hostAddress(Environ::hostName().c_str(), byName)) byName.Empty();
    return byName;
  });
  return ownAddress_;
}

void KxSession::reportRefusal() {
  const int code = connection_->error();
  if (code == kx_error::kUserBreak) {
    ShowInfoId(kStrInterrupted);
    return;
  }
  ShowErrorText(("Error: " + ::errorText(code)).c_str());
}

bool KxSession::sendContentRequest(KXObject& object, const CString& text, const CString& address,
                                   int dataPort) {
  const bool isDocument = object.getType() == kxdoc::kTypeName;
  const CString documentType = object.getAttribute(kxdoc::kDocumentTypeKey);

  if (isDocument && documentType == kxdoc::kRemote) {
    CString record = object.getRecord();
    CString body = text;
    const CString method = AttrRecord(record).getAttribute(kMethodKey);
    if (!method.IsEmpty()) {
      // The query is the rest of the record after its key, less one final
      // line feed; it becomes the body.
      const int at = FindLineKey(record, kQueryKey);
      CString query;
      if (at >= 0) {
        query = record.Mid(at + static_cast<int>(std::char_traits<char>::length(kQueryKey)));
        if (query.Right(1) == "\n") query = query.Left(query.GetLength() - 1);
      }
      body = query;
      if (at >= 0 && method == "POST") {
        record = record.Left(at);  // the key and the query go
      } else if (at >= 0) {
        const int pathAt = FindLineKey(record, kxdoc::kPathKey);
        if (pathAt >= 0) {
          const int nl = record.Find('\n', pathAt);
          const int end = nl < 0 ? record.GetLength() : nl;
          record = record.Left(end) + "?" + query + record.Mid(end);
        }
      }
    }
    return connection_->requestRemoteContent(address, dataPort, record, body, 1);
  }

  if (isDocument && documentType == kxdoc::kCGI) {
    CString record = object.getRecord();
    CString method;
    CString queryString;
    if (auto* cgi = dynamic_cast<CGIDocument*>(&object)) {
      method = cgi->getRequestMethod();
      queryString = cgi->getQueryString();
    }
    CString body;
    if (method.IsEmpty() || method == "GET") {
      record += "\nCGI_REQUEST_METHOD=GET\nCGI_QUERY_STRING=" + queryString;
    } else {
      record += "\nCGI_REQUEST_METHOD=POST\n";
      body = queryString;
    }
    return connection_->requestCgiContent(address, dataPort, record, body, 1);
  }

  return connection_->requestReference(address, dataPort, ObjectId(object.getObjectId()), 1);
}

StoreEntry* KxSession::openContent(const Ref<KXObject>& object, const CString& text) {
  if (!object) return nullptr;
  const CString address = ownAddress();
  if (address.IsEmpty()) {
    ShowMessageId(kStrNoOwnAddress);
    return nullptr;
  }
  auto endpoint = std::make_unique<DataEndpoint>();
  if (endpoint->port() == 0) {
    LogTransfer("no port to listen on", *object);
    return nullptr;
  }
  if (!sendContentRequest(*object, text, address, endpoint->port())) {
    reportRefusal();
    return nullptr;
  }
  // As a rule the server connects before it answers, and the endpoint
  // accepted while the answer was awaited; otherwise wait for it.
  const WaitEnd end = WaitAccepted(*endpoint, AcceptWaitMs());
  std::unique_ptr<CSocket> socket = std::move(endpoint->accepted);
  endpoint.reset();  // the listening socket goes at once, accepted or not
  if (end == WaitEnd::kBroken) {
    ShowInfoId(kStrInterrupted);
    return nullptr;
  }
  if (!socket) {
    LogTransfer("the server did not connect", *object);
    return nullptr;
  }

  auto entry = std::make_unique<KxContentEntry>();
  entry->kind = kRequestRead;
  entry->scheme = kServerScheme;
  entry->object = object;
  entry->socket = std::move(socket);
  KxContentEntry* raw = entry.get();
  winsock::u_long nonBlocking = 1;
  if (winsock::ioctlsocket(static_cast<winsock::SOCKET>(entry->socket->socket()), winsock::FIONBIO,
                           &nonBlocking) == 0)
    entry->readsWithoutWait = 0;
  entry->reader = std::make_unique<KxBodyReader>(
      [raw](char* buffer, int length) { return ReadBody(*raw, buffer, length); });
  return entry.release();
}

std::int32_t KxSession::readRequest(StoreEntry* entry, char* buffer, std::int32_t size) {
  auto* content = dynamic_cast<KxContentEntry*>(entry);
  if (content == nullptr || !content->reader || buffer == nullptr || size < 0) return -1;
  if (content->failed) return -1;
  const int n = content->reader->read(buffer, size);
  if (content->reader->sawHeader()) content->announcedSize = content->reader->announcedSize();
  if (n >= 0) {
    content->delivered += n;
    return n;
  }

  // Told once; every later read fails quietly.
  content->failed = true;
  const KXObject* object = content->object.get();
  if (object) LogTransfer(content->broken     ? "interrupted by the user"
                          : content->timedOut ? "the server sent nothing in time"
                                              : content->reader->failureText(),
                          *object);
  if (content->broken) {
    ShowInfoId(kStrInterrupted);
    return -1;
  }
  if (content->socketError != 0) ShowErrorNumber("Socket error:", content->socketError);
  ShowMessageId(kStrSocketRead);
  return -1;
}
