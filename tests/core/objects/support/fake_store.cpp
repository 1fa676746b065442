#include "core/objects/support/fake_store.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "framework/user_break.h"
#include "core/list.h"
#include "core/object_id.h"

CString Record(std::int32_t id, const char* rest) {
  return "ObjectID=" + ObjectId(id).Format() + "\n" + rest;
}

Ref<KXObject> MakeObject(const CString& record, const Ref<Store>& store) {
  Ref<KXObject> object(new KXObject(record, Ref<Store>()));
  object->setStore(store);
  return object;
}

std::vector<std::string> Identifiers(const List* list) {
  std::vector<std::string> ids;
  if (!list) return ids;
  for (ListElement* e = list->first(); e; e = e->next()) {
    KXObject* object = ObjectOf(e);
    ids.push_back(object ? object->getIdentifier().str() : "null");
  }
  return ids;
}

// A handle with its own copy of the hits or the content.
class FakeStore::Entry : public StoreEntry {
 public:
  std::vector<Ref<KXObject>> hits;
  std::size_t next = 0;
  std::string content;
  std::size_t readPos = 0;
  std::string key;
};

FakeStore::FakeStore(const CString& addressText) : Store(addressText) {}
FakeStore::~FakeStore() = default;

void FakeStore::addRecord(const CString& name, const CString& record) {
  records_[name.str()] = record;
}

void FakeStore::setResults(std::int32_t kind, const CString& key,
                           std::vector<Ref<KXObject>> objects, std::int32_t announced) {
  Hits& h = hits_[{kind, key.str()}];
  h.announced = announced == kAnnounceCount ? static_cast<std::int32_t>(objects.size()) : announced;
  h.objects = std::move(objects);
}

void FakeStore::setContent(const CString& key, std::string bytes) {
  Content& c = contents_[key.str()];
  c.announced = static_cast<std::int32_t>(bytes.size());
  c.bytes = std::move(bytes);
  c.fileName.Empty();
}

void FakeStore::setContentFile(const CString& key, const CString& fileName,
                               std::int32_t announced) {
  Content& c = contents_[key.str()];
  c.bytes.clear();
  c.fileName = fileName;
  c.announced = announced;
}

std::string FakeStore::written(const CString& key) const {
  auto it = writes_.find(key.str());
  return it == writes_.end() ? std::string() : it->second;
}

void FakeStore::clearTables() {
  records_.clear();
  hits_.clear();
  contents_.clear();
  writes_.clear();
  onBatch = nullptr;
}

int FakeStore::callCount(const std::string& prefix) const {
  return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const std::string& c) {
    return c.compare(0, prefix.size(), prefix) == 0;
  }));
}

bool FakeStore::answer(const std::string& operation) const {
  auto it = answers_.find(operation);
  return it == answers_.end() ? true : it->second;
}

std::string FakeStore::Name(const Ref<KXObject>& object) {
  return object ? object->getIdentifier().str() : "null";
}

CString FakeStore::getRecord(const CString& name) {
  calls.push_back("getRecord " + name.str());
  auto it = records_.find(name.str());
  return it == records_.end() ? CString() : it->second;
}

StoreEntry* FakeStore::openRequest(const Ref<KXObject>& object, std::int32_t kind,
                                   List* collections, const CString& text) {
  calls.push_back("openRequest " + std::to_string(kind) + " " + Name(object) + " '" + text.str() +
                  "'" + (collections ? " with list" : ""));
  const std::string key = kind >= kRequestKeyQuery ? text.str() : Name(object);
  auto entry = std::make_unique<Entry>();
  entry->kind = kind;
  entry->object = object;
  entry->key = key;
  if (kind == kRequestRead) {
    auto it = contents_.find(key);
    if (it == contents_.end()) return nullptr;
    entry->content = it->second.bytes;
    entry->text = it->second.fileName;
    entry->announcedSize = it->second.announced;
  } else if (kind == kRequestWrite) {
    writes_[key].clear();
    entry->announcedSize = static_cast<std::int32_t>(ObjectId::Parse(text.view()));
  } else {
    auto it = hits_.find({kind, key});
    if (it == hits_.end()) return nullptr;
    entry->hits = it->second.objects;
    entry->announcedSize = it->second.announced;
  }
  ++openHandles_;
  return entry.release();
}

bool FakeStore::closeRequest(StoreEntry* entry) {
  calls.push_back("closeRequest");
  if (!entry) return false;
  --openHandles_;
  delete entry;
  return false;  // as the server session: deleted, and false all the same
}

