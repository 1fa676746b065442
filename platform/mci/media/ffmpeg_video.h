// The pictures of a video file, decoded by FFmpeg on demand: only the frame
// that is asked for is converted, so a late clock skips the work of the
// frames it passes over.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "mci/media/ffmpeg_input.h"
#include "mci/media/yuv420_to_bgr.h"
#include "mci/media_module.h"

struct SwsContext;

namespace win::mci::media {

class FfmpegVideo : public VideoSource {
 public:
  // Null when the file has no picture stream FFmpeg can decode, or one of
  // an absurd size or rate.
  static std::unique_ptr<FfmpegVideo> Open(const std::string& hostPath);
  ~FfmpegVideo() override;

  int width() const override { return width_; }
  int height() const override { return height_; }
  std::int64_t frameCount() const override { return frameCount_; }
  FrameRate frameRate() const override { return FrameRate{rate_.num, rate_.den}; }
  int stride() const override { return stride_; }
  const std::vector<std::uint32_t>* Picture(std::int64_t n) override;
  bool DrawInto(std::int64_t n, std::uint32_t* pixels, std::ptrdiff_t stride) override;

 private:
  FfmpegVideo() = default;
  std::int64_t IndexOf(const AVFrame* f) const;
  // Decodes up to frame `n` (the nearest before it when it cannot); false
  // when there is no frame.
  bool DecodeTo(std::int64_t n);
  // Makes the scaler for the frame decoded (when it changed).
  bool PrepareScaler();
  bool Convert();

  std::unique_ptr<FfmpegInput> input_;
  std::unique_ptr<AVFrame, FrameFreer> current_;  // the last frame decoded
  std::unique_ptr<AVFrame, FrameFreer> next_;
  SwsContext* scaler_ = nullptr;
  // What `scaler_` was made for: FFmpeg's own check of a cached context
  // compares formats it has since rewritten (a padding byte becomes
  // alpha) and would make it anew for every frame.
  int scalerWidth_ = 0;
  int scalerHeight_ = 0;
  int scalerFormat_ = -1;
  int scalerColourSpace_ = -1;  // the matrix tag the scaler converts by
  // The scaler's own pixels come faster from ConvertYuv420 (a 4:2:0 frame
  // of the film's size, and a scaler found to agree).
  bool yuv420_ = false;
  YuvFactors factors_;
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;  // pixels from one row of `pixels_` to the next
  AVRational rate_{0, 1};
  std::int64_t frameCount_ = 0;
  std::int64_t decoded_ = -1;    // index of current_, -1 for none
  std::int64_t converted_ = -1;  // index whose pixels `pixels_` holds
  std::vector<std::uint32_t> pixels_;
};

}  // namespace win::mci::media
