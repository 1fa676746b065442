#include "layout/atoms/table_atom.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "layout/atoms/text_output.h"
#include "text/style/resolved_style.h"

namespace {

constexpr LONG kUnbounded = 0x3FFFFFF;
constexpr BYTE kFrameFlags = 0x01;

LONG ClampSpan(LONG span) { return std::clamp<LONG>(span, 1, kMaxTableSpan); }

}  // namespace

// ---- TableItemAtom

TableItemAtom::TableItemAtom(LONG start, ResolvedStyle* style, const CellAttrs& attrs)
    : ParagraphAtom(start, style, nullptr),
      givenWidth(attrs.widthPercent ? 0 : std::max<LONG>(0, attrs.width)),
      rowSpan(ClampSpan(attrs.rowSpan)),
      colSpan(ClampSpan(attrs.colSpan)) {}

Container* TableItemAtom::EmptyCopy() const {
  CellAttrs attrs;
  auto* copy = new (std::nothrow) TableItemAtom(start_, style_, attrs);
  if (!copy) return nullptr;
  copy->width = width;
  copy->height = height;
  copy->givenWidth = givenWidth;
  copy->rowSpan = rowSpan;
  copy->colSpan = colSpan;
  copy->borderFlag = borderFlag;
  return copy;
}

Atom* TableItemAtom::CloneRange(const Position& from, const Position& to) {
  if (!(end_ > from.Number() && start_ < to.Number())) return nullptr;
  return ParagraphAtom::CloneRange(from, to);
}

int TableItemAtom::Format(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position& from,
                          int flag) {
  if (children_.isEmpty()) {
    continuation = EndPosition();
    return kFormatFits;
  }
  return ParagraphAtom::Format(ctx, rect, continuation, from, flag);
}

LONG TableItemAtom::LineGap(TextOutput* ctx, LayoutLine* previous, LayoutLine* line) {
  auto block = [](LayoutLine* l) {
    PlacementRecord* r = l->FirstRecord();
    return r && ((r->atom->TypeMask() & kFlowMask) || r->atom->TypeMask() == kTableMask);
  };
  if (block(previous) || block(line)) return FlowAtom::LineGap(ctx, previous, line);
  return ParagraphAtom::LineGap(ctx, previous, line);
}

oldio::ostream& TableItemAtom::Dump(oldio::ostream& out, int indent) {
  Indent(out, indent);
  out << "TableItemAtom =" << oldio::endl;
  DumpContainer(out, indent + 2);
  return out;
}

// ---- TableAtom

TableAtom::TableAtom(LONG start, ResolvedStyle* style, const TableAttrs& attrs)
    : Container(start, style),
      border_(std::clamp<LONG>(attrs.border, 0, kMaxTableMeasure)),
      spacing_(std::clamp<LONG>(attrs.spacing, 0, kMaxTableMeasure)),
      padding_(std::clamp<LONG>(attrs.padding, 0, kMaxTableMeasure)),
      hasWidth_(attrs.hasWidth != 0),
      widthPercent_(attrs.widthPercent != 0),
      width_(std::clamp<LONG>(attrs.width, 0, kMaxTableMeasure)),
      wrap_(attrs.wrap != 0) {}

TableAtom::~TableAtom() {
  rows_.clearAndDelete();
  columns_.clearAndDelete();
}

Container* TableAtom::EmptyCopy() const {
  TableAttrs attrs;
  attrs.border = border_;
  attrs.spacing = spacing_;
  attrs.padding = padding_;
  attrs.width = width_;
  attrs.hasWidth = hasWidth_;
  attrs.widthPercent = widthPercent_;
  attrs.wrap = wrap_;
  auto* copy = new (std::nothrow) TableAtom(start_, style_, attrs);
  if (copy) copy->cellLineFactor_ = cellLineFactor_;
  return copy;
}

