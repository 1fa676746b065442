#include "mci/media/ffmpeg_input.h"

extern "C" {
#include <libavutil/dict.h>
#include <libavutil/log.h>
}

namespace win::mci::media {

namespace {

// FFmpeg reports every damaged packet on stderr; what matters reaches the
// caller as a failed open or a shorter medium.
void QuietenOnce() {
  static const bool done = [] {
    av_log_set_level(AV_LOG_FATAL);
    return true;
  }();
  (void)done;
}

// A corrupt file could keep the decoder refusing packet after packet; past
// this many in a row the stream counts as ended.
constexpr int kMaxBadPacketsInARow = 256;

}  // namespace

std::unique_ptr<FfmpegInput> FfmpegInput::Open(const std::string& hostPath, AVMediaType type) {
  QuietenOnce();
  std::unique_ptr<FfmpegInput> in(new FfmpegInput());
  AVFormatContext* raw = nullptr;
  // A name is a file, never a URL ("http:", "concat:", "pipe:"), and a
  // playlist inside a file may not reach anything but files either.
  const std::string url = "file:" + hostPath;
  AVDictionary* options = nullptr;
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  const int opened = avformat_open_input(&raw, url.c_str(), nullptr, &options);
  av_dict_free(&options);
  if (opened < 0) return nullptr;
  in->format_.reset(raw);
  if (avformat_find_stream_info(raw, nullptr) < 0) return nullptr;
  const AVCodec* decoder = nullptr;
  in->index_ = av_find_best_stream(raw, type, -1, -1, &decoder, 0);
  if (in->index_ < 0 || !decoder) return nullptr;
  in->codec_.reset(avcodec_alloc_context3(decoder));
  if (!in->codec_) return nullptr;
  if (avcodec_parameters_to_context(in->codec_.get(), in->stream()->codecpar) < 0) return nullptr;
  // One thread: the program's only thread runs the decoder.
  in->codec_->thread_count = 1;
  if (avcodec_open2(in->codec_.get(), decoder, nullptr) < 0) return nullptr;
  in->packet_.reset(av_packet_alloc());
  if (!in->packet_) return nullptr;
  // Other streams are not demuxed into packets worth decoding.
  for (unsigned i = 0; i < raw->nb_streams; ++i)
    if (static_cast<int>(i) != in->index_) raw->streams[i]->discard = AVDISCARD_ALL;
  return in;
}

bool FfmpegInput::NextFrame(AVFrame* frame) {
  int bad = 0;
  for (;;) {
    const int got = avcodec_receive_frame(codec_.get(), frame);
    if (got == 0) return true;
    if (got == AVERROR_EOF) return false;
    if (got != AVERROR(EAGAIN)) return false;
    if (drained_) return false;
    const int read = av_read_frame(format_.get(), packet_.get());
    if (read < 0) {
      drained_ = true;
      avcodec_send_packet(codec_.get(), nullptr);
      continue;
    }
    if (packet_->stream_index == index_) {
      const int sent = avcodec_send_packet(codec_.get(), packet_.get());
      if (sent < 0 && sent != AVERROR(EAGAIN) && ++bad > kMaxBadPacketsInARow) {
        av_packet_unref(packet_.get());
        return false;
      }
      if (sent >= 0) bad = 0;
    }
    av_packet_unref(packet_.get());
  }
}

bool FfmpegInput::SeekBefore(std::int64_t timestamp) {
  if (av_seek_frame(format_.get(), index_, timestamp, AVSEEK_FLAG_BACKWARD) < 0 &&
      av_seek_frame(format_.get(), index_, timestamp, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY) < 0)
    return false;
  avcodec_flush_buffers(codec_.get());
  drained_ = false;
  return true;
}

std::int64_t FfmpegInput::Duration() const {
  const AVStream* s = stream();
  if (s->duration != AV_NOPTS_VALUE && s->duration > 0) return s->duration;
  if (format_->duration != AV_NOPTS_VALUE && format_->duration > 0)
    return av_rescale_q(format_->duration, AVRational{1, AV_TIME_BASE}, s->time_base);
  return 0;
}

std::int64_t FfmpegInput::StartTime() const {
  const AVStream* s = stream();
  return s->start_time != AV_NOPTS_VALUE ? s->start_time : 0;
}

}  // namespace win::mci::media
