#include "layout/atoms/word_atom.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "layout/support/fake_output.h"
#include "text/style_definition.h"

namespace {

class WordTest : public ::testing::Test {
 protected:
  // A word at `start` made of pieces in the plain style.
  std::unique_ptr<WordAtom> Word(LONG start, std::initializer_list<const char*> pieces, LONG end = -2) {
    auto w = std::make_unique<WordAtom>(start);
    LONG p = start;
    for (const char* piece : pieces) {
      EXPECT_TRUE(w->AddText(piece, p, kPlainText, plain));
      p += static_cast<LONG>(strlen(piece));
    }
    w->SetEnd(end == -2 ? p : end);
    return w;
  }
  static std::string Text(WordAtom& w, LONG from, LONG to) {
    CString out;
    EXPECT_TRUE(w.GetText(out, Position(from), Position(to)));
    return out.c_str();
  }

  TestStyles styles;
  ResolvedStyle* plain = styles.Plain();
  ResolvedStyle* bold = styles.Make([](TextStyle& s) { s.displayFlags.mask |= 0x01; });
  ResolvedStyle* sub = styles.Make([](TextStyle& s) { s.displayFlags.mask |= 0x40; });
  FakeOutput out;
};

TEST_F(WordTest, PiecesJoinOnlyWhenContiguousInOneStyleAndKind) {
  struct Case {
    const char* name;
    LONG secondAt;
    int secondStyle;  // 0 plain, 1 bold, 2 subscript
    LONG kind;
    LONG spans;
  } cases[] = {
      {"contiguous, same style", 12, 0, kPlainText, 1},
      {"a gap of one position", 13, 0, kPlainText, 2},
      {"another style", 12, 1, kPlainText, 2},
      {"subscript", 12, 2, kPlainText, 2},
      {"Shift-JIS text", 12, 0, kShiftJisText, 2},
      {"EUC text", 12, 0, kEucText, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WordAtom w(10);
    ASSERT_TRUE(w.AddText("ab", 10, kPlainText, plain));
    ResolvedStyle* second = c.secondStyle == 0 ? plain : c.secondStyle == 1 ? bold : sub;
    ASSERT_TRUE(w.AddText("cd", c.secondAt, c.kind, second));
    EXPECT_EQ(w.SpanCount(), c.spans);
    EXPECT_EQ(w.Text(), "abcd");
    if (c.spans == 1) {
      EXPECT_EQ(w.FirstSpan()->length, 4);
    }
  }
}

TEST_F(WordTest, OverlayCollectsItsPiecesInOneSpan) {
  WordAtom w(5);
  ASSERT_TRUE(w.AddText("StartOverlay", 5, kOverlayCommand, plain));
  ASSERT_TRUE(w.AddText("a", 5, kPlainText, plain));
  ASSERT_TRUE(w.AddText("b", 6, kPlainText, plain));
  ASSERT_TRUE(w.AddText("EndOverlay", 7, kOverlayCommand, plain));
  ASSERT_EQ(w.SpanCount(), 1);
  TextSpan* overlay = w.FirstSpan();
  EXPECT_EQ(overlay->start, 5);
  EXPECT_EQ(overlay->length, 2);
  ASSERT_EQ(overlay->run->Kind(), TextRun::kOverlay);
  EXPECT_EQ(static_cast<OverlayRun*>(overlay->run)->RunCount(), 2u);
  EXPECT_EQ(overlay->run->Marks(), kOverlayMark);
  ASSERT_TRUE(w.AddText("c", 7, kPlainText, plain));
  EXPECT_EQ(w.SpanCount(), 2);
  EXPECT_EQ(w.Text(), "abc");
}

TEST_F(WordTest, TrailingBlankIsSpacingNotWidth) {
  auto w = Word(0, {"abc "});
  EXPECT_EQ(w->TrailingBlankCount(), 1);
  Position* c = nullptr;
  EXPECT_EQ(w->Format(&out, LayoutRect::Of(0, 1000, 0, 100), c, FirstPosition(), 1), kFormatFits);
  delete c;
  LayoutRect e;
  w->Extent(e, &out, FirstPosition(), LastPosition(), 0);
  EXPECT_EQ(e.Width(), 30);
  EXPECT_EQ(w->Spacing(kSpaceRight, &out, FirstPosition(), LastPosition(), 1), 10);
  EXPECT_EQ(w->Spacing(kSpaceLeft, &out, FirstPosition(), LastPosition(), 1), 0);
  EXPECT_EQ(w->GapCount(FirstPosition(), LastPosition()), 1);
}

TEST_F(WordTest, FormatReportsTooWideOrTooHigh) {
  auto w = Word(100, {"abcd "});
  struct Case {
    LayoutRect rect;
    int result;
    LONG continuation;
  } cases[] = {
      {LayoutRect::Of(0, 40, 0, 10), kFormatFits, kLastPositionNumber},
      {LayoutRect::Of(0, 39, 0, 10), kFormatTooWide, 104},  // the end of the non-blank text
      {LayoutRect::Of(0, 39, 0, 9), kFormatNothing, 105},
      {LayoutRect::Of(0, 40, 0, 9), kFormatNothing, 105},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(RectText(c.rect));
    Position* cont = nullptr;
    EXPECT_EQ(w->Format(&out, c.rect, cont, FirstPosition(), 1), c.result);
    ASSERT_NE(cont, nullptr);
    EXPECT_EQ(cont->Number(), c.continuation);
    delete cont;
  }
}

TEST_F(WordTest, TextOfARangeEndsBeforeItsEndPosition) {
  auto w = Word(10, {"abcdef "});
  EXPECT_EQ(Text(*w, FirstPosition().Number(), LastPosition().Number()), "abcdef ");
  EXPECT_EQ(Text(*w, 10, 17), "abcdef ");
  EXPECT_EQ(Text(*w, 12, 14), "cd-");   // ends inside the word: hyphenated
  EXPECT_EQ(Text(*w, 12, 16), "cdef");  // ends on the last letter
  EXPECT_EQ(Text(*w, 16, 17), " ");
  WordAtom empty(3);
  CString out;
  EXPECT_FALSE(empty.GetText(out, FirstPosition(), LastPosition()));
}

TEST_F(WordTest, LongWordKeepsLengthsAndWidthBeyondSixteenBits) {
  std::string letters(40000, 'x');
  WordAtom w(1000);
  ASSERT_TRUE(w.AddText(letters.c_str(), 1000, kPlainText, plain));
  ASSERT_TRUE(w.AddText(" ", 41000, kPlainText, plain));
  w.SetEnd(41001);
  EXPECT_EQ(w.FirstSpan()->length, 40001);
  LayoutRect e;
  w.Extent(e, &out, FirstPosition(), LastPosition(), 0);
  EXPECT_EQ(e.Width(), 400000);
  // Measured twice: the cached width must not have wrapped.
  w.Extent(e, &out, FirstPosition(), LastPosition(), 0);
  EXPECT_EQ(e.Width(), 400000);
  CString out1;
  ASSERT_TRUE(w.GetText(out1, Position(39000), Position(40999)));
  EXPECT_EQ(out1.GetLength(), 1999 + 1);  // 1999 letters and the hyphen
  // Selecting the second half marks exactly that half.
  ASSERT_TRUE(w.SetMarks(Position(21000), Position(41001), kSelectionMark));
  ASSERT_EQ(w.SpanCount(), 2);
  EXPECT_EQ(w.FirstSpan()->length, 20000);
  BYTE marks = 0;
  w.MarksAt(Position(30000), marks);
  EXPECT_EQ(marks, kSelectionMark);
  w.MarksAt(Position(20999), marks);
  EXPECT_EQ(marks, 0);
  Position* hit = w.PositionAtPoint(&out, LayoutPoint{305000, 0}, 1, FirstPosition(), LastPosition(), 0);
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->Number(), 1000 + 30500);
  delete hit;
}

TEST_F(WordTest, MarkingSplitsSpansAndUnmarkingJoinsThem) {
  auto w = Word(0, {"abcdefgh"});
  ASSERT_TRUE(w->SetMarks(Position(2), Position(5), kSelectionMark));
  ASSERT_EQ(w->SpanCount(), 3);
  EXPECT_EQ(w->FirstSpan()->run->Text(), "ab");
  EXPECT_EQ(w->NextSpan(w->FirstSpan())->run->Text(), "cde");
  EXPECT_EQ(w->NextSpan(w->FirstSpan())->run->Marks(), kSelectionMark);
  ASSERT_TRUE(w->ClearMarks(Position(2), Position(5), kSelectionMark));
  ASSERT_EQ(w->SpanCount(), 1);
  EXPECT_EQ(w->FirstSpan()->run->Text(), "abcdefgh");
  EXPECT_EQ(w->Text(), "abcdefgh");
}

TEST_F(WordTest, HitTestByCharacterAndByWord) {
  auto w = Word(20, {"abcd "});
  struct Case {
    LONG x;
    int mode;
    LONG expected;
  } cases[] = {
      {5, 1, 20},   // half-way across the first letter: its start
      {6, 1, 21},   // one unit further: its end
      {24, 1, 22},  // inside the third letter, left half
      {-3, 1, 20},
      {19, 0, 20},  // by word: left of the middle gives the start
      {20, 0, 25},
      {500, 1, 25},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    Position* p = w->PositionAtPoint(&out, LayoutPoint{c.x, 0}, c.mode, FirstPosition(), LastPosition(), 0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Number(), c.expected);
    delete p;
  }
}

TEST_F(WordTest, StepsByWordAndCharacter) {
  auto w = Word(10, {"abc "});
  struct Case {
    LONG from;
    int direction;
    int unit;
    LONG expected;  // -1: none
  } cases[] = {
      {12, 2, 0, 10}, {10, 2, 0, -1}, {5, 3, 0, 10}, {11, 3, 0, -1},
      {11, 3, 1, 12}, {11, 2, 1, 10}, {5, 3, 1, 10}, {10, 2, 1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + " dir " + std::to_string(c.direction) + " unit " + std::to_string(c.unit));
    Position* p = w->Step(Position(c.from), c.direction, 0, c.unit, &out, 0, LayoutRect());
    if (c.expected < 0) {
      EXPECT_EQ(p, nullptr);
    } else {
      ASSERT_NE(p, nullptr);
      EXPECT_EQ(p->Number(), c.expected);
    }
    delete p;
  }
}

TEST_F(WordTest, ResumesAfterABreakOnlyInsideItsText) {
  auto w = Word(0, {"ab "});
  std::unique_ptr<Position> inside(w->ResumeAfter(Position(1)));
  ASSERT_TRUE(inside);
  EXPECT_EQ(inside->Number(), 1);
  std::unique_ptr<Position> blank(w->ResumeAfter(Position(2)));
  ASSERT_TRUE(blank);
  EXPECT_EQ(blank->Number(), 3);
  EXPECT_EQ(w->ResumeAfter(Position(3)), nullptr);
}

TEST_F(WordTest, DrawsEachRunOverItsPartWithTheLineBox) {
  auto w = Word(0, {"ab"});
  ASSERT_TRUE(w->AddText("cd ", 2, kPlainText, bold));
  w->SetEnd(5);
  w->Draw(&out, LayoutPoint{100, 50}, LayoutRect::Of(0, 60, -9, 3), FirstPosition(), LastPosition(), 1, nullptr);
  EXPECT_EQ(out.Calls("text"), (std::vector<std::string>{"text 100,50 'ab'", "text 120,50 'cd'"}));
  // The backgrounds reach the line's top and bottom; the last one to the
  // line box's right edge.
  EXPECT_EQ(out.Calls("erase"), (std::vector<std::string>{"erase (100,120,41,53)", "erase (120,160,41,53)"}));
}

}  // namespace

