#include "layout/atoms/word_atom.h"

#include <algorithm>
#include <memory>
#include <new>

#include "layout/atoms/text_output.h"
#include "text/style/resolved_style.h"

namespace {

constexpr BYTE kScriptFlags = 0x40 | 0x80;

// The run class a piece of text needs.
int RunKindFor(LONG textKind, ResolvedStyle* style) {
  if (style && (style->ExtraFlags() & kScriptFlags)) return TextRun::kScript;
  if (textKind == kShiftJisText) return TextRun::kShiftJis;
  if (textKind == kEucText) return TextRun::kEuc;
  return TextRun::kPlain;
}

TextRun* NewRun(std::string_view text, int runKind, ResolvedStyle* style) {
  TextRun* run;
  switch (runKind) {
    case TextRun::kScript: run = new (std::nothrow) ScriptRun(text, style, 0); break;
    case TextRun::kShiftJis: run = new (std::nothrow) ShiftJisRun(text, style, 0); break;
    case TextRun::kEuc: run = new (std::nothrow) EucRun(text, style, 0); break;
    default: run = new (std::nothrow) TextRun(text, style, 0); break;
  }
  if (run && static_cast<size_t>(run->Length()) != text.size()) {  // its text could not be had
    delete run;
    return nullptr;
  }
  return run;
}

bool IsOverlay(const TextSpan* s) { return s->run->Kind() == TextRun::kOverlay; }

}  // namespace

WordAtom::WordAtom(const WordAtom& other)
    : Atom(other.start_),
      run_(other.run_.Text(), other.run_.Style(), other.run_.Marks()),
      only_{other.only_.start, other.only_.length, other.only_.run ? &run_ : nullptr},
      trailingBlanks_(other.trailingBlanks_) {
  end_ = other.end_;
  if (!other.spans_) return;
  spans_.reset(new (std::nothrow) WordSpans);
  if (!spans_ || !spans_->text.Assign(other.spans_->text.View())) return;
  for (TextSpan* s = other.FirstSpan(); s; s = other.NextSpan(s)) {
    TextRun* run = s->run->Clone();
    if (!run || !spans_->Append(TextSpan{s->start, s->length, run})) {
      delete run;
      break;
    }
  }
}

WordAtom::~WordAtom() = default;

bool WordAtom::TakeSpans() {
  if (spans_) return true;
  std::unique_ptr<WordSpans> spans(new (std::nothrow) WordSpans);
  if (!spans) return false;
  if (only_.run) {
    TextRun* run = run_.Clone();
    if (!run || !spans->Append(TextSpan{only_.start, only_.length, run})) {
      delete run;
      return false;
    }
  }
  if (!spans->text.Assign(run_.Text())) return false;
  spans_ = std::move(spans);
  run_.SetText(std::string_view());
  only_ = TextSpan{0, 0, nullptr};
  return true;
}

// ---- Building

bool WordAtom::AddText(std::string_view text, LONG position, LONG textKind, ResolvedStyle* style) {
  if (textKind == kOverlayCommand) return SetOverlay(text, position, style);
  const LONG length = static_cast<LONG>(text.size());
  const int runKind = RunKindFor(textKind, style);
  if (!spans_ && runKind == TextRun::kPlain) {
    if (!only_.run) {
      if (!run_.Restart(text, style)) return false;
      only_ = TextSpan{position, length, &run_};
      return true;
    }
    if (run_.Style() == style && run_.Marks() == 0 && only_.End() == position) {
      if (!run_.Append(text)) return false;
      only_.length += length;
      return true;
    }
  }
  if (!TakeSpans()) return false;
  TextSpan* last = spans_->Last();
  // Text of another encoding walks its characters differently: it never
  // joins a run of another kind.
  // The word's text first: it alone can be taken back if the span cannot
  // take the piece.
  const LONG before = spans_->text.Length();
  if (!spans_->text.Append(text)) return false;
  if (last && last->run->Style() == style && last->run->Marks() == 0 && last->End() == position &&
      last->run->Kind() == runKind) {
    if (!last->run->Append(text)) {
      spans_->text.Truncate(before);
      return false;
    }
    last->length += length;
    return true;
  }
  TextRun* run = NewRun(text, runKind, style);
  if (!run) {
    spans_->text.Truncate(before);
    return false;
  }
  if (last && IsOverlay(last) && static_cast<OverlayRun*>(last->run)->IsOpen()) {
    auto* overlay = static_cast<OverlayRun*>(last->run);
    overlay->AddRun(std::unique_ptr<TextRun>(run));
    overlay->SetOverlayLength(length + last->length);
    overlay->ForgetWidth();
    last->length += length;
    return true;
  }
  if (!spans_->Append(TextSpan{position, length, run})) {
    delete run;
    spans_->text.Truncate(before);
    return false;
  }
  return true;
}

