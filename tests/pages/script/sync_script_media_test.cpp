// Sounds and videos of a script, through a media control interface the
// test plays: made, sized, played (the wait for a start does not count on
// the script clock), paused, stopped and changed.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "pages/media/support/media_objects_fixture.h"
#include "pages/media/vmci.h"
#include "pages/objects/vlabel.h"
#include "pages/picture/vimage.h"
#include "pages/script/support/script_fixture.h"
#include "store/cache/file_cache.h"

namespace pages_test {
namespace {

using Lines = std::vector<std::string>;

// A device that takes 300 ms of the page clock to start playing: every
// question for the mode moves the clock on by 100 ms.
class SlowStartMci : public ScriptedMci {
 public:
  MCIERROR SendString(const char* command, char* reply, UINT length) override {
    const std::string c = command ? command : "";
    const std::size_t blank = c.find(' ', 5);
    if (c.rfind("play ", 0) == 0 && c.find(" wait") == std::string::npos) {
      const MCIERROR e = ScriptedMci::SendString(command, reply, length);
      starting = c.substr(5, blank == std::string::npos ? std::string::npos : blank - 5);
      mode[starting] = "stopped";
      pending = startMs;
      return e;
    }
    if (c.rfind("status ", 0) == 0 && c.find(" mode") != std::string::npos && pending > 0) {
      ScriptTest::Ticks() += 100;
      pending -= 100;
      ++polls;
      if (pending <= 0) mode[starting] = "playing";
    }
    return ScriptedMci::SendString(command, reply, length);
  }

  int startMs = 300;
  int pending = 0;
  int polls = 0;
  std::string starting;
};

class SyncScriptMediaTest : public ScriptTest {
 protected:
  void SetUp() override {
    ScriptTest::SetUp();
    TheFileCache().clear();
    // The file cache hands out the local files the script names.
    TheFileCache().setDownloader([](const CString& key, CString& file) {
      if (!std::filesystem::exists(key.c_str())) return 0;
      file = key;
      return 1;
    });
    VMCI::ResetSharedState();
    SetMciPort(&mci_);
    mci_.StandardDevices();
  }
  void TearDown() override {
    page_.reset();
    SetMciPort(nullptr);
    VMCI::ResetSharedState();
    TheFileCache().clear();
    ScriptTest::TearDown();
  }
  std::string Wav(const std::string& name) {
    return tmp_.write(name, std::string("RIFF\x24\0\0\0WAVEfmt ", 16) + std::string(32, '\0'));
  }
  std::string Avi(const std::string& name) {
    return tmp_.write(name, std::string("RIFF\x24\0\0\0AVI LIST", 16) + std::string(32, '\0'));
  }
  VMCI* Media(ScriptObject kind, int id) const {
    return dynamic_cast<VMCI*>(page_->Script()->ObjectAt(kind, id));
  }

