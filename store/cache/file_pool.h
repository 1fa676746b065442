// The pictures that text documents show inline, fetched once per file name.
// A document asks for a picture by its file name and gets a picture object
// back at once: the one already loaded under that name, or a placeholder
// that fills in when the file has been fetched. Each name is fetched once
// however many documents ask; at most `limit` fetches run at a time, the
// others wait in request order. Loaded pictures are kept by name for the
// rest of the run.
//
// The pool neither fetches nor decodes by itself: a PictureFetcher brings
// the file (through the shell's commands and the file cache) and the
// picture side (PoolPictures) makes placeholders and loads bytes into them.
// Requests are told apart by requester and tag: a document's build passes
// its build number as the tag and cancels its requests by it when the
// build ends, so a fetch that outlives the build delivers nowhere.
#pragma once

#include <memory>
#include <vector>

#include "core/list.h"
#include "core/named_list.h"
#include "mfc/cstring.h"
#include "win/types.h"

class FetchManager;
class FilePool;

// Where a request comes from (the document's source); the pool keeps a
// copy of it for a request that has to wait.
class RequestContext {
 public:
  virtual ~RequestContext();
  virtual RequestContext* Clone() const = 0;
};

// Told about the pictures it asked for.
class PictureRequester {
 public:
  virtual ~PictureRequester();
  // Nonzero withdraws the requester from every other request.
  virtual int arrived(NamedObject* picture, FilePool* pool) = 0;
  virtual void failed(NamedObject* picture, FilePool* pool) = 0;
  // The last running fetch has ended.
  virtual void allDone(FilePool* pool) = 0;
};

// The picture side of the pool.
class PoolPictures {
 public:
  virtual ~PoolPictures();
  // A new pending picture showing the placeholder, with one reference that
  // the caller owns; null when none can be made.
  virtual NamedObject* NewPending() = 0;
  // Loads a picture file's image into the picture (the bytes stay the
  // caller's); false when they are no picture.
  virtual bool Load(NamedObject* picture, const void* data, LONG size) = 0;
};

// One fetch. Counted: the pool holds a reference while the fetch is
// active, and a fetcher that delivers later holds its own from `start`
// until its last call, so a late delivery never reaches a freed entry.
class PoolEntry {
 public:
  PoolEntry(FetchManager* manager, const CString& name, NamedObject* picture);
  PoolEntry(const PoolEntry&) = delete;
  PoolEntry& operator=(const PoolEntry&) = delete;

  void acquire() { ++references_; }
  void release() {
    if (--references_ == 0) delete this;
  }

  // The fetch of the file ended: the local file's name (which may be let
  // go in the file cache when this returns), or a failure. 0, or 1 when
  // the file could not be read.
  int load(const char* fileName, int failed);
  // The data themselves (copied), with a status: 0 for success.
  int dataArrived(const void* data, LONG size, int status);

  const CString& name() const { return name_; }
  NamedObject* picture() const { return picture_; }
  bool attached() const { return manager_ != nullptr; }
  // The number of requester and tag pairs waiting for it.
  int requesterCount() const { return requesters_.count(); }

  // At most one node per requester and tag; a null requester is ignored.
  void addRequester(PictureRequester* requester, DWORD tag);
  // Every node of the requester and tag (a null requester: every node).
  void removeRequester(PictureRequester* requester, DWORD tag);

 private:
  friend class FetchManager;
  struct RequesterNode : ListElement {
    RequesterNode(PictureRequester* r, DWORD t) : requester(r), tag(t) {}
    PictureRequester* requester;
    DWORD tag;
  };
  ~PoolEntry();

  LONG references_ = 0;
  List requesters_;
  CString name_;
  std::vector<BYTE> data_;
  NamedObject* picture_;  // one reference held
  FetchManager* manager_;
  bool started_ = false;
};

