// Adds up the sound of every playing device and hands it to the sink, as
// much as the clock says is due (plus the sink's lead).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "mci/audio_sink.h"
#include "mci/audio_source.h"
#include "win/types.h"

namespace win::mci {

// One device's sound while it plays: `remaining` frames from its source.
struct Voice {
  AudioSource* source = nullptr;
  std::int64_t remaining = 0;
  bool muted = false;  // read (so that it keeps time) but not heard
};

class Mixer {
 public:
  // Adds a voice that starts sounding with the next frames due.
  void Start(const std::shared_ptr<Voice>& voice, DWORD now);
  // Takes the voices reading `source` out at once (stop, seek, close).
  void StopSource(const AudioSource* source);
  // Mixes and writes the frames due at `now`. A voice whose device's clock
  // ran out may still have a few frames to give; they follow, so that
  // nothing of a medium is cut off.
  void Pump(DWORD now);
  bool Busy() const { return !voices_.empty(); }
  // Drops every voice and the sink; the next voice chooses a sink again.
  void Reset();

 private:
  void Mix(std::size_t frames);

  std::unique_ptr<AudioSink> sink_;
  std::vector<std::shared_ptr<Voice>> voices_;
  DWORD anchor_ = 0;         // the clock when the first of the voices started
  std::int64_t written_ = 0;  // frames given to the sink since then
  std::vector<std::int32_t> sum_;
  std::vector<std::int16_t> read_;
  std::vector<std::int16_t> out_;
};

}  // namespace win::mci
