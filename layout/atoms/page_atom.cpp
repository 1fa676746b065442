#include "layout/atoms/page_atom.h"

#include <new>

#include "core/named_list.h"
#include "layout/atoms/text_output.h"

BackgroundItem::BackgroundItem(LONG position, NamedObject* picture) : PositionItem(position), picture_(picture) {
  if (picture_) picture_->acquire();
}

BackgroundItem::BackgroundItem(const BackgroundItem& other) : PositionItem(other), picture_(other.picture_) {
  if (picture_) picture_->acquire();
}

BackgroundItem::~BackgroundItem() {
  if (picture_) picture_->release();
}

namespace {

// Integer division that truncates toward zero, as the tile ranges are
// defined; negative bounds are rounded the same way.
LONG Tiles(LONG numerator, LONG size) { return numerator / size; }

}  // namespace

void TileBackground(TextOutput* ctx, NamedObject* picture, const LayoutPoint& origin, const LayoutRect& clip) {
  if (!ctx || !picture) return;
  LayoutSize size;
  ctx->PictureSize(size, picture);
  LONG w = size.cx, h = size.cy;
  if (w <= 0 || h <= 0) return;
  LONG firstColumn = Tiles(clip.left - w + 1, w), lastColumn = Tiles(clip.right - 1 + w, w);
  LONG firstRow = Tiles(clip.top - h + 1, h), lastRow = Tiles(clip.bottom - 1 + h, h);
  for (LONG j = firstRow; j <= lastRow; ++j)
    for (LONG i = firstColumn; i <= lastColumn; ++i)
      ctx->StretchPicture(LayoutPoint{origin.x + w * i, origin.y + h * j}, size, picture);
}

PageAtom::~PageAtom() {
  if (background_) background_->release();
}

Container* PageAtom::EmptyCopy() const { return new (std::nothrow) PageAtom(start_, style_); }

void PageAtom::SetBackground(NamedObject* picture) {
  if (picture) picture->acquire();
  if (background_) background_->release();
  background_ = picture;
}

bool PageAtom::AddItem(PositionItem* item) {
  auto* background = item && item->TypeMask() == kBackgroundItemKind ? dynamic_cast<BackgroundItem*>(item) : nullptr;
  if (!background) return false;
  SetBackground(background->Picture());
  delete background;
  return true;
}

Atom* PageAtom::CloneRange(const Position& from, const Position& to) {
  if (!(end_ > from.Number() && start_ < to.Number())) return nullptr;
  auto* copy = static_cast<PageAtom*>(FlowAtom::CloneRange(from, to));
  if (copy) copy->SetBackground(background_);
  return copy;
}

int PageAtom::Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& clip, const Position& from,
                   const Position& to, int flag, const PositionRange* range) {
  TileBackground(ctx, background_, origin, clip);
  return FlowAtom::Draw(ctx, origin, clip, from, to, flag, range);
}

oldio::ostream& PageAtom::Dump(oldio::ostream& out, int indent) {
  Indent(out, indent);
  out << "PageAtom =" << oldio::endl;
  DumpContainer(out, indent + 2);
  return out;
}
