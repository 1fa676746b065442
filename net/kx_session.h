// The server session: the Store that talks to a remote Korvex server over
// one control connection. It turns each Store operation into requests on
// that connection: records by name, id or URL (kx_session_records.cpp),
// changes to objects (kx_session_changes.cpp), hit lists and searches
// (kx_session_requests.cpp), document content over data connections that
// the server opens back to the client (kx_session_content.cpp), and the
// server's own messages (kx_session_listener.cpp). Creating the session,
// the login and the password change are in kx_session.cpp.
//
// A session is reference counted like every Store: hold it in a Ref from
// the moment it is made (operations hand Ref(this) to the objects they
// build). After construction getError() tells whether it is usable.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/id_array.h"
#include "core/store.h"
#include "mfc/cstring.h"
#include "net/csocket.h"
#include "net/feature_vector.h"
#include "net/kx_body_reader.h"
#include "net/kx_connection.h"

class KxSession;

// The control connection of a session, with its two hooks: a message of the
// server's own, and the loss of the connection.
class SessionConnection : public KxConnection {
 public:
  SessionConnection(const CString& user, const CString& password, const CString& host, int port,
                    bool binary, bool distributed, bool compress, int version);
  ~SessionConnection() override;

  // An "ECHO_REQUEST" is answered on this connection, the one it came on;
  // every other message ("MSG ", "DATA " of another kind) is dropped.
  void serverMessage() override;
  // The closing notice, then the fatal-error end of the program.
  void connectionClosed() override;
};

// ---- Request handles -------------------------------------------------------

// A read transfer (kind 0): the data connection the server opened back to
// the client. `delivered` counts body bytes handed out, `announcedSize` is
// the header's "sz" once the header has been read (-1 before or unknown).
class KxContentEntry : public StoreEntry {
 public:
  KxContentEntry();
  ~KxContentEntry() override;  // closes the data connection

  std::unique_ptr<CSocket> socket;  // null until accepted
  std::unique_ptr<KxBodyReader> reader;
  bool failed = false;    // a read failed; every later read fails too
  bool broken = false;    // the user broke a wait for bytes
  bool timedOut = false;  // the server sent nothing within ReadWaitMs
  int socketError = 0;    // the WinSock error of a failed read
  // Reads that took bytes already there, without a wait, since the last
  // wait; -1 when the socket could not be made non-blocking (every read
  // waits first).
  int readsWithoutWait = -1;
  // The last read took less than it asked: the socket is empty, and the
  // next read waits first rather than ask it again for nothing.
  bool drained = false;
  // The receive low-water mark set on the socket (1, the system's own,
  // until a body of known size streams in) and the socket's receive
  // buffer, read once (0 until then, -1 when it could not be read).
  int lowWater = 1;
  int receiveBuffer = 0;
  // The body came slower than a batch fills: every wait ends with the
  // first bytes that come, as before the mark.
  bool slowStream = false;
};

// A hit list (kinds 2 to 6 and 8 to 10): the ids found, or for the members
// of a remote document (kind 2, request 40) the records the server sent.
// `announcedSize` is the number of hits, `delivered` how many were turned
// into objects.
class KxHitEntry : public StoreEntry {
 public:
  IdArray hits;
  std::vector<CString> records;  // remote members only
  bool remoteMembers = false;
  CString query;
};

// A full-text search (kind 7): the hits with their weights and positions,
// best first as the server sent them.
class KxSearchEntry : public StoreEntry {
 public:
  KxSearchEntry() : features(1) {}
  FeatureVector features;
  CString query;
};

// ---- The session ---------------------------------------------------------------

class KxSession : public Store {
 public:
  static constexpr std::int32_t kDefaultPort = 418;
  static constexpr int kProtocolVersion = 717;
  static constexpr const char* kDefaultUser = "anonymous";
  // The home collection of a user who has none.
  static constexpr const char* kAnonymousHome = "~anonymous";
  // The password sent when there is none.
  static constexpr const char* kNoPassword = "XNIL";

  // String-table ids of the session's messages.
  static constexpr std::int32_t kStrCannotConnect = 125;
  static constexpr std::int32_t kStrKorvexOnly = 126;
  static constexpr std::int32_t kStrNoOwnAddress = 134;
  static constexpr std::int32_t kStrWrongProtocol = 142;
  static constexpr std::int32_t kStrProtocolError = 143;
  static constexpr std::int32_t kStrSocketRead = 147;
  static constexpr std::int32_t kStrInterrupted = 158;

  static constexpr const char* kNotConnectedText = "Not connected to a Korvex database !";
  static constexpr const char* kClosedText =
      "!!! The connection to the Korvex server has been closed. !!!";

  // Connects to the address (korvex://[user[:password]@]host[:port][;a:b:c]/path)
  // and logs in. Never throws; getError() is 0 when the session is usable.
  explicit KxSession(const CString& address);
  // Deletes the connection (no logout is sent). The dispatcher is ended
  // too, but only when no socket or timer of anyone is left in it.
  ~KxSession() override;

