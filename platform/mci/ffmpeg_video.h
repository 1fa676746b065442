// The pictures of a video file, decoded by FFmpeg on demand: only the frame
// that is asked for is converted, so a late clock skips the work of the
// frames it passes over.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "mci/ffmpeg_input.h"

struct SwsContext;

namespace win::mci {

class FfmpegVideo {
 public:
  // Null when the file has no picture stream FFmpeg can decode, or one of
  // an absurd size or rate.
  static std::unique_ptr<FfmpegVideo> Open(const std::string& hostPath);
  ~FfmpegVideo();

  int width() const { return width_; }
  int height() const { return height_; }
  std::int64_t frameCount() const { return frameCount_; }
  AVRational frameRate() const { return rate_; }

  // Frame `n` (from 0) as 32-bit pixels 0x00RRGGBB, rows top-down; the
  // nearest frame before it when it cannot be decoded; null when none can.
  const std::vector<std::uint32_t>* Picture(std::int64_t n);

 private:
  FfmpegVideo() = default;
  std::int64_t IndexOf(const AVFrame* f) const;
  bool Convert();

  std::unique_ptr<FfmpegInput> input_;
  std::unique_ptr<AVFrame, FrameFreer> current_;  // the last frame decoded
  std::unique_ptr<AVFrame, FrameFreer> next_;
  SwsContext* scaler_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  AVRational rate_{0, 1};
  std::int64_t frameCount_ = 0;
  std::int64_t decoded_ = -1;    // index of current_, -1 for none
  std::int64_t converted_ = -1;  // index whose pixels `pixels_` holds
  std::vector<std::uint32_t> pixels_;
};

}  // namespace win::mci