bool TableAtom::AddChild(Atom* child) {
  if (!child || child->TypeMask() != kTableItemMask) return false;
  auto* cell = CellOf(child);
  cell->borderFlag = border_ >= 1 ? 0x10 : 0;
  if (!PlaceCell(cell)) return false;
  return Container::AddChild(cell);
}

bool TableAtom::AddItem(PositionItem* item) {
  if (!item || !(item->TypeMask() & kTableItemBit)) return false;
  if (item->TypeMask() != kTableRowKind) return false;
  NewRow();
  delete item;
  return true;
}

void TableAtom::NewRow() {
  if (filling_ && filling_->Next()) {
    filling_ = filling_->Next();
    return;
  }
  auto* row = new (std::nothrow) TableRow;
  if (!row) return;
  rows_.append(row);
  filling_ = row;
}

bool TableAtom::PlaceCell(TableItemAtom* cell) {
  if (!filling_) NewRow();
  if (!filling_) return false;
  LONG firstColumn = 0;
  for (TableGridSlot* s = filling_->FirstSlot(); s && s->cell; s = s->Next()) ++firstColumn;
  if (firstColumn >= kMaxTableColumns) return false;
  LONG columnSpan = std::min(cell->colSpan, kMaxTableColumns - firstColumn);
  bool spanning = cell->rowSpan >= 2 || columnSpan >= 2;
  TableGridSlot* firstSlot = nullptr;
  TableGridSlot* lastSlot = nullptr;
  TableRow* row = filling_;
  for (LONG r = 0; r < cell->rowSpan; ++r) {
    if (!row) {
      row = new (std::nothrow) TableRow;
      if (!row) break;
      rows_.append(row);
    }
    for (LONG c = firstColumn; c < firstColumn + columnSpan; ++c) {
      while (row->slots.count() <= c) {
        auto* slot = new (std::nothrow) TableGridSlot;
        if (!slot) return false;
        row->slots.append(slot);
      }
      while (columns_.count() <= c) {
        auto* column = new (std::nothrow) TableColumn;
        if (!column) return false;
        columns_.append(column);
      }
      TableGridSlot* slot = row->SlotAt(c);
      if (slot->cell && slot->cell != cell) continue;  // taken by a cell spanning into it
      slot->cell = cell;
      slot->spanning = spanning;
      if (!firstSlot) {
        firstSlot = slot;
        slot->first = true;
      }
      lastSlot = slot;
    }
    row = row->Next();
  }
  if (lastSlot) lastSlot->last = true;
  return true;
}

LONG TableAtom::BorderLineThickness(TextOutput* ctx) const {
  if (border_ == 0 || !ctx) return 0;
  return ctx->FontSize(FontDescriptor(6, kFrameFlags, 100, 0));
}

LONG TableAtom::ScaledGivenWidth(TextOutput* ctx, const TableItemAtom* cell) const {
  if (cell->givenWidth == 0 || !ctx) return cell->givenWidth;
  LayoutSize size{cell->givenWidth, 0};
  ctx->ScaleToDevice(size);
  return size.cx;
}

void TableAtom::MeasureCell(TextOutput* ctx, TableItemAtom* cell, LONG column) {
  cell->Reset(1);
  LayoutRect lower = LayoutRect::Of(0, 0, 0, 0), natural = LayoutRect::Of(0, 0, 0, 0);
  if (!cell->NaturalSize(lower, natural, ctx)) lower = natural = LayoutRect::Of(0, 0, 0, 0);
  if (!wrap_) lower = natural;
  LONG given = ScaledGivenWidth(ctx, cell);
  if (given != 0) given += edgeSpacing_;
  SpreadCellWidth(cell->colSpan, column, lower.Width() + edgeSpacing_, natural.Width() + edgeSpacing_, given);
}

