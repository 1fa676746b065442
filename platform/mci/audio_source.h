// What the mixer takes sound from: a medium decoded to the one output
// format, read forward from a frame it was sought to.
#pragma once

#include <cstddef>
#include <cstdint>

namespace win::mci {

// Every source delivers and every sink takes 16-bit stereo at 44100 Hz,
// channels interleaved; a "frame" is one sample of each channel.
constexpr int kOutputRate = 44100;
constexpr int kOutputChannels = 2;

// The output frame at a time in milliseconds.
constexpr std::int64_t FrameOfMs(std::int64_t ms) { return ms * kOutputRate / 1000; }

class AudioSource {
 public:
  virtual ~AudioSource() = default;
  // Frames from the start to the end of the medium.
  virtual std::int64_t LengthFrames() const = 0;
  // The next Read starts at `frame`; false when the medium cannot go there.
  virtual bool Seek(std::int64_t frame) = 0;
  // Up to `frames` frames into `out`; fewer only at the end of the medium.
  virtual std::size_t Read(std::int16_t* out, std::size_t frames) = 0;
};

}  // namespace win::mci
