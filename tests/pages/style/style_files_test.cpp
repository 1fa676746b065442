// Loading the style files of the home directory.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "pages/style/property_getters.h"
#include "pages/style/property_table.h"
#include "pages/style/style_files.h"
#include "pages/support/pages_fixture.h"

namespace {

using pages_test::PagesTest;
using Lines = std::vector<std::string>;

class StyleFilesTest : public PagesTest {
 protected:
  void SetUp() override {
    PagesTest::SetUp();
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    saved_ = cwd;
    dir_ = tmp_.file("home");
    tmp_.write("home/.keep", "");
    ASSERT_EQ(chdir(dir_.c_str()), 0);
  }
  void TearDown() override {
    ASSERT_EQ(chdir(saved_.c_str()), 0);
    PagesTest::TearDown();
  }
  void Write(const std::string& name, const std::string& text) { tmp_.write("home/" + name, text); }
  std::string saved_;
  std::string dir_;
};

TEST_F(StyleFilesTest, MainStyleFirstThenEveryOtherStyleFileOnce) {
  // The same name in several files: the file read last wins. The main file
  // is found whatever the case of its name, and read once.
  Write("main.sty", "<Style Description>\nValue order = 1 Value main = 1\n");
  Write("B.STY", "<Style Description>\nValue order = 3\n");
  Write("a.Sty", "<Style Description>\nValue order = 2 Value a = 1\n");
  Write("notes.txt", "<Style Description>\nValue txt = 1\n");
  Write("HTML.sty", "<DEFINITIONS>\nnot a page style\n");
  Write("empty.sty", "");
  LoadStyles();
  const PropertyTable& t = StyleTable();
  EXPECT_EQ(getInt(t.StyleQuery("order"), 0), 3);
  EXPECT_NE(t.StyleQuery("main"), nullptr);
  EXPECT_NE(t.StyleQuery("a"), nullptr);
  EXPECT_EQ(t.StyleQuery("txt"), nullptr);
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(StyleFilesTest, MissingFilesAreLogged) {
  LoadStyles();
  EXPECT_EQ(LogLines(), (Lines{"cannot load style MAIN.STY", "main style not found"}));
  ClearLog();
  Write("other.sty", "<Style Description>\nValue other = 1\n");
  LoadStyles();
  EXPECT_EQ(LogLines(), Lines{"cannot load style MAIN.STY"});
  EXPECT_NE(StyleTable().StyleQuery("other"), nullptr);
  ClearLog();
  LoadStyleFile("nowhere.sty");
  EXPECT_EQ(LogLines(), Lines{"cannot load style nowhere.sty"});
}

TEST_F(StyleFilesTest, ErrorsNameTheFile) {
  Write("MAIN.STY", "<Style Description>\nValue v = -1\n");
  LoadStyles();
  EXPECT_EQ(LogLines(), Lines{"MAIN.STY Error in line 2 at '-': invalid character"});
  ClearLog();
  StyleTable().ReportError("later");
  EXPECT_EQ(LogLines(), Lines{"Error: later"});
}

}  // namespace
