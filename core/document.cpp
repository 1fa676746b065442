// Documents: construction and attributes, the identifier of remote
// documents, refresh and invalidation, and the operations forwarded to a
// store. The anchors are in document_anchors.cpp, the content operations in
// content_transfer.cpp.
#include "core/document.h"

#include <vector>

#include "core/attr_record.h"
#include "core/fatal.h"

namespace {

// Every value of `key` in `text`, in record order.
StringArray ValuesInOrder(const CString& text, const char* key) {
  StringArray values;
  const CString k(key);
  const int keyLength = k.GetLength();
  const int length = text.GetLength();
  int lineStart = 0;
  while (lineStart < length) {
    int lineEnd = text.Find('\n', lineStart);
    if (lineEnd < 0) lineEnd = length;
    if (lineEnd - lineStart >= keyLength && text.Mid(lineStart, keyLength) == k)
      values.Add(text.Mid(lineStart + keyLength, lineEnd - lineStart - keyLength));
    lineStart = lineEnd + 1;
  }
  return values;
}

// Blanks become "%20" (addresses carry no blanks).
CString EscapeBlanks(const CString& path) {
  CString out;
  for (int i = 0; i < path.GetLength(); ++i) {
    if (path[i] == ' ')
      out += "%20";
    else
      out += path[i];
  }
  return out;
}

CString SchemeOf(const Ref<KXObject>& object) {
  if (!object || !object->getStore()) return CString();
  return object->getStore()->getScheme();
}

}  // namespace

Document::Document(const CString& recordText) : KXObject(recordText, Ref<Store>()) {
  classCode = kClassDocument;
  const CString type = getAttribute(kxobj::kTypeKey);
  if (type != kxdoc::kTypeName)
    FatalErrorBox(("Fatal Error: Document with Type=" + type).c_str());
  Document::parseAttributes(recordText);
}

Document::~Document() {
  if (contentIsTemporary && !contentFile.IsEmpty()) Document::discardContentFile();
  ownedReferrers = nullptr;
  DeleteObjectList(referrers);
  referrers = nullptr;
  linkAnchors.clearAndDelete();
  sourceAnchors.clearAndDelete();
  destAnchors.clearAndDelete();
}

CString Document::getDocumentType() const { return getAttribute(kxdoc::kDocumentTypeKey); }
CString Document::getPath() const { return getAttribute(kxdoc::kPathKey); }
CString Document::getPresentationHints() const {
  return getAttribute(kxdoc::kPresentationHintsKey);
}
CString Document::getProtocol() const { return getAttribute(kxdoc::kProtocolKey); }
CString Document::getHost() const { return getAttribute(kxdoc::kHostKey); }
CString Document::getPort() const { return getAttribute(kxdoc::kPortKey); }

CString Document::remoteAddress() const {
  return getProtocol() + "://" + getHost() + ":" + getPort() + EscapeBlanks(getPath());
}

CString Document::templateSection() const {
  const CString type = getDocumentType();
  return type == kxdoc::kRemote ? remoteDocType : type;
}

bool Document::parseAttributes(const CString& recordText) {
  if (!flagsAskFetch()) return true;
  const AttrRecord attrs(recordText);
  subType = attrs.getAttribute(kxdoc::kSubTypeKey);
  inlineId = attrs.getAttribute(kxdoc::kInlineIdKey);
  mimeType = attrs.getAttribute(kxdoc::kMimeTypeKey);
  bodies = ValuesInOrder(recordText, kxdoc::kBodyKey);
  names = ValuesInOrder(recordText, kxdoc::kNameKey);
  if (attrs.getAttribute(kxdoc::kDocumentTypeKey) == kxdoc::kRemote) {
    if (objectIdText == kxdoc::kNullIdText) {
      const AttrRecord r(recordText);
      objectIdText = r.getAttribute(kxdoc::kProtocolKey) + "://" +
                     r.getAttribute(kxdoc::kHostKey) + ":" + r.getAttribute(kxdoc::kPortKey) +
                     EscapeBlanks(r.getAttribute(kxdoc::kPathKey));
    }
    remoteDocType = attrs.getAttribute(kxdoc::kRemoteDocTypeKey);
  }
  return true;
}

