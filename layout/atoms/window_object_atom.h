// The base of atoms that carry their own style and marks (containers and
// pictures): restyling resolves the change over the style they hold, and
// marking sets bits of their own.
#pragma once

#include "text/atom/atom.h"
#include "text/style/resolved_style.h"

class WindowObjectAtom : public Atom {
 public:
  WindowObjectAtom(LONG start, ResolvedStyle* style) : Atom(start), style_(style) {}

  bool ApplyStyle(const Position& from, const Position& to, const StyleDefinition* change) override;
  bool ApplyParagraphStyle(const Position& from, const Position& to, const StyleDefinition* change) override;
  ResolvedStyle* StyleAt(const Position& position) override;
  bool SetMarks(const Position& from, const Position& to, BYTE bits) override;
  bool ClearMarks(const Position& from, const Position& to, BYTE bits) override;
  void MarksAt(const Position& position, BYTE& bits) override;
  LONG Unnamed(LONG, LONG) override { return 0; }

  ResolvedStyle* Style() const { return style_; }
  BYTE Marks() const { return marks_; }

 protected:
  // Copies start, end, style and marks of another atom of the family.
  void CopyBase(const WindowObjectAtom& other) {
    end_ = other.end_;
    style_ = other.style_;
    marks_ = other.marks_;
  }

  ResolvedStyle* style_;
  BYTE marks_ = 0;
};
