// The one interface through which the client reaches a database of server
// objects: records by name, request handles for related objects and for
// content transfers, changes to objects and their links, and the login.
//
// Store is a concrete base: every operation answers a plain "no" (false, 0,
// -1, null or an empty text) so that an implementation (the server session,
// the local database) overrides only what it supports. Callers hold stores
// through Ref handles and tell implementations apart only by getScheme and
// getCapabilities.
//
// The virtual operations are declared in their fixed slot order; the
// implementations override them by that order.
#pragma once

#include <cstdint>

#include "core/objref.h"
#include "mfc/cstring.h"

class KXObject;
class List;

// Capability bits of getCapabilities. Only the login bit is read by any
// caller: the connect command logs in only when the store has it.
inline constexpr std::int32_t kStoreCapLogin = 1 << 0;
// The sixteen named flags, bit i at index i.
inline constexpr std::int32_t kStoreCapabilityFlags[16] = {
    1 << 0, 1 << 1, 1 << 2,  1 << 3,  1 << 4,  1 << 5,  1 << 6,  1 << 7,
    1 << 8, 1 << 9, 1 << 10, 1 << 11, 1 << 12, 1 << 13, 1 << 14, 1 << 15};
// What the server session reports (all sixteen) and what the local database
// reports (all but the last).
inline constexpr std::int32_t kStoreCapsServer = 0xFFFF;
inline constexpr std::int32_t kStoreCapsLocal = 0x7FFF;

// Scheme names by which callers choose between stores.
inline constexpr const char* kServerScheme = "korvex";
inline constexpr const char* kLocalScheme = "kxlocal";

// The `kind` argument of openRequest.
enum StoreRequestKind : std::int32_t {
  kRequestRead = 0,        // the content of a document (readRequest or `text`)
  kRequestWrite = 1,       // new content; text = its size as "0x%08x"
  kRequestMembers = 2,     // the members of a collection
  kRequestParents = 3,     // the collections that hold an object
  kRequestAnchors = 4,     // the anchors whose source is the object
  kRequestReferrers = 5,   // the anchors whose destination is the object
  kRequestKeyQuery = 6,    // objects matching a query text
  kRequestFullText = 7,    // full-text search for the text
  kRequestGroupsNamed = 8, // groups whose "UGroup=" value is the text
  kRequestUsersNamed = 9,  // users whose "UName=" value is the text
  kRequestGroupMembers = 10  // objects whose "Group=" value is the text
};

// Transfers move content in chunks of at most this many bytes.
inline constexpr std::int32_t kTransferChunk = 8192;

// A request handle: openRequest makes it, the caller hands it back to
// closeRequest (which deletes it where the implementation says so).
// Implementations derive their own handle kinds from it.
class StoreEntry {
 public:
  StoreEntry();
  StoreEntry(const StoreEntry&) = delete;
  StoreEntry& operator=(const StoreEntry&) = delete;
  virtual ~StoreEntry();

  std::int32_t kind = 0;       // set by openRequest
  CString scheme;              // the server session puts "korvex" here
  std::int32_t reserved = -1;
  std::int32_t delivered = 0;  // hits or bytes handed out so far
  // Hits found, or the content size in bytes; below 1 when not known.
  std::int32_t announcedSize = -1;
  Ref<KXObject> object;        // the object the request is about
  // For a read transfer: a local file that already holds the whole content;
  // empty when the content is streamed through readRequest.
  CString text;
};

class Store : public ObjRef {
 public:
  // Keeps the address and parses it into scheme, user, password, host, port
  // and path. Makes no connection.
  explicit Store(const CString& address);
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  ~Store() override;
  // The attribute record of the object with this name or id text; "" when
  // the name designates nothing.
  virtual CString getRecord(const CString& name);
  virtual bool probeName(const CString& name, std::int32_t value);
  virtual CString getScheme();
  virtual CString getHost();
  virtual std::int32_t getPort();
  virtual CString getPath();
  virtual bool getFlag();
  virtual CString getUser();
  virtual CString getPassword();
  virtual CString getAddress();
  virtual CString getServerInfo();
  virtual bool setUser(const CString& name);
  virtual bool setPassword(const CString& text);
  // The code and the string-table text of the id ("" when the table has
  // none; the code is kept all the same).
  virtual void setError(std::int32_t id);
  virtual std::int32_t getError();
  virtual CString getErrorText();
  virtual std::int32_t getCapabilities();
  virtual bool handlesUrl(const CString& url);
  virtual bool login(const CString& name, const CString& pass, std::int32_t flag);
  virtual bool isIdentified();
  virtual bool changePassword(const CString& oldPassword, const CString& newPassword);
  // A new handle for a request of `kind` (StoreRequestKind) about `object`,
  // within the listed collections when `collections` is given; null when
  // there is nothing to deliver. The caller gives it back to closeRequest.
  virtual StoreEntry* openRequest(const Ref<KXObject>& object, std::int32_t kind, List* collections,
                                  const CString& text);
  // The base answers false and does not delete the handle.
  virtual bool closeRequest(StoreEntry* entry);
  // The next bytes of a read transfer: the count placed in `buffer` (at most
  // `size`), 0 at the end, -1 on failure.
  virtual std::int32_t readRequest(StoreEntry* entry, char* buffer, std::int32_t size);
  // Bytes of a write transfer: the count taken, -1 on failure.
  virtual std::int32_t writeRequest(StoreEntry* entry, const char* buffer, std::int32_t size);
  // Appends up to n further hits as MemberEntry elements to `list` (a new
  // list, owned by the caller, when none is given), adds them to the
  // handle's `delivered`, and returns the list; null on failure.
  virtual List* getResults(StoreEntry* entry, std::int32_t n, List* list);
  virtual bool testPair(const CString& first, const CString& second);
  virtual bool insertObject(const Ref<KXObject>& object, const Ref<KXObject>& parent,
                            std::int32_t flag);
  virtual bool deleteObject(const Ref<KXObject>& object);
  virtual bool moveObject(const Ref<KXObject>& object, const Ref<KXObject>& from,
                          const Ref<KXObject>& to);
  virtual bool addToCollection(const Ref<KXObject>& object, const Ref<KXObject>& collection);
  virtual bool removeFromCollection(const Ref<KXObject>& object, const Ref<KXObject>& collection);
  virtual bool lockObject(const Ref<KXObject>& object);
  virtual bool unlockObject(const Ref<KXObject>& object);
  virtual bool modifyAttributes(const Ref<KXObject>& object, const CString& removeLine,
                                const CString& addLine);
  // True for the text of object id 0 ("0x00000000") and for "korvexroot";
  // exact, case-sensitive.
  virtual bool isRoot(const CString& name);

  // Stores alive now: every object holds its store, so a store still alive
  // after it was let go means some of its objects are.
  static int LiveCount();

 protected:
  bool flag = false;  // set by no implementation; read through getFlag
  CString scheme;     // "" when the address has none
  CString host;
  std::int32_t port = 0;
  CString user;
  CString password;
  CString path;       // with its leading "/"
  bool identified = false;
  CString address;    // exactly as given to the constructor
  CString serverInfo;
  std::int32_t errorCode = 0;
  CString errorText;
  std::int32_t capabilities = 0;

 private:
  void parseAddress();
};