class PictureFetcher {
 public:
  virtual ~PictureFetcher();
  // Fetches the file of `text` and tells the entry (load or dataArrived),
  // now or later; keeps a reference to the entry (acquire) until it has.
  virtual void start(const CString& text, const RequestContext* context, PoolEntry* entry) = 0;
  virtual void cancel(PoolEntry* entry) = 0;
};

class FilePool {
 public:
  // The fetches that run at once in the client.
  static constexpr LONG kDefaultLimit = 10;

  // `limit` below 0: no limit. With `ownsEntries` an entry that leaves the
  // active fetches is let go at once, else when its fetcher is done.
  FilePool(PictureFetcher* fetcher, PoolPictures* pictures, bool ownsEntries = false, LONG limit = kDefaultLimit);
  FilePool(const FilePool&) = delete;
  FilePool& operator=(const FilePool&) = delete;
  virtual ~FilePool();

  // The picture of a file name (borrowed: the pool keeps it); null for an
  // empty name or when no placeholder can be made.
  virtual NamedObject* request(const CString& name, const CString& text, const RequestContext* context,
                               PictureRequester* requester, DWORD tag);
  // Withdraws every request of the requester with the tag (a null
  // requester and tag 0: every request).
  virtual void cancel(PictureRequester* requester, DWORD tag);
  // Withdraws the fetch of a name, whoever asked for it.
  virtual void drop(const CString& name);

  PictureFetcher* fetcher() const { return fetcher_; }
  PoolPictures* pictures() const { return pictures_; }
  NamedList& named() { return named_; }
  FetchManager& manager() { return *manager_; }

 private:
  NamedList named_;
  PictureFetcher* fetcher_;
  PoolPictures* pictures_;
  std::unique_ptr<FetchManager> manager_;
};

class FetchManager {
 public:
  FetchManager(FilePool* pool, bool ownsEntries, LONG limit);
  FetchManager(const FetchManager&) = delete;
  FetchManager& operator=(const FetchManager&) = delete;
  ~FetchManager();

  PoolEntry* find(const CString& name) const;
  void addActive(PoolEntry* entry);
  void enqueue(const CString& text, const RequestContext* context, PoolEntry* entry, DWORD tag);
  // Starts the first waiting fetch.
  void startNext();
  // Starts the entry's fetch now (counted as running).
  void start(const CString& text, const RequestContext* context, PoolEntry* entry);
  void completed(PoolEntry* entry, int status);
  void finish(PoolEntry* entry);
  void cancel(PictureRequester* requester, DWORD tag);
  // Detaches and forgets the entry and its waiting start.
  void remove(PoolEntry* entry);
  // Keeps a picture alive for the pool's lifetime (a picture handed out
  // whose fetch ended before anyone took it).
  void keep(NamedObject* picture);

  bool mayStart() const { return limit_ < 0 || running_ < limit_; }
  bool ownsEntries() const { return ownsEntries_; }
  LONG running() const { return running_; }
  int activeCount() const { return active_.count(); }
  int pendingCount() const { return pending_.count(); }

 private:
  struct ActiveNode : ListElement {
    explicit ActiveNode(PoolEntry* e) : entry(e) { entry->acquire(); }
    ~ActiveNode() override { entry->release(); }
    PoolEntry* entry;
  };
  struct PendingStart : ListElement {
    PendingStart(const CString& t, RequestContext* c, PoolEntry* e, DWORD g) : text(t), context(c), entry(e), tag(g) {
      entry->acquire();
    }
    ~PendingStart() override { entry->release(); }
    CString text;
    std::unique_ptr<RequestContext> context;
    PoolEntry* entry;
    DWORD tag;
  };
  ActiveNode* nodeOf(PoolEntry* entry) const;
  void detach(PoolEntry* entry);
  void dropPendingOf(PoolEntry* entry);

  void withdraw(PictureRequester* requester);

  FilePool* pool_;
  List active_;
  bool starting_ = false;
  bool startAgain_ = false;
  LONG limit_;
  LONG running_ = 0;
  bool ownsEntries_;
  List pending_;
  std::vector<NamedObject*> kept_;
};
