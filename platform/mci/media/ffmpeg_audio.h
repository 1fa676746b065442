// The sound of a media file (a WAV file, or the sound stream of a video),
// decoded by FFmpeg and converted to the output format.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "mci/audio_source.h"
#include "mci/media/ffmpeg_input.h"

struct SwrContext;

namespace win::mci::media {

class FfmpegAudio : public AudioSource {
 public:
  // Null when the file has no sound stream FFmpeg can decode.
  static std::unique_ptr<FfmpegAudio> Open(const std::string& hostPath);
  ~FfmpegAudio() override;

  std::int64_t LengthFrames() const override { return length_; }
  bool Seek(std::int64_t frame) override;
  std::size_t Read(std::int16_t* out, std::size_t frames) override;

 private:
  FfmpegAudio() = default;
  bool StartResampler();
  // Decodes the next stretch of sound into pending_; false at the end.
  bool Refill();

  std::unique_ptr<FfmpegInput> input_;
  std::unique_ptr<AVFrame, FrameFreer> frame_;
  SwrContext* resampler_ = nullptr;
  std::int64_t length_ = 0;
  std::vector<std::int16_t> pending_;  // converted frames not read yet
  std::size_t pendingAt_ = 0;          // in samples
  std::int64_t cursor_ = 0;            // output frame of the next frame read
  std::int64_t dropUntil_ = -1;        // after a seek: the frame reading starts at
  bool flushed_ = false;               // the resampler gave its last frames
};

}  // namespace win::mci::media
