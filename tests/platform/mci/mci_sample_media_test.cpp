// The sound and the movie of the bundled sample content open and play
// through the media interface as FFmpeg's own tools read them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/mci/support/media_fixture.h"
#include "mci/midi_source.h"
#include "support/tools.h"

namespace mci_test {
namespace {

const std::string kMedia = std::string(ZEMRA_SOURCE_DIR) + "/data/sample/media/";

std::string Ffprobe(const std::string& args) {
  std::string out;
  if (FILE* p = popen(("ffprobe -v error " + args).c_str(), "r")) {
    char buf[128];
    while (std::fgets(buf, sizeof buf, p)) out += buf;
    pclose(p);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

using MciSampleMedia = MediaTest;

double Rms(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += double(s[i]) * s[i];
  return std::sqrt(sum / double(std::max<std::size_t>(1, to - from)));
}

// The sample song: 4310 ticks at 480 a beat and 96 beats a minute, 5.612
// seconds less a microsecond.
constexpr long kSongMillis = 5611;

TEST_F(MciSampleMedia, TheSampleSoundPlaysAsFfmpegDecodesIt) {
  ZEMRA_SKIP_WITHOUT(testing_support::HaveTool("ffmpeg"), "ffmpeg is not installed");
  const std::string sound = kMedia + "signal.wav.body";
  const std::string reference = dir_.file("reference.wav");
  ASSERT_TRUE(RunQuiet("ffmpeg -nostdin -y -i '" + sound + "' -ac 2 -ar 44100 -c:a pcm_s16le '" + reference + "'"));
  const Pcm expected = ReadWav(reference);
  ASSERT_GT(expected.frames(), 0u);

  Send("open " + sound + " type waveaudio alias signal");
  EXPECT_EQ(Send("status signal length"), std::to_string(expected.frames() * 1000 / 44100));
  Send("play signal");
  Advance(1000);
  const Pcm out = Mixed();
  ASSERT_EQ(out.frames(), expected.frames());
  int worst = 0;
  for (std::size_t i = 0; i < out.samples.size(); ++i)
    worst = std::max(worst, std::abs(out.samples[i] - expected.samples[i]));
  EXPECT_LE(worst, 2);
}

TEST_F(MciSampleMedia, TheSampleMovieHasTheFramesAndSizeFfprobeCounts) {
  ZEMRA_SKIP_WITHOUT(testing_support::HaveTool("ffprobe"), "ffprobe is not installed");
  const std::string movie = kMedia + "orbit.avi.body";
  const std::string stream = "-select_streams v:0 -count_frames -of csv=p=0 -show_entries stream=";
  Send("open " + movie + " type avivideo alias orbit");
  EXPECT_EQ(Send("status orbit length"), Ffprobe(stream + "nb_read_frames '" + movie + "'"));
  EXPECT_EQ(Send("where orbit source"),
            "0 0 " + Ffprobe(stream + "width '" + movie + "'") + " " + Ffprobe(stream + "height '" + movie + "'"));
  Send("play orbit notify");
  Advance(5000);
  ASSERT_EQ(notifications().size(), 1u);
  EXPECT_EQ(Send("status orbit position"), Send("status orbit length"));
}

TEST_F(MciSampleMedia, TheSampleSongPlaysAsFluidSynthsOwnPlayerRendersIt) {
  ZEMRA_SKIP_WITHOUT(testing_support::HaveTool("fluidsynth"), "fluidsynth is not installed");
  ZEMRA_SKIP_WITHOUT(win::mci::MidiAvailable(), "no General MIDI sound font is installed");
  const std::string song = kMedia + "night-song.mid.body";
  const std::string reference = dir_.file("reference.wav");
  ASSERT_TRUE(RunQuiet("fluidsynth -ni -F '" + reference + "' -r 44100 -T wav -O s16 '" +
                       win::mci::SoundFontPath() + "' '" + song + "'"));
  const Pcm expected = ReadWav(reference);

  Send("open " + song + " type sequencer alias song");
  EXPECT_EQ(Send("status song length"), std::to_string(kSongMillis));
  EXPECT_EQ(Send("status song mode"), "stopped");
  Send("play song notify");
  // Mode and position follow the media clock while the song plays.
  Advance(2000);
  EXPECT_EQ(Send("status song mode"), "playing");
  EXPECT_EQ(Send("status song position"), "2000");
  Advance(4000);
  ASSERT_EQ(notifications().size(), 1u);
  EXPECT_EQ(Send("status song mode"), "stopped");
  EXPECT_EQ(Send("status song position"), std::to_string(kSongMillis));

  // As many samples as the song lasts; FluidSynth's player goes on a while
  // for the last notes to die away.
  const Pcm out = Mixed();
  const double frames = double(kSongMillis) * 44.1;
  EXPECT_NEAR(double(out.frames()), frames, 45.0);
  EXPECT_GE(expected.frames(), out.frames());
  // Not silent, and as loud as the reference in every tenth of a second.
  const std::size_t n = std::min(out.samples.size(), expected.samples.size());
  EXPECT_GT(Rms(out.samples, 0, n), 300.0);
  for (std::size_t at = 0; at + 8820 <= n; at += 8820) {
    const double a = Rms(out.samples, at, at + 8820);
    const double b = Rms(expected.samples, at, at + 8820);
    EXPECT_NEAR(a, b, 2 + 0.02 * b) << "at frame " << at / 2;
  }
}

TEST_F(MciSampleMedia, APausedSongKeepsItsPositionUntilPlayedOn) {
  ZEMRA_SKIP_WITHOUT(win::mci::MidiAvailable(), "no General MIDI sound font is installed");
  // Its name says nothing of its kind: the type names the device.
  Send("open " + kMedia + "night-song.mid.body type sequencer alias song");
  EXPECT_EQ(Send("capability song device type"), "sequencer");
  Send("play song");
  Advance(1000);
  Send("pause song");
  Advance(700);
  EXPECT_EQ(Send("status song mode"), "paused");
  EXPECT_EQ(Send("status song position"), "1000");
  Send("play song");
  Advance(300);
  EXPECT_EQ(Send("status song mode"), "playing");
  EXPECT_EQ(Send("status song position"), "1300");
  Send("stop song");
  EXPECT_EQ(Send("status song mode"), "stopped");
  // The sink heard the song only while it played.
  EXPECT_NEAR(double(Mixed().frames()), 1300 * 44.1, 45.0);
}

}  // namespace
}  // namespace mci_test
