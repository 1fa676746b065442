#include "layout/atoms/container.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "layout/atoms/text_output.h"

bool Container::IsLeaf(const Atom* atom) {
  const DWORD mask = atom->TypeMask();
  return mask == kWordMask || mask == kPictureMask || mask == kHorizontalRuleMask || mask == kFormMask;
}

Container::~Container() {
  // Deep trees are taken apart without recursion: the children of a
  // container are moved out before it is deleted. Only those wait on the
  // stack; a leaf is deleted at once.
  std::vector<Atom*> pending;
  hint_ = nullptr;
  for (;;) {
    Atom* atom = nullptr;
    if (!pending.empty()) {
      atom = pending.back();
      pending.pop_back();
    } else if (ListElement* e = children_.popFront()) {
      atom = static_cast<Atom*>(e);
    } else {
      break;
    }
    if (auto* container = IsLeaf(atom) ? nullptr : dynamic_cast<Container*>(atom)) {
      container->hint_ = nullptr;
      while (ListElement* e = container->children_.popFront()) pending.push_back(static_cast<Atom*>(e));
    }
    delete atom;
  }
  items_.clearAndDelete();
}

bool Container::AddChild(Atom* child) {
  if (!child) return false;
  children_.append(child);
  ContentChangedFrom(child->Start());
  return true;
}

void Container::PrependChild(Atom* child) {
  children_.prepend(child);
  ContentChangedFrom(kFirstPositionNumber);
}

bool Container::AddItem(PositionItem* item) {
  if (!item) return false;
  ContentChangedFrom(item->Start());
  // Walking back from the end: most items arrive in position order, and
  // items at the same position keep the order in which they came.
  for (auto* e = static_cast<PositionItem*>(items_.last()); e; e = PreviousItem(e)) {
    if (e->Start() <= item->Start()) {
      items_.insertAfter(item, e);
      return true;
    }
  }
  items_.prepend(item);
  return true;
}

bool Container::SetStyle(ResolvedStyle* style, LONG) {
  if (children_.isEmpty()) {
    style_ = style;
    ForgetUnits();
  }
  return true;
}

Atom* Container::ChildAt(const Position& position) {
  if (children_.isEmpty()) return this;
  LONG n = position.Number();
  if (n == kFirstPositionNumber || n <= start_) return FirstChild();
  if (n == kLastPositionNumber || n >= end_) return LastChild();
  // The first child that reaches the position. Lookups mostly come in
  // document order (a document's anchors, one after the other), so the
  // search starts at the child found last, after stepping back over the
  // children before it that reach the position too (or are still open):
  // the answer is the same as a search from the first child, without a
  // walk over every child for every lookup.
  Atom* c = hint_ ? hint_ : FirstChild();
  for (Atom* p = PreviousOf(c); p && (p->End() >= n || p->End() == -1); p = PreviousOf(c)) c = p;
  for (; c; c = NextOf(c)) {
    if (c->End() >= n) {
      hint_ = c;
      return c;
    }
  }
  return LastChild();
}

bool Container::ForRange(RangeOperation op, const Position& from, const Position& to,
                         const StyleDefinition* change, BYTE bits) {
  NestingGuard guard;
  if (guard.TooDeep()) return true;
  // A new style may measure differently: what it reaches is laid out again.
  if (op == kApplyStyleOp || op == kApplyParagraphOp) StyleChangedFrom(from.Number());
  Atom* child = ChildAt(from);
  if (child == this) return true;
  bool result = true;
  for (; child && child->Start() < to.Number(); child = NextOf(child)) {
    switch (op) {
      case kApplyStyleOp: result = child->ApplyStyle(from, to, change); break;
      case kApplyParagraphOp: result = child->ApplyParagraphStyle(from, to, change); break;
      case kSetMarksOp: result = child->SetMarks(from, to, bits); break;
      case kClearMarksOp: result = child->ClearMarks(from, to, bits); break;
    }
  }
  return result;
}

