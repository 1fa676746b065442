// Playing SyncScripts on a script page: objects made, shown, moved and
// hidden on time, the script clock, the end of a script, the errors of
// running entries, member references, navigation and the cursor.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "pages/objects/vlabel.h"
#include "pages/picture/vimage.h"
#include "pages/script/support/script_fixture.h"
#include "pages/text/vtext.h"

namespace pages_test {
namespace {

using Lines = std::vector<std::string>;

class SyncScriptTest : public ScriptTest {
 protected:
  VImage* Image(int id) const {
    return dynamic_cast<VImage*>(page_->Script()->ObjectAt(ScriptObject::Image, id));
  }
  VLabel* Label(int id) const {
    return dynamic_cast<VLabel*>(page_->Script()->ObjectAt(ScriptObject::Label, id));
  }
  static bool Shown(const VObject* o) { return o && !o->Has(VObject::kHidden); }
};

TEST_F(SyncScriptTest, ObjectsAppearMoveAndGoOnTime) {
  const std::string sky = Picture("sky.bmp", 30, 20);
  Play("0 LOAD IMG 1 \"" + sky + "\" \"10 10 50 40\"\n"
       "0 LOAD LBL 2 \"en:Evening|ge:Abend\" \"0 0 80 20\"\n"
       "1000 SHOW IMG 1\n"
       "1000 SHOW LBL 2\n"
       "2000 MOVETO IMG 1 \"100 120\"\n"
       "3000 HIDE IMG 1\n"
       "3000 REMOVE LBL 2\n");
  // Made at the start, hidden until shown; the label does not take clicks.
  ASSERT_NE(Image(1), nullptr);
  ASSERT_NE(Label(2), nullptr);
  EXPECT_FALSE(Shown(Image(1)));
  EXPECT_FALSE(Shown(Label(2)));
  EXPECT_TRUE(Label(2)->Has(VObject::kDisabled));
  EXPECT_EQ(Label(2)->CaptionText(), "Evening");
  EXPECT_EQ(Image(1)->Parent(), page_.get());
  EXPECT_EQ(page_->LastChild(), Label(2));

  Run(999);
  EXPECT_FALSE(Shown(Image(1)));
  Run(1);  // both entries of 1000 in one tick
  EXPECT_TRUE(Shown(Image(1)));
  EXPECT_TRUE(Shown(Label(2)));

  Run(1000);
  EXPECT_EQ(Image(1)->Rect().left, 100);
  EXPECT_EQ(Image(1)->Rect().top, 120);
  EXPECT_EQ(Image(1)->Rect().right - Image(1)->Rect().left, 50);  // the size stays
  EXPECT_EQ(Image(1)->Rect().bottom - Image(1)->Rect().top, 40);

  EXPECT_FALSE(page_->Script()->Ended());
  VLabel* label = Label(2);
  Run(1000);
  EXPECT_FALSE(Shown(Image(1)));
  EXPECT_EQ(Label(2), nullptr);
  EXPECT_EQ(page_->Contains(label, true), nullptr);  // off the page
  // The end: the toolbar comes to the top and shows.
  EXPECT_TRUE(page_->Script()->Ended());
  EXPECT_EQ(page_->LastChild(), toolbar_);
  EXPECT_TRUE(Shown(toolbar_));
  EXPECT_TRUE(Errors().empty());
}

TEST_F(SyncScriptTest, TheScriptClockOrdersTheEntries) {
  const std::string a = Picture("a.bmp", 8, 8);
  SyncScript* script = Play("0 LOAD IMG 1 \"" + a + "\" \"0 0 10 10\"\n"
                            "500 SHOW IMG 1\n"
                            "400 HIDE IMG 1\n"  // earlier than the entry before: next tick
                            "5000 RESETTIME\n"
                            "1000 SHOW IMG 1\n");
  Run(500);
  EXPECT_TRUE(Shown(Image(1)));
  EXPECT_EQ(script->NextTime(), 400u);
  Run(0);
  EXPECT_FALSE(Shown(Image(1)));

  Run(4499);
  EXPECT_EQ(script->NextTime(), 5000u);
  Run(1);  // the reset: the clock stands at 0 again
  EXPECT_EQ(script->Elapsed(), 0u);
  Run(999);
  EXPECT_FALSE(Shown(Image(1)));
  Run(1);
  EXPECT_TRUE(Shown(Image(1)));
}

TEST_F(SyncScriptTest, AScriptOfTimeZeroEndsInsideTheStart) {
  SyncScript* script = Play("0 SHOW BGR\n0 HIDE BGR\n");
  EXPECT_TRUE(script->Ended());
  EXPECT_EQ(page_->LastChild(), toolbar_);
  EXPECT_TRUE(Shown(toolbar_));
  EXPECT_FALSE(Shown(background_));
  Run(100);  // the first tick finds the end and runs nothing
  EXPECT_TRUE(Errors().empty());

  // A page without a toolbar ends its script all the same.
  page_->SetParts(background_, nullptr);
  EXPECT_TRUE(Play("0 SHOW BGR\n")->Ended());
}

TEST_F(SyncScriptTest, ALoadedPictureWithoutASizeTakesItsOwn) {
  const std::string moon = Picture("moon.bmp", 64, 48);
  Play("0 LOAD IMG 3 \"" + moon + "\" \"20 30 0 0\"\n");
  ASSERT_NE(Image(3), nullptr);
  EXPECT_EQ(Image(3)->Rect().left, 20);
  EXPECT_EQ(Image(3)->Rect().right, 20 + 64);
  EXPECT_EQ(Image(3)->Rect().bottom, 30 + 48);
  EXPECT_FALSE(Shown(Image(3)));
}

TEST_F(SyncScriptTest, RunningErrorsAreLoggedAndTheScriptGoesOn) {
  const std::string a = Picture("a.bmp", 8, 8), b = Picture("b.bmp", 8, 8);
  Play("0 LOAD IMG 1 \"" + a + "\" \"0 0 10 10\"\n"
       "0 LOAD IMG 1 \"" + b + "\" \"0 0 10 10\"\n"
       "0 SHOW IMG 7\n"
       "0 LOAD IMG 255 \"" + a + "\" \"0 0 10 10\"\n"
       "0 LOAD IMG 254 \"" + a + "\" \"0 0 10 10\"\n"
       "0 LOAD IMG 99999999999 \"" + a + "\" \"0 0 10 10\"\n"
       "0 SETCAPTION IMG 1 \"x\"\n"
       "0 LOAD LBL 4 \"x\" \"0 0 10 10\"\n"
       "0 CHANGE LBL 4 \"y\"\n"
       "0 SETMODE LBL 9 ZOOM\n"
       "0 SCROLLTO IMG 8 \"1 1\"\n"
       "0 SHOW IMG 1 extra words\n");
  EXPECT_EQ(Errors(), (Lines{"Object already exists", "Object doesn\xb4t exist",
                             "ObjectId out of range", "ObjectId out of range",
                             "Command doesn\xb4t exist for this objecttype",
                             "Command <Change> doesn\xb4t exist for this objecttype",
                             "Object doesn\xb4t exist", "Object doesn\xb4t exist"}));
  EXPECT_EQ(Image(1)->FileName(), a.c_str());  // the first one stays
  EXPECT_NE(Image(254), nullptr);
  EXPECT_TRUE(Shown(Image(1)));  // the script went on to its end
  // The line of the entry and the file name stand in front of each.
  const Lines log = ScriptLog();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[0].substr(0, 30), std::string(30, '='));
  EXPECT_EQ(log[1].rfind("Error in SyncScript ", 0), 0u);
  EXPECT_NE(log[1].find("show.syn Line   2: Object already exists"), std::string::npos);
}

TEST_F(SyncScriptTest, ReadingErrorsReachTheLogWhenTheirEntryRuns) {
  Play("0 SHOW BGR\n"
       "100 FLY IMG 1\n"
       "200 SHOW BGR\n");
  EXPECT_TRUE(Errors().empty());
  Run(100);
  EXPECT_EQ(Errors(), Lines{"invalid command : 'FLY'"});
}

TEST_F(SyncScriptTest, LabelsTakeTheirLook) {
  Play("0 LOAD LBL 1 \"Station\" \"0 0 100 20\"\n"
       "0 SETFGCOLOR LBL 1 0xFF0000\n"
       "0 SETBGCOLOR LBL 1 0x00FF00\n"
       "0 SETSTYLE LBL 1 3dborder\n"
       "0 SETSTYLE LBL 1 ALIGNRIGHT\n"
       "0 SETSTYLE LBL 1 BULLET\n"
       "0 SETFONTSIZE LBL 1 30\n"
       "0 SETFONTNAME LBL 1 \"Courier\"\n"
       "0 SETCAPTION LBL 1 \"en:Harbour|ge:Hafen\"\n"
       "0 SETGOTO LBL 1 \"korvex:/harbour\"\n"
       "0 PLAY LBL 1\n");
  VLabel* label = Label(1);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->FgColor(), COLORREF{0x0000FF});  // red in the low byte
  EXPECT_EQ(label->BgColor(), COLORREF{0x00FF00});
  EXPECT_EQ(label->BgPercent(), 100);
  const DWORD flags = label->LabelFlags();
  EXPECT_EQ(flags & (VLabel::kBorder3d | VLabel::kBorder), VLabel::kBorder3d);
  EXPECT_EQ(flags & VLabel::kAlignMask, VLabel::kAlignRight);
  EXPECT_NE(flags & VLabel::kBullet, 0u);
  EXPECT_EQ(label->FontSize(), 30);
  EXPECT_EQ(label->FontName(), "Courier");
  EXPECT_EQ(label->CaptionText(), "Harbour");
  EXPECT_EQ(label->GotoTarget(), "korvex:/harbour");
  EXPECT_FALSE(label->Has(VObject::kDisabled));  // a target makes it clickable
  EXPECT_EQ(Errors(), Lines{"Command doesn\xb4t exist for this objecttype"});
}

