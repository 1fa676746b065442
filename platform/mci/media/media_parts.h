// The parts of the media module, for its entry.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "mci/audio_sink.h"
#include "mci/audio_source.h"

namespace win::mci::media {

// A standard MIDI file played with the sound font; null when it is none or
// the synthesizer fails.
std::unique_ptr<AudioSource> OpenMidiSynth(std::vector<char> bytes, const std::string& soundFont);
// The default ALSA playback device; null when there is none.
std::unique_ptr<AudioSink> OpenAlsa();

}  // namespace win::mci::media
