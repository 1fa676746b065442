// Anchors: the type check, parsing, the title, the destination and the
// operations forwarded to a store.
#include "core/anchor.h"

#include <utility>

#include "core/attr_record.h"
#include "core/fatal.h"
#include "core/object_id.h"
#include "core/store_registry.h"

namespace {

AnchorDestinationQuery& destinationQuery() {
  static AnchorDestinationQuery query;
  return query;
}

}  // namespace

AnchorDestinationQuery SetAnchorDestinationQuery(AnchorDestinationQuery query) {
  return std::exchange(destinationQuery(), std::move(query));
}

Anchor::Anchor(const CString& recordText) : KXObject(recordText, Ref<Store>()) {
  classCode = kClassAnchor;
  const CString type = getType();
  if (type != kxanchor::kTypeName)
    FatalErrorBox(("Fatal Error: Anchor with Type=" + type).c_str());
  Anchor::parseAttributes(recordText);
}

Anchor::~Anchor() = default;

// As the base, except that the flags stay as they were and that without a
// fetch an unparsed object with kRefreshNoFetch stays unparsed.
bool Anchor::refresh() {
  CString answer;
  if (const std::optional<bool> done = refreshKeepingFlags(answer)) return *done;
  parsing_ = true;
  KXObject::parseAttributes(answer);
  parsing_ = false;
  return parseAttributes(answer);
}

CString Anchor::getTitle() {
  CString own = KXObject::getTitle();
  if (!own.IsEmpty() || parsing_ || resolvingTitle_) return own;
  resolvingTitle_ = true;
  const Ref<KXObject> dest = getDestObject();
  CString title = dest ? dest->getTitle() : CString();
  resolvingTitle_ = false;
  return title;
}

CString Anchor::getAttributeNames() {
  return KXObject::getAttributeNames() + "Position\nLinkType\nTagAttr\n";
}

List* Anchor::getParents(List* list, std::int32_t) {
  return fetchRelated(kRequestParents, list, storeIsServer());
}

bool Anchor::removeFromStore() { return store ? store->deleteObject(self()) : false; }

bool Anchor::insertInto(const Ref<KXObject>& parent, const CString&, const char*, std::int32_t) {
  const Ref<Store> target = chooseStore(store, parent ? parent->getStore() : Ref<Store>());
  return target ? target->insertObject(self(), parent, 0) : false;
}

bool Anchor::moveBetween(const Ref<KXObject>& from, const Ref<KXObject>& to) {
  const Ref<Store> target =
      chooseStore(to ? to->getStore() : Ref<Store>(), from ? from->getStore() : Ref<Store>());
  return target ? target->moveObject(self(), from, to) : false;
}

bool Anchor::attachTo(const Ref<KXObject>& parent) {
  const Ref<Store> parentStore = parent ? parent->getStore() : Ref<Store>();
  const Ref<Store> target =
      parentStore && parentStore->getScheme() == kLocalScheme ? parentStore : store;
  return target ? target->addToCollection(self(), parent) : false;
}

bool Anchor::detachFrom(const Ref<KXObject>& parent) {
  return store ? store->removeFromCollection(self(), parent) : false;
}

bool Anchor::parseAttributes(const CString& recordText) {
  const AttrRecord attrs(recordText);
  isSource = attrs.getAttribute(kxanchor::kTAnchorKey) == kxanchor::kSourceMark;
  state = attrs.getAttribute(kxobj::kStateKey);
  destinationName = CString();
  destinationId = CString();
  return true;
}

CString Anchor::getPosition() const { return getAttribute(kxanchor::kPositionKey); }
CString Anchor::getDest() const { return getAttribute(kxobj::kDestKey); }
CString Anchor::getGDest() const { return getAttribute(kxobj::kGDestKey); }
CString Anchor::getSrc() const { return getAttribute(kxobj::kSrcKey); }
CString Anchor::getHint() const { return getAttribute(kxanchor::kHintKey); }
CString Anchor::getLinkType() const { return getAttribute(kxobj::kLinkTypeKey); }
CString Anchor::getFragment() const { return getAttribute(kxobj::kFragmentKey); }

Ref<KXObject> Anchor::getDestObject() {
  if (!parsed) refresh();
  if (!store || getIdentifier().IsEmpty()) return Ref<KXObject>();
  // A fetch may pump messages; the caller's handle may go meanwhile.
  const Ref<KXObject> keep = self();
  const CString scheme = store->getScheme();
  if (scheme != kServerScheme && scheme != kLocalScheme) return Ref<KXObject>();
  Ref<KXObject> destination;
  if (!destinationId.IsEmpty()) LookupCachedObject(destinationId, destination);
  if (!destination) {
    CString name = destinationName;
    if (name.IsEmpty() && scheme == kServerScheme) {
      std::int32_t destId = 0;
      if (destinationQuery() && destinationQuery()(*store, objectId, destId)) name = ObjectId(destId).Format();
    } else if (name.IsEmpty()) {
      name = getSrc();
    }
    if (!name.IsEmpty()) destination = fetchObject(name, Ref<Store>());
    if (!destination) return destination;
    destinationName = name;
    destinationId = destination->getIdentifier();
  }
  visited = destination->isVisited();
  return destination;
}
