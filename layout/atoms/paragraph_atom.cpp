#include "layout/atoms/paragraph_atom.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "layout/atoms/text_output.h"

namespace {

// A slack this large means the right edge is unbounded: nothing to align.
constexpr LONG kUnboundedSlack = 0x800000;

LONG SetValue(const StyleValue& v) { return v.mode != StyleValue::kUnset ? v.value : 0; }

LONG Scaled(LONG percent, LONG unit) {
  if (unit == kNotComputed) return 0;
  int64_t v = static_cast<int64_t>(percent) * unit / 100;
  return static_cast<LONG>(std::clamp<int64_t>(v, -0x3FFFFFF, 0x3FFFFFF));
}

bool IsParagraph(const Atom* a) { return (a->TypeMask() & kParagraphMask) == kParagraphMask; }

void MoveRecords(const LayoutLine* line, PlacementRecord* from, LONG dx) {
  for (PlacementRecord* r = from; r; r = line->NextRecord(r)) {
    r->left += dx;
    r->right += dx;
  }
}

}  // namespace

// ---- ParagraphLine

ParagraphLine::ParagraphLine(RecordStore& store, const Position& start, PositionItem* breakItem, LONG left,
                             TabSettings* settings)
    : LayoutLine(store, start, breakItem, left), tabs_(settings) {
  if (tabs_) tabs_->AddRef();
}

ParagraphLine::~ParagraphLine() {
  if (tabs_) tabs_->Release();
}

void ParagraphLine::ReplaceTabs(TabSettings* replacement) {
  if (!replacement || replacement == tabs_) return;
  replacement->AddRef();
  if (tabs_) tabs_->Release();
  tabs_ = replacement;
}

// ---- ParagraphAtom

ParagraphAtom::~ParagraphAtom() {
  // Lines hold references on the settings: drop them while the list lives.
  lines_.clearAndDelete();
  if (formatTabs_) formatTabs_->Release();
}

Container* ParagraphAtom::EmptyCopy() const { return new (std::nothrow) ParagraphAtom(start_, style_, tabList_); }

bool ParagraphAtom::AddItem(PositionItem* item) {
  if (!item || !(item->TypeMask() & kParagraphItemBit)) return false;
  return Container::AddItem(item);
}

LONG ParagraphAtom::Spacing(int side, TextOutput* ctx, const Position&, const Position&, int) {
  if (unitWidth_ == kNotComputed) EnsureUnits(ctx);
  return StyleSpacing(side, LineCount() == 1);
}

bool ParagraphAtom::Justified() const {
  if (!style_) return false;
  int form = style_->Style().alignment.hSpacing() & 0xF;
  return form == 1 || form == 2;
}

LONG ParagraphAtom::RightEdge() const { return rightEdge_; }

void ParagraphAtom::BeginLines(TextOutput*, const LayoutRect& rect) {
  LONG left = 0, first = 0, right = 0;
  if (style_) {
    const TextStyle& s = style_->Style();
    left = Scaled(SetValue(s.left), unitWidth_);
    first = Scaled(SetValue(s.left) + SetValue(s.firstLeft), unitWidth_);
    right = Scaled(SetValue(s.right), unitWidth_);
  }
  LONG edge = rect.right - right - rect.left;
  LONG tabWidth = unitWidth_ == kNotComputed ? 0 : static_cast<LONG>(std::min<int64_t>(int64_t{8} * unitWidth_, 0x3FFFFFF));
  TabSettings* settings = nullptr;
  TabSettings* last = tabList_ ? tabList_->Last() : nullptr;
  if (last) {
    settings = last->WithMargins(left, first, edge, tabWidth);
    if (settings != last && !tabList_->Append(settings)) settings = last;
  } else {
    settings = new (std::nothrow) TabSettings(left, first, edge, tabWidth);
    if (settings && tabList_) tabList_->Append(settings);
  }
  if (formatTabs_) formatTabs_->Release();
  formatTabs_ = settings;
  if (formatTabs_) formatTabs_->AddRef();
  originX_ = rect.left;
  rightEdge_ = rect.left + edge;
}

void ParagraphAtom::EndLines() {
  if (formatTabs_) formatTabs_->Release();
  formatTabs_ = nullptr;
}

LayoutLine* ParagraphAtom::NewLine(const Position& start, PositionItem* breakItem, LONG left) {
  // A line goes on with the settings the line before it ended with (tab
  // stops, the left border of a hanging item); the first with the format's.
  LayoutLine* previous = LastLine();
  TabSettings* settings = previous ? static_cast<ParagraphLine*>(previous)->Tabs() : formatTabs_;
  auto* line = new (std::nothrow) ParagraphLine(records_, start, breakItem, left, settings);
  if (line) AppendLine(line);
  return line;
}

void ParagraphAtom::LineRect(LayoutRect& working, const LayoutRect& given) {
  if (!formatTabs_) return;
  LONG indent = formatTabs_->SecondIndent();
  if (LayoutLine* previous = LastLine()) {
    TabSettings* t = static_cast<ParagraphLine*>(previous)->Tabs();
    indent = t ? t->Indent() : formatTabs_->Indent();
  }
  working.left = given.left + indent;
  working.right = given.left + formatTabs_->RightEdge();
}

Position* ParagraphAtom::PlaceInLine(LayoutLine* line, TextOutput* ctx, const LayoutRect& rect, Atom* atom,
                                     const Position& from, int flag) {
  if (line->HasRecords() && (IsParagraph(atom) || IsParagraph(line->LastRecord()->atom))) return from.Clone();
  return line->Place(ctx, rect, atom, from, flag);
}

