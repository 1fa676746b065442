// The client side of one control connection to a Korvex server. It opens
// the stream, agrees the form, says hello with its protocol version and
// option bits, identifies the user, and then turns each request operation
// into one request message and a synchronous wait for the reply with the
// same id and code. Replies are read by the ReplyReceiver, which files each
// under its id and code; the waiting operation picks it up.
//
// One request at a time: a request started while another waits (from a
// window message handled inside the wait) is refused with error 15. The
// connection keeps the error code of the last failure (texts in
// error_texts.h); 7, the closed connection, is never overwritten.
#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "core/id_array.h"
#include "core/list.h"
#include "core/object_id.h"
#include "mfc/cstring.h"
#include "net/hint_cache.h"
#include "net/message_buffer.h"
#include "net/reply.h"
#include "net/reply_handlers.h"
#include "net/rpcstream.h"
#include "win/types.h"

class ReplyReceiver;

// Error codes the connection sets itself.
namespace kx_error {
constexpr int kNoCollections = 6;      // empty id array for request 35
constexpr int kNotResponding = 7;      // closed, or unusable at open
constexpr int kPriorRequest = 15;      // another request waits, or a duplicate
constexpr int kTimedOut = 16;          // the handshake got no answer
constexpr int kSyntax = 23;            // empty query for requests 34, 35
constexpr int kWrongVersion = 26;      // the server is too old for the request
constexpr int kUserBreak = 36;
constexpr int kReorganization = 40;
constexpr int kUserLimit = 41;
}  // namespace kx_error

// A record of request 11 with the id it belongs to.
struct IdRecord {
  ObjectId id;
  CString record;
};

// The first half of a two-part request (codes 10 and 35).
struct RequestTicket {
  DWORD id = 0;
  int code = kNoCode;
  bool sent = false;     // a request went out and is waited for by finish...
  bool refused = false;  // nothing went out because the request failed
};

class KxConnection {
 public:
  static constexpr int kClientVersion = 717;
  static constexpr LONG kHandshakeSeconds = 20;
  static constexpr const char* kClientName = "Tolm";
  // Broken requests whose late replies are still expected (servers before
  // 705); older entries are forgotten past this many.
  static constexpr size_t kMaxAbandoned = 64;

  // Connects to host and port, negotiates the form (binary when asked),
  // takes `version` as the client's protocol version, says hello and, when
  // that succeeded, identifies `user`. error() tells how it went.
  KxConnection(const CString& user, const CString& password, const CString& host, int port,
               bool binary, bool distributed, bool compress, int version = kClientVersion);
  // The same over a stream that is already connected and negotiated.
  KxConnection(std::unique_ptr<rpcstream> stream, const CString& user, const CString& password,
               bool distributed, bool compress, int version = kClientVersion);
  KxConnection(const KxConnection&) = delete;
  KxConnection& operator=(const KxConnection&) = delete;
  // No logout is sent.
  virtual ~KxConnection();

  // Called when the server sent a message of its own (the text waits in
  // takeServerMessage). Here: an "ECHO_REQUEST" is answered with request
  // 26, anything else is dropped.
  virtual void serverMessage();
  // Called once when the server closed the connection: error 7.
  virtual void connectionClosed();

  // ---- Opening ----
  bool handshake(bool distributed, bool compress);
  void identify(const CString& user, const CString& password);

  // ---- State ----
  int error() const { return error_; }
  // Sets the error, except over 7 (the closed connection stays told).
  void setError(int code);
  int version() const { return version_; }
  bool compress() const { return compress_; }
  bool distributed() const { return distributed_; }
  bool helloAnswered() const { return helloAnswered_; }
  const CString& serverString() const { return serverString_; }
  const CString& identificationText() const { return identificationText_; }
  ObjectId userId() const { return userId_; }
  const CString& clientText() const { return clientText_; }
  void setClientText(const CString& text) { clientText_ = text; }
  rpcstream* stream() const { return stream_.get(); }
  // The control connection's socket; -1 when there is none.
  int socket() const;
  HintCache& hintCache() { return hintCache_; }
  // Requests sent so far (the id of the last one).
  DWORD lastRequestId() const { return requestCounter_; }
  bool waiting() const { return awaitedCode_ != kNoCode; }