void TableAtom::SpreadCellWidth(LONG span, LONG firstColumn, LONG lower, LONG upper, LONG given) {
  LONG wanted = given != 0 ? given : upper;
  TableColumn* first = ColumnAt(firstColumn);
  if (!first) return;
  span = std::max<LONG>(1, std::min(span, columns_.count() - firstColumn));
  if (span == 1) {
    first->upper = std::max(first->upper, wanted);
    first->lower = std::max(first->lower, lower);
    return;
  }
  auto spread = [&](LONG TableColumn::*field, LONG needed) {
    LONG sum = 0;
    TableColumn* c = first;
    for (LONG i = 0; i < span && c; ++i, c = c->Next()) sum += c->*field;
    if (sum >= needed) return;
    LONG difference = needed - sum, share = difference / span;
    c = first;
    for (LONG i = 0; i < span && c; ++i, c = c->Next()) {
      LONG part = i < span - 1 ? share : difference - share * (span - 1);
      c->*field += part;
    }
  };
  spread(&TableColumn::upper, wanted);
  spread(&TableColumn::lower, lower);
}

void TableAtom::ComputeColumnBounds(TextOutput* ctx) {
  if (boundsComputed_) return;
  LONG b = BorderLineThickness(ctx) * cellLineFactor_;
  edgeSpacing_ = (padding_ + b) * 2;
  for (TableColumn* c = FirstColumn(); c; c = c->Next()) c->width = c->lower = c->upper = 0;
  for (int pass = 0; pass < 2; ++pass) {
    for (TableRow* row = FirstRow(); row; row = row->Next()) {
      LONG column = 0;
      for (TableGridSlot* s = row->FirstSlot(); s; s = s->Next(), ++column) {
        if (!s->cell || !s->first || (pass == 1 && !s->spanning)) continue;
        MeasureCell(ctx, s->cell, column);
      }
    }
  }
  sumLower_ = sumUpper_ = 0;
  byUpper_ = nullptr;
  for (TableColumn* c = FirstColumn(); c; c = c->Next()) {
    sumLower_ += c->lower;
    sumUpper_ += c->upper;
    // Equal widths keep their column order.
    TableColumn** link = &byUpper_;
    while (*link && (*link)->upper <= c->upper) link = &(*link)->nextByUpper;
    c->nextByUpper = *link;
    *link = c;
  }
  boundsComputed_ = true;
}

void TableAtom::DistributeWidth(LONG w, bool hasWidth) {
  LONG n = columns_.count();
  if (n == 0) return;  // a table without cells has nothing to share
  if (w < sumUpper_) {
    if (w > sumLower_) {
      LONG extra = w - sumLower_;
      LONG left = n;
      for (TableColumn* c = byUpper_; c; c = c->nextByUpper, --left) {
        LONG share = extra / std::max<LONG>(1, left);
        if (c->upper == c->lower) {
          c->width = c->lower;
        } else if (c->upper - c->lower < share) {
          c->width = c->upper;
          extra -= c->upper - c->lower;
        } else {
          c->width = c->lower + share;
          extra -= share;
        }
      }
    } else {
      for (TableColumn* c = FirstColumn(); c; c = c->Next()) c->width = c->lower;
    }
    return;
  }
  LONG more = hasWidth ? (w - sumUpper_) / n : 0;
  for (TableColumn* c = FirstColumn(); c; c = c->Next()) c->width = c->upper + more;
}