  // ---- Store operations (slot order of Store) ----
  CString getRecord(const CString& name) override;
  CString getUser() override;
  CString getServerInfo() override;
  CString getErrorText() override;
  bool handlesUrl(const CString& url) override;
  bool login(const CString& name, const CString& pass, std::int32_t flag) override;
  bool changePassword(const CString& oldPassword, const CString& newPassword) override;
  StoreEntry* openRequest(const Ref<KXObject>& object, std::int32_t kind, List* collections,
                          const CString& text) override;
  // Deletes the handle (when not null) and answers false.
  bool closeRequest(StoreEntry* entry) override;
  std::int32_t readRequest(StoreEntry* entry, char* buffer, std::int32_t size) override;
  // The session opens no write transfers.
  std::int32_t writeRequest(StoreEntry* entry, const char* buffer, std::int32_t size) override;
  List* getResults(StoreEntry* entry, std::int32_t n, List* list) override;
  bool insertObject(const Ref<KXObject>& object, const Ref<KXObject>& parent,
                    std::int32_t flag) override;
  bool deleteObject(const Ref<KXObject>& object) override;
  bool moveObject(const Ref<KXObject>& object, const Ref<KXObject>& from,
                  const Ref<KXObject>& to) override;
  bool addToCollection(const Ref<KXObject>& object, const Ref<KXObject>& collection) override;
  bool removeFromCollection(const Ref<KXObject>& object,
                            const Ref<KXObject>& collection) override;
  bool lockObject(const Ref<KXObject>& object) override;
  bool unlockObject(const Ref<KXObject>& object) override;
  bool modifyAttributes(const Ref<KXObject>& object, const CString& removeLine,
                        const CString& addLine) override;

  // ---- Beyond Store ----
  // The control connection; null when the session could not connect.
  SessionConnection* connection() const { return connection_.get(); }
  // The attribute record of the identified user, as fetched at login.
  const CString& getUserRecord() const { return userRecord_; }
  // The three connection options: binary form, distributed, compress.
  std::uint8_t option(int index) const { return index >= 0 && index < 3 ? options_[index] : 0; }
  // The dotted address the server is to connect back to: the local end of
  // the control connection, or this host's address when that is empty,
  // "0.0.0.0" or "127.0.0.1" (and 127.0.0.1 itself when the host has no
  // address of its own but the server is reached over the loopback). Empty
  // when none is known.
  CString ownAddress() const;
  // The choice behind ownAddress, given the local end of the control
  // connection (dotted, or empty) and a lookup of this host's address
  // (empty when it has none), asked only when the local end does not do.
  static CString ChooseOwnAddress(const CString& local,
                                  const std::function<CString()>& hostAddress);

  // The connection options of an address: up to three numbers after a ";"
  // that follows the port ("host:port;a:b:c/..."), each kept in 8 bits.
  // Only the numbers found replace `options`; false when there were none.
  static bool ParseConnectionOptions(const CString& address, std::uint8_t options[3]);
  // The record of a remote pseudo object for a URL of another scheme
  // (http, gopher, ftp ...), with the given creation time text.
  static CString RemotePseudoRecord(const CString& url, const CString& timeCreated);

  // The score of a search hit: its weight against the best weight of the
  // search, times 1000, toward zero (the best hit scores 1000). When no
  // weight is above 0 every hit scores 0.
  static int SearchScore(float weight, float best);

  // How long a content transfer waits for the server to connect back, and
  // how long a read waits for the next bytes, in milliseconds. Both waits
  // serve the dispatcher and end early when the user breaks.
  static constexpr int kDefaultAcceptWaitMs = 30000;
  static constexpr int kDefaultReadWaitMs = 60000;
  static void SetDataWaits(int acceptMs, int readMs);
  static int AcceptWaitMs();
  static int ReadWaitMs();

 private:
  // Whether requests can be sent: a connection that opened without error.
  bool connected() const { return connection_ != nullptr; }

  // ---- records (kx_session_records.cpp) ----
  CString recordOfId(ObjectId id);
  CString recordOnOtherServer(LONG serverAddress, const CString& objectName);
  CString recordByObjectName(const CString& objectName);
  CString recordByName(const CString& name);

  // ---- content (kx_session_content.cpp) ----
  StoreEntry* openContent(const Ref<KXObject>& object, const CString& text);
  bool sendContentRequest(KXObject& object, const CString& text, const CString& address,
                          int dataPort);
  // Reports a refused request: the interruption notice for a user break,
  // else "Error: " and the server's text of the connection's error.
  void reportRefusal();

  // ---- hit lists and searches (kx_session_requests.cpp) ----
  StoreEntry* openHits(const Ref<KXObject>& object, std::int32_t kind, List* collections,
                       const CString& text);
  StoreEntry* openSearch(const Ref<KXObject>& object, List* collections, const CString& text);
  void appendRecords(const std::vector<LONG>& ids, const std::vector<CString>* extras,
                     List& list);

  // ---- changes (kx_session_changes.cpp) ----
  bool changeMembership(const Ref<KXObject>& object, LONG flag, ObjectId from, ObjectId to);
  bool insertDocument(KXObject& object, const Ref<KXObject>& parent);
  bool insertAnchor(KXObject& object, const Ref<KXObject>& parent);
  // The object now carries the id the server gave it; documents and anchors
  // are fetched again as well.
  void adoptNewId(KXObject& object, LONG newId, bool refetch);
  // Fetches the object's record again after a change on the server.
  void refetch(KXObject& object);

  void setPathFromHome();

  std::unique_ptr<SessionConnection> connection_;
  std::uint8_t options_[3] = {1, 1, 1};
  CString userRecord_;
  mutable CString ownAddress_;  // empty until first found
};
