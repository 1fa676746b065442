// The session's request handles for everything that returns more than one
// object: members, parents, anchors, links, key queries, user and group
// lookups (hit lists) and full-text searches. getResults turns the next
// hits into objects, fetching their records in one request per batch.
#include <cmath>
#include <map>
#include <memory>

#include "core/document.h"
#include "core/kx_object.h"
#include "core/list.h"
#include "core/store_registry.h"
#include "net/kx_session.h"

namespace {

constexpr const char* kAnchorType = "Anchor";

// The ids (above 0) of the listed objects: the collections a query or
// search is restricted to.
IdArray CollectionIds(const List& collections) {
  IdArray ids;
  for (ListElement* e = collections.first(); e != nullptr; e = e->next()) {
    const KXObject* object = ObjectOf(e);
    if (object != nullptr && object->getObjectId() > 0) ids.Insert(ObjectId(object->getObjectId()));
  }
  return ids;
}

bool IsRemoteDocument(KXObject& object) {
  return object.getType() == kxdoc::kTypeName &&
         object.getAttribute(kxdoc::kDocumentTypeKey) == kxdoc::kRemote;
}

// A record with a line of its own appended (a line feed first unless it
// ends with one already).
CString WithLine(const CString& record, const CString& line) {
  CString out = record;
  if (!out.IsEmpty() && out.Right(1) != "\n") out += "\n";
  out += line;
  return out;
}

}  // namespace

StoreEntry* KxSession::openRequest(const Ref<KXObject>& object, std::int32_t kind,
                                   List* collections, const CString& text) {
  if (!connected()) return nullptr;
  switch (kind) {
    case kRequestRead:
      return openContent(object, text);
    case kRequestFullText:
      return openSearch(object, collections, text);
    case kRequestMembers:
    case kRequestParents:
    case kRequestAnchors:
    case kRequestReferrers:
    case kRequestKeyQuery:
    case kRequestGroupsNamed:
    case kRequestUsersNamed:
    case kRequestGroupMembers:
      return openHits(object, kind, collections, text);
    default:
      return nullptr;  // write transfers (1) and unknown kinds
  }
}

StoreEntry* KxSession::openHits(const Ref<KXObject>& object, std::int32_t kind, List* collections,
                                const CString& text) {
  const bool aboutObject = kind >= kRequestMembers && kind <= kRequestReferrers;
  if (aboutObject && !object) return nullptr;
  auto entry = std::make_unique<KxHitEntry>();
  entry->kind = kind;
  entry->scheme = kServerScheme;
  entry->object = object;
  entry->query = text;
  const ObjectId id(object ? object->getObjectId() : 0);

  bool ok = false;
  switch (kind) {
    case kRequestMembers:
      if (IsRemoteDocument(*object)) {
        entry->remoteMembers = true;
        ok = connection_->getRemoteMembers(object->getRecord(), text, entry->records);
      } else {
        ok = connection_->getMembers(id, entry->hits);
      }
      break;
    case kRequestParents:
      ok = object->getType() == kAnchorType ? connection_->getAnchorParents(id, entry->hits)
                                            : connection_->getParents(id, entry->hits);
      break;
    case kRequestAnchors:
      ok = connection_->getAnchors(id, entry->hits);
      break;
    case kRequestReferrers:
      ok = connection_->getLinks(id, entry->hits);
      break;
    case kRequestKeyQuery:
      ok = collections ? connection_->queryWithin(CollectionIds(*collections), text, entry->hits)
                       : connection_->query(text, entry->hits);
      break;
    case kRequestGroupsNamed:
      ok = connection_->query("UGroup=" + text + "\n", entry->hits);
      break;
    case kRequestUsersNamed:
      ok = connection_->query("UName=" + text + "\n", entry->hits);
      break;
    case kRequestGroupMembers:
      ok = connection_->query("Group=" + text + "\n", entry->hits);
      break;
    default:
      break;
  }
  if (!ok) return nullptr;
  entry->announcedSize = entry->remoteMembers ? static_cast<std::int32_t>(entry->records.size())
                                              : entry->hits.count();
  return entry.release();
}