bool WordAtom::SetOverlay(std::string_view text, LONG p, ResolvedStyle* style) {
  if (text == "StartOverlay") {
    if (!TakeSpans()) return false;
    TextRun* run = new (std::nothrow) OverlayRun(style, kOverlayMark);
    if (!run || !spans_->Append(TextSpan{p, 0, run})) {
      delete run;
      return false;
    }
  } else if (text == "EndOverlay") {
    TextSpan* last = LastSpan();
    if (last && IsOverlay(last)) static_cast<OverlayRun*>(last->run)->Close();
  }
  return true;
}

bool WordAtom::SetEnd(LONG end) {
  end_ = end;
  trailingBlanks_ = 0;
  const std::string_view text = Text();
  for (LONG i = static_cast<LONG>(text.size()) - 1; i >= 0 && ByteAt(text, i) == ' '; --i) ++trailingBlanks_;
  return true;
}

Atom* WordAtom::CloneRange(const Position& from, const Position& to) {
  if (!(from.Number() < end_ && start_ < to.Number())) return nullptr;
  auto* copy = new (std::nothrow) WordAtom(*this);
  if (copy && (copy->Text().size() != Text().size() || copy->SpanCount() != SpanCount())) {
    delete copy;  // memory failed part of the way
    return nullptr;
  }
  return copy;
}

// ---- Spans

TextSpan* WordAtom::Find(LONG p, LONG& index) const {
  index = 0;
  TextSpan* s = FirstSpan();
  if (!s || p == kFirstPositionNumber) return s;
  p = std::max(p, s->start);
  for (TextSpan* next = NextSpan(s); next && next->start <= p; next = NextSpan(s)) {
    index += s->length;
    s = next;
  }
  index += std::min(p - s->start, s->length);
  return s;
}

TextSpan* WordAtom::SpanHolding(LONG p) const {
  for (TextSpan* s = FirstSpan(); s; s = NextSpan(s))
    if (s->start <= p && p < s->End()) return s;
  return nullptr;
}

LONG WordAtom::PositionOfIndex(LONG index) const {
  for (TextSpan* s = FirstSpan(); s; s = NextSpan(s)) {
    if (s->length > index) return s->start + index;
    index -= s->length;
  }
  TextSpan* last = LastSpan();
  return last ? last->End() + index : start_ + index;
}

LONG WordAtom::SplitAt(LONG p, bool& inserted) {
  inserted = false;
  LONG index;
  TextSpan* s = Find(p, index);
  if (!s) return -1;
  const LONG k = p - s->start;
  if (k <= 0 || k >= s->length || IsOverlay(s)) return spans_ ? spans_->IndexOf(s) : 0;
  const LONG at = spans_ ? spans_->IndexOf(s) : 0;
  if (!TakeSpans()) return -1;
  s = spans_->At(at);
  TextRun* clone = s->run->Clone();
  if (!clone || !spans_->Insert(at + 1, TextSpan{s->start + k, s->length - k, clone})) {
    delete clone;
    return -1;
  }
  s = spans_->At(at);  // the insertion may have moved the spans
  const std::string_view whole = s->run->Text();
  // The second half first: cutting the first never needs memory.
  if (!clone->SetText(whole.substr(static_cast<size_t>(k)))) {
    delete spans_->Remove(at + 1);
    return -1;
  }
  s->run->Truncate(k);
  s->length = k;
  inserted = true;
  return at + 1;
}

bool WordAtom::MergeWithNext(LONG i) {
  TextSpan* span = spans_ ? spans_->At(i) : nullptr;
  TextSpan* next = span ? spans_->Next(span) : nullptr;
  if (!next || IsOverlay(span) || IsOverlay(next)) return false;
  if (next->run->Style() != span->run->Style() || next->run->Marks() != span->run->Marks()) return false;
  if (span->End() != next->start) return false;
  if (!span->run->Append(next->run->Text())) return false;
  span->length += next->length;
  delete spans_->Remove(i + 1);
  return true;
}

