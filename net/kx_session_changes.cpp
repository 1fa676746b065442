// The session's changes to objects on the server: inserting documents,
// collections and anchors (an anchor together with its link), deleting,
// collection membership, locks and attribute changes.
#include "core/anchor.h"
#include "core/attr_record.h"
#include "core/document.h"
#include "core/kx_object.h"
#include "net/kx_session.h"

namespace {

constexpr const char* kDocumentType = "Document";
constexpr const char* kAnchorType = "Anchor";

bool IsCollection(KXObject& object) {
  return object.getAttribute(kxdoc::kDocumentTypeKey) == "collection";
}

// The record without its lines that are equal to `line` (its line feed
// included), compared without regard to case. Only whole lines go: a key
// that ends another key ("Doc=" in "MyDoc=") is left alone.
CString WithoutLines(const CString& record, const CString& line) {
  CString out;
  int pos = 0;
  while (pos < record.GetLength()) {
    const int nl = record.Find('\n', pos);
    const int end = nl < 0 ? record.GetLength() : nl + 1;
    const CString current = record.Mid(pos, end - pos);
    if (current.CompareNoCase(line.c_str()) != 0 || current.GetLength() != line.GetLength())
      out += current;
    pos = end;
  }
  return out;
}

// The record without its "ObjectID=" lines.
CString WithoutIdLines(const CString& record) {
  CString out;
  int pos = 0;
  while (pos < record.GetLength()) {
    const int nl = record.Find('\n', pos);
    const int end = nl < 0 ? record.GetLength() : nl + 1;
    const CString current = record.Mid(pos, end - pos);
    if (current.Left(9) != kxobj::kObjectIDKey) out += current;
    pos = end;
  }
  return out;
}

}  // namespace

// ---- Deleting and locks ------------------------------------------------------

bool KxSession::deleteObject(const Ref<KXObject>& object) {
  if (!connected() || !object) return false;
  return connection_->deleteObject(ObjectId(object->getObjectId()));
}

bool KxSession::lockObject(const Ref<KXObject>& object) {
  if (!connected() || !object) return false;
  CString record;
  if (!connection_->lockObject(ObjectId(object->getObjectId()), record)) return false;
  refetch(*object);
  return true;
}

bool KxSession::unlockObject(const Ref<KXObject>& object) {
  if (connected() && object) connection_->unlockObject(ObjectId(object->getObjectId()));
  return true;
}

// ---- Membership ----------------------------------------------------------------

bool KxSession::changeMembership(const Ref<KXObject>& object, LONG flag, ObjectId from,
                                 ObjectId to) {
  if (!connected() || !object) return false;
  const CString type = object->getType();
  IdArray ids;
  ids.Insert(ObjectId(object->getObjectId()));
  if (type == kDocumentType && IsCollection(*object))
    return connection_->changeCollectionMembership(flag, from, to, ids);
  if (type == kDocumentType || type == kAnchorType)
    return connection_->changeMembership(flag, from, to, ids);
  return false;  // users and groups belong to no collection
}

bool KxSession::addToCollection(const Ref<KXObject>& object, const Ref<KXObject>& collection) {
  if (!collection) return false;
  return changeMembership(object, 0, ObjectId(0), ObjectId(collection->getObjectId()));
}

bool KxSession::removeFromCollection(const Ref<KXObject>& object,
                                     const Ref<KXObject>& collection) {
  if (!collection) return false;
  return changeMembership(object, 1, ObjectId(collection->getObjectId()), ObjectId(0));
}

bool KxSession::moveObject(const Ref<KXObject>& object, const Ref<KXObject>& from,
                           const Ref<KXObject>& to) {
  if (!from || !to) return false;
  return changeMembership(object, 1, ObjectId(from->getObjectId()), ObjectId(to->getObjectId()));
}

// ---- Attribute changes -----------------------------------------------------------

