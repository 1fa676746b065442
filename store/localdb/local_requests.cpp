// Opening requests, handing their results out as objects, and the document
// transfers (reading a body, storing one with its full-text words).
#include "store/localdb/local_requests.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/attr_record.h"
#include "core/kx_object.h"
#include "core/object_id.h"
#include "core/store_registry.h"
#include "core/type_registry.h"
#include "store/localdb/local_database.h"
#include "win/kernel.h"
#include "win/user.h"

using namespace localdb;

namespace {

constexpr const char* kLocalErrorCaption = "Local Database Error";

// "0x..." or decimal; -1 when the text holds no number.
std::int64_t parseSize(const std::string& text) {
  std::uint32_t v = 0;
  return parseId(text, v) ? static_cast<std::int64_t>(v) : -1;
}

bool isTextDocument(const std::string& record) {
  AttrRecord r{CString(record)};
  return r.getAttribute("Type=") == "Document" && r.getAttribute("DocumentType=") == "text";
}

}  // namespace

DocumentRequest::~DocumentRequest() {
  if (file != HFILE_ERROR) _lclose(file);
}

StoreEntry* LocalDatabase::openRequest(const Ref<KXObject>& object, std::int32_t kind, List*, const CString& text) {
  if (!keyed_) return nullptr;
  std::unique_ptr<StoreEntry> entry;
  if (kind == kRequestRead || kind == kRequestWrite) {
    auto request = std::make_unique<DocumentRequest>();
    request->object = object;
    const bool ok = kind == kRequestRead ? locateBody(*request, object) : storeBody(*request, object, text) != 0;
    if (!ok) return nullptr;
    request->announcedSize = request->size;
    entry = std::move(request);
  } else if (kind >= kRequestMembers && kind <= kRequestFullText) {
    auto request = std::make_unique<QueryRequest>();
    request->query = text.str();
    if (kind <= kRequestReferrers)
      request->results = relations(object, kind);
    else
      request->results = query(request->query, kind == kRequestFullText);
    if (!request->results) request->results = std::make_unique<ResultSet>();
    request->announcedSize = std::min(request->results->total(), static_cast<int>(KeyedStore::kMaxHits));
    entry = std::move(request);
  } else {
    return nullptr;
  }
  entry->kind = kind;
  entry->scheme = kStoreName;
  entry->object = object;
  return entry.release();
}

bool LocalDatabase::closeRequest(StoreEntry* entry) {
  if (!entry) return false;
  if (entry->kind == kRequestWrite)
    if (auto* request = dynamic_cast<DocumentRequest*>(entry)) finishBody(*request);
  delete entry;
  return false;
}

List* LocalDatabase::getResults(StoreEntry* entry, std::int32_t n, List* list) {
  if (!keyed_ || !entry || entry->scheme != kStoreName) return nullptr;
  auto* request = dynamic_cast<QueryRequest*>(entry);
  if (!request || !request->results) return nullptr;
  if (!list) list = NewObjectList();
  if (!list) return nullptr;
  ResultSet& results = *request->results;
  const int total = std::min(results.total(), static_cast<int>(KeyedStore::kMaxHits));
  int left = total - request->delivered;
  if (n >= 0) left = std::min(left, static_cast<int>(n));
  int delivered = 0;
  for (int i = 0; i < left; ++i) {
    const ResultSet::Entry* e = results.entryAt(request->delivered + i + 1);
    if (!e) break;
    Ref<KXObject> object;
    if (ResultSet::typeOf(e->pair.key) == DataItem::kTextItem) {
      object = fetchObject(CString(e->text), Ref<Store>(this));
    } else {
      DataItem item;
      item.kind = static_cast<std::uint8_t>(ResultSet::typeOf(e->pair.key));
      item.dataSet = static_cast<std::uint8_t>(ResultSet::dataSetOf(e->pair.key));
      item.position = e->pair.value;
      std::string record;
      if (!readRecord(item, record, true)) break;
      if (!record.empty() && record.back() != '\n') record += "\n";
      record += "Score=1000\n";
      object = objectForRecord(CString(record), Ref<Store>(this));
    }
    ++delivered;
    if (object) AppendObject(*list, object);
  }
  request->delivered += delivered;
  return list;
}

// ---- Reading bodies ----

