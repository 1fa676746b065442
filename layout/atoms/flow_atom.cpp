#include "layout/atoms/flow_atom.h"

#include <algorithm>
#include <new>

#include "layout/atoms/text_output.h"

namespace {

constexpr LONG kUnbounded = 0x3FFFFFF;
constexpr LONG kNoSpacingYet = 20000;
// Lines or children between two marks of a flow's running sums.
constexpr LONG kMarkEvery = 64;

bool IsInlineAtom(const Atom* a) {
  DWORD mask = a->TypeMask();
  return mask == kWordMask || mask == kPictureMask || mask == kFormMask;
}

bool IsBlockAtom(const Atom* a) {
  DWORD mask = a->TypeMask();
  return (mask & kFlowMask) != 0 || mask == kTableMask;
}

}  // namespace

// ---- LayoutLine

LayoutLine::LayoutLine(RecordStore& store, const Position& at, PositionItem* item, LONG x)
    : start(&startAt_),
      continuation(&continuationAt_),
      breakItem(item),
      left(x),
      cursor(x),
      startAt_(at.Number()),
      continuationAt_(at.Number()),
      store_(&store),
      first_(store.size()) {}

LayoutLine::~LayoutLine() {
  if (store_->size() > first_) store_->resize(first_);
}

void LayoutLine::AddRecord(TextOutput* ctx, Atom* atom, const Position& from, const Position& to, LONG gap,
                           int extentFlag) {
  LayoutRect extent;
  if (atom->Extent(extent, ctx, from, to, extentFlag) != 0 || !extent.IsComputed())
    extent = LayoutRect::Of(0, 0, 0, 0);
  LONG side = std::max<LONG>(0, atom->Spacing(kSpaceLeft, ctx, FirstPosition(), LastPosition(), 1));
  PlacementRecord* previous = LastRecord();
  if (!previous) {
    gap = side;
  } else if (side > gap) {
    previous->right += side - gap;
    gap = side;
  }
  // Only the last line of a flow takes records; its stretch ends the store.
  if (store_->size() != first_ + count_) return;
  try {
    store_->push_back(PlacementRecord{});
  } catch (const std::bad_alloc&) {
    return;
  }
  ++count_;
  PlacementRecord* record = LastRecord();
  cursor += gap;
  record->left = cursor - extent.left;
  record->right = record->left + extent.right;
  record->atom = atom;
  cursor = record->right;
  top = std::min(top, extent.top);
  bottom = std::max(bottom, extent.bottom);
  continuation->SetNumber(to.Number());
}

Position* LayoutLine::Place(TextOutput* ctx, const LayoutRect& rect, Atom* atom, const Position& from, int flag) {
  LONG gap = 0;
  if (HasRecords() && (!breakItem || breakItem->Start() < continuation->Number()))
    gap = std::max<LONG>(0, LastRecord()->atom->Spacing(kSpaceRight, ctx, FirstPosition(), LastPosition(), 1));
  Position* c = nullptr;
  int r = atom->Format(ctx, LayoutRect::Of(0, rect.right - cursor - gap, rect.top, rect.bottom), c, from, 1);
  Position* result = nullptr;
  bool split = false;
  if (r == kFormatFits) {
    if (c)
      c->SetNumber(atom->End());  // what EndPosition would make, without a new one
    else
      c = atom->EndPosition();
  } else if (r == kFormatPartial) {
    split = true;
  } else if (r == kFormatTooWide && !HasRecords()) {
    LayoutRect lower, natural;
    if (atom->NaturalSize(lower, natural, ctx)) {
      delete c;
      c = nullptr;
      r = atom->Format(ctx, LayoutRect::Of(lower.left, lower.right, lower.top, rect.bottom), c, from, 1);
      if (r == kFormatFits) {
        delete c;
        c = atom->EndPosition();
      } else if (r != kFormatNothing) {
        split = true;
      }
    }
  }
  // A split that does not move past `from` places nothing.
  if (split && (!c || c->Number() <= from.Number())) {
    split = false;
    r = kFormatNothing;
  }
  if ((r == kFormatFits || split) && c) {
    if (split) result = c->Clone();
    AddRecord(ctx, atom, from, *c, gap, split && flag ? 1 : 0);
    delete c;
    return result;
  }
  delete c;
  return continuation->Clone();
}

