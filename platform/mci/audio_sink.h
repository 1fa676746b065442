// Where the mixed sound goes: ALSA, a WAV file (for tests), or nowhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "win/types.h"

namespace win::mci {

// While only sound plays, the mixer is filled this often; a sink that plays
// from a buffer keeps a lead of several such periods, so that a late period
// does not run it dry.
constexpr DWORD kSoundPumpMs = 40;

class AudioSink {
 public:
  virtual ~AudioSink() = default;
  // Frames of the output format (audio_source.h), interleaved.
  virtual void Write(const std::int16_t* frames, std::size_t count) = 0;
  // How far ahead of the clock the mixer fills the sink: a device that
  // plays what it buffered needs sound before it is due.
  virtual DWORD LeadMs() const { return 0; }
};

// Discards the sound; the mixer still keeps time by the clock.
std::unique_ptr<AudioSink> MakeNullSink();
// Appends to a WAV file at the host path, whose header always tells the
// length written so far; null when the file cannot be made.
std::unique_ptr<AudioSink> MakeWavFileSink(const std::string& hostPath);
// The default ALSA playback device; null when there is none.
std::unique_ptr<AudioSink> MakeAlsaSink();

// The sink the environment asks for (win/mci.h, ZEMRA_MCI_AUDIO).
std::unique_ptr<AudioSink> ChooseAudioSink();

}  // namespace win::mci
