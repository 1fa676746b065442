#include "layout/atoms/list_item.h"

#include <algorithm>
#include <new>

#include "layout/atoms/text_output.h"

// ---- ListAtom

Container* ListAtom::EmptyCopy() const { return new (std::nothrow) ListAtom(start_, style_); }

Atom* ListAtom::CloneRange(const Position& from, const Position& to) {
  if (!(from.Number() < end_ && start_ < to.Number())) return nullptr;
  return Container::CloneRange(FirstPosition(), LastPosition());
}

LONG ListAtom::GapAfter(TextOutput* ctx, Atom* child) {
  Atom* next = NextOf(child);
  if (!next) return 0;
  LONG right = child->Spacing(kSpaceRight, ctx, FirstPosition(), LastPosition(), 1);
  LONG left = next->Spacing(kSpaceLeft, ctx, FirstPosition(), LastPosition(), 1);
  return std::max<LONG>(0, std::max(right, left));
}

int ListAtom::Extent(LayoutRect& out, TextOutput* ctx, const Position&, const Position&, int) {
  NestingGuard guard;
  if (guard.TooDeep()) return (out = LayoutRect::Of(0, 0, 0, 0), 0);
  out = LayoutRect::Of(0, 0, 0, 0);
  bool first = true;
  for (Atom* c = FirstChild(); c; c = NextOf(c)) {
    LayoutRect e;
    if (c->Extent(e, ctx, FirstPosition(), LastPosition(), 1) != 0 || !e.IsComputed()) e = LayoutRect::Of(0, 0, 0, 0);
    if (first) {
      out = e;
    } else {
      out.right += e.Width();
      out.top = std::min(out.top, e.top);
      out.bottom = std::max(out.bottom, e.bottom);
    }
    out.right += GapAfter(ctx, c);
    first = false;
  }
  return 0;
}

int ListAtom::Format(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position& from, int) {
  EnsureUnits(ctx);
  // Each child is formatted alone so that it knows its size; the row is
  // then measured whole.
  for (Atom* c = FirstChild(); c; c = NextOf(c)) {
    Position* ignored = nullptr;
    c->Format(ctx, LayoutRect::Of(0, 0x3FFFFFF, 0, 0x3FFFFFF), ignored, FirstPosition(), 1);
    delete ignored;
  }
  LayoutRect row;
  Extent(row, ctx, from, LastPosition(), 1);
  bool tooHigh = row.Height() > rect.Height();
  if (row.Width() <= rect.Width()) {
    if (tooHigh) return kFormatNothing;
    continuation = MakePosition(kLastPositionNumber);
    return kFormatFits;
  }
  if (tooHigh) return kFormatNothing;
  continuation = StartPosition();
  return kFormatTooWide;
}

LONG ListAtom::Spacing(int side, TextOutput* ctx, const Position&, const Position&, int) {
  NestingGuard guard;
  if (guard.TooDeep()) return 0;
  if (children_.isEmpty()) return 0;
  if (side == kSpaceLeft)
    return std::max<LONG>(0, FirstChild()->Spacing(kSpaceLeft, ctx, FirstPosition(), LastPosition(), 1));
  if (side == kSpaceRight)
    return std::max<LONG>(0, LastChild()->Spacing(kSpaceRight, ctx, FirstPosition(), LastPosition(), 1));
  return 0;
}

int ListAtom::Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& box, const Position&,
                   const Position&, int, const PositionRange* range) {
  NestingGuard guard;
  if (guard.TooDeep()) return 1;
  if (children_.isEmpty()) return 1;
  LONG x = origin.x;
  for (Atom* c = FirstChild(); c; c = NextOf(c)) {
    LayoutRect e;
    if (c->Extent(e, ctx, FirstPosition(), LastPosition(), 1) != 0 || !e.IsComputed()) e = LayoutRect::Of(0, 0, 0, 0);
    LONG gap = GapAfter(ctx, c);
    LayoutRect childBox = LayoutRect::Of(c == FirstChild() ? box.left : e.left, e.right + gap, box.top, box.bottom);
    if (c == LastChild()) childBox.right = std::max(childBox.right, origin.x + box.right - x);
    c->Draw(ctx, LayoutPoint{x, origin.y}, childBox, FirstPosition(), LastPosition(), 1, range);
    x += e.right + gap;
    if (Atom* next = NextOf(c)) {
      LayoutRect n;
      if (next->Extent(n, ctx, FirstPosition(), LastPosition(), 1) == 0 && n.IsComputed()) x -= n.left;
    }
  }
  return 0;
}

// ---- ListItem

Container* ListItem::EmptyCopy() const { return new (std::nothrow) ListItem(start_, style_, tabList_); }

TabMark* ListItem::MarkNamed(const char* name) const {
  for (PositionItem* i = FirstItem(); i; i = NextItem(i)) {
    DWORD mask = i->TypeMask();
    if ((mask == kTabItemKind || mask == kBorderMarkKind) && static_cast<TabMark*>(i)->Name() == name)
      return static_cast<TabMark*>(i);
  }
  return nullptr;
}

bool ListItem::AdoptLabel(const DWORD* typeMask, Atom* label) {
  if (!typeMask || *typeMask != kListItemMask || !label) return false;
  if (!MarkNamed(kLeftCounterStop)) {
    auto* counter = new (std::nothrow) TabItem(start_, kLeftCounterStop, 1);
    if (counter) AddItem(counter);
  }
  if (!MarkNamed(kLeftBorderStop)) {
    auto* border = new (std::nothrow) BorderMark(start_ + 1, kLeftBorderStop, 0);
    if (border) AddItem(border);
  }
  // A second label replaces the first; content is never taken for one.
  if (Atom* first = FirstChild(); first && first->TypeMask() == kListMask) DeleteChild(first);
  PrependChild(label);
  return true;
}

bool ListItem::AddChild(Atom* child) {
  if (!child) return false;
  if (ChildCount() == 1 && FirstChild()->TypeMask() == kListMask) {
    if (TabMark* border = MarkNamed(kLeftBorderStop)) {
      // The text begins where the first content atom begins.
      ContentChangedFrom(border->Start());
      items_.unlink(border);
      border->SetStart(child->Start());
      Container::AddItem(border);
    }
  }
  return Container::AddChild(child);
}

Atom* ListItem::CloneRange(const Position& from, const Position& to) {
  if (!(from.Number() < end_ && start_ < to.Number())) return nullptr;
  return Container::CloneRange(FirstPosition(), LastPosition());
}

oldio::ostream& ListItem::Dump(oldio::ostream& out, int indent) {
  Indent(out, indent);
  CString line;
  line.Format("ListItem =%p", static_cast<const void*>(this));
  out << line.c_str() << oldio::endl;
  DumpAs(out, indent + 2, "ParagraphAtom =");
  return out;
}
