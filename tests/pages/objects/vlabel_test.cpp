// Labels and tool buttons: what a style gives them, how they fit their
// caption, what they paint (backgrounds, stipples, frames, marks, the
// caption) and what a click, an entry and a leave do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mfc/dc.h"
#include "pages/objects/support/objects_fixture.h"
#include "pages/objects/vlabel.h"
#include "pages/style/property_table.h"
#include "pages/style/style_expressions.h"
#include "pages/support/rect_text.h"
#include "support/golden.h"

namespace {

using pages_test::ObjectsTest;
using pages_test::Px;
using pages_test::RectText;

constexpr char kLabelStyles[] =
    "Alignment = (LEFT, CENTER, RIGHT)\n"
    "ImageMode = (ASPECTRATIO, ASPECTLIMIT, CENTER, SCROLL, TILE, ZOOM)\n"
    "Label = { Boolean fitcaption = FALSE; Rect pos; Boolean transparent = FALSE;\n"
    "          Value fontsize = 16; Color fgcolor = 0x000000; Color bgcolor = 0xFFFFFF;\n"
    "          Boolean border3d = FALSE; Boolean border = FALSE; Boolean bullet = FALSE;\n"
    "          Boolean arrow = FALSE; Alignment alignment = CENTER; ImageMode mode = ZOOM;\n"
    "          String caption = \"\"; String goto = \"\"; String onclick = \"\";\n"
    "          String hint = \"\" }\n"
    // Values of the wrong kind: an alignment and a mode given as text.
    "Label Loose { String alignment = \"left\"; String mode = \"TILE\" }\n";

// A group that records the notifications its children send.
class Listener : public VGroup {
 public:
  Listener() : VGroup(0, 0, 320, 240) { SetState(kPassThrough); }
  void Notify(int code, VObject* sender) override { heard.push_back({code, sender}); }
  std::vector<std::pair<int, VObject*>> heard;
};

class VLabelTest : public ObjectsTest {
 protected:
  void SetUp() override {
    ObjectsTest::SetUp();
    Styles(kLabelStyles);
  }
  // A label styled by the text ("Label(...)").
  VLabel* Styled(const char* styleText, RECT r = RECT{10, 10, 110, 40}) {
    auto* label = new VLabel(r.left, r.top, r.right, r.bottom, 0);
    Add(label);
    label->SetStyle(ApplyStyleAssignments(styleText, nullptr));
    return label;
  }
  // The caption's extent as the label's font measures it.
  SIZE Measure(VLabel* label) {
    CClientDC dc(&window_);
    RECT r{0, 0, 1000, 1000};
    label->DrawCaption(&dc, &r, VLabel::kMeasureFormat);
    return SIZE{r.right - r.left, r.bottom - r.top};
  }
  // Pixels of the caption on a white label in pure red: red, or red
  // blended into white at the glyphs' edges; any other colour counts as
  // foreign.
  static int CountRed(const win::gdi::Surface& s, const RECT& r, int* foreign) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        const std::uint32_t p = s.At(x, y) & 0xFFFFFF;
        if (p == 0xFFFFFF) continue;
        const int red = (p >> 16) & 0xFF, green = (p >> 8) & 0xFF, blue = p & 0xFF;
        if (red == 0xFF && green == blue)
          ++n;
        else
          ++*foreign;
      }
    return n;
  }
};

TEST_F(VLabelTest, AStyleGivesTheLabelItsLook) {
  VLabel* label = Styled(
      "Label(fgcolor = 0x102030; bgcolor = 0x405060; fontsize = 20; border3d = TRUE;"
      " bullet = TRUE; alignment = RIGHT; mode = TILE; caption = \"Tamsel\";"
      " goto = \"Harbour\"; onclick = \"back\")");
  EXPECT_EQ(label->CaptionText(), "Tamsel");
  EXPECT_EQ(label->FgColor(), 0x302010u);  // styles write 0xRRGGBB
  EXPECT_EQ(label->BgColor(), 0x605040u);
  EXPECT_EQ(label->FontSize(), 20);
  EXPECT_EQ(label->FontName(), "Times New Roman");
  EXPECT_EQ(label->LabelFlags(), VLabel::kBorder3d | VLabel::kBullet | VLabel::kAlignRight);
  EXPECT_EQ(label->Mode(), 't');
  EXPECT_EQ(label->GotoTarget(), "Harbour");
  EXPECT_EQ(label->OnClickLine(), "back");
  EXPECT_FALSE(label->Has(VObject::kDisabled));

  // A transparent label never reads its background colour; an alignment
  // in lower case is no alignment word and centres.
  VLabel* glass = Styled("Loose(transparent = TRUE; bgcolor = 0x00FF00)");
  EXPECT_EQ(glass->BgColor(), kDefaultBackground);
  EXPECT_TRUE(glass->LabelFlags() & VLabel::kTransparentLabel);
  EXPECT_TRUE(glass->Has(VObject::kTransparent));
  EXPECT_EQ(glass->LabelFlags() & VLabel::kAlignMask, VLabel::kAlignCenter);
  EXPECT_EQ(glass->Mode(), 'z');  // a mode given as text is no mode word: ZOOM
  // Scripts: only the three words set an alignment.
  EXPECT_FALSE(glass->SetStringAttribute("alignment", "left"));
  EXPECT_TRUE(glass->SetStringAttribute("alignment", "LEFT"));
  EXPECT_EQ(glass->LabelFlags() & VLabel::kAlignMask, VLabel::kAlignLeft);
  EXPECT_TRUE(glass->SetStringAttribute("mode", "TILE"));
  EXPECT_EQ(glass->Mode(), 't');
  EXPECT_TRUE(glass->SetStringAttribute("name", "glass"));  // the base takes it
  EXPECT_EQ(glass->GetName(), "glass");
}

