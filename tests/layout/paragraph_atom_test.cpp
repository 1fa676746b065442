#include "layout/atoms/paragraph_atom.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "layout/support/fake_output.h"
#include "layout/support/test_atoms.h"

namespace {

// Each line as "baseline: text@x text@x ...", x the record's left.
std::vector<std::string> Lines(const FlowAtom& flow) {
  std::vector<std::string> out;
  for (LayoutLine* l = flow.FirstLine(); l; l = FlowAtom::NextLine(l)) {
    std::string line = std::to_string(l->baseline) + ":";
    for (PlacementRecord* r = l->FirstRecord(); r; r = l->NextRecord(r)) {
      CString text;
      r->atom->AppendText(text, FirstPosition(), LastPosition(), TRUE, 0);
      line += " " + std::string(text.c_str()) + "@" + std::to_string(r->left);
    }
    out.push_back(line);
  }
  return out;
}

class ParagraphTest : public ::testing::Test {
 protected:
  // A paragraph of the words, one position apart beyond their text.
  ParagraphAtom* Paragraph(ResolvedStyle* style, std::initializer_list<const char*> words) {
    auto* p = new ParagraphAtom(0, style, &tabs);
    owned.emplace_back(p);
    LONG at = 0;
    for (const char* w : words) {
      p->AddChild(MakeWord(at, w, style).release());
      at += static_cast<LONG>(strlen(w)) + 1;
    }
    p->SetEnd(at);
    return p;
  }
  int Format(FlowAtom* flow, LONG width, LONG height = 0x0FFFFFFF) {
    Position* c = nullptr;
    int r = flow->Format(&out, LayoutRect::Of(0, width, 0, height), c, FirstPosition(), 0);
    delete c;
    return r;
  }

