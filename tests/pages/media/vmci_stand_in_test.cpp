// The media object on the program's own media interface, with the sample
// content's sound and film: opened by their format, played on the test's
// clock, seen to end by the device's end notice, placed by the fit modes,
// and costing nothing while paused.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "pages/media/support/media_objects_fixture.h"
#include "mci/midi_source.h"
#include "pages/media/vmci.h"
#include "support/tools.h"
#include "support/user_clock.h"
#include "user/message_queue.h"
#include "win/mci.h"
#include "win/user.h"

namespace pages_test {
namespace {

const std::string kMedia = std::string(ZEMRA_SOURCE_DIR) + "/data/sample/media/";

class VmciStandInTest : public MediaObjectTest {
 protected:
  void SetUp() override {
    MediaObjectTest::SetUp();
    win::mci::ResetMedia();
    setenv("ZEMRA_MCI_AUDIO", "null", 1);
    unsetenv("ZEMRA_MCI_FRAMES");
    clock_.emplace();
    SetMciPort(nullptr);
    VMCI::ResetSharedState();
  }
  void TearDown() override {
    delete host_;
    host_ = nullptr;
    win::mci::ResetMedia();
    clock_.reset();
    unsetenv("ZEMRA_MCI_AUDIO");
    unsetenv("ZEMRA_MCI_FRAMES");
    MediaObjectTest::TearDown();
  }
  std::string Sample(const std::string& body, const std::string& as) {
    const std::string target = tmp_.file(as);
    std::filesystem::copy_file(kMedia + body, target);
    return target;
  }
  VMCI* Add(const std::string& file, bool video) {
    auto* m = new VMCI(0, 0, 200, 200, file.c_str(), video);
    host_->AppendChild(m);
    m->Initialize();
    return m;
  }
  // Moves the clocks (USER's and the page's) in small steps, running the
  // message loop as it goes.
  void Advance(DWORD ms) {
    while (ms > 0) {
      const DWORD step = ms < 10 ? ms : 10;
      clock_->Advance(step);
      AdvancePageClock(step);
      ms -= step;
      PumpMessages();
    }
  }
  long Length(VMCI* m) {
    m->SendCommand(("status " + m->Alias().str() + " length wait").c_str(), true);
    return std::strtol(VMCI::LastReply(), nullptr, 10);
  }
  // How long until a system timer (the media pump's) is due; kNoTimer
  // when none is set.
  static DWORD PumpTimerWait() { return win::user::TimeToNextTimer(nullptr, WM_SYSTIMER, WM_SYSTIMER); }
  std::optional<testing_support::TestUserClock> clock_;
};

TEST_F(VmciStandInTest, DiscoveryFindsTheStandardDrivers) {
  VMCI probe(0, 0, 0, 0, "", false);
  bool avi = false, wave = false;
  for (const CString& d : VMCI::VideoDevices()) avi |= d.CompareNoCase("AVIVIDEO") == 0;
  for (const CString& d : VMCI::AudioDevices()) wave |= d.CompareNoCase("WAVEAUDIO") == 0;
  EXPECT_TRUE(avi);
  EXPECT_TRUE(wave);
}

TEST_F(VmciStandInTest, TheSampleSoundWithABlankInItsNamePlaysEndsAndLoops) {
  VMCI* m = Add(Sample("signal.wav.body", "a signal.wav"), false);
  ASSERT_TRUE(m->IsOpen()) << m->LastError();
  EXPECT_EQ(m->GetDeviceType(), "WAVEAUDIO");
  const long length = Length(m);
  ASSERT_GT(length, 0);
  m->SetLoop(2);
  m->Play();
  Idle(1);
  EXPECT_EQ(m->MediaState(), VMCI::kPlaying);
  EXPECT_TRUE(m->IsPlaying());
  // Playing, the page may sleep: nothing is due before the poll time.
  EXPECT_GT(host_->IdleWait(), 0u);
  EXPECT_LE(host_->IdleWait(), VMCI::kPollMs);
  // The first play ends; the device's notice has the next idle event see
  // it, and the sound plays again.
  Advance(static_cast<DWORD>(length) + 20);
  EXPECT_FALSE(m->IsPlaying());
  EXPECT_EQ(host_->IdleWait(), 0u);
  Idle(1);
  EXPECT_EQ(m->LoopCount(), 1);
  EXPECT_TRUE(m->IsPlaying());
  Advance(static_cast<DWORD>(length) + 20);
  Idle(1);
  EXPECT_EQ(m->LoopCount(), 2);
  EXPECT_EQ(m->MediaState(), VMCI::kIdle);
  EXPECT_EQ(host_->IdleWait(), VObject::kNoIdleWait);
  EXPECT_EQ(m->LastError(), 0u);
}

TEST_F(VmciStandInTest, TheSampleSongPlaysOnTheSequencerAndEnds) {
  ZEMRA_SKIP_WITHOUT(win::mci::MidiAvailable(), "no General MIDI sound font is installed");
  VMCI* m = Add(Sample("night-song.mid.body", "night song.mid"), false);
  ASSERT_TRUE(m->IsOpen()) << m->LastError();
  EXPECT_EQ(m->GetDeviceType(), "SEQUENCER");
  const long length = Length(m);
  ASSERT_GT(length, 1000);
  m->Play();
  Advance(1000);
  EXPECT_TRUE(m->IsPlaying());
  EXPECT_EQ(m->GetPosition(), 1000);
  Advance(static_cast<DWORD>(length));
  EXPECT_FALSE(m->IsPlaying());
  Idle(1);
  EXPECT_EQ(m->MediaState(), VMCI::kIdle);
  EXPECT_EQ(m->LastError(), 0u);
}

TEST_F(VmciStandInTest, TheLouderSoundStopsTheOtherAndAMutedOneStaysQuiet) {
  VMCI* low = Add(Sample("signal.wav.body", "low.wav"), false);
  VMCI* high = Add(Sample("signal.wav.body", "high.wav"), false);
  low->SetSoundPriority(1);
  high->SetSoundPriority(2);
  low->Play();
  Advance(10);
  EXPECT_TRUE(low->IsPlaying());
  high->Play();
  Advance(10);
  EXPECT_TRUE(high->IsPlaying());
  EXPECT_FALSE(low->IsPlaying());
  EXPECT_EQ(low->MediaState(), VMCI::kIdle);
  high->StopMedia();
  VMCI::ToggleAudioMute();
  low->Play();
  Advance(10);
  EXPECT_FALSE(low->IsPlaying());
  VMCI::ToggleAudioMute();
}

TEST_F(VmciStandInTest, TheSampleFilmFitsItsAreaByModeAndShowsFrames) {
  const std::string frames = tmp_.file("frames");
  std::filesystem::create_directories(frames);
  setenv("ZEMRA_MCI_FRAMES", frames.c_str(), 1);
  VMCI* m = Add(Sample("orbit.avi.body", "orbit.avi"), true);
  ASSERT_TRUE(m->IsOpen()) << m->LastError();
  EXPECT_EQ(m->GetDeviceType(), "AVIVIDEO");
  int w = 0, h = 0;
  ASSERT_TRUE(m->GetSourceSize(&w, &h));
  ASSERT_GT(w, 0);
  ASSERT_GT(h, 0);
  m->SetVideoMode(VMCI::kModeZoom);
  EXPECT_EQ(m->Rect().right - m->Rect().left, 200);
  EXPECT_EQ(m->Rect().bottom - m->Rect().top, 200);
  m->SetVideoMode(VMCI::kModeAspect);
  const RECT r = m->Rect();
  const int rw = r.right - r.left, rh = r.bottom - r.top;
  EXPECT_TRUE(rw == 200 || rh == 200);
  EXPECT_LE(std::abs(rw * h - rh * w), w + h);  // the film's proportions, to a pixel
  m->Play();
  Advance(200);
  Idle(1);
  EXPECT_EQ(m->MediaState(), VMCI::kPlaying);
  EXPECT_FALSE(std::filesystem::is_empty(frames));
  // Playing, the page needs its idle events and the device its pump.
  EXPECT_TRUE(host_->WantsIdle());
  EXPECT_NE(PumpTimerWait(), win::user::kNoTimer);
  m->Pause();
  EXPECT_FALSE(m->IsPlaying());
  EXPECT_GT(m->PausePos(), 0);
  // Paused, nothing wakes the program.
  EXPECT_FALSE(host_->WantsIdle());
  EXPECT_EQ(PumpTimerWait(), win::user::kNoTimer);
}

}  // namespace
}  // namespace pages_test
