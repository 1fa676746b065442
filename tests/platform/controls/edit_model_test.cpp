// The edit control's model: word steps, the limit, line breaks, undo and
// the layout of lines.
#include <gtest/gtest.h>

#include <string>

#include "user/controls/edit_model.h"

namespace {

using win::user::EditModel;
using win::user::TextWidths;

TextWidths Fixed(int w) {
  TextWidths t;
  t.advance.fill(w);
  t.tab = 4 * w;
  t.height = 10;
  return t;
}

TEST(EditModelTest, WordStepsAsCtrlArrowsTakeThem) {
  EditModel m(true);
  m.SetText("one  two\tthree\r\nfour");
  struct Case {
    size_t from, left, right;
  };
  const Case cases[] = {
      {0, 0, 5},     // start: right skips the word and the blanks after it
      {2, 0, 5},     // inside a word
      {5, 0, 9},     // at a word's start
      {9, 5, 14},    // after the tab
      {14, 9, 16},   // before the line break: it is a word of its own
      {16, 14, 20},  // after the line break
      {20, 16, 20},  // the end
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from);
    EXPECT_EQ(m.WordLeft(c.from), c.left);
    EXPECT_EQ(m.WordRight(c.from), c.right);
  }
  size_t a = 0, b = 0;
  m.WordAt(6, &a, &b);
  EXPECT_EQ(a, 5u);
  EXPECT_EQ(b, 9u);  // the word and the tab after it
}

TEST(EditModelTest, TheLimitCutsWhatIsInserted) {
  EditModel m;
  m.SetLimit(5);
  m.SetText("abc");
  m.Select(3, 3);
  auto r = m.Replace("defg");
  EXPECT_TRUE(r.changed);
  EXPECT_TRUE(r.cut);
  EXPECT_EQ(m.text(), "abcde");
  r = m.Replace("x");
  EXPECT_FALSE(r.changed);
  EXPECT_TRUE(r.cut);
  // Replacing a selection makes room.
  m.Select(0, 2);
  r = m.Replace("XY");
  EXPECT_FALSE(r.cut);
  EXPECT_EQ(m.text(), "XYcde");
  EXPECT_EQ(m.caret(), 2u);
}

TEST(EditModelTest, LineBreaksStayWholeAndSingleLinesStopAtThem) {
  EditModel single;
  single.SetText("");
  single.Replace("first\r\nsecond");
  EXPECT_EQ(single.text(), "first");
  EditModel multi(true);
  multi.SetLimit(6);
  multi.SetText("abc");
  multi.Select(3, 3);
  // Room for "\r" but not "\n": neither goes in.
  multi.Replace("de\r\nf");
  EXPECT_EQ(multi.text(), "abcde");
  multi.SetText("ab\r\ncd");
  multi.Select(3, 3);  // between CR and LF: before the pair
  EXPECT_EQ(multi.caret(), 2u);
  EXPECT_EQ(multi.Right(2), 4u);
  EXPECT_EQ(multi.Left(4), 2u);
  multi.Select(4, 4);
  EXPECT_TRUE(multi.Backspace());
  EXPECT_EQ(multi.text(), "abcd");
}

TEST(EditModelTest, UndoTakesBackTheLastChangeAndTypingIsOneChange) {
  EditModel m;
  m.SetText("x");
  m.Select(1, 1);
  m.Replace("a", true);
  m.Replace("b", true);
  m.Replace("c", true);
  EXPECT_EQ(m.text(), "xabc");
  ASSERT_TRUE(m.CanUndo());
  m.Undo();
  EXPECT_EQ(m.text(), "x");
  m.Undo();  // undoing the undo
  EXPECT_EQ(m.text(), "xabc");
  m.Select(0, 4);
  m.Replace("");
  m.Undo();
  EXPECT_EQ(m.text(), "xabc");
  EXPECT_EQ(m.selStart(), 0u);
  EXPECT_EQ(m.selEnd(), 4u);
  m.EmptyUndo();
  EXPECT_FALSE(m.Undo());
  // SetText starts afresh.
  m.SetText("new");
  EXPECT_FALSE(m.CanUndo());
  EXPECT_FALSE(m.modified());
}

TEST(EditModelTest, LinesBreakAtBlanksThatFit) {
  EditModel m(true);
  const TextWidths w = Fixed(10);
  m.SetText("aaa bbb ccc\r\n\r\ndddddddd");
  m.Layout(w, 65);  // six characters a line
  const auto& lines = m.lines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].start, 0u);  // "aaa "
  EXPECT_EQ(lines[0].length, 4u);
  EXPECT_EQ(lines[1].start, 4u);  // "bbb "
  EXPECT_EQ(lines[2].start, 8u);  // "ccc"
  EXPECT_EQ(lines[2].length, 3u);
  EXPECT_EQ(lines[3].length, 0u);  // the empty line
  EXPECT_EQ(lines[4].start, 15u);  // a word longer than the line is cut
  EXPECT_EQ(lines[4].length, 6u);
  EXPECT_EQ(lines[5].length, 2u);
  EXPECT_EQ(m.LineOf(9), 2u);
  EXPECT_EQ(m.XOf(w, 10), 20);
  EXPECT_EQ(m.PosAt(w, 2, 14), 9u);
  EXPECT_EQ(m.PosAt(w, 2, 500), 11u);
  // Without wrapping, lines end at breaks only; a break at the end leaves
  // an empty last line.
  m.SetText("tab\there\r\n");
  m.Layout(w, 0);
  ASSERT_EQ(m.lines().size(), 2u);
  EXPECT_EQ(m.XOf(w, 4), 40);  // the tab reaches the next stop
  EXPECT_EQ(m.lines()[1].start, 10u);
}

}  // namespace
