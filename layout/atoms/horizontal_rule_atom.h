// A horizontal rule: it takes the whole room left on its line (or its
// width limit), is as high as twice the size of draw style 6, and is drawn
// as a frame in draw styles 6 and 7, which gives it a raised edge. It holds
// no text and takes no part in selection or restyling.
#pragma once

#include "text/atom/atom.h"

class HorizontalRuleAtom : public Atom {
 public:
  // A width of 0 or less means no limit.
  HorizontalRuleAtom(LONG start, ResolvedStyle* style, LONG width)
      : Atom(start), style_(style), hasWidth_(width > 0), width_(width > 0 ? width : 0) {}

  DWORD TypeMask() const override { return kHorizontalRuleMask; }
  bool AppendText(CString&, const Position&, const Position&, BOOL, LONG) override { return false; }
  bool SetEnd(LONG) override {
    end_ = start_ + 1;
    return true;
  }
  Atom* CloneRange(const Position& from, const Position& to) override;
  bool ApplyStyle(const Position&, const Position&, const StyleDefinition*) override { return false; }
  bool ApplyParagraphStyle(const Position&, const Position&, const StyleDefinition*) override { return false; }
  ResolvedStyle* StyleAt(const Position&) override { return style_; }
  bool SetMarks(const Position&, const Position&, BYTE) override { return false; }
  bool ClearMarks(const Position&, const Position&, BYTE) override { return false; }
  void MarksAt(const Position&, BYTE& bits) override { bits = 0x80; }
  void Reset(int) override {}
  int Format(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position& from,
             int flag) override;
  int Extent(LayoutRect& out, TextOutput*, const Position&, const Position&, int) override {
    out = rect_;
    return 0;
  }
  LONG Spacing(int, TextOutput*, const Position&, const Position&, int) override { return 0; }
  LONG Unnamed(LONG, LONG) override { return 0; }
  LONG GapCount(const Position&, const Position&) override { return 0; }
  int Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& clip, const Position& from,
           const Position& to, int flag, const PositionRange* range) override;
  oldio::ostream& Dump(oldio::ostream& out, int indent) override;

 private:
  ResolvedStyle* style_;
  BYTE marks_ = 0;
  LayoutRect rect_;
  bool hasWidth_;
  LONG width_;
};
