// The layout atoms as the builder sees them. Every piece of a laid-out text
// document is an atom: a word, a paragraph, a page, a table and its cells, a
// list and its items, a rule, a picture, a form field. The builder creates
// them through an AtomFactory (atom_factory.h), adds each to the container
// open at that moment (AddChild) and closes it by setting its end position
// (SetEnd); the text view then formats, measures and draws the root.
//
// The layout implements this interface: every concrete atom class supplies
// the pure operations, and the base behaviour of the others is given here.
// Positions an atom returns are new and belong to the caller.
#pragma once

#include <string_view>

#include "core/list.h"
#include "text/atom/atom_pool.h"
#include "mfc/cstring.h"
#include "oldio/iostream.h"
#include "text/layout_support/layout_rect.h"
#include "text/position/position.h"
#include "win/types.h"

class PositionItem;
class ResolvedStyle;
class StyleDefinition;
class TextOutput;  // the view's output interface, defined by the layout

// Type masks: a derived class's mask holds its base's bits, so a family is
// tested with a bit test and the exact class with equality.
enum AtomMask : DWORD {
  kAtomMask = 0,  // Atom, WindowObjectAtom, Container
  kWordMask = 0x1,
  kPictureMask = 0x2,
  kHorizontalRuleMask = 0x4,
  kListMask = 0x8,
  kFormMask = 0x10,
  kFlowBit = 0x10000,  // any flow container
  kFlowMask = 0x30000,
  kParagraphMask = 0x70000,
  kPageMask = 0xB0000,
  kListItemMask = 0x170000,
  kTableMask = 0x210000,
  kTableItemMask = 0x330000,
};

// Text kinds of AddText: plain text, the overlay commands of a word
// ("StartOverlay", "EndOverlay": no text), and text of the two-byte
// encodings.
enum TextKind : LONG { kPlainText = 0, kOverlayCommand = 1, kShiftJisText = 2, kEucText = 3 };

// Results of Format.
enum FormatResult : int {
  kFormatFits = 0,      // everything from `from` on fits
  kFormatNothing = 1,   // too high: nothing placed
  kFormatTooWide = 2,   // cannot be laid out within the width at all
  kFormatPartial = 3,   // a part fits; the continuation says where the rest begins
};

// Sides of Spacing.
enum SpacingSide : int { kSpaceBefore = 0, kSpaceAfter = 1, kSpaceLeft = 2, kSpaceRight = 3 };

class Atom : public ListElement {
 public:
  Atom(LONG start) : start_(start) {}  // NOLINT: atoms are made from a position
  ~Atom() override;
  ZEMRA_POOLED_ALLOCATION

  // The first unnamed operation: answers 0 in every atom.
  virtual LONG Descriptor() const { return 0; }
  virtual DWORD TypeMask() const { return kAtomMask; }
  // Appends the atom's text between two positions to `out`; true when done.
  virtual bool AppendText(CString& out, const Position& from, const Position& to, BOOL atEnd, LONG option) = 0;
  // Takes a child; false refuses it (the builder then deletes it).
  virtual bool AddChild(Atom* child) { (void)child; return false; }
  // Takes text (word atoms do). The bytes are only lent for the call: an
  // atom that keeps them copies them.
  virtual bool AddText(std::string_view text, LONG position, LONG textKind, ResolvedStyle* style) {
    (void)text, (void)position, (void)textKind, (void)style;
    return false;
  }
  virtual bool SetStyle(ResolvedStyle* style, LONG second) { (void)style, (void)second; return true; }
  // Takes a label atom made while this atom held it (list items do when
  // *typeMask is the list-item mask).
  virtual bool AdoptLabel(const DWORD* typeMask, Atom* label) { (void)typeMask, (void)label; return false; }
  virtual bool SetEnd(LONG end) {
    end_ = end;
    return true;
  }
  virtual Atom* CloneRange(const Position& from, const Position& to) { (void)from, (void)to; return nullptr; }
  virtual Position* MakePosition(LONG number);
  // One step of the caret (directions 0 up, 1 down, 2 left, 3 right); the
  // base rule serves atoms without children.
  virtual Position* Step(const Position& position, int direction, int flag, int mode, TextOutput* ctx,
                         LONG distance, const LayoutRect& caret);
  virtual Position* StartPosition() { return MakePosition(start_); }
  virtual Position* EndPosition() { return MakePosition(end_); }
  virtual LONG Start() const { return start_; }
  virtual LONG End() const { return end_; }
  // Resolves the style change (a definition merged over the current style).
  virtual bool ApplyStyle(const Position& from, const Position& to, const StyleDefinition* change) = 0;
  virtual bool ApplyParagraphStyle(const Position& from, const Position& to, const StyleDefinition* change) = 0;
  virtual ResolvedStyle* StyleAt(const Position& position) = 0;
  virtual bool SetMarks(const Position& from, const Position& to, BYTE bits) = 0;
  virtual bool ClearMarks(const Position& from, const Position& to, BYTE bits) = 0;
  virtual void MarksAt(const Position& position, BYTE& bits) = 0;
  // Takes a position item (a marker of the builder); false refuses it.
  virtual bool AddItem(PositionItem* item) { (void)item; return false; }
  virtual void InvalidateRange(const PositionRange& range) {
    (void)range;
    Reset(0);
  }
  virtual void Reset(int level) = 0;
  virtual bool HoldsObject(LONG kind, void* object, PositionRange* range) {
    (void)kind, (void)object, (void)range;
    return false;
  }
  // Lays the atom out into `rect` from `from`; a new continuation position
  // goes to `continuation` where the result asks for one.
  virtual int Format(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position& from,
                     int flag) = 0;
  virtual Position* ResumeAfter(const Position& position);
  virtual bool NaturalSize(LayoutRect& lower, LayoutRect& natural, TextOutput* ctx);
  virtual int Extent(LayoutRect& out, TextOutput* ctx, const Position& from, const Position& to, int flag) = 0;
  virtual int CaretRect(LayoutRect& out, TextOutput* ctx, const PositionRange& selection, int flag,
                        const Position& from, const Position& to, LONG option);
  virtual LONG Spacing(int side, TextOutput* ctx, const Position& from, const Position& to, int flag) = 0;
  // The second unnamed operation: answers 0 in every atom.
  virtual LONG Unnamed(LONG a, LONG b) = 0;
  virtual LONG GapCount(const Position& from, const Position& to) = 0;
  virtual int Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& clip, const Position& from,
                   const Position& to, int flag, const PositionRange* range) = 0;
  virtual Position* PositionAtPoint(TextOutput* ctx, const LayoutPoint& point, int mode, const Position& from,
                                    const Position& to, LONG option);
  // The third unnamed operation: does nothing in every atom.
  virtual void Notify(LONG a, LONG b) { (void)a, (void)b; }
  virtual oldio::ostream& Dump(oldio::ostream& out, int indent);

 protected:
  LONG start_;
  LONG end_ = -1;
};