  bool takeServerMessage(CString& out);
  // The reply to the server's echo request: request 26, not waited for.
  void sendEcho(const CString& text);

  // ---- Matching requests and replies ----
  Reply* registerRequest(DWORD id, int code);
  // Always a reply; one that did not come has success false.
  std::unique_ptr<Reply> waitReply(DWORD id, int code);
  // For the reply handlers: the pending reply of this id and code, now
  // theirs to fill and file; null when none waits (the reply is dropped).
  Reply* takePending(DWORD id, int code);
  void fileArrived(Reply* reply);
  // What the receiver calls for a code-25 message.
  void helloReceived(DWORD versionWord, ReplyBody& body);
  // How the receiver reads reply bodies now.
  ReplyContext replyContext() const;
  int pendingCount() const { return static_cast<int>(pending_.count()); }
  int arrivedCount() const { return static_cast<int>(arrived_.count()); }

  // ---- The request catalogue (code in brackets) ----
  bool getAnchorDestination(ObjectId anchor, LONG& destination);       // 2
  bool getDocumentMembers(ObjectId collection, IdArray& out);          // 3
  bool getParents(ObjectId object, IdArray& out);                      // 4
  bool getCollectionMembers(ObjectId collection, IdArray& out);        // 5
  bool getAnchorParents(ObjectId anchor, IdArray& out);                // 6
  bool getRecord(ObjectId object, CString& record);                    // 7
  bool getAnchors(ObjectId document, IdArray& out);                    // 8
  bool query(const CString& query, IdArray& out);                      // 9
  RequestTicket startQueryWithin(const IdArray& collections, const CString& query);  // 10
  bool finishQueryWithin(const RequestTicket& ticket, IdArray& out);
  bool queryWithin(const IdArray& collections, const CString& query, IdArray& out);
  bool getRecords(int flag, const IdArray& ids, const CString& query,
                  std::vector<IdRecord>& out);                         // 11
  bool insertDocument(ObjectId parent, const CString& record, const CString& extra,
                      LONG& newId);                                    // 14
  bool insertAnchor(ObjectId parent, const CString& record, LONG& newId);  // 15
  bool linkAnchor(ObjectId anchor, ObjectId destination, const CString& linkRecord,
                  LONG& linkId);                                       // 16
  bool insertCollection(ObjectId parent, const CString& record, LONG& newId);  // 17
  bool getAnchorLink(ObjectId anchor, LONG& first, LONG& second);      // 18
  bool getLinks(ObjectId object, IdArray& out);                        // 19
  bool changeMembership(LONG flag, ObjectId from, ObjectId to, const IdArray& ids);  // 22
  bool changeCollectionMembership(LONG flag, ObjectId from, ObjectId to,
                                  const IdArray& ids);                 // 23
  bool identifyUser(const CString& user, const CString& password, int flag);  // 24
  bool modifyObject(ObjectId object, const CString& modification);     // 27
  bool lockObject(ObjectId object, CString& record);                   // 29
  void unlockObject(ObjectId object);                                  // 30
  bool insertSourceAnchor(const CString& anchorRecord, const CString& placement,
                          LONG& newId);                                // 32
  bool fullTextSearch(const CString& query, FeatureVector& out);       // 34
  RequestTicket startFullTextWithin(const IdArray& collections, const CString& query);  // 35
  bool finishFullTextWithin(const RequestTicket& ticket, FeatureVector& out);
  bool fullTextWithin(const IdArray& collections, const CString& query, FeatureVector& out);
  bool requestContent(ObjectId object, int dataPort, const CString& ownAddress,
                      const CString& reference);                       // 36
  bool deleteObject(ObjectId object);                                  // 37
  bool uploadContent(ObjectId object, int dataPort, const CString& ownAddress,
                     const CString& path);                             // 38
  bool getRemoteMembers(const CString& record, const CString& text,
                        std::vector<CString>& out);                    // 40
  bool requestRemoteContent(const CString& ownAddress, int dataPort, const CString& record,
                            const CString& text, LONG flag);           // 41
  // The local object of a global id; 0 when there is none (or the server
  // is too old). The reply's integer is taken even from a failed reply.
  LONG findGlobalObject(LONG serverAddress, LONG objectId);            // 43
  bool getMembers(ObjectId collection, IdArray& out);                  // 44
  bool requestCgiContent(const CString& ownAddress, int dataPort, const CString& record,
                         const CString& text, LONG flag);              // 46

