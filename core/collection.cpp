// Collections: the type check, lazy members, refresh and invalidation, the
// member count and the operations forwarded to a store.
#include "core/collection.h"


#include "core/attr_record.h"
#include "core/fatal.h"

CollectionCounter::~CollectionCounter() = default;

Collection::Collection(const CString& recordText, List* initialMembers)
    : Document(recordText), members(initialMembers) {
  classCode = kClassCollection;
  const CString type = getAttribute(kxcoll::kDocumentTypeKey);
  if (type != kxcoll::kCollectionDocType && type != kxcoll::kRemoteDocType)
    FatalErrorBox(("Fatal Error: Collection with DocumentType=" + type).c_str());
  Collection::parseAttributes(recordText);
  memberCount = kxcoll::kCountNotAsked;
}

Collection::~Collection() = default;

bool Collection::refresh() {
  if (refreshFlags & kRefreshNoFetch) {
    parsed = false;
    return true;
  }
  if (!store) return false;
  parsed = true;
  if (flagsAskFetch()) {
    const CString answer = store->getRecord(getIdentifier());
    if (answer.IsEmpty()) {
      parsed = false;
      return false;
    }
    KXObject::parseAttributes(answer);
    parseAttributes(answer);
  }
  if (membersLoaded && (refreshFlags & (kRefreshAll | kRefreshMembers))) getChildren(nullptr, 0);
  return true;
}

CString Collection::getAttributeNames() {
  return Document::getAttributeNames() + "CollectionType\nDescription\nSortOrder\nLicense\n";
}

void Collection::dropMembers(std::uint32_t memberFlags) {
  OwnedMemberList old = std::move(members);
  for (ListElement* e = old->first(); e; e = e->next())
    if (KXObject* member = ObjectOf(e)) member->invalidate(memberFlags);
}

void Collection::invalidate(std::uint32_t flags) {
  Document::invalidate(flags);
  memberCount = kxcoll::kCountNotAsked;
  if (members && !members->isEmpty() &&
      (flags & (kRefreshAll | kRefreshNoFetch | kRefreshMembers)))
    dropMembers(kRefreshAttributes);
}

List* Collection::getParents(List* list, std::int32_t) {
  if (!store) return nullptr;
  return fetchRelated(kRequestParents, list, storeIsServer());
}

List* Collection::getMembers(List* list, std::int32_t) {
  if (!store) return nullptr;
  visited = true;
  return fetchRelated(kRequestMembers, list, storeIsServer() || isNew());
}

bool Collection::removeFromStore() { return store ? store->deleteObject(self()) : false; }

bool Collection::insertInto(const Ref<KXObject>& parent, const CString&, const char*,
                            std::int32_t) {
  if (!store) return false;
  const Ref<KXObject> keep = self();
  const Ref<Store> own = store;
  const bool done = own->insertObject(keep, parent, 0);
  if (done && own->getScheme() == kLocalScheme) refresh();
  return done;
}

bool Collection::moveBetween(const Ref<KXObject>& from, const Ref<KXObject>& to) {
  const Ref<Store> target =
      chooseStore(to ? to->getStore() : Ref<Store>(), from ? from->getStore() : Ref<Store>());
  return target ? target->moveObject(self(), from, to) : false;
}

bool Collection::attachTo(const Ref<KXObject>& parent) {
  const Ref<Store> parentStore = parent ? parent->getStore() : Ref<Store>();
  const Ref<Store> target =
      parentStore && parentStore->getScheme() == kLocalScheme ? parentStore : store;
  return target ? target->addToCollection(self(), parent) : false;
}

bool Collection::detachFrom(const Ref<KXObject>& parent) {
  return store ? store->removeFromCollection(self(), parent) : false;
}

std::int32_t Collection::getMemberCount() {
  if (!store) return kxcoll::kCountUnavailable;
  if (memberCount == kxcoll::kCountNotAsked) {
    memberCount = kxcoll::kCountUnavailable;
    if (storeIsLocal())
      if (auto* counter = dynamic_cast<CollectionCounter*>(store.get()))
        memberCount = counter->collectionCount(self());
  }
  return memberCount;
}

bool Collection::parseAttributes(const CString&) { return true; }

void Collection::clearMembers() {
  members.reset();
  membersLoaded = false;
}

List* Collection::getChildren(List* list, std::int32_t unused) {
  if (!parsed) refresh();
  if (!members) members.reset(getMembers(list, unused));
  membersLoaded = true;
  return members.get();
}

CString Collection::getCollectionType() const {
  return getAttribute(kxcoll::kCollectionTypeKey);
}
