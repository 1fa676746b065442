#include "layout/atoms/text_run.h"

#include <algorithm>
#include <new>
#include <vector>

#include "layout/atoms/text_output.h"
#include "text/style/resolved_style.h"

namespace {

constexpr BYTE kUnderlineFlag = 0x02;
constexpr BYTE kStrikeFlag = 0x08;
constexpr BYTE kSubscriptFlag = 0x40;

}  // namespace

// ---- StyledItem

StyledItem::~StyledItem() = default;

bool StyledItem::SetStyle(const StyleDefinition* change) {
  ResolvedStyle* resolved = style_ ? style_->Resolve(change) : nullptr;
  if (!resolved) return false;
  style_ = resolved;
  return true;
}

bool StyledItem::SetParagraphStyle(const StyleDefinition* change) {
  if (ResolvedStyle* resolved = style_ ? style_->Resolve(change) : nullptr) style_ = resolved;
  return true;
}

bool StyledItem::FontDescriptorFor(FontDescriptor& out) const {
  if (!style_) return false;
  out = FontDescriptor(style_->FaceSet() ? style_->FaceNumber() : 0, style_->ExtraFlags(),
                       static_cast<WORD>(style_->SizeSet() ? style_->Size() : 0),
                       static_cast<BYTE>((marks_ & kSelectionMark) != 0), style_->Color());
  return true;
}

FontDescriptor* StyledItem::BaseFontDescriptor() const {
  return style_ ? style_->BaseDescriptor(marks_, 100) : nullptr;
}

// ---- TextRun

TextRun* TextRun::Clone() const { return CloneAs<TextRun>(); }

bool TextRun::Restart(std::string_view text, ResolvedStyle* style) {
  ForgetWidth();
  if (!text_.Assign(text)) return false;
  style_ = style;
  marks_ = 0;
  return true;
}

LONG TextRun::TrailingBlanks() const {
  LONG n = 0;
  for (LONG i = Length() - 1; i >= 0 && IsBlankAt(i); --i) ++n;
  return n;
}

bool TextRun::MeasureDescriptor(FontDescriptor& out) const {
  FontDescriptor* base = BaseFontDescriptor();
  if (!base) return false;
  out = *base;
  return true;
}

LayoutRect TextRun::Measure(TextOutput* ctx, LONG from, LONG to, bool hyphen) const {
  LayoutRect box = LayoutRect::Of(0, 0, 0, 0);
  FontDescriptor d;
  if (!ctx || !MeasureDescriptor(d)) return box;
  from = std::max<LONG>(from, 0);
  to = std::min<LONG>(to, Length());
  if (to < from) to = from;
  if (!hyphen) {
    ctx->MeasureText(box, text_.Data() + from, to - from, d);
    return box;
  }
  CString piece(text_.Data() + from, static_cast<int>(to - from));
  piece += '-';
  ctx->MeasureText(box, piece.c_str(), piece.GetLength(), d);
  return box;
}

LONG TextRun::BlankWidth(TextOutput* ctx) const {
  if (!style_ || !ctx) return 0;
  LayoutRect blank = style_->BlankExtent(ctx);
  return blank.right - blank.left;
}

LONG TextRun::CharLength(LONG index) const {
  // The document's code page has one byte per character.
  return index < Length() ? 1 : 0;
}

LONG TextRun::PrevCharLength(LONG index) const {
  LONG walk = 0, last = 0;
  while (walk < index) {
    LONG step = CharLength(walk);
    if (step < 1) break;
    last = step;
    walk += step;
  }
  return walk == index ? last : index;
}

LONG TextRun::Boundary(LONG index, int direction) {
  if (direction == 0) {
    index = std::min(index, Length());
    return index > 0 ? index - PrevCharLength(index) : -1;
  }
  if (direction == 1) {
    if (index < 0) return 0;
    return index + 1 < Length() ? index + CharLength(index) : -1;
  }
  return -1;
}

bool TextRun::SetStyle(const StyleDefinition* change) {
  ResolvedStyle* before = style_;
  if (!StyledItem::SetStyle(change)) return false;
  if (style_ != before) ForgetWidth();
  return true;
}

bool TextRun::SetParagraphStyle(const StyleDefinition* change) {
  ResolvedStyle* before = style_;
  StyledItem::SetParagraphStyle(change);
  if (style_ != before) ForgetWidth();
  return true;
}

LayoutRect TextRun::FullExtent(TextOutput* ctx) {
  if (cachedWidth_ != kWidthUnknown && style_ && ctx) {
    LayoutRect box = style_->BlankExtent(ctx);
    box.right = cachedWidth_;
    return box;
  }
  LayoutRect box = Measure(ctx, 0, Length() - TrailingBlanks(), false);
  cachedWidth_ = box.right;
  return box;
}

