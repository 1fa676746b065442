// The program-wide registers of the object model: the list of open stores,
// the object cache (identifier text -> object), the groups of marked
// objects, and the way to objects by name (fetchObject, objectForRecord).
//
// Turning a record into the right object class and opening a store by
// address belong to the server-session layer, which sits above this module:
// it installs an ObjectFactory. Without one, no object is made from a record
// and no store is opened (fetchObject then answers from the cache, or with
// the store it was given).
//
// The registers are built by the first StaticGuard<ObjectRegistry> (one per
// source file that includes this header) and torn down by the last, so
// objects held in them may be released from other files' static destructors.
#pragma once

#include <cstdint>
#include <vector>

#include "core/kx_object.h"
#include "core/list.h"
#include "core/objref.h"
#include "core/static_guard.h"
#include "core/store.h"
#include "mfc/cstring.h"

struct ObjectRegistry {
  static void Init();
  static void Exit();
};

// --- The list of open stores ---

class StoreListEntry : public ListElement {
 public:
  explicit StoreListEntry(const Ref<Store>& s) : store(s) {}
  Ref<Store> store;
};

// The open stores (StoreListEntry elements), searched front to back. An
// empty list outside the registers' life.
const List& OpenStores();
// A new session goes to the front, a new local database to the end. False
// for a null store or when memory failed.
bool AddStoreFront(const Ref<Store>& store);
bool AddStoreBack(const Ref<Store>& store);
// The first open store whose getScheme is `scheme`; null when none.
Ref<Store> FindOpenStore(const char* scheme);
// Takes every store out of the list (they die with their last handle).
void ClearOpenStores();

// --- The object cache ---

// The object cached under `key`; false when absent.
bool LookupCachedObject(const CString& key, Ref<KXObject>& out);
// Caches the object under `key` (replacing what was there). False for a
// null object or an empty key, or when memory failed.
bool CacheObject(const CString& key, const Ref<KXObject>& object);
// Takes the key out of the cache; false when absent.
bool UncacheObject(const CString& key);
void ClearObjectCache();
// Every cached object, in key order (for walks that may change the cache).
void CachedObjects(std::vector<Ref<KXObject>>& out);
// invalidate(flags) on every cached object. The objects are collected first:
// an invalidation may refresh and so fetch into the cache.
void InvalidateCachedObjects(std::uint32_t flags);

// --- Marked objects ---

// A group of marked objects: MemberEntry elements, all of one store scheme.
class MarkedGroup : public ListElement {
 public:
  MarkedGroup() = default;
  ~MarkedGroup() override;  // deletes the entries
  List members;
};
// The groups (MarkedGroup elements); see KXObject::setMarked.
List& MarkedObjectGroups();
// Deletes every group (the objects' marked flags are cleared).
void ClearMarkedObjects();

// --- Objects by name ---

// What the server-session layer supplies: the object factory and the store
// opener.
class ObjectFactory {
 public:
  virtual ~ObjectFactory();
  // A new object of the class the record names (count 0), or null when the
  // record names no known kind. The store is attached by the caller.
  virtual KXObject* createObject(const CString& record) = 0;
  // The store that serves `name`, opening it when needed (the given store,
  // which may be null, when none is to be opened).
  virtual Ref<Store> openStore(const CString& name, const Ref<Store>& given) = 0;
};
// Installs the factory (null removes it); returns the previous one. The
// caller keeps ownership.
ObjectFactory* SetObjectFactory(ObjectFactory* factory);
ObjectFactory* GetObjectFactory();

// Through the installed factory: null, or the given store, without one.
KXObject* createObject(const CString& record);
Ref<Store> openStore(const CString& name, const Ref<Store>& given);

// The object named `name`: from the cache when it is there (refreshed when
// not parsed), else from the store (opened by name when none is given),
// cached under its identifier. Null when no store knows the name.
Ref<KXObject> fetchObject(const CString& name, const Ref<Store>& store);
// The cached object with the record's "ObjectID=" value, or a new one made
// from the record with `store` attached and cached. A record without an
// "ObjectID=" value gives an object that is not cached.
Ref<KXObject> objectForRecord(const CString& record, const Ref<Store>& store);

// What the local database is asked in place of "rootcollection".
inline constexpr const char* kRootCollectionName = "rootcollection";
inline constexpr const char* kLocalRootName = "local-db-root";

// This file's share of the use counter.
static StaticGuard<ObjectRegistry> objectRegistryGuard;
