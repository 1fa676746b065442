// The layout atom of one word: the builder feeds it text piece by piece,
// each piece with its position, kind and style, so a word may mix styles,
// scripts, encodings and overlays. The word keeps its whole text for
// searching and copying, and its pieces as spans in position order, each
// owning the text run that measures and draws it.
#pragma once

#include <memory>

#include "core/list.h"
#include "layout/atoms/text_run.h"
#include "text/atom/atom.h"

// A stretch of the word's positions and the run that holds its text.
class TextSpan : public ListElement {
 public:
  TextSpan(LONG spanStart, LONG spanLength, TextRun* spanRun) : start(spanStart), length(spanLength), run(spanRun) {}
  ~TextSpan() override { delete run; }
  ZEMRA_POOLED_ALLOCATION
  TextSpan* Next() const { return static_cast<TextSpan*>(next()); }
  TextSpan* Previous() const { return static_cast<TextSpan*>(previous()); }
  LONG End() const { return start + length; }

  LONG start;
  LONG length;  // 32 bits: a word may be longer than 32767 bytes
  TextRun* run;
};

class WordAtom : public Atom {
 public:
  explicit WordAtom(LONG start) : Atom(start) {}
  WordAtom(const WordAtom& other);
  ~WordAtom() override;

  DWORD TypeMask() const override { return kWordMask; }
  bool AppendText(CString& out, const Position& from, const Position& to, BOOL atEnd, LONG option) override;
  bool AddText(std::string_view text, LONG position, LONG textKind, ResolvedStyle* style) override;
  bool SetEnd(LONG end) override;
  Atom* CloneRange(const Position& from, const Position& to) override;
  Position* Step(const Position& position, int direction, int flag, int mode, TextOutput* ctx, LONG distance,
                 const LayoutRect& caret) override;
  bool ApplyStyle(const Position& from, const Position& to, const StyleDefinition* change) override;
  bool ApplyParagraphStyle(const Position& from, const Position& to, const StyleDefinition* change) override;
  ResolvedStyle* StyleAt(const Position& position) override;
  bool SetMarks(const Position& from, const Position& to, BYTE bits) override;
  bool ClearMarks(const Position& from, const Position& to, BYTE bits) override;
  void MarksAt(const Position& position, BYTE& bits) override;
  void Reset(int level) override;
  int Format(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position& from,
             int flag) override;
  Position* ResumeAfter(const Position& position) override;
  int Extent(LayoutRect& out, TextOutput* ctx, const Position& from, const Position& to, int flag) override;
  int CaretRect(LayoutRect& out, TextOutput* ctx, const PositionRange& selection, int flag, const Position& from,
                const Position& to, LONG option) override;
  LONG Spacing(int side, TextOutput* ctx, const Position& from, const Position& to, int flag) override;
  LONG Unnamed(LONG, LONG) override { return 0; }
  LONG GapCount(const Position& from, const Position& to) override;
  int Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& box, const Position& from,
           const Position& to, int flag, const PositionRange* range) override;
  Position* PositionAtPoint(TextOutput* ctx, const LayoutPoint& point, int mode, const Position& from,
                            const Position& to, LONG option) override;
  oldio::ostream& Dump(oldio::ostream& out, int indent) override;

  // The text of a range (see AppendText): false when the word is empty.
  bool GetText(CString& out, const Position& from, const Position& to) const;
  const CString& Text() const;
  LONG TrailingBlankCount() const { return trailingBlanks_; }
  TextSpan* FirstSpan() const { return static_cast<TextSpan*>(spans_.first()); }
  TextSpan* LastSpan() const { return static_cast<TextSpan*>(spans_.last()); }
  LONG SpanCount() const { return spans_.count(); }

  // The span of a position and the character index of the position in the
  // word's text; null only for a word without spans.
  TextSpan* Find(LONG p, LONG& index) const;
  LONG PositionOfIndex(LONG index) const;
  // The range measured from `from` to `to` (no blank at the end).
  bool SpanExtent(LayoutRect& out, TextOutput* ctx, LONG from, LONG to, bool hyphen, bool withBlank) const;
  // True when the position lies inside the word's text before its last
  // character, on a character that is not a blank.
  bool EndsInsideWord(LONG p) const;
  LONG BlankCount(LONG from, LONG to) const;

 private:
  enum RangeOperation { kStyleOp, kParagraphOp, kSetMarksOp, kClearMarksOp };
  bool SetOverlay(std::string_view text, LONG p, ResolvedStyle* style);
  bool ApplyToRange(LONG from, LONG to, RangeOperation op, const StyleDefinition* change, BYTE bits);
  // Splits the span holding p at p; the span that now begins there, the
  // span itself when p is not inside it, or null when memory failed.
  TextSpan* SplitAt(LONG p);
  static TextSpan* Split(TextSpan* span, LONG k, List& spans);
  TextSpan* MergeWithNext(TextSpan* span);
  void MergeAll(TextSpan* first, TextSpan* stop);
  LONG FindBoundary(LONG p, int direction) const;
  TextSpan* SpanHolding(LONG p) const;
  // Makes the word keep its whole text itself, before it gets a second
  // span or an overlay; false when memory failed.
  bool KeepOwnText();

  // Most words are one piece of plain text: their text is that of their
  // only run. A word of several spans, or with an overlay, keeps the whole
  // text here.
  std::unique_ptr<CString> ownText_;
  LONG trailingBlanks_ = 0;
  List spans_;
};
