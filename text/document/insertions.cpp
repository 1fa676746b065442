#include "text/document/insertions.h"

#include <cstdlib>
#include <new>

#include "core/attr_record.h"
#include "text/anchors/anchor_record.h"
#include "text/anchors/anchor_token.h"
#include "text/token_items.h"
#include "text/token_source.h"

std::unique_ptr<TokenItem> Insertion::MakeItem(TokenSource& source) { return source.NextToken(); }

namespace {

LONG subKindOf(const TokenItem* item) {
  return item && item->Kind() == kAnchorItem ? static_cast<const AnchorToken*>(item)->subKind : -1;
}

}  // namespace

bool Insertion::precedes(const ListElement& other) const {
  const auto& n = static_cast<const Insertion&>(other);
  if (position != n.position) return position < n.position;
  const TokenItem* mine = WrappedItem();
  const TokenItem* theirs = n.WrappedItem();
  if (!mine || !theirs) return false;
  LONG e = subKindOf(mine);
  LONG f = subKindOf(theirs);
  return e == AnchorToken::kBegin || (e == AnchorToken::kInline && f != AnchorToken::kBegin);
}

TagInsertion::~TagInsertion() { pairs.clearAndDelete(); }

std::unique_ptr<TokenItem> TagInsertion::MakeItem(TokenSource& source) {
  std::unique_ptr<TokenItem> next = source.NextToken();
  if (next && next->Kind() == kEventItem && Due(next->start, source.PeekOffset())) {
    auto* event = static_cast<TokenEvent*>(next.get());
    CopyPairs(pairs, event->subItems);
    event->linkItem = record;
  }
  return next;
}

ItemInsertion::ItemInsertion(std::unique_ptr<AnchorToken> wrapped)
    : Insertion(wrapped->start), item(std::move(wrapped)) {}

ItemInsertion::~ItemInsertion() = default;

const TokenItem* ItemInsertion::WrappedItem() const { return item.get(); }

std::unique_ptr<TokenItem> ItemInsertion::MakeItem(TokenSource& source) {
  const LONG p = position;
  if (p == 0 || !item) return std::move(item);
  std::unique_ptr<TokenItem> next = source.NextToken();
  if (!next) return std::move(item);
  const LONG s = next->start;
  const LONG q = source.PeekOffset();
  if (p < s || p > q) return next;
  if (next->IsText() && p != s) {
    // The anchor falls inside the text: first part, anchor, rest.
    std::unique_ptr<TokenItem> rest;
    next->Split(p, source, rest);
    if (rest) source.Requeue(std::move(rest));
    source.Requeue(std::move(item));
    return next;
  }
  if (p == s && (next->IsText() || next->Kind() != kAnchorItem)) {
    source.PushBack(std::move(next));
    return std::move(item);
  }
  source.Requeue(std::move(item));
  return next;
}

namespace {

// The two numbers of "Position=": start and end (strtol, base 0).
void positionsOf(const AttrRecord& record, LONG& start, LONG& end) {
  start = end = 0;
  CString value;
  if (!record.find("Position=", value)) return;
  char* rest = nullptr;
  start = static_cast<LONG>(std::strtol(value.c_str(), &rest, 0));
  end = static_cast<LONG>(std::strtol(rest, nullptr, 0));
}

std::unique_ptr<Insertion> anchorItem(LONG at, LONG subKind, AnchorRecord* record) {
  auto token = std::unique_ptr<AnchorToken>(new (std::nothrow) AnchorToken(at, subKind, record));
  if (!token) return nullptr;
  return std::unique_ptr<Insertion>(new (std::nothrow) ItemInsertion(std::move(token)));
}

}  // namespace

MadeInsertion MakeInsertion(AnchorRecord* record, bool first) {
  MadeInsertion made;
  AttrRecord attrs(record->Text());
  CString type;
  if (!attrs.find("LinkType=", type)) type = "reference";
  type.MakeLower();
  LONG start = 0;
  LONG end = 0;
  positionsOf(attrs, start, end);
  if (type == "intag") {
    auto tag = std::make_unique<TagInsertion>(start, record);
    CString value;
    if (!attrs.find("Dest=", value)) value = attrs.getAttribute("Hint=");
    // Every "TagAttr=" line in record order (a sorted set would lose it).
    const CString& text = record->Text();
    static const char kKey[] = "TagAttr=";
    for (int at = 0; at < text.GetLength();) {
      int lineEnd = text.Find('\n', at);
      if (lineEnd < 0) lineEnd = text.GetLength();
      if (text.Mid(at, sizeof kKey - 1) == kKey)
        tag->pairs.append(new AttributePair(text.Mid(at + sizeof kKey - 1, lineEnd - at - (sizeof kKey - 1)), value));
      at = lineEnd + 1;
    }
    made.insertion = std::move(tag);
  } else if (type == "inline") {
    made.insertion = anchorItem(start, AnchorToken::kInline, record);
  } else if (type == "background") {
    made.insertion = anchorItem(start, AnchorToken::kBackground, record);
  } else if (first) {
    made.insertion = anchorItem(start, AnchorToken::kBegin, record);
    made.more = true;
  } else {
    made.insertion = anchorItem(end, AnchorToken::kEnd, record);
  }
  return made;
}

void InsertOrdered(List& insertions, Insertion* insertion) {
  // Records usually come in position order: after the last one at once.
  auto* last = static_cast<Insertion*>(insertions.last());
  if (!last || last->position < insertion->position) {
    insertions.append(insertion);
    return;
  }
  for (ListElement* e = insertions.first(); e; e = e->next()) {
    if (!e->precedes(*insertion)) {
      insertions.insertBefore(insertion, e);
      return;
    }
  }
  insertions.append(insertion);
}

void RebuildInsertions(List& insertions, AnchorRecordList& records) {
  insertions.clearAndDelete();
  for (ListElement* e = records.Records().first(); e; e = e->next()) {
    auto* record = static_cast<AnchorRecord*>(e);
    MadeInsertion made = MakeInsertion(record, true);
    if (made.more) {
      if (made.insertion) InsertOrdered(insertions, made.insertion.release());
      made = MakeInsertion(record, false);
    }
    if (made.insertion) InsertOrdered(insertions, made.insertion.release());
  }
}
