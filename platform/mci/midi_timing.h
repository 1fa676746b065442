// The timing of a standard MIDI file: its ticks per quarter note or per
// SMPTE frame, its tempo changes and its last event, giving its length and
// the tick at a time. FluidSynth plays the notes; this reads only what it
// does not tell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace win::mci {

// Fixed values of the file format.
enum MidiFormat : std::uint32_t {
  kMidiHeaderBytes = 6,           // format, track count, division
  kMidiDefaultTempo = 500000,     // microseconds per quarter note
  kMidiMetaEvent = 0xFF,
  kMidiMetaTempo = 0x51,
  kMidiMetaEndOfTrack = 0x2F,
  kMidiSysEx = 0xF0,
  kMidiSysExContinued = 0xF7,
};

struct MidiTempo {
  std::int64_t tick;
  std::uint32_t microsPerQuarter;
};

class MidiTiming {
 public:
  // None when the bytes are no standard MIDI file (a header chunk and at
  // least one track that can be read to its end or the end of the bytes).
  static std::optional<MidiTiming> Read(const std::uint8_t* data, std::size_t size);

  std::int64_t lastTick() const { return lastTick_; }
  // Microseconds from the start to `tick`, and back.
  std::int64_t MicrosAt(std::int64_t tick) const;
  std::int64_t TickAt(std::int64_t micros) const;
  std::int64_t LengthMicros() const { return MicrosAt(lastTick_); }

 private:
  std::int64_t ticksPerQuarter_ = 0;  // 0 with SMPTE timing
  std::int64_t ticksPerSecond_ = 0;   // SMPTE timing only
  std::vector<MidiTempo> tempi_;      // sorted by tick
  std::int64_t lastTick_ = 0;
};

}  // namespace win::mci
