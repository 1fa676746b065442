#include "layout/atoms/document_layout.h"

#include "layout/atoms/text_output.h"

namespace {
// The height the view formats into: unbounded for a scrolling document.
constexpr LONG kUnboundedHeight = 0x0FFFFFFF;
}  // namespace

int DocumentLayout::Layout(TextOutput* ctx, LONG width) {
  extent_ = LayoutRect::Of(0, 0, 0, 0);
  if (!root_) return kFormatFits;
  Position* continuation = nullptr;
  int result = root_->Format(ctx, LayoutRect::Of(0, width, 0, kUnboundedHeight), continuation, FirstPosition(), 0);
  delete continuation;
  LayoutRect extent;
  if (root_->Extent(extent, ctx, FirstPosition(), LastPosition(), 1) == 0 && extent.IsComputed()) extent_ = extent;
  return result;
}

LayoutRect DocumentLayout::Bounds() const { return LayoutRect::Of(0, extent_.Width(), 0, extent_.Height()); }

void DocumentLayout::Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& clip,
                          const PositionRange* selection) {
  if (!root_) return;
  LayoutPoint at{origin.x - extent_.left, origin.y - extent_.top};
  LayoutRect inner = LayoutRect::Of(clip.left + extent_.left, clip.right + extent_.left, clip.top + extent_.top,
                                    clip.bottom + extent_.top);
  root_->Draw(ctx, at, inner, FirstPosition(), LastPosition(), 1, selection);
}

Position* DocumentLayout::HitTest(TextOutput* ctx, const LayoutPoint& point, int mode) {
  if (!root_) return nullptr;
  LayoutPoint inner{point.x + extent_.left, point.y + extent_.top};
  return root_->PositionAtPoint(ctx, inner, mode, FirstPosition(), LastPosition(), 0);
}

bool DocumentLayout::CaretRect(TextOutput* ctx, const PositionRange& selection, bool caret, LayoutRect& out) {
  if (!root_) return false;
  LayoutRect r;
  if (root_->CaretRect(r, ctx, selection, caret ? 1 : 0, FirstPosition(), LastPosition(), 0) != 0 || !r.IsComputed())
    return false;
  out = LayoutRect::Of(r.left - extent_.left, r.right - extent_.left, r.top - extent_.top, r.bottom - extent_.top);
  return true;
}

Position* DocumentLayout::Step(TextOutput* ctx, const Position& from, int direction, int unit, LONG distance) {
  if (!root_) return nullptr;
  LayoutRect caret;
  if (!CaretRect(ctx, PositionRange(from, from), true, caret)) caret = LayoutRect::Of(0, 1, 0, 0);
  LayoutRect inner = LayoutRect::Of(caret.left + extent_.left, caret.right + extent_.left, caret.top + extent_.top,
                                    caret.bottom + extent_.top);
  return root_->Step(from, direction, direction == 0 || direction == 2, unit, ctx, distance, inner);
}

CString DocumentLayout::Text(const Position& from, const Position& to) {
  CString out;
  if (root_) root_->AppendText(out, from, to, TRUE, 0);
  return out;
}
