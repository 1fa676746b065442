#include "text/atom/atom.h"

#include <new>

namespace {

// The positions atoms hand out come and go by the hundred thousand while a
// document is laid out (every word's format answers one): they come from
// the atom pool, as the atoms do. Deleting one through a Position pointer
// gives it back to the pool (the destructor is virtual).
class PooledPosition final : public Position {
 public:
  using Position::Position;
  ZEMRA_POOLED_ALLOCATION
};

}  // namespace

Atom::~Atom() = default;

Position* Atom::MakePosition(LONG number) { return new (std::nothrow) PooledPosition(number); }

Position* Atom::Step(const Position& position, int direction, int, int mode, TextOutput*, LONG,
                     const LayoutRect&) {
  LONG n = position.Number();
  if (direction == 0 || direction == 2) {
    if (n > end_ && mode != 2) return EndPosition();
    if (n <= start_ && mode != 2) return nullptr;
    return StartPosition();
  }
  if (direction == 1 || direction == 3) {
    if (n < start_ && mode != 2) return StartPosition();
    if (end_ <= n && mode != 2) return nullptr;
    return EndPosition();
  }
  return nullptr;
}

Position* Atom::ResumeAfter(const Position& position) {
  LONG n = position.Number();
  if (end_ <= n) return nullptr;
  return MakePosition(n + 1);
}

bool Atom::NaturalSize(LayoutRect& lower, LayoutRect& natural, TextOutput* ctx) {
  (void)natural;
  Reset(1);
  Position* continuation = nullptr;
  int result = Format(ctx, LayoutRect::Of(0, 0x3FFFFFF, 0, 0x3FFFFFF), continuation, FirstPosition(), 0);
  delete continuation;
  if (result != kFormatFits) return false;
  LayoutRect extent;
  Extent(extent, ctx, FirstPosition(), LastPosition(), 1);
  lower = extent;
  return true;
}

int Atom::CaretRect(LayoutRect& out, TextOutput* ctx, const PositionRange& selection, int flag,
                    const Position& from, const Position& to, LONG) {
  int result = Extent(out, ctx, from, to, 0);
  if (result == 0 && flag) {
    if (selection.Start().LessOrEqual(selection.End()))
      out.right = out.left + 1;
    else
      out.left = out.right - 1;
  }
  return result;
}

Position* Atom::PositionAtPoint(TextOutput* ctx, const LayoutPoint& point, int, const Position& from,
                                const Position& to, LONG) {
  LayoutRect extent;
  if (Extent(extent, ctx, from, to, 0) == 0 && ((extent.left + extent.right) / 2) / 2 > point.x)
    return StartPosition();
  return EndPosition();
}

oldio::ostream& Atom::Dump(oldio::ostream& out, int indent) {
  for (int i = 0; i < indent; ++i) out << ' ';
  CString line;
  line.Format("?????????????????????????atom on the positon:%p offset:%ld", static_cast<const void*>(this), start_);
  out << line.c_str() << oldio::endl;
  return out;
}
