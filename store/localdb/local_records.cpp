// Roots, reading stored records back and handing them out with their
// data-set suffixes.
#include <cstdio>

#include "core/attr_record.h"
#include "core/type_registry.h"
#include "store/localdb/local_database.h"

using namespace localdb;

namespace {

constexpr const char* kHomeDataSet = "localdb";
constexpr size_t kReadPiece = 200;

std::string keyOf(const std::string& line) {
  size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

bool isReferenceKey(const std::string& key) {
  return key == "ObjectID" || key == "Parent" || key == "Dest" || key == "Src" || key == "Name";
}

// Calls `f` with each line of the text (without its "\n").
template <typename F>
void eachLine(const std::string& text, F f) {
  size_t at = 0;
  while (at < text.size()) {
    size_t nl = text.find('\n', at);
    if (nl == std::string::npos) nl = text.size();
    f(text.substr(at, nl - at));
    at = nl + 1;
  }
}

}  // namespace

bool LocalDatabase::isSpecialRootId(std::int32_t id) const {
  for (const SpecialRoot& r : specialRoots_)
    if (r.id == id) return true;
  return false;
}

bool LocalDatabase::isSpecialRootName(const std::string& name) const {
  const std::string u = upperCase(name);
  for (const SpecialRoot& r : specialRoots_)
    if (r.name == u) return true;
  return false;
}

const LocalDatabase::SpecialRoot& LocalDatabase::specialRootById(std::int32_t id) const {
  for (const SpecialRoot& r : specialRoots_)
    if (r.id == id) return r;
  return specialRoots_.front();
}

const LocalDatabase::SpecialRoot& LocalDatabase::specialRootByName(const std::string& name) const {
  const std::string u = upperCase(name);
  for (const SpecialRoot& r : specialRoots_)
    if (r.name == u) return r;
  return specialRoots_.front();
}

std::string LocalDatabase::homeLine(bool storeRoot) {
  if (!homeReference_.empty()) return {};
  std::string title = keyed_ && defaultDataSet_ > 0 ? keyed_->dataSetTitle(defaultDataSet_) : std::string();
  const std::string& rootName = specialRoots_.front().name;
  if (title.empty()) {
    homeReference_ = rootName + kNameSeparator + " " + kHomeDataSet;
    return {};
  }
  if (listLoaded_)
    homeReference_ = storeRoot ? rootName + kNameSeparator : rootName + kNameSeparator + " " + kHomeDataSet;
  else
    homeReference_ = title;
  return "Home=" + homeReference_ + "\n";
}

std::string LocalDatabase::storeRootRecord() {
  std::string r = "ObjectID=" + formatId(kRootId) + "@" + kHomeDataSet + "\n";
  r += "Type=Document\nDocumentType=collection\nTitle=en:Korvex Root\n";
  r += std::string("Name=korvexroot") + kNameSeparator + " " + kHomeDataSet + "\n";
  return r + homeLine(true);
}

std::string LocalDatabase::specialRootRecord(const SpecialRoot& root) {
  std::string r = "ObjectID=" + formatId(static_cast<std::uint32_t>(root.id)) + "@" + kHomeDataSet + "\n";
  r += "Type=Document\nDocumentType=collection\nTitle=ge:" + root.title + "\n";
  r += "Name=" + root.name + kNameSeparator + " " + kHomeDataSet + "\n";
  const size_t sets = keyed_ ? keyed_->dataSets().size() : 0;
  r += "Subdocs=" + std::to_string(sets > 0 ? sets - 1 : 0) + "\n";
  r += "Sequence=" + std::to_string(root.sequence) + "\n";
  return r + homeLine(false);
}

bool LocalDatabase::currentVersion(DataItem& item) {
  if (item.kind == DataItem::kTextItem) return true;
  if (!keyed_) return false;
  DataItem found;
  if (!keyed_->lookupKey(item.dataSet, idKey(KeyKind::kRecord, item.position), found)) return false;
  if (found.kind == DataItem::kDeleted) return false;
  item.kind = DataItem::kText;
  item.position = found.position;
  return true;
}

bool LocalDatabase::readStoredRecord(int dataSet, std::uint32_t position, std::string& out) {
  out.clear();
  char piece[kReadPiece];
  while (out.size() < kMaxRecordBytes) {
    const std::uint32_t at = position + static_cast<std::uint32_t>(out.size());
    if (at < position) break;  // past the end of the data space
    long got = keyed_->read(dataSet, at, piece, static_cast<long>(kReadPiece));
    if (got < 0) return !out.empty();
    if (got == 0) break;
    const size_t before = out.size();
    out.append(piece, static_cast<size_t>(got));
    for (size_t i = before; i < out.size(); ++i)
      if (out[i] == '\r') out[i] = '\n';
    size_t end = out.find("\n\n", before > 0 ? before - 1 : 0);
    if (end != std::string::npos) {
      out.resize(end + 1);
      return true;
    }
  }
  // A record without its end mark ends where the data or the cap ends.
  if (out.size() > kMaxRecordBytes) out.resize(kMaxRecordBytes);
  return !out.empty();
}

bool LocalDatabase::readRecord(DataItem item, std::string& out, bool dropParents) {
  out.clear();
  const std::int32_t id = static_cast<std::int32_t>(item.position);
  if (id == kRootId) {
    out = storeRootRecord();
    return true;
  }
  if (isSpecialRootId(id)) {
    out = specialRootRecord(specialRootById(id));
    return true;
  }
  if (!keyed_ || !keyed_->hasDataSet(item.dataSet)) return false;
  const std::string name = keyed_->dataSetName(item.dataSet);
  if (!currentVersion(item)) return false;
  std::string text;
  if (!readStoredRecord(item.dataSet, item.position, text)) return false;
  out = addSuffixes(text, name, dropParents);
  return true;
}

std::string LocalDatabase::addSuffixes(const std::string& record, const std::string& dataSetName, bool dropParents) {
  std::string out;
  const bool onlyId = dataSetName.empty() || dataSetName == kStoreName;
  eachLine(record, [&](std::string line) {
    while (!line.empty() && line.back() == ' ') line.pop_back();
    if (line.empty()) return;
    const std::string key = keyOf(line);
    if (key == "Dummy" || (dropParents && key == "Parent")) return;
    if (line.find(' ') == std::string::npos && (key == "ObjectID" || (!onlyId && isReferenceKey(key)))) {
      const std::string value = line.substr(key.size() + 1);
      if (isIdText(value)) {
        if (value.find('@') == std::string::npos) line += "@" + dataSetName;
      } else if (!value.empty() && value.find(kNameSeparator) == std::string::npos) {
        line += kNameSeparator + dataSetName;
      }
    }
    out += line + "\n";
  });
  return out;
}

std::string LocalDatabase::stripSuffixes(const std::string& record, const char* skipKey) {
  std::string out;
  eachLine(record, [&](std::string line) {
    if (line.empty()) return;
    const std::string key = keyOf(line);
    if (skipKey && key == skipKey) return;
    if (isReferenceKey(key)) line = key + "=" + stripStoreSuffix(line.substr(key.size() + 1));
    out += line + "\n";
  });
  return out;
}

bool LocalDatabase::findByName(const std::string& reference, DataItem& out) {
  if (!keyed_) return false;
  const std::string setName = dataSetNameOf(reference);
  std::vector<int> sets;
  if (!setName.empty()) {
    const int n = keyed_->dataSetNumber(setName);
    if (n < 0) return false;
    sets.push_back(n);
  } else {
    sets = keyed_->dataSets();
  }
  SortedStringArray terms;
  TypeRegistry::Dispatch("Name", CString(stripStoreSuffix(reference)), terms);
  if (terms.count() == 0) return false;
  const std::string key = "NAME=" + terms.at(0).str();
  for (int set : sets) {
    std::vector<KeyedStore::Hit> hits;
    keyed_->collect(set, key, false, hits);
    for (const KeyedStore::Hit& h : hits) {
      DataItem item;
      item.kind = DataItem::kText;
      item.dataSet = static_cast<std::uint8_t>(set);
      item.position = h.value;
      DataItem probe = item;
      if (!currentVersion(probe)) continue;
      // The name may have changed since this key was made.
      std::string record;
      if (!readStoredRecord(set, probe.position, record)) continue;
      SortedStringArray now;
      CString nameValue = AttrRecord(CString(record)).getAttribute("Name=");
      TypeRegistry::Dispatch("Name", nameValue, now);
      if (now.count() == 0 || upperCase(now.at(0).str()) != upperCase(terms.at(0).str())) continue;
      out = item;
      return true;
    }
  }
  return false;
}
