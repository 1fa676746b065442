// The state that all media objects of the program share: the devices found,
// the last error and reply, the alias counter, the count of play-end
// notices (and of ends the objects saw themselves) and the audio switch.
#pragma once

#include <cstdint>
#include <vector>

#include "mfc/cstring.h"
#include "win/mci.h"

struct MediaGlobals {
  std::vector<CString> videoDevices;
  std::vector<CString> audioDevices;
  bool aviDriver = false;
  bool waveDriver = false;
  bool midiDriver = false;
  MCIERROR lastError = 0;
  CString lastReply;
  DWORD aliasCounter = 0;
  std::uint32_t notices = 0;
  bool audioMuted = false;
};

MediaGlobals& Media();

// The device names of the standard drivers.
inline constexpr const char* kAviDriver = "AVIVIDEO";
inline constexpr const char* kWaveDriver = "WAVEAUDIO";
inline constexpr const char* kMidiDriver = "SEQUENCER";