PlacementRecord* LayoutLine::RecordAtX(LONG x, LONG s) const {
  for (PlacementRecord* r = FirstRecord(); r; r = NextRecord(r))
    if (r->right - s >= x) return r;
  return LastRecord();
}

PlacementRecord* LayoutLine::RecordHolding(LONG n) const {
  for (PlacementRecord* r = FirstRecord(); r; r = NextRecord(r))
    if (r->atom->End() >= n) return r;
  return LastRecord();
}

Position* LayoutLine::PositionAtPoint(TextOutput* ctx, const LayoutPoint& point, int mode, LONG option, LONG s) {
  PlacementRecord* r = RecordAtX(point.x, s);
  if (!r) return start->Clone();
  LayoutPoint inside{point.x + s - r->left, point.y};
  return r->atom->PositionAtPoint(ctx, inside, mode, *start, *continuation, option);
}

// ---- FlowAtom

FlowAtom::~FlowAtom() { lines_.clearAndDelete(); }

void FlowAtom::KeepLinesBefore(LONG position) {
  // (The children's marks go when the format that follows lays them out
  // again: one that keeps their lines has checked their spacing.)
  keepBefore_ = std::min(keepBefore_, position);
}

void FlowAtom::ForgetMarksFrom(LONG position) {
  if (!marks_) return;
  auto& children = marks_->children;
  while (!children.empty() && (children.back().child->End() >= position || children.back().child->End() == -1))
    children.pop_back();
}

template <typename Mark>
void FlowAtom::AddMark(std::vector<Mark> Marks::*list, TextOutput* ctx, const Mark& mark) {
  if (!marks_) marks_.reset(new (std::nothrow) Marks);
  if (!marks_) return;
  marks_->output = ctx;
  try {
    ((*marks_).*list).push_back(mark);
  } catch (const std::bad_alloc&) {
    marks_.reset();  // sums begin at the start again
  }
}

LONG FlowAtom::LeastLeftSpacing(TextOutput* ctx) {
  if (marks_ && marks_->output != ctx) marks_.reset();
  LONG least = kNoSpacingYet;
  Atom* c = FirstChild();
  if (marks_ && !marks_->children.empty()) {
    least = marks_->children.back().least;
    c = NextOf(marks_->children.back().child);
  }
  for (LONG n = 1; c; c = NextOf(c), ++n) {
    least = std::min(least, c->Spacing(kSpaceLeft, ctx, FirstPosition(), LastPosition(), 1));
    if (n % kMarkEvery == 0 && NextOf(c) && c->End() != -1) AddMark(&Marks::children, ctx, Marks::ChildMark{c, least});
  }
  return least;
}

Container* FlowAtom::EmptyCopy() const { return new (std::nothrow) FlowAtom(start_, style_); }

void FlowAtom::ForgetLayout() {
  cachedExtent_ = LayoutRect();
  cachedWidth_ = -1;
  leftShift_ = kNotComputed;
}


void FlowAtom::InvalidateRange(const PositionRange& range) {
  ForgetLayout();
  KeepLinesBefore(range.Lower().Number());
  Container::InvalidateRange(range);
}

void FlowAtom::Reset(int level) {
  ForgetLayout();
  keepBefore_ = kNoLinesKept;
  ForgetMarksFrom(kFirstPositionNumber);
  Container::Reset(level);
}

LayoutLine* FlowAtom::NewLine(const Position& start, PositionItem* breakItem, LONG left) {
  auto* line = new (std::nothrow) LayoutLine(records_, start, breakItem, left);
  if (line) lines_.append(line);
  return line;
}

void FlowAtom::DropLines(LayoutLine* line) {
  while (LayoutLine* last = LastLine()) {
    if (marks_ && !marks_->lines.empty() && marks_->lines.back().line == last) marks_->lines.pop_back();
    lines_.unlink(last);
    bool done = last == line;
    delete last;
    if (done) break;
  }
}