  TestStyles styles;
  ResolvedStyle* plain = styles.Plain();
  TabSettingsList tabs;
  FakeOutput out;
  std::vector<std::unique_ptr<Atom>> owned;
};

TEST_F(ParagraphTest, BreaksGreedilyBetweenWords) {
  ParagraphAtom* p = Paragraph(plain, {"aaa ", "bb ", "cccc ", "d"});
  EXPECT_EQ(Format(p, 80), kFormatFits);
  EXPECT_EQ(Lines(*p), (std::vector<std::string>{"0: aaa @0 bb @40", "10: cccc @0 d@50"}));
  LayoutRect e;
  p->Extent(e, &out, FirstPosition(), LastPosition(), 1);
  EXPECT_EQ(RectText(e), "(0,60,-8,12)");
}

TEST_F(ParagraphTest, AlignsLinesByStyle) {
  struct Case {
    const char* name;
    void (*change)(TextStyle&);
    std::vector<std::string> lines;
  } cases[] = {
      {"left", nullptr, {"0: a @0 a @20 a @40 a @60", "10: bbbbbbbbb@0"}},
      {"right", [](TextStyle& s) { s.alignment.SetField(0, Alignment::kRight); },
       {"0: a @10 a @30 a @50 a @70", "10: bbbbbbbbb@0"}},
      {"centre", [](TextStyle& s) { s.alignment.SetField(0, Alignment::kCenter); },
       {"0: a @5 a @25 a @45 a @65", "10: bbbbbbbbb@0"}},
      // Three gaps share a slack of 10 as 4, 3 and 3; the last line stays.
      {"justified", [](TextStyle& s) { s.alignment.SetField(2, Alignment::kSpace); },
       {"0: a @0 a @24 a @47 a @70", "10: bbbbbbbbb@0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ParagraphAtom* p = Paragraph(styles.Make(c.change), {"a ", "a ", "a ", "a ", "bbbbbbbbb"});
    EXPECT_EQ(Format(p, 80), kFormatFits);
    EXPECT_EQ(Lines(*p), c.lines);
  }
}

TEST_F(ParagraphTest, JustifyingALineWithoutGapsLeavesIt) {
  ResolvedStyle* justified = styles.Make([](TextStyle& s) { s.alignment.SetField(2, Alignment::kAll); });
  ParagraphAtom* p = Paragraph(justified, {"aaaa", "bbbbbbbbbb"});
  Format(p, 80);
  EXPECT_EQ(Lines(*p), (std::vector<std::string>{"0: aaaa@0", "10: bbbbbbbbbb@0"}));
}

TEST_F(ParagraphTest, LineBreaksEndLinesAndEmptyLinesKeepTheirHeight) {
  ParagraphAtom* p = Paragraph(plain, {"ab ", "cd"});
  p->AddItem(new LineBreakItem(3));
  p->AddItem(new LineBreakItem(3));
  Format(p, 500);
  // The empty line hangs below its baseline with the height of one line.
  EXPECT_EQ(Lines(*p), (std::vector<std::string>{"0: ab @0", "2:", "20: cd@0"}));
  CString text;
  p->AppendText(text, FirstPosition(), LastPosition(), TRUE, 0);
  EXPECT_STREQ(text.c_str(), "ab \n\ncd");
}

TEST_F(ParagraphTest, NestedParagraphTakesWholeLines) {
  ParagraphAtom* outer = Paragraph(plain, {"ab "});
  auto* inner = new ParagraphAtom(3, plain, &tabs);
  inner->AddChild(MakeWord(3, "cd", plain).release());
  inner->SetEnd(5);
  outer->AddChild(inner);
  outer->AddChild(MakeWord(6, "ef", plain).release());
  outer->SetEnd(8);
  Format(outer, 500);
  EXPECT_EQ(Lines(*outer), (std::vector<std::string>{"0: ab @0", "10: cd@0", "20: ef@0"}));
}

TEST_F(ParagraphTest, IndentsAndLeftSpacing) {
  // Units are one blank: 10 wide. LEFT 100 % and FIRSTLEFT 200 %.
  ResolvedStyle* indented = styles.Make([](TextStyle& s) {
    s.left.Set(100, StyleValue::kAbsolute);
    s.firstLeft.Set(200, StyleValue::kAbsolute);
  });
  ParagraphAtom* one = Paragraph(indented, {"ab"});
  Format(one, 200);
  EXPECT_EQ(Lines(*one), (std::vector<std::string>{"0: ab@30"}));
  EXPECT_EQ(one->Spacing(kSpaceLeft, &out, FirstPosition(), LastPosition(), 1), 30);
  ParagraphAtom* two = Paragraph(indented, {"aaaa ", "bbbb"});
  Format(two, 80);
  EXPECT_EQ(Lines(*two), (std::vector<std::string>{"0: aaaa @30", "10: bbbb@10"}));
  EXPECT_EQ(two->Spacing(kSpaceLeft, &out, FirstPosition(), LastPosition(), 1), 10);
}

TEST_F(ParagraphTest, LeftTabMovesTheCursorToTheNextStop) {
  ParagraphAtom* p = Paragraph(plain, {"ab ", "cd"});
  p->AddItem(new TabItem(3, "", 0));
  Format(p, 500);
  // The tab width is eight blanks: the next stop after 30 is 80.
  EXPECT_EQ(Lines(*p), (std::vector<std::string>{"0: ab @0 cd@80"}));
}

TEST_F(ParagraphTest, RightTabAlignsTheSegmentAfterIt) {
  ParagraphAtom* p = Paragraph(plain, {"a ", "bc"});
  p->AddItem(new TabItem(2, "", 1));
  Format(p, 500);
  // The next stop after 20 is 80; "bc" (20 wide) ends there.
  EXPECT_EQ(Lines(*p), (std::vector<std::string>{"0: a @0 bc@60"}));
}

TEST_F(ParagraphTest, AnAtomTooHighForAnyLineEndsTheFormat) {
  auto* p = new ParagraphAtom(0, plain, &tabs);
  owned.emplace_back(p);
  p->AddChild(MakeWord(0, "ab ", plain).release());
  auto* stubborn = new BoxAtom(3, 10, 5);
  stubborn->forcedResult = kFormatNothing;
  p->AddChild(stubborn);
  p->AddChild(MakeWord(4, "cd", plain).release());
  p->SetEnd(6);
  Position* c = nullptr;
  EXPECT_EQ(p->Format(&out, LayoutRect::Of(0, 500, 0, 0x0FFFFFFF), c, FirstPosition(), 0), kFormatNothing);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->Number(), 3);  // a later attempt begins at the atom
  delete c;
  EXPECT_EQ(p->LineCount(), 1);
  EXPECT_LE(stubborn->formats, 4);
}

TEST_F(ParagraphTest, AnAtomTooWideForAnyWidthStandsOnALineOfItsOwn) {
  auto* p = new ParagraphAtom(0, plain, &tabs);
  owned.emplace_back(p);
  auto* wide = new BoxAtom(0, 300, 5);
  wide->forcedResult = kFormatTooWide;
  p->AddChild(wide);
  p->AddChild(MakeWord(1, "cd", plain).release());
  p->SetEnd(3);
  EXPECT_EQ(Format(p, 100), kFormatFits);
  EXPECT_EQ(Lines(*p), (std::vector<std::string>{"0: #@0", "8: cd@0"}));
}

TEST_F(ParagraphTest, AWordWiderThanAnEmptyLineOverflowsIt) {
  ParagraphAtom* p = Paragraph(plain, {"abcdefghij ", "k"});
  EXPECT_EQ(Format(p, 50), kFormatFits);
  EXPECT_EQ(Lines(*p), (std::vector<std::string>{"0: abcdefghij @0", "10: k@0"}));
}

TEST_F(ParagraphTest, LineSpacingSeparatesLines) {
  ResolvedStyle* spaced = styles.Make([](TextStyle& s) { s.lineSpace.Set(50, StyleValue::kAbsolute); });
  ParagraphAtom* p = Paragraph(spaced, {"aaaa ", "bbbb"});
  Format(p, 50);
  EXPECT_EQ(Lines(*p), (std::vector<std::string>{"0: aaaa @0", "15: bbbb@0"}));
}

}  // namespace

TEST_F(ParagraphTest, LayingOutAgainGivesTheSameLinesWhereverItStarts) {
  ParagraphAtom* p = Paragraph(plain, {"aaa ", "bb ", "cccc ", "d ", "ee ", "fff ", "g"});
  ASSERT_EQ(Format(p, 80), kFormatFits);
  const std::vector<std::string> at80 = Lines(*p);
  ASSERT_GE(at80.size(), 3u);
  // Another width and back.
  ASSERT_EQ(Format(p, 200), kFormatFits);
  EXPECT_NE(Lines(*p), at80);
  ASSERT_EQ(Format(p, 80), kFormatFits);
  EXPECT_EQ(Lines(*p), at80);
  // From the second line on: the first line stays, the rest is made again.
  const LONG second = FlowAtom::NextLine(p->FirstLine())->start->Number();
  Position* c = nullptr;
  EXPECT_EQ(p->Format(&out, LayoutRect::Of(0, 80, 0, 0x0FFFFFFF), c, Position(second), 0), kFormatFits);
  delete c;
  EXPECT_EQ(Lines(*p), at80);
}
