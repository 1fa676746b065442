// Reading the index: relations of an object (members, parents, anchors),
// attribute queries and full-text searches, and the check that maps every
// hit to its object's newest record and drops deleted objects.
#include <algorithm>
#include <iterator>

#include "core/attr_record.h"
#include "core/message_boxes.h"
#include "store/fulltext/language_file.h"
#include "store/localdb/local_database.h"
#include "store/localdb/query_expr.h"

using namespace localdb;

namespace {

using Ids = std::vector<std::uint32_t>;

Ids unite(const Ids& a, const Ids& b) {
  Ids out;
  std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
  return out;
}
Ids intersect(const Ids& a, const Ids& b) {
  Ids out;
  std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
  return out;
}
Ids subtract(const Ids& a, const Ids& b) {
  Ids out;
  std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
  return out;
}

int languageOfTerm(const std::string& term) {
  const std::string code = term.substr(0, 2);
  return code == "GE" || code == "DE" ? kGerman : kEnglish;
}

// The objects of one data set that a query tree selects.
Ids evaluate(KeyedStore& store, int dataSet, const QueryNode* node, bool fullText) {
  if (!node) return {};
  switch (node->op) {
    case QueryNode::kTerm: {
      KeyedStore::SearchOptions options;
      options.fullText = fullText;
      options.language = fullText ? languageOfTerm(node->term) : 0;
      return store.termHits(dataSet, node->term, node->prefix, options);
    }
    case QueryNode::kAnd:
      return intersect(evaluate(store, dataSet, node->left.get(), fullText),
                       evaluate(store, dataSet, node->right.get(), fullText));
    case QueryNode::kOr:
      return unite(evaluate(store, dataSet, node->left.get(), fullText),
                   evaluate(store, dataSet, node->right.get(), fullText));
    case QueryNode::kAndNot:
      return subtract(evaluate(store, dataSet, node->left.get(), fullText),
                      evaluate(store, dataSet, node->right.get(), fullText));
    case QueryNode::kNot:
      return subtract(store.allObjects(dataSet), evaluate(store, dataSet, node->left.get(), fullText));
  }
  return {};
}

}  // namespace

void LocalDatabase::checkResults(ResultSet& results) {
  ResultSet checked;
  for (int i = 1; i <= results.total(); ++i) {
    const ResultSet::Entry* e = results.entryAt(i);
    if (ResultSet::typeOf(e->pair.key) == DataItem::kTextItem) {
      checked.Add(e->pair, false, e->text.c_str());
      continue;
    }
    DataItem item;
    item.dataSet = static_cast<std::uint8_t>(ResultSet::dataSetOf(e->pair.key));
    item.position = e->pair.value;
    if (!currentVersion(item)) continue;
    if (checked.total() >= KeyedStore::kMaxHits) break;
    checked.Add(ResultSet::Pair{ResultSet::makeKey(item.dataSet, DataItem::kText), e->pair.value});
  }
  results.Reset();
  for (int i = 1; i <= checked.total(); ++i) {
    const ResultSet::Entry* e = checked.entryAt(i);
    results.Add(e->pair, false, e->hasText ? e->text.c_str() : nullptr);
  }
}

std::unique_ptr<ResultSet> LocalDatabase::query(const std::string& text, bool fullText, std::string* error) {
  auto results = std::make_unique<ResultSet>();
  if (!keyed_ || text.empty()) return results;
  ParsedQuery parsed = parseQuery(prepareQuery(text), fullText ? QueryMode::kFullText : QueryMode::kAttributes);
  if (!parsed.error.empty()) {
    if (error) *error = parsed.error;
    else ShowErrorText(parsed.error.c_str());
    return nullptr;
  }
  for (int dataSet : keyed_->dataSets()) {
    for (std::uint32_t id : evaluate(*keyed_, dataSet, parsed.root.get(), fullText)) {
      if (results->total() >= KeyedStore::kMaxHits) break;
      results->Add(ResultSet::Pair{ResultSet::makeKey(dataSet, DataItem::kText), id});
    }
  }
  checkResults(*results);
  return results;
}

