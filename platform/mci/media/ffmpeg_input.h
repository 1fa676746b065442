// One stream of a media file opened with FFmpeg's demuxer and decoder: the
// common part of the sound and picture decoders.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace win::mci::media {

struct FormatCloser {
  void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
struct CodecFreer {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFreer {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFreer {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};

class FfmpegInput {
 public:
  // The best stream of `type` in the file at the host path; null when the
  // file cannot be read or holds no such stream that FFmpeg can decode.
  static std::unique_ptr<FfmpegInput> Open(const std::string& hostPath, AVMediaType type);

  AVStream* stream() const { return format_->streams[index_]; }
  AVCodecContext* codec() const { return codec_.get(); }

  // The next decoded frame into `frame`; false at the end of the stream or
  // when the decoder gives up. Broken packets are skipped.
  bool NextFrame(AVFrame* frame);
  // Restarts decoding at the last key frame at or before `timestamp` (in
  // the stream's time base); false when the demuxer cannot seek.
  bool SeekBefore(std::int64_t timestamp);
  // The stream's length in its time base; 0 when unknown.
  std::int64_t Duration() const;
  // The start time of the stream in its time base (0 when unknown).
  std::int64_t StartTime() const;

 private:
  FfmpegInput() = default;
  std::unique_ptr<AVFormatContext, FormatCloser> format_;
  std::unique_ptr<AVCodecContext, CodecFreer> codec_;
  std::unique_ptr<AVPacket, PacketFreer> packet_;
  int index_ = -1;
  bool drained_ = false;  // the demuxer is at its end and the decoder was told
};

}  // namespace win::mci::media
