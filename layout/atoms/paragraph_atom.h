// A flow that breaks its atoms into lines: greedy placement, first-line and
// hanging indents, tab stops and the builder's border marks, left, right,
// centred or justified lines, and the style's line spacing. Words, pictures,
// rules, label rows, tables and form fields share lines; a nested paragraph
// always takes whole lines.
#pragma once

#include "layout/atoms/flow_atom.h"
#include "text/layout_support/tab_settings.h"

class ParagraphLine : public LayoutLine {
 public:
  ParagraphLine(RecordStore& store, const Position& start, PositionItem* breakItem, LONG left,
                TabSettings* settings);
  ~ParagraphLine() override;

  TabSettings* Tabs() const { return tabs_; }
  // Replaces the line's settings by a record made from them (the With...
  // operations give the record itself when nothing changes).
  void ReplaceTabs(TabSettings* replacement);

 private:
  TabSettings* tabs_;
};

class ParagraphAtom : public FlowAtom {
 public:
  // `tabs` is the document's shared list of settings records; null keeps
  // the paragraph's records to itself.
  ParagraphAtom(LONG start, ResolvedStyle* style, TabSettingsList* tabs) : FlowAtom(start, style), tabList_(tabs) {}
  ~ParagraphAtom() override;

  DWORD TypeMask() const override { return kParagraphMask; }
  bool AddItem(PositionItem* item) override;
  LONG Spacing(int side, TextOutput* ctx, const Position& from, const Position& to, int flag) override;
  oldio::ostream& Dump(oldio::ostream& out, int indent) override;

  LayoutLine* NewLine(const Position& start, PositionItem* breakItem, LONG left) override;
  void BeginLines(TextOutput* ctx, const LayoutRect& rect) override;
  void EndLines() override;
  Position* PlaceInLine(LayoutLine* line, TextOutput* ctx, const LayoutRect& rect, Atom* atom, const Position& from,
                        int flag) override;
  bool TakeItem(LayoutLine* line, TextOutput* ctx, PositionItem* item, PositionItem*& next) override;
  void FinishLine(LayoutLine* line, bool isLast) override;
  LONG LineGap(TextOutput* ctx, LayoutLine* previous, LayoutLine* line) override;
  void LineRect(LayoutRect& working, const LayoutRect& given) override;

  // Line alignment, exposed for the list items and for tests.
  void TakeTabItem(ParagraphLine* line, TextOutput* ctx, PositionItem* item, bool& taken);
  void AlignTab(ParagraphLine* line);
  void Align(ParagraphLine* line);
  PlacementRecord* FirstAlignedRecord(const LayoutLine* line) const;

 protected:
  Container* EmptyCopy() const override;
  void DumpAs(oldio::ostream& out, int indent, const char* name);
  bool Justified() const;
  LONG RightEdge() const;

  TabSettingsList* tabList_;
  // The settings of the running format, and the x its values count from.
  TabSettings* formatTabs_ = nullptr;
  LONG originX_ = 0;
  // Where the right edge of the last format lay (for alignment).
  LONG rightEdge_ = 0;
};
