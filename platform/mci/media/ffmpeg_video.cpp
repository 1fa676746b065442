#include "mci/media/ffmpeg_video.h"

extern "C" {
#include <libswscale/swscale.h>
}

namespace win::mci::media {

namespace {
constexpr int kMaxSide = 4096;
// A rate past this is a damaged header rather than a video.
constexpr int kMaxFramesPerSecond = 1000;
constexpr std::int64_t kMaxFrames = std::int64_t{kMaxFramesPerSecond} * 60 * 60 * 24;
// Going forward by fewer frames than this decodes on; more seeks first.
constexpr std::int64_t kForwardDecodeLimit = 100;
// swscale's vector code converts whole blocks of 16 pixels and leaves out a
// last part-block that would not fit in the row: the picture's rows are as
// far apart as in FFmpeg's own frames (a multiple of 64 bytes), so that
// every pixel is converted.
constexpr int kRowAlignPixels = 16;
constexpr int kScalerFlags = SWS_BILINEAR;

// 4:2:0 frames swscale converts with its vector code: of an even height
// (others take its general scaler, whose rounding differs).
bool IsEvenYuv420(const AVFrame* f) {
  return (f->format == AV_PIX_FMT_YUV420P || f->format == AV_PIX_FMT_YUVJ420P) && f->height % 2 == 0;
}

YuvPlanes PlanesOf(const AVFrame* f) {
  return YuvPlanes{f->data[0], f->data[1], f->data[2], f->linesize[0], f->linesize[1], f->linesize[2]};
}

bool Usable(AVRational r) {
  return r.num > 0 && r.den > 0 && av_q2d(r) <= kMaxFramesPerSecond && av_q2d(r) >= 0.01;
}
}  // namespace

std::unique_ptr<FfmpegVideo> FfmpegVideo::Open(const std::string& hostPath) {
  std::unique_ptr<FfmpegVideo> v(new FfmpegVideo());
  v->input_ = FfmpegInput::Open(hostPath, AVMEDIA_TYPE_VIDEO);
  if (!v->input_) return nullptr;
  const AVCodecContext* c = v->input_->codec();
  const AVStream* s = v->input_->stream();
  v->width_ = c->width;
  v->height_ = c->height;
  if (v->width_ < 1 || v->height_ < 1 || v->width_ > kMaxSide || v->height_ > kMaxSide) return nullptr;
  v->stride_ = (v->width_ + kRowAlignPixels - 1) / kRowAlignPixels * kRowAlignPixels;
  v->rate_ = Usable(s->avg_frame_rate) ? s->avg_frame_rate : s->r_frame_rate;
  if (!Usable(v->rate_)) return nullptr;
  v->frameCount_ = s->nb_frames > 0
                       ? s->nb_frames
                       : av_rescale_q(v->input_->Duration(), s->time_base, av_inv_q(v->rate_));
  if (v->frameCount_ <= 0 || v->frameCount_ > kMaxFrames) return nullptr;
  v->current_.reset(av_frame_alloc());
  v->next_.reset(av_frame_alloc());
  if (!v->current_ || !v->next_) return nullptr;
  return v;
}

FfmpegVideo::~FfmpegVideo() { sws_freeContext(scaler_); }

std::int64_t FfmpegVideo::IndexOf(const AVFrame* f) const {
  const std::int64_t pts = f->best_effort_timestamp;
  if (pts == AV_NOPTS_VALUE) return decoded_ + 1;
  const AVStream* s = input_->stream();
  return av_rescale_q_rnd(pts - input_->StartTime(), s->time_base, av_inv_q(rate_), AV_ROUND_NEAR_INF);
}

bool FfmpegVideo::DecodeTo(std::int64_t n) {
  if ((decoded_ >= 0 && n < decoded_) || n > decoded_ + kForwardDecodeLimit) {
    const AVStream* s = input_->stream();
    const std::int64_t ts = input_->StartTime() + av_rescale_q(n, av_inv_q(rate_), s->time_base);
    if (input_->SeekBefore(ts)) decoded_ = -1;
  }
  while (decoded_ < n) {
    if (!input_->NextFrame(next_.get())) break;
    // The first frame after a seek may lie past `n`: it is the nearest.
    const std::int64_t index = IndexOf(next_.get());
    std::swap(current_, next_);
    av_frame_unref(next_.get());
    decoded_ = index < 0 ? 0 : index;
  }
  return current_->data[0] != nullptr;
}

const std::vector<std::uint32_t>* FfmpegVideo::Picture(std::int64_t n) {
  if (n < 0) n = 0;
  if (n == converted_) return &pixels_;
  if (!DecodeTo(n) || !Convert()) return nullptr;
  converted_ = n;
  return &pixels_;
}

bool FfmpegVideo::DrawInto(std::int64_t n, std::uint32_t* pixels, std::ptrdiff_t stride) {
  if (n < 0) n = 0;
  if (!pixels || stride < width_ || !DecodeTo(n) || !PrepareScaler() || !yuv420_) return false;
  ConvertYuv420(factors_, PlanesOf(current_.get()), width_, height_, pixels, stride);
  return true;
}

bool FfmpegVideo::PrepareScaler() {
  const AVFrame* f = current_.get();
  if (f->width != width_ || f->height != height_) {
    // A stream that changes size mid-way is shown at the size it started with.
    if (f->width < 1 || f->height < 1 || f->width > kMaxSide || f->height > kMaxSide) return false;
  }
  if (scaler_ && f->width == scalerWidth_ && f->height == scalerHeight_ && f->format == scalerFormat_ &&
      f->colorspace == scalerColourSpace_)
    return true;
  sws_freeContext(scaler_);
  yuv420_ = false;
  scaler_ = sws_getContext(f->width, f->height, static_cast<AVPixelFormat>(f->format), width_, height_,
                           AV_PIX_FMT_BGR0, kScalerFlags, nullptr, nullptr, nullptr);
  if (!scaler_) return false;
  if (!UseColourMatrix(scaler_, f->colorspace)) {
    sws_freeContext(scaler_);
    scaler_ = nullptr;
    return false;
  }
  scalerWidth_ = f->width;
  scalerHeight_ = f->height;
  scalerFormat_ = f->format;
  scalerColourSpace_ = f->colorspace;
  // The check's own scaler converts by the same matrix, so that the vector
  // conversion is taken only where it gives this scaler's pixels.
  yuv420_ = IsEvenYuv420(f) && f->width == width_ && f->height == height_ && Yuv420VectorsAvailable() &&
            Yuv420AgreesWithScaler(f->format, kScalerFlags, f->colorspace);
  if (yuv420_) factors_ = FactorsOf(scaler_);
  return true;
}

bool FfmpegVideo::Convert() {
  if (!PrepareScaler()) return false;
  const AVFrame* f = current_.get();
  pixels_.resize(static_cast<std::size_t>(stride_) * height_);
  if (yuv420_) {
    ConvertYuv420(factors_, PlanesOf(f), width_, height_, pixels_.data(), stride_);
    return true;
  }
  std::uint8_t* planes[1] = {reinterpret_cast<std::uint8_t*>(pixels_.data())};
  const int strides[1] = {stride_ * 4};
  return sws_scale(scaler_, f->data, f->linesize, 0, f->height, planes, strides) == height_;
}

}  // namespace win::mci::media