int TableAtom::Format(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position& from,
                      int flag) {
  NestingGuard guard;
  if (guard.TooDeep()) {
    cached_ = LayoutRect::Of(0, 0, 0, 0);
    continuation = MakePosition(kLastPositionNumber);
    return kFormatFits;
  }
  // Laid out again in the same width, nothing in it having changed, the
  // table is what it was.
  if (formattedOutput_ == ctx && ctx && formattedWidth_ == rect.Width() && formattedFlag_ == flag &&
      from.Number() <= start_)
    return FormatResult(rect, continuation);
  EnsureUnits(ctx);
  LONG thickness = BorderLineThickness(ctx);
  LONG b = thickness * cellLineFactor_;
  LONG outer = thickness * border_;
  LONG target = rect.Width();
  if (hasWidth_ && !widthPercent_) {
    LayoutSize size{width_, 0};
    if (ctx) ctx->ScaleToDevice(size);
    target = size.cx;
  } else if (hasWidth_) {
    target = static_cast<LONG>(static_cast<int64_t>(rect.Width()) * width_ / 100);
  }
  ComputeColumnBounds(ctx);
  DistributeWidth(target - 2 * outer - (columns_.count() + 1) * spacing_, hasWidth_);

  LONG y = outer, widest = 0;
  for (TableRow* row = FirstRow(); row; row = row->Next()) {
    y += spacing_;
    row->y = y;
    LONG x = outer, h = 0;
    TableColumn* column = FirstColumn();
    for (TableGridSlot* s = row->FirstSlot(); s && column; s = s->Next(), column = column->Next()) {
      x += spacing_;
      TableItemAtom* cell = s->cell;
      if (!cell || cell->IsEmpty()) {
        x += column->width;
        continue;
      }
      if (s->first) {
        LONG w = column->width;
        TableColumn* further = column->Next();
        for (LONG i = 1; i < cell->colSpan && further; ++i, further = further->Next()) w += further->width + spacing_;
        cell->width = w;
        cell->SetBoxOrigin(x, y);
        LONG given = ScaledGivenWidth(ctx, cell);
        if (given != 0 && given < w) w = given;
        Position* c = nullptr;
        cell->Format(ctx, LayoutRect::Of(0, w - edgeSpacing_, 0, kUnbounded), c, from, flag);
        delete c;
      }
      x += column->width;
      LayoutRect e;
      cell->Extent(e, ctx, FirstPosition(), LastPosition(), 1);
      LONG content = e.IsComputed() ? e.Height() : 0;
      if (cell->rowSpan > 1) {
        if (!s->last) continue;
        content -= row->y - cell->BoxY();
      }
      h = std::max(h, content);
    }
    widest = std::max(widest, x);
    row->height = h + 2 * b + 2 * padding_;
    y += row->height;
    PlaceRowCells(row, ctx);
  }
  cached_ = LayoutRect::Of(0, spacing_ + outer + widest, 0, y + spacing_ + outer);
  formattedOutput_ = from.Number() <= start_ ? ctx : nullptr;
  formattedWidth_ = rect.Width();
  formattedFlag_ = flag;
  return FormatResult(rect, continuation);
}

int TableAtom::FormatResult(const LayoutRect& rect, Position*& continuation) {
  bool tooWide = rect.Width() < cached_.right;
  bool tooHigh = rect.Height() < cached_.bottom;
  if (tooWide || tooHigh) {
    continuation = StartPosition();
    return tooHigh ? kFormatNothing : kFormatTooWide;
  }
  continuation = MakePosition(kLastPositionNumber);
  return kFormatFits;
}

void TableAtom::PlaceRowCells(TableRow* row, TextOutput* ctx) {
  LONG b = BorderLineThickness(ctx) * cellLineFactor_;
  for (TableGridSlot* s = row->FirstSlot(); s; s = s->Next()) {
    if (!s->last || !s->cell) continue;
    TableItemAtom* cell = s->cell;
    LONG height = row->height;
    TableRow* above = row->Previous();
    for (LONG i = 1; i < cell->rowSpan && above; ++i, above = above->Previous()) height += above->height + spacing_;
    cell->height = height;
    LayoutRect e;
    cell->Extent(e, ctx, FirstPosition(), LastPosition(), 1);
    if (!e.IsComputed()) e = LayoutRect::Of(0, 0, 0, 0);
    LONG x = cell->BoxX() + padding_ + b;
    LONG y = cell->BoxY() + padding_ + b - e.top;
    int vertical = cell->Style() ? cell->Style()->Style().alignment.Field(1) : 0;
    LONG free = height - edgeSpacing_ - e.Height();
    if (vertical == 1) y += free;
    if (vertical == 2) y += free / 2;
    cell->SetContentOrigin(x, y);
  }
}

