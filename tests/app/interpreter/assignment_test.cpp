// "set": assignments to the objects of a page by name and property path,
// each value read by the type the object's style gives the property.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/interpreter/assignment.h"
#include "app/interpreter/interpreter.h"
#include "core/screen_geometry.h"
#include "app/dialogs/support/ui_fixture.h"
#include "pages/objects/vgroup.h"
#include "pages/style/property_getters.h"
#include "pages/style/property_table.h"
#include "pages/style/style_expressions.h"

namespace {

using Calls = std::vector<std::string>;

// A page object that records the setter calls it gets ("caption=text",
// "border=1", "fgcolor=0x332211", "size=48", "pos=1,2,4,6").
class Recorder : public VGroup {
 public:
  explicit Recorder(Calls* calls) : VGroup(0, 0, 100, 100), calls_(calls) {}
  bool SetStringAttribute(const char* name, const char* text) override {
    return Record(std::string(name) + "=" + text);
  }
  bool SetBoolAttribute(const char* name, bool value) override {
    return Record(std::string(name) + "=" + (value ? "1" : "0"));
  }
  bool SetNumberAttribute(const char* name, int value) override {
    return Record(std::string(name) + "=" + std::to_string(value));
  }
  bool SetColorAttribute(const char* name, COLORREF color) override {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(color));
    return Record(std::string(name) + "=" + text);
  }
  bool SetRectAttribute(const char* name, int l, int t, int r, int b) override {
    return Record(std::string(name) + "=" + std::to_string(l) + "," + std::to_string(t) + "," +
                  std::to_string(r) + "," + std::to_string(b));
  }
  bool accept = true;

 private:
  bool Record(const std::string& call) {
    calls_->push_back(GetName().str() + "." + call);
    return accept;
  }
  Calls* calls_;
};

class AssignmentTest : public shell_ui_test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    SetScreenRect(RECT{0, 0, 640, 480});
    Styles(
        "Align = (LEFT, RIGHT)\n"
        "Probe = { String caption; Boolean border; Color fgcolor; Value size; Rect pos;\n"
        "          File picture; Area area = \"0 0 9 9\"; Align align; Inner = { Value x } }\n");
    page_ = std::make_unique<Recorder>(&calls_);
    Name(page_.get(), "page");
    title_ = Add(page_.get(), "title");
    box_ = Add(page_.get(), "box");
    inner_ = Add(box_, "inner");
    ClearLog();
  }
  void TearDown() override {
    page_.reset();
    ResetScreenRect();
    UiTest::TearDown();
  }
  static void Name(Recorder* r, const char* name) {
    r->SetName(name);
    r->SetStyle(InstantiateStruct(getStruct(StyleTable().StyleQuery("Probe"))));
  }
  Recorder* Add(Recorder* parent, const char* name) {
    auto* r = new Recorder(&calls_);
    Name(r, name);
    parent->AppendChild(r);
    return r;
  }
  // Runs "set <rest>" on the page: the setter calls and the logbook lines.
  std::pair<Calls, std::vector<std::string>> Set(const std::string& rest) {
    calls_.clear();
    ClearLog();
    const std::string line = "set " + rest;
    ExecuteSet(page_.get(), line.c_str(), rest.c_str());
    return {calls_, LogLines()};
  }

  Calls calls_;
  std::unique_ptr<Recorder> page_;
  Recorder* title_ = nullptr;
  Recorder* box_ = nullptr;
  Recorder* inner_ = nullptr;
};

TEST_F(AssignmentTest, ValuesByTheirType) {
  struct Case {
    const char* rest;
    Calls calls;
  };
  const Case cases[] = {
      {"title.caption = \"Vela; Lyra\"", {"title.caption=Vela; Lyra"}},
      {"title.picture=\"sky.bmp\"", {"title.picture=sky.bmp"}},
      {"title.border = FALSE", {"title.border=0"}},
      {"title.border = 1", {"title.border=1"}},
      {"title.fgcolor = 0x112233", {"title.fgcolor=0x332211"}},  // red in the low byte
      {"title.size = 12", {"title.size=12"}},
      {"title.size = \"1/10\"", {"title.size=48"}},  // a tenth of the screen height
      {"title.pos = \"10 20 30 40\"", {"title.pos=10,20,40,60"}},
      {"title.align = RIGHT", {"title.align=RIGHT"}},
      // Down through the groups by the children's names.
      {"box.inner.size = 7", {"inner.size=7"}},
      {"page.box.inner.caption = \"deep\"", {"inner.caption=deep"}},
      {"box . inner . size = 8 ", {"inner.size=8"}},
      // A name that is no child leaves the walk at the group.
      {"box.caption = \"own\"", {"box.caption=own"}},
  };
  for (const Case& c : cases) {
    const auto [calls, log] = Set(c.rest);
    EXPECT_EQ(calls, c.calls) << c.rest;
    EXPECT_TRUE(log.empty()) << c.rest << ": " << (log.empty() ? "" : log[0]);
  }
}

TEST_F(AssignmentTest, RefusedAssignmentsChangeNothing) {
  struct Case {
    const char* rest;
    std::vector<std::string> log;
  };
  const std::string invalid = "invalid assignment: set ";
  const Case cases[] = {
      {"title.border = maybe", {}},
      // The value is read whole before anything is set: left-over text, or a
      // colour without "0x", refuses it untouched.
      {"title.fgcolor = 112233", {}},
      {"title.size = 12 px", {}},
      {"title.caption = \"x\" y", {}},
      {"title.area = \"0 0 1 1\"", {}},    // areas cannot be set
      {"title.Inner = 1", {}},            // nor structs
      {"title.nothing = 1", {}},          // not in the style
      {"title.caption \"x\"", {"= missing"}},
      {"title.", {}},
      {"nobody.caption = \"x\"", {}},
      {".caption = \"x\"", {}},           // no name finds no (unnamed) object
      {"title caption = \"x\"", {}},      // no dot
  };
  for (const Case& c : cases) {
    const auto [calls, log] = Set(c.rest);
    EXPECT_TRUE(calls.empty()) << c.rest << ": " << calls[0];
    std::vector<std::string> want = c.log;
    want.push_back(invalid + c.rest);
    EXPECT_EQ(log, want) << c.rest;
  }
}

TEST_F(AssignmentTest, SetterRefusalAndObjectsWithoutStyle) {
  title_->accept = false;
  auto [calls, log] = Set("title.size = 3");
  EXPECT_EQ(calls, Calls{"title.size=3"});
  EXPECT_EQ(log, std::vector<std::string>{"invalid assignment: set title.size = 3"});

  auto* plain = new Recorder(&calls_);
  plain->SetName("plain");
  page_->AppendChild(plain);
  std::tie(calls, log) = Set("plain.size = 3");
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(log, std::vector<std::string>{"invalid assignment: set plain.size = 3"});

  EXPECT_EQ(Interpreter::Assign(nullptr, "size = 3"), 0);
  EXPECT_EQ(Interpreter::Assign(title_, ""), 0);
}

TEST_F(AssignmentTest, NoPageDoesNothing) {
  ExecuteSet(nullptr, "set title.size = 3", "title.size = 3");
  EXPECT_TRUE(calls_.empty());
  EXPECT_TRUE(LogLines().empty());
}

}  // namespace
