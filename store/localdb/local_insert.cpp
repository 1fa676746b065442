// Writing: new documents and anchors, deletion marks, attribute changes,
// and the attribute index of a record.
#include <algorithm>
#include <iterator>
#include <set>

#include "core/attr_record.h"
#include "core/kx_object.h"
#include "core/type_registry.h"
#include "store/localdb/local_database.h"

using namespace localdb;

namespace {

// The record without its empty lines; a last line without its newline
// gets one.
std::string withoutEmptyLines(const std::string& text) {
  std::string out;
  size_t at = 0;
  while (at < text.size()) {
    size_t nl = text.find('\n', at);
    if (nl == std::string::npos) nl = text.size();
    if (nl > at) out += text.substr(at, nl - at) + "\n";
    at = nl + 1;
  }
  return out;
}

constexpr const char* kIndexedAttributes[] = {"Title", "Name", "Author", "TimeCreated", "TimeModified", "Keyword"};

}  // namespace

std::vector<std::string> LocalDatabase::attributeKeys(const std::string& record) {
  std::vector<std::string> keys;
  AttrRecord attrs{CString(record)};
  const CString id = attrs.getAttribute("ObjectID=");
  if (!id.IsEmpty()) keys.push_back(upperCase("%RT=" + stripStoreSuffix(id.str())));
  for (const char* name : kIndexedAttributes) {
    // Every value counts: a title in each language, each keyword line.
    SortedStringArray values;
    attrs.findAll((std::string(name) + "=").c_str(), values);
    SortedStringArray terms;
    for (int i = 0; i < values.count(); ++i) TypeRegistry::Dispatch(name, values.at(i), terms);
    for (int i = 0; i < terms.count(); ++i)
      if (!terms.at(i).IsEmpty()) keys.push_back(upperCase(std::string(name) + "=" + terms.at(i).str()));
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

bool LocalDatabase::indexRecord(int dataSet, std::uint32_t id, const std::string& record) {
  bool ok = true;
  for (const std::string& key : attributeKeys(record)) ok = keyed_->insertKey(dataSet, key, DataItem::kWord, id, true) && ok;
  return ok;
}

void LocalDatabase::unindexRecord(int dataSet, std::uint32_t id, const std::string& record) {
  for (const std::string& key : attributeKeys(record)) keyed_->removeKey(dataSet, key, id);
}

std::uint32_t LocalDatabase::appendRecord(int dataSet, const std::string& body, std::uint32_t& position) {
  WriteItem write;
  if (!keyed_ || !keyed_->openAppend(dataSet, WriteItem::kRecords, write)) return 0;
  position = write.position;
  std::string record = "ObjectID=" + formatId(write.position) + "\n" + body;
  if (record.back() != '\n') record += "\n";
  record += "\n";
  bool ok = keyed_->append(write, record.data(), static_cast<long>(record.size()));
  keyed_->close(write);
  // The record key comes last: until it is there, the object does not exist.
  ok = ok && keyed_->insertKey(dataSet, idKey(KeyKind::kRecord, position), DataItem::kText, position);
  return ok ? position : 0;
}

void LocalDatabase::adopt(const Ref<KXObject>& object, int dataSet, std::uint32_t id) {
  // The object in memory becomes the stored one: its new id, with the
  // suffix of the data set it was written to, and the record as stored.
  DataItem item;
  item.kind = DataItem::kText;
  item.dataSet = static_cast<std::uint8_t>(dataSet);
  item.position = id;
  std::string record;
  if (!readRecord(item, record, false)) return;
  const CString text(record);
  object->invalidate(kRefreshAll);
  object->KXObject::parseAttributes(text);
  object->parseAttributes(text);
}

bool LocalDatabase::insertObject(const Ref<KXObject>& object, const Ref<KXObject>& container, std::int32_t) {
  if (!keyed_ || !object) return false;
  const CString type = AttrRecord(object->recordText()).getAttribute("Type=");
  if (type == "Document") return insertDocument(object, container);
  if (type == "Anchor") return insertAnchor(object, container);
  return false;
}

bool LocalDatabase::nameTaken(int dataSet, const Ref<KXObject>& object) {
  SortedStringArray names;
  AttrRecord(object->recordText()).findAll("Name=", names);
  const std::string setName = keyed_->dataSetName(dataSet);
  for (int i = 0; i < names.count(); ++i) {
    DataItem found;
    if (findByName(stripStoreSuffix(names.at(i).str()) + kNameSeparator + setName, found)) return true;
  }
  return false;
}

bool LocalDatabase::insertDocument(const Ref<KXObject>& object, const Ref<KXObject>& container) {
  const std::string containerRef = container ? container->getObjectIdText().str() : std::string();
  const int dataSet = containerRef.empty() ? defaultDataSet_ : dataSetOf(containerRef);
  if (dataSet < 0 || !keyed_->hasDataSet(dataSet)) return false;
  if (nameTaken(dataSet, object)) {
    setError(kErrNameTaken);
    return false;
  }
  std::string body = stripSuffixes(withoutEmptyLines(object->recordText().str()), "ObjectID");
  body = stripSuffixes(body, "Score");
  const CString docType = AttrRecord(object->recordText()).getAttribute("DocumentType=");
  if (docType != "collection" && docType != "Remote" && docType != "Slogan" &&
      body.find("Path=") != 0 && body.find("\nPath=") == std::string::npos)
    body += "Path=LD" + formatId(DataItem::kNoPosition) + " " + formatId(DataItem::kNoPosition) + "\n";
  // Only a stored container takes members: an id that names nothing yet
  // could become the new object's own.
  std::uint32_t parentId = 0;
  DataItem parent;
  parent.dataSet = static_cast<std::uint8_t>(dataSet);
  const bool containerStored = container && parseId(containerRef, parentId) && !dataSetNameOf(containerRef).empty() &&
                               dataSetOf(containerRef) == dataSet && static_cast<std::int32_t>(parentId) != kRootId &&
                               !isSpecialRootId(static_cast<std::int32_t>(parentId)) &&
                               (parent.position = parentId, currentVersion(parent));
  std::uint32_t id = 0;
  if (!appendRecord(dataSet, body, id)) return false;
  bool ok = true;
  if (containerStored) {
    ok = keyed_->insertKey(dataSet, idKey(KeyKind::kChild, parentId), DataItem::kText, id, true) && ok;
    ok = keyed_->insertKey(dataSet, idKey(KeyKind::kParent, id), DataItem::kText, parentId, true) && ok;
  }
  ok = indexRecord(dataSet, id, "ObjectID=" + formatId(id) + "\n" + body) && ok;
  adopt(object, dataSet, id);
  return ok;
}

bool LocalDatabase::insertAnchor(const Ref<KXObject>& object, const Ref<KXObject>& container) {
  if (!container) return false;
  AttrRecord attrs(object->recordText());
  std::string dest = attrs.getAttribute("GDest=").str();
  if (dest.empty()) dest = attrs.getAttribute("Dest=").str();
  const std::string source = referenceOf(container);
  const bool sourceAnchor = attrs.getAttribute("TAnchor=") == "Src";
  if (!sourceAnchor) dest.clear();
  // Both ends in one data set: plain ids; else the anchor keeps the
  // suffixes and is found by the references' names.
  const bool cross = sourceAnchor && differentDataSets(source, dest);
  // An anchor between two data sets belongs to neither: it goes to the
  // link data set when one is open, as memberships between data sets do.
  const int dataSet = cross && keyed_->hasDataSet(kLinkDataSet) ? kLinkDataSet : dataSetOf(source);
  if (dataSet < 0 || !keyed_->hasDataSet(dataSet)) return false;
  std::string body;
  SortedStringArray titles;
  attrs.findAll("Title=", titles);
  for (int i = 0; i < titles.count(); ++i) body += "Title=" + titles.at(i).str() + "\n";
  body += "Type=Anchor\n";
  body += sourceAnchor ? "TAnchor=Src\n" : "TAnchor=Dest\n";
  const std::string src = cross ? source : stripStoreSuffix(source);
  const std::string dst = cross ? dest : stripStoreSuffix(dest);
  if (!src.empty()) body += "Src=" + src + "\n";
  if (!dst.empty()) body += "Dest=" + dst + "\n";
  const CString position = attrs.getAttribute("Position=");
  if (!position.IsEmpty()) body += "Position=" + position.str() + "\n";
  const CString linkType = attrs.getAttribute("LinkType=");
  if (!linkType.IsEmpty()) body += "LinkType=" + linkType.str() + "\n";
  // Whatever else the anchor says (keywords, author, times) stays with it.
  const std::string rest = withoutEmptyLines(object->recordText().str());
  for (size_t at = 0; at < rest.size();) {
    const size_t nl = rest.find('\n', at);
    const std::string line = rest.substr(at, nl - at + 1);
    at = nl + 1;
    const std::string key = line.substr(0, line.find('='));
    static const char* const kWritten[] = {"ObjectID", "Parent", "Src", "Dest", "GDest", "Type", "TAnchor",
                                           "Title", "Position", "LinkType", "Score"};
    if (line.find('=') == std::string::npos ||
        std::find(std::begin(kWritten), std::end(kWritten), key) != std::end(kWritten))
      continue;
    body += line;
  }
  std::uint32_t id = 0;
  if (!appendRecord(dataSet, body, id)) return false;
  bool ok = true;
  std::uint32_t sourceId = 0;
  if (!cross && parseId(source, sourceId))
    ok = keyed_->insertKey(dataSet, idKey(KeyKind::kAnchorFrom, sourceId), DataItem::kText, id) && ok;
  else
    ok = keyed_->insertKey(dataSet, nameKey(KeyKind::kAnchorFrom, source), DataItem::kText, id) && ok;
  if (!dest.empty()) {
    std::uint32_t destId = 0;
    // Indexed under the destination the anchor leads to, "GDest=" or "Dest=".
    if (!cross && isIdText(dest) && parseId(dest, destId))
      ok = keyed_->insertKey(dataSet, idKey(KeyKind::kAnchorTo, destId), DataItem::kText, id) && ok;
    else
      ok = keyed_->insertKey(dataSet, nameKey(KeyKind::kAnchorTo, dest), DataItem::kText, id) && ok;
  }
  ok = indexRecord(dataSet, id, "ObjectID=" + formatId(id) + "\n" + body) && ok;
  adopt(object, dataSet, id);
  return ok;
}

bool LocalDatabase::deleteObject(const Ref<KXObject>& object) {
  if (!keyed_ || !object) return false;
  std::uint32_t id = 0;
  const int dataSet = dataSetOfObject(object);
  if (dataSet < 0 || !parseId(object->getObjectIdText().str(), id)) return false;
  return keyed_->insertKey(dataSet, idKey(KeyKind::kRecord, id), DataItem::kDeleted, id);
}

bool LocalDatabase::moveObject(const Ref<KXObject>& object, const Ref<KXObject>& from, const Ref<KXObject>& to) {
  return addToCollection(object, to) && removeFromCollection(object, from);
}

bool LocalDatabase::addToCollection(const Ref<KXObject>& member, const Ref<KXObject>& collection) {
  if (!keyed_ || !member || !collection) return false;
  const std::string m = referenceOf(member);
  const std::string p = referenceOf(collection);
  std::uint32_t memberId = 0;
  std::uint32_t parentId = 0;
  if (!parseId(m, memberId) || !parseId(p, parentId)) return false;
  const int dataSet = dataSetOf(m);
  if (dataSet < 0) return false;
  if (differentDataSets(m, p)) {
    // A relation record ties the two, found by the folded references.
    const int linkSet = keyed_->hasDataSet(kLinkDataSet) ? kLinkDataSet : dataSet;
    std::uint32_t record = 0;
    if (!appendRecord(linkSet, "Parent=" + p + "\nChild=" + m + "\n", record)) return false;
    bool ok = keyed_->insertKey(linkSet, nameKey(KeyKind::kParent, m), DataItem::kText, record, true);
    return keyed_->insertKey(linkSet, nameKey(KeyKind::kChild, p), DataItem::kText, record, true) && ok;
  }
  bool ok = keyed_->insertKey(dataSet, idKey(KeyKind::kParent, memberId), DataItem::kText, parentId, true);
  ok = ok && keyed_->insertKey(dataSet, idKey(KeyKind::kChild, parentId), DataItem::kText, memberId, true);
  return ok;
}

bool LocalDatabase::removeFromCollection(const Ref<KXObject>& member, const Ref<KXObject>& collection) {
  if (!keyed_ || !member || !collection) return false;
  DataItem item;
  item.dataSet = static_cast<std::uint8_t>(std::max(dataSetOfObject(member), 0));
  if (!parseId(referenceOf(member), item.position) || !currentVersion(item)) return false;
  const int parents = parentCount(member);
  if (parents == 0) return false;
  if (parents == 1) return deleteObject(member);
  const std::string m = referenceOf(member);
  const std::string p = referenceOf(collection);
  std::uint32_t memberId = 0;
  std::uint32_t parentId = 0;
  const int dataSet = dataSetOf(m);
  if (dataSet < 0 || !parseId(m, memberId) || !parseId(p, parentId)) return false;
  if (differentDataSets(m, p)) {
    for (const CrossRelation& r : crossRelations(m, KeyKind::kParent))
      if (upperCase(r.other) == upperCase(p)) {
        keyed_->removeKey(r.dataSet, nameKey(KeyKind::kParent, m), r.record);
        keyed_->removeKey(r.dataSet, nameKey(KeyKind::kChild, p), r.record);
      }
    return true;
  }
  bool ok = keyed_->removeKey(dataSet, idKey(KeyKind::kParent, memberId), parentId);
  ok = keyed_->removeKey(dataSet, idKey(KeyKind::kChild, parentId), memberId) && ok;
  return ok;
}

bool LocalDatabase::modifyAttributes(const Ref<KXObject>& object, const CString& removeLine, const CString& addLine) {
  if (!keyed_ || !object || (removeLine.IsEmpty() && addLine.IsEmpty())) return false;
  const int dataSet = dataSetOfObject(object);
  std::uint32_t id = 0;
  if (dataSet < 0 || !parseId(object->getObjectIdText().str(), id)) return false;
  DataItem current;
  current.dataSet = static_cast<std::uint8_t>(dataSet);
  current.position = id;
  std::string record;
  if (!currentVersion(current) || !readStoredRecord(dataSet, current.position, record) || record.empty()) return false;
  record = stripSuffixes(record, "Score");
  std::string old = removeLine.str();
  if (!old.empty() && old.find('=') == std::string::npos) {
    // A key alone stands for its first line, found at a line start.
    const std::string key = old + "=";
    size_t at = record.compare(0, key.size(), key) == 0 ? 0 : record.find("\n" + key);
    if (at == std::string::npos) old.clear();
    else {
      if (at > 0) ++at;
      old = record.substr(at, record.find('\n', at) - at);
    }
  }
  const std::string added = addLine.str();
  std::string rebuilt;
  bool found = false;
  size_t at = 0;
  while (at < record.size()) {
    size_t nl = record.find('\n', at);
    if (nl == std::string::npos) nl = record.size();
    const std::string line = record.substr(at, nl - at);
    at = nl + 1;
    if (!found && !old.empty() && line == old) {
      found = true;
      if (!added.empty()) rebuilt += added + "\n";
      continue;
    }
    rebuilt += line + "\n";
  }
  if (!found && !added.empty()) rebuilt += added + "\n";
  rebuilt = stripSuffixes(rebuilt);
  WriteItem write;
  if (!keyed_->openAppend(dataSet, WriteItem::kRecords, write)) return false;
  const std::string stored = rebuilt + "\n";
  bool ok = keyed_->append(write, stored.data(), static_cast<long>(stored.size()));
  keyed_->close(write);
  if (!ok) return false;
  ok = indexRecord(dataSet, id, rebuilt);
  ok = keyed_->insertKey(dataSet, idKey(KeyKind::kRecord, id), DataItem::kText, write.position) && ok;
  // Keys of the old record that the new one no longer makes.
  const std::vector<std::string> now = attributeKeys(rebuilt);
  for (const std::string& key : attributeKeys(record))
    if (!std::binary_search(now.begin(), now.end(), key)) keyed_->removeKey(dataSet, key, id);
  // A name change moves the record's key "%RT=" nowhere; nothing else to do.
  object->invalidate(kRefreshAttributes);
  object->refresh();
  return ok;
}
