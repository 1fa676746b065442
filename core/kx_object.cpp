// KXObject: construction, state flags, children, refresh, and the operations
// that forward to the store.
#include "core/kx_object.h"

#include <ctime>

#include "core/store_registry.h"

namespace {
int gLiveObjects = 0;
}  // namespace

int KXObject::LiveCount() { return gLiveObjects; }

KXObject::KXObject(const CString& recordText, const Ref<Store>& s)
    : store(s), created(static_cast<std::int32_t>(std::time(nullptr))) {
  ++gLiveObjects;
  // This class's parse only: a subclass's fields do not exist yet.
  KXObject::parseAttributes(recordText);
}

KXObject::~KXObject() {
  --gLiveObjects;
  if (nameList) nameList->clearAndDelete();
  delete nameList;
  // The children belong to the object (removeChild deletes them too); left
  // in the list they would be lost.
  children.clearAndDelete();
}

// Without kRefreshAll or kRefreshAttributes nothing is fetched: kRefreshNoFetch
// then leaves the object unparsed, otherwise it counts as parsed.
bool KXObject::refresh() {
  if (!flagsAskFetch()) {
    parsed = (refreshFlags & kRefreshNoFetch) == 0;
    return true;
  }
  CString answer;
  if (!fetchRecord(answer)) return false;
  const bool ok = parseAttributes(answer);
  refreshFlags = 0;
  return ok;
}

bool KXObject::fetchRecord(CString& answer) {
  if (!store) return false;
  parsed = true;
  answer = store->getRecord(getIdentifier());
  if (answer.IsEmpty()) {
    parsed = false;
    return false;
  }
  return true;
}

std::optional<bool> KXObject::refreshKeepingFlags(CString& answer) {
  if (!flagsAskFetch()) {
    if ((refreshFlags & kRefreshNoFetch) == 0) parsed = true;
    return true;
  }
  if (!fetchRecord(answer)) return false;
  return std::nullopt;
}

void KXObject::removeChild(ListElement* child) {
  if (!child) return;
  // Only an element of this list: unlinking a stranger would corrupt its
  // own list's count.
  for (ListElement* e = children.first(); e; e = e->next()) {
    if (e == child) {
      children.unlink(child);
      delete child;
      return;
    }
  }
}

List* KXObject::getChildren() { return &children; }

CString KXObject::getIdentifier() { return store ? objectIdText : CString(); }

bool KXObject::isMarked() { return marked; }
bool KXObject::isVisited() { return visited; }
void KXObject::setVisited() { visited = true; }
bool KXObject::isParsed() { return parsed; }

void KXObject::invalidate(std::uint32_t flags) {
  parsed = false;
  refreshFlags = flags;
}

void KXObject::setRequestText(const CString& text) { requestText = text; }

bool KXObject::loadContent(int, const CString&, const CString&, const CString&) { return false; }
bool KXObject::storeContentFromMemory(const char*, std::int32_t) { return false; }

bool KXObject::reservedContentOperation(const CString&, const CString&, std::int32_t) {
  return false;
}

bool KXObject::removeFromStore() { return false; }

bool KXObject::insertInto(const Ref<KXObject>&, const CString&, const char*, std::int32_t) {
  return false;
}

bool KXObject::moveBetween(const Ref<KXObject>&, const Ref<KXObject>&) { return false; }
bool KXObject::attachTo(const Ref<KXObject>&) { return false; }
bool KXObject::detachFrom(const Ref<KXObject>&) { return false; }

bool KXObject::lock() { return store ? store->lockObject(self()) : false; }
bool KXObject::unlock() { return store ? store->unlockObject(self()) : false; }

CString KXObject::getUserName() { return store ? store->getUser() : CString(kxobj::kAnonymous); }

bool KXObject::isNew() { return objectId == 0; }

Ref<KXObject> KXObject::getOwnerObject() {
  if (ownerName.IsEmpty()) return Ref<KXObject>();
  return fetchObject(ownerName, Ref<Store>());
}

bool KXObject::isAnonymous() { return getUserName() == kxobj::kAnonymous; }

std::int32_t KXObject::getMemberCount() { return 0; }

Ref<Store> KXObject::chooseStore(const Ref<Store>& a, const Ref<Store>& b) {
  auto is = [](const Ref<Store>& s, const char* scheme) { return s && s->getScheme() == scheme; };
  if (is(a, kLocalScheme)) return a;
  if (is(b, kLocalScheme)) return b;
  if (is(a, kServerScheme)) return a;
  if (is(b, kServerScheme)) return b;
  return a;
}

void KXObject::addChild(ListElement* child) {
  if (child) children.append(child);
}

void KXObject::setNameList(const List& source) {
  // The new list first: the source may be this object's own list.
  auto* fresh = new List;
  for (ListElement* e = source.first(); e; e = e->next()) {
    if (const auto* name = dynamic_cast<const NameElement*>(e))
      fresh->append(new NameElement(name->text));
  }
  if (nameList) nameList->clearAndDelete();
  delete nameList;
  nameList = fresh;
}

bool KXObject::storeIsServer() const { return store && store->getScheme() == kServerScheme; }
bool KXObject::storeIsLocal() const { return store && store->getScheme() == kLocalScheme; }