TEST_F(VLabelTest, BackgroundPercentagesAreClampedAndPartialOnesLetThePageThrough) {
  auto* label = Add(new VLabel(0, 0, 16, 16, 0));
  const struct {
    int given, stored;
    bool transparent;
  } cases[] = {{150, 100, false}, {-5, 0, true}, {50, 50, true}, {100, 100, false}};
  for (const auto& c : cases) {
    label->SetBgColor(0x0000FF, c.given);
    EXPECT_EQ(label->BgPercent(), c.stored) << c.given;
    EXPECT_EQ(label->Has(VObject::kTransparent), c.transparent) << c.given;
  }
}

TEST_F(VLabelTest, StipplesSolidFillsAndNothingByCoverage) {
  // Each label on its own 16 x 16 square, over the grey of the host.
  const int percents[] = {10, 19, 20, 50, 70, 99, 100, 0};
  std::vector<VLabel*> labels;
  for (int i = 0; i < 8; ++i) {
    auto* label = Add(new VLabel(i * 20, 0, i * 20 + 16, 16, 0));
    label->SetBgColor(RGB(0, 0, 255), percents[i]);
    labels.push_back(label);
  }
  const auto s = Shot();
  ASSERT_TRUE(s);
  for (int i = 0; i < 8; ++i) {
    const int pattern = percents[i] >= 100 ? 4 : percents[i] * 5 / 100;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const bool blue = (StippleRow(pattern, y) >> (x & 7)) & 1;
        ASSERT_EQ(s->At(i * 20 + x, y) & 0xFFFFFF, blue ? 0x0000FFu : 0xC0C0C0u)
            << percents[i] << "% at " << x << "," << y;
      }
  }
}

TEST_F(VLabelTest, FramesAsTheyArePressedOrNot) {
  auto* plain = Add(new VLabel(10, 10, 40, 30, VLabel::kBorder));
  auto* raised = Add(new VLabel(50, 10, 80, 30, VLabel::kBorder3d));
  plain->SetBgColor(RGB(255, 255, 255), 100);
  raised->SetBgColor(RGB(255, 255, 255), 100);
  auto s = Shot();
  ASSERT_TRUE(s);
  EXPECT_EQ(s->At(10, 10) & 0xFFFFFF, 0x000000u);
  EXPECT_EQ(s->At(39, 29) & 0xFFFFFF, 0x000000u);
  EXPECT_EQ(s->At(11, 11) & 0xFFFFFF, 0xFFFFFFu);
  struct Pixel {
    int x, y;
    std::uint32_t up, down;
  };
  // (L, T) = (50, 10), (R, B) = (80, 30).
  const Pixel pixels[] = {
      {50, 10, 0xC0C0C0, 0xC0C0C0},  // corner
      {60, 10, 0x000000, 0x000000},  // ring 1
      {79, 20, 0x000000, 0x000000},
      {60, 11, 0xFFFFFF, 0x808080},  // ring 2, top
      {51, 20, 0xFFFFFF, 0x808080},  // ring 2, left
      {60, 28, 0x808080, 0xC0C0C0},  // ring 2, bottom
      {78, 20, 0x808080, 0xC0C0C0},  // ring 2, right
      {60, 12, 0xC0C0C0, 0xC0C0C0},  // ring 3, top
      {60, 27, 0x808080, 0xC0C0C0},  // ring 3, bottom
      {77, 20, 0x808080, 0xC0C0C0},  // ring 3, right
      {60, 20, 0xFFFFFF, 0xFFFFFF},  // the face
  };
  for (const Pixel& p : pixels) EXPECT_EQ(s->At(p.x, p.y) & 0xFFFFFF, p.up) << p.x << "," << p.y;
  raised->OnMouseDown(60, 20);
  s = Shot();
  for (const Pixel& p : pixels) EXPECT_EQ(s->At(p.x, p.y) & 0xFFFFFF, p.down) << p.x << "," << p.y;
}