void WordAtom::MergeAll(LONG first, LONG stop) {
  LONG current = first > 0 ? first - 1 : first;
  while (current != stop && current + 1 < SpanCount()) {
    if (MergeWithNext(current)) {
      if (current + 1 == stop) break;  // the stop span is now part of this one
      if (current + 1 < stop) --stop;
      continue;
    }
    ++current;
  }
}

LONG WordAtom::FindBoundary(LONG p, int direction) const {
  TextSpan* first = FirstSpan();
  if (!first) return -1;
  if (direction == 0) {
    TextSpan* s = LastSpan();
    if (p < s->start) {
      LONG index;
      s = Find(p, index);
    }
    for (; s; s = PreviousSpan(s)) {
      LONG r = s->run->Boundary(p - s->start, 0);
      if (r >= 0) return s->start + r;
    }
    return -1;
  }
  LONG index;
  for (TextSpan* s = Find(std::max(p, first->start), index); s; s = NextSpan(s)) {
    LONG r = s->run->Boundary(p - s->start, 1);
    if (r >= 0) return s->start + r;
  }
  return -1;
}

bool WordAtom::SpanExtent(LayoutRect& out, TextOutput* ctx, LONG from, LONG to, bool hyphen, bool withBlank) const {
  if (SpanCount() == 1) {
    // Most words: one run holds both ends, no search for them.
    TextSpan* s = FirstSpan();
    const LONG offset = std::max<LONG>(0, from - s->start), end = to - s->start;
    LayoutRect r = withBlank ? s->run->RangeExtentWithBlank(ctx, offset, end, hyphen)
                             : s->run->RangeExtent(ctx, offset, end, hyphen);
    out = LayoutRect::Of(0, r.Width(), std::min<LONG>(0, r.top), std::max<LONG>(0, r.bottom));
    return true;
  }
  out = LayoutRect::Of(0, 0, 0, 0);
  LONG index;
  TextSpan* s = Find(from, index);
  if (!s) return false;
  TextSpan* last = Find(to, index);
  bool first = true;
  for (; s; s = NextSpan(s)) {
    bool isLast = s == last;
    LONG offset = first ? std::max<LONG>(0, from - s->start) : 0;
    LONG end = isLast ? to - s->start : kRunEnd;
    bool hy = isLast && hyphen;
    LayoutRect r = withBlank ? s->run->RangeExtentWithBlank(ctx, offset, end, hy)
                             : s->run->RangeExtent(ctx, offset, end, hy);
    out.right += r.Width();
    out.top = std::min(out.top, r.top);
    out.bottom = std::max(out.bottom, r.bottom);
    first = false;
    if (isLast) break;
  }
  return true;
}

bool WordAtom::EndsInsideWord(LONG p) const {
  LONG index;
  if (!Find(p, index)) return false;
  const std::string_view text = Text();
  return index < static_cast<LONG>(text.size()) - 1 && ByteAt(text, index) != ' ';
}

// ---- Text

bool WordAtom::GetText(CString& out, const Position& from, const Position& to) const {
  LONG first, second;
  if (!Find(std::max(from.Number(), start_), first) || !Find(to.Number(), second)) return false;
  // `to` is the position after the last character wanted.
  first = std::max<LONG>(first, 0);
  const std::string_view text = Text();
  second = std::min<LONG>(second, static_cast<LONG>(text.size()));
  if (second > first) out += CString(text.substr(static_cast<size_t>(first), static_cast<size_t>(second - first)));
  if (EndsInsideWord(to.Number())) out += '-';
  return true;
}

bool WordAtom::AppendText(CString& out, const Position& from, const Position& to, BOOL, LONG) {
  return GetText(out, from, to);
}

// ---- Styles and marks

bool WordAtom::ApplyToRange(LONG from, LONG to, RangeOperation op, const StyleDefinition* change, BYTE bits) {
  bool inserted;
  LONG first = SplitAt(from, inserted);
  if (first < 0) return false;
  const LONG stop = SplitAt(to, inserted);
  if (stop < 0) return false;
  if (inserted && stop <= first) ++first;
  bool result = true;
  TextSpan* s = FirstSpan();
  while (s && s->End() <= from && s->length > 0) s = NextSpan(s);
  for (; s && s->start < to; s = NextSpan(s)) {
    switch (op) {
      case kStyleOp: result = s->run->SetStyle(change) && result; break;
      case kParagraphOp: s->run->SetParagraphStyle(change); break;
      case kSetMarksOp: s->run->SetMarks(bits); break;
      case kClearMarksOp: s->run->ClearMarks(bits); break;
    }
  }
  MergeAll(first, stop);
  return result;
}

