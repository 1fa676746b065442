// The anchors placed in a document: each covers a range of positions and
// belongs to a link record (borrowed from the document's record list) and
// an anchor style. The document keeps them on one list in the order it added
// them; the searches below serve the mouse and the Tab key.
#pragma once

#include "core/list.h"
#include "text/position/position.h"

class AnchorRecord;

class AnchorRange : public PositionRange, public ListElement {
 public:
  AnchorRange(const Position& start, const Position& end, AnchorRecord* record, LONG styleNumber = 0)
      : PositionRange(start, end), record_(record), styleNumber_(styleNumber) {}

  AnchorRecord* Record() const { return record_; }
  LONG StyleNumber() const { return styleNumber_; }
  void SetStyleNumber(LONG number) { styleNumber_ = number; }

  // A range from the record's "Position=" value (two positions, Parse
  // forms); null when either cannot be read.
  static AnchorRange* FromPosition(AnchorRecord* record);

 private:
  AnchorRecord* record_;
  LONG styleNumber_;
};

// The first range, in list order, with start <= position <= end (the ends
// taken as stored); null when none.
AnchorRange* FindContaining(const List& ranges, const Position& position);

// The anchor the Tab key moves to from `selection` (Shift: forward false):
// from the range equal to the selection to its neighbour, skipping neighbours
// that end where the selection ends; without such a range, the first one
// after the selection (forward) or the last one before it (backward).
// Running off the list wraps to the first or last range; null when empty.
AnchorRange* FindNext(const List& ranges, const PositionRange& selection, bool forward);
