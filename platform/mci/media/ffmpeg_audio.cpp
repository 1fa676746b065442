#include "mci/media/ffmpeg_audio.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace win::mci::media {

namespace {
// A sound longer than this is taken for a damaged header: a day of sound.
constexpr std::int64_t kMaxLengthFrames = std::int64_t{kOutputRate} * 60 * 60 * 24;
// One decoded packet cannot make more sound than this (10 s).
constexpr int kMaxFramesPerPacket = kOutputRate * 10;
}  // namespace

std::unique_ptr<FfmpegAudio> FfmpegAudio::Open(const std::string& hostPath) {
  std::unique_ptr<FfmpegAudio> a(new FfmpegAudio());
  a->input_ = FfmpegInput::Open(hostPath, AVMEDIA_TYPE_AUDIO);
  if (!a->input_) return nullptr;
  AVCodecContext* c = a->input_->codec();
  if (c->sample_rate <= 0 || c->ch_layout.nb_channels <= 0) return nullptr;
  a->frame_.reset(av_frame_alloc());
  if (!a->frame_ || !a->StartResampler()) return nullptr;
  const AVStream* s = a->input_->stream();
  a->length_ = av_rescale_q(a->input_->Duration(), s->time_base, AVRational{1, kOutputRate});
  if (a->length_ <= 0 || a->length_ > kMaxLengthFrames) return nullptr;
  return a;
}

FfmpegAudio::~FfmpegAudio() { swr_free(&resampler_); }

bool FfmpegAudio::StartResampler() {
  swr_free(&resampler_);
  AVCodecContext* c = input_->codec();
  AVChannelLayout in{};
  if (c->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
    av_channel_layout_default(&in, c->ch_layout.nb_channels);
  else if (av_channel_layout_copy(&in, &c->ch_layout) < 0)
    return false;
  AVChannelLayout out = AV_CHANNEL_LAYOUT_STEREO;
  const int made = swr_alloc_set_opts2(&resampler_, &out, AV_SAMPLE_FMT_S16, kOutputRate, &in,
                                       c->sample_fmt, c->sample_rate, 0, nullptr);
  av_channel_layout_uninit(&in);
  if (made < 0 || swr_init(resampler_) < 0) return false;
  flushed_ = false;
  return true;
}

bool FfmpegAudio::Seek(std::int64_t frame) {
  if (frame < 0) frame = 0;
  const std::int64_t buffered = static_cast<std::int64_t>((pending_.size() - pendingAt_) / kOutputChannels);
  if (dropUntil_ < 0 && frame >= cursor_ && frame <= cursor_ + buffered) {
    pendingAt_ += static_cast<std::size_t>(frame - cursor_) * kOutputChannels;
    cursor_ = frame;
    return true;
  }
  const AVStream* s = input_->stream();
  const std::int64_t ts = input_->StartTime() + av_rescale_q(frame, AVRational{1, kOutputRate}, s->time_base);
  if (!input_->SeekBefore(ts) || !StartResampler()) return false;
  pending_.clear();
  pendingAt_ = 0;
  dropUntil_ = frame;
  cursor_ = frame;
  return true;
}

bool FfmpegAudio::Refill() {
  pending_.clear();
  pendingAt_ = 0;
  while (pending_.empty()) {
    const AVFrame* src = nullptr;
    if (!flushed_) {
      if (input_->NextFrame(frame_.get())) {
        src = frame_.get();
      } else {
        flushed_ = true;
      }
    } else {
      return false;
    }
    const int inFrames = src ? src->nb_samples : 0;
    const int room = swr_get_out_samples(resampler_, inFrames);
    if (room < 0 || room > kMaxFramesPerPacket) return false;
    pending_.resize(static_cast<std::size_t>(room) * kOutputChannels);
    std::uint8_t* outPlanes[1] = {reinterpret_cast<std::uint8_t*>(pending_.data())};
    const int made = swr_convert(resampler_, outPlanes, room,
                                 src ? const_cast<const std::uint8_t**>(src->extended_data) : nullptr, inFrames);
    if (made < 0) return false;
    pending_.resize(static_cast<std::size_t>(made) * kOutputChannels);
    if (src && dropUntil_ >= 0) {
      // The first frame after a seek says where decoding really is: drop
      // what lies before the frame the seek asked for.
      const std::int64_t pts = src->best_effort_timestamp;
      const AVStream* s = input_->stream();
      const std::int64_t at =
          pts == AV_NOPTS_VALUE
              ? dropUntil_
              : av_rescale_q(pts - input_->StartTime(), s->time_base, AVRational{1, kOutputRate});
      const std::int64_t drop = std::clamp<std::int64_t>(dropUntil_ - at, 0, made);
      if (drop >= made) {
        pending_.clear();
        continue;
      }
      pendingAt_ = static_cast<std::size_t>(drop) * kOutputChannels;
      dropUntil_ = -1;
    }
    if (!src && pending_.empty()) return false;
  }
  return true;
}

std::size_t FfmpegAudio::Read(std::int16_t* out, std::size_t frames) {
  std::size_t done = 0;
  while (done < frames) {
    if (pendingAt_ >= pending_.size() && !Refill()) break;
    const std::size_t have = (pending_.size() - pendingAt_) / kOutputChannels;
    const std::size_t take = std::min(have, frames - done);
    std::memcpy(out + done * kOutputChannels, pending_.data() + pendingAt_,
                take * kOutputChannels * sizeof(std::int16_t));
    pendingAt_ += take * kOutputChannels;
    done += take;
  }
  cursor_ += static_cast<std::int64_t>(done);
  return done;
}

}  // namespace win::mci::media