bool Container::ApplyStyle(const Position& from, const Position& to, const StyleDefinition* change) {
  return ForRange(kApplyStyleOp, from, to, change, 0);
}
bool Container::ApplyParagraphStyle(const Position& from, const Position& to, const StyleDefinition* change) {
  return ForRange(kApplyParagraphOp, from, to, change, 0);
}
bool Container::SetMarks(const Position& from, const Position& to, BYTE bits) {
  return ForRange(kSetMarksOp, from, to, nullptr, bits);
}
bool Container::ClearMarks(const Position& from, const Position& to, BYTE bits) {
  return ForRange(kClearMarksOp, from, to, nullptr, bits);
}

ResolvedStyle* Container::StyleAt(const Position& position) {
  NestingGuard guard;
  if (guard.TooDeep()) return style_;
  Atom* child = ChildAt(position);
  return child == this ? style_ : child->StyleAt(position);
}

void Container::MarksAt(const Position& position, BYTE& bits) {
  NestingGuard guard;
  if (guard.TooDeep()) {
    bits = marks_;
    return;
  }
  Atom* child = ChildAt(position);
  if (child == this)
    bits = marks_;
  else
    child->MarksAt(position, bits);
}

bool Container::AppendText(CString& out, const Position& from, const Position& to, BOOL atEnd, LONG option) {
  NestingGuard guard;
  if (guard.TooDeep()) return true;
  Atom* child = FirstChild();
  while (child && child->End() < from.Number()) child = NextOf(child);
  PositionItem* item = FirstItem();
  while (item && item->Start() < from.Number()) item = NextItem(item);
  Position current(from.Number());
  bool finished = false;
  while (child && !finished) {
    PositionItem* stop = item && item->Start() < to.Number() ? item : nullptr;
    Position upTo(stop ? stop->Start() : to.Number());
    while (child && child->Start() < to.Number() && (!stop || child->Start() < stop->Start())) {
      bool last = !stop && child->End() >= to.Number();
      child->AppendText(out, current, upTo, last ? atEnd : FALSE, option);
      if (last) finished = true;
      // A child that runs on past the item goes on after it.
      if (stop && child->End() >= stop->Start()) break;
      child = NextOf(child);
    }
    if (!stop) break;
    CString itemText;
    if (stop->GetText(itemText, 0)) out += itemText;
    item = NextItem(stop);
    current = upTo;
  }
  return true;
}

Position* Container::Step(const Position& position, int direction, int flag, int mode, TextOutput* ctx,
                          LONG distance, const LayoutRect& caret) {
  NestingGuard guard;
  if (guard.TooDeep()) return nullptr;
  if (mode == 2) {
    if (flag) {
      for (Atom* c = FirstChild(); c; c = NextOf(c))
        if (Position* p = c->Step(position, direction, flag, mode, ctx, distance, caret)) return p;
    }
    return Atom::Step(position, direction, flag, mode, ctx, distance, caret);
  }
  Atom* child = ChildAt(position);
  if (child == this) return nullptr;
  bool forward = direction == 1 || direction == 3;
  for (; child; child = forward ? NextOf(child) : PreviousOf(child))
    if (Position* p = child->Step(position, direction, flag, mode, ctx, distance, caret)) return p;
  return nullptr;
}

void Container::InvalidateRange(const PositionRange& range) {
  NestingGuard guard;
  if (guard.TooDeep()) return;
  const Position& lower = range.Lower();
  const Position& upper = range.Upper();
  // The children that reach the range, found from the end: ChildAt would
  // answer only the last child of a container that is still open, and
  // the child before it may have grown since it was laid out.
  Atom* child = nullptr;
  for (Atom* c = LastChild(); c && (c->End() >= lower.Number() || c->End() == -1); c = PreviousOf(c)) child = c;
  for (; child && child->Start() <= upper.Number(); child = NextOf(child)) child->InvalidateRange(range);
  ForgetUnits();
}

void Container::Reset(int level) {
  NestingGuard guard;
  if (guard.TooDeep()) return;
  for (Atom* c = FirstChild(); c; c = NextOf(c)) c->Reset(level);
  if (level == 2) ForgetUnits();
}

