// Sound files through the command strings, on a clock the test moves: what
// "status" says, when notifications come, and the sound that reaches the
// output, compared with the file and with FFmpeg's own decoding of it.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "platform/mci/support/media_fixture.h"
#include "support/tools.h"

namespace mci_test {
namespace {

using MciAudio = MediaTest;

// A stereo 44100 Hz sound whose every sample tells where it is: the sink's
// output can be matched to the file sample for sample.
std::int16_t Ramp(std::size_t frame, int channel) {
  return static_cast<std::int16_t>(channel ? -static_cast<int>(frame % 30000) : static_cast<int>(frame % 30000));
}
std::int16_t Level1000(std::size_t, int) { return 1000; }
std::int16_t Level2000(std::size_t, int) { return 2000; }

constexpr std::size_t kHalfSecond = 22050;

class MciAudioFile : public MediaTest {
 protected:
  void SetUp() override {
    MediaTest::SetUp();
    source_ = MakePcm(44100, 2, kHalfSecond, Ramp);
    path_ = dir_.file("ramp.wav");
    WriteWav(path_, source_);
  }
  Pcm source_;
  std::string path_;
};

TEST_F(MciAudioFile, PlaysByTheClockAndNotifiesAtTheEnd) {
  const std::string id = Send("open " + path_ + " type waveaudio alias snd wait");
  EXPECT_EQ(mciGetDeviceID("SND"), static_cast<MCIDEVICEID>(std::stoul(id)));
  Send("set snd time format milliseconds wait");
  EXPECT_EQ(Send("status snd length wait"), "500");
  EXPECT_EQ(Send("status snd mode wait"), "stopped");
  EXPECT_EQ(Send("status snd time format"), "milliseconds");
  Send("play snd notify");
  EXPECT_EQ(Send("status snd mode wait"), "playing");
  EXPECT_EQ(Send("status snd position wait"), "0");
  Advance(200);
  EXPECT_EQ(Send("status snd position wait"), "200");
  EXPECT_TRUE(notifications().empty());
  Advance(299);
  EXPECT_EQ(Send("status snd mode wait"), "playing");
  // The message loop alone brings the end: the media's timer looks at
  // the clock every few milliseconds.
  Advance(20);
  ASSERT_EQ(notifications().size(), 1u);
  EXPECT_EQ(notifications()[0].flag, static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL));
  EXPECT_EQ(notifications()[0].device, static_cast<LPARAM>(std::stoul(id)));
  EXPECT_EQ(Send("status snd mode wait"), "stopped");
  EXPECT_EQ(Send("status snd position wait"), "500");
  // A play at the end plays nothing and is done at once.
  Send("play snd notify");
  RunMessages();
  EXPECT_EQ(notifications().size(), 2u);
  Send("close snd wait");
  Send("status snd mode", MCIERR_INVALID_DEVICE_NAME);
}

TEST_F(MciAudioFile, TheOutputIsTheFileSampleForSample) {
  Send("open " + path_ + " type waveaudio alias snd wait");
  Send("play snd from 0");
  Advance(700);
  EXPECT_EQ(Send("status snd mode"), "stopped");
  const Pcm out = Mixed();
  ASSERT_EQ(out.rate, 44100);
  ASSERT_EQ(out.channels, 2);
  ASSERT_EQ(out.frames(), source_.frames());
  EXPECT_EQ(out.samples, source_.samples);
}

TEST_F(MciAudioFile, StopKeepsThePlaceAndPlayGoesOnFromIt) {
  Send("open " + path_ + " type waveaudio alias snd");
  Send("play snd");
  Advance(100);
  Send("stop snd wait");
  EXPECT_EQ(Send("status snd mode"), "stopped");
  Advance(1000);  // time passes while stopped: nothing moves, nothing sounds
  EXPECT_EQ(Send("status snd position"), "100");
  Send("play snd");
  Advance(400);
  EXPECT_EQ(Send("status snd position"), "500");
  // Nothing lost and nothing twice across the stop.
  EXPECT_EQ(Mixed().samples, source_.samples);
}

TEST_F(MciAudioFile, PauseAndResume) {
  Send("open " + path_ + " type waveaudio alias snd");
  Send("play snd");
  Advance(150);
  Send("pause snd");
  EXPECT_EQ(Send("status snd mode"), "paused");
  Advance(500);
  EXPECT_EQ(Send("status snd position"), "150");
  Send("resume snd");
  EXPECT_EQ(Send("status snd mode"), "playing");
  Advance(400);
  EXPECT_EQ(Send("status snd mode"), "stopped");
  EXPECT_EQ(Mixed().samples, source_.samples);
  Send("resume snd", MCIERR_NONAPPLICABLE_FUNCTION);
}

TEST_F(MciAudioFile, PlayFromToGivesThatStretchOnly) {
  Send("open " + path_ + " type waveaudio alias snd");
  Send("play snd from 100 to 300 notify");
  Advance(150);
  EXPECT_EQ(Send("status snd position"), "250");
  Advance(100);
  EXPECT_EQ(Send("status snd position"), "300");
  EXPECT_EQ(Send("status snd mode"), "stopped");
  const Pcm out = Mixed();
  const std::vector<std::int16_t> stretch(source_.samples.begin() + 2 * 4410, source_.samples.begin() + 2 * 13230);
  EXPECT_EQ(out.samples, stretch);
}

TEST_F(MciAudioFile, SeekAndRangeErrors) {
  Send("open " + path_ + " type waveaudio alias snd");
  struct CommandCase {
    const char* command;
    MCIERROR error;
  };
  const CommandCase cases[] = {
      {"seek snd to 250 wait", 0},         {"seek snd to 501", MCIERR_OUTOFRANGE},
      {"seek snd to -1", MCIERR_BAD_INTEGER}, {"seek snd", MCIERR_MISSING_PARAMETER},
      {"seek snd to", MCIERR_MISSING_PARAMETER}, {"play snd from 400 to 100", MCIERR_OUTOFRANGE},
      {"play snd from 600", MCIERR_OUTOFRANGE}, {"play snd to 99999999999", MCIERR_BAD_INTEGER},
      {"play snd from 1 from 2", MCIERR_DUPLICATE_FLAGS}, {"play snd backwards", MCIERR_UNRECOGNIZED_KEYWORD},
      {"set snd time format frames", MCIERR_BAD_TIME_FORMAT}, {"set snd time format fortnights", MCIERR_BAD_TIME_FORMAT},
      {"set snd audio all sideways", MCIERR_BAD_CONSTANT}, {"where snd source", MCIERR_UNSUPPORTED_FUNCTION},
      {"status snd colour", MCIERR_UNRECOGNIZED_KEYWORD},
  };
  for (const CommandCase& c : cases) Send(c.command, c.error);
  EXPECT_EQ(Send("status snd position"), "250");
  Send("seek snd to end");
  EXPECT_EQ(Send("status snd position"), "500");
  Send("seek snd to start");
  EXPECT_EQ(Send("status snd position"), "0");
}

TEST_F(MciAudioFile, AnInterruptedPlayTellsItsWindowWhy) {
  Send("open " + path_ + " type waveaudio alias snd");
  Send("play snd notify");
  Send("play snd from 0 notify");  // replaces the first
  Advance(50);
  Send("stop snd");                // ends the second early
  Send("play snd notify");
  Send("seek snd to 10");          // a seek ends it as well
  Send("play snd notify");
  Send("close snd");
  RunMessages();
  std::vector<WPARAM> flags;
  for (const Notification& n : notifications()) flags.push_back(n.flag);
  EXPECT_EQ(flags, (std::vector<WPARAM>{MCI_NOTIFY_SUPERSEDED, MCI_NOTIFY_ABORTED, MCI_NOTIFY_ABORTED,
                                         MCI_NOTIFY_ABORTED}));
}

TEST_F(MciAudioFile, FileNamesWithBlanksOpenQuotedOrBare) {
  const std::string spaced = dir_.file("a name with blanks.wav");
  WriteWav(spaced, source_);
  Send("open " + spaced + " type waveaudio alias bare wait");
  Send("open \"" + spaced + "\" type waveaudio alias quoted wait");
  // Without a type the extension chooses the device; without an alias the
  // name is the file's.
  Send("open " + spaced);
  EXPECT_EQ(Send("status \"" + spaced + "\" length"), "500");
  Send("open " + spaced, MCIERR_DEVICE_OPEN);
  Send("open " + path_ + " alias BARE", MCIERR_DUPLICATE_ALIAS);
  Send("open waveaudio!" + path_ + " alias bang");
  EXPECT_EQ(Send("sysinfo all quantity open"), "4");
  EXPECT_EQ(Send("sysinfo waveaudio name 4 open"), "bang");
  EXPECT_EQ(Send("sysinfo waveaudio name 3 open"), spaced);
  Send("close all wait");
  EXPECT_EQ(Send("sysinfo all quantity open"), "0");
}

TEST_F(MciAudioFile, ANameIsAFileNeverAUrl) {
  // Names that FFmpeg would take for its protocols ("pipe:" reads standard
  // input, "concat:" joins files) name files here, in the current folder.
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir_.path());
  WriteWav("pipe:0", source_);
  Send("open pipe:0 type waveaudio alias p");
  EXPECT_EQ(Send("status p length"), "500");
  Send("open \"concat:ramp.wav|ramp.wav\" type waveaudio alias c", MCIERR_FILE_NOT_FOUND);
  std::filesystem::current_path(before);
}

