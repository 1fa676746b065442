// The caret and the selection of a document. The geometry (where a position
// lies, which position lies under a point, marking text) is the root atom's;
// this layer decides when to ask it and keeps the answers.
#include <cstdlib>
#include <memory>

#include "text/anchors/anchor_range.h"
#include "text/anchors/anchor_record.h"
#include "text/atom/atom.h"
#include "text/document/markup_document.h"

namespace {

// The selection bit of the atoms' marks.
constexpr BYTE kSelectedMark = 0x02;

LayoutRect notCached() { return LayoutRect(); }

}  // namespace

void MarkupDocument::ForgetCachedRects() {
  startRect_ = notCached();
  caretRect_ = notCached();
}

void MarkupDocument::MarkBetween(const Position& a, const Position& b, bool mark) {
  Atom* root = GetRoot();
  if (!root || a.Equal(b)) return;
  const Position& from = a.Less(b) ? a : b;
  const Position& to = a.Less(b) ? b : a;
  if (mark)
    root->SetMarks(from, to, kSelectedMark);
  else
    root->ClearMarks(from, to, kSelectedMark);
}

void MarkupDocument::SetCaret(const Position& position) {
  if (Atom* root = GetRoot()) root->ClearMarks(selection_.Lower(), selection_.Upper(), kSelectedMark);
  ForgetCachedRects();
  selection_.SetStart(position);
  selection_.SetEnd(position);
}

void MarkupDocument::SetSelectionEnd(const Position& position) {
  const Position& start = selection_.Start();
  const Position& oldEnd = selection_.End();
  if (position.Equal(oldEnd)) return;
  const long long s = start.Number();
  const long long o = oldEnd.Number();
  const long long p = position.Number();
  if ((o - s) * (p - s) < 0) {
    // Across the start: the old side goes, the new side comes.
    MarkBetween(start, oldEnd, false);
    MarkBetween(start, position, true);
  } else {
    // On one side: only the stretch between the two ends changes.
    bool growing = std::llabs(p - s) > std::llabs(o - s);
    MarkBetween(oldEnd, position, growing);
  }
  ForgetCachedRects();
  selection_.SetEnd(position);
}

void MarkupDocument::SelectRange(const PositionRange& range) {
  SetCaret(range.Lower());
  SetSelectionEnd(range.Upper());
  remembered_ = &range;
}

void MarkupDocument::StartSelectionAt(TextOutput* output, LONG x, LONG y, int flag) {
  remembered_ = nullptr;
  Atom* root = GetRoot();
  if (!root) {
    SetCaret(FirstPosition());
    return;
  }
  std::unique_ptr<Position> hit(root->PositionAtPoint(output, {x, y}, 1, FirstPosition(), LastPosition(), flag));
  if (hit) SetCaret(*hit);
}

void MarkupDocument::ExtendSelectionTo(TextOutput* output, LONG x, LONG y, int flag) {
  remembered_ = nullptr;
  Atom* root = GetRoot();
  if (!root) return;
  std::unique_ptr<Position> hit(root->PositionAtPoint(output, {x, y}, 0, FirstPosition(), LastPosition(), flag));
  if (hit) SetSelectionEnd(*hit);
}

Position* MarkupDocument::PositionAtPoint(TextOutput* output, LONG x, LONG y) {
  Atom* root = GetRoot();
  return root ? root->PositionAtPoint(output, {x, y}, 0, FirstPosition(), LastPosition(), 0) : nullptr;
}

LayoutRect MarkupDocument::GetCaretRect(TextOutput* output) {
  if (caretRect_.IsComputed()) return caretRect_;
  LayoutRect rect;
  if (selection_.Upper().Equal(FirstPosition())) {
    rect = LayoutRect::Of(-1, -1, 0, 0);
  } else if (Atom* root = GetRoot()) {
    root->CaretRect(rect, output, selection_, 1, FirstPosition(), LastPosition(), 0);
  }
  caretRect_ = rect;
  return rect;
}

LayoutRect MarkupDocument::GetSelectionStartRect(TextOutput* output) {
  if (startRect_.IsComputed()) return startRect_;
  LayoutRect rect;
  if (Atom* root = GetRoot()) root->CaretRect(rect, output, selection_, 0, FirstPosition(), LastPosition(), 0);
  startRect_ = rect;
  return rect;
}

Position* MarkupDocument::MoveCaret(int key, int unit, TextOutput* output, LONG distance) {
  Atom* root = GetRoot();
  if (!root) return nullptr;
  LayoutRect caret = GetCaretRect(output);
  int flag = key == 0 || key == 2;
  Position* moved = root->Step(selection_.End(), key, flag, unit, output, distance, caret);
  if (!moved) moved = root->Step(selection_.End(), key, flag, unit, output, distance, caret);
  return moved;
}

AnchorRange* MarkupDocument::FindAnchorAt(const Position& position) const {
  return FindContaining(anchorRanges_, position);
}

AnchorRange* MarkupDocument::NextAnchor(bool forward) const { return FindNext(anchorRanges_, selection_, forward); }

namespace {

CString linkText(const AnchorRange& range) {
  return (range.Record() ? range.Record()->Text() : CString()) + "\n\n\n\n";
}

}  // namespace

CString MarkupDocument::GetLinksAt(const Position& position) const {
  CString out;
  for (ListElement* e = anchorRanges_.first(); e; e = e->next()) {
    auto* range = static_cast<AnchorRange*>(e);
    if (range->Lower().LessOrEqual(position) && position.LessOrEqual(range->Upper())) out += linkText(*range);
  }
  return out;
}

CString MarkupDocument::GetLinksOfSelection() const {
  CString out;
  for (ListElement* e = anchorRanges_.first(); e; e = e->next()) {
    auto* range = static_cast<AnchorRange*>(e);
    if (range->Upper().GreaterOrEqual(selection_.Lower()) && range->Lower().LessOrEqual(selection_.Upper()))
      out += linkText(*range);
  }
  return out;
}

bool MarkupDocument::GoToPosition(TextOutput* output, const Position& position) {
  Atom* root = GetRoot();
  if (!root) return false;
  LayoutRect rect;
  PositionRange at(position, position);
  return root->CaretRect(rect, output, at, 1, FirstPosition(), LastPosition(), 0) == 0;
}
