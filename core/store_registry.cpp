#include "core/store_registry.h"

#include <ctime>
#include <new>

#include "core/attr_record.h"
#include "core/string_tree.h"

namespace {

List* gStores = nullptr;
StringTree* gCache = nullptr;
List* gMarked = nullptr;
ObjectFactory* gFactory = nullptr;

// Stands in for the registers outside their life, so that callers always
// get a list to read.
const List& EmptyList() {
  static const List* empty = new List;  // never destroyed: read after exit
  return *empty;
}

void DeleteElements(List* list) {
  if (list) list->clearAndDelete();
}

std::int32_t Now() { return static_cast<std::int32_t>(std::time(nullptr)); }

// A cache hit: the time stamp is renewed and an unparsed object refreshed.
Ref<KXObject> Touch(const Ref<KXObject>& object) {
  object->setTimeStamp(Now());
  if (!object->isParsed()) object->refresh();
  return object;
}

// Step 4 of fetching: a new object is cached under the name asked for when
// that is its identifier, else under its identifier, where an object cached
// already wins. An object without an identifier is not cached: every such
// object would share the empty key, and a later name would find the wrong
// one.
Ref<KXObject> CacheNew(const CString& name, const Ref<KXObject>& object) {
  const CString id = object->getIdentifier();
  if (id.IsEmpty()) return object;
  if (id == name) {
    CacheObject(name, object);
    return object;
  }
  Ref<KXObject> cached;
  if (LookupCachedObject(id, cached)) return Touch(cached);
  CacheObject(id, object);
  return object;
}

class Collector : public StringTreeVisitor {
 public:
  explicit Collector(std::vector<Ref<KXObject>>& out) : out_(out) {}
  void between(const CString&, const Ref<ObjRef>& value) override {
    if (value) out_.push_back(Ref<KXObject>(static_cast<KXObject*>(value.get())));
  }

 private:
  std::vector<Ref<KXObject>>& out_;
};

}  // namespace

void ObjectRegistry::Init() {
  gStores = new List;
  gCache = new StringTree;
  gMarked = new List;
}

void ObjectRegistry::Exit() {
  // Marked objects and the cache hold objects, objects hold stores: let go
  // in that order. Each register is detached first, so that a destructor
  // that looks at it finds it gone rather than half torn down.
  List* marked = gMarked;
  gMarked = nullptr;
  DeleteElements(marked);
  delete marked;
  StringTree* cache = gCache;
  gCache = nullptr;
  delete cache;
  List* stores = gStores;
  gStores = nullptr;
  DeleteElements(stores);
  delete stores;
}

// --- Store list ---

const List& OpenStores() { return gStores ? *gStores : EmptyList(); }

bool AddStoreFront(const Ref<Store>& store) {
  if (!gStores || !store) return false;
  auto* entry = new (std::nothrow) StoreListEntry(store);
  if (!entry) return false;
  gStores->prepend(entry);
  return true;
}

bool AddStoreBack(const Ref<Store>& store) {
  if (!gStores || !store) return false;
  auto* entry = new (std::nothrow) StoreListEntry(store);
  if (!entry) return false;
  gStores->append(entry);
  return true;
}

Ref<Store> FindOpenStore(const char* scheme) {
  for (ListElement* e = OpenStores().first(); e; e = e->next()) {
    const Ref<Store>& s = static_cast<StoreListEntry*>(e)->store;
    if (s && s->getScheme() == scheme) return s;
  }
  return Ref<Store>();
}

void ClearOpenStores() { DeleteElements(gStores); }

// --- Object cache ---

bool LookupCachedObject(const CString& key, Ref<KXObject>& out) {
  if (!gCache) return false;
  Ref<ObjRef> value;
  if (!gCache->Lookup(key.c_str(), value) || !value) return false;
  out = static_cast<KXObject*>(value.get());
  return true;
}

bool CacheObject(const CString& key, const Ref<KXObject>& object) {
  if (!gCache || !object || key.IsEmpty()) return false;
  return gCache->Insert(key.c_str(), Ref<ObjRef>(object.get()));
}

bool UncacheObject(const CString& key) {
  if (!gCache) return false;
  Ref<ObjRef> old;
  return gCache->Remove(key.c_str(), old);
}

void ClearObjectCache() {
  if (!gCache) return;
  // A fresh tree first: objects released by the old one then find a
  // consistent cache.
  StringTree* old = gCache;
  gCache = new StringTree;
  delete old;
}

void CachedObjects(std::vector<Ref<KXObject>>& out) {
  if (!gCache) return;
  Collector collector(out);
  gCache->walk(collector);
}

void InvalidateCachedObjects(std::uint32_t flags) {
  std::vector<Ref<KXObject>> objects;
  CachedObjects(objects);
  for (const Ref<KXObject>& object : objects) object->invalidate(flags);
}

// --- Marked objects ---

MarkedGroup::~MarkedGroup() { members.clearAndDelete(); }

List& MarkedObjectGroups() {
  // Outside the registers' life a scratch list takes the calls; it is
  // emptied each time so nothing is kept there.
  static List* scratch = new List;
  if (gMarked) return *gMarked;
  scratch->clearAndDelete();
  return *scratch;
}

void ClearMarkedObjects() {
  if (!gMarked) return;
  while (ListElement* e = gMarked->popFront()) {
    auto* group = static_cast<MarkedGroup*>(e);
    // The entries hold the objects: note each object before letting go.
    for (ListElement* m = group->members.first(); m; m = m->next())
      if (KXObject* object = ObjectOf(m)) object->clearMarkedFlag();
    delete group;
  }
}

// --- Objects by name ---

ObjectFactory::~ObjectFactory() = default;

ObjectFactory* SetObjectFactory(ObjectFactory* factory) {
  ObjectFactory* old = gFactory;
  gFactory = factory;
  return old;
}

ObjectFactory* GetObjectFactory() { return gFactory; }

KXObject* createObject(const CString& record) {
  return gFactory ? gFactory->createObject(record) : nullptr;
}

Ref<Store> openStore(const CString& name, const Ref<Store>& given) {
  return gFactory ? gFactory->openStore(name, given) : given;
}

Ref<KXObject> fetchObject(const CString& name, const Ref<Store>& given) {
  Ref<KXObject> cached;
  if (LookupCachedObject(name, cached)) return Touch(cached);

  Ref<Store> store = given ? given : openStore(name, Ref<Store>());
  if (!store) return Ref<KXObject>();

  CString asked = name;
  if (store->getScheme() == kLocalScheme && name == kRootCollectionName) asked = kLocalRootName;
  const CString record = store->getRecord(asked);
  if (record.IsEmpty()) return Ref<KXObject>();
  // Held at once: the object's count is 0 until a handle takes it.
  Ref<KXObject> object(createObject(record));
  if (!object) return object;
  object->setStore(store);
  return CacheNew(name, object);
}

Ref<KXObject> objectForRecord(const CString& record, const Ref<Store>& store) {
  CString name;
  const bool hasId = AttrRecord(record).find(kxobj::kObjectIDKey, name) && !name.IsEmpty();
  Ref<KXObject> cached;
  if (hasId && LookupCachedObject(name, cached)) return Touch(cached);

  Ref<KXObject> object(createObject(record));
  if (!object) return object;
  object->setStore(store);
  if (!hasId) return object;
  return CacheNew(name, object);
}