bool Container::HoldsObject(LONG kind, void* object, PositionRange* range) {
  NestingGuard guard;
  if (guard.TooDeep()) return false;
  bool held = false;
  for (Atom* c = FirstChild(); c; c = NextOf(c))
    if (c->HoldsObject(kind, object, range)) held = true;
  return held;
}

void Container::EnsureUnits(TextOutput* ctx) {
  if (!style_ || !ctx) {
    unitWidth_ = unitHeight_ = 0;
    return;
  }
  LayoutRect box = style_->BlankExtent(ctx);
  unitWidth_ = box.right - box.left;
  unitHeight_ = box.bottom - box.top;
}

LONG Container::PercentOf(LONG value, LONG unit) {
  if (unit == kNotComputed) return 0;
  int64_t product = static_cast<int64_t>(value) * unit / 100;
  if (product <= 0) return 0;
  return static_cast<LONG>(std::min<int64_t>(product, 0x3FFFFFF));
}

LONG Container::StyleSpacing(int side, bool oneLine) const {
  if (!style_) return 0;
  const TextStyle& s = style_->Style();
  auto valueOf = [](const StyleValue& v) -> LONG { return v.mode != StyleValue::kUnset ? v.value : 0; };
  switch (side) {
    case kSpaceBefore: return PercentOf(valueOf(s.before), unitHeight_);
    case kSpaceAfter: return PercentOf(valueOf(s.after), unitHeight_);
    case kSpaceLeft: {
      LONG left = valueOf(s.left);
      bool firstSet = s.firstLeft.mode != StyleValue::kUnset;
      // A hanging first line reaches left of the indent; a positive
      // first-line indent counts only where the first line is the only one.
      if (firstSet && (oneLine || s.firstLeft.value <= 0)) left += s.firstLeft.value;
      return PercentOf(left, unitWidth_);
    }
    case kSpaceRight: return PercentOf(valueOf(s.right), unitWidth_);
    default: return 0;
  }
}

LONG Container::Spacing(int side, TextOutput* ctx, const Position&, const Position&, int) {
  if (unitWidth_ == kNotComputed) EnsureUnits(ctx);
  return StyleSpacing(side, false);
}

Atom* Container::CloneRange(const Position& from, const Position& to) {
  NestingGuard guard;
  if (guard.TooDeep()) return nullptr;
  Container* copy = EmptyCopy();
  if (!copy) return nullptr;
  copy->CopyBase(*this);
  copy->unitWidth_ = unitWidth_;
  copy->unitHeight_ = unitHeight_;
  for (Atom* c = FirstChild(); c; c = NextOf(c)) {
    // A closed child wholly outside the range has no part in the copy.
    if (c->End() >= 0 && (c->End() <= from.Number() || c->Start() >= to.Number())) continue;
    if (Atom* part = c->CloneRange(from, to)) copy->children_.append(part);
  }
  for (PositionItem* i = FirstItem(); i; i = NextItem(i))
    if (PositionItem* clone = i->CloneInside(from, to)) copy->items_.append(clone);
  return copy;
}

void Container::DeleteChild(Atom* child) {
  ContentChangedFrom(child->Start());
  if (child == hint_) hint_ = nullptr;
  children_.unlink(child);
  delete child;
}

void Container::Indent(oldio::ostream& out, int indent) {
  for (int i = 0; i < indent; ++i) out << ' ';
}

void Container::DumpContainer(oldio::ostream& out, int indent) {
  NestingGuard guard;
  if (guard.TooDeep()) return;
  Indent(out, indent);
  CString line;
  line.Format("Container on the positon:%p offset:%ld", static_cast<const void*>(this), start_);
  out << line.c_str() << oldio::endl;
  for (Atom* c = FirstChild(); c; c = NextOf(c)) c->Dump(out, indent + 2);
  Indent(out, indent);
  out << "}" << oldio::endl;
}

oldio::ostream& Container::Dump(oldio::ostream& out, int indent) {
  DumpContainer(out, indent);
  return out;
}
