#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "layout/atoms/horizontal_rule_atom.h"
#include "layout/atoms/list_item.h"
#include "layout/support/fake_output.h"
#include "layout/support/test_atoms.h"

namespace {

class ListTest : public ::testing::Test {
 protected:
  ListAtom* Label(LONG start, const char* text) {
    auto* label = new ListAtom(start, plain);
    label->AddChild(MakeWord(start, text, plain).release());
    label->SetEnd(start + static_cast<LONG>(strlen(text)));
    return label;
  }

  TestStyles styles;
  ResolvedStyle* plain = styles.Plain();
  // Three units (30) of indent, the first line three units further left.
  ResolvedStyle* hanging = styles.Make([](TextStyle& s) {
    s.left.Set(300, StyleValue::kAbsolute);
    s.firstLeft.Set(-300, StyleValue::kAbsolute);
  });
  TabSettingsList tabs;
  FakeOutput out;
};

TEST_F(ListTest, LabelGoesFirstAndTheBorderMarkMovesToTheContent) {
  ListItem item(10, hanging, &tabs);
  const DWORD other = kParagraphMask;
  ListAtom* wrong = Label(10, "1.");
  EXPECT_FALSE(item.AdoptLabel(&other, wrong));
  EXPECT_EQ(item.ChildCount(), 0);
  EXPECT_EQ(item.ItemCount(), 0);
  delete wrong;

  const DWORD mask = kListItemMask;
  EXPECT_TRUE(item.AdoptLabel(&mask, Label(10, "1.")));
  ASSERT_NE(item.MarkNamed(kLeftCounterStop), nullptr);
  EXPECT_EQ(item.MarkNamed(kLeftCounterStop)->Start(), 10);
  EXPECT_EQ(item.MarkNamed(kLeftCounterStop)->TypeMask(), static_cast<DWORD>(kTabItemKind));
  EXPECT_EQ(item.MarkNamed(kLeftBorderStop)->TypeMask(), static_cast<DWORD>(kBorderMarkKind));
  EXPECT_EQ(item.MarkNamed(kLeftBorderStop)->Start(), 11);
  item.AddChild(MakeWord(13, "abc ", plain).release());
  EXPECT_EQ(item.MarkNamed(kLeftBorderStop)->Start(), 13);
  // A second label replaces the first and keeps the marks.
  EXPECT_TRUE(item.AdoptLabel(&mask, Label(10, "a)")));
  EXPECT_EQ(item.ChildCount(), 2);
  EXPECT_EQ(item.ItemCount(), 2);
  CString text;
  item.FirstChild()->AppendText(text, FirstPosition(), LastPosition(), TRUE, 0);
  EXPECT_TRUE(text.IsEmpty());  // a label gives no text
}

TEST_F(ListTest, LabelHangsLeftOfTheIndentedText) {
  ListItem item(10, hanging, &tabs);
  const DWORD mask = kListItemMask;
  item.AdoptLabel(&mask, Label(10, "1."));
  item.AddChild(MakeWord(13, "aaaa ", plain).release());
  item.AddChild(MakeWord(18, "bbbb", plain).release());
  item.SetEnd(22);
  Position* c = nullptr;
  EXPECT_EQ(item.Format(&out, LayoutRect::Of(0, 100, 0, 1000), c, FirstPosition(), 0), kFormatFits);
  delete c;
  std::vector<std::string> lines;
  for (LayoutLine* l = item.FirstLine(); l; l = FlowAtom::NextLine(l)) {
    std::string line;
    for (PlacementRecord* r = l->FirstRecord(); r; r = l->NextRecord(r))
      line += std::to_string(r->left) + "-" + std::to_string(r->right) + " ";
    lines.push_back(line);
  }
  // The label ends one unit left of the indent; the text starts at it, and
  // so does the next line.
  EXPECT_EQ(lines, (std::vector<std::string>{"9-29 30-70 ", "30-70 "}));
}

TEST_F(ListTest, LabelRowIsNeverSplit) {
  ListAtom* label = Label(0, "iii.");
  std::unique_ptr<ListAtom> owned(label);
  struct Case {
    LayoutRect rect;
    int result;
  } cases[] = {
      {LayoutRect::Of(0, 40, 0, 10), kFormatFits},
      {LayoutRect::Of(0, 39, 0, 10), kFormatTooWide},
      {LayoutRect::Of(0, 40, 0, 9), kFormatNothing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(RectText(c.rect));
    Position* cont = nullptr;
    EXPECT_EQ(label->Format(&out, c.rect, cont, FirstPosition(), 0), c.result);
    if (c.result == kFormatTooWide) {
      ASSERT_NE(cont, nullptr);
      EXPECT_EQ(cont->Number(), 0);
    }
    delete cont;
  }
  ListAtom empty(0, plain);
  LayoutRect e;
  empty.Extent(e, &out, FirstPosition(), LastPosition(), 1);
  EXPECT_EQ(RectText(e), "(0,0,0,0)");
  EXPECT_EQ(empty.Spacing(kSpaceLeft, &out, FirstPosition(), LastPosition(), 1), 0);
  EXPECT_EQ(empty.Draw(&out, LayoutPoint{0, 0}, LayoutRect::Of(0, 0, 0, 0), FirstPosition(), LastPosition(), 1,
                       nullptr),
            1);
}

TEST(RuleTest, TakesTheRoomOrItsLimit) {
  TestStyles styles;
  FakeOutput out;
  out.fontSize = 10;
  struct Case {
    LONG limit;
    LONG roomRight;
    const char* rect;
  } cases[] = {
      {0, 400, "(0,399,0,21)"},
      {200, 400, "(0,200,0,21)"},
      {500, 400, "(0,399,0,21)"},
      {0, 0x3FFFFFF, "(0,20,0,21)"},  // measured without bounds
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rect);
    HorizontalRuleAtom rule(5, styles.Plain(), c.limit);
    rule.SetEnd(99);
    EXPECT_EQ(rule.End(), 6);
    Position* cont = nullptr;
    EXPECT_EQ(rule.Format(&out, LayoutRect::Of(0, c.roomRight, 0, 100), cont, FirstPosition(), 1), kFormatFits);
    EXPECT_EQ(cont, nullptr);
    LayoutRect e;
    rule.Extent(e, &out, FirstPosition(), LastPosition(), 1);
    EXPECT_EQ(RectText(e), c.rect);
  }
  HorizontalRuleAtom rule(5, styles.Plain(), 0);
  BYTE marks = 0;
  rule.MarksAt(Position(5), marks);
  EXPECT_EQ(marks, 0x80);
  EXPECT_FALSE(rule.SetMarks(FirstPosition(), LastPosition(), 0x02));
  Position* cont = nullptr;
  rule.Format(&out, LayoutRect::Of(0, 41, 0, 100), cont, FirstPosition(), 1);
  rule.Draw(&out, LayoutPoint{10, 100}, LayoutRect(), FirstPosition(), LastPosition(), 0, nullptr);
  EXPECT_EQ(out.Calls("line"), (std::vector<std::string>{
                                   "line 10,100 50,100 style 8 scale 100", "line 50,100 50,120 style 7 scale 100",
                                   "line 50,120 10,120 style 7 scale 100", "line 10,120 10,100 style 8 scale 100"}));
}

}  // namespace
