#include "mci/midi_timing.h"

#include <algorithm>
#include <string_view>

namespace win::mci {

namespace {

// A file with more tempo changes than this is not music for a page.
constexpr std::size_t kMaxTempi = 100000;
// Ticks beyond this times the slowest tempo would overflow the
// time arithmetic; such a file is refused.
constexpr std::int64_t kMaxTick = std::int64_t{1} << 36;

std::uint32_t Be32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}
std::uint32_t Be16(const std::uint8_t* p) { return std::uint32_t{p[0]} << 8 | p[1]; }

class Reader {
 public:
  Reader(const std::uint8_t* p, std::size_t n) : p_(p), n_(n) {}
  bool AtEnd() const { return at_ >= n_; }
  bool Byte(std::uint32_t* out) {
    if (at_ >= n_) return false;
    *out = p_[at_++];
    return true;
  }
  // A variable-length quantity: at most four bytes of seven bits.
  bool Vlq(std::uint32_t* out) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      std::uint32_t b = 0;
      if (!Byte(&b)) return false;
      v = v << 7 | (b & 0x7F);
      if (!(b & 0x80)) {
        *out = v;
        return true;
      }
    }
    return false;
  }
  bool Skip(std::size_t n) {
    if (n > n_ - at_) return false;
    at_ += n;
    return true;
  }
  const std::uint8_t* Here() const { return p_ + at_; }
  std::size_t Left() const { return n_ - at_; }

 private:
  const std::uint8_t* p_;
  std::size_t n_;
  std::size_t at_ = 0;
};

// Data bytes after a channel status byte.
int ChannelDataBytes(std::uint32_t status) {
  const std::uint32_t kind = status & 0xF0;
  return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// Reads one track; its last tick, and the tempo changes it holds. A track
// cut short ends where the bytes end, as players treat it.
bool ReadTrack(Reader r, std::vector<MidiTempo>* tempi, std::int64_t* lastTick) {
  std::int64_t tick = 0;
  std::uint32_t running = 0;
  while (!r.AtEnd()) {
    std::uint32_t delta = 0, status = 0;
    if (!r.Vlq(&delta)) break;
    tick += delta;
    if (tick > kMaxTick) return false;
    if (!r.Byte(&status)) break;
    if (status < 0x80) {
      if (!running) break;  // data with no status before it: the track is unreadable from here
      if (!r.Skip(static_cast<std::size_t>(ChannelDataBytes(running) - 1))) break;
    } else if (status == kMidiMetaEvent) {
      std::uint32_t type = 0, length = 0;
      if (!r.Byte(&type) || !r.Vlq(&length) || length > r.Left()) break;
      if (type == kMidiMetaTempo && length == 3) {
        const std::uint8_t* d = r.Here();
        const std::uint32_t tempo = std::uint32_t{d[0]} << 16 | std::uint32_t{d[1]} << 8 | d[2];
        if (tempo > 0) {
          if (tempi->size() >= kMaxTempi) return false;
          tempi->push_back(MidiTempo{tick, tempo});
        }
      }
      r.Skip(length);
      if (type == kMidiMetaEndOfTrack) break;
    } else if (status == kMidiSysEx || status == kMidiSysExContinued) {
      std::uint32_t length = 0;
      if (!r.Vlq(&length) || !r.Skip(length)) break;
    } else if (status >= 0xF0) {
      break;  // system messages other than these have no place in a file
    } else {
      running = status;
      if (!r.Skip(static_cast<std::size_t>(ChannelDataBytes(status)))) break;
    }
  }
  *lastTick = std::max(*lastTick, tick);
  return true;
}

}  // namespace

std::optional<MidiTiming> MidiTiming::Read(const std::uint8_t* data, std::size_t size) {
  if (!data || size < 8 + kMidiHeaderBytes) return std::nullopt;
  if (std::string_view(reinterpret_cast<const char*>(data), 4) != "MThd") return std::nullopt;
  const std::uint32_t headerLength = Be32(data + 4);
  if (headerLength < kMidiHeaderBytes || headerLength > size - 8) return std::nullopt;
  const std::uint32_t division = Be16(data + 12);
  MidiTiming t;
  if (division & 0x8000) {
    const int fps = -static_cast<std::int8_t>(division >> 8);
    const int perFrame = static_cast<int>(division & 0xFF);
    if (fps <= 0 || perFrame == 0) return std::nullopt;
    t.ticksPerSecond_ = std::int64_t{fps} * perFrame;
  } else {
    if (division == 0) return std::nullopt;
    t.ticksPerQuarter_ = division;
  }
  std::size_t at = 8 + headerLength;
  int tracks = 0;
  while (size - at >= 8) {
    const std::uint32_t length = Be32(data + at + 4);
    const std::size_t body = std::min<std::size_t>(length, size - at - 8);
    if (std::string_view(reinterpret_cast<const char*>(data + at), 4) == "MTrk") {
      if (!ReadTrack(Reader(data + at + 8, body), &t.tempi_, &t.lastTick_)) return std::nullopt;
      ++tracks;
    }
    at += 8 + body;
  }
  if (tracks == 0) return std::nullopt;
  std::stable_sort(t.tempi_.begin(), t.tempi_.end(),
                   [](const MidiTempo& a, const MidiTempo& b) { return a.tick < b.tick; });
  return t;
}

std::int64_t MidiTiming::MicrosAt(std::int64_t tick) const {
  if (ticksPerSecond_) return tick * 1000000 / ticksPerSecond_;
  std::int64_t micros = 0, from = 0;
  std::uint32_t tempo = kMidiDefaultTempo;
  for (const MidiTempo& change : tempi_) {
    if (change.tick >= tick) break;
    micros += (change.tick - from) * tempo / ticksPerQuarter_;
    from = change.tick;
    tempo = change.microsPerQuarter;
  }
  return micros + (tick - from) * tempo / ticksPerQuarter_;
}

std::int64_t MidiTiming::TickAt(std::int64_t micros) const {
  if (ticksPerSecond_) return micros * ticksPerSecond_ / 1000000;
  std::int64_t passed = 0, from = 0;
  std::uint32_t tempo = kMidiDefaultTempo;
  for (const MidiTempo& change : tempi_) {
    const std::int64_t until = passed + (change.tick - from) * tempo / ticksPerQuarter_;
    if (until >= micros) break;
    passed = until;
    from = change.tick;
    tempo = change.microsPerQuarter;
  }
  return from + (micros - passed) * ticksPerQuarter_ / tempo;
}

}  // namespace win::mci
