#include "text/style_property.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "text/anchors/anchor_record.h"
#include "text/definition_set.h"
#include "text/html_tokenizer.h"
#include "text/link_maker.h"
#include "text/support/recording_viewer.h"

namespace {

// Link records made visible: "anchor[...]" and "url[...|type]".
class Links : public LinkMaker {
 public:
  CString MakeAnchorLink(const CString& text) override { return "anchor[" + text + "]"; }
  CString MakeUrlLink(const CString& text, const CString& type) override { return "url[" + text + "|" + type + "]"; }
};

struct Case {
  int kind;
  std::vector<const char*> params;
  const char* calls;
  bool result;
};

class StylePropertyTest : public ::testing::Test {
 protected:
  StylePropertyTest() : tokenizer(HtmlTokenizer::kKtf) {
    std::istringstream in("STYLE Bold { DISPLAYSTYLE = TRUE }");
    definitions.Read(in);
    inputs.position = 7;
    inputs.definitions = &definitions;
    inputs.dispatcherFlags = &flags;
    inputs.source = &tokenizer;
    inputs.document = &links;
  }

  // One property of `kind` made, filled and applied; the calls it made.
  std::string Run(int kind, const std::vector<const char*>& params, bool* result = nullptr) {
    viewer.calls.clear();
    auto property = CreateStyleProperty(kind, inputs);
    if (!property) return "none";
    PropertyParams p;
    for (size_t i = 0; i < params.size(); ++i) p[i] = params[i];
    property->SetParams(p);
    ViewerFaces faces = viewer.Faces();
    const bool r = property->Apply(faces);
    if (result) *result = r;
    return viewer.Joined();
  }

