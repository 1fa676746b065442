// Tables: the table places its cells into a grid over their row and column
// spans, derives a lower and an upper width for every column from the
// cells, gives the columns their widths for the available width, formats
// every cell into its column width, sizes the rows, aligns the cells
// vertically, and draws a bevelled outer border and a frame per cell. A
// table is placed into a line as a whole and never split.
#pragma once

#include "layout/atoms/paragraph_atom.h"
#include "text/atom/table_attrs.h"

class TableItemAtom;

// Spans beyond these are cut: a document cannot make a table of more
// slots than a reader could want.
constexpr LONG kMaxTableSpan = 256;
constexpr LONG kMaxTableColumns = 1024;
// The most a table's border, cell spacing, cell padding or width may be: a
// document may ask for any number, and the sums over a row of the widest
// table must stay within 32 bits.
constexpr LONG kMaxTableMeasure = 32767;

struct TableGridSlot : public ListElement {
  TableItemAtom* cell = nullptr;  // belongs to the table's children
  bool spanning = false;
  bool first = false;  // the cell's top-left slot
  bool last = false;   // the cell's last slot, in its bottom row
  TableGridSlot* Next() const { return static_cast<TableGridSlot*>(next()); }
};

struct TableRow : public ListElement {
  ~TableRow() override { slots.clearAndDelete(); }
  TableGridSlot* FirstSlot() const { return static_cast<TableGridSlot*>(slots.first()); }
  TableGridSlot* SlotAt(LONG column) const { return static_cast<TableGridSlot*>(slots.at(column)); }
  TableRow* Next() const { return static_cast<TableRow*>(next()); }
  TableRow* Previous() const { return static_cast<TableRow*>(previous()); }

  List slots;
  LONG y = 0;
  LONG height = 0;
};

struct TableColumn : public ListElement {
  TableColumn* Next() const { return static_cast<TableColumn*>(next()); }
  LONG width = 0;
  LONG lower = 0;
  LONG upper = 0;
  TableColumn* nextByUpper = nullptr;
};

// A cell lays out its content as a paragraph does (the document puts words
// straight into cells): lines are broken, aligned by the cell's style and
// ended by line breaks; nested blocks take whole lines, spaced as in a
// page.
class TableItemAtom : public ParagraphAtom {
 public:
  TableItemAtom(LONG start, ResolvedStyle* style, const CellAttrs& attrs);

  DWORD TypeMask() const override { return kTableItemMask; }
  Atom* CloneRange(const Position& from, const Position& to) override;
  int Format(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position& from,
             int flag) override;
  oldio::ostream& Dump(oldio::ostream& out, int indent) override;
  LONG LineGap(TextOutput* ctx, LayoutLine* previous, LayoutLine* line) override;

  void SetBoxOrigin(LONG x, LONG y) {
    boxX_ = x;
    boxY_ = y;
  }
  void SetContentOrigin(LONG x, LONG y) {
    contentX_ = x;
    contentY_ = y;
  }
  bool IsEmpty() const { return children_.isEmpty() && items_.isEmpty(); }

  LONG width = 0;
  LONG height = 0;
  LONG givenWidth = 0;  // 0 when none or given in percent
  LONG rowSpan = 1;
  LONG colSpan = 1;
  LONG borderFlag = 0;
  LONG BoxX() const { return boxX_; }
  LONG BoxY() const { return boxY_; }
  LONG ContentX() const { return contentX_; }
  LONG ContentY() const { return contentY_; }

 protected:
  Container* EmptyCopy() const override;

 private:
  LONG boxX_ = 0;
  LONG boxY_ = 0;
  LONG contentX_ = 0;
  LONG contentY_ = 0;
};

class TableAtom : public Container {
 public:
  TableAtom(LONG start, ResolvedStyle* style, const TableAttrs& attrs);
  ~TableAtom() override;

