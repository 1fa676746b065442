// List entries: a ListItem is a paragraph whose first child is its label
// (a ListAtom: the bullet, number or letters, laid out in one row that is
// never split) and whose other children are the item's content. Two named
// tab marks make the label column and the hanging indent: the counter tab
// at the item's start (the label ends just left of the indent) and the
// border mark at the first content atom (the text begins there, and so do
// the item's following lines).
#pragma once

#include "layout/atoms/paragraph_atom.h"

class ListAtom : public Container {
 public:
  ListAtom(LONG start, ResolvedStyle* style) : Container(start, style) {}

  DWORD TypeMask() const override { return kListMask; }
  bool AppendText(CString&, const Position&, const Position&, BOOL, LONG) override { return false; }
  Atom* CloneRange(const Position& from, const Position& to) override;
  Position* Step(const Position&, int, int, int, TextOutput*, LONG, const LayoutRect&) override { return nullptr; }
  int Format(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position& from,
             int flag) override;
  int Extent(LayoutRect& out, TextOutput* ctx, const Position& from, const Position& to, int flag) override;
  LONG Spacing(int side, TextOutput* ctx, const Position& from, const Position& to, int flag) override;
  int Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& box, const Position& from,
           const Position& to, int flag, const PositionRange* range) override;

 protected:
  Container* EmptyCopy() const override;

 private:
  // The room between a child and the one after it.
  LONG GapAfter(TextOutput* ctx, Atom* child);
};

class ListItem : public ParagraphAtom {
 public:
  ListItem(LONG start, ResolvedStyle* style, TabSettingsList* tabs) : ParagraphAtom(start, style, tabs) {}

  DWORD TypeMask() const override { return kListItemMask; }
  bool AddChild(Atom* child) override;
  bool AdoptLabel(const DWORD* typeMask, Atom* label) override;
  Atom* CloneRange(const Position& from, const Position& to) override;
  oldio::ostream& Dump(oldio::ostream& out, int indent) override;

  // The item's mark of that name, or null.
  TabMark* MarkNamed(const char* name) const;

 protected:
  Container* EmptyCopy() const override;
};
