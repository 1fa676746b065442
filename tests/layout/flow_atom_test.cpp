#include "layout/atoms/flow_atom.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "layout/atoms/page_atom.h"
#include "layout/atoms/paragraph_atom.h"
#include "layout/support/fake_output.h"
#include "layout/support/test_atoms.h"
#include "core/named_list.h"

namespace {

class FlowTest : public ::testing::Test {
 protected:
  TestStyles styles;
  ResolvedStyle* plain = styles.Plain();
  FakeOutput out;
};

TEST_F(FlowTest, PlacesOneChildPerLineWithTheLargerSpacingBetween) {
  ResolvedStyle* after = styles.Make([](TextStyle& s) { s.after.Set(150, StyleValue::kAbsolute); });
  ResolvedStyle* before = styles.Make([](TextStyle& s) { s.before.Set(100, StyleValue::kAbsolute); });
  PageAtom page(0, plain);
  auto* first = new ParagraphAtom(0, after, nullptr);
  first->AddChild(MakeWord(0, "ab", plain).release());
  first->SetEnd(2);
  auto* second = new ParagraphAtom(3, before, nullptr);
  second->AddChild(MakeWord(3, "cd", plain).release());
  second->SetEnd(5);
  page.AddChild(first);
  page.AddChild(second);
  page.SetEnd(5);
  Position* c = nullptr;
  EXPECT_EQ(page.Format(&out, LayoutRect::Of(0, 500, 0, 1000), c, FirstPosition(), 0), kFormatFits);
  delete c;
  ASSERT_EQ(page.LineCount(), 2);
  // The unit height is 10: after 150 % = 15 beats before 100 % = 10.
  EXPECT_EQ(FlowAtom::NextLine(page.FirstLine())->baseline, 2 + 15 + 8);
}

TEST_F(FlowTest, FormatsAgainOnlyWhenTheWidthChanges) {
  FlowAtom flow(0, plain);
  auto* box = new BoxAtom(0, 10, 5);
  flow.AddChild(box);
  flow.SetEnd(1);
  auto format = [&](LONG width) {
    Position* c = nullptr;
    int r = flow.Format(&out, LayoutRect::Of(0, width, 0, 100), c, FirstPosition(), 0);
    delete c;
    LayoutRect e;
    flow.Extent(e, &out, FirstPosition(), LastPosition(), 1);  // fills the cache
    return r;
  };
  EXPECT_EQ(format(100), kFormatFits);
  EXPECT_EQ(format(100), kFormatFits);
  EXPECT_EQ(box->formats, 1);
  EXPECT_EQ(format(90), kFormatFits);
  EXPECT_EQ(box->formats, 2);
}

// The lines of a flow as text: where each begins, its baseline and height,
// and where its records lie.
std::string LinesOf(FlowAtom& flow) {
  std::string text;
  for (LayoutLine* l = flow.FirstLine(); l; l = FlowAtom::NextLine(l)) {
    text += std::to_string(l->start->Number()) + "@" + std::to_string(l->baseline) + "[" + std::to_string(l->top) +
            "," + std::to_string(l->bottom) + "]";
    for (PlacementRecord* r = l->FirstRecord(); r; r = l->NextRecord(r))
      text += " " + std::to_string(r->left) + "-" + std::to_string(r->right);
    text += "\n";
  }
  return text;
}

// After a change, a flow laid out again in the same rectangle formats its
// children again only from the line that holds the change, and ends with
// the lines a flow given the change before its first format makes.
TEST_F(FlowTest, AChangeLaysOutAgainOnlyFromTheLineThatHoldsIt) {
  constexpr LONG kBoxes = 12;  // box k at position 2k, of height 5 + k % 3
  // A flow of boxes one to a line, a paragraph of boxes three to a line, or
  // a flow of paragraphs of a box each.
  enum Kind { kFlow, kParagraph, kBlocks };
  enum Change { kInvalidateFrom, kInvalidateOne, kGrowOne, kRestyle, kAppend, kAppendTooHigh, kNarrower, kReset };
  struct Case {
    const char* name;
    Kind kind;
    Change change;
    LONG at;            // the box changed
    LONG formatsAgain;  // boxes formatted by the second layout
    int result;
  };
  const Case cases[] = {
      {"flow, from a box in the middle on", kFlow, kInvalidateFrom, 5, 7, kFormatFits},
      {"flow, from the first box on", kFlow, kInvalidateFrom, 0, 12, kFormatFits},
      {"flow, the last box", kFlow, kInvalidateFrom, 11, 1, kFormatFits},
      {"flow, a style from a box on", kFlow, kRestyle, 8, 4, kFormatFits},
      {"flow, a box added", kFlow, kAppend, 12, 2, kFormatFits},
      {"flow, a box added that the height refuses", kFlow, kAppendTooHigh, 12, 2, kFormatNothing},
      {"flow, another width", kFlow, kNarrower, 5, 12, kFormatFits},
      {"flow, reset", kFlow, kReset, 5, 12, kFormatFits},
      {"paragraph, from a box in the middle on", kParagraph, kInvalidateFrom, 7, 6, kFormatFits},
      {"paragraph, from a box at a line's end on", kParagraph, kInvalidateFrom, 5, 9, kFormatFits},
      {"paragraph, a style from a box on", kParagraph, kRestyle, 4, 9, kFormatFits},
      {"paragraph, a box added", kParagraph, kAppend, 12, 4, kFormatFits},
      {"paragraph, another width", kParagraph, kNarrower, 7, 12, kFormatFits},
      // Blocks that come out of a new layout as they were keep the lines
      // after them where they stand.
      {"blocks, one in the middle", kBlocks, kInvalidateOne, 5, 1, kFormatFits},
      {"blocks, the first", kBlocks, kInvalidateOne, 0, 1, kFormatFits},
      {"blocks, one grown taller", kBlocks, kGrowOne, 5, 2, kFormatFits},
      {"blocks, from one in the middle on", kBlocks, kInvalidateFrom, 5, 7, kFormatFits},
      {"blocks, a style from one on", kBlocks, kRestyle, 8, 4, kFormatFits},
      {"blocks, one added", kBlocks, kAppend, 12, 1, kFormatFits},
      {"blocks, one added that the height refuses", kBlocks, kAppendTooHigh, 12, 1, kFormatNothing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto add = [&](FlowAtom& flow, std::vector<BoxAtom*>& boxes, LONG k, LONG height) {
      boxes.push_back(new BoxAtom(2 * k, 30, height));
      if (c.kind != kBlocks) {
        flow.AddChild(boxes.back());
        return;
      }
      auto* block = new ParagraphAtom(2 * k, plain, nullptr);
      block->AddChild(boxes.back());
      block->SetEnd(2 * k + 1);
      flow.AddChild(block);
    };
    auto make = [&](std::vector<BoxAtom*>& boxes) {
      std::unique_ptr<FlowAtom> flow(c.kind == kParagraph ? new ParagraphAtom(0, plain, nullptr)
                                                          : new FlowAtom(0, plain));
      for (LONG k = 0; k < kBoxes; ++k) add(*flow, boxes, k, 5 + k % 3);
      flow->SetEnd(2 * kBoxes);
      return flow;
    };
    // Room for the twelve boxes (and no more where an added box must not fit).
    const LONG height = c.kind == kParagraph ? 40 : 80;
    auto format = [&](FlowAtom& flow, LONG width) {
      Position* cont = nullptr;
      int r = flow.Format(&out, LayoutRect::Of(0, width, 0, height), cont, FirstPosition(), 0);
      delete cont;
      return r;
    };
    auto change = [&](FlowAtom& flow, std::vector<BoxAtom*>& boxes) {
      const Position at(2 * c.at);
      switch (c.change) {
        case kInvalidateFrom: flow.InvalidateRange(PositionRange(at, LastPosition())); break;
        case kInvalidateOne: flow.InvalidateRange(PositionRange(at, at)); break;
        case kGrowOne: {
          // A taller box of no width beside the block's own, which the block
          // is told of.
          auto* block = static_cast<ParagraphAtom*>(flow.ChildAt(at));
          boxes.push_back(new BoxAtom(2 * c.at, 0, 9));
          block->AddChild(boxes.back());
          flow.InvalidateRange(PositionRange(at, at));
          break;
        }
        case kRestyle: flow.ApplyStyle(at, LastPosition(), nullptr); break;
        case kAppend:
        case kAppendTooHigh:
          add(flow, boxes, c.at, c.change == kAppendTooHigh ? 30 : 5);
          flow.SetEnd(2 * c.at + 1);
          break;
        case kReset: flow.Reset(1); break;
        case kNarrower: break;
      }
    };
    const LONG width = 95, changedWidth = c.change == kNarrower ? 94 : width;
    std::vector<BoxAtom*> boxes;
    std::unique_ptr<FlowAtom> flow = make(boxes);
    ASSERT_EQ(format(*flow, width), kFormatFits);
    change(*flow, boxes);
    for (BoxAtom* b : boxes) b->formats = 0;
    EXPECT_EQ(format(*flow, changedWidth), c.result);
    LONG again = 0;
    for (BoxAtom* b : boxes) again += b->formats > 0;
    EXPECT_EQ(again, c.formatsAgain);

    std::vector<BoxAtom*> freshBoxes;
    std::unique_ptr<FlowAtom> fresh = make(freshBoxes);
    change(*fresh, freshBoxes);
    EXPECT_EQ(format(*fresh, changedWidth), c.result);
    EXPECT_EQ(LinesOf(*flow), LinesOf(*fresh));
  }
}

TEST_F(FlowTest, ItemsAtOnePositionKeepTheirOrder) {
  FlowAtom flow(0, plain);
  auto* a = new LineBreakItem(5);
  auto* b = new LineBreakItem(5);
  auto* early = new LineBreakItem(2);
  // A plain flow refuses items; the container keeps them in order.
  EXPECT_FALSE(flow.AddItem(a));
  EXPECT_TRUE(flow.Container::AddItem(a));
  EXPECT_TRUE(flow.Container::AddItem(b));
  EXPECT_TRUE(flow.Container::AddItem(early));
  EXPECT_EQ(flow.FirstItem(), early);
  EXPECT_EQ(Container::NextItem(early), a);
  EXPECT_EQ(Container::NextItem(a), b);
}

TEST_F(FlowTest, AContainerWithChildrenKeepsItsStyle) {
  ResolvedStyle* other = styles.Make();
  FlowAtom flow(0, plain);
  EXPECT_TRUE(flow.SetStyle(other, 0));
  EXPECT_EQ(flow.Style(), other);
  flow.AddChild(MakeWord(0, "a", plain).release());
  EXPECT_TRUE(flow.SetStyle(plain, 0));
  EXPECT_EQ(flow.Style(), other);
}

TEST_F(FlowTest, DumpShowsTheTree) {
  FlowAtom empty(7, plain);
  std::string text = DumpOf(empty, 2);
  EXPECT_EQ(text.find("  Container on the positon:"), 0u);
  EXPECT_NE(text.find("offset:7\n  }\n"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
}

TEST_F(FlowTest, ChildAtFindsTheChildHoldingAPosition) {
  FlowAtom flow(0, plain);
  EXPECT_EQ(flow.ChildAt(Position(3)), &flow);
  Atom* a = MakeWord(0, "ab ", plain).release();
  Atom* b = MakeWord(3, "cd ", plain).release();
  Atom* c = MakeWord(6, "ef", plain).release();
  flow.AddChild(a);
  flow.AddChild(b);
  flow.AddChild(c);
  flow.SetEnd(8);
  struct Case {
    LONG position;
    Atom* child;
  } cases[] = {{-1, a}, {0, a}, {2, a}, {3, a}, {4, b}, {7, c}, {8, c}, {kLastPositionNumber, c}};
  for (const Case& k : cases) EXPECT_EQ(flow.ChildAt(Position(k.position)), k.child) << k.position;
}

TEST_F(FlowTest, ChildAtAnswersTheSameInAnyOrderOfLookups) {
  // Lookups remember where they found a child: forwards, backwards and
  // jumping about, each answer is still the first child reaching the
  // position.
  FlowAtom flow(0, plain);
  std::vector<Atom*> words;
  for (LONG i = 0; i < 40; ++i) {
    words.push_back(MakeWord(3 * i, "ab ", plain).release());
    flow.AddChild(words.back());
  }
  flow.SetEnd(120);
  auto expected = [&](LONG n) {
    for (Atom* w : words)
      if (w->End() >= n) return w;
    return words.back();
  };
  std::vector<LONG> order;
  for (LONG n = 1; n < 119; n += 5) order.push_back(n);
  for (LONG n = 118; n > 0; n -= 4) order.push_back(n);
  for (LONG n : {60L, 3L, 117L, 4L, 59L, 58L, 61L, 1L, 118L}) order.push_back(n);
  for (LONG n : order) EXPECT_EQ(flow.ChildAt(Position(n)), expected(n)) << n;
}

TEST_F(FlowTest, HitTestAndCaretFollowTheLines) {
  FlowAtom flow(0, plain);
  for (LONG start : {0, 3}) {
    auto* block = new ParagraphAtom(start, plain, nullptr);
    block->AddChild(MakeWord(start, start ? "cd" : "ab ", plain).release());
    block->SetEnd(start ? 5 : 3);
    flow.AddChild(block);
  }
  flow.SetEnd(5);
  Position* c = nullptr;
  flow.Format(&out, LayoutRect::Of(0, 500, 0, 1000), c, FirstPosition(), 0);
  delete c;
  ASSERT_EQ(flow.LineCount(), 2);
  // Second line: baseline 10, from 2 to 12.
  std::unique_ptr<Position> hit(flow.PositionAtPoint(&out, LayoutPoint{12, 9}, 1, FirstPosition(), LastPosition(), 0));
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->Number(), 4);
  LayoutRect caret;
  ASSERT_EQ(flow.CaretRect(caret, &out, PositionRange(Position(4), Position(4)), 1, FirstPosition(), LastPosition(), 0), 0);
  EXPECT_EQ(RectText(caret), "(10,11,2,12)");
  std::unique_ptr<Position> down(flow.Step(Position(1), 1, 0, 1, &out, 0, LayoutRect::Of(10, 11, -8, 2)));
  ASSERT_TRUE(down);
  EXPECT_EQ(down->Number(), 4);
}

TEST_F(FlowTest, InlineAtomsShareLinesAndBlocksStandAlone) {
  PageAtom page(0, plain);
  page.AddChild(MakeWord(0, "ab ", plain).release());
  page.AddChild(MakeWord(3, "cd", plain).release());
  page.AddChild(new BoxAtom(5, 30, 5));
  page.AddChild(MakeWord(6, "ef", plain).release());
  page.SetEnd(8);
  Position* c = nullptr;
  EXPECT_EQ(page.Format(&out, LayoutRect::Of(0, 500, 0, 1000), c, FirstPosition(), 0), kFormatFits);
  delete c;
  std::vector<LONG> perLine;
  for (LayoutLine* l = page.FirstLine(); l; l = FlowAtom::NextLine(l)) perLine.push_back(static_cast<LONG>(l->RecordCount()));
  EXPECT_EQ(perLine, (std::vector<LONG>{2, 1, 1}));
  CString text;
  page.AppendText(text, FirstPosition(), LastPosition(), TRUE, 0);
  EXPECT_STREQ(text.c_str(), "ab cd#ef");
}

TEST(PageBackground, TilesCoverTheClip) {
  FakeOutput out;
  out.pictureSize = LayoutSize{10, 10};
  NamedObject picture;
  TileBackground(&out, &picture, LayoutPoint{100, 200}, LayoutRect::Of(25, 35, 0, 5));
  // Columns 1 to 4 and rows 0 to 1.
  std::vector<std::string> tiles = out.Calls("picture");
  ASSERT_EQ(tiles.size(), 8u);
  EXPECT_EQ(tiles.front(), "picture 110,200 10x10");
  EXPECT_EQ(tiles.back(), "picture 140,210 10x10");
  FakeOutput none;
  none.pictureSize = LayoutSize{0, 10};
  TileBackground(&none, &picture, LayoutPoint{0, 0}, LayoutRect::Of(0, 100, 0, 100));
  EXPECT_TRUE(none.calls.empty());
}

TEST(PageBackground, ABackgroundItemReplacesThePicture) {
  TestStyles styles;
  PageAtom page(0, styles.Plain());
  auto* first = new NamedObject;
  auto* second = new NamedObject;
  first->acquire();
  second->acquire();
  EXPECT_TRUE(page.AddItem(new BackgroundItem(0, first)));
  EXPECT_EQ(page.Background(), first);
  EXPECT_EQ(first->references(), 2);
  EXPECT_TRUE(page.AddItem(new BackgroundItem(0, second)));
  EXPECT_EQ(page.Background(), second);
  EXPECT_EQ(first->references(), 1);
  LineBreakItem other(0);
  EXPECT_FALSE(page.AddItem(&other));
  first->release();
  second->release();
}

}  // namespace

namespace {

TEST(DeepNesting, VeryDeepBlocksLayOutDrawAndGoWithoutExhaustingTheStack) {
  TestStyles styles;
  FakeOutput out;
  auto* page = new PageAtom(0, styles.Plain());
  Container* open = page;
  constexpr LONG kDepth = 50000;
  for (LONG i = 0; i < kDepth; ++i) {
    auto* inner = new ParagraphAtom(i, styles.Plain(), nullptr);
    if (i % 100 == 0) inner->AddChild(MakeWord(i, "w", styles.Plain()).release());
    open->AddChild(inner);
    open = inner;
  }
  for (Atom* a = page; a; a = static_cast<Container*>(a)->LastChild()) {
    a->SetEnd(kDepth + 1);
    if (!(a->TypeMask() & kFlowBit)) break;
  }
  Position* c = nullptr;
  page->Format(&out, LayoutRect::Of(0, 500, 0, 0x0FFFFFFF), c, FirstPosition(), 0);
  delete c;
  page->Draw(&out, LayoutPoint{0, 0}, LayoutRect::Of(0, 500, 0, 100000), FirstPosition(), LastPosition(), 1, nullptr);
  EXPECT_FALSE(out.Calls("text").empty());  // the shallow words are drawn
  CString text;
  page->AppendText(text, FirstPosition(), LastPosition(), TRUE, 0);
  std::unique_ptr<Position> hit(page->PositionAtPoint(&out, LayoutPoint{1, 1}, 1, FirstPosition(), LastPosition(), 0));
  delete page;
}

}  // namespace
