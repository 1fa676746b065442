// Standard MIDI files, played by FluidSynth with a General MIDI sound font.
#pragma once

#include <memory>
#include <string>

#include "mci/audio_source.h"

namespace win::mci {

// The sound font used: ZEMRA_MCI_SOUNDFONT, else the first General MIDI
// font of the system that exists; "" when there is none.
std::string SoundFontPath();
// Whether MIDI files can be played (FluidSynth has a sound font).
bool MidiAvailable();
// Null when the file is no standard MIDI file or the synthesizer fails.
std::unique_ptr<AudioSource> OpenMidi(const std::string& hostPath);

}  // namespace win::mci