bool WordAtom::ApplyStyle(const Position& from, const Position& to, const StyleDefinition* change) {
  return ApplyToRange(from.Number(), to.Number(), kStyleOp, change, 0);
}
bool WordAtom::ApplyParagraphStyle(const Position& from, const Position& to, const StyleDefinition* change) {
  return ApplyToRange(from.Number(), to.Number(), kParagraphOp, change, 0);
}
bool WordAtom::SetMarks(const Position& from, const Position& to, BYTE bits) {
  return ApplyToRange(from.Number(), to.Number(), kSetMarksOp, nullptr, bits);
}
bool WordAtom::ClearMarks(const Position& from, const Position& to, BYTE bits) {
  return ApplyToRange(from.Number(), to.Number(), kClearMarksOp, nullptr, bits);
}

ResolvedStyle* WordAtom::StyleAt(const Position& position) {
  TextSpan* s = SpanHolding(position.Number());
  if (!s) s = LastSpan();
  return s ? s->run->Style() : nullptr;
}

void WordAtom::MarksAt(const Position& position, BYTE& bits) {
  TextSpan* s = SpanHolding(position.Number());
  bits = s ? s->run->Marks() : 0;
}

void WordAtom::Reset(int level) {
  if (level == 1) return;
  for (TextSpan* s = FirstSpan(); s; s = NextSpan(s)) s->run->ForgetWidth();
}

// ---- Layout

int WordAtom::Format(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position& from, int) {
  LONG begin = std::max(start_, from.Number());
  LayoutRect extent;
  SpanExtent(extent, ctx, begin, kLastPositionNumber, false, false);
  LONG w = extent.Width(), h = extent.Height();
  bool fitsHeight = h <= rect.Height();
  if (rect.Width() < w) {
    if (fitsHeight) {
      continuation = MakePosition(PositionOfIndex(static_cast<LONG>(Text().size()) - trailingBlanks_));
      return kFormatTooWide;
    }
    continuation = EndPosition();
    return kFormatNothing;
  }
  if (!fitsHeight) {
    continuation = EndPosition();
    return kFormatNothing;
  }
  continuation = MakePosition(kLastPositionNumber);
  return kFormatFits;
}

Position* WordAtom::ResumeAfter(const Position& position) {
  LONG n = position.Number();
  if (n >= end_) return nullptr;
  LONG index;
  if (!Find(n, index)) return nullptr;
  if (ByteAt(Text(), index) == ' ') return EndPosition();
  return position.Clone();
}

int WordAtom::Extent(LayoutRect& out, TextOutput* ctx, const Position& from, const Position& to, int flag) {
  SpanExtent(out, ctx, from.Number(), to.Number(), flag && EndsInsideWord(to.Number()), false);
  return 0;
}

int WordAtom::CaretRect(LayoutRect& out, TextOutput* ctx, const PositionRange& selection, int flag,
                        const Position& lineStart, const Position& lineEnd, LONG) {
  LONG begin = std::max(start_, lineStart.Number());
  auto measure = [&](LONG upTo) {
    LayoutRect r;
    SpanExtent(r, ctx, begin, upTo, false, true);
    return r;
  };
  if (flag) {
    out = measure(selection.End().Number());
    out.left = out.right;
    out.right = out.left + 1;
    return 0;
  }
  LONG lo = selection.Lower().Number(), hi = selection.Upper().Number();
  LONG lineUpper = std::min(lineEnd.Number(), end_ == -1 ? lineEnd.Number() : end_);
  out = measure(std::min(hi, lineUpper));
  out.left = lo >= begin && lo <= lineUpper ? measure(lo).right : 0;
  return 0;
}

LONG WordAtom::Spacing(int side, TextOutput* ctx, const Position& from, const Position& to, int) {
  if (side != kSpaceRight || trailingBlanks_ == 0) return 0;
  if (from.Number() <= start_ && end_ <= to.Number() && trailingBlanks_ == 1) {
    ResolvedStyle* style = LastSpan() ? LastSpan()->run->Style() : nullptr;
    if (!style || !ctx) return 0;
    LayoutRect blank = style->BlankExtent(ctx);
    return blank.right - blank.left;
  }
  LONG index;
  TextSpan* s = Find(from.Number(), index);
  TextSpan* last = Find(to.Number(), index);
  LONG sum = 0;
  for (bool first = true; s; s = NextSpan(s), first = false) {
    bool isLast = s == last;
    LONG offset = first ? std::max<LONG>(0, from.Number() - s->start) : 0;
    LONG end = isLast ? to.Number() - s->start : kRunEnd;
    sum += s->run->BlankExtent(ctx, offset, end).Width();
    if (isLast) break;
  }
  return sum;
}

