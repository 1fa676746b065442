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

#include <algorithm>
#include <memory>
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
  // A flow keeps the lines that lie wholly before the lowest position any
  // of these changed (its content, its layout or its style): the next
  // format in the same rectangle lays out only from the line that holds
  // that position on.
  void InvalidateRange(const PositionRange& range) override;
  void Reset(int level) override;
  int Format(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position& from,
             int flag) override;
  bool NaturalSize(LayoutRect& lower, LayoutRect& natural, TextOutput* ctx) override;
  bool LaysOutAgain() const override;
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
  // Lays out from `from` on (the lines from the one that holds it are
  // dropped); with `restart`, from that line on, as a format from the start
  // would go on after the lines before it.
  int FormatLines(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position& from, int flag,
                  LayoutLine* restart = nullptr);
  void ContentChangedFrom(LONG position) override { KeepLinesBefore(position); }
  void StyleChangedFrom(LONG position) override {
    ForgetLayout();
    KeepLinesBefore(position);
  }
  void KeepLinesBefore(LONG position);
  // The first line of a format from the start that may differ from the
  // lines kept (null: there are no lines to keep).
  LayoutLine* RestartLine(TextOutput* ctx, const LayoutRect& rect, const Position& from, int flag) const;
  // In a flow of blocks one to a line, lays out again the blocks from
  // `line` on that changed, each where its line stands: the first line that
  // then differs from what it was (and all after it) must be laid out
  // again; null when every line came out as it was.
  LayoutLine* FirstChangedLine(TextOutput* ctx, const LayoutRect& rect, LayoutLine* line, int flag);
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
  // The height the lines take from the top of the first to the bottom of
  // the last.
  LONG HeightOfLines() const;
  void AppendLine(LayoutLine* line) { lines_.append(line); }

  List lines_;
  RecordStore records_;
  LayoutRect cachedExtent_;
  LONG cachedWidth_ = -1;

 private:
  // The union of the lines from the first to a line (before the left
  // shift), and the least left spacing of the children from the first to a
  // child, every so many lines and children. They hold while those lines
  // stay and those children keep their layout and style on one output.
  struct Marks {
    struct LineMark {
      const LayoutLine* line;
      LayoutRect extent;
    };
    struct ChildMark {
      const Atom* child;
      LONG least;
    };
    std::vector<LineMark> lines;
    std::vector<ChildMark> children;
    TextOutput* output = nullptr;
  };
  template <typename Mark>
  void AddMark(std::vector<Mark> Marks::*list, TextOutput* ctx, const Mark& mark);
  // The least left spacing of the children; from the marks on.
  LONG LeastLeftSpacing(TextOutput* ctx);
  // Forgets the marks of the children that reach the position.
  void ForgetMarksFrom(LONG position);

  // Lines before this position are still those a format from the start
  // into linesRect_ on linesOutput_ would make (kNoLinesKept: none are).
  static constexpr LONG kNoLinesKept = kFirstPositionNumber - 1;
  LONG keepBefore_ = kNoLinesKept;
  LayoutRect linesRect_;
  TextOutput* linesOutput_ = nullptr;
  int linesFlag_ = 0;
  LONG leftShift_ = kNotComputed;
  // Running sums from the start of a long flow (null until it is long):
  // asked for after every format, they begin where the lines and children
  // kept since the last one end.
  std::unique_ptr<Marks> marks_;
  LONG leftShiftChildren_ = -1;
  TextOutput* leftShiftOutput_ = nullptr;
};
