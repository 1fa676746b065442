// The caret and the selection: what is marked and unmarked through the
// root, the cached rectangles, and the links under a position.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "text/anchors/anchor_range.h"
#include "text/support/document_fixture.h"

namespace {

using Marks = std::vector<std::pair<LONG, LONG>>;

// Marked stretches as (from, to); unmarked ones as (-from - 1, -to - 1).
class SelectionTest : public ::testing::Test {
 protected:
  SelectionTest() : doc(f.Make("MimeType=text/html\n", "<P>one two three four</P>")) {
    doc->Load(&f.target, "", true);
    root()->markedRanges.clear();
  }
  RecordingAtom* root() { return static_cast<RecordingAtom*>(doc->GetRoot()); }
  Marks take() {
    Marks m = root()->markedRanges;
    root()->markedRanges.clear();
    return m;
  }
  DocumentFixture f;
  std::unique_ptr<MarkupDocument> doc;
};

TEST_F(SelectionTest, OnlyTheChangedStretchIsRedrawn) {
  doc->SetCaret(Position(10));
  EXPECT_EQ(take(), (Marks{{0, 0}}));  // the old, empty selection at the origin (-1)
  doc->SetSelectionEnd(Position(10));      // the same end: nothing
  EXPECT_TRUE(take().empty());
  doc->SetSelectionEnd(Position(15));  // grows
  EXPECT_EQ(take(), (Marks{{10, 15}}));
  doc->SetSelectionEnd(Position(12));  // shrinks
  EXPECT_EQ(take(), (Marks{{-13, -16}}));
  doc->SetSelectionEnd(Position(6));  // across the start
  EXPECT_EQ(take(), (Marks{{-11, -13}, {6, 10}}));
  EXPECT_EQ(doc->Selection().Lower().Number(), 6);
  doc->SetCaret(Position(3));
  EXPECT_EQ(take(), (Marks{{-7, -11}}));
}

TEST_F(SelectionTest, CaretRectanglesAreCachedUntilTheSelectionMoves) {
  doc->SetCaret(FirstPosition());
  EXPECT_EQ(doc->GetCaretRect(nullptr), LayoutRect::Of(-1, -1, 0, 0));
  doc->SetCaret(Position(5));
  LayoutRect caret = doc->GetCaretRect(nullptr);
  EXPECT_EQ(caret.right, caret.left + 1);  // a bar
  EXPECT_EQ(doc->GetCaretRect(nullptr), caret);
  doc->SetSelectionEnd(Position(9));
  doc->ForgetCachedRects();
  EXPECT_TRUE(doc->GetSelectionStartRect(nullptr).IsComputed());
  EXPECT_TRUE(doc->GoToPosition(nullptr, Position(7)));
}

TEST_F(SelectionTest, LinksUnderAPositionAndOfTheSelection) {
  doc->SetAnchors("Position=3 10\nDest=a\n\nPosition=5 7\nDest=b\n\nPosition=12 20\nDest=c\n\n");
  doc->Load(&f.target, "", true);
  CString at = doc->GetLinksAt(Position(6));
  EXPECT_EQ(at, "Position=3 10\nDest=a\nReferrer=\n\n\n\n\n\nPosition=5 7\nDest=b\nReferrer=\n\n\n\n\n\n");
  doc->SetCaret(Position(9));
  doc->SetSelectionEnd(Position(13));
  CString of = doc->GetLinksOfSelection();
  EXPECT_NE(of.Find("Dest=a"), -1);
  EXPECT_EQ(of.Find("Dest=b"), -1);
  EXPECT_NE(of.Find("Dest=c"), -1);
  EXPECT_EQ(doc->FindAnchorAt(Position(6))->Start().Number(), 3);
  doc->SetCaret(Position(12));
  doc->SetSelectionEnd(Position(20));
  EXPECT_EQ(doc->NextAnchor(true)->Start().Number(), 3);  // wraps to the first
}

TEST(SelectionWithoutTree, NothingToAskGivesNothing) {
  DocumentFixture f;
  auto doc = f.Make("MimeType=text/html\n", "");
  EXPECT_EQ(doc->MoveCaret(3, 0, nullptr, 0), nullptr);
  EXPECT_EQ(doc->PositionAtPoint(nullptr, 1, 1), nullptr);
  doc->StartSelectionAt(nullptr, 4, 4, 0);
  EXPECT_TRUE(doc->Selection().Start().Equal(FirstPosition()));
  EXPECT_FALSE(doc->GoToPosition(nullptr, Position(1)));
}

}  // namespace
