// Atoms with fixed answers, for the placement tests: a box of a given size
// whose format result can be forced, and which counts its formats.
#pragma once

#include <memory>
#include <string>

#include "layout/atoms/word_atom.h"
#include "text/atom/atom.h"

class BoxAtom : public Atom {
 public:
  BoxAtom(LONG start, LONG width, LONG height) : Atom(start), width_(width), height_(height) { end_ = start + 1; }

  // A forced result for every format (-1: fit when the box fits).
  int forcedResult = -1;
  int formats = 0;

  bool AppendText(CString& out, const Position&, const Position&, BOOL, LONG) override {
    out += "#";
    return true;
  }
  bool ApplyStyle(const Position&, const Position&, const StyleDefinition*) override { return true; }
  bool ApplyParagraphStyle(const Position&, const Position&, const StyleDefinition*) override { return true; }
  ResolvedStyle* StyleAt(const Position&) override { return nullptr; }
  bool SetMarks(const Position&, const Position&, BYTE) override { return true; }
  bool ClearMarks(const Position&, const Position&, BYTE) override { return true; }
  void MarksAt(const Position&, BYTE& bits) override { bits = 0; }
  void Reset(int) override {}
  int Format(TextOutput*, const LayoutRect& rect, Position*& continuation, const Position&, int) override;
  int Extent(LayoutRect& out, TextOutput*, const Position&, const Position&, int) override {
    out = LayoutRect::Of(0, width_, -height_, 0);
    return 0;
  }
  LONG Spacing(int, TextOutput*, const Position&, const Position&, int) override { return 0; }
  LONG Unnamed(LONG, LONG) override { return 0; }
  LONG GapCount(const Position&, const Position&) override { return 0; }
  int Draw(TextOutput*, const LayoutPoint&, const LayoutRect&, const Position&, const Position&, int,
           const PositionRange*) override {
    return 0;
  }

 private:
  LONG width_;
  LONG height_;
};

// A word of the given text at `start`, closed after its last byte.
std::unique_ptr<WordAtom> MakeWord(LONG start, const char* text, ResolvedStyle* style);

// What an atom's dump writes, as text.
std::string DumpOf(Atom& atom, int indent);