StoreEntry* KxSession::openSearch(const Ref<KXObject>& object, List* collections,
                                  const CString& text) {
  auto entry = std::make_unique<KxSearchEntry>();
  entry->kind = kRequestFullText;
  entry->scheme = kServerScheme;
  entry->object = object;
  entry->query = text;
  const bool ok = collections
                      ? connection_->fullTextWithin(CollectionIds(*collections), text,
                                                    entry->features)
                      : connection_->fullTextSearch(text, entry->features);
  if (!ok) return nullptr;
  entry->announcedSize = entry->features.count();
  return entry.release();
}

int KxSession::SearchScore(float weight, float best) {
  // Without a weight above 0 there is nothing to measure against.
  if (!(best > 0.0f)) return 0;
  const double score = static_cast<double>(weight) / static_cast<double>(best) * 1000.0;
  if (!std::isfinite(score)) return 0;
  if (score > 1000.0) return 1000;
  if (score < -1000000.0) return -1000000;
  return static_cast<int>(score);  // toward zero
}

bool KxSession::closeRequest(StoreEntry* entry) {
  delete entry;
  return false;
}

std::int32_t KxSession::writeRequest(StoreEntry*, const char*, std::int32_t) { return -1; }

// Fetches the records of `ids` in one request and appends an object for
// each, in the order of `ids`. `extras`, when given, holds one line per id
// to append to its record (the score and positions of a search hit).
void KxSession::appendRecords(const std::vector<LONG>& ids, const std::vector<CString>* extras,
                              List& list) {
  IdArray asked;
  for (LONG id : ids) asked.Insert(ObjectId(id));
  std::vector<IdRecord> records;
  if (!connection_->getRecords(0, asked, CString(), records)) return;
  std::map<LONG, const CString*> byId;
  for (const IdRecord& r : records) byId.emplace(r.id.value(), &r.record);

  const Ref<Store> self(this);
  for (size_t i = 0; i < ids.size(); ++i) {
    auto found = byId.find(ids[i]);
    if (found == byId.end()) continue;  // gone, or an anchor an old server could not complete
    const CString record = extras ? WithLine(*found->second, (*extras)[i]) : *found->second;
    Ref<KXObject> object = objectForRecord(record, self);
    if (object) AppendObject(list, object);
  }
}

List* KxSession::getResults(StoreEntry* entry, std::int32_t n, List* list) {
  if (!connected() || entry == nullptr || entry->scheme != kServerScheme) return nullptr;
  auto* hits = dynamic_cast<KxHitEntry*>(entry);
  auto* search = dynamic_cast<KxSearchEntry*>(entry);
  if (hits == nullptr && search == nullptr) return list;

  std::int32_t total = 0;
  if (search != nullptr) total = search->features.count();
  else if (hits->remoteMembers) total = static_cast<std::int32_t>(hits->records.size());
  else total = hits->hits.count();
  if (total == 0 || entry->delivered < 0) return list;
  const std::int32_t left = total - entry->delivered;
  if (left <= 0) return list;
  if (n < 0 || n > left) n = left;
  if (n == 0) return list;
  if (list == nullptr) list = NewObjectList();

  const std::int32_t first = entry->delivered;
  if (search != nullptr) {
    // Scores are measured against the best hit of the whole search.
    float best = 0.0f;
    for (const Features* f = search->features.first(); f; f = FeatureVector::next(f))
      if (f->weight() > best) best = f->weight();
    std::vector<LONG> ids;
    std::vector<CString> extras;
    std::int32_t index = 0;
    for (const Features* f = search->features.first(); f && index < first + n;
         f = FeatureVector::next(f), ++index) {
      if (index < first) continue;
      CString lines;
      lines.Format("Score=%d\n", SearchScore(f->weight(), best));
      lines += "Positions=" + f->entry().formatPositions() + "\n";
      ids.push_back(f->id());
      extras.push_back(lines);
    }
    appendRecords(ids, &extras, *list);
  } else if (hits->remoteMembers) {
    const Ref<Store> self(this);
    for (std::int32_t i = first; i < first + n; ++i) {
      Ref<KXObject> object = objectForRecord(hits->records[static_cast<size_t>(i)], self);
      if (object) AppendObject(*list, object);
    }
  } else {
    std::vector<LONG> ids;
    for (std::int32_t i = first; i < first + n; ++i) ids.push_back(hits->hits.at(i).value());
    std::vector<CString> extras;
    if (entry->kind == kRequestKeyQuery) extras.assign(ids.size(), CString("Score=1000\n"));
    appendRecords(ids, entry->kind == kRequestKeyQuery ? &extras : nullptr, *list);
  }
  entry->delivered += n;
  return list;
}