TEST_F(SyncScriptTest, MemberReferencesBecomeTheirUrls) {
  const std::string a = Picture("a.bmp", 8, 8), b = Picture("b.bmp", 8, 8);
  SyncScript* script = Load("0 LOAD IMG 1 \"#1\" \"0 0 10 10\"\n"
                            "0 CHANGE IMG 1 \"#2\"\n"
                            "0 CHANGE BGR \"#1\"\n"
                            "0 LOAD IMG 2 \"#9\" \"0 0 10 10\"\n"
                            // The text of the entry before names nothing here.
                            "0 SHOW IMG 2\n"
                            "0 LOAD LBL 1 \"#12\" \"0 0 10 10\"\n"
                            "0 SETCAPTION LBL 1 \"#22\"\n"
                            "0 GOTO \"#1\"\n");
  script->AddUrl(ScriptObject::Image, "#1", a.c_str());
  script->AddUrl(ScriptObject::Sound, "#2", "korvex:sound");
  script->AddUrl(ScriptObject::Image, "#2", b.c_str());
  script->Start();
  EXPECT_EQ(Image(1)->FileName(), b.c_str());
  EXPECT_EQ(background_->FileName(), a.c_str());  // a background refers to images
  ASSERT_NE(Image(2), nullptr);
  EXPECT_TRUE(Image(2)->FileName().IsEmpty());
  EXPECT_EQ(Label(1)->CaptionText(), "#22");  // captions are no references
  EXPECT_EQ(Errors(), (Lines{"url from #9 not available", "url from #1 not available"}));
  EXPECT_EQ(pictureShell_.gotos, Lines{""});
}

