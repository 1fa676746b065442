// The store, object factory and fixture that the object-model tests share.
//
// FakeStore answers from tables the test fills: records by name, hits per
// request, content per object. It records every call, and failures and
// breaks can be injected. FakeObjectFactory stands in for the session
// layer's factory. ObjectModelTest clears the program-wide registers around
// each test and installs a FakeProgress and a FakeObjectFactory.
//
//   Ref<FakeStore> server = new FakeStore("korvex://server/");
//   Ref<KXObject> doc = MakeObject(Record(1, "Type=Document\n"), server);
//   server->setResults(kRequestReferrers, doc->getIdentifier(), {a1, a2});
//   List* list = doc->getReferrers(nullptr, 0);
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/kx_object.h"
#include "core/objects/support/fake_progress.h"
#include "core/store.h"
#include "core/store_registry.h"

// "ObjectID=0x%08x\n" followed by `rest` (lines ending in "\n").
CString Record(std::int32_t id, const char* rest = "");
// A new object of the base class with the store attached, held at once.
Ref<KXObject> MakeObject(const CString& record, const Ref<Store>& store);
// The identifiers of the objects of a MemberEntry list ("null" for an entry
// without one); an empty vector for a null list.
std::vector<std::string> Identifiers(const List* list);

class FakeStore : public Store {
 public:
  explicit FakeStore(const CString& address = "korvex://fake/");
  ~FakeStore() override;

  // --- Tables ---
  void addRecord(const CString& name, const CString& record);
  // The hits of requests of `kind` about `key`: the object's identifier for
  // kinds 0 to 5, the text argument for kinds 6 to 10. `announced` is what
  // the handle announces (kAnnounceCount: the number of objects). A request
  // without hits set is refused (openRequest answers null).
  static constexpr std::int32_t kAnnounceCount = INT32_MIN;
  void setResults(std::int32_t kind, const CString& key, std::vector<Ref<KXObject>> objects,
                  std::int32_t announced = kAnnounceCount);
  // The content of a read transfer about the object `key`; streamed through
  // readRequest, or, with a local file name, named in the handle's text.
  void setContent(const CString& key, std::string bytes);
  void setContentFile(const CString& key, const CString& fileName, std::int32_t announced = -1);
  // Bytes written through write transfers about the object `key`.
  std::string written(const CString& key) const;
  // The answer of a change operation ("insertObject", "deleteObject",
  // "moveObject", "addToCollection", "removeFromCollection", "lockObject",
  // "unlockObject", "modifyAttributes"); true unless set.
  void setAnswer(const std::string& operation, bool answer) { answers_[operation] = answer; }
  void setCapabilities(std::int32_t mask) { capabilities = mask; }
  void setIdentified(bool on) { identified = on; }
  void setServerInfo(const CString& info) { serverInfo = info; }
  // Empties every table. Hits hold their objects and objects hold their
  // store: the fixture calls this to break that cycle after each test.
  void clearTables();

  // --- Injected failures (batches and reads count from 0 per store) ---
  // getResults hands out at most this many hits per call (0: as asked).
  int batchLimit = 0;
  // getResults answers null from this batch on (-1: never).
  int nullFromBatch = -1;
  // getResults hands out nothing from this batch on (-1: never).
  int stallFromBatch = -1;
  // Added to `delivered` by each batch beyond the hits handed out.
  int overDeliver = 0;
  // Called at the start of every getResults with the batch number (to break,
  // change registers, ...).
  std::function<void(int batch)> onBatch;
  // readRequest answers -1 once this many bytes have been read (-1: never).
  int readFailAfter = -1;
  // The most bytes one readRequest hands out (0: as asked).
  int readChunkLimit = 0;

  // --- Records of the calls ---
  // One line per call: the operation, then its arguments; objects by their
  // identifier ("null" for none), e.g. "openRequest 5 0x00000001 ''",
  // "getResults 16", "closeRequest", "moveObject 0x1 0x2 0x3".
  std::vector<std::string> calls;
  // The calls whose line starts with `prefix`.
  int callCount(const std::string& prefix) const;
  // Handles opened and not yet given back.
  int openHandles() const { return openHandles_; }
  int batches() const { return batches_; }

  // --- Store operations ---
  CString getRecord(const CString& name) override;
  StoreEntry* openRequest(const Ref<KXObject>& object, std::int32_t kind, List* collections,
                          const CString& text) override;
  bool closeRequest(StoreEntry* entry) override;
  std::int32_t readRequest(StoreEntry* entry, char* buffer, std::int32_t size) override;
  std::int32_t writeRequest(StoreEntry* entry, const char* buffer, std::int32_t size) override;
  List* getResults(StoreEntry* entry, std::int32_t n, List* list) override;
  bool insertObject(const Ref<KXObject>& object, const Ref<KXObject>& parent,
                    std::int32_t flag) override;
  bool deleteObject(const Ref<KXObject>& object) override;
  bool moveObject(const Ref<KXObject>& object, const Ref<KXObject>& from,
                  const Ref<KXObject>& to) override;
  bool addToCollection(const Ref<KXObject>& object, const Ref<KXObject>& collection) override;
  bool removeFromCollection(const Ref<KXObject>& object, const Ref<KXObject>& collection) override;
  bool lockObject(const Ref<KXObject>& object) override;
  bool unlockObject(const Ref<KXObject>& object) override;
  bool modifyAttributes(const Ref<KXObject>& object, const CString& removeLine,
                        const CString& addLine) override;

 private:
  struct Hits {
    std::vector<Ref<KXObject>> objects;
    std::int32_t announced = -1;
  };
  struct Content {
    std::string bytes;
    CString fileName;
    std::int32_t announced = -1;
  };
  class Entry;

  bool answer(const std::string& operation) const;
  static std::string Name(const Ref<KXObject>& object);

  std::map<std::string, CString> records_;
  std::map<std::pair<std::int32_t, std::string>, Hits> hits_;
  std::map<std::string, Content> contents_;
  std::map<std::string, std::string> writes_;
  std::map<std::string, bool> answers_;
  int openHandles_ = 0;
  int batches_ = 0;
  int bytesRead_ = 0;
};

// Stands in for the session layer's factory while it lives: records become
// objects of the base class unless `make` says otherwise; openStore hands
// out `storeToOpen` (when set) and records the names asked.
class FakeObjectFactory : public ObjectFactory {
 public:
  FakeObjectFactory();
  ~FakeObjectFactory() override;

  KXObject* createObject(const CString& record) override;
  Ref<Store> openStore(const CString& name, const Ref<Store>& given) override;

  std::function<KXObject*(const CString& record)> make;
  Ref<Store> storeToOpen;
  std::vector<std::string> opened;  // the names openStore was asked for
  int created = 0;

 private:
  ObjectFactory* previous_ = nullptr;
};

// Fixture: the registers (cache, open stores, marked objects) and the
// user-break and long-operation flags are cleared before and after each
// test; a FakeProgress is the frame's reporter (reset `progress` for a test
// without one) and a FakeObjectFactory is installed. `server` and `local`
// are two fake stores, not yet in the list of open stores.
class ObjectModelTest : public ::testing::Test {
 protected:
  ObjectModelTest();
  ~ObjectModelTest() override;
  void SetUp() override;
  void TearDown() override;

  static void ClearRegisters();

  std::unique_ptr<FakeProgress> progress;
  FakeObjectFactory factory;
  Ref<FakeStore> server;
  Ref<FakeStore> local;
};