bool LocalDatabase::locateBody(DocumentRequest& request, const Ref<KXObject>& object) {
  if (!object) return false;
  std::string record;
  if (!recordOfId(object->getObjectIdText().str(), record)) record = object->recordText().str();
  AttrRecord attrs{CString(record)};
  if (attrs.getAttribute("Type=") == "Document" && attrs.getAttribute("DocumentType=") == "Remote") {
    CString message;
    message.LoadString(kStrNoRemoteObjects);
    std::string where = attrs.getAttribute("Protocol=").str() + "://" + attrs.getAttribute("Host=").str() + ":" +
                        attrs.getAttribute("Port=").str() + "/" + attrs.getAttribute("Path=").str();
    for (size_t at = 0; (at = where.find(' ', at)) != std::string::npos; at += 3) where.replace(at, 1, "%20");
    const std::string text = message.str();
    const size_t hole = text.find("%s");
    const std::string shown = hole == std::string::npos ? text : text.substr(0, hole) + where + text.substr(hole + 2);
    MessageBox(nullptr, shown.c_str(), kLocalErrorCaption, MB_OK | MB_ICONSTOP);
    return false;
  }
  const std::string path = attrs.getAttribute("Path=").str();
  if (path.compare(0, 2, "LD") == 0) {
    unsigned long position = 0;
    unsigned long size = 0;
    const int fields = std::sscanf(path.c_str() + 2, "%lx %lx", &position, &size);
    if (fields < 1) return false;
    const int dataSet = dataSetOfObject(object);
    if (dataSet < 0) return false;
    request.hasItem = true;
    request.item.dataSet = static_cast<std::uint8_t>(dataSet);
    request.item.position = static_cast<std::uint32_t>(position);
    request.item.kind = static_cast<std::uint8_t>(keyed_->kindOf(dataSet, request.item.position));
    // A document whose body was never stored reads as empty; one without a
    // size is a dictionary entry, read up to its end mark.
    if (position == DataItem::kNoPosition)
      request.size = 0;
    else if (fields == 1)
      request.size = -1;
    else
      request.size = static_cast<std::int32_t>(std::min(size, 0x7FFFFFFFul));
    return true;
  }
  if (path.compare(0, 2, "LF") == 0) {
    const std::string rest = path.substr(2);
    const size_t blank = rest.find_last_of(' ');
    if (blank == std::string::npos) return false;
    std::string name = rest.substr(0, blank);
    const size_t first = name.find_first_not_of(' ');
    name = first == std::string::npos ? std::string() : name.substr(first);
    const std::int64_t size = parseSize("0x" + rest.substr(blank + 1));
    if (name.empty() || size < 0) return false;
    request.localFile = keyed_->dictionary().findFile(name);
    request.size = static_cast<std::int32_t>(std::min<std::int64_t>(size, 0x7FFFFFFF));
    return true;
  }
  return false;
}

std::int32_t LocalDatabase::readRequest(StoreEntry* entry, char* buffer, std::int32_t capacity) {
  auto* request = dynamic_cast<DocumentRequest*>(entry);
  if (!request || !buffer || capacity <= 0 || request->writing) return 0;
  if (request->hasItem && request->size < 0) return readEntry(*request, buffer, capacity);
  if (request->position < 0) request->position = 0;
  std::int32_t count = std::min(capacity, request->size - request->position);
  if (count <= 0) return 0;
  if (!request->hasItem) {
    if (request->file == HFILE_ERROR) {
      request->file = _lopen(request->localFile.c_str(), OF_READ);
      if (request->file == HFILE_ERROR) return 0;
    }
    if (_llseek(request->file, request->position, 0) != request->position) return 0;
    UINT got = _lread(request->file, buffer, static_cast<UINT>(count));
    if (got == static_cast<UINT>(HFILE_ERROR) || got == 0) return 0;
    request->position += static_cast<std::int32_t>(got);
    return static_cast<std::int32_t>(got);
  }
  const std::uint32_t at = request->item.position + static_cast<std::uint32_t>(request->position);
  long got = keyed_->read(request->item.dataSet, at, buffer, count);
  if (got <= 0) return 0;
  if (request->item.kind == DataItem::kText)
    for (long i = 0; i < got; ++i)
      if (buffer[i] == '\r') buffer[i] = '\n';
  request->position += static_cast<std::int32_t>(got);
  return static_cast<std::int32_t>(got);
}

std::int32_t LocalDatabase::readEntry(DocumentRequest& request, char* buffer, std::int32_t capacity) {
  if (request.entryEnded) return 0;
  if (request.position < 0) request.position = 0;
  const std::int32_t count = std::min(capacity, kMaxEntryBytes - request.position);
  if (count <= 0) return 0;
  const std::uint32_t at = request.item.position + static_cast<std::uint32_t>(request.position);
  if (at < request.item.position) return 0;  // past the end of the data space
  const long got = keyed_->read(request.item.dataSet, at, buffer, count);
  if (got <= 0) return 0;
  for (long i = 0; i < got; ++i)
    if (buffer[i] == '\r') buffer[i] = '\n';
  // The entry ends after the newline of its mark "\n@1"; a newline at the
  // entry's very first byte does not end it. The mark's newline may lie in
  // the piece delivered before.
  long deliver = got;
  for (long i = 0; i < got; ++i) {
    if (buffer[i] != '@') continue;
    const char before = i > 0 ? buffer[i - 1] : request.lastDelivered;
    if (before != '\n' || request.position + i < 2) continue;
    char next = 0;
    if (i + 1 < got)
      next = buffer[i + 1];
    else if (keyed_->read(request.item.dataSet, at + static_cast<std::uint32_t>(got), &next, 1) != 1)
      next = 0;
    if (next != '1') continue;
    request.entryEnded = true;
    deliver = i;
    break;
  }
  if (deliver > 0) request.lastDelivered = buffer[deliver - 1];
  request.position += static_cast<std::int32_t>(deliver);
  return static_cast<std::int32_t>(deliver);
}

