// The atom that holds other atoms: its children in document order and the
// builder's position items (line breaks, tab marks) in position order. Range
// operations go to the children the range touches; spacing comes from the
// style, as percentages of the style's reference box (one blank of its font
// on the current output).
#pragma once

#include "core/list.h"
#include "layout/atoms/window_object_atom.h"
#include "text/atom/position_item.h"

class TextOutput;

// Guards the recursion through nested containers: a document may nest
// blocks more deeply than the stack allows. Beyond kMaxNesting levels,
// nothing deeper is laid out, drawn or visited.
class NestingGuard {
 public:
  static constexpr int kMaxNesting = 200;
  NestingGuard() { ++depth_; }
  ~NestingGuard() { --depth_; }
  NestingGuard(const NestingGuard&) = delete;
  NestingGuard& operator=(const NestingGuard&) = delete;
  bool TooDeep() const { return depth_ > kMaxNesting; }

 private:
  static inline int depth_ = 0;
};

class Container : public WindowObjectAtom {
 public:
  Container(LONG start, ResolvedStyle* style) : WindowObjectAtom(start, style) {}
  ~Container() override;

  bool AppendText(CString& out, const Position& from, const Position& to, BOOL atEnd, LONG option) override;
  bool AddChild(Atom* child) override;
  bool AddItem(PositionItem* item) override;
  // Only a container without children takes a style.
  bool SetStyle(ResolvedStyle* style, LONG second) override;
  Atom* CloneRange(const Position& from, const Position& to) override;
  Position* Step(const Position& position, int direction, int flag, int mode, TextOutput* ctx, LONG distance,
                 const LayoutRect& caret) override;
  bool ApplyStyle(const Position& from, const Position& to, const StyleDefinition* change) override;
  bool ApplyParagraphStyle(const Position& from, const Position& to, const StyleDefinition* change) override;
  ResolvedStyle* StyleAt(const Position& position) override;
  bool SetMarks(const Position& from, const Position& to, BYTE bits) override;
  bool ClearMarks(const Position& from, const Position& to, BYTE bits) override;
  void MarksAt(const Position& position, BYTE& bits) override;
  void InvalidateRange(const PositionRange& range) override;
  void Reset(int level) override;
  bool HoldsObject(LONG kind, void* object, PositionRange* range) override;
  LONG Spacing(int side, TextOutput* ctx, const Position& from, const Position& to, int flag) override;
  LONG GapCount(const Position&, const Position&) override { return 0; }
  oldio::ostream& Dump(oldio::ostream& out, int indent) override;

  // Words, pictures, rules and form fields hold no children: their type
  // says so without a cast (words are most of a document's atoms).
  static bool IsLeaf(const Atom* atom);
  // The child that holds a position; the container itself when it has no
  // children.
  Atom* ChildAt(const Position& position);
  Atom* FirstChild() const { return static_cast<Atom*>(children_.first()); }
  Atom* LastChild() const { return static_cast<Atom*>(children_.last()); }
  LONG ChildCount() const { return children_.count(); }
  static Atom* NextOf(const Atom* a) { return static_cast<Atom*>(a->next()); }
  static Atom* PreviousOf(const Atom* a) { return static_cast<Atom*>(a->previous()); }
  PositionItem* FirstItem() const { return static_cast<PositionItem*>(items_.first()); }
  static PositionItem* NextItem(const PositionItem* i) { return static_cast<PositionItem*>(i->next()); }
  static PositionItem* PreviousItem(const PositionItem* i) { return static_cast<PositionItem*>(i->previous()); }
  LONG ItemCount() const { return items_.count(); }

  // The units of the style's spacing values on this output.
  void EnsureUnits(TextOutput* ctx);
  LONG UnitWidth() const { return unitWidth_; }
  LONG UnitHeight() const { return unitHeight_; }

 protected:
  enum RangeOperation { kApplyStyleOp, kApplyParagraphOp, kSetMarksOp, kClearMarksOp };
  bool ForRange(RangeOperation op, const Position& from, const Position& to, const StyleDefinition* change,
                BYTE bits);
  // A new, empty atom of the same class and attributes; null when memory
  // failed.
  virtual Container* EmptyCopy() const = 0;
  // The spacing rule of the style: `oneLine` counts a positive first-line
  // indent on the left side too.
  LONG StyleSpacing(int side, bool oneLine) const;
  // A percentage of a unit, never negative.
  static LONG PercentOf(LONG value, LONG unit);
  void ForgetUnits() { unitWidth_ = unitHeight_ = kNotComputed; }
  void DumpContainer(oldio::ostream& out, int indent);
  static void Indent(oldio::ostream& out, int indent);
  void DeleteChild(Atom* child);
  void PrependChild(Atom* child);
  // Told when a child or item at `position` comes or goes: what was laid
  // out from there may differ.
  virtual void ContentChangedFrom(LONG position) { (void)position; }
  // Told when a style changes from `position` on: what was laid out from
  // there is laid out again.
  virtual void StyleChangedFrom(LONG position) { ContentChangedFrom(position); }

 public:
  // Whether the next format lays the container out again, in part or
  // whole, rather than answering with its last layout.
  virtual bool LaysOutAgain() const { return true; }

 protected:

  List children_;
  List items_;
  // The child ChildAt found last (null: none); cleared when a child leaves.
  Atom* hint_ = nullptr;
  LONG unitWidth_ = kNotComputed;
  LONG unitHeight_ = kNotComputed;
};