LayoutRect TextRun::RangeExtent(TextOutput* ctx, LONG from, LONG to, bool hyphen) {
  Clamp(from, to);
  if (from == 0 && from < to && !hyphen && ReachesTextEnd(to)) return FullExtent(ctx);
  if (from < to && IsBlankAt(to - 1)) {
    --to;
    hyphen = false;
  }
  return Measure(ctx, from, to, hyphen);
}

LayoutRect TextRun::RangeExtentWithBlank(TextOutput* ctx, LONG from, LONG to, bool hyphen) {
  Clamp(from, to);
  if (from < to && !IsBlankAt(to - 1)) return from == 0 ? RangeExtent(ctx, from, to, hyphen) : Measure(ctx, from, to, hyphen);
  if (from == 0 && from < to && (to - from == 1 || !IsBlankAt(to - 2))) {
    LayoutRect box = RangeExtent(ctx, from, to, hyphen);
    box.right += BlankWidth(ctx);
    return box;
  }
  return Measure(ctx, from, to, false);
}

LayoutRect TextRun::BlankExtent(TextOutput* ctx, LONG from, LONG to) {
  to = std::min<LONG>(to, Length() - 1);
  from = std::max<LONG>(from, 0);
  while (from <= to && !IsBlankAt(from)) ++from;
  LayoutRect box = LayoutRect::Of(0, 0, 0, 0);
  FontDescriptor d;
  if (ctx && MeasureDescriptor(d)) ctx->BlankExtent(box, to - from + 1, d);
  return box;
}

LONG TextRun::FitIndex(LONG& x, TextOutput* ctx, LONG from) {
  from = std::max<LONG>(from, 0);
  if (x < 0) return from;
  LONG whole = Measure(ctx, from, Length(), false).Width();
  if (x > whole) {
    x -= whole;
    return -1;
  }
  // Character ends after `from`; prefix widths grow with them, so the
  // first end whose prefix reaches x is found by halving.
  std::vector<LONG> ends;
  for (LONG i = from; i < Length();) {
    LONG step = std::max<LONG>(1, CharLength(i));
    i = std::min(Length(), i + step);
    ends.push_back(i);
  }
  if (ends.empty()) return from;
  size_t lo = 0, hi = ends.size() - 1;
  while (lo < hi) {
    size_t mid = (lo + hi) / 2;
    if (Measure(ctx, from, ends[mid], false).Width() >= x)
      hi = mid;
    else
      lo = mid + 1;
  }
  LONG w = Measure(ctx, from, ends[lo], false).Width();
  LONG previous = lo ? Measure(ctx, from, ends[lo - 1], false).Width() : 0;
  LONG startOfChar = lo ? ends[lo - 1] : from;
  return previous + w < 2 * x ? ends[lo] : startOfChar;
}

bool TextRun::Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& box, LONG from, LONG to,
                   bool hyphen) {
  DrawBackground(ctx, origin, box, style_, marks_);
  return DrawText(ctx, origin, box, from, to, hyphen);
}

bool TextRun::DrawText(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& box, LONG from, LONG to,
                       bool hyphen) {
  FontDescriptor d;
  if (!ctx || !FontDescriptorFor(d)) return false;
  LayoutRect r = FullExtent(ctx);
  Clamp(from, to);
  if (from < to && IsBlankAt(to - 1)) {
    --to;
    hyphen = false;
  }
  if (to < from) to = from;
  if (style_->ColorIndex() >= 0 && ctx->outputKind == 1) d.colorIndex = style_->ColorIndex();
  LayoutPoint at{origin.x - r.left, origin.y};
  if (hyphen) {
    CString piece(text_.Data() + from, static_cast<int>(to - from));
    piece += '-';
    ctx->DrawText(at, piece.c_str(), piece.GetLength(), d);
  } else {
    ctx->DrawText(at, text_.Data() + from, to - from, d);
  }
  BYTE flags = style_->ExtraFlags();
  if (flags & kStrikeFlag) {
    LONG y = ((origin.y + r.top) + (origin.y + r.bottom)) / 2;
    ctx->Line(LayoutPoint{origin.x + box.left, y}, LayoutPoint{origin.x + box.right, y}, d);
  }
  if ((flags & kUnderlineFlag) || d.colorIndex >= 0) {
    if (d.colorIndex >= 0) d.color = ColorRecord();
    LONG y = origin.y + r.bottom / 2;
    ctx->Line(LayoutPoint{origin.x + box.left, y}, LayoutPoint{origin.x + box.right, y}, d);
  }
  return true;
}

// ---- DrawBackground

