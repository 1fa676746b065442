// fuzz-libs:
// Standard MIDI files: their tempo map and length, and the way back from a
// time to a tick, which must land on a tick of that time.
#include <cstdint>
#include <cstdlib>

#include "mci/midi_timing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto timing = win::mci::MidiTiming::Read(data, size);
  if (!timing) return 0;
  const std::int64_t length = timing->LengthMicros();
  if (length < 0) std::abort();
  for (std::int64_t tick : {std::int64_t{0}, timing->lastTick() / 3, timing->lastTick() / 2, timing->lastTick()}) {
    const std::int64_t micros = timing->MicrosAt(tick);
    if (micros < 0 || micros > length) std::abort();
    // Ticks shorter than a microsecond share it: the way back lands on
    // the last tick of that microsecond.
    const std::int64_t back = timing->TickAt(micros);
    if (back < tick || timing->MicrosAt(back) != micros) std::abort();
  }
  return 0;
}