Position* FlowAtom::PlaceInLine(LayoutLine* line, TextOutput* ctx, const LayoutRect& rect, Atom* atom,
                                const Position& from, int flag) {
  // Blocks stand one per line. Words, pictures and form fields that the
  // document puts straight into a page or cell share lines as they would
  // in a paragraph: a line each would tear a sentence apart.
  if (line->HasRecords() && (!IsInlineAtom(atom) || !IsInlineAtom(line->LastRecord()->atom))) return from.Clone();
  return line->Place(ctx, rect, atom, from, flag);
}

bool FlowAtom::TakeItem(LayoutLine* line, TextOutput*, PositionItem* item, PositionItem*& next) {
  line->breakItem = item;
  next = NextItem(item);
  return false;
}

LONG FlowAtom::LineGap(TextOutput* ctx, LayoutLine* previous, LayoutLine* line) {
  LONG after = 0, before = 0;
  if (PlacementRecord* r = previous->FirstRecord())
    after = r->atom->Spacing(kSpaceAfter, ctx, FirstPosition(), LastPosition(), 1);
  if (PlacementRecord* r = line->FirstRecord())
    before = r->atom->Spacing(kSpaceBefore, ctx, FirstPosition(), LastPosition(), 1);
  return std::max<LONG>(0, std::max(after, before));
}

LayoutLine* FlowAtom::LineAt(const Position& position) const {
  if (lines_.isEmpty()) return nullptr;
  LONG n = position.Number();
  if (n == kFirstPositionNumber) return FirstLine();
  if (n == kLastPositionNumber) return LastLine();
  // The last line that begins at or before the position, looked for from
  // the nearer end.
  LayoutLine* first = FirstLine();
  LayoutLine* last = LastLine();
  if (n - first->start->Number() < last->start->Number() - n) {
    LayoutLine* l = first;
    while (NextLine(l) && NextLine(l)->start->Number() <= n) l = NextLine(l);
    return l;
  }
  for (LayoutLine* l = last; l; l = PreviousLine(l))
    if (l->start->Number() <= n) return l;
  return first;
}

int FlowAtom::Format(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position& from,
                     int flag) {
  NestingGuard guard;
  if (guard.TooDeep()) return (continuation = EndPosition(), kFormatFits);
  if (rect.right - cachedWidth_ != rect.left) cachedExtent_ = LayoutRect();
  const LayoutRect& c = cachedExtent_;
  if (c.left != kNotComputed && c.right != kNotComputed && c.top != kNotComputed && c.bottom != kNotComputed &&
      start_ >= from.Number()) {
    continuation = EndPosition();
    return kFormatFits;
  }
  const bool fromStart = from.Number() <= start_;
  LayoutLine* restart = fromStart ? RestartLine(ctx, rect, from, flag) : nullptr;
  const DWORD mask = TypeMask();
  int result = kFormatFits;
  if (restart && (mask == kFlowMask || mask == kPageMask) && !(restart = FirstChangedLine(ctx, rect, restart, flag))) {
    // Every line stands as it was.
    EnsureUnits(ctx);
    leftShift_ = kNotComputed;
    continuation = LastLine()->continuation->Clone();
  } else {
    // The children laid out again may space themselves otherwise.
    ForgetMarksFrom(restart ? restart->start->Number() : kFirstPositionNumber);
    // (The restart line goes before the format is done with its start.)
    const Position restartAt(restart ? restart->start->Number() : from.Number());
    result = restart ? FormatLines(ctx, rect, continuation, restartAt, flag, restart)
                     : FormatLines(ctx, rect, continuation, from, flag);
  }
  if (result == kFormatFits) cachedWidth_ = rect.Width();
  // Only a whole layout from the start is kept for the next format.
  keepBefore_ = fromStart && result == kFormatFits ? kLastPositionNumber : kNoLinesKept;
  linesRect_ = rect;
  linesOutput_ = ctx;
  linesFlag_ = flag;
  return result;
}

