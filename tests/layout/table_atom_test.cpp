#include "layout/atoms/table_atom.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "layout/atoms/paragraph_atom.h"
#include "layout/support/fake_output.h"
#include "layout/support/test_atoms.h"

namespace {

class TableTest : public ::testing::Test {
 protected:
  std::unique_ptr<TableAtom> Table(LONG border = 0, LONG spacing = 0, LONG padding = 0, BYTE wrap = 0) {
    TableAttrs attrs;
    attrs.border = border;
    attrs.spacing = spacing;
    attrs.padding = padding;
    attrs.wrap = wrap;
    return std::make_unique<TableAtom>(0, plain, attrs);
  }
  // A cell holding a box of the given size.
  TableItemAtom* BoxCell(LONG start, LONG width, LONG height, LONG colSpan = 1, LONG rowSpan = 1) {
    CellAttrs attrs;
    attrs.colSpan = colSpan;
    attrs.rowSpan = rowSpan;
    auto* cell = new TableItemAtom(start, plain, attrs);
    cell->AddChild(new BoxAtom(start, width, height));
    cell->SetEnd(start + 1);
    return cell;
  }
  // A cell holding a paragraph of words.
  TableItemAtom* TextCell(LONG start, std::initializer_list<const char*> words) {
    auto* cell = new TableItemAtom(start, plain, CellAttrs());
    auto* p = new ParagraphAtom(start, plain, nullptr);
    LONG at = start;
    for (const char* w : words) {
      p->AddChild(MakeWord(at, w, plain).release());
      at += static_cast<LONG>(strlen(w));
    }
    p->SetEnd(at);
    cell->AddChild(p);
    cell->SetEnd(at);
    return cell;
  }
  static std::vector<LONG> Widths(const TableAtom& t) {
    std::vector<LONG> out;
    for (TableColumn* c = t.FirstColumn(); c; c = c->Next()) out.push_back(c->width);
    return out;
  }
  int Format(TableAtom& t, LayoutRect rect) {
    Position* c = nullptr;
    int r = t.Format(&out, rect, c, FirstPosition(), 0);
    delete c;
    return r;
  }

