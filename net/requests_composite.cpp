// Operations that combine several requests: looking up collections by
// name, global ids, creating and linking anchors, and resolving hints.
#include <cstdio>

#include "core/attr_record.h"
#include "core/entities.h"
#include "core/environ.h"
#include "net/kx_connection.h"
#include "net/requests_keys.h"

ObjectId KxConnection::findCollectionByName(const CString& name) {
  IdArray ids;
  std::vector<LONG> order;
  queryOrdered("Name=" + DecodeEntities(name), ids, &order);
  for (LONG id : order)
    if (isCollection(ObjectId(id))) return ObjectId(id);
  return ObjectId();
}

bool KxConnection::isCollection(ObjectId id) {
  CString record;
  if (!getRecord(id, record)) return false;
  return AttrRecord(record).getAttribute("DocumentType=") == "collection";
}

ObjectId KxConnection::resolveGlobalId(const CString& text) {
  unsigned server = 0;
  unsigned id = 0;
  if (std::sscanf(text.c_str(), "0x%x 0x%x", &server, &id) != 2) return ObjectId();
  return ObjectId(findGlobalObject(static_cast<LONG>(server), static_cast<LONG>(id)));
}

bool KxConnection::createAnchor(ObjectId parent, const CString& author, const CString& rights,
                                const CString& expires, const CString& opens,
                                const CString& created, const CString& title,
                                const CString& keyword, const CString& position, LONG& newId) {
  newId = 0;
  if (position.IsEmpty()) return false;
  const ProtocolKeys* keys = protocolKeys();
  if (keys == nullptr) return false;
  CString record = keys->type + "Anchor\n";
  const std::pair<const CString*, const CString*> optional[] = {{&keys->author, &author},
                                                                {&keys->rights, &rights},
                                                                {&keys->timeExpire, &expires},
                                                                {&keys->timeOpen, &opens}};
  for (const auto& [key, value] : optional)
    if (!value->IsEmpty()) record += *key + *value + "\n";
  record += keys->timeCreated + (created.IsEmpty() ? Environ::currentTime() : created) + "\n";
  if (!title.IsEmpty()) record += keys->title + title + "\n";
  if (!keyword.IsEmpty()) record += keys->keyword + keyword + "\n";
  record += keys->position + position + "\n";
  return insertAnchor(parent, record, newId);
}

bool KxConnection::linkToDestination(const CString& anchorRecord, ObjectId document,
                                     ObjectId destination, LONG& newId) {
  newId = 0;
  if (version_ >= 7)
    return insertSourceAnchor(
        anchorRecord, "Doc=" + document.Format() + "\nDest=" + destination.Format() + "\n", newId);
  if (!insertAnchor(document, anchorRecord, newId)) return false;
  LONG link = 0;
  if (!linkAnchor(ObjectId(newId), destination, "Type=Link\n", link)) {
    deleteObject(ObjectId(newId));
    return false;
  }
  return true;
}

bool KxConnection::linkToHint(const CString& anchorRecord, ObjectId document, const CString& hint,
                              LONG& newId) {
  newId = 0;
  if (version_ >= 7)
    return insertSourceAnchor(anchorRecord,
                              "Doc=" + document.Format() + "\nHint=" + hint + "\n", newId);
  if (!insertAnchor(document, anchorRecord, newId)) return false;
  CString linkRecord = "Type=Link\nHint=" + hint + "\n";
  IdArray found;
  resolveHint(hint, found);
  ObjectId destination = found.count() > 0 ? found.at(0) : ObjectId();
  LONG link = 0;
  if (!linkAnchor(ObjectId(newId), destination, linkRecord, link)) {
    deleteObject(ObjectId(newId));
    return false;
  }
  return true;
}

int KxConnection::resolveHint(const CString& hint, IdArray& ids) {
  ids.RemoveAll();
  const std::string& h = hint.str();
  size_t start = h.find_first_not_of(' ');
  if (start == std::string::npos) return 0;
  size_t end = h.find(' ', start);
  CString word = DecodeEntities(CString(h.substr(start, end == std::string::npos ? end : end - start)));
  if (word.IsEmpty()) return 0;

  if (word.GetLength() == 10 && word.Left(2) == "0x") {
    ObjectId id(word);
    if (!id.isNull()) {
      ids.Insert(id);
      return 1;
    }
  }

  // The word names the collections to search in.
  IdArray collections;
  if (!hintCache_.lookup(word, collections)) {
    if (query("Name=" + word, collections)) hintCache_.store(word, collections);
  }

  CString rest = end == std::string::npos ? CString() : CString(h.substr(end + 1));
  CString search = "Keyword=" + rest;
  // A title with a language prefix ("en:...").
  if (rest.GetLength() > 3 && rest[2] == ':') search = "Title=" + rest + "||Keyword=" + rest.Mid(3);

  if (!queryWithin(collections, search, ids)) ids.RemoveAll();
  if (ids.count() > 1) {
    std::vector<IdRecord> records;
    IdArray matched;
    if (getRecords(0, ids, search, records))
      for (const IdRecord& r : records) matched.Insert(r.id);
    ids = matched;
  }
  return ids.count();
}