// A word measured once and then restyled (a link style, a paragraph's
// style) must be measured in its new font, not keep the old width.
TEST_F(WordTest, ARestyledWordIsMeasuredInItsNewStyle) {
  for (bool paragraph : {false, true}) {
    SCOPED_TRACE(paragraph ? "paragraph style" : "character style");
    auto w = Word(0, {"abcd"});
    TextRun* run = w->FirstSpan()->run;
    ASSERT_EQ(run->FullExtent(&out).right, 4 * FakeOutput::kCharWidth);
    StyleDefinition twice;
    twice.style.scale.Set(200, StyleValue::kAbsolute);
    if (paragraph)
      ASSERT_TRUE(w->ApplyParagraphStyle(Position(0), Position(4), &twice));
    else
      ASSERT_TRUE(w->ApplyStyle(Position(0), Position(4), &twice));
    EXPECT_EQ(w->FirstSpan()->run->FullExtent(&out).right, 8 * FakeOutput::kCharWidth);
  }
}

// A word keeps its run in itself until a second span or an overlay
// arrives. Whatever form a word has taken, it and a copy of it must give
// the same text, widths, marks and drawing, and the copy must stand on its
// own once the original is gone.
TEST_F(WordTest, TextWidthsAndMarksSurviveEveryChangeOfFormAndCopying) {
  ResolvedStyle* wide = styles.Make([](TextStyle& s) { s.scale.Set(200, StyleValue::kAbsolute); });
  struct Case {
    const char* name;
    void (*build)(WordAtom& w, ResolvedStyle* plain, ResolvedStyle* wide, TextOutput* out);
    const char* text;
    LONG spans;
    LONG width;  // from the start to the end, without the trailing blank
    LONG markedAt;  // a position marked selected (-1: none)
    LONG unmarkedAt;  // a position not marked (-1: none)
  } cases[] = {
      {"one piece, joined with its blank",
       [](WordAtom& w, ResolvedStyle* p, ResolvedStyle*, TextOutput*) {
         w.AddText("abcd", 0, kPlainText, p);
         w.AddText(" ", 4, kPlainText, p);
       },
       "abcd ", 1, 40, -1, 2},
      {"measured, then a piece in another style",
       [](WordAtom& w, ResolvedStyle* p, ResolvedStyle* x, TextOutput* out) {
         w.AddText("ab", 0, kPlainText, p);
         w.FirstSpan()->run->FullExtent(out);
         w.AddText("cd ", 2, kPlainText, x);
       },
       "abcd ", 2, 20 + 40, -1, 1},
      {"marked inside",
       [](WordAtom& w, ResolvedStyle* p, ResolvedStyle*, TextOutput*) {
         w.AddText("abcdefgh", 0, kPlainText, p);
         w.SetMarks(Position(2), Position(5), kSelectionMark);
       },
       "abcdefgh", 3, 80, 4, 5},
      {"marked inside, unmarked, then more text",
       [](WordAtom& w, ResolvedStyle* p, ResolvedStyle*, TextOutput*) {
         w.AddText("abcdefgh", 0, kPlainText, p);
         w.SetMarks(Position(2), Position(5), kSelectionMark);
         w.ClearMarks(Position(2), Position(5), kSelectionMark);
         w.AddText("ij", 8, kPlainText, p);
       },
       "abcdefghij", 1, 100, -1, 9},
      {"marked whole, restyled whole",
       [](WordAtom& w, ResolvedStyle* p, ResolvedStyle*, TextOutput*) {
         w.AddText("abc ", 0, kPlainText, p);
         w.SetMarks(Position(0), Position(4), kSelectionMark);
         StyleDefinition twice;
         twice.style.scale.Set(200, StyleValue::kAbsolute);
         w.ApplyStyle(Position(0), Position(4), &twice);
       },
       "abc ", 1, 60, 1, -1},
      {"an overlay after a piece",
       [](WordAtom& w, ResolvedStyle* p, ResolvedStyle*, TextOutput*) {
         w.AddText("ab", 0, kPlainText, p);
         w.AddText("StartOverlay", 2, kOverlayCommand, p);
         w.AddText("c", 2, kPlainText, p);
         w.AddText("EndOverlay", 3, kOverlayCommand, p);
         w.AddText("d", 3, kPlainText, p);
       },
       "abcd", 3, 40, -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto w = std::make_unique<WordAtom>(0);
    c.build(*w, plain, wide, &out);
    w->SetEnd(static_cast<LONG>(strlen(c.text)));
    std::unique_ptr<Atom> copy(w->CloneRange(FirstPosition(), LastPosition()));
    ASSERT_NE(copy, nullptr);
    auto* clone = static_cast<WordAtom*>(copy.get());
    out.calls.clear();
    w->Draw(&out, LayoutPoint{0, 20}, LayoutRect::Of(0, 200, -9, 3), FirstPosition(), LastPosition(), 1, nullptr);
    const std::vector<std::string> drawn = out.calls;
    w.reset();  // the copy owns all it uses
    EXPECT_EQ(clone->Text(), c.text);
    EXPECT_EQ(clone->SpanCount(), c.spans);
    EXPECT_EQ(Text(*clone, FirstPosition().Number(), LastPosition().Number()), c.text);
    LayoutRect e;
    clone->Extent(e, &out, FirstPosition(), LastPosition(), 0);
    EXPECT_EQ(e.Width(), c.width);
    BYTE marks = 0xFF;
    if (c.markedAt >= 0) {
      clone->MarksAt(Position(c.markedAt), marks);
      EXPECT_EQ(marks & kSelectionMark, kSelectionMark);
    }
    if (c.unmarkedAt >= 0) {
      clone->MarksAt(Position(c.unmarkedAt), marks);
      EXPECT_EQ(marks & kSelectionMark, 0);
    }
    out.calls.clear();
    clone->Draw(&out, LayoutPoint{0, 20}, LayoutRect::Of(0, 200, -9, 3), FirstPosition(), LastPosition(), 1, nullptr);
    EXPECT_EQ(out.calls, drawn);
  }
}
