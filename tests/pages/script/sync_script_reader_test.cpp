// Reading SyncScripts: what each entry form gives, which errors each faulty
// line reports and on which line, and that reading always goes on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/screen_geometry.h"
#include "pages/script/sync_script_reader.h"

namespace {

class SyncScriptReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { SetScreenRect(RECT{0, 0, 800, 600}); }
  void TearDown() override { ResetScreenRect(); }
};

// Every entry of a script, up to its end.
std::vector<ScriptEntry> ReadAll(const std::string& text) {
  SyncScriptReader reader(text);
  std::vector<ScriptEntry> entries;
  for (int guard = 0; guard < 1000; ++guard) {
    if (reader.ReadEntry() == ScriptCommand::End) return entries;
    entries.push_back(reader.Entry());
  }
  ADD_FAILURE() << "no end";
  return entries;
}

TEST_F(SyncScriptReaderTest, EntriesGiveTheirFields) {
  auto e = ReadAll(
      "0 load img 1 \"pic.gif\" \"10 20 1/2 50\"\n"
      "100 LOAD LBL 2 \"Hello\" \"0 0 30 40\" trailing words ignored\n"
      "200 setfgcolor lbl 2 0xFF0000\n"
      "250 SETSTYLE LBL 2 3dborder\n"
      "260 SETSTYLE LBL 2 alignright\n"
      "300 SETMODE BGR ASPECTLIMIT\n"
      "400 RESIZE VID 3 \"1/4 1/2\"\n"
      "500 TIMERINTERVAL 40\n"
      "600 GOTO \"#2\" // a comment after the entry\n"
      "700 back this text is ignored\n"
      "800 CHANGE BGR \"sky.bmp\"\n"
      "900 SHOW TBR\n"
      "1000 PLAY SND 4\n");
  ASSERT_EQ(e.size(), 13u);
  EXPECT_EQ(e[0].command, ScriptCommand::Load);
  EXPECT_EQ(e[0].object, ScriptObject::Image);
  EXPECT_EQ(e[0].objectId, 1);
  EXPECT_EQ(e[0].text, "pic.gif");
  EXPECT_EQ(e[0].rect.left, 10);
  EXPECT_EQ(e[0].rect.top, 20);
  EXPECT_EQ(e[0].rect.right, 10 + 400);  // half of an 800-wide screen
  EXPECT_EQ(e[0].rect.bottom, 20 + 50);
  EXPECT_EQ(e[1].caption, "Hello");
  EXPECT_EQ(e[1].text, "pic.gif");  // fields an entry does not use keep their values
  EXPECT_EQ(e[1].time, 100u);
  EXPECT_EQ(e[2].color, COLORREF{0x0000FF});
  EXPECT_EQ(e[3].labelStyle, 1);
  EXPECT_EQ(e[4].labelStyle, 8);
  EXPECT_EQ(e[5].mode, kModeAspectLimit);
  EXPECT_EQ(e[5].object, ScriptObject::Background);
  EXPECT_EQ(e[6].size.cx, 200);
  EXPECT_EQ(e[6].size.cy, 300);
  EXPECT_EQ(e[7].timerInterval, 40);
  EXPECT_EQ(e[7].object, ScriptObject::None);
  EXPECT_EQ(e[8].command, ScriptCommand::Goto);
  EXPECT_EQ(e[8].text, "#2");
  EXPECT_EQ(e[9].command, ScriptCommand::Back);
  EXPECT_EQ(e[10].text, "sky.bmp");
  EXPECT_EQ(e[11].command, ScriptCommand::Show);
  EXPECT_EQ(e[11].object, ScriptObject::Toolbar);
  EXPECT_EQ(e[12].command, ScriptCommand::Play);
  EXPECT_EQ(e[12].objectId, 4);
  for (std::size_t i = 0; i < e.size(); ++i) EXPECT_EQ(e[i].line, i + 1) << i;
}

struct ErrorCase {
  const char* script;
  const char* error;
  std::uint32_t line;
};

