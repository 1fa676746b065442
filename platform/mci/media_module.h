// The media decoders and the sound card: FFmpeg, FluidSynth and ALSA bring
// well over a hundred libraries with them, whose loading would be paid by
// every program of the platform at its start. They live in a module of
// their own (libzemramedia.so beside this library), loaded the first time
// a medium is opened or a sound is played.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "mci/audio_sink.h"
#include "mci/audio_source.h"

namespace win::mci {

// Frames per second as a fraction.
struct FrameRate {
  int num = 0;
  int den = 1;
};

// The pictures of a video file, decoded on demand.
class VideoSource {
 public:
  virtual ~VideoSource() = default;
  virtual int width() const = 0;
  virtual int height() const = 0;
  virtual std::int64_t frameCount() const = 0;
  // Never zero or negative in either part.
  virtual FrameRate frameRate() const = 0;
  // Pixels from one row of a picture to the next: at least the width.
  virtual int stride() const = 0;
  // Frame `n` (from 0) as 32-bit pixels 0x00RRGGBB, rows top-down and
  // stride() apart; the nearest frame before it when it cannot be decoded;
  // null when none can.
  virtual const std::vector<std::uint32_t>* Picture(std::int64_t n) = 0;
  // Frame `n` as Picture gives it, written straight into width() x height()
  // pixels 0x00RRGGBB rows `stride` apart (a window's own), where that is
  // no slower than Picture; false, with nothing written, where it is not
  // or no frame can be decoded.
  virtual bool DrawInto(std::int64_t n, std::uint32_t* pixels, std::ptrdiff_t stride) = 0;
};

// What the module offers. Every opener gives null when the file (or the
// device) cannot be had.
struct MediaModule {
  // The sound of a media file (a WAV file, or the sound stream of a video).
  std::unique_ptr<AudioSource> (*openAudio)(const std::string& hostPath);
  // The pictures of a video file.
  std::unique_ptr<VideoSource> (*openVideo)(const std::string& hostPath);
  // A standard MIDI file (its bytes, and the timing read from them) played
  // with the sound font at `soundFont`.
  std::unique_ptr<AudioSource> (*openMidi)(std::vector<char> bytes, const std::string& soundFont);
  // The default ALSA playback device.
  std::unique_ptr<AudioSink> (*openAlsa)();
};

// The module, loaded on first use; null when it cannot be loaded (the
// media then open as files that cannot be played).
const MediaModule* Media();

}  // namespace win::mci

// The one symbol the module exports.
extern "C" const win::mci::MediaModule* ZemraMediaModule();