  SlowStartMci mci_;
};

TEST_F(SyncScriptMediaTest, APlayWaitsForItsStartOffTheScriptClock) {
  const std::string wav = Wav("bell.wav");
  SyncScript* script = Play("0 LOAD SND 1 \"" + wav + "\" \"0 0 1 1\"\n"
                            "100 PLAY SND 1\n"
                            "200 PAUSE SND 1\n"
                            "300 STOP SND 1\n");
  VMCI* sound = Media(ScriptObject::Sound, 1);
  ASSERT_NE(sound, nullptr);
  ASSERT_TRUE(sound->IsOpen()) << ::testing::PrintToString(LogLines());
  EXPECT_TRUE(sound->Has(VObject::kHidden));

  Run(100);
  EXPECT_GE(mci_.polls, 3);           // it waited for the device
  EXPECT_EQ(script->Elapsed(), 100u);  // and the wait did not count
  EXPECT_FALSE(sound->Has(VObject::kHidden));
  mci_.Take();
  Run(99);
  EXPECT_FALSE(mci_.Sent("stop"));
  Run(1);
  EXPECT_TRUE(mci_.Sent("stop"));  // a pause stops the device where it is
  EXPECT_EQ(sound->MediaState(), VMCI::kPaused);
  Run(100);
  EXPECT_EQ(sound->MediaState(), VMCI::kIdle);
  EXPECT_TRUE(Errors().empty());
}

TEST_F(SyncScriptMediaTest, APlayThatNeverStartsGivesUpAfterHalfASecond) {
  mci_.startMs = 100000;
  const std::string wav = Wav("bell.wav");
  SyncScript* script = Play("0 LOAD SND 1 \"" + wav + "\" \"0 0 1 1\"\n100 PLAY SND 1\n"
                            "200 SHOW BGR\n");
  Run(100);
  EXPECT_GE(mci_.polls, 5);
  EXPECT_LE(mci_.polls, 6);
  EXPECT_EQ(script->Elapsed(), 100u);
}

TEST_F(SyncScriptMediaTest, VideosTakeTheirOwnSizeWhenTheyCan) {
  const std::string avi = Avi("orbit.avi");
  mci_.source = "0 0 160 120";
  Play("0 LOAD VID 1 \"" + avi + "\" \"10 20 0 0\"\n"
       "0 MAKETOP VID 1\n"
       "0 MAKEBOTTOM VID 1\n"
       "0 SETMODE VID 1 ZOOM\n");
  VMCI* video = Media(ScriptObject::Video, 1);
  ASSERT_NE(video, nullptr);
  EXPECT_TRUE(video->IsVideo());
  EXPECT_EQ(Errors(), (Lines{"Command <MakeTop> doesn\xb4t exist for this objecttype",
                             "Command <MakeBottom> doesn\xb4t exist for this objecttype",
                             "Command doesn\xb4t exist for this objecttype"}));

  // A device that cannot tell the size.
  mci_.source = "0 0 0 0";
  page_->SetScript(nullptr);
  Play("0 LOAD VID 2 \"" + avi + "\" \"10 20 0 0\"\n");
  EXPECT_NE(Media(ScriptObject::Video, 2), nullptr);
  EXPECT_EQ(Errors().back(), "Videosize couldn\xb4t be evaluated automatically");
}

TEST_F(SyncScriptMediaTest, ChangingASoundOpensTheOtherFile) {
  const std::string one = Wav("one.wav"), two = Wav("two.wav");
  Play("0 LOAD SND 3 \"" + one + "\" \"0 0 1 1\"\n0 CHANGE SND 3 \"" + two + "\"\n"
       "0 PLAY SND 4\n");
  VMCI* sound = Media(ScriptObject::Sound, 3);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(sound->FileName(), two.c_str());
  EXPECT_EQ(mci_.Count("open"), 2);
  EXPECT_EQ(Errors(), Lines{"Object doesn\xb4t exist"});
}

// The page's background picture and toolbar belong to the page: a script
// neither loads nor removes them (the background takes another picture by
// CHANGE), while it places, stacks, shows and hides them; a sound the
// script made and removes gives its device back.
TEST_F(SyncScriptMediaTest, BackgroundAndToolbarAreThePagesOwn) {
  const std::string sky = Picture("sky.bmp", 16, 16);
  const std::string wav = Wav("bell.wav");
  const std::string refused = "invalid command or tokentype for background or toolbar";
  struct Case {
    const char* what;
    std::string script;
    Lines errors;
    std::function<void()> check;
  };
  const Case cases[] = {
      {"not loaded",
       "0 LOAD BGR \"" + sky + "\" \"0 0 5 5\"\n0 LOAD TBR \"" + sky + "\" \"0 0 5 5\"\n",
       {refused, refused},
       [&] { EXPECT_TRUE(background_->FileName().IsEmpty()); }},
      // Without an argument the next line's time stands where none may.
      {"not removed", "0 REMOVE BGR \"x\"\n0 REMOVE TBR\n10 HIDE TBR\n",
       {refused, "this objecttype must not have an Id : '10'"},
       [&] {
         EXPECT_EQ(page_->Contains(background_, true), background_);
         EXPECT_EQ(page_->Contains(toolbar_, true), toolbar_);
       }},
      {"the background changes its picture, the toolbar cannot",
       "0 CHANGE BGR \"" + sky + "\"\n0 CHANGE TBR \"" + sky + "\"\n",
       {"invalid command for toolbar"},
       [&] { EXPECT_EQ(background_->FileName(), sky.c_str()); }},
      {"placed, stacked, shown and hidden",
       "0 SETAREA TBR \"0 400 320 80\"\n0 MOVETO BGR \"10 20\"\n0 RESIZE BGR \"300 200\"\n"
       "0 SETMODE BGR ASPECTLIMIT\n0 SCROLLTO TBR \"5 5\"\n0 SETMODE TBR ZOOM\n"
       "0 MAKETOP BGR\n0 HIDE BGR\n0 SHOW TBR\n5000 SHOW BGR\n",
       {},
       [&] {
         const RECT t = toolbar_->Rect(), b = background_->Rect();
         EXPECT_EQ((std::vector<LONG>{t.left, t.top, t.right, t.bottom}), (std::vector<LONG>{0, 400, 320, 480}));
         // Moved to 10 20 and sized 300 x 200: the picture, held to its
         // own size, stands in the middle of that area.
         EXPECT_EQ((std::vector<LONG>{b.left, b.top, b.right, b.bottom}), (std::vector<LONG>{152, 112, 168, 128}));
         EXPECT_EQ(background_->Mode(), 'l');
         EXPECT_EQ(page_->LastChild(), background_);
         EXPECT_TRUE(background_->Has(VObject::kHidden));
         EXPECT_FALSE(toolbar_->Has(VObject::kHidden));
         EXPECT_FALSE(page_->Script()->Ended());
       }},
      {"a removed sound closes its device",
       "0 LOAD SND 1 \"" + wav + "\" \"0 0 1 1\"\n0 PLAY SND 1\n0 REMOVE SND 1\n0 REMOVE SND 1\n5000 SHOW BGR\n",
       {"Object doesn\xb4t exist"},
       [&] {
         EXPECT_EQ(Media(ScriptObject::Sound, 1), nullptr);
         EXPECT_TRUE(mci_.Sent("close "));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t before = Errors().size();
    mci_.Take();
    Play(c.script);
    const Lines all = Errors();
    EXPECT_EQ(Lines(all.begin() + static_cast<std::ptrdiff_t>(before), all.end()), c.errors);
    c.check();
  }

  // A page without them: the entries find no object.
  page_->SetScript(nullptr);
  page_->SetParts(nullptr, nullptr);
  const std::size_t before = Errors().size();
  Play("0 SHOW BGR\n0 MAKETOP TBR\n0 SETMODE BGR ZOOM\n0 CHANGE BGR \"" + sky + "\"\n");
  const Lines all = Errors();
  EXPECT_EQ(Lines(all.begin() + static_cast<std::ptrdiff_t>(before), all.end()),
            Lines(4, "Object doesn\xb4t exist"));
}

}  // namespace
}  // namespace pages_test