bool ParagraphAtom::TakeItem(LayoutLine* line, TextOutput* ctx, PositionItem* item, PositionItem*& next) {
  bool taken = true;
  TakeTabItem(static_cast<ParagraphLine*>(line), ctx, item, taken);
  next = NextItem(item);
  return taken && item->TypeMask() != kLineBreakKind;
}

void ParagraphAtom::TakeTabItem(ParagraphLine* line, TextOutput* ctx, PositionItem* item, bool& taken) {
  AlignTab(line);
  taken = true;
  TabSettings* tabs = line->Tabs();
  DWORD mask = item->TypeMask();
  if (mask == kTabStopItemKind && tabs) {
    auto* mark = static_cast<TabMark*>(item);
    if (PlacementRecord* last = line->LastRecord()) {
      LONG after = last->right + std::max<LONG>(0, last->atom->Spacing(kSpaceRight, ctx, FirstPosition(),
                                                                        LastPosition(), 1));
      line->cursor = std::max(line->cursor, after);
    }
    line->ReplaceTabs(tabs->WithTabStop(TabStopPosition{line->cursor - originX_, 0}, mark->Name()));
  } else if ((mask == kTabItemKind || mask == kBorderMarkKind) && tabs) {
    auto* tab = static_cast<TabItem*>(item);
    if (mask == kBorderMarkKind && tab->Name().IsEmpty()) {
      // A border mark without a name ends the hanging indent.
      line->ReplaceTabs(tabs->WithIndent(0));
    } else {
      TabStopPosition stop = tabs->NextTabStop(tab->Name(), line->cursor - originX_, tab->Flag());
      LONG x = stop.position + originX_;
      if (x < line->cursor) x = line->cursor + 1;
      tab->stopKind = stop.kind;
      tab->stopX = x;
      if (stop.kind == 0 || stop.kind == 4) line->cursor = x;
      if (mask == kBorderMarkKind) line->ReplaceTabs(tabs->WithIndent(line->cursor - originX_));
    }
  }
  line->breakItem = item;
}

void ParagraphAtom::AlignTab(ParagraphLine* line) {
  PositionItem* item = line->breakItem;
  if (!item || item->TypeMask() != kTabItemKind || item->Start() < line->start->Number()) return;
  auto* tab = static_cast<TabItem*>(item);
  if (tab->stopKind < 1 || tab->stopKind > 3) return;
  PlacementRecord* first = line->FirstRecord();
  while (first && first->atom->Start() < tab->Start()) first = line->NextRecord(first);
  if (!first) {
    if (PlacementRecord* last = line->LastRecord()) last->right = tab->stopX;
    line->cursor = tab->stopX;
    return;
  }
  PlacementRecord* before = line->PreviousRecord(first);
  LONG base = before ? before->right : line->left;
  LONG w = line->LastRecord()->right - base;
  LONG target = tab->stopX - (tab->stopKind == 2 ? w / 2 : w);
  LONG shift = std::min(target - base, RightEdge() - line->cursor);
  if (shift >= 1) {
    MoveRecords(line, first, shift);
    line->cursor += shift;
  }
}

PlacementRecord* ParagraphAtom::FirstAlignedRecord(const LayoutLine* line) const {
  PositionItem* item = line->breakItem;
  if (item && item->TypeMask() == kLineBreakKind) item = PreviousItem(item);
  if (item && item->Start() > line->start->Number()) {
    PlacementRecord* r = line->FirstRecord();
    while (r && r->atom->Start() < item->Start()) r = line->NextRecord(r);
    return r;
  }
  return line->FirstRecord();
}

void ParagraphAtom::Align(ParagraphLine* line) {
  LONG slack = RightEdge() - line->cursor;
  if (slack >= kUnboundedSlack || slack <= 0 || !style_) return;
  PlacementRecord* first = FirstAlignedRecord(line);
  if (!first) return;
  if (Justified()) {
    LONG gaps = 0;
    for (PlacementRecord* r = first; r && r != line->LastRecord(); r = line->NextRecord(r))
      gaps += r->atom->GapCount(FirstPosition(), LastPosition());
    if (gaps <= 0) return;
    line->cursor += slack;
    LONG s = slack;
    PlacementRecord* stop = line->PreviousRecord(first);
    for (PlacementRecord* r = line->LastRecord(); r && r != stop && gaps > 0; r = line->PreviousRecord(r)) {
      r->left += s;
      r->right += s;
      s -= s / gaps;
      --gaps;
    }
    return;
  }
  LONG dx = 0;
  switch (style_->Style().alignment.bits & 0xF) {
    case 1: dx = slack; break;
    case 2: dx = slack / 2; break;
    default: return;
  }
  MoveRecords(line, first, dx);
  line->cursor += dx;
}

void ParagraphAtom::FinishLine(LayoutLine* line, bool isLast) {
  auto* l = static_cast<ParagraphLine*>(line);
  AlignTab(l);
  // The last line of a justified paragraph keeps its natural spacing.
  if (!(isLast && Justified())) Align(l);
}

LONG ParagraphAtom::LineGap(TextOutput*, LayoutLine*, LayoutLine*) {
  if (!style_) return 0;
  const StyleValue& space = style_->Style().lineSpace;
  if (space.mode == StyleValue::kUnset) return 0;
  return std::max<LONG>(0, Scaled(space.value, unitHeight_));
}

void ParagraphAtom::DumpAs(oldio::ostream& out, int indent, const char* name) {
  Indent(out, indent);
  out << name << oldio::endl;
  DumpContainer(out, indent + 2);
}

oldio::ostream& ParagraphAtom::Dump(oldio::ostream& out, int indent) {
  DumpAs(out, indent, "ParagraphAtom =");
  return out;
}
