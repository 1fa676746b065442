// MIDI files: their timing read from the file, and their sound played by
// FluidSynth through the command strings, compared with what FluidSynth's
// own command-line player renders of the same file.
#include <gtest/gtest.h>

#include <cmath>

#include "mci/midi_source.h"
#include "mci/midi_timing.h"
#include "platform/mci/support/media_fixture.h"
#include "support/tools.h"

namespace mci_test {
namespace {

using win::mci::MidiTiming;

// A standard MIDI file of one track: header, then "MTrk" with `events`.
std::string Smf(std::uint16_t division, const std::string& events, std::uint16_t format = 0) {
  std::string s = "MThd";
  s += std::string("\0\0\0\x06", 4);
  s.push_back(static_cast<char>(format >> 8));
  s.push_back(static_cast<char>(format));
  s += std::string("\0\x01", 2);
  s.push_back(static_cast<char>(division >> 8));
  s.push_back(static_cast<char>(division));
  s += "MTrk";
  const std::uint32_t n = static_cast<std::uint32_t>(events.size());
  for (int i = 3; i >= 0; --i) s.push_back(static_cast<char>(n >> (8 * i)));
  return s + events;
}

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int v : b) s.push_back(static_cast<char>(v));
  return s;
}

const std::string kEnd = Bytes({0x00, 0xFF, 0x2F, 0x00});
// Tempo 250000 us per quarter note (240 beats a minute).
const std::string kFastTempo = Bytes({0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90});

struct TimingCase {
  const char* what;
  std::string file;
  std::int64_t lengthMicros;  // -1: not a MIDI file
};

TEST(MidiTiming, LengthFromTicksTemposAndSmpte) {
  const TimingCase cases[] = {
      {"one quarter at the default tempo", Smf(480, Bytes({0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0}) + kEnd),
       500000},
      {"running status", Smf(480, Bytes({0x00, 0x90, 60, 100, 0x83, 0x60, 60, 0}) + kEnd), 500000},
      {"a tempo change half-way",
       Smf(480, Bytes({0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0}) +
                    Bytes({0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90}) + Bytes({0x83, 0x60, 0x90, 62, 1}) + kEnd),
       750000},
      {"SMPTE: 25 frames of 40 ticks", Smf(0xE728, Bytes({0x83, 0x74, 0x90, 60, 100}) + kEnd), 500000},
      {"sysex and meta text skipped",
       Smf(96, Bytes({0x00, 0xF0, 0x03, 1, 2, 0xF7, 0x00, 0xFF, 0x01, 0x02, 'h', 'i', 0x60, 0xC0, 5}) + kEnd),
       500000},
      {"a track cut short ends where the bytes end", Smf(480, Bytes({0x00, 0x90, 60, 100, 0x83, 0x60, 0x80})),
       500000},
      {"not a MIDI file", "RIFF....WAVEfmt ", -1},
      {"division 0", Smf(0, kEnd), -1},
      {"header only", Smf(480, "").substr(0, 14), -1},
  };
  for (const TimingCase& c : cases) {
    const auto t = MidiTiming::Read(reinterpret_cast<const std::uint8_t*>(c.file.data()), c.file.size());
    if (c.lengthMicros < 0) {
      EXPECT_FALSE(t) << c.what;
      continue;
    }
    ASSERT_TRUE(t) << c.what;
    EXPECT_EQ(t->LengthMicros(), c.lengthMicros) << c.what;
  }
}

TEST(MidiTiming, TickAtIsTheInverseOfMicrosAt) {
  const std::string file = Smf(480, Bytes({0x83, 0x60, 0x90, 60, 100}) + kFastTempo + Bytes({0x87, 0x40, 0x80, 60, 0}) + kEnd);
  const auto t = MidiTiming::Read(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
  ASSERT_TRUE(t);
  EXPECT_EQ(t->lastTick(), 480 + 960);
  EXPECT_EQ(t->LengthMicros(), 500000 + 500000);
  for (std::int64_t tick : {0, 1, 240, 480, 481, 720, 1440}) EXPECT_EQ(t->TickAt(t->MicrosAt(tick)), tick) << tick;
}

using MciMidi = MediaTest;

// Two notes of a quarter each at 120 beats a minute: one second.
std::string TwoNotes() {
  return Smf(480, Bytes({0x00, 0xC0, 0, 0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0, 0x00, 0x90, 67, 100, 0x83,
                         0x60, 0x80, 67, 0}) +
                      kEnd);
}

double Rms(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += double(s[i]) * s[i];
  return std::sqrt(sum / double(std::max<std::size_t>(1, to - from)));
}

TEST_F(MciMidi, PlaysAsFluidSynthsOwnPlayerRendersIt) {
  ZEMRA_SKIP_WITHOUT(testing_support::HaveTool("fluidsynth"), "fluidsynth is not installed");
  ZEMRA_SKIP_WITHOUT(win::mci::MidiAvailable(), "no General MIDI sound font is installed");
  const std::string midi = dir_.write("tune.mid", TwoNotes());
  const std::string reference = dir_.file("reference.wav");
  ASSERT_TRUE(RunQuiet("fluidsynth -ni -F '" + reference + "' -r 44100 -T wav -O s16 '" +
                       win::mci::SoundFontPath() + "' '" + midi + "'"));
  const Pcm expected = ReadWav(reference);
  ASSERT_GT(expected.frames(), 40000u);

  Send("open " + midi + " type sequencer alias tune wait");
  EXPECT_EQ(Send("status tune length"), "1000");
  Send("play tune notify");
  Advance(500);
  EXPECT_EQ(Send("status tune position"), "500");
  Advance(520);
  ASSERT_EQ(notifications().size(), 1u);
  const Pcm out = Mixed();
  ASSERT_EQ(out.frames(), 44100u);
  // The same notes at the same moments: the loudness of every 10 ms of
  // the two renderings agrees (dithering makes single samples differ).
  const std::size_t n = std::min(out.samples.size(), expected.samples.size());
  for (std::size_t at = 0; at + 882 <= n; at += 882) {
    const double a = Rms(out.samples, at, at + 882);
    const double b = Rms(expected.samples, at, at + 882);
    EXPECT_NEAR(a, b, 2 + 0.02 * b) << "at frame " << at / 2;
  }
  EXPECT_GT(Rms(out.samples, 0, n), 100.0);
}

TEST_F(MciMidi, SeekingIntoASongPlaysFromThere) {
  ZEMRA_SKIP_WITHOUT(win::mci::MidiAvailable(), "no General MIDI sound font is installed");
  const std::string midi = dir_.write("tune.mid", TwoNotes());
  Send("open " + midi + " alias tune");
  Send("play tune from 500");
  Advance(100);
  EXPECT_EQ(Send("status tune position"), "600");
  Advance(500);
  EXPECT_EQ(Send("status tune mode"), "stopped");
  const Pcm out = Mixed();
  EXPECT_EQ(out.frames(), 22050u);
  EXPECT_GT(Rms(out.samples, 0, out.samples.size()), 100.0);  // the second note sounds
  Send("open " + dir_.write("junk.mid", "MThd but nothing more") + " alias junk", MCIERR_INVALID_FILE);
}

}  // namespace
}  // namespace mci_test
