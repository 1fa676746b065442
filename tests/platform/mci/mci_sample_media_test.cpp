// The sound and the movie of the bundled sample content open and play
// through the media interface as FFmpeg's own tools read them.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/mci/support/media_fixture.h"
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

}  // namespace
}  // namespace mci_test