TEST_F(MciAudioFile, ADamagedFileDoesNotOpen) {
  const std::string broken = dir_.write("broken.wav", "RIFF\x10\0\0\0WAVEfmt garbage that ends here");
  Send("open " + broken + " type waveaudio alias b", MCIERR_INVALID_FILE);
  Send("open " + path_ + " type avivideo alias v", MCIERR_INVALID_FILE);  // sound only: no pictures
  EXPECT_EQ(Send("sysinfo all quantity open"), "0");
}

TEST_F(MciAudio, TwoSoundsAtOnceAreAddedUpAndOneCanBeSilenced) {
  WriteWav(dir_.file("a.wav"), MakePcm(44100, 2, 4410, Level1000));  // 100 ms
  WriteWav(dir_.file("b.wav"), MakePcm(44100, 2, 4410, Level2000));
  Send("open " + dir_.file("a.wav") + " alias a");
  Send("open " + dir_.file("b.wav") + " alias b");
  Send("play a");
  Send("play b");
  Advance(200);
  Pcm out = Mixed();
  ASSERT_EQ(out.frames(), 4410u);
  for (std::int16_t s : out.samples) ASSERT_EQ(s, 3000);

  // Silenced sound keeps its time but is not heard.
  std::remove(SinkPath().c_str());
  win::mci::ResetMedia();
  Send("open " + dir_.file("a.wav") + " alias a");
  Send("open " + dir_.file("b.wav") + " alias b");
  Send("set b audio all off wait");
  Send("play a");
  Send("play b");
  Advance(50);
  EXPECT_EQ(Send("status b position"), "50");
  Advance(100);
  out = Mixed();
  ASSERT_EQ(out.frames(), 4410u);
  for (std::int16_t s : out.samples) ASSERT_EQ(s, 1000);
}