bool DrawBackground(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& box, ResolvedStyle* style,
                    BYTE marks) {
  if (!ctx) return true;
  LayoutRect area = LayoutRect::Of(origin.x + box.left, origin.x + box.right, origin.y + box.top,
                                   origin.y + box.bottom);
  int markers = style ? style->MarkerCount() : 0;
  int bands = ctx->outputKind == 2 || (ctx->outputKind == 1 && markers > 0) ? markers : 0;
  if (marks & kOwnBandMark) ++bands;
  BYTE highlight = (marks & kSelectionMark) ? 1 : 0;
  if (bands == 0) {
    if (!highlight) {
      if (ctx->paintBackground) ctx->EraseBackground(area);
    } else if (style) {
      FontDescriptor d = *style->BaseDescriptor(marks, 100);
      d.highlight = 1;
      if (style->FillMode() == 1 && ctx->outputKind == 1) d.colorIndex = style->ColorIndex();
      ctx->FillRect(area, d);
    }
    return true;
  }
  LONG left = area.bottom - area.top;
  LONG top = area.top;
  DWORD set = style ? style->MarkerSet() : 0;
  int markerBands = bands - ((marks & kOwnBandMark) ? 1 : 0);
  for (int i = 0; i < 32 && markerBands > 0; ++i) {
    if (!(set & (DWORD{1} << i))) continue;
    LONG band = left / bands;
    --bands;
    --markerBands;
    left -= band;
    FontDescriptor d;
    d.styleNumber = FontDescriptor::BuiltInStored(i);
    d.highlight = highlight;
    ctx->FillRect(LayoutRect::Of(area.left, area.right, top, top + band), d);
    top += band;
  }
  if (marks & kOwnBandMark) {
    FontDescriptor d;
    d.styleNumber = FontDescriptor::BuiltInStored(8);
    d.highlight = highlight;
    ctx->FillRect(LayoutRect::Of(area.left, area.right, top, area.bottom), d);
  }
  return true;
}

// ---- ScriptRun

TextRun* ScriptRun::Clone() const { return CloneAs<ScriptRun>(); }

bool ScriptRun::MeasureDescriptor(FontDescriptor& out) const {
  if (!TextRun::MeasureDescriptor(out)) return false;
  // The small text is measured in the size it is drawn in.
  LONG size = out.scale ? out.scale : 100;
  out.scale = static_cast<WORD>(size * 7 / 10);
  return true;
}

LONG ScriptRun::Shift(TextOutput* ctx) {
  if (shift_ != kNotComputed || !style_ || !ctx) return shift_ == kNotComputed ? 0 : shift_;
  LayoutRect line = style_->BlankExtent(ctx);
  lineBottom_ = line.bottom;
  LayoutRect blank = LayoutRect::Of(0, 0, 0, 0);
  FontDescriptor d;
  if (MeasureDescriptor(d)) ctx->BlankExtent(blank, 1, d);
  LONG mid = (line.top + line.bottom) / 2;
  shift_ = (style_->ExtraFlags() & kSubscriptFlag) ? mid - blank.top : mid - blank.bottom;
  return shift_;
}

LayoutRect ScriptRun::Shifted(LayoutRect r, TextOutput* ctx) {
  LONG s = Shift(ctx);
  r.top += s;
  r.bottom += s;
  return r;
}

LayoutRect ScriptRun::FullExtent(TextOutput* ctx) { return Shifted(TextRun::FullExtent(ctx), ctx); }

LayoutRect ScriptRun::RangeExtent(TextOutput* ctx, LONG from, LONG to, bool hyphen) {
  Clamp(from, to);
  if (from == 0 && from < to && !hyphen && ReachesTextEnd(to)) return FullExtent(ctx);
  if (from < to && IsBlankAt(to - 1)) {
    --to;
    hyphen = false;
  }
  return Shifted(Measure(ctx, from, to, hyphen), ctx);
}

LayoutRect ScriptRun::RangeExtentWithBlank(TextOutput* ctx, LONG from, LONG to, bool hyphen) {
  Clamp(from, to);
  if (from < to && !IsBlankAt(to - 1))
    return from == 0 ? RangeExtent(ctx, from, to, hyphen) : Shifted(Measure(ctx, from, to, hyphen), ctx);
  if (from == 0 && from < to && (to - from == 1 || !IsBlankAt(to - 2))) {
    LayoutRect box = RangeExtent(ctx, from, to, hyphen);
    box.right += BlankWidth(ctx);
    return box;
  }
  return Shifted(Measure(ctx, from, to, false), ctx);
}

LayoutRect ScriptRun::BlankExtent(TextOutput* ctx, LONG from, LONG to) {
  return Shifted(TextRun::BlankExtent(ctx, from, to), ctx);
}