TEST_F(SyncScriptReaderTest, FaultyLinesBecomeErrorEntries) {
  const ErrorCase cases[] = {
      {"0x10 BACK\n", "invalid token : '0x10'", 1},
      {"10 DANCE\n", "invalid command : 'DANCE'", 1},
      {"10 \"BACK\"\n", "invalid token : 'BACK'", 1},
      {"10 SHOW IMG1\n", "invalid token : 'IMG'", 1},
      {"10 SHOW PIC 1\n", "invalid objecttype : 'PIC'", 1},
      {"10 SHOW IMG \"x\"\n", "objectId is missing before : 'x'", 1},
      {"10 MOVETO BGR 1\n", "this objecttype must not have an Id : '1'", 1},
      {"10 SETMODE IMG 1 ASPECTLIMIT\n", "invalid mode : 'ASPECTLIMIT'", 1},
      {"10 SETMODE BGR SIDEWAYS\n", "invalid mode", 1},
      {"10 SETSTYLE LBL 1 4DBORDER\n", "invalid style : '4DBORDER'", 1},
      {"10 CHANGE TBR \"x\"\n", "invalid command for toolbar", 1},
      {"10 SETCAPTION BGR \"x\"\n", "invalid command or tokentype for background or toolbar", 1},
      {"10 SETFGCOLOR LBL 1 0x1234567\n", "invalid token : '0x1234567'", 1},
      {"10 SETFONTSIZE LBL 1 \"12\"\n", "tokentype doesn\xb4t match command : '12'", 1},
      {"10 TIMERINTERVAL \"40\"\n", "tokentype doesn\xb4t match command : '40'", 1},
      {"10 SETCAPTION LBL 1 \"open\n", "invalid token : '\"open'", 1},
      {"10 SETCAPTION LBL 1 ,\n", "invalid token : ','", 1},
      // A missing rectangle takes the next line's time and loses that line.
      {"10 LOAD IMG 1 \"a.gif\"\n20 BACK\n", "invalid token : '20'", 2},
      // Line feeds inside a block comment are counted.
      {"/* one\ntwo\nthree */\n10 SHOW IMG x\n", "objectId is missing before : 'X'", 4},
      {"10 BACK\n/* never\nclosed\n", "invalid block comment: block started by /* not closed by */", 2},
  };
  for (const ErrorCase& c : cases) {
    auto e = ReadAll(c.script);
    const ScriptEntry* error = nullptr;
    for (const ScriptEntry& entry : e)
      if (entry.command == ScriptCommand::Error) error = &entry;
    ASSERT_NE(error, nullptr) << c.script;
    EXPECT_EQ(error->errorText, c.error) << c.script;
    EXPECT_EQ(error->line, c.line) << c.script;
  }
}

TEST_F(SyncScriptReaderTest, ReadingGoesOnAfterAnErrorAndKeepsTheLastTime) {
  auto e = ReadAll("100 BACK\nxx SHOW IMG 1\n300 SHOW IMG 2 and more\n");
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[1].command, ScriptCommand::Error);
  EXPECT_EQ(e[1].time, 100u);  // an error in the time keeps the entry before's
  EXPECT_EQ(e[2].command, ScriptCommand::Show);
  EXPECT_EQ(e[2].objectId, 2);
  EXPECT_EQ(e[2].line, 3u);
}

TEST_F(SyncScriptReaderTest, CommentsAndLineEnds) {
  // Only comments: the script ends at once.
  EXPECT_TRUE(ReadAll("// nothing\n/* at */ // all\n\n").empty());
  // CR LF line ends, a NUL ending the text, arguments over several lines.
  const char withNul[] = "10 SHOW\r\n IMG\r\n 7\r\n20 BACK\r\n\0 30 HOME\n";
  auto e = ReadAll(std::string(withNul, sizeof withNul - 1));
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].objectId, 7);
  EXPECT_EQ(e[1].command, ScriptCommand::Back);
  EXPECT_EQ(e[1].line, 4u);
  // A block comment right after a comment ends at its own end, like any
  // other: what follows it on that line is read.
  e = ReadAll("// head\n/* skipped\n 10 BACK\n */ 20 HOME\n30 UP\n");
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].command, ScriptCommand::Home);
  EXPECT_EQ(e[0].line, 4u);
  EXPECT_EQ(e[1].line, 5u);
}

TEST_F(SyncScriptReaderTest, HugeNumbersAreHeldAtTheLargestValue) {
  auto e = ReadAll("99999999999999999999 SETFONTSIZE LBL 99999999999 99999999999\n");
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].time, 2147483647u);
  EXPECT_EQ(e[0].objectId, 2147483647);
  EXPECT_EQ(e[0].fontSize, 2147483647);
}

}  // namespace
