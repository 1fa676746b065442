#include "layout/forms/picture_submit_atom.h"

#include <new>

#include "text/document/markup_document.h"

PictureSubmitAtom::PictureSubmitAtom(LONG start, ResolvedStyle* style, NamedObject* picture, FormAction* action,
                                     const CString& name)
    : PictureAtom(start, style, picture, 0, 0), action_(action), name_(name) {}

Atom* PictureSubmitAtom::CloneRange(const Position& from, const Position& to) {
  if (!(start_ < to.Number() && from.Number() < end_)) return nullptr;
  return new (std::nothrow) PictureAtom(*this);
}

Position* PictureSubmitAtom::PositionAtPoint(TextOutput* ctx, const LayoutPoint& point, int mode,
                                             const Position& from, const Position& to, LONG option) {
  if (ctx && ctx->probe && Picture()) {
    // The picture stands on the baseline: the point is relative to its
    // left edge and to the baseline.
    const LayoutSize size = GetSize(ctx);
    const LONG x = point.x, y = point.y + size.cy;
    if (x >= 0 && x < size.cx && y >= 0 && y < size.cy) {
      ctx->probe->target = this;
      ctx->probe->at = LayoutPoint{x, y};
    }
  }
  return PictureAtom::PositionAtPoint(ctx, point, mode, from, to, option);
}

CString PictureSubmitAtom::PointArgument(const CString& name, LONG x, LONG y) {
  const CString prefix = name.IsEmpty() ? CString() : EncodeFormValue(name) + ".";
  CString out;
  out.Format("%sx=%ld&%sy=%ld", prefix.c_str(), static_cast<long>(x), prefix.c_str(), static_cast<long>(y));
  return out;
}

void PictureSubmitAtom::ClickAt(LONG x, LONG y) {
  Form* form = action_ ? action_->Target() : nullptr;
  if (form) form->SubmitAt(PointArgument(name_, x, y));
}