TEST_F(MciAudio, ASoundOfAnotherRateAndLayoutMatchesFfmpegsDecoding) {
  ZEMRA_SKIP_WITHOUT(testing_support::HaveTool("ffmpeg"), "ffmpeg is not installed");
  const Pcm mono = MakePcm(22050, 1, 11025, [](std::size_t f, int) {
    return static_cast<std::int16_t>(8000 * std::sin(static_cast<double>(f) * 0.05));
  });
  const std::string in = dir_.file("mono.wav");
  WriteWav(in, mono);
  const std::string reference = dir_.file("reference.wav");
  ASSERT_TRUE(RunQuiet("ffmpeg -nostdin -y -i '" + in + "' -ac 2 -ar 44100 -c:a pcm_s16le '" + reference + "'"));
  const Pcm expected = ReadWav(reference);
  ASSERT_EQ(expected.frames(), 22050u);

  Send("open " + in + " alias m");
  EXPECT_EQ(Send("status m length"), "500");
  Send("play m");
  Advance(600);
  const Pcm out = Mixed();
  ASSERT_EQ(out.frames(), expected.frames());
  int worst = 0;
  for (std::size_t i = 0; i < out.samples.size(); ++i)
    worst = std::max(worst, std::abs(out.samples[i] - expected.samples[i]));
  EXPECT_LE(worst, 2);
}

}  // namespace
}  // namespace mci_test