CString Document::getIdentifier() {
  if (getDocumentType() == kxdoc::kRemote && objectId < 1) return remoteAddress();
  return KXObject::getIdentifier();
}

CString Document::getRecord() { return KXObject::getRecord(); }

void Document::removeChild(ListElement* child) { KXObject::removeChild(child); }

CString Document::getAttributeNames() {
  CString names = KXObject::getAttributeNames() + "Name\nPresentationHints\nMimeType\nBody\nVhtml\n";
  if (getDocumentType() == kxdoc::kRemote) names += "Protocol\nHost\nPort\nPath\n";
  return names;
}

bool Document::refresh() {
  if (refreshFlags & kRefreshNoFetch) {
    parsed = false;
    return true;
  }
  if (!store) return false;
  // The reloads below hand this object to the store.
  const Ref<KXObject> keep = self();
  parsed = true;
  if (flagsAskFetch()) {
    const Ref<Store> own = store;
    const CString answer = own->getRecord(getIdentifier());
    if (answer.IsEmpty()) {
      parsed = false;
      return false;
    }
    KXObject::parseAttributes(answer);
    parseAttributes(answer);
  }
  if (anchorsLoadedOnce && (refreshFlags & (kRefreshAll | kRefreshAnchors))) loadAnchors();
  if ((refreshFlags & (kRefreshAll | kRefreshContent)) && !contentFile.IsEmpty()) {
    if (contentIsTemporary) {
      discardContentFile();
      contentIsTemporary = false;
    }
    if (!children.isEmpty()) loadContent(1, CString(), CString(), CString());
  }
  return true;
}

void Document::invalidate(std::uint32_t flags) {
  const bool hadChildren = !children.isEmpty();
  KXObject::invalidate(flags);
  if (flags & kRefreshNoFetch) {
    // Collected first: an anchor's invalidation must not meet a list that
    // changes under it.
    std::vector<Ref<KXObject>> anchors;
    for (const List* l : {static_cast<const List*>(&linkAnchors), static_cast<const List*>(&sourceAnchors),
                          static_cast<const List*>(&destAnchors), static_cast<const List*>(referrers)})
      if (l)
        for (ListElement* e = l->first(); e; e = e->next())
          if (KXObject* a = ObjectOf(e)) anchors.emplace_back(a);
    for (const Ref<KXObject>& a : anchors) a->invalidate(kRefreshAnchors);
  }
  if (flags & (kRefreshAll | kRefreshAnchors)) {
    anchorsValid = false;
    dropAnchors();
  }
  if (hadChildren) {
    const Ref<KXObject> keep = self();
    refresh();
  }
}

List* Document::runRelated(std::int32_t kind, List* list) {
  return fetchRelated(kind, list, storeIsServer());
}

List* Document::getParents(List* list, std::int32_t) {
  if (!store) return list;
  return runRelated(kRequestParents, list);
}

bool Document::removeFromStore() {
  if (!store) return false;
  const Ref<Store> own = store;
  return own->deleteObject(self());
}

bool Document::moveBetween(const Ref<KXObject>& from, const Ref<KXObject>& to) {
  if (SchemeOf(from) != SchemeOf(to)) return false;
  const Ref<Store> toStore = to ? to->getStore() : Ref<Store>();
  const Ref<Store> target = toStore && toStore->getScheme() == kLocalScheme ? toStore : store;
  if (!target) return false;
  return target->moveObject(self(), from, to);
}

bool Document::attachTo(const Ref<KXObject>& parent) {
  const Ref<Store> parentStore = parent ? parent->getStore() : Ref<Store>();
  const Ref<Store> target =
      parentStore && parentStore->getScheme() == kLocalScheme ? parentStore : store;
  if (!target) return false;
  return target->addToCollection(self(), parent);
}

bool Document::detachFrom(const Ref<KXObject>& parent) {
  if (!store) return false;
  const Ref<Store> own = store;
  return own->removeFromCollection(self(), parent);
}

void Document::discardContentFile() { contentFile.Empty(); }