  // ---- Operations over several requests ----
  ObjectId findCollectionByName(const CString& name);
  bool isCollection(ObjectId id);
  ObjectId resolveGlobalId(const CString& text);
  bool createAnchor(ObjectId parent, const CString& author, const CString& rights,
                    const CString& expires, const CString& opens, const CString& created,
                    const CString& title, const CString& keyword, const CString& position,
                    LONG& newId);
  bool linkToDestination(const CString& anchorRecord, ObjectId document, ObjectId destination,
                         LONG& newId);
  bool linkToHint(const CString& anchorRecord, ObjectId document, const CString& hint,
                  LONG& newId);
  int resolveHint(const CString& hint, IdArray& ids);
  bool requestReference(const CString& ownAddress, int dataPort, ObjectId object,
                        LONG referenceNumber);

 protected:
  using ArgWriter = std::function<void(MessageBuffer&)>;

  // One request: register, send, wait. Null when it was refused or could
  // not be sent (error() tells); else the reply, whose success is the
  // answer.
  std::unique_ptr<Reply> call(int code, const ArgWriter& args);
  // Sends one message and flushes; false (error 7) when the stream failed.
  bool sendMessage(DWORD id, int code, const ArgWriter& args);
  // Registers and sends the first half of a two-part request.
  RequestTicket start(int code, const ArgWriter& args);
  // Refuses a request the server is too old for: error 26, except over 7.
  bool needsVersion(int minimum);
  // A request with one object id whose reply is an id array; `order`, when
  // given, receives the ids as the reply listed them.
  bool requestIds(int code, ObjectId object, IdArray& out, std::vector<LONG>* order = nullptr);
  // Request 7 as it stands, without completing anchor records.
  bool fetchRecord(ObjectId object, CString& record);
  // Request 9 with the ids in the reply's order too.
  bool queryOrdered(const CString& query, IdArray& out, std::vector<LONG>* order);
  // Anchor records of servers before version 7 (requests 7, 11 and 29)
  // lack their "TAnchor=" line; false when it could not be completed.
  bool rewriteAnchor(ObjectId anchor, CString& record);
  // Forgets the pending reply of a wait that ended without it; its late
  // reply is dropped when it comes.
  void abandon(DWORD id, int code);
  // Drops the pending reply of a request that never went out.
  void discardPending(DWORD id, int code);
  DWORD matchId(DWORD id) const { return version_ < 705 ? 0 : id; }

 private:
  void open(const CString& user, const CString& password, bool distributed, bool compress,
            int version);
  void sendHello();
  std::unique_ptr<Reply> takeArrived(DWORD id, int code);
  Reply* findIn(const List& list, DWORD id, int code) const;

  std::unique_ptr<rpcstream> stream_;
  int error_ = 0;
  std::unique_ptr<ReplyReceiver> receiver_;
  DWORD awaitedId_ = 0;
  int awaitedCode_ = kNoCode;
  CString identificationText_;
  ObjectId userId_;
  CString serverString_;
  CString clientText_;
  CString serverMessageText_;
  bool helloAnswered_ = false;
  bool serverMessageWaiting_ = false;
  int version_ = kClientVersion;
  bool distributed_ = false;
  bool compress_ = false;
  bool firstIdentificationPending_ = true;
  DWORD requestCounter_ = 0;
  std::unique_ptr<MessageBuffer> buffer_;
  List pending_;
  List arrived_;
  std::vector<std::pair<DWORD, int>> abandoned_;
  HintCache hintCache_;
};