LayoutLine* FlowAtom::RestartLine(TextOutput* ctx, const LayoutRect& rect, const Position& from, int flag) const {
  if (keepBefore_ == kNoLinesKept || ctx != linesOutput_ || flag != linesFlag_ || rect.left != linesRect_.left ||
      rect.right != linesRect_.right || rect.top != linesRect_.top || rect.bottom != linesRect_.bottom)
    return nullptr;
  LayoutLine* line = LineAt(Position(std::max(keepBefore_, from.Number())));
  // Lines that begin at the same place go together: a format drops from
  // the first of them.
  while (line && PreviousLine(line) && PreviousLine(line)->start->Number() == line->start->Number())
    line = PreviousLine(line);
  return line == FirstLine() ? nullptr : line;
}

Position* FlowAtom::NextLineStart(Atom*& child, PositionItem* item) {
  if (lines_.isEmpty()) return StartPosition();
  LayoutLine* last = LastLine();
  Position* start = nullptr;
  if (child) {
    if (!last->HasRecords() && child->Start() >= last->continuation->Number()) {
      // An empty line (a break of its own, as at the head of preformatted
      // text) placed nothing of the child: the child begins the next line.
      // Resuming "after" the empty line's position would give the next line
      // the same start, and the lines after it would be lost to drawing and
      // to the height.
      start = child->StartPosition();
    } else if (!last->HasRecords() || last->LastRecord()->atom == child) {
      start = child->ResumeAfter(*last->continuation);
      if (!start) {
        child = NextOf(child);
        if (child) start = child->StartPosition();
      }
    } else {
      // The line ended before this child: the child begins the next one.
      start = child->StartPosition();
    }
  }
  if (!start && item) start = MakePosition(item->Start());
  return start;
}

bool FlowAtom::PlaceAlone(LayoutLine* line, TextOutput* ctx, const LayoutRect& rect, Atom* atom,
                          const Position& from) {
  Position* c = nullptr;
  int r = atom->Format(ctx, LayoutRect::Of(0, kUnbounded, rect.top, rect.bottom), c, from, 1);
  if (r == kFormatNothing) {
    delete c;
    return false;
  }
  if (r != kFormatPartial || !c || c->Number() <= from.Number()) {
    delete c;
    c = atom->EndPosition();
  }
  if (!c) return false;
  line->AddRecord(ctx, atom, from, *c, 0, 0);
  delete c;
  return true;
}