bool TableAtom::NaturalSize(LayoutRect& lower, LayoutRect& natural, TextOutput* ctx) {
  NestingGuard guard;
  if (guard.TooDeep()) return false;
  ComputeColumnBounds(ctx);
  LONG thickness = BorderLineThickness(ctx);
  LONG b = thickness * cellLineFactor_, outer = thickness * border_;
  LONG extra = (spacing_ + 2 * (padding_ + b)) * columns_.count() + 2 * outer + spacing_;
  if (hasWidth_ && !widthPercent_) {
    LONG w = std::max(width_, sumLower_ + extra);
    lower = natural = LayoutRect::Of(0, w, 0, kUnbounded);
  } else {
    lower = LayoutRect::Of(0, sumLower_ + extra, 0, kUnbounded);
    natural = LayoutRect::Of(0, sumUpper_ + extra, 0, kUnbounded);
  }
  return true;
}

int TableAtom::Extent(LayoutRect& out, TextOutput*, const Position&, const Position&, int) {
  out = cached_;
  return 0;
}

void TableAtom::InvalidateRange(const PositionRange& range) {
  ForgetFormat();
  Container::InvalidateRange(range);
}

void TableAtom::Reset(int level) {
  ForgetFormat();
  Container::Reset(level);
}

bool TableAtom::HoldsObject(LONG kind, void* object, PositionRange* range) {
  bool held = false;
  for (Atom* c = FirstChild(); c && !held; c = NextOf(c)) held = c->HoldsObject(kind, object, range);
  if (held && range) {
    if (start_ < range->Start().Number()) range->SetStart(Position(start_));
    if (end_ < range->End().Number()) range->SetEnd(Position(end_));
  }
  return held;
}

TableItemAtom* TableAtom::CellAt(const Position& position) const {
  LONG n = position.Number();
  for (Atom* c = FirstChild(); c; c = NextOf(c))
    if (c->Start() <= n && c->End() >= n) return CellOf(c);
  return nullptr;
}

TableRow* TableAtom::RowAtY(LONG y) const {
  for (TableRow* row = FirstRow(); row; row = row->Next())
    if (row->y > y) return row->Previous() ? row->Previous() : row;
  return LastRow();
}

int TableAtom::Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& clip, const Position& from,
                    const Position& to, int flag, const PositionRange* range) {
  NestingGuard guard;
  if (guard.TooDeep()) return 0;
  if (cached_.IsComputed())
    DrawFrame(LayoutRect::Of(origin.x + cached_.left, origin.x + cached_.right, origin.y + cached_.top,
                             origin.y + cached_.bottom),
              ctx);
  for (Atom* c = FirstChild(); c; c = NextOf(c)) {
    TableItemAtom* cell = CellOf(c);
    LONG bx = origin.x + cell->BoxX(), by = origin.y + cell->BoxY();
    DrawCellBorder(LayoutRect::Of(bx, bx + cell->width, by, by + cell->height), ctx, cell->borderFlag);
    LayoutRect inner = LayoutRect::Of(clip.left - cell->ContentX(), clip.right - cell->ContentX(),
                                      clip.top - cell->ContentY(), clip.bottom - cell->ContentY());
    cell->Draw(ctx, LayoutPoint{origin.x + cell->ContentX(), origin.y + cell->ContentY()}, inner, from, to, flag,
               range);
  }
  return 0;
}

