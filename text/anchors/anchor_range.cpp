#include "text/anchors/anchor_range.h"

#include <memory>
#include <new>

#include "core/attr_record.h"
#include "text/anchors/anchor_record.h"

AnchorRange* AnchorRange::FromPosition(AnchorRecord* record) {
  if (!record) return nullptr;
  CString value;
  if (!AttrRecord(record->Text()).find("Position=", value)) return nullptr;
  int used = 0;
  std::unique_ptr<Position> start(Position::Parse(value.c_str(), used));
  if (!start) return nullptr;
  int more = 0;
  std::unique_ptr<Position> end(Position::Parse(value.c_str() + used, more));
  if (!end) return nullptr;
  return new (std::nothrow) AnchorRange(*start, *end, record);
}

AnchorRange* FindContaining(const List& ranges, const Position& position) {
  for (ListElement* e = ranges.first(); e; e = e->next()) {
    auto* range = static_cast<AnchorRange*>(e);
    if (range->Start().LessOrEqual(position) && position.LessOrEqual(range->End())) return range;
  }
  return nullptr;
}

namespace {

AnchorRange* step(ListElement* e, bool forward) {
  return static_cast<AnchorRange*>(forward ? e->next() : e->previous());
}

AnchorRange* wrap(const List& ranges, bool forward) {
  return static_cast<AnchorRange*>(forward ? ranges.first() : ranges.last());
}

}  // namespace

AnchorRange* FindNext(const List& ranges, const PositionRange& selection, bool forward) {
  if (ranges.isEmpty()) return nullptr;
  const Position& low = selection.Lower();
  const Position& high = selection.Upper();
  for (ListElement* e = ranges.first(); e; e = e->next()) {
    auto* range = static_cast<AnchorRange*>(e);
    if (!range->Lower().Equal(low) || !range->Upper().Equal(high)) continue;
    AnchorRange* next = step(range, forward);
    while (next && next->Upper().Equal(high) && !next->Lower().Equal(low)) next = step(next, forward);
    return next ? next : wrap(ranges, forward);
  }
  if (forward) {
    for (ListElement* e = ranges.first(); e; e = e->next()) {
      auto* range = static_cast<AnchorRange*>(e);
      if (range->Start().Greater(high)) return range;
    }
  } else {
    for (ListElement* e = ranges.last(); e; e = e->previous()) {
      auto* range = static_cast<AnchorRange*>(e);
      if (range->End().Less(low)) return range;
    }
  }
  return wrap(ranges, forward);
}