int FlowAtom::FormatLines(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position& from,
                          int flag, LayoutLine* restart) {
  // Children laid out anew may change their spacing (a paragraph's first
  // line counts only when it is its only one).
  leftShift_ = kNotComputed;
  struct ForgetShiftAfter {
    LONG& shift;
    ~ForgetShiftAfter() { shift = kNotComputed; }
  } forget{leftShift_};
  EnsureUnits(ctx);
  if (LayoutLine* at = restart ? restart : LineAt(from)) DropLines(at);
  BeginLines(ctx, rect);

  LayoutLine* previous = LastLine();
  PositionItem* item = FirstItem();
  if (previous && previous->breakItem) item = NextItem(previous->breakItem);
  Atom* child = previous && previous->HasRecords() ? previous->LastRecord()->atom : FirstChild();
  while (child && child->End() < from.Number() && child->End() != -1) child = NextOf(child);

  LayoutRect working = rect;
  // The lines kept from the start have used their height of the rectangle.
  if (restart) working.bottom -= HeightOfLines();
  bool stalled = false;
  for (;;) {
    LineRect(working, rect);
    if (working.Width() < 0 || working.Height() <= 0) break;
    if (!child && !item && !lines_.isEmpty()) break;
    Position* start = NextLineStart(child, item);
    if (!start) break;
    PositionItem* before = item ? PreviousItem(item) : static_cast<PositionItem*>(items_.last());
    LayoutLine* line = NewLine(*start, before, working.left);
    delete start;
    if (!line) break;

    for (;;) {
      if (child && (!item || child->Start() < item->Start())) {
        Position* rest = PlaceInLine(line, ctx, working, child, *line->continuation, flag);
        if (!rest) {
          child = NextOf(child);
          continue;
        }
        delete rest;
        if (!line->HasRecords()) {
          // Nothing of this atom fits even on an empty line. Another empty
          // line would not fit it either: put it on a line of its own at its
          // natural width, or end the format when it is too high.
          if (!PlaceAlone(line, ctx, working, child, *line->continuation)) {
            stalled = true;
          } else if (line->LastRecord()->atom == child && child->End() <= line->continuation->Number()) {
            child = NextOf(child);
          }
        }
        break;
      }
      if (!item) break;
      PositionItem* next = nullptr;
      bool goOn = TakeItem(line, ctx, item, next);
      item = next;
      if (!goOn) break;
    }
    if (stalled) {
      DropLines(line);
      break;
    }

    if (line->top == line->bottom) {
      ResolvedStyle* style = StyleAt(*line->continuation);
      if (style) {
        LayoutRect box = style->BlankExtent(ctx);
        line->bottom = line->top + box.Height();
      }
    }
    if (previous) {
      LONG gap = LineGap(ctx, previous, line);
      line->baseline = gap - line->top + previous->bottom + previous->baseline;
      line->top -= gap;
    }
    working.bottom += line->top - line->bottom;
    if (child || item) FinishLine(line, false);
    previous = line;
  }

  bool pending = child || item;
  int result;
  if (working.Width() <= 0)
    result = kFormatTooWide;
  else if (working.Height() < 0 || stalled || pending)
    result = kFormatNothing;
  else
    result = kFormatFits;
  if (result == kFormatFits && LastLine()) {
    FinishLine(LastLine(), true);
    LastLine()->continuation->SetNumber(end_);
  }
  continuation = LastLine() ? LastLine()->continuation->Clone() : StartPosition();
  EndLines();
  return result;
}

LayoutLine* FlowAtom::FirstChangedLine(TextOutput* ctx, const LayoutRect& rect, LayoutLine* line, int flag) {
  LayoutRect working = rect;
  LayoutLine* first = FirstLine();
  if (LayoutLine* before = PreviousLine(line))
    working.bottom -= before->baseline + before->bottom - (first->baseline + first->top);
  RecordStore scratch;
  bool previousChanged = false;
  for (; line; line = NextLine(line)) {
    LayoutLine* previous = PreviousLine(line);
    PlacementRecord* r = line->FirstRecord();
    if (!previous || line->RecordCount() != 1 || !IsBlockAtom(r->atom) || r->atom->End() == -1) return line;
    Atom* block = r->atom;
    auto* container = Container::IsLeaf(block) ? nullptr : dynamic_cast<Container*>(block);
    const bool changed = !container || container->LaysOutAgain();
    if (changed || previousChanged) {
      // The line as a format would make it now, beside the line it made.
      const LONG side = block->Spacing(kSpaceLeft, ctx, FirstPosition(), LastPosition(), 1);
      LayoutLine trial(scratch, *line->start, line->breakItem, line->left);
      Position* rest = PlaceInLine(&trial, ctx, working, block, *trial.continuation, flag);
      const bool whole = !rest;
      delete rest;
      PlacementRecord* t = trial.FirstRecord();
      if (!whole || trial.RecordCount() != 1 || t->atom != block || t->left != r->left || t->right != r->right ||
          trial.top == trial.bottom || trial.bottom != line->bottom || trial.cursor != line->cursor ||
          block->Spacing(kSpaceLeft, ctx, FirstPosition(), LastPosition(), 1) != side)
        return line;
      const LONG gap = LineGap(ctx, previous, &trial);
      if (trial.top - gap != line->top || gap - trial.top + previous->bottom + previous->baseline != line->baseline)
        return line;
    }
    working.bottom += line->top - line->bottom;
    previousChanged = changed;
  }
  // The lines end the flow as before, with its last child.
  LayoutLine* last = LastLine();
  return end_ == -1 || last->LastRecord()->atom != LastChild() ? last : nullptr;
}