TEST_F(VLabelTest, ABulletWinsOverAnArrow) {
  auto* both = Add(new VLabel(10, 10, 60, 30, VLabel::kBullet | VLabel::kArrow));
  auto* arrow = Add(new VLabel(10, 40, 60, 60, VLabel::kArrow));
  for (VLabel* l : {both, arrow}) {
    l->SetBgColor(RGB(255, 255, 255), 100);
    l->SetFgColor(RGB(255, 0, 0));
  }
  const auto s = Shot();
  ASSERT_TRUE(s);
  // The arrow's shaft begins at the left edge; the bullet two pixels in.
  EXPECT_EQ(s->At(10, 50) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(s->At(10, 20) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(s->At(16, 20) & 0xFFFFFF, 0xFF0000u);  // inside the bullet
}

TEST_F(VLabelTest, FittingTheCaption) {
  // An empty caption keeps the rectangle it was given.
  VLabel* empty = Styled("Label(fitcaption = TRUE)", RECT{10, 10, 210, 50});
  EXPECT_EQ(RectText(empty->Rect()), "10,10,210,50");

  VLabel* centred = Styled("Label(fitcaption = TRUE; caption = \"Lindqvist\")",
                           RECT{10, 10, 210, 50});
  const SIZE m = Measure(centred);
  ASSERT_GT(m.cx, 0);
  const int w = m.cx + 10, h = m.cy + 6;
  const int left = (10 + 210 - w) / 2, top = (10 + 50 - h) / 2;
  EXPECT_EQ(RectText(centred->Rect()), RectText(RECT{left, top, left + w, top + h}));
  EXPECT_EQ(RectText(centred->LayoutRect()), "10,10,210,50");
  // A label that has its caption before it reads a style without "pos"
  // takes its fitted rectangle as its layout rectangle.
  auto* early = Add(new VLabel(10, 10, 210, 50, 0, MultiLangString::OnePart("Lindqvist")));
  early->SetFontSize(16);  // the style's size
  early->SetStyle(ApplyStyleAssignments("Label(fitcaption = TRUE)", nullptr));
  EXPECT_EQ(RectText(early->LayoutRect()), RectText(RECT{left, top, left + w, top + h}));
  EXPECT_EQ(RectText(early->Rect()), RectText(early->LayoutRect()));

  struct Case {
    const char* style;
    int extra;  // room of the mark
    const char* placed;
  };
  const Case cases[] = {
      {"Label(fitcaption = TRUE; alignment = LEFT; caption = \"Lindqvist\")", 0, "left"},
      {"Label(fitcaption = TRUE; alignment = RIGHT; caption = \"Lindqvist\")", 0, "right"},
      {"Label(fitcaption = TRUE; alignment = LEFT; arrow = TRUE;"
       " caption = \"Lindqvist\")",
       15, "left"},
  };
  for (const Case& c : cases) {
    auto* label = new VLabel(10, 10, 210, 50, 0);
    Add(label);
    // "pos" keeps the layout rectangle; the label fits inside it.
    const std::string style = std::string(c.style).insert(6, "pos = \"10 10 200 40\"; ");
    label->SetStyle(ApplyStyleAssignments(style.c_str(), nullptr));
    const int lw = m.cx + 10 + c.extra;
    const RECT want = std::string(c.placed) == "left" ? RECT{10, 10, 10 + lw, 10 + h}
                                                       : RECT{210 - lw, 50 - h, 210, 50};
    EXPECT_EQ(RectText(label->Rect()), RectText(want)) << c.style;
  }

  // A centred caption wider than its place is fitted from the left.
  VLabel* wide = Styled("Label(fitcaption = TRUE; pos = \"10 10 10 20\";"
                        " caption = \"Lindqvist\")");
  EXPECT_EQ(RectText(wide->Rect()), RectText(RECT{10, 10, 10 + w, 10 + h}));
}

TEST_F(VLabelTest, TheCaptionIsDrawnInItsColourAndAFontIsMadeOncePerStyle) {
  VLabel* label = Styled("Label(fgcolor = 0xFF0000; caption = \"Orvik\")");
  auto s = Shot();
  ASSERT_TRUE(s);
  int foreign = 0;
  EXPECT_GT(CountRed(*s, label->Rect(), &foreign), 30);
  EXPECT_EQ(foreign, 0);
  Shot();
  Shot();
  EXPECT_EQ(label->FontsMade(), 1);
  label->SetFontSize(30);
  Shot();
  EXPECT_EQ(label->FontsMade(), 2);
  label->SetCaptionText("");
  s = Shot();
  EXPECT_EQ(CountRed(*s, label->Rect(), &foreign), 0);
}

TEST_F(VLabelTest, GoldenLabels) {
  Styled("Label(fgcolor = 0x1F2A44; bgcolor = 0xF3EFE6; caption = \"Vela\")",
         RECT{10, 10, 110, 40});
  Styled("Label(border3d = TRUE; bgcolor = 0x2E5E8C; fgcolor = 0xFFFFFF; caption = \"Back\")",
         RECT{10, 50, 110, 80});
  Styled("Label(border = TRUE; arrow = TRUE; alignment = LEFT;"
         " caption = \"Marrow Fen\")",
         RECT{10, 90, 160, 120});
  Styled("Label(bullet = TRUE; fgcolor = 0x3D8B5A; bgcolor = 0xFFFBD6;"
         " alignment = RIGHT; caption = \"en:Quay\")",
         RECT{10, 130, 160, 160});
  const auto s = Shot();
  ASSERT_TRUE(s);
  testing_support::ExpectGolden(*s, "tests/pages/objects/golden/labels.png");
}

// ---- Mouse ----

class VLabelMouseTest : public VLabelTest {
 protected:
  void SetUp() override {
    VLabelTest::SetUp();
    listener_ = Add(new Listener);
  }
  VLabel* In(const char* styleText) {
    auto* label = new VLabel(10, 10, 110, 40, 0);
    listener_->AppendChild(label);
    label->SetStyle(ApplyStyleAssignments(styleText, nullptr));
    label->Initialize();
    return label;
  }
  // A press and a release through the host, as the window sends them.
  void Mouse(int code, int x, int y) {
    PageEvent e(x, y, code);
    host_->HandleMouse(x, y, e);
  }
  Listener* listener_ = nullptr;
};

TEST_F(VLabelMouseTest, ClickActionsGotoFirstThenTheLineThenTheParent) {
  struct Case {
    const char* style;
    std::vector<std::string> gotos, lines;
    bool notified;
  };
  const Case cases[] = {
      {"Label(goto = \"Harbour\"; onclick = \"back\")", {"Harbour"}, {}, true},
      {"Label(onclick = \"home\")", {}, {"home"}, false},
      {"Label()", {}, {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    VLabel* label = In(c.style);
    shell_.gotos.clear();
    shell_.lines.clear();
    listener_->heard.clear();
    Mouse(PageEvent::MouseDown, 20, 20);
    EXPECT_TRUE(label->Pressed());
    EXPECT_TRUE(shell_.gotos.empty() && shell_.lines.empty());  // nothing before the release
    Mouse(PageEvent::MouseUp, 20, 20);
    EXPECT_FALSE(label->Pressed());
    EXPECT_EQ(shell_.gotos, c.gotos);
    EXPECT_EQ(shell_.lines, c.lines);
    ASSERT_EQ(listener_->heard.size(), c.notified ? 1u : 0u);
    if (c.notified) EXPECT_EQ(listener_->heard[0], std::make_pair(VLabel::kClicked, (VObject*)label));
    delete label;
  }
}

TEST_F(VLabelMouseTest, AReleaseOverTheLabelActsWhereverThePressBegan) {
  VLabel* label = In("Label(onclick = \"next\")");
  Mouse(PageEvent::MouseDown, 200, 200);  // outside
  Mouse(PageEvent::MouseUp, 20, 20);
  EXPECT_FALSE(label->Pressed());
  EXPECT_EQ(shell_.lines, std::vector<std::string>{"next"});
  // A press inside and a release outside does nothing.
  shell_.lines.clear();
  Mouse(PageEvent::MouseDown, 20, 20);
  Mouse(PageEvent::MouseUp, 200, 200);
  EXPECT_TRUE(shell_.lines.empty());
  // Leaving takes the press away.
  EXPECT_FALSE(label->Pressed());
  EXPECT_FALSE(label->Hover());
}

TEST_F(VLabelMouseTest, EnteringAndLeavingFollowTheMouse) {
  VLabel* label = In("Label(caption = \"Tamsel\"; border3d = TRUE)");
  Mouse(PageEvent::MouseMove, 20, 20);
  EXPECT_TRUE(label->Hover());
  EXPECT_FALSE(label->Pressed());
  Mouse(PageEvent::MouseMove, 200, 200);
  EXPECT_FALSE(label->Hover());
  // A disabled label is no target of the mouse.
  label->SetState(label->State() | VObject::kDisabled);
  Mouse(PageEvent::MouseMove, 20, 20);
  EXPECT_FALSE(label->Hover());
}

}  // namespace