std::int32_t FakeStore::readRequest(StoreEntry* entry, char* buffer, std::int32_t size) {
  calls.push_back("readRequest " + std::to_string(size));
  auto* e = static_cast<Entry*>(entry);
  if (!e || !buffer || size < 0) return -1;
  if (readFailAfter >= 0 && bytesRead_ >= readFailAfter) return -1;
  std::size_t n = std::min(static_cast<std::size_t>(size), e->content.size() - e->readPos);
  if (readChunkLimit > 0) n = std::min(n, static_cast<std::size_t>(readChunkLimit));
  if (readFailAfter >= 0)
    n = std::min(n, static_cast<std::size_t>(readFailAfter - bytesRead_));
  std::memcpy(buffer, e->content.data() + e->readPos, n);
  e->readPos += n;
  e->delivered += static_cast<std::int32_t>(n);
  bytesRead_ += static_cast<int>(n);
  return static_cast<std::int32_t>(n);
}

std::int32_t FakeStore::writeRequest(StoreEntry* entry, const char* buffer, std::int32_t size) {
  calls.push_back("writeRequest " + std::to_string(size));
  auto* e = static_cast<Entry*>(entry);
  if (!e || e->kind != kRequestWrite || !buffer || size < 0) return -1;
  writes_[e->key].append(buffer, static_cast<std::size_t>(size));
  e->delivered += size;
  return size;
}

List* FakeStore::getResults(StoreEntry* entry, std::int32_t n, List* list) {
  calls.push_back("getResults " + std::to_string(n));
  const int batch = batches_++;
  if (onBatch) onBatch(batch);
  auto* e = static_cast<Entry*>(entry);
  if (!e || (nullFromBatch >= 0 && batch >= nullFromBatch)) return nullptr;
  std::size_t take = std::min(static_cast<std::size_t>(std::max(n, 0)), e->hits.size() - e->next);
  if (batchLimit > 0) take = std::min(take, static_cast<std::size_t>(batchLimit));
  if (stallFromBatch >= 0 && batch >= stallFromBatch) take = 0;
  if (!list) list = NewObjectList();
  for (std::size_t i = 0; i < take; ++i) AppendObject(*list, e->hits[e->next++]);
  e->delivered += static_cast<std::int32_t>(take) + (take > 0 ? overDeliver : 0);
  return list;
}

bool FakeStore::insertObject(const Ref<KXObject>& object, const Ref<KXObject>& parent,
                             std::int32_t flag) {
  calls.push_back("insertObject " + Name(object) + " " + Name(parent) + " " +
                  std::to_string(flag));
  return answer("insertObject");
}

bool FakeStore::deleteObject(const Ref<KXObject>& object) {
  calls.push_back("deleteObject " + Name(object));
  return answer("deleteObject");
}

bool FakeStore::moveObject(const Ref<KXObject>& object, const Ref<KXObject>& from,
                           const Ref<KXObject>& to) {
  calls.push_back("moveObject " + Name(object) + " " + Name(from) + " " + Name(to));
  return answer("moveObject");
}

bool FakeStore::addToCollection(const Ref<KXObject>& object, const Ref<KXObject>& collection) {
  calls.push_back("addToCollection " + Name(object) + " " + Name(collection));
  return answer("addToCollection");
}

bool FakeStore::removeFromCollection(const Ref<KXObject>& object,
                                     const Ref<KXObject>& collection) {
  calls.push_back("removeFromCollection " + Name(object) + " " + Name(collection));
  return answer("removeFromCollection");
}

bool FakeStore::lockObject(const Ref<KXObject>& object) {
  calls.push_back("lockObject " + Name(object));
  return answer("lockObject");
}

bool FakeStore::unlockObject(const Ref<KXObject>& object) {
  calls.push_back("unlockObject " + Name(object));
  return answer("unlockObject");
}

bool FakeStore::modifyAttributes(const Ref<KXObject>& object, const CString& removeLine,
                                 const CString& addLine) {
  calls.push_back("modifyAttributes " + Name(object) + " '" + removeLine.str() + "' '" +
                  addLine.str() + "'");
  return answer("modifyAttributes");
}

FakeObjectFactory::FakeObjectFactory() { previous_ = SetObjectFactory(this); }

FakeObjectFactory::~FakeObjectFactory() {
  if (GetObjectFactory() == this) SetObjectFactory(previous_);
}

KXObject* FakeObjectFactory::createObject(const CString& record) {
  ++created;
  return make ? make(record) : new KXObject(record, Ref<Store>());
}

Ref<Store> FakeObjectFactory::openStore(const CString& name, const Ref<Store>& given) {
  opened.push_back(name.str());
  return storeToOpen ? storeToOpen : given;
}

ObjectModelTest::ObjectModelTest()
    : server(new FakeStore("korvex://server/")), local(new FakeStore("kxlocal://local/")) {}

ObjectModelTest::~ObjectModelTest() = default;

void ObjectModelTest::ClearRegisters() {
  ClearMarkedObjects();
  ClearObjectCache();
  ClearOpenStores();
  ClearAbortFlag();
  SetLongOperationFlag(0);
}

void ObjectModelTest::SetUp() {
  ClearRegisters();
  progress = std::make_unique<FakeProgress>();
}

void ObjectModelTest::TearDown() {
  ClearRegisters();
  server->clearTables();
  local->clearTables();
  progress.reset();
}
