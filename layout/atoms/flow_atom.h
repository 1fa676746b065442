// A container that lays its children out in stacked lines. Each format cuts
// the rectangle into lines from the top, places atoms into each line from
// left to right (LayoutLine::Place), and stacks the lines with the larger of
// the neighbouring spacings between them. A plain flow places one child per
// line; paragraphs, pages, list items and table cells change the line
// protocol (NewLine .. LineRect).
//
// Coordinates: y = 0 is the first line's baseline; a line's top and bottom
// are relative to its own baseline. Records hold x in the flow's coordinates
// before the flow's left spacing is taken off (Extent and Draw take it off).
#pragma once

#include <vector>

#include "layout/atoms/container.h"

class TextOutput;

// Where one atom (or the part of it on this line) was placed.
struct PlacementRecord {
  LONG left = 0;
  LONG right = 0;
  Atom* atom = nullptr;  // belongs to the container
};

// A flow's records of all its lines, one after the other: a line owns the
// stretch from where the store ended when the line began. Lines are filled
// and dropped at the end only, so the stretches never overlap, and a new
// layout reuses the store's room instead of allocating per placed atom.
using RecordStore = std::vector<PlacementRecord>;

class LayoutLine : public ListElement {
 public:
  LayoutLine(RecordStore& store, const Position& start, PositionItem* breakItem, LONG left);
  // Gives the line's stretch of the store back.
  ~LayoutLine() override;
  ZEMRA_POOLED_ALLOCATION

  // Places one atom at the cursor: null when it went in whole, else a new
  // position where the next line must go on (the line is unchanged when
  // nothing could be placed).
  Position* Place(TextOutput* ctx, const LayoutRect& rect, Atom* atom, const Position& from, int flag);
  // Appends a record for the part of `atom` from `from` to `to` with the
  // gap before it, and moves the continuation to `to`.
  void AddRecord(TextOutput* ctx, Atom* atom, const Position& from, const Position& to, LONG gap, int extentFlag);

  // The records in placing order; null past either end. A record pointer
  // stays valid until the next record is added.
  PlacementRecord* FirstRecord() const { return count_ ? store_->data() + first_ : nullptr; }
  PlacementRecord* LastRecord() const { return count_ ? store_->data() + first_ + count_ - 1 : nullptr; }
  PlacementRecord* NextRecord(const PlacementRecord* r) const {
    return r && r < LastRecord() ? const_cast<PlacementRecord*>(r + 1) : nullptr;
  }
  PlacementRecord* PreviousRecord(const PlacementRecord* r) const {
    return r && r > FirstRecord() ? const_cast<PlacementRecord*>(r - 1) : nullptr;
  }
  bool HasRecords() const { return count_ != 0; }
  size_t RecordCount() const { return count_; }
  // The record under x (flow coordinates without the left spacing s), or
  // the last one.
  PlacementRecord* RecordAtX(LONG x, LONG s) const;
  // The record whose atom holds the position, or the last one.
  PlacementRecord* RecordHolding(LONG n) const;
  Position* PositionAtPoint(TextOutput* ctx, const LayoutPoint& point, int mode, LONG option, LONG s);

  // Where the line begins and where the next one goes on; they point at the
  // line's own positions.
  Position* const start;
  Position* const continuation;
  PositionItem* breakItem;
  LONG baseline = 0;
  LONG left;
  LONG cursor;
  LONG top = 0;
  LONG bottom = 0;

 private:
  Position startAt_;
  Position continuationAt_;
  RecordStore* store_;
  size_t first_;
  size_t count_ = 0;
};

class FlowAtom : public Container {
 public:
  FlowAtom(LONG start, ResolvedStyle* style) : Container(start, style) {}
  ~FlowAtom() override;

