#include "layout/atoms/horizontal_rule_atom.h"

#include <new>

#include "layout/atoms/text_output.h"

namespace {

constexpr int kRaisedStyle = 6;
constexpr int kShadowStyle = 7;
// Beyond this the room is unbounded (a measurement): the rule then takes
// a width of its own.
constexpr LONG kUnboundedWidth = 0x7FFFFF;

FontDescriptor RuleStyle(int drawStyle) { return FontDescriptor(drawStyle, ColorRecord(), 100, 0); }

}  // namespace

Atom* HorizontalRuleAtom::CloneRange(const Position& from, const Position& to) {
  if (!(from.Number() < end_ && start_ < to.Number())) return nullptr;
  auto* copy = new (std::nothrow) HorizontalRuleAtom(start_, style_, width_);
  if (!copy) return nullptr;
  copy->end_ = end_;
  copy->marks_ = marks_;
  copy->rect_ = rect_;
  return copy;
}

int HorizontalRuleAtom::Format(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position&,
                               int) {
  LONG s = ctx ? ctx->FontSize(RuleStyle(kRaisedStyle)) : 0;
  rect_ = LayoutRect::Of(0, rect.Width() - 1, 0, 2 * s + 1);
  if (rect.Width() > kUnboundedWidth) rect_.right = 2 * s;
  if (hasWidth_ && width_ < rect_.right) rect_.right = width_;
  continuation = nullptr;
  return kFormatFits;
}

int HorizontalRuleAtom::Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect&, const Position&,
                             const Position&, int, const PositionRange*) {
  if (!ctx || !rect_.IsComputed()) return 0;
  FontDescriptor a = RuleStyle(kRaisedStyle), b = RuleStyle(kShadowStyle);
  LONG l = origin.x + rect_.left, r = origin.x + rect_.right;
  LONG t = origin.y + rect_.top, bt = origin.y + rect_.bottom - 1;
  ctx->Line({l, t}, {r, t}, b);
  ctx->Line({r, t}, {r, bt}, a);
  ctx->Line({r, bt}, {l, bt}, a);
  ctx->Line({l, bt}, {l, t}, b);
  return 0;
}

oldio::ostream& HorizontalRuleAtom::Dump(oldio::ostream& out, int indent) {
  for (int i = 0; i < indent; ++i) out << ' ';
  CString line;
  line.Format("HorizontalRuleAtom on the positon:%p offset:%ld", static_cast<const void*>(this), start_);
  out << line.c_str() << oldio::endl;
  return out;
}