LONG WordAtom::BlankCount(LONG from, LONG to) const {
  if (end_ <= to && from <= end_ - trailingBlanks_) return trailingBlanks_;
  LONG a, b;
  if (!Find(from, a) || !Find(to, b)) return 0;
  const std::string_view text = Text();
  b = std::min<LONG>(b, static_cast<LONG>(text.size()) - 1);
  LONG n = 0;
  for (LONG i = std::max<LONG>(a, 0); i <= b; ++i)
    if (ByteAt(text, i) == ' ') ++n;
  return n;
}

LONG WordAtom::GapCount(const Position& from, const Position& to) { return BlankCount(from.Number(), to.Number()); }

int WordAtom::Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& box, const Position& from,
                   const Position& to, int flag, const PositionRange*) {
  LONG index;
  TextSpan* s = Find(from.Number(), index);
  if (!s) return 1;
  TextSpan* last = Find(to.Number(), index);
  bool hyphen = flag && EndsInsideWord(to.Number());
  LONG dx = 0;
  for (bool first = true; s; s = NextSpan(s), first = false) {
    bool isLast = s == last;
    LONG offset = first ? std::max<LONG>(0, from.Number() - s->start) : 0;
    LONG end = isLast ? to.Number() - s->start : kRunEnd;
    LayoutRect part = s->run->RangeExtentWithBlank(ctx, offset, end, isLast && hyphen);
    LayoutRect b = LayoutRect::Of(part.left, part.right, box.top, box.bottom);
    if (first) b.left = box.left;
    if (isLast) b.right = std::max(part.right, box.right - dx);
    s->run->Draw(ctx, LayoutPoint{origin.x + dx, origin.y}, b, offset, end, isLast && hyphen);
    dx += part.Width();
    if (isLast) break;
  }
  return 0;
}

Position* WordAtom::PositionAtPoint(TextOutput* ctx, const LayoutPoint& point, int mode, const Position& from,
                                    const Position& to, LONG) {
  if (mode == 0 || mode == 2) {
    LayoutRect extent;
    SpanExtent(extent, ctx, from.Number(), to.Number(), EndsInsideWord(to.Number()), false);
    return point.x < (extent.left + extent.right) / 2 ? StartPosition() : EndPosition();
  }
  LONG index;
  TextSpan* s = Find(from.Number(), index);
  LONG x = point.x;
  for (bool first = true; s; s = NextSpan(s), first = false) {
    LONG offset = first ? std::max<LONG>(0, from.Number() - s->start) : 0;
    LONG found = s->run->FitIndex(x, ctx, offset);
    if (found < 0) continue;
    LONG p = std::min(s->start + found, to.Number());
    return p > end_ ? new (std::nothrow) Position(p) : MakePosition(p);
  }
  return EndPosition();
}

Position* WordAtom::Step(const Position& position, int direction, int flag, int mode, TextOutput* ctx,
                         LONG distance, const LayoutRect& caret) {
  bool backward = direction == 0 || direction == 2;
  bool forward = direction == 1 || direction == 3;
  if (!backward && !forward) return nullptr;
  LONG n = position.Number();
  TextSpan* first = FirstSpan();
  switch (mode) {
    case 0:
      if (backward) return first && first->start < n ? StartPosition() : nullptr;
      return start_ > n ? StartPosition() : nullptr;
    case 1: {
      if (forward && start_ > n) return StartPosition();
      LONG boundary = FindBoundary(n, forward ? 1 : 0);
      if (boundary < 0) return nullptr;
      if (first && boundary <= first->start) boundary = start_;
      return MakePosition(boundary);
    }
    case 2: return Atom::Step(position, direction, flag, mode, ctx, distance, caret);
    default: return nullptr;
  }
}

oldio::ostream& WordAtom::Dump(oldio::ostream& out, int indent) {
  for (int i = 0; i < indent; ++i) out << ' ';
  out << "Wortatom (" << CString(Text()).c_str() << ")=";
  for (TextSpan* s = FirstSpan(); s; s = NextSpan(s)) out << CString(s->run->Text()).c_str() << ":";
  CString tail;
  tail.Format("on the positon:%p offset:%ld", static_cast<const void*>(this), start_);
  out << tail.c_str() << oldio::endl;
  return out;
}