  DWORD TypeMask() const override { return kFlowMask; }
  bool AddItem(PositionItem*) override { return false; }
  void InvalidateRange(const PositionRange& range) override;
  void Reset(int level) override;
  bool ApplyStyle(const Position& from, const Position& to, const StyleDefinition* change) override;
  bool ApplyParagraphStyle(const Position& from, const Position& to, const StyleDefinition* change) override;
  int Format(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position& from,
             int flag) override;
  bool NaturalSize(LayoutRect& lower, LayoutRect& natural, TextOutput* ctx) override;
  int Extent(LayoutRect& out, TextOutput* ctx, const Position& from, const Position& to, int flag) override;
  int CaretRect(LayoutRect& out, TextOutput* ctx, const PositionRange& selection, int flag, const Position& from,
                const Position& to, LONG option) override;
  LONG Spacing(int side, TextOutput* ctx, const Position& from, const Position& to, int flag) override;
  int Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& clip, const Position& from,
           const Position& to, int flag, const PositionRange* range) override;
  Position* PositionAtPoint(TextOutput* ctx, const LayoutPoint& point, int mode, const Position& from,
                            const Position& to, LONG option) override;
  Position* Step(const Position& position, int direction, int flag, int mode, TextOutput* ctx, LONG distance,
                 const LayoutRect& caret) override;

  // The line protocol.
  virtual LayoutLine* NewLine(const Position& start, PositionItem* breakItem, LONG left);
  virtual void BeginLines(TextOutput* ctx, const LayoutRect& rect) { (void)ctx, (void)rect; }
  virtual void EndLines() {}
  // Deletes the lines from the end up to and including `line`.
  virtual void DropLines(LayoutLine* line);
  virtual Position* PlaceInLine(LayoutLine* line, TextOutput* ctx, const LayoutRect& rect, Atom* atom,
                                const Position& from, int flag);
  // Takes the item on the line; `next` receives the item after it. False
  // ends the line.
  virtual bool TakeItem(LayoutLine* line, TextOutput* ctx, PositionItem* item, PositionItem*& next);
  virtual void FinishLine(LayoutLine* line, bool isLast) { (void)line, (void)isLast; }
  virtual LONG LineGap(TextOutput* ctx, LayoutLine* previous, LayoutLine* line);
  // The room of the next line within the format's rectangle.
  virtual void LineRect(LayoutRect& working, const LayoutRect& given) { (void)working, (void)given; }

  LayoutLine* LineAt(const Position& position) const;
  LayoutLine* FirstLine() const { return static_cast<LayoutLine*>(lines_.first()); }
  LayoutLine* LastLine() const { return static_cast<LayoutLine*>(lines_.last()); }
  static LayoutLine* NextLine(const LayoutLine* l) { return static_cast<LayoutLine*>(l->next()); }
  static LayoutLine* PreviousLine(const LayoutLine* l) { return static_cast<LayoutLine*>(l->previous()); }
  LONG LineCount() const { return lines_.count(); }

 protected:
  Container* EmptyCopy() const override;
  int FormatLines(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position& from, int flag);
  // Where the next line begins; advances `child` past a finished child.
  Position* NextLineStart(Atom*& child, PositionItem* item);
  // An atom that could not be placed on an empty line: placed there whole
  // at its natural width, or, when it is too high for any width, refused
  // (false) so that the format ends.
  bool PlaceAlone(LayoutLine* line, TextOutput* ctx, const LayoutRect& rect, Atom* atom, const Position& from);
  // The left spacing the lines are moved by. A plain flow's is the least of
  // its children's, a walk over all of them, and it is asked for by every
  // extent, drawing and hit test: it is kept until the children, their
  // layout, their styles or the output change.
  LONG LeftShift(TextOutput* ctx);
  void ForgetLayout();
  void AppendLine(LayoutLine* line) { lines_.append(line); }

  List lines_;
  RecordStore records_;
  LayoutRect cachedExtent_;
  LONG cachedWidth_ = -1;

 private:
  LONG leftShift_ = kNotComputed;
  LONG leftShiftChildren_ = -1;
  TextOutput* leftShiftOutput_ = nullptr;
};
