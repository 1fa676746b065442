// The media object against a scripted media interface: what it sends, and
// how it reads the replies.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "display/headless.h"
#include "pages/media/support/media_objects_fixture.h"
#include "pages/media/vmci.h"
#include "pages/objects/background_sound.h"
#include "pages/style/property_table.h"
#include "pages/style/style_expressions.h"
#include "store/cache/file_cache.h"

namespace pages_test {
namespace {

class VmciTest : public MediaObjectTest {
 protected:
  // A sound or video on the host, made and initialised as a page does.
  VMCI* Add(const std::string& file, bool video, RECT r = RECT{0, 0, 200, 100}) {
    auto* m = new VMCI(r.left, r.top, r.right, r.bottom, file.c_str(), video);
    host_->AppendChild(m);
    m->Initialize();
    return m;
  }
  bool Logged(const std::string& line) {
    const auto lines = LogLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
};

TEST_F(VmciTest, DiscoveryWithoutDevicesWarnsAndRunsAgainForTheNextObject) {
  mci_.devices.clear();
  VMCI a(0, 0, 0, 0, "", false);
  VMCI b(0, 0, 0, 0, "", false);
  EXPECT_EQ(mci_.Count("sysinfo all quantity"), 2);
  EXPECT_TRUE(VMCI::VideoDevices().empty());
  EXPECT_TRUE(VMCI::AudioDevices().empty());
  for (const char* line : {"Warning: standard AVI driver AVIVIDEO not found",
                           "Warning: standard WAVE driver WAVEAUDIO not found",
                           "Warning: standard MIDI driver SEQUENCER not found"})
    EXPECT_TRUE(Logged(line)) << line;
}

TEST_F(VmciTest, DiscoveryKeepsTenDevicesOfEachKindAndSkipsThoseWithoutFiles) {
  mci_.devices.clear();
  mci_.devices.push_back({"cdaudio", false, false, true});
  for (int i = 0; i < 12; ++i) mci_.devices.push_back({"video" + std::to_string(i), true, true, true});
  for (int i = 0; i < 12; ++i) mci_.devices.push_back({"audio" + std::to_string(i), true, false, true});
  mci_.devices.push_back({"", true, false, true});
  VMCI a(0, 0, 0, 0, "", false);
  ASSERT_EQ(VMCI::VideoDevices().size(), 10u);
  ASSERT_EQ(VMCI::AudioDevices().size(), 10u);
  EXPECT_EQ(VMCI::VideoDevices()[9], "video9");
  EXPECT_EQ(VMCI::AudioDevices()[0], "audio0");
  EXPECT_TRUE(Logged("Too many MCI video devices. Device video11 ignored."));
  EXPECT_TRUE(Logged("Too many MCI audio devices. Device audio10 ignored."));
  EXPECT_FALSE(mci_.Sent("capability cdaudio has"));
  // Once devices are known, later objects do not ask again.
  mci_.Take();
  VMCI b(0, 0, 0, 0, "", false);
  EXPECT_FALSE(mci_.Sent("sysinfo"));
}

TEST_F(VmciTest, OpensEachKindWithTheDeviceItsFormatCallsFor) {
  struct Case {
    std::string file;
    bool video;
    std::string device;
  } cases[] = {{Wav(), false, "WAVEAUDIO"}, {Mid(), false, "SEQUENCER"}, {Avi(), true, "AVIVIDEO"}};
  VMCI discovery(0, 0, 0, 0, "", false);
  for (const Case& c : cases) {
    mci_.Take();
    VMCI* m = Add(c.file, c.video);
    SCOPED_TRACE(c.file);
    ASSERT_TRUE(m->IsOpen());
    EXPECT_EQ(m->GetDeviceType(), c.device.c_str());
    const auto sent = mci_.Take();
    const std::string alias = m->Alias().str();
    EXPECT_EQ(sent.at(0), "open " + c.file + " type " + c.device + " alias " + alias + " wait");
    EXPECT_TRUE(m->AudioSwitchable());
    if (c.video) {
      ASSERT_NE(m->VideoWindow(), nullptr);
      EXPECT_EQ(sent.at(1).rfind("window " + alias + " handle ", 0), 0u);
      EXPECT_EQ(sent.at(2), "put " + alias + " destination wait");
      EXPECT_EQ(sent.at(3), "set " + alias + " audio all on wait");
    }
  }
  // Aliases count up from 1 in eight hexadecimal digits.
  EXPECT_EQ(static_cast<VMCI*>(host_->FirstChild())->Alias(), "00000001");
}

TEST_F(VmciTest, AFileNameWithBlanksIsQuotedAndOpens) {
  const std::string file = Wav("my song.wav");
  VMCI* m = Add(file, false);
  EXPECT_TRUE(m->IsOpen());
  EXPECT_EQ(mci_.commands.at(mci_.commands.size() - 1),
            "open \"" + file + "\" type WAVEAUDIO alias 00000001 wait");
}

TEST_F(VmciTest, FallsBackToTheListedDevicesAndLogsWhenNoneOpens) {
  const std::string file = Wav();
  mci_.refusing = {"WAVEAUDIO"};
  VMCI* m = Add(file, false);
  ASSERT_TRUE(m->IsOpen());
  // The wave device refuses; the next sound device listed takes the file.
  EXPECT_EQ(m->GetDeviceType(), "Sequencer");
  mci_.refusing = {"WAVEAUDIO", "Sequencer"};
  auto* n = Add(Wav("b.wav"), false);
  EXPECT_FALSE(n->IsOpen());
  EXPECT_EQ(n->GetDeviceType(), "");
  EXPECT_TRUE(Logged("No MCI driver found that could open " + tmp_.file("b.wav")));
  EXPECT_EQ(n->LastError(), static_cast<MCIERROR>(MCIERR_INVALID_FILE));
}

TEST_F(VmciTest, TheFileCacheLockReleasedIsTheOneAcquiredOnce) {
  const std::string a = Wav("a.wav"), b = Wav("b.wav");
  FileCache& cache = TheFileCache();
  // Another holder (a text or a picture) has `a` locked already.
  ASSERT_FALSE(cache.acquire(a.c_str()).IsEmpty());
  VMCI* m = Add(a, false);
  EXPECT_EQ(cache.lockCount(a.c_str()), 2);
  m->SetFileName(b.c_str());
  EXPECT_EQ(cache.lockCount(a.c_str()), 1);
  EXPECT_EQ(cache.lockCount(b.c_str()), 1);
  m->SetFileName(b.c_str());  // the same name: nothing
  EXPECT_EQ(cache.lockCount(b.c_str()), 1);
  // A file the cache cannot supply takes no lock and gives none back.
  m->SetFileName(tmp_.file("missing.wav").c_str());
  EXPECT_EQ(m->MediaState(), VMCI::kCannotOpen);
  EXPECT_EQ(cache.lockCount(b.c_str()), 0);
  EXPECT_TRUE(Logged("cannot open audio/video " + tmp_.file("missing.wav")));
  m->Play();
  m->StopMedia();
  delete m;
  EXPECT_EQ(cache.lockCount(a.c_str()), 1);
  EXPECT_EQ(cache.lockCount(b.c_str()), 0);
}

TEST_F(VmciTest, PlaySendsTheRangeAndPauseResumesWhereItStopped) {
  VMCI* m = Add(Wav(), false);
  const std::string al = m->Alias().str();
  struct Step {
    LONG from, to;
    std::string play;
  } steps[] = {{0, VMCI::kToEnd, "play " + al + " from 0 notify"},
               {250, VMCI::kToEnd, "play " + al + " from 250 notify"},
               {250, 900, "play " + al + " from 250 to 900 notify"}};
  for (const Step& s : steps) {
    m->StopMedia();
    m->SetFrom(s.from);
    m->SetTo(s.to);
    mci_.Take();
    m->Play();
    const auto sent = mci_.Take();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], "set " + al + " time format milliseconds wait");
    EXPECT_EQ(sent[1], s.play);
    EXPECT_EQ(m->MediaState(), VMCI::kPlaySent);
  }
  // A second play while playing sends nothing more.
  m->Play();
  EXPECT_FALSE(mci_.Sent("play"));
  mci_.position = "420";
  m->Pause();
  EXPECT_EQ(m->PausePos(), 420);
  EXPECT_EQ(m->MediaState(), VMCI::kPaused);
  EXPECT_TRUE(mci_.Sent("stop " + al + " wait"));
  EXPECT_EQ(m->GetPosition(), 420);
  mci_.Take();
  m->Play();
  const auto resumed = mci_.Take();
  EXPECT_NE(std::find(resumed.begin(), resumed.end(), "seek " + al + " to 420 wait"), resumed.end());
  EXPECT_EQ(resumed.back(), "play " + al + " notify");
  // A seek to the end marker is never sent.
  mci_.Take();
  m->Seek(VMCI::kToEnd);
  EXPECT_TRUE(mci_.commands.empty());
}

TEST_F(VmciTest, ModeRepliesInEitherLanguageCountAsPlaying) {
  VMCI* m = Add(Wav(), false);
  const std::string al = m->Alias().str();
  for (const auto& [reply, playing] : std::vector<std::pair<std::string, bool>>{
           {"playing", true}, {"Wiedergabe", true}, {"stopped", false}, {"paused", false}}) {
    mci_.mode[al] = reply;
    EXPECT_EQ(m->IsPlaying(), playing) << reply;
  }
  mci_.answers["status " + al + " mode wait"] = {MCIERR_HARDWARE, ""};
  EXPECT_FALSE(m->IsPlaying());
  EXPECT_EQ(m->LastError(), static_cast<MCIERROR>(MCIERR_HARDWARE));
  EXPECT_TRUE(Logged("Error doing mci command: status " + al + " mode wait"));
  EXPECT_TRUE(Logged("MCI error 262: scripted error 262"));
  VMCI closed(0, 0, 0, 0, "", false);
  mci_.answers.clear();
  closed.SendCommand("sysinfo all quantity", false);
  EXPECT_EQ(closed.LastError(), VMCI::kNotOpenError);
}

TEST_F(VmciTest, MutedSoundsStayQuietAndMutedVideosPlayWithoutSound) {
  VMCI* sound = Add(Wav(), false);
  VMCI* video = Add(Avi(), true);
  EXPECT_TRUE(VMCI::ToggleAudioMute());
  EXPECT_TRUE(VMCI::IsAudioMuted());
  mci_.Take();
  sound->Play();
  EXPECT_FALSE(mci_.Sent("play"));
  EXPECT_EQ(sound->MediaState(), VMCI::kIdle);
  video->Play();
  const std::string al = video->Alias().str();
  EXPECT_TRUE(mci_.Sent("set " + al + " audio all off wait"));
  EXPECT_TRUE(mci_.Sent("play " + al + " from 0"));
  EXPECT_FALSE(VMCI::ToggleAudioMute());
  // The page's audio switch: a video is unmuted, a started sound plays.
  mci_.Take();
  sound->SetState(sound->State() | VObject::kStarted);
  PageEvent on(PageEvent::AudioOn);
  host_->HandleEvent(on);
  EXPECT_TRUE(mci_.Sent("set " + al + " audio all on wait"));
  EXPECT_TRUE(mci_.Sent("play " + sound->Alias().str() + " from 0"));
  PageEvent off(PageEvent::AudioOff);
  host_->HandleEvent(off);
  EXPECT_EQ(sound->MediaState(), VMCI::kIdle);
  EXPECT_TRUE(mci_.Sent("set " + al + " audio all off wait"));
}

TEST_F(VmciTest, TheLouderOfTwoSoundsKeepsTheOutput) {
  VMCI* low = Add(Wav("low.wav"), false);
  VMCI* high = Add(Wav("high.wav"), false);
  low->SetSoundPriority(1);
  high->SetSoundPriority(5);
  // The louder one plays; the quieter one does not start.
  high->Play();
  mci_.Take();
  low->Play();
  EXPECT_FALSE(mci_.Sent("play " + low->Alias().str()));
  EXPECT_EQ(low->MediaState(), VMCI::kIdle);
  EXPECT_EQ(high->MediaState(), VMCI::kPlaySent);
  // A louder newcomer stops the one that plays.
  high->StopMedia();
  low->Play();
  high->Play();
  EXPECT_EQ(low->MediaState(), VMCI::kIdle);
  EXPECT_TRUE(mci_.Sent("stop " + low->Alias().str() + " wait"));
  EXPECT_EQ(high->MediaState(), VMCI::kPlaySent);
}

TEST_F(VmciTest, ASynthesizerPlaysBesideAWaveSoundAndAVideoLosesOnlyItsSound) {
  VMCI* wave = Add(Wav(), false);
  VMCI* midi = Add(Mid(), false);
  VMCI* video = Add(Avi(), true, RECT{0, 100, 200, 200});
  wave->SetSoundPriority(5);
  wave->Play();
  midi->Play();
  EXPECT_EQ(wave->MediaState(), VMCI::kPlaySent);
  EXPECT_EQ(midi->MediaState(), VMCI::kPlaySent);
  mci_.Take();
  video->Play();
  const std::string al = video->Alias().str();
  EXPECT_TRUE(mci_.Sent("set " + al + " audio all off wait"));
  EXPECT_TRUE(mci_.Sent("play " + al + " from 0"));
  EXPECT_EQ(wave->MediaState(), VMCI::kPlaySent);
}

TEST_F(VmciTest, LoopsRunOnTheEndNoticeOrWhenTheDeviceIsAskedAgain) {
  struct Case {
    const char* how;
    bool notice;  // the device tells of the end; else it is only asked
  } cases[] = {{"the end notice", true}, {"asking after the poll time", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    VMCI* m = Add(Wav(), false);
    const std::string al = m->Alias().str();
    m->SetLoop(3);
    m->SetFrom(100);
    m->Play();
    int plays = 1;
    for (int round = 0; round < 10 && m->MediaState() != VMCI::kIdle; ++round) {
      Idle(1);
      EXPECT_EQ(m->MediaState(), VMCI::kPlaying);
      mci_.Take();
      if (c.notice) {
        mci_.End(al);
        PumpMessages();
        EXPECT_EQ(m->IdleWait(), 0u);
      } else {
        mci_.notifying.clear();
        mci_.End(al);
        // Before its time the device is not asked, and the page sleeps.
        Idle(1);
        EXPECT_FALSE(mci_.Sent("status " + al + " mode"));
        EXPECT_GT(m->IdleWait(), 0u);
        EXPECT_LE(m->IdleWait(), VMCI::kPollMs);
        AdvancePageClock(m->IdleWait());
      }
      Idle(1);
      plays += mci_.Count("play " + al + " from 100");
    }
    EXPECT_EQ(plays, 3);
    EXPECT_EQ(m->LoopCount(), 3);
    EXPECT_EQ(m->MediaState(), VMCI::kIdle);
    EXPECT_TRUE(mci_.Sent("seek " + al + " to 100 wait"));
    // Ended, it needs no more idle events.
    EXPECT_EQ(m->IdleWait(), VObject::kNoIdleWait);
    delete m;
  }
}

TEST_F(VmciTest, AMediumThatEndsBeforeTheFirstPollCountsAsEnded) {
  VMCI* m = Add(Wav(), false);
  const std::string al = m->Alias().str();
  m->SetLoop(2);
  // The device has already stopped by the time anyone asks, and says
  // nothing.
  mci_.answers["play " + al + " from 0 notify"] = {0, ""};
  m->Play();
  mci_.mode[al] = "stopped";
  mci_.Take();
  Idle(1);
  EXPECT_EQ(m->MediaState(), VMCI::kPlaySent);
  AdvancePageClock(VMCI::kPollMs);
  Idle(1);
  EXPECT_EQ(m->LoopCount(), 1);
  EXPECT_EQ(mci_.Count("play " + al + " from 0"), 1);
  // The background music repeats after a short medium too.
  VMCI* music = Add(Wav("music.wav"), false);
  SetBackgroundSound(music, "music.wav");
  const std::string mal = music->Alias().str();
  mci_.answers["play " + mal + " from 0 notify"] = {0, ""};
  music->Play();
  mci_.Take();
  for (int i = 0; i < 2; ++i) {
    AdvancePageClock(VMCI::kPollMs);
    Idle(1);
  }
  EXPECT_GE(mci_.Count("play " + mal + " from 0"), 1);
}

TEST_F(VmciTest, TheBackgroundMusicComesBackAsSoonAsALouderSoundEnds) {
  VMCI* music = Add(Wav("music.wav"), false);
  SetBackgroundSound(music, "music.wav");
  VMCI* loud = Add(Wav("loud.wav"), false);
  loud->SetSoundPriority(5);
  music->Play();
  Idle(1);
  loud->Play();
  EXPECT_EQ(music->MediaState(), VMCI::kPaused);
  // The music's cut play tells; it asks to play again and still loses.
  PumpMessages();
  Idle(1);
  EXPECT_EQ(music->MediaState(), VMCI::kPaused);
  EXPECT_EQ(loud->MediaState(), VMCI::kPlaying);
  EXPECT_GT(host_->IdleWait(), 0u);
  // The louder sound ends: the music plays on without waiting for a poll,
  // though it is asked before the louder sound sees its own end.
  mci_.Take();
  mci_.End(loud->Alias().str());
  PumpMessages();
  for (int i = 0; i < 3 && host_->IdleWait() == 0; ++i) Idle(1);
  EXPECT_EQ(loud->MediaState(), VMCI::kIdle);
  EXPECT_EQ(music->MediaState(), VMCI::kPlaySent);
  EXPECT_TRUE(mci_.Sent("play " + music->Alias().str() + " notify"));
}

TEST_F(VmciTest, LayoutFitsTheVideoByMode) {
  struct Case {
    int mode;
    std::string source;
    RECT expected;
  } cases[] = {
      {'z', "0 0 100 100", {0, 0, 200, 100}},
      {'c', "0 0 100 100", {50, 0, 150, 100}},
      {'c', "0 0 400 50", {0, 25, 200, 75}},
      {'a', "0 0 100 100", {50, 0, 150, 100}},
      {'a', "0 0 400 100", {0, 25, 200, 75}},
      // A source without a size has no proportions: the whole area.
      {'a', "0 0 0 0", {0, 0, 200, 100}},
      {'a', "0 0 0 50", {0, 0, 200, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, static_cast<char>(c.mode)) + " " + c.source);
    mci_.source = c.source;
    VMCI* m = Add(Avi(), true);
    m->SetVideoMode(c.mode);
    m->Layout();
    const RECT r = m->Rect();
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
    RECT w{};
    GetWindowRect(m->VideoWindow(), &w);
    EXPECT_EQ(w.right - w.left, c.expected.right - c.expected.left);
    EXPECT_TRUE(mci_.Sent("put " + m->Alias().str() + " destination wait"));
    delete m;
  }
  // Centred with an unknown size: the rectangle stays as it is.
  mci_.source = "unknown";
  VMCI* m = Add(Avi(), true, RECT{10, 10, 110, 60});
  EXPECT_EQ(m->Rect().left, 10);
  EXPECT_EQ(m->Rect().right, 110);
}

// The page hands clicks to its objects: one on a video must reach the
// page's window, not stay in the video's own.
TEST_F(VmciTest, AClickOnAVideoReachesThePageBeneath) {
  VMCI* m = Add(Avi(), true, RECT{20, 20, 120, 80});
  ASSERT_NE(m->VideoWindow(), nullptr);
  ASSERT_TRUE(IsWindowVisible(m->VideoWindow()));
  RECT w{};
  GetWindowRect(m->VideoWindow(), &w);
  win::headless::Click((w.left + w.right) / 2, (w.top + w.bottom) / 2);
  win::headless::DispatchPending();
  EXPECT_EQ(host_->ButtonUps(), 1);
}

TEST_F(VmciTest, StyleAndScriptAttributesReachThePlayer) {
  Styles("Modes = (ASPECTRATIO, CENTER, ZOOM)\n"
         "Movie = { Modes mode = CENTER; Value loop = 1; Boolean autoplay = TRUE; Value soundpriority = 0 }\n"
         "Movie Zoomed { mode = ZOOM; loop = 4; autoplay = FALSE; soundpriority = 7 }\n");
  mci_.source = "0 0 50 50";
  VMCI* m = Add(Avi(), true);
  m->SetStyle(InstantiateStruct(static_cast<const PropertyStruct*>(StyleTable().MemberByName("Zoomed"))));
  EXPECT_EQ(m->VideoMode(), VMCI::kModeZoom);
  EXPECT_EQ(m->Loops(), 4);
  EXPECT_FALSE(m->GetAutoplay());
  EXPECT_EQ(m->SoundPriority(), 7);
  EXPECT_EQ(m->Rect().right - m->Rect().left, 200);
  EXPECT_TRUE(m->SetStringAttribute("mode", "whatever"));
  EXPECT_EQ(m->VideoMode(), VMCI::kModeCenter);
  EXPECT_EQ(m->Rect().right - m->Rect().left, 50);
  EXPECT_TRUE(m->SetNumberAttribute("loop", 2));
  EXPECT_EQ(m->Loops(), 2);
  EXPECT_TRUE(m->SetRectAttribute("videopos", 0, 0, 100, 100));
  EXPECT_EQ(m->Rect().left, 25);
  EXPECT_TRUE(m->SetBoolAttribute("autoplay", true));
  EXPECT_TRUE(m->GetAutoplay());
  // A started video without autoplay shows its start frame.
  m->SetBoolAttribute("autoplay", false);
  m->SetFrom(12);
  mci_.Take();
  m->Start();
  const std::string al = m->Alias().str();
  EXPECT_TRUE(mci_.Sent("play " + al + " from 12 to 12 wait"));
  EXPECT_EQ(std::count(mci_.commands.begin(), mci_.commands.end(), "play " + al + " from 12 notify"), 0);
}

TEST_F(VmciTest, ABackgroundSoundIsForgottenWhenItGoes) {
  VMCI* m = Add(Wav(), false);
  SetBackgroundSound(m, "a.wav");
  delete m;
  EXPECT_EQ(BackgroundSound(), nullptr);
}

}  // namespace
}  // namespace pages_test