std::unique_ptr<ResultSet> LocalDatabase::relations(const Ref<KXObject>& object, int kind) {
  auto results = std::make_unique<ResultSet>();
  if (!keyed_ || !object) return results;
  const std::string reference = referenceOf(object);
  std::uint32_t id = 0;
  const bool hasId = parseId(reference, id);
  const std::int32_t signedId = static_cast<std::int32_t>(id);
  if (kind == kRequestMembers && hasId && signedId == kRootId && isIdText(reference)) {
    for (const SpecialRoot& r : specialRoots_)
      results->Add(ResultSet::Pair{ResultSet::makeKey(0, DataItem::kText), static_cast<std::uint32_t>(r.id)});
    return results;
  }
  if (kind == kRequestMembers && hasId && isSpecialRootId(signedId)) {
    // The home collection of each open data set: the one named by its title.
    for (int dataSet : keyed_->dataSets()) {
      DataItem home;
      if (findByName(keyed_->dataSetTitle(dataSet) + kNameSeparator + keyed_->dataSetName(dataSet), home))
        results->Add(ResultSet::Pair{ResultSet::makeKey(dataSet, DataItem::kText), home.position});
    }
    return results;
  }
  if (kind == kRequestParents && hasId && (isSpecialRootId(signedId) || signedId == kRootId)) return results;
  KeyKind keyKind = KeyKind::kChild;
  switch (kind) {
    case kRequestMembers: keyKind = KeyKind::kChild; break;
    case kRequestParents: keyKind = KeyKind::kParent; break;
    case kRequestAnchors: keyKind = KeyKind::kAnchorFrom; break;
    case kRequestReferrers: keyKind = KeyKind::kAnchorTo; break;
    default: return results;
  }
  const int dataSet = dataSetOf(reference);
  const bool local = isIdText(reference) && dataSet >= 0;
  std::vector<KeyedStore::Hit> hits;
  if (local) {
    keyed_->collect(dataSet, idKey(keyKind, id), false, hits);
    for (const KeyedStore::Hit& h : hits)
      results->Add(ResultSet::Pair{ResultSet::makeKey(dataSet, DataItem::kText), h.value});
  }
  // Members and parents in other data sets, through relation records; one
  // in a data set that is not open is left out, one of another store is
  // handed out by its reference.
  if (kind == kRequestMembers || kind == kRequestParents) {
    for (const CrossRelation& r : crossRelations(reference, keyKind)) {
      std::uint32_t otherId = 0;
      const int otherSet = dataSetOf(r.other);
      if (!handlesUrl(CString(r.other)))
        results->Add(ResultSet::Pair{ResultSet::makeKey(0, DataItem::kTextItem), 0}, false, r.other.c_str());
      else if (otherSet >= 0 && parseId(r.other, otherId))
        results->Add(ResultSet::Pair{ResultSet::makeKey(otherSet, DataItem::kText), otherId});
    }
  }
  // Anchors whose other end lies in another data set or store are filed
  // under the folded reference, in the data set of the anchor.
  if (kind == kRequestAnchors || kind == kRequestReferrers) {
    for (int set : keyed_->dataSets()) {
      hits.clear();
      keyed_->collect(set, nameKey(keyKind, reference), false, hits);
      for (const KeyedStore::Hit& h : hits)
        results->Add(ResultSet::Pair{ResultSet::makeKey(set, DataItem::kText), h.value});
    }
  }
  checkResults(*results);
  if (kind == kRequestParents && results->total() == 0 && local) {
    // Every local object without a parent hangs under the local root.
    for (const SpecialRoot& r : specialRoots_)
      results->Add(ResultSet::Pair{ResultSet::makeKey(0, DataItem::kText), static_cast<std::uint32_t>(r.id)});
  }
  return results;
}

std::vector<LocalDatabase::CrossRelation> LocalDatabase::crossRelations(const std::string& reference, KeyKind kind) {
  std::vector<CrossRelation> out;
  const char* otherKey = kind == KeyKind::kParent ? "Parent=" : "Child=";
  for (int set : keyed_->dataSets()) {
    std::vector<KeyedStore::Hit> hits;
    keyed_->collect(set, nameKey(kind, reference), false, hits);
    for (const KeyedStore::Hit& h : hits) {
      DataItem item;
      item.dataSet = static_cast<std::uint8_t>(set);
      item.position = h.value;
      std::string record;
      if (!currentVersion(item) || !readStoredRecord(set, item.position, record)) continue;
      const std::string other = AttrRecord(CString(record)).getAttribute(otherKey).str();
      if (!other.empty()) out.push_back(CrossRelation{set, h.value, other});
    }
  }
  return out;
}

int LocalDatabase::parentCount(const Ref<KXObject>& object) {
  const std::string reference = referenceOf(object);
  std::uint32_t id = 0;
  const int dataSet = dataSetOf(reference);
  if (dataSet < 0 || !parseId(reference, id)) return 0;
  std::vector<KeyedStore::Hit> hits;
  keyed_->collect(dataSet, idKey(KeyKind::kParent, id), false, hits);
  int count = 0;
  for (const KeyedStore::Hit& h : hits) {
    DataItem parent;
    parent.dataSet = static_cast<std::uint8_t>(dataSet);
    parent.position = h.value;
    if (currentVersion(parent)) ++count;
  }
  return count + static_cast<int>(crossRelations(reference, KeyKind::kParent).size());
}

std::int32_t LocalDatabase::collectionCount(const Ref<KXObject>& collection) {
  if (!keyed_ || !collection) return 0;
  return std::min(relations(collection, kRequestMembers)->total(), static_cast<int>(KeyedStore::kMaxHits));
}