bool FlowAtom::LaysOutAgain() const {
  const LayoutRect& c = cachedExtent_;
  return keepBefore_ != kLastPositionNumber || c.left == kNotComputed || c.right == kNotComputed ||
         c.top == kNotComputed || c.bottom == kNotComputed;
}

LONG FlowAtom::HeightOfLines() const {
  // Each line begins where the one before it ends.
  LayoutLine* first = FirstLine();
  LayoutLine* last = LastLine();
  return first ? last->baseline + last->bottom - (first->baseline + first->top) : 0;
}

LONG FlowAtom::LeftShift(TextOutput* ctx) {
  if (leftShift_ != kNotComputed && leftShiftChildren_ == ChildCount() && leftShiftOutput_ == ctx) return leftShift_;
  leftShift_ = std::max<LONG>(0, Spacing(kSpaceLeft, ctx, FirstPosition(), LastPosition(), 1));
  leftShiftChildren_ = ChildCount();
  leftShiftOutput_ = ctx;
  return leftShift_;
}

int FlowAtom::Extent(LayoutRect& out, TextOutput* ctx, const Position& from, const Position& to, int) {
  LayoutLine* last = LastLine();
  if (!last || (last->continuation->Number() < end_ && last->continuation->Number() < to.Number())) {
    out = LayoutRect::Of(0, 0, 0, 0);
    return children_.isEmpty() ? kFormatFits : kFormatPartial;
  }
  bool whole = from.Number() <= start_ && end_ <= to.Number();
  const LayoutRect& c = cachedExtent_;
  if (whole && c.left != kNotComputed && c.right != kNotComputed && c.top != kNotComputed &&
      c.bottom != kNotComputed) {
    out = c;
    return kFormatFits;
  }
  LayoutLine* first = LineAt(from);
  out = LayoutRect::Of(first->left, first->cursor, first->top, first->bottom);
  LayoutLine* l = NextLine(first);
  // The whole extent goes on from the last mark.
  const bool marked = whole && first == FirstLine() && first->baseline == 0;
  if (marked && marks_ && marks_->output != ctx) marks_.reset();
  if (marked && marks_ && !marks_->lines.empty()) {
    out = marks_->lines.back().extent;
    l = NextLine(marks_->lines.back().line);
  }
  for (LONG n = 1; l && l->start->Number() < to.Number(); l = NextLine(l), ++n) {
    out.left = std::min(out.left, l->left);
    out.right = std::max(out.right, l->cursor);
    out.bottom = l->bottom - first->baseline + l->baseline;
    if (marked && n % kMarkEvery == 0 && NextLine(l)) AddMark(&Marks::lines, ctx, Marks::LineMark{l, out});
  }
  LONG s = LeftShift(ctx);
  out.left -= s;
  out.right -= s;
  if (whole) cachedExtent_ = out;
  return kFormatFits;
}

LONG FlowAtom::Spacing(int side, TextOutput* ctx, const Position&, const Position&, int) {
  NestingGuard guard;
  if (guard.TooDeep()) return 0;
  if (children_.isEmpty()) return 0;
  const Position& a = FirstPosition();
  const Position& b = LastPosition();
  if (side == kSpaceBefore) return std::max<LONG>(0, FirstChild()->Spacing(side, ctx, a, b, 1));
  if (side == kSpaceAfter) return std::max<LONG>(0, LastChild()->Spacing(side, ctx, a, b, 1));
  if (side != kSpaceLeft && side != kSpaceRight) return 0;
  LONG least = kNoSpacingYet;
  if (side == kSpaceLeft)
    least = LeastLeftSpacing(ctx);
  else
    for (Atom* c = FirstChild(); c; c = NextOf(c)) least = std::min(least, c->Spacing(side, ctx, a, b, 1));
  return std::max<LONG>(0, least);
}