TEST_F(SyncScriptTest, TheLogIsThereBeforeTheFirstRefusedReference) {
  SyncScript* script = Load("0 SHOW BGR\n");
  for (int i = 1; i <= 256; ++i)
    script->AddUrl(ScriptObject::Image, ("#" + std::to_string(i)).c_str(), "korvex:x");
  EXPECT_EQ(script->Urls().size(), 255u);
  Lines log = ScriptLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].substr(0, 30), std::string(30, '='));
  EXPECT_EQ(log[1], "too many urls");
  script->Start();  // one time stamp per script
  EXPECT_EQ(ScriptLog().size(), 2u);
}

TEST_F(SyncScriptTest, NavigationIsQueuedThroughTheShell) {
  Play("0 BACK\n0 FORWARD\n0 NEXT\n0 PREVIOUS\n0 ROOT\n0 HOME\n0 UP\n0 PARENTS\n"
       "0 KORVEXROOT\n0 HISTORY\n0 SEARCH \"comet\"\n0 GOTO \"korvex:/gallery\"\n");
  EXPECT_EQ(pictureShell_.lines, (Lines{"back", "forward", "next", "previous", "root", "home", "up",
                                 "parents", "korvexroot", "history", "search comet"}));
  EXPECT_EQ(pictureShell_.gotos, Lines{"korvex:/gallery"});
}

TEST_F(SyncScriptTest, AHiddenCursorComesBackWithThePlayer) {
  ASSERT_GE(CursorCount(), 0);
  Play("0 HIDECURSOR\n0 HIDECURSOR\n");
  EXPECT_LT(CursorCount(), 0);
  page_->SetScript(nullptr);
  EXPECT_GE(CursorCount(), 0);
}

TEST_F(SyncScriptTest, TextAreasAndUnreadableScripts) {
  const std::string doc = tmp_.write("note.html", "<html><body>Tide tables</body></html>");
  Play("0 LOAD TXT 1 \"" + doc + "\" \"0 0 200 100\"\n0 SHOW TXT 1\n0 SETCAPTION TXT 1 \"x\"\n");
  auto* text = dynamic_cast<VText*>(page_->Script()->ObjectAt(ScriptObject::Text, 1));
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(Shown(text));
  EXPECT_TRUE(Errors().empty());  // text areas take other commands silently

  page_->SetScript(std::make_unique<SyncScript>(tmp_.file("missing.syn").c_str(), page_.get()));
  SyncScript* none = page_->Script();
  EXPECT_FALSE(none->Readable());
  none->Start();
  Run(100);
  EXPECT_FALSE(none->Ended());
}

// The sample web's presentation reads without an error entry.
TEST(SampleTour, TheShippedScriptReadsCleanly) {
  std::ifstream in(std::string(ZEMRA_SOURCE_DIR) + "/data/sample/media/moon-tour.syn.body",
                   std::ios::binary);
  ASSERT_TRUE(in);
  std::stringstream text;
  text << in.rdbuf();
  SyncScriptReader reader(text.str());
  int entries = 0;
  while (reader.ReadEntry() != ScriptCommand::End) {
    EXPECT_NE(reader.Entry().command, ScriptCommand::Error) << reader.Entry().errorText;
    ++entries;
  }
  EXPECT_EQ(entries, 13);
}

}  // namespace
}  // namespace pages_test