// ---- Storing bodies ----

int LocalDatabase::storeBody(DocumentRequest& request, const Ref<KXObject>& object, const CString& sizeText) {
  if (!object) return 0;
  const int dataSet = dataSetOfObject(object);
  std::uint32_t id = 0;
  if (dataSet < 0 || !parseId(object->getObjectIdText().str(), id)) return 0;
  DataItem current;
  current.dataSet = static_cast<std::uint8_t>(dataSet);
  current.position = id;
  if (!currentVersion(current)) return 0;
  std::string record;
  if (!readStoredRecord(dataSet, current.position, record)) return 0;
  const int mode = object->getClassCode() == kClassText || isTextDocument(record) ? WriteItem::kTextBodies
                                                                                  : WriteItem::kBinaryBodies;
  if (!keyed_->openAppend(dataSet, mode, request.write)) return 0;
  request.writing = true;
  request.size = static_cast<std::int32_t>(std::max<std::int64_t>(parseSize(sizeText.str()), 0));
  request.indexText = isTextDocument(record);
  request.outsideTag = true;
  request.item.dataSet = static_cast<std::uint8_t>(dataSet);
  request.item.position = id;
  return 1;
}

std::int32_t LocalDatabase::writeRequest(StoreEntry* entry, const char* buffer, std::int32_t size) {
  auto* request = dynamic_cast<DocumentRequest*>(entry);
  if (!request || !request->writing || size < 0 || (!buffer && size > 0)) return -1;
  if (!keyed_->append(request->write, buffer, size)) return -1;
  if (request->indexText) {
    std::string piece;
    for (std::int32_t i = 0; i < size; ++i) {
      const char c = buffer[i];
      if (c == '<') {
        piece += ' ';
        request->outsideTag = false;
      } else if (!request->outsideTag) {
        if (c == '>') request->outsideTag = true;
      } else if (c == '\n') {
        request->pendingLine += piece;
        piece.clear();
        indexTextLine(*request, request->pendingLine);
        request->pendingLine.clear();
      } else {
        piece += c;
      }
    }
    request->pendingLine += piece;
  }
  return size;
}

int LocalDatabase::indexTextLine(DocumentRequest& request, const std::string& line) {
  SortedStringArray terms;
  TypeRegistry::Dispatch("Title", CString("en:" + line), terms);
  int count = 0;
  for (int i = 0; i < terms.count(); ++i) {
    const std::string word = KeyedStore::foldWord(terms.at(i).str());
    if (word.empty()) continue;
    keyed_->insertKey(request.item.dataSet, word, DataItem::kWord, request.item.position);
    ++count;
  }
  return count;
}

bool LocalDatabase::finishBody(DocumentRequest& request) {
  if (!request.writing) return false;
  request.writing = false;
  if (request.indexText && !request.pendingLine.empty()) indexTextLine(request, request.pendingLine);
  request.pendingLine.clear();
  keyed_->close(request.write);
  // The body is in place; only now does a record lead to it.
  const int dataSet = request.item.dataSet;
  const std::uint32_t id = request.item.position;
  DataItem current = request.item;
  std::string record;
  if (!currentVersion(current) || !readStoredRecord(dataSet, current.position, record)) return false;
  record = stripSuffixes(record, "Score");
  char line[64];
  std::snprintf(line, sizeof line, "Path=LD0x%08x 0x%08x\n", request.write.position, request.write.written);
  std::string rebuilt;
  bool replaced = false;
  size_t at = 0;
  while (at < record.size()) {
    size_t nl = record.find('\n', at);
    if (nl == std::string::npos) nl = record.size() - 1;
    std::string one = record.substr(at, nl - at + 1);
    if (one.compare(0, 5, "Path=") == 0) {
      if (!replaced) rebuilt += line;
      replaced = true;
    } else {
      rebuilt += one;
    }
    at = nl + 1;
  }
  if (!replaced) rebuilt += line;
  WriteItem write;
  if (!keyed_->openAppend(dataSet, WriteItem::kRecords, write)) return false;
  const std::string stored = rebuilt + "\n";
  bool ok = keyed_->append(write, stored.data(), static_cast<long>(stored.size()));
  keyed_->close(write);
  ok = ok && keyed_->insertKey(dataSet, idKey(KeyKind::kRecord, id), DataItem::kText, write.position);
  return ok;
}