bool FlowAtom::NaturalSize(LayoutRect& lower, LayoutRect& natural, TextOutput* ctx) {
  NestingGuard guard;
  if (guard.TooDeep()) return false;
  // The narrowest width: the widest child at its own narrowest.
  LONG narrowest = 0;
  for (Atom* c = FirstChild(); c; c = NextOf(c)) {
    LayoutRect childLower, childNatural = LayoutRect::Of(0, 0, 0, 0);
    if (!c->NaturalSize(childLower, childNatural, ctx)) continue;
    LONG sides = std::max<LONG>(0, c->Spacing(kSpaceLeft, ctx, FirstPosition(), LastPosition(), 1)) +
                 std::max<LONG>(0, c->Spacing(kSpaceRight, ctx, FirstPosition(), LastPosition(), 1));
    narrowest = std::max(narrowest, childLower.Width() + sides);
  }
  Reset(1);
  Position* c = nullptr;
  int r = Format(ctx, LayoutRect::Of(0, kUnbounded, 0, kUnbounded), c, FirstPosition(), 0);
  delete c;
  if (r != kFormatFits) return false;
  LayoutRect extent;
  Extent(extent, ctx, FirstPosition(), LastPosition(), 1);
  natural = extent;
  // Laid out again in this width, the lines begin at the left spacing and
  // leave the right spacing free: both belong to the width.
  natural.right += LeftShift(ctx) + std::max<LONG>(0, Spacing(kSpaceRight, ctx, FirstPosition(), LastPosition(), 1));
  lower = natural;
  lower.right = lower.left + std::min(narrowest, natural.Width());
  return true;
}

int FlowAtom::Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& clip, const Position& from,
                   const Position& to, int flag, const PositionRange* range) {
  NestingGuard guard;
  if (guard.TooDeep()) return 0;
  if (children_.isEmpty()) return 0;
  const Position& lower = from.LessOrEqual(to) ? from : to;
  const Position& upper = from.LessOrEqual(to) ? to : from;
  LayoutLine* line = LineAt(lower);
  if (!line) return kFormatPartial;
  LONG s = LeftShift(ctx);
  for (; line && line->start->Number() < upper.Number(); line = NextLine(line)) {
    if (line->bottom + line->baseline < clip.top) continue;
    if (line->top + line->baseline > clip.bottom) break;
    for (PlacementRecord* r = line->FirstRecord(); r && r->atom->Start() <= upper.Number();
         r = line->NextRecord(r)) {
      if (r->atom->End() < lower.Number() && r->atom->End() != -1) continue;
      LONG x = r->left - s;
      LayoutPoint at{origin.x + x, origin.y + line->baseline};
      LayoutRect box;
      if (IsBlockAtom(r->atom)) {
        // A block gets the clip in its own coordinates, cut to its line.
        box = LayoutRect::Of(clip.left - x, clip.right - x, std::max(line->top, clip.top - line->baseline),
                             std::min(line->bottom, clip.bottom - line->baseline));
      } else {
        PlacementRecord* next = line->NextRecord(r);
        LONG right = (next ? next->left : line->cursor) - r->left;
        box = LayoutRect::Of(0, std::max<LONG>(right, r->right - r->left), line->top, line->bottom);
      }
      r->atom->Draw(ctx, at, box, *line->start, *line->continuation, flag, range);
    }
  }
  return 0;
}

Position* FlowAtom::PositionAtPoint(TextOutput* ctx, const LayoutPoint& point, int mode, const Position& from,
                                    const Position&, LONG option) {
  NestingGuard guard;
  if (guard.TooDeep()) return nullptr;
  LayoutLine* line = LineAt(from);
  if (!line) return MakePosition(kLastPositionNumber);
  // The first line whose bottom reaches the point, looked for from the
  // nearer end (each line begins where the one before ends).
  LayoutLine* last = LastLine();
  if (line == FirstLine() && point.y - (line->baseline + line->top) > last->baseline + last->bottom - point.y) {
    for (line = last; PreviousLine(line) && PreviousLine(line)->bottom + PreviousLine(line)->baseline >= point.y;)
      line = PreviousLine(line);
  } else {
    while (NextLine(line) && line->bottom + line->baseline < point.y) line = NextLine(line);
  }
  LayoutPoint inside{point.x, point.y - line->baseline};
  return line->PositionAtPoint(ctx, inside, mode, option, LeftShift(ctx));
}