  DWORD TypeMask() const override { return kTableMask; }
  bool AddChild(Atom* child) override;
  Atom* CloneRange(const Position& from, const Position& to) override;
  Position* Step(const Position& position, int direction, int flag, int mode, TextOutput* ctx, LONG distance,
                 const LayoutRect& caret) override;
  bool AddItem(PositionItem* item) override;
  void InvalidateRange(const PositionRange& range) override;
  void Reset(int level) override;
  bool HoldsObject(LONG kind, void* object, PositionRange* range) override;
  int Format(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position& from,
             int flag) override;
  bool NaturalSize(LayoutRect& lower, LayoutRect& natural, TextOutput* ctx) override;
  bool LaysOutAgain() const override { return formattedOutput_ == nullptr; }
  int Extent(LayoutRect& out, TextOutput* ctx, const Position& from, const Position& to, int flag) override;
  int CaretRect(LayoutRect& out, TextOutput* ctx, const PositionRange& selection, int flag, const Position& from,
                const Position& to, LONG option) override;
  LONG Spacing(int, TextOutput*, const Position&, const Position&, int) override { return 0; }
  int Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& clip, const Position& from,
           const Position& to, int flag, const PositionRange* range) override;
  Position* PositionAtPoint(TextOutput* ctx, const LayoutPoint& point, int mode, const Position& from,
                            const Position& to, LONG option) override;
  oldio::ostream& Dump(oldio::ostream& out, int indent) override;

  LONG ColumnCount() const { return columns_.count(); }
  LONG RowCount() const { return rows_.count(); }
  TableColumn* FirstColumn() const { return static_cast<TableColumn*>(columns_.first()); }
  TableRow* FirstRow() const { return static_cast<TableRow*>(rows_.first()); }
  TableRow* LastRow() const { return static_cast<TableRow*>(rows_.last()); }
  TableItemAtom* CellAt(const Position& position) const;
  TableRow* RowAtY(LONG y) const;

  void ComputeColumnBounds(TextOutput* ctx);
  void DistributeWidth(LONG width, bool hasWidth);
  LONG BorderLineThickness(TextOutput* ctx) const;

 protected:
  Container* EmptyCopy() const override;

 private:
  void ContentChangedFrom(LONG) override { ForgetFormat(); }
  // The column bounds and the last format are made again at the next one.
  void ForgetFormat() {
    boundsComputed_ = false;
    formattedOutput_ = nullptr;
  }
  void NewRow();
  bool PlaceCell(TableItemAtom* cell);
  void MeasureCell(TextOutput* ctx, TableItemAtom* cell, LONG column);
  void SpreadCellWidth(LONG span, LONG firstColumn, LONG lower, LONG upper, LONG given);
  void PlaceRowCells(TableRow* row, TextOutput* ctx);
  // The answer of a format from the table's size and the rectangle.
  int FormatResult(const LayoutRect& rect, Position*& continuation);
  void DrawFrame(const LayoutRect& box, TextOutput* ctx) const;
  void DrawCellBorder(const LayoutRect& box, TextOutput* ctx, LONG flag) const;
  TableColumn* ColumnAt(LONG index) const { return static_cast<TableColumn*>(columns_.at(index)); }
  LONG ScaledGivenWidth(TextOutput* ctx, const TableItemAtom* cell) const;
  static TableItemAtom* CellOf(Atom* a) { return static_cast<TableItemAtom*>(a); }

  LONG border_;
  LONG cellLineFactor_ = 1;
  LONG spacing_;
  LONG padding_;
  LONG edgeSpacing_ = 0;
  List columns_;
  LONG sumLower_ = 0;
  LONG sumUpper_ = 0;
  TableColumn* byUpper_ = nullptr;
  List rows_;
  TableRow* filling_ = nullptr;
  LayoutRect cached_;
  bool boundsComputed_ = false;
  // What the last format was given, while its rows, cells and cached_
  // stand (formattedOutput_ null: they do not).
  TextOutput* formattedOutput_ = nullptr;
  LONG formattedWidth_ = 0;
  int formattedFlag_ = 0;
  bool hasWidth_;
  bool widthPercent_;
  LONG width_;
  bool wrap_;
};
