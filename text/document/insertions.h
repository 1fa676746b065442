// Insertions: the server keeps the anchors of a document apart from its
// text, each with the stream positions it covers. Before a load they become
// insertion records ordered by position, which the load loop weaves into the
// token stream: anchor items that begin and end anchors, inline and
// background pictures, and attributes added to the tag at a position.
#pragma once

#include <memory>

#include "core/list.h"
#include "win/types.h"

class AnchorRecord;
class AnchorRecordList;
class AnchorToken;
class TokenItem;
class TokenSource;

class Insertion : public ListElement {
 public:
  explicit Insertion(LONG position) : position(position) {}
  // The anchor item this insertion puts into the stream, if it wraps one.
  virtual const TokenItem* WrappedItem() const { return nullptr; }
  // The item to dispatch now, called after the load put its current item
  // back: the source's next item, changed or preceded as the insertion
  // requires.
  virtual std::unique_ptr<TokenItem> MakeItem(TokenSource& source);
  // Whether the item that starts at `start` (the next one at `next`) is
  // where this insertion takes effect.
  virtual bool Due(LONG start, LONG next) const { return start <= position && position <= next; }
  // Order at one position: anchor begins first, then inline pictures, then
  // the rest; an insertion without an item goes before those already there.
  bool precedes(const ListElement& other) const override;

  LONG position;
};

// Attributes given to the tag that starts at the position ("intag" links).
class TagInsertion : public Insertion {
 public:
  TagInsertion(LONG position, AnchorRecord* record) : Insertion(position), record(record) {}
  ~TagInsertion() override;
  // The tag that starts at the position, or whose span holds it; not an
  // item that merely ends where the tag begins.
  bool Due(LONG start, LONG next) const override {
    return start <= position && (position < next || position == start);
  }
  std::unique_ptr<TokenItem> MakeItem(TokenSource& source) override;

  List pairs;  // AttributePair, owned
  AnchorRecord* record;
};

// An anchor item to put into the stream at its position.
class ItemInsertion : public Insertion {
 public:
  explicit ItemInsertion(std::unique_ptr<AnchorToken> item);
  ~ItemInsertion() override;
  const TokenItem* WrappedItem() const override;
  std::unique_ptr<TokenItem> MakeItem(TokenSource& source) override;

  std::unique_ptr<AnchorToken> item;
};

// The insertion(s) of one record: an anchor of a plain link type gives a
// begin (first) and an end (then); every other type gives one.
struct MadeInsertion {
  std::unique_ptr<Insertion> insertion;
  bool more = false;
};
MadeInsertion MakeInsertion(AnchorRecord* record, bool first);

// Puts `insertion` into the ordered list.
void InsertOrdered(List& insertions, Insertion* insertion);
// Every record's insertions, in order, replacing what the list held.
void RebuildInsertions(List& insertions, AnchorRecordList& records);