void TableAtom::DrawFrame(const LayoutRect& box, TextOutput* ctx) const {
  if (border_ == 0 || !ctx) return;
  LONG t = BorderLineThickness(ctx) * border_;
  FontDescriptor d6(6, kFrameFlags, 100, 0), d7(7, kFrameFlags, 100, 0);
  LONG L = box.left, R = box.right, T = box.top, B = box.bottom;
  const LayoutPoint top[] = {{L, T}, {R, T}, {R - t, T + t}, {L + t, T + t}};
  const LayoutPoint right[] = {{R, B}, {R, T}, {R - t, T + t}, {R - t, B - t}};
  const LayoutPoint bottom[] = {{R, B}, {L, B}, {L + t, B - t}, {R - t, B - t}};
  const LayoutPoint left[] = {{L, T}, {L, B}, {L + t, B - t}, {L + t, T + t}};
  ctx->Polygon(top, 4, d6);
  ctx->Polygon(right, 4, d7);
  ctx->Polygon(bottom, 4, d7);
  ctx->Polygon(left, 4, d6);
}

void TableAtom::DrawCellBorder(const LayoutRect& box, TextOutput* ctx, LONG flag) const {
  if (flag == 0 || !ctx) return;
  WORD scale = static_cast<WORD>(cellLineFactor_ * 100);
  FontDescriptor d7(7, kFrameFlags, scale, 0), d6(6, kFrameFlags, scale, 0);
  LONG L = box.left, R = box.right, T = box.top, B = box.bottom;
  ctx->Line({L, T}, {R, T}, d7);
  ctx->Line({R, T}, {R, B}, d6);
  ctx->Line({R, B}, {L, B}, d6);
  ctx->Line({L, B}, {L, T}, d7);
}

Position* TableAtom::PositionAtPoint(TextOutput* ctx, const LayoutPoint& point, int mode, const Position& from,
                                     const Position& to, LONG option) {
  TableRow* row = RowAtY(point.y);
  if (!row) return nullptr;
  LONG x = 0;
  TableGridSlot* slot = row->FirstSlot();
  bool reached = false;
  for (TableColumn* c = FirstColumn(); c && slot; c = c->Next()) {
    x += spacing_ + c->width;
    if (x > point.x) {
      reached = true;
      break;
    }
    slot = slot->Next();
  }
  if (!reached || !slot || !slot->cell || slot->cell->IsEmpty()) return nullptr;
  TableItemAtom* cell = slot->cell;
  LayoutPoint inside{point.x - cell->ContentX(), point.y - cell->ContentY()};
  return cell->PositionAtPoint(ctx, inside, mode, from, to, option);
}

Position* TableAtom::Step(const Position& position, int direction, int flag, int mode, TextOutput* ctx,
                          LONG distance, const LayoutRect& caret) {
  if (direction == 2 || direction == 3 || mode == 2)
    return Container::Step(position, direction, flag, mode, ctx, distance, caret);
  if (direction != 0 && direction != 1) return nullptr;
  TableRow* row = FirstRow();
  while (row && row->y + row->height < caret.top) row = row->Next();
  if (!row) return nullptr;
  TableItemAtom* cell = CellAt(position);
  if (!cell) return nullptr;
  LayoutRect inner = LayoutRect::Of(caret.left - cell->ContentX(), caret.right - cell->ContentX(),
                                    caret.top - cell->ContentY(), caret.bottom - cell->ContentY());
  if (Position* p = cell->Step(position, direction, flag, mode, ctx, distance, inner)) return p;
  bool down = direction == 1;
  for (row = down ? row->Next() : row->Previous(); row; row = down ? row->Next() : row->Previous()) {
    // The cell under the caret's x, else the row's last; then leftwards to
    // the first cell with content.
    std::vector<TableGridSlot*> slots;
    for (TableGridSlot* s = row->FirstSlot(); s; s = s->Next()) slots.push_back(s);
    if (slots.empty()) continue;
    size_t at = slots.size() - 1;
    for (size_t i = 0; i < slots.size(); ++i) {
      TableGridSlot* s = slots[i];
      if (s->first && s->cell && s->cell->BoxX() + s->cell->width >= caret.left) {
        at = i;
        break;
      }
    }
    TableItemAtom* target = nullptr;
    for (size_t i = at + 1; i-- > 0;) {
      if (slots[i]->cell && !slots[i]->cell->IsEmpty()) {
        target = slots[i]->cell;
        break;
      }
    }
    if (!target) continue;
    LayoutRect e;
    target->Extent(e, ctx, FirstPosition(), LastPosition(), 1);
    if (!e.IsComputed()) e = LayoutRect::Of(0, 0, 0, 0);
    LayoutPoint at2{caret.left - target->ContentX(), down ? e.top : e.bottom};
    return target->PositionAtPoint(ctx, at2, mode, FirstPosition(), LastPosition(), 0);
  }
  return nullptr;
}

