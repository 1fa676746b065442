// The layout atom of one word: the builder feeds it text piece by piece,
// each piece with its position, kind and style, so a word may mix styles,
// scripts, encodings and overlays. The word keeps its whole text for
// searching and copying, and its pieces as spans in position order, each
// with the text run that measures and draws it.
//
// Most words are one piece of plain text in one style, and a document has
// them by the hundred thousand: such a word holds its only run and span in
// itself, with no further objects. It takes separate spans (word_spans.h)
// when a second span or an overlay arrives.
#pragma once

#include <memory>
#include <string_view>

#include "layout/atoms/text_run.h"
#include "layout/atoms/word_spans.h"
#include "text/atom/atom.h"

class WordAtom : public Atom {
 public:
  explicit WordAtom(LONG start) : Atom(start), run_(std::string_view(), nullptr, 0) {}
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
  std::string_view Text() const { return spans_ ? spans_->text.View() : run_.Text(); }
  LONG TrailingBlankCount() const { return trailingBlanks_; }
  // The spans in position order: null past either end and for a word
  // without text. A span is valid until the word's spans change.
  TextSpan* FirstSpan() const { return spans_ ? spans_->First() : OnlySpan(); }
  TextSpan* LastSpan() const { return spans_ ? spans_->Last() : OnlySpan(); }
  TextSpan* NextSpan(const TextSpan* s) const { return spans_ ? spans_->Next(s) : nullptr; }
  TextSpan* PreviousSpan(const TextSpan* s) const { return spans_ ? spans_->Previous(s) : nullptr; }
  LONG SpanCount() const { return spans_ ? spans_->Count() : only_.run ? 1 : 0; }

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
  // Splits the span holding p at p: the index of the span that now begins
  // there, or of the span itself when p is not inside it; -1 when memory
  // failed. `inserted` tells whether a span was added (at that index).
  LONG SplitAt(LONG p, bool& inserted);
  // Joins the span at i with the next when they are alike; true if so.
  bool MergeWithNext(LONG i);
  void MergeAll(LONG first, LONG stop);
  LONG FindBoundary(LONG p, int direction) const;
  TextSpan* SpanHolding(LONG p) const;
  TextSpan* OnlySpan() const { return only_.run ? const_cast<TextSpan*>(&only_) : nullptr; }
  // Gives the word separate spans, before it gets a second span or an
  // overlay; false when memory failed.
  bool TakeSpans();

  // A one-piece word: its run, and its span over the run (no run: no
  // text yet). Unused once the word has separate spans.
  TextRun run_;
  TextSpan only_{0, 0, nullptr};
  LONG trailingBlanks_ = 0;
  std::unique_ptr<WordSpans> spans_;
};