  DefinitionSet definitions;
  DWORD flags = 0;
  HtmlTokenizer tokenizer;
  Links links;
  PropertyInputs inputs;
  RecordingViewer viewer;
};

TEST_F(StylePropertyTest, Kinds) {
  const Case cases[] = {
      {1, {}, "word@7", true},
      {2, {}, "paragraph@7", true},
      {3, {"0", "5"}, "table@7(0,2,1,0,0,0,1)", true},
      {3, {"1", "", "4", "3", "50%", "1"}, "table@7(1,4,3,50,1,1,0)", true},
      {3, {"5", "3", "", "", "200"}, "table@7(3,2,1,200,1,0,1)", true},
      {4, {"2"}, "tablerow@7(2)", false},
      {5, {"1"}, "listitem@7(1)", true},
      {6, {"1"}, "listitem2@7(1)", true},
      {7, {"0", "a.gif", "20", "50%"}, "picture@7(a.gif,anchor[Hint=URL:korvex:a.gif\nLinkType=KTFAnchor\n],0,20,0)", true},
      {7, {"1", "star"}, "picture@7(star,,1,0,0)", true},
      {10, {"0", "", "3"}, "rule@7(3)", true},
      {11, {"5", "label"}, "holder@7(5,label)", true},
      {12, {"txt", "2"}, "text@7(2,txt)", true},
      {13, {}, "end@7", true},
      {14, {"288"}, "linebreak@7", true},
      {14, {"273", "PRE_TAB", "1"}, "tab@7(PRE_TAB,1)", true},
      {14, {"274", "m", "2"}, "border@7(m,2)", true},
      {14, {"272", "s", "3", "9"}, "tabstop@7(s,3,1,1,9)", true},
      {14, {"528"}, "row@7", true},
      {14, {"784", "v", "1", "t", "0", "u"}, "option(v,1,t,0,u)", true},
      {14, {"99"}, "", false},
      {15, {"Bold"}, "push(Bold)", true},
      {15, {"Nothing"}, "", false},
      {16, {"", "FF0000"}, "pop(mildawColor_ff0000_100)", true},
      {17, {"0", "3", "1", "x"}, "level(0,3,x,1)", true},
      {18, {"1"}, "poplevel(1)", true},
      {19, {"0", "1", "4"}, "setvalue(0,1,4)", true},
      {20, {"0", "-1"}, "addvalue(0,-1)", true},
      {22, {"/0x10", "1", "KTFAnchor"},
       "definition(url[Dest=0x10\nLinkType=KTFAnchor\n|KTFAnchor]) anchor@7(record)", true},
      {22, {"x", "0"}, "", false},
      {23, {"/0x10"}, "find(Dest=0x10\nLinkType=KTFAnchor\n) endanchor@7(record)", true},
      {23, {""}, "", false},
      {24, {}, "endlast@7", false},
      {29, {}, "restyle(7)", true},
      {30, {"", "3", "40%"}, "cell@7(3,1,40,1)", true},
      {31, {"sky.gif"}, "background(sky.gif,anchor[Hint=URL:korvex:sky.gif\nLinkType=KTFAnchor\n])", true},
      {32, {"8", "#00FF10"}, "colorpair(8,0,255,16)", true},
      {32, {"8", "red"}, "", false},
      {33, {}, "space@7", true},
      {34, {"title", "a\r\nb"}, "name(TITLE,a  b)", true},
      {35, {"top"}, "named@7(TOP)", true},
      {36, {"top"}, "endnamed@7(TOP)", true},
  };
  for (const Case& c : cases) {
    bool result = !c.result;
    EXPECT_EQ(Run(c.kind, c.params, &result), c.calls) << "kind " << c.kind;
    EXPECT_EQ(result, c.result) << "kind " << c.kind;
  }
  for (int undefined : {0, 27, 28, 37, -1}) EXPECT_EQ(Run(undefined, {}), "none");
}

TEST_F(StylePropertyTest, FormFields) {
  // Kind, then name, value, size, rows, checked, minimum, maximum, multiple,
  // disabled, the kept text and the picture; the last string is the
  // resolved link of the kept text.
  std::vector<const char*> p = {"7", "who", "Ana", "20", "-1", "0", "", "", "0", "1", "pic.gif", "pic.gif", "x"};
  EXPECT_EQ(Run(9, p),
            "field@7(7:who|Ana|20|-1|0|||0|1|pic.gif|pic.gif|anchor[Hint=URL:korvex:pic.gif\nLinkType=KTFAnchor\n])");
  EXPECT_EQ(Run(8, {"/cgi/ask", "1", "0"}), "form(url[Dest=cgi/ask\nLinkType=KTFAnchor\n|],1,0)");
}

// An attached link is the resolved name of every kind that resolves one.
TEST_F(StylePropertyTest, AttachedLinkWins) {
  AnchorRecord link("Dest=0x42\n");
  inputs.link = &link;
  EXPECT_EQ(Run(7, {"0", "a.gif"}), "picture@7(a.gif,Dest=0x42\n,0,0,0)");
}

TEST_F(StylePropertyTest, CounterLabels) {
  viewer.label = {{0, "2.5 "}, {1, "dot.gif"}, {2, "STAR"}};
  EXPECT_EQ(Run(21, {"0", "1"}),
            "holder@7(1507328,Counter) list@7 format(1) word@0 text@0(0,2.5 ) end@500 "
            "picture@1000(dot.gif,anchor[Hint=URL:korvex:dot.gif\nLinkType=KTFAnchor\n],0,0,0) end@1500 "
            "picture@2000(STAR,,1,0,0) end@2500 end@7");
  EXPECT_EQ(Run(21, {"2", "STAR"}), "holder@7(1507328,Counter) list@7 picture@0(STAR,,1,0,0) end@500 end@7");
  bool result = true;
  EXPECT_EQ(Run(21, {"7"}, &result), "holder@7(1507328,Counter) list@7 end@7");
  EXPECT_FALSE(result);
}

// Suspending (25) makes every later action but resuming (26) pass; the
// last action applied decides the result.
TEST_F(StylePropertyTest, RunActionsWithSuspension) {
  auto action = [](int kind) {
    Action a;
    a.SetKind(kind);
    return a;
  };
  ViewerFaces faces = viewer.Faces();
  EXPECT_TRUE(RunActions({action(25), action(1), action(26), action(2)}, inputs, faces));
  EXPECT_EQ(viewer.Joined(), "paragraph@7");
  EXPECT_EQ(flags, 0u);
  viewer.calls.clear();
  EXPECT_FALSE(RunActions({action(1), action(27)}, inputs, faces));
  EXPECT_TRUE(RunActions({action(27), action(1)}, inputs, faces));
  EXPECT_FALSE(RunActions({action(1), action(24)}, inputs, faces));
}

TEST(ColorParam, Forms) {
  ColorRecord c;
  EXPECT_TRUE(ReadColorParam("#FF0000", c));
  EXPECT_EQ(c, ColorRecord::Rgb(255, 0, 0));
  EXPECT_TRUE(ReadColorParam("ff0000", c));
  EXPECT_EQ(c, ColorRecord::Rgb(255, 0, 0));
  EXPECT_FALSE(ReadColorParam("red", c));
  EXPECT_FALSE(ReadColorParam("", c));
}

}  // namespace