  TestStyles styles;
  ResolvedStyle* plain = styles.Plain();
  FakeOutput out;
};

TEST_F(TableTest, CellsFillTheGridOverTheirSpans) {
  auto t = Table();
  EXPECT_TRUE(t->AddItem(new TableRowItem(0)));
  EXPECT_TRUE(t->AddChild(BoxCell(1, 10, 5, 1, 2)));  // two rows high
  EXPECT_TRUE(t->AddChild(BoxCell(2, 10, 5, 2, 1)));  // two columns wide
  EXPECT_TRUE(t->AddItem(new TableRowItem(3)));       // into the row the span made
  EXPECT_TRUE(t->AddChild(BoxCell(4, 10, 5)));
  EXPECT_EQ(t->RowCount(), 2);
  EXPECT_EQ(t->ColumnCount(), 3);
  TableRow* second = t->FirstRow()->Next();
  ASSERT_NE(second->SlotAt(1), nullptr);
  EXPECT_EQ(second->SlotAt(0)->cell, t->FirstRow()->SlotAt(0)->cell);
  EXPECT_TRUE(second->SlotAt(0)->last);
  EXPECT_FALSE(t->FirstRow()->SlotAt(0)->last);
  EXPECT_EQ(second->SlotAt(1)->cell->Start(), 4);
  EXPECT_TRUE(t->FirstRow()->SlotAt(1)->first && t->FirstRow()->SlotAt(1)->spanning);
  EXPECT_TRUE(t->FirstRow()->SlotAt(2)->last);
  // Anything but a cell is refused, and so are other items.
  auto word = MakeWord(9, "a", plain);
  EXPECT_FALSE(t->AddChild(word.get()));
  LineBreakItem lineBreak(9);
  EXPECT_FALSE(t->AddItem(&lineBreak));
}

TEST_F(TableTest, ColumnWidthsFollowTheCellsAndTheRoom) {
  {
    SCOPED_TRACE("percentage width: every column grows by an equal share");
    TableAttrs attrs;
    attrs.hasWidth = 1;
    attrs.widthPercent = 1;
    attrs.width = 50;
    attrs.spacing = 0;
    attrs.padding = 0;
    TableAtom t(0, plain, attrs);
    t.AddChild(BoxCell(1, 30, 5));
    t.AddChild(BoxCell(2, 50, 5));
    EXPECT_EQ(Format(t, LayoutRect::Of(0, 400, 0, 1000)), kFormatFits);
    EXPECT_EQ(Widths(t), (std::vector<LONG>{90, 110}));
  }
  {
    SCOPED_TRACE("between the sums: the narrow column gets its whole upper width first");
    auto t = Table(0, 0, 0, 1);
    t->AddChild(TextCell(1, {"aaa ", "b"}));
    t->AddChild(TextCell(10, {"ccccc ", "dddddddddddddd"}));
    t->ComputeColumnBounds(&out);
    t->DistributeWidth(220, false);
    EXPECT_EQ(Widths(*t), (std::vector<LONG>{50, 170}));
    t->DistributeWidth(100, false);  // below the lower widths
    EXPECT_EQ(Widths(*t), (std::vector<LONG>{40, 140}));
    t->DistributeWidth(1000, false);  // above the upper widths, no table width
    EXPECT_EQ(Widths(*t), (std::vector<LONG>{50, 200}));
  }
  {
    SCOPED_TRACE("a spanning cell splits what it lacks, the odd unit to the second column");
    auto t = Table();
    t->AddChild(BoxCell(1, 20, 5));
    t->AddChild(BoxCell(2, 30, 5));
    t->AddItem(new TableRowItem(3));
    t->AddChild(BoxCell(4, 101, 5, 2));
    EXPECT_EQ(Format(*t, LayoutRect::Of(0, 400, 0, 1000)), kFormatFits);
    EXPECT_EQ(Widths(*t), (std::vector<LONG>{45, 56}));
  }
}

TEST_F(TableTest, ATableIsNeverSplit) {
  struct Case {
    LayoutRect rect;
    int result;
  } cases[] = {
      {LayoutRect::Of(0, 200, 0, 100), kFormatFits},
      {LayoutRect::Of(0, 50, 0, 100), kFormatTooWide},
      {LayoutRect::Of(0, 200, 0, 10), kFormatNothing},
      {LayoutRect::Of(0, 50, 0, 10), kFormatNothing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(RectText(c.rect));
    auto t = Table(0, 2, 1);
    t->AddChild(BoxCell(1, 100, 20));
    Position* cont = nullptr;
    EXPECT_EQ(t->Format(&out, c.rect, cont, FirstPosition(), 0), c.result);
    ASSERT_NE(cont, nullptr);
    EXPECT_EQ(cont->Number(), c.result == kFormatFits ? kLastPositionNumber : 0);
    delete cont;
  }
  // 100 wide with 1 of padding each side and 2 of spacing each side.
  auto t = Table(0, 2, 1);
  t->AddChild(BoxCell(1, 100, 20));
  Format(*t, LayoutRect::Of(0, 500, 0, 500));
  LayoutRect e;
  t->Extent(e, &out, FirstPosition(), LastPosition(), 1);
  EXPECT_EQ(RectText(e), "(0,106,0,26)");
}

TEST_F(TableTest, EmptyAndHugeTablesStaySane) {
  TableAttrs attrs;
  attrs.hasWidth = 1;
  attrs.width = 300;
  TableAtom empty(0, plain, attrs);
  EXPECT_EQ(Format(empty, LayoutRect::Of(0, 400, 0, 1000)), kFormatFits);
  LayoutRect lower, natural;
  EXPECT_TRUE(empty.NaturalSize(lower, natural, &out));
  EXPECT_EQ(natural.Width(), 300);

  auto t = Table();
  CellAttrs wide;
  wide.colSpan = 100000;
  wide.rowSpan = -7;
  auto* cell = new TableItemAtom(1, plain, wide);
  EXPECT_EQ(cell->colSpan, kMaxTableSpan);
  EXPECT_EQ(cell->rowSpan, 1);
  t->AddChild(cell);
  EXPECT_EQ(t->ColumnCount(), kMaxTableSpan);
  EXPECT_EQ(t->RowCount(), 1);
  EXPECT_EQ(Format(*t, LayoutRect::Of(0, 400, 0, 1000)), kFormatFits);
}

// A document may ask for any border, spacing or padding (the attribute
// reader saturates at 32 bits): the table lays out without its sums
// running over.
TEST_F(TableTest, HugeBordersSpacingAndPaddingAreCapped) {
  const LONG huge = 2147483647;
  struct Case {
    const char* name;
    LONG border, spacing, padding;
  } cases[] = {
      {"border", huge, 0, 0}, {"spacing", 0, huge, 0}, {"padding", 3, 0, huge}, {"all", huge, huge, huge}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto t = Table(c.border, c.spacing, c.padding);
    t->AddChild(BoxCell(1, 10, 10));
    t->AddChild(BoxCell(2, 10, 10));
    Format(*t, LayoutRect::Of(0, 400, 0, 1000));
    LayoutRect lower, natural;
    ASSERT_TRUE(t->NaturalSize(lower, natural, &out));
    EXPECT_GT(natural.Width(), 0);
    EXPECT_LT(natural.Width(), 64 * kMaxTableMeasure);
  }
}

TEST_F(TableTest, HitTestsGoThroughTheColumns) {
  auto t = Table(0, 10, 0);
  t->AddChild(BoxCell(1, 50, 20));
  t->AddChild(new TableItemAtom(2, plain, CellAttrs()));  // an empty cell
  Format(*t, LayoutRect::Of(0, 500, 0, 500));
  struct Case {
    LONG x;
    bool found;
  } cases[] = {{2, true}, {30, true}, {65, false}, {500, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    std::unique_ptr<Position> p(t->PositionAtPoint(&out, LayoutPoint{c.x, 15}, 0, FirstPosition(), LastPosition(), 0));
    EXPECT_EQ(p != nullptr, c.found);
  }
  // No row below the last: a step down gives nothing.
  std::unique_ptr<Position> down(t->Step(Position(1), 1, 0, 1, &out, 0, LayoutRect::Of(12, 13, 10, 30)));
  EXPECT_EQ(down, nullptr);
}

TEST_F(TableTest, FramesAreDrawnOnlyWithABorder) {
  auto plainTable = Table(0, 2, 1);
  plainTable->AddChild(BoxCell(1, 10, 10));
  Format(*plainTable, LayoutRect::Of(0, 100, 0, 100));
  plainTable->Draw(&out, LayoutPoint{0, 0}, LayoutRect::Of(0, 100, 0, 100), FirstPosition(), LastPosition(), 0,
                   nullptr);
  EXPECT_TRUE(out.Calls("polygon").empty());
  EXPECT_TRUE(out.Calls("line").empty());

  FakeOutput framed;
  framed.fontSize = 2;
  auto bordered = Table(1, 2, 1);
  bordered->AddChild(BoxCell(1, 10, 10));
  Position* c = nullptr;
  bordered->Format(&framed, LayoutRect::Of(0, 100, 0, 100), c, FirstPosition(), 0);
  delete c;
  bordered->Draw(&framed, LayoutPoint{0, 0}, LayoutRect::Of(0, 100, 0, 100), FirstPosition(), LastPosition(), 0,
                 nullptr);
  // Outer border 2, spacing 2: the cell box starts at 4; padding 1 and a
  // cell border of 2 put the content's top at 7.
  std::vector<std::string> polygons = framed.Calls("polygon");
  ASSERT_EQ(polygons.size(), 4u);
  EXPECT_EQ(polygons[0].substr(0, 15), "polygon style 7");  // draw style 6, stored as 7
  EXPECT_EQ(polygons[1].substr(0, 15), "polygon style 8");
  std::vector<std::string> lines = framed.Calls("line");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "line 4,4 20,4 style 8 scale 100");
  TableItemAtom* cell = static_cast<TableItemAtom*>(bordered->FirstChild());
  EXPECT_EQ(cell->ContentX(), 7);
  EXPECT_EQ(cell->ContentY(), 7 + 10);
}

TEST_F(TableTest, CellsAlignVertically) {
  auto t = Table();
  ResolvedStyle* bottom = styles.Make([](TextStyle& s) { s.alignment.SetField(1, Alignment::kBottom); });
  ResolvedStyle* middle = styles.Make([](TextStyle& s) { s.alignment.SetField(1, Alignment::kMiddle); });
  t->AddChild(BoxCell(1, 10, 40));
  for (ResolvedStyle* style : {bottom, middle}) {
    auto* cell = new TableItemAtom(2, style, CellAttrs());
    cell->AddChild(new BoxAtom(2, 10, 10));
    cell->SetEnd(3);
    t->AddChild(cell);
  }
  Format(*t, LayoutRect::Of(0, 500, 0, 500));
  std::vector<LONG> tops;
  for (Atom* c = t->FirstChild(); c; c = Container::NextOf(c)) tops.push_back(static_cast<TableItemAtom*>(c)->ContentY());
  // Content tops at 0, 30 and 15; a box's extent starts 40 or 10 above its baseline.
  EXPECT_EQ(tops, (std::vector<LONG>{40, 40, 25}));
}

}  // namespace