int TableAtom::CaretRect(LayoutRect& out, TextOutput* ctx, const PositionRange& selection, int flag,
                         const Position& from, const Position& to, LONG option) {
  int r = Extent(out, ctx, from, to, option);
  LONG s = selection.Start().Number(), e = selection.End().Number();
  TableItemAtom* startCell = nullptr;
  TableItemAtom* endCell = nullptr;
  for (Atom* c = FirstChild(); c; c = NextOf(c)) {
    if (!startCell && c->End() >= s) startCell = CellOf(c);
    if (!endCell && c->End() >= e) endCell = CellOf(c);
  }
  if (!startCell && !endCell) return kFormatPartial;
  if (children_.isEmpty()) return kFormatPartial;
  if (!startCell) startCell = CellOf(e > s ? FirstChild() : LastChild());
  if (!endCell) endCell = CellOf(e > s ? LastChild() : FirstChild());
  if (flag) {
    int result = endCell->CaretRect(out, ctx, selection, flag, from, to, option);
    if (out.IsComputed()) {
      out.left += endCell->ContentX();
      out.right += endCell->ContentX();
      out.top += endCell->ContentY();
      out.bottom += endCell->ContentY();
    }
    return result;
  }
  auto boxOf = [](const TableItemAtom* cell) {
    return LayoutRect::Of(cell->BoxX(), cell->BoxX() + cell->width, cell->BoxY(), cell->BoxY() + cell->height);
  };
  out = boxOf(startCell);
  out.Union(boxOf(endCell));
  return r;
}

Atom* TableAtom::CloneRange(const Position& from, const Position& to) {
  if (!(end_ > from.Number() && start_ < to.Number())) return nullptr;
  auto* copy = static_cast<TableAtom*>(Container::CloneRange(FirstPosition(), LastPosition()));
  if (!copy) return nullptr;
  for (LONG i = 0; i < columns_.count(); ++i)
    if (auto* column = new (std::nothrow) TableColumn) copy->columns_.append(column);
  for (TableRow* row = FirstRow(); row; row = row->Next()) {
    auto* newRow = new (std::nothrow) TableRow;
    if (!newRow) break;
    copy->rows_.append(newRow);
    for (TableGridSlot* s = row->FirstSlot(); s; s = s->Next()) {
      auto* slot = new (std::nothrow) TableGridSlot;
      if (!slot) break;
      slot->spanning = s->spanning;
      slot->first = s->first;
      slot->last = s->last;
      if (s->cell && from.Number() < s->cell->Start() && s->cell->Start() < to.Number()) {
        for (Atom* c = copy->FirstChild(); c; c = NextOf(c))
          if (c->Start() == s->cell->Start()) {
            slot->cell = CellOf(c);
            break;
          }
      }
      newRow->slots.append(slot);
    }
  }
  return copy;
}

oldio::ostream& TableAtom::Dump(oldio::ostream& out, int indent) {
  Indent(out, indent);
  out << "TableAtom =" << oldio::endl;
  DumpContainer(out, indent + 2);
  return out;
}
