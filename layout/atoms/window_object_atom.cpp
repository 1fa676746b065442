#include "layout/atoms/window_object_atom.h"

bool WindowObjectAtom::ApplyStyle(const Position&, const Position&, const StyleDefinition* change) {
  ResolvedStyle* resolved = style_ ? style_->Resolve(change) : nullptr;
  if (!resolved) return false;
  style_ = resolved;
  return true;
}

bool WindowObjectAtom::ApplyParagraphStyle(const Position&, const Position&, const StyleDefinition* change) {
  ResolvedStyle* resolved = style_ ? style_->Resolve(change) : nullptr;
  if (resolved) style_ = resolved;
  return true;
}

ResolvedStyle* WindowObjectAtom::StyleAt(const Position&) { return style_; }

bool WindowObjectAtom::SetMarks(const Position&, const Position&, BYTE bits) {
  marks_ |= bits;
  return true;
}

bool WindowObjectAtom::ClearMarks(const Position&, const Position&, BYTE bits) {
  marks_ &= static_cast<BYTE>(~bits);
  return true;
}

void WindowObjectAtom::MarksAt(const Position&, BYTE& bits) { bits = marks_; }
