// Standard MIDI files played by FluidSynth with a General MIDI sound font.
#include <fluidsynth.h>

#include <algorithm>
#include <vector>

#include "mci/media/media_parts.h"
#include "mci/midi_timing.h"

namespace win::mci::media {

namespace {

// FluidSynth renders in blocks of this many frames.
constexpr int kFirstBlockFrames = 64;

void QuietenFluidSynth() {
  static const bool done = [] {
    for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
      fluid_set_log_function(level, nullptr, nullptr);
    return true;
  }();
  (void)done;
}
class MidiSource : public AudioSource {
 public:
  MidiSource(std::vector<char> bytes, MidiTiming timing) : bytes_(std::move(bytes)), timing_(timing) {}
  ~MidiSource() override {
    if (player_) {
      fluid_player_stop(player_);
      delete_fluid_player(player_);
    }
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
  }

  bool Start(const std::string& font) {
    settings_ = new_fluid_settings();
    if (!settings_) return false;
    // The player follows the sound rendered, not the wall clock: the
    // mixer decides when that sound is due.
    fluid_settings_setstr(settings_, "player.timing-source", "sample");
    fluid_settings_setnum(settings_, "synth.sample-rate", kOutputRate);
    fluid_settings_setint(settings_, "synth.cpu-cores", 1);
    synth_ = new_fluid_synth(settings_);
    if (!synth_ || fluid_synth_sfload(synth_, font.c_str(), 1) == FLUID_FAILED) return false;
    length_ = timing_.LengthMicros() * kOutputRate / 1000000;
    return Restart();
  }

  std::int64_t LengthFrames() const override { return length_; }

  bool Seek(std::int64_t frame) override {
    if (frame == cursor_) return true;
    if (!Restart()) return false;
    if (frame > 0) {
      // The player reads the file in its first block and refuses a seek
      // before that: one block is rendered (and dropped) first.
      std::int16_t block[2 * kFirstBlockFrames];
      fluid_synth_write_s16(synth_, kFirstBlockFrames, block, 0, kOutputChannels, block, 1, kOutputChannels);
      const std::int64_t tick = timing_.TickAt(frame * 1000000 / kOutputRate);
      if (tick > 0x7FFFFFFF || fluid_player_seek(player_, static_cast<int>(tick)) == FLUID_FAILED) return false;
    }
    cursor_ = frame;
    return true;
  }

  std::size_t Read(std::int16_t* out, std::size_t frames) override {
    const std::int64_t left = length_ - cursor_;
    if (left <= 0) return 0;
    const int n = static_cast<int>(std::min<std::int64_t>(left, static_cast<std::int64_t>(std::min<std::size_t>(frames, 1 << 20))));
    if (fluid_synth_write_s16(synth_, n, out, 0, kOutputChannels, out, 1, kOutputChannels) != FLUID_OK) return 0;
    cursor_ += n;
    return static_cast<std::size_t>(n);
  }

 private:
  bool Restart() {
    if (player_) {
      fluid_player_stop(player_);
      delete_fluid_player(player_);
      player_ = nullptr;
    }
    fluid_synth_system_reset(synth_);
    player_ = new_fluid_player(synth_);
    if (!player_) return false;
    if (fluid_player_add_mem(player_, bytes_.data(), bytes_.size()) != FLUID_OK) return false;
    if (fluid_player_play(player_) != FLUID_OK) return false;
    cursor_ = 0;
    return true;
  }

  std::vector<char> bytes_;
  MidiTiming timing_;
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  fluid_player_t* player_ = nullptr;
  std::int64_t length_ = 0;
  std::int64_t cursor_ = 0;
};

}  // namespace

std::unique_ptr<AudioSource> OpenMidiSynth(std::vector<char> bytes, const std::string& soundFont) {
  QuietenFluidSynth();
  const auto timing = MidiTiming::Read(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  if (!timing) return nullptr;
  auto source = std::make_unique<MidiSource>(std::move(bytes), *timing);
  if (!source->Start(soundFont)) return nullptr;
  return source;
}

}  // namespace win::mci::media
