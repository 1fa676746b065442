#include "layout/atoms/text_run.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "layout/support/fake_output.h"

namespace {

class RunTest : public ::testing::Test {
 protected:
  TestStyles styles;
  ResolvedStyle* plain = styles.Plain();
  FakeOutput out;
};

TEST_F(RunTest, ExtentsLeaveTrailingBlanksOutOrCountOne) {
  TextRun run("abc  ", plain, 0);
  struct Case {
    const char* name;
    LONG from, to;
    bool withBlank, hyphen;
    LONG width;
  } cases[] = {
      {"full", 0, kRunEnd, false, false, 30},
      {"whole run with blank", 0, 5, true, false, 50},
      {"with blank up to offset 4", 0, 4, true, false, 40},
      {"two letters", 0, 2, false, false, 20},
      {"two letters and a hyphen", 0, 2, false, true, 30},
      {"a hyphen after a blank is dropped", 0, 4, false, true, 30},
      {"from inside", 1, 3, false, false, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LayoutRect r = c.withBlank ? run.RangeExtentWithBlank(&out, c.from, c.to, c.hyphen)
                               : run.RangeExtent(&out, c.from, c.to, c.hyphen);
    EXPECT_EQ(r.Width(), c.width);
    EXPECT_EQ(r.top, -8);
    EXPECT_EQ(r.bottom, 2);
  }
  EXPECT_EQ(run.BlankExtent(&out, 0, kRunEnd).Width(), 20);
  EXPECT_EQ(TextRun("abc", plain, 0).BlankExtent(&out, 0, kRunEnd).Width(), 0);
}

TEST_F(RunTest, TwoByteCharactersFollowTheirLeadBytes) {
  ShiftJisRun sjis(std::string_view("\x82\xA0" "a"), plain, 0);
  EXPECT_EQ(sjis.CharLength(0), 2);
  EXPECT_EQ(sjis.CharLength(2), 1);
  EXPECT_EQ(sjis.PrevCharLength(2), 2);
  EXPECT_EQ(sjis.PrevCharLength(3), 1);
  EXPECT_EQ(sjis.Boundary(0, 1), 2);
  EXPECT_EQ(sjis.Boundary(3, 0), 2);
  EXPECT_EQ(sjis.Boundary(2, 0), 0);
  EucRun euc(std::string_view("\xB0\xA1" "b"), plain, 0);
  EXPECT_EQ(euc.CharLength(0), 2);
  EXPECT_EQ(euc.PrevCharLength(2), 2);
  TextRun cut(std::string_view("\x82"), plain, 0);
  EXPECT_EQ(ShiftJisRun(std::string_view("\x82"), plain, 0).CharLength(0), 1);  // never past the end
  EXPECT_EQ(cut.CharLength(0), 1);
}

TEST_F(RunTest, FitIndexRoundsToTheNearerCharacterEdge) {
  TextRun run("abcd", plain, 0);
  struct Case {
    LONG x;
    LONG index;
    LONG left;  // x afterwards
  } cases[] = {{5, 0, 5}, {6, 1, 6}, {15, 1, 15}, {16, 2, 16}, {40, 4, 40}, {41, -1, 1}, {-2, 0, -2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    LONG x = c.x;
    EXPECT_EQ(run.FitIndex(x, &out, 0), c.index);
    EXPECT_EQ(x, c.left);
  }
  LONG x = 12;
  EXPECT_EQ(run.FitIndex(x, &out, 2), 3);  // offsets stay those of the run
}

TEST_F(RunTest, MarkerBandsSplitTheBoxInOrder) {
  ResolvedStyle* marked = styles.Make([](TextStyle& s) { s.anchors.mask |= (1u << 24) | (1u << 26); });
  TextRun run("ab", marked, kOwnBandMark);
  run.Draw(&out, LayoutPoint{0, 100}, LayoutRect::Of(0, 20, -20, 10), 0, 2, false);
  EXPECT_EQ(out.Calls("fill"), (std::vector<std::string>{"fill (0,20,80,90) style -1", "fill (0,20,90,100) style -3",
                                                         "fill (0,20,100,110) style -9"}));
  EXPECT_TRUE(out.Calls("erase").empty());
}

TEST_F(RunTest, SelectionIsFilledAndOtherwiseTheBackgroundRestored) {
  TextRun run("ab", plain, 0);
  run.Draw(&out, LayoutPoint{5, 50}, LayoutRect::Of(0, 20, -8, 2), 0, 2, false);
  run.SetMarks(kSelectionMark);
  run.Draw(&out, LayoutPoint{5, 50}, LayoutRect::Of(0, 20, -8, 2), 0, 2, false);
  EXPECT_EQ(out.Calls("erase"), (std::vector<std::string>{"erase (5,25,42,52)"}));
  EXPECT_EQ(out.Calls("fill"), (std::vector<std::string>{"fill (5,25,42,52) style 1 hl"}));
  EXPECT_EQ(out.Calls("text"), (std::vector<std::string>{"text 5,50 'ab'", "text 5,50 'ab' hl"}));
}

TEST_F(RunTest, UnderlineAndStrikeThroughSpanTheBox) {
  ResolvedStyle* lined = styles.Make([](TextStyle& s) { s.displayFlags.mask |= 0x02 | 0x08; });
  TextRun run("ab ", lined, 0);
  run.DrawText(&out, LayoutPoint{0, 50}, LayoutRect::Of(0, 30, -8, 2), 0, 3, false);
  EXPECT_EQ(out.Calls("text"), (std::vector<std::string>{"text 0,50 'ab'"}));
  EXPECT_EQ(out.Calls("line"), (std::vector<std::string>{"line 0,47 30,47 style 1 scale 100",
                                                         "line 0,51 30,51 style 1 scale 100"}));
}

TEST_F(RunTest, ScriptRunsAreSmallAndMovedToTheMiddle) {
  ResolvedStyle* subscript = styles.Make([](TextStyle& s) { s.displayFlags.mask |= 0x40; });
  ResolvedStyle* superscript = styles.Make([](TextStyle& s) { s.displayFlags.mask |= 0x80; });
  ScriptRun down("ab", subscript, 0);
  ScriptRun up("ab", superscript, 0);
  // Line -8..2, middle -3; the small blank spans -5..1.
  EXPECT_EQ(down.Shift(&out), -3 - -5);
  EXPECT_EQ(up.Shift(&out), -3 - 1);
  LayoutRect r = down.FullExtent(&out);
  EXPECT_EQ(RectText(r), "(0,14,-3,3)");
  down.DrawText(&out, LayoutPoint{0, 50}, LayoutRect::Of(0, 14, -8, 2), 0, 2, false);
  EXPECT_EQ(out.Calls("text"), (std::vector<std::string>{"text 0,52 'ab' scale 70"}));
}

}  // namespace