int FlowAtom::CaretRect(LayoutRect& out, TextOutput* ctx, const PositionRange& selection, int flag,
                        const Position&, const Position&, LONG option) {
  NestingGuard guard;
  if (guard.TooDeep()) return kFormatPartial;
  LONG s = LeftShift(ctx);
  auto rectOf = [&](LayoutLine* line, PlacementRecord* r, LayoutRect& rect) {
    int result = r->atom->CaretRect(rect, ctx, selection, flag, *line->start, *line->continuation, option);
    if (result == 0 && rect.IsComputed()) {
      LONG dx = r->left - s;
      rect.left += dx;
      rect.right += dx;
      rect.top += line->baseline;
      rect.bottom += line->baseline;
    }
    return result;
  };
  if (flag) {
    LayoutLine* line = LineAt(selection.End());
    if (!line || !line->HasRecords()) return kFormatPartial;
    return rectOf(line, line->RecordHolding(selection.End().Number()), out);
  }
  LONG lo = selection.Lower().Number(), hi = selection.Upper().Number();
  LayoutLine* line = LineAt(selection.Lower());
  if (!line) return kFormatPartial;
  bool any = false;
  for (; line && line->start->Number() <= hi; line = NextLine(line)) {
    for (PlacementRecord* r = line->FirstRecord(); r; r = line->NextRecord(r)) {
      if (r->atom->Start() > hi || (r->atom->End() < lo && r->atom->End() != -1)) continue;
      LayoutRect part;
      if (rectOf(line, r, part) != 0 || !part.IsComputed()) continue;
      if (any)
        out.Union(part);
      else
        out = part;
      any = true;
    }
  }
  return any ? 0 : kFormatPartial;
}

Position* FlowAtom::Step(const Position& position, int direction, int flag, int mode, TextOutput* ctx,
                         LONG distance, const LayoutRect& caret) {
  NestingGuard guard;
  if (guard.TooDeep()) return nullptr;
  if (direction == 2 || direction == 3 || mode == 2 || lines_.isEmpty())
    return Container::Step(position, direction, flag, mode, ctx, distance, caret);
  if (direction != 0 && direction != 1) return nullptr;
  bool down = direction == 1;
  LONG s = LeftShift(ctx);
  LayoutLine* line = LineAt(position);
  LONG d = distance;
  if (d >= 1) {
    LONG y = down ? std::max(caret.top + d, caret.bottom + 1) : std::min(caret.top - 1, caret.bottom - d);
    if (Position* p = PositionAtPoint(ctx, LayoutPoint{caret.left, y}, mode, FirstPosition(), LastPosition(), 0))
      return p;
    for (LayoutLine* n = down ? NextLine(line) : PreviousLine(line); n; n = down ? NextLine(n) : PreviousLine(n)) {
      LONG apart = n->baseline > line->baseline ? n->baseline - line->baseline : line->baseline - n->baseline;
      if (d < apart) break;
      d -= apart;
      line = n;
    }
  }
  auto stepIn = [&](LayoutLine* l) -> Position* {
    PlacementRecord* r = l->RecordAtX(caret.left, s);
    if (!r || !IsBlockAtom(r->atom)) return nullptr;
    LONG dx = r->left - s;
    LayoutRect inner = LayoutRect::Of(caret.left - dx, caret.right - dx, caret.top - l->baseline,
                                      caret.bottom - l->baseline);
    return r->atom->Step(position, direction, flag, mode, ctx, d, inner);
  };
  if (Position* p = stepIn(line)) return p;
  for (LayoutLine* n = down ? NextLine(line) : PreviousLine(line); n; n = down ? NextLine(n) : PreviousLine(n)) {
    LayoutPoint at{caret.left, down ? n->top : n->bottom};
    if (Position* p = n->PositionAtPoint(ctx, at, mode, 0, s)) return p;
    if (Position* p = stepIn(n)) return p;
  }
  return nullptr;
}