bool ScriptRun::DrawText(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect&, LONG from, LONG to,
                         bool hyphen) {
  FontDescriptor d;
  if (!ctx || !FontDescriptorFor(d)) return false;
  LONG s = Shift(ctx);
  LayoutRect r = TextRun::FullExtent(ctx);
  Clamp(from, to);
  if (from < to && IsBlankAt(to - 1)) {
    --to;
    hyphen = false;
  }
  if (to < from) to = from;
  MeasureDescriptor(d);
  d.highlight = static_cast<BYTE>((marks_ & kSelectionMark) != 0);
  CString piece(text_.Data() + from, static_cast<int>(to - from));
  if (hyphen) piece += '-';
  ctx->DrawText(LayoutPoint{origin.x - r.left, origin.y + s}, piece.c_str(), piece.GetLength(), d);
  return true;
}

// ---- OverlayRun

TextRun* OverlayRun::Clone() const {
  auto* copy = new (std::nothrow) OverlayRun(style_, marks_);
  if (!copy) return nullptr;
  for (const auto& run : runs_) {
    TextRun* sub = run->Clone();
    if (!sub) {
      delete copy;
      return nullptr;
    }
    copy->runs_.emplace_back(sub);
  }
  copy->length_ = length_;
  return copy;
}

bool OverlayRun::SetStyle(const StyleDefinition* change) {
  if (!StyledItem::SetStyle(change)) return false;
  for (auto& run : runs_)
    if (!run->SetStyle(change)) break;
  ForgetWidth();
  return true;
}

bool OverlayRun::SetParagraphStyle(const StyleDefinition* change) {
  StyledItem::SetParagraphStyle(change);
  for (auto& run : runs_) run->SetParagraphStyle(change);
  return true;
}

void OverlayRun::SetMarks(BYTE bits) {
  StyledItem::SetMarks(bits);
  for (auto& run : runs_) run->SetMarks(bits);
}

void OverlayRun::ClearMarks(BYTE bits) {
  StyledItem::ClearMarks(bits);
  for (auto& run : runs_) run->ClearMarks(bits);
}

LONG OverlayRun::Boundary(LONG index, int direction) {
  if (direction == 0) return index > 0 ? 0 : -1;
  if (direction == 1) return index < 0 ? 0 : -1;
  return -1;
}

LayoutRect OverlayRun::FullExtent(TextOutput* ctx) {
  if (cachedWidth_ != kWidthUnknown && style_ && ctx) {
    LayoutRect box = style_->BlankExtent(ctx);
    box.right = cachedWidth_;
    return box;
  }
  LayoutRect all = LayoutRect::Of(0, 0, 0, 0);
  bool centred = style_ && style_->HorizontalAlignment() == 2;
  bool first = true;
  for (auto& run : runs_) {
    LayoutRect r = run->RangeExtentWithBlank(ctx, 0, kRunEnd, false);
    if (first)
      all = r;
    else
      all.Union(r);
    first = false;
    if (centred) break;
  }
  cachedWidth_ = all.right;
  return all;
}

LayoutRect OverlayRun::RangeExtent(TextOutput* ctx, LONG from, LONG to, bool) {
  LayoutRect r = FullExtent(ctx);
  if (to == from || to < 1) r.right = r.left;
  return r;
}

LayoutRect OverlayRun::RangeExtentWithBlank(TextOutput* ctx, LONG from, LONG to, bool hyphen) {
  return RangeExtent(ctx, from, to, hyphen);
}

LayoutRect OverlayRun::BlankExtent(TextOutput*, LONG, LONG) { return LayoutRect::Of(0, 0, 0, 0); }

LONG OverlayRun::FitIndex(LONG& x, TextOutput* ctx, LONG) {
  if (x < 0) return 0;
  LONG width = FullExtent(ctx).Width();
  if (x <= width) return x > width / 2 ? length_ : 0;
  x -= width;
  return -1;
}

bool OverlayRun::Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& box, LONG, LONG, bool) {
  DrawBackground(ctx, origin, box, style_, marks_);
  LONG width = FullExtent(ctx).Width();
  int align = style_ ? style_->HorizontalAlignment() : 0;
  for (auto& run : runs_) {
    LONG w = run->RangeExtentWithBlank(ctx, 0, kRunEnd, false).Width();
    LONG dx = 0;
    if (align == 1 || align == 3) dx = width - w;
    if (align == 2) dx = (width - w) / 2;
    if (!run->DrawText(ctx, LayoutPoint{origin.x + dx, origin.y}, box, 0, kRunEnd, false)) break;
  }
  return true;
}