bool KxSession::modifyAttributes(const Ref<KXObject>& object, const CString& removeLine,
                                 const CString& addLine) {
  if (!connected() || !object) return false;
  const ObjectId id(object->getObjectId());
  bool sent = false;
  bool ok = false;
  bool addDone = false;

  if (!removeLine.IsEmpty()) {
    const int eq = removeLine.Find('=');
    const CString key = eq < 0 ? removeLine : removeLine.Left(eq);
    // A new name goes in before the old one goes out. When the server
    // refuses the new name, the old one stays: the object is never left
    // without a name while the caller hears of success.
    if (key == "Name" && addLine.Find('=') >= 0) {
      sent = true;
      ok = connection_->modifyObject(id, "add " + addLine);
      if (!ok) return false;
      addDone = true;
    }
    CString line = removeLine;
    if (eq < 0) {
      // A bare key stands for its line in the current record; the key
      // counts only at the start of a line.
      CString value;
      if (AttrRecord(object->getRecord()).find((key + "=").c_str(), value))
        line = key + "=" + value;
      else
        line.Empty();  // no such line: nothing to remove
    }
    if (!line.IsEmpty()) {
      sent = true;
      ok = connection_->modifyObject(id, "rem " + line);
      if (!ok) return false;
    }
  }

  if (!addDone && !addLine.IsEmpty()) {
    if (addLine.Find('=') >= 0) {
      sent = true;
      ok = connection_->modifyObject(id, "add " + addLine);
    } else {
      ok = false;
    }
  }
  if (sent) {
    // The refusal's code stays for getErrorText, past the fetch.
    const int refusal = connection_->error();
    refetch(*object);
    if (!ok) connection_->setError(refusal);
  }
  return ok;
}

// ---- Inserting ---------------------------------------------------------------------

bool KxSession::insertObject(const Ref<KXObject>& object, const Ref<KXObject>& parent,
                             std::int32_t) {
  if (!connected() || !object || !parent) return false;
  const CString type = object->getType();
  if (type == kDocumentType) return insertDocument(*object, parent);
  if (type == kAnchorType) return insertAnchor(*object, parent);
  return false;
}

bool KxSession::insertDocument(KXObject& object, const Ref<KXObject>& parent) {
  CString record = object.getRecord();
  if (record.Left(9) == kxobj::kObjectIDKey || record.Left(1) == "\n") {
    const int nl = record.Find('\n');
    record = nl < 0 ? CString() : record.Mid(nl + 1);
  }
  if (record.Right(1) != "\n") record += "\n";
  const ObjectId parentId(parent->getIdentifier());
  LONG newId = 0;
  if (IsCollection(object)) {
    if (!connection_->insertCollection(parentId, record, newId)) return false;
    adoptNewId(object, newId, false);
    return true;
  }
  if (!connection_->insertDocument(parentId, record, CString(), newId)) return false;
  adoptNewId(object, newId, true);
  return true;
}

bool KxSession::insertAnchor(KXObject& object, const Ref<KXObject>& parent) {
  auto* anchor = dynamic_cast<Anchor*>(&object);
  if (anchor == nullptr) return false;
  const ObjectId parentId(parent->getObjectId());
  const CString record = object.getRecord();
  const CString dest = anchor->getDest();
  const CString hint = anchor->getHint();
  LONG newId = 0;
  bool ok = false;
  if (anchor->isSourceAnchor()) {
    if (dest.Left(2) == "0x") {
      ok = connection_->linkToDestination(record, parentId, ObjectId(dest), newId);
    } else if (!dest.IsEmpty()) {
      ok = connection_->linkToHint(record, parentId, dest, newId);  // a name is a hint
    } else if (!hint.IsEmpty()) {
      ok = connection_->linkToHint(record, parentId, hint, newId);
    } else {
      // Placed by the record's own GDest= and Doc= lines, which move into
      // the placement text.
      const CString gdestLine = "GDest=" + anchor->getGDest() + "\n";
      const CString docLine = "Doc=" + object.getAttribute("Doc=") + "\n";
      const CString sent = WithoutLines(WithoutLines(record, gdestLine), docLine);
      ok = connection_->insertSourceAnchor(sent, gdestLine + docLine, newId);
    }
  } else {
    const SortedStringArray& keywords = object.getKeywords();
    const CString keyword = keywords.count() > 0 ? keywords.at(0) : CString();
    ok = connection_->createAnchor(parentId, object.getAuthor(), object.getRights(), CString(),
                                   CString(), CString(), object.getTitle(), keyword,
                                   anchor->getPosition(), newId);
  }
  if (ok) adoptNewId(object, newId, true);
  return ok;
}

void KxSession::adoptNewId(KXObject& object, LONG newId, bool fetchAgain) {
  // The object now lives on this server; one made without a store gets it.
  if (!object.getStore()) object.setStore(Ref<Store>(this));
  CString idLine;
  idLine.Format("ObjectID=0x%08x\n", static_cast<unsigned>(newId));
  // The base parse takes the id and its text from the record; the flags
  // ask it to read (and ask the next refresh to fetch).
  object.invalidate(kRefreshAttributes);
  object.KXObject::parseAttributes(idLine + WithoutIdLines(object.recordText()));
  if (fetchAgain) refetch(object);
}

void KxSession::refetch(KXObject& object) {
  // A plain refresh fetches nothing while the flags ask for nothing; a
  // change on the server must be seen, so the record is asked for.
  object.invalidate(kRefreshAttributes);
  if (!object.isParsed()) object.refresh();
}
