#include "mci/device.h"

#include <algorithm>

#include "mci/device_table.h"
#include "mci/frame_output.h"
#include "mci/media_module.h"
#include "mci/midi_source.h"

namespace win::mci {

namespace {

enum class Round { kNearest, kUp, kDown };

// a * b / c, rounded to the nearest (halves away from zero), up or down,
// without overflow on the way; c > 0.
std::int64_t Rescale(std::int64_t a, std::int64_t b, std::int64_t c, Round round = Round::kNearest) {
  if (c <= 0) return 0;
  const __int128 product = static_cast<__int128>(a) * b;
  __int128 q = product / c;
  const __int128 r = product % c;
  if (r != 0) {
    const bool negative = product < 0;
    switch (round) {
      case Round::kNearest:
        if ((negative ? -r : r) * 2 >= c) q += negative ? -1 : 1;
        break;
      case Round::kUp:
        if (!negative) ++q;
        break;
      case Round::kDown:
        if (negative) --q;
        break;
    }
  }
  if (q > INT64_MAX) return INT64_MAX;
  if (q < INT64_MIN) return INT64_MIN;
  return static_cast<std::int64_t>(q);
}

std::unique_ptr<AudioSource> OpenSound(const std::string& hostPath) {
  const MediaModule* media = Media();
  return media && media->openAudio ? media->openAudio(hostPath) : nullptr;
}

std::unique_ptr<VideoSource> OpenPictures(const std::string& hostPath) {
  const MediaModule* media = Media();
  return media && media->openVideo ? media->openVideo(hostPath) : nullptr;
}

}  // namespace

MCIERROR Device::Open(DeviceType type, const std::string& hostPath, std::unique_ptr<Device>* out) {
  std::unique_ptr<Device> d(new Device());
  d->type_ = type;
  switch (type) {
    case DeviceType::Wave:
      d->audio_ = OpenSound(hostPath);
      if (!d->audio_) return MCIERR_INVALID_FILE;
      d->lengthMs_ = d->audio_->LengthFrames() * 1000 / kOutputRate;
      break;
    case DeviceType::Sequencer:
      if (!MidiAvailable()) return MCIERR_DEVICE_NOT_INSTALLED;
      d->audio_ = OpenMidi(hostPath);
      if (!d->audio_) return MCIERR_INVALID_FILE;
      d->lengthMs_ = d->audio_->LengthFrames() * 1000 / kOutputRate;
      break;
    case DeviceType::Video: {
      d->video_ = OpenPictures(hostPath);
      if (!d->video_) return MCIERR_INVALID_FILE;
      d->audio_ = OpenSound(hostPath);  // a silent video has none
      const FrameRate r = d->video_->frameRate();
      d->lengthMs_ = Rescale(d->video_->frameCount(), std::int64_t{1000} * r.den, r.num);
      d->format_ = TimeFormat::Frames;
      break;
    }
  }
  *out = std::move(d);
  return 0;
}

Device::~Device() {
  StopSound();
  AbortNotify(MCI_NOTIFY_ABORTED);
}

MCIERROR Device::SetTimeFormat(TimeFormat f) {
  if (f == TimeFormat::Frames && !video_) return MCIERR_BAD_TIME_FORMAT;
  format_ = f;
  return 0;
}

std::int64_t Device::FrameRateMilli() const {
  if (!video_) return 0;
  const FrameRate r = video_->frameRate();
  return Rescale(1000, r.num, r.den);
}

// Frame n starts at ceil(n * 1000 / rate) ms, so that the frame of the time
// of a frame is that frame again.
std::int64_t Device::ToMs(std::int64_t v) const {
  if (format_ == TimeFormat::Milliseconds) return v;
  const FrameRate r = video_->frameRate();
  return Rescale(v, std::int64_t{1000} * r.den, r.num, Round::kUp);
}

std::int64_t Device::FromMs(std::int64_t ms) const {
  if (format_ == TimeFormat::Milliseconds) return ms;
  const FrameRate r = video_->frameRate();
  return Rescale(ms, r.num, std::int64_t{1000} * r.den, Round::kDown);
}

std::int64_t Device::PositionMs(DWORD now) const {
  if (mode_ != PlayMode::Playing) return posMs_;
  return std::min(posMs_ + static_cast<std::int64_t>(static_cast<DWORD>(now - playClock_)), endMs_);
}

MCIERROR Device::Play(std::optional<std::int64_t> from, std::optional<std::int64_t> to, DWORD now,
                      HWND notify) {
  const std::int64_t length = Length();
  if ((from && *from > length) || (to && *to > length) || (from && to && *to < *from)) return MCIERR_OUTOFRANGE;
  const std::int64_t start = from ? ToMs(*from) : PositionMs(now);
  const std::int64_t end = to ? std::min(ToMs(*to), lengthMs_) : lengthMs_;
  if (!from && to && end < start) return MCIERR_OUTOFRANGE;
  AbortNotify(MCI_NOTIFY_SUPERSEDED);
  StopSound();
  posMs_ = start;
  endMs_ = end;
  playClock_ = now;
  mode_ = PlayMode::Playing;
  notifyWnd_ = notify;
  // Drawn even when it is the frame shown: a caller asks for a still
  // frame this way when its window was painted over.
  shownFrame_ = -1;
  ShowFrameAt(start);
  if (start >= end) {
    Finish();
    return 0;
  }
  StartSound(now);
  return 0;
}

void Device::Stop(DWORD now) {
  posMs_ = PositionMs(now);
  mode_ = PlayMode::Stopped;
  StopSound();
  AbortNotify(MCI_NOTIFY_ABORTED);
}

void Device::Pause(DWORD now) {
  if (mode_ == PlayMode::Stopped) return;
  posMs_ = PositionMs(now);
  mode_ = PlayMode::Paused;
  StopSound();
}

MCIERROR Device::Resume(DWORD now) {
  if (mode_ != PlayMode::Paused) return mode_ == PlayMode::Playing ? 0 : MCIERR_NONAPPLICABLE_FUNCTION;
  mode_ = PlayMode::Playing;
  playClock_ = now;
  StartSound(now);
  return 0;
}

MCIERROR Device::Seek(std::optional<std::int64_t> to, DWORD now) {
  if (to && *to > Length()) return MCIERR_OUTOFRANGE;
  Stop(now);
  posMs_ = to ? ToMs(*to) : lengthMs_;
  shownFrame_ = -1;
  ShowFrameAt(posMs_);
  return 0;
}

void Device::Advance(DWORD now) {
  if (mode_ != PlayMode::Playing) return;
  const std::int64_t at = PositionMs(now);
  if (at >= endMs_) {
    // The voice stays in the mixer: what it has left to give still sounds.
    voice_.reset();
    posMs_ = endMs_;
    ShowFrameAt(endMs_);
    Finish();
    return;
  }
  ShowFrameAt(at);
}

std::optional<std::int64_t> Device::MsUntilEnd(DWORD now) const {
  if (mode_ != PlayMode::Playing) return std::nullopt;
  return endMs_ - PositionMs(now);
}

void Device::Finish() {
  mode_ = PlayMode::Stopped;
  if (notifyWnd_) PostMessage(notifyWnd_, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, static_cast<LPARAM>(id));
  notifyWnd_ = nullptr;
}

void Device::AbortNotify(WPARAM why) {
  if (notifyWnd_) PostMessage(notifyWnd_, MM_MCINOTIFY, why, static_cast<LPARAM>(id));
  notifyWnd_ = nullptr;
}

void Device::StartSound(DWORD now) {
  if (!audio_) return;
  const std::int64_t first = FrameOfMs(posMs_);
  // To the end means every frame, also those of the medium's last part of
  // a millisecond.
  const std::int64_t last =
      endMs_ >= lengthMs_ ? audio_->LengthFrames() : std::min(FrameOfMs(endMs_), audio_->LengthFrames());
  if (last <= first || !audio_->Seek(first)) return;
  voice_ = std::make_shared<Voice>();
  voice_->source = audio_.get();
  voice_->remaining = last - first;
  voice_->muted = !audioOn_;
  SharedMixer().Start(voice_, now);
}

void Device::StopSound() {
  // Also a voice that outlived its play: the source is about to move.
  if (audio_) SharedMixer().StopSource(audio_.get());
  voice_.reset();
}

void Device::SetAudioOn(bool on) {
  audioOn_ = on;
  if (voice_) voice_->muted = !on;
}

MCIERROR Device::SetWindow(HWND wnd) {
  if (!video_) return MCIERR_UNSUPPORTED_FUNCTION;
  if (wnd && !IsWindow(wnd)) return MCIERR_NO_WINDOW;
  window_ = wnd;
  shownFrame_ = -1;
  ShowFrameAt(posMs_);
  return 0;
}

void Device::SetDestination(std::optional<RECT> r) {
  destination_ = r;
  shownFrame_ = -1;
  ShowFrameAt(posMs_);
}

RECT Device::Source() const {
  if (!video_) return RECT{0, 0, 0, 0};
  return RECT{0, 0, video_->width(), video_->height()};
}

RECT Device::Destination() const {
  if (destination_) return *destination_;
  RECT r{};
  if (window_ && IsWindow(window_) && GetClientRect(window_, &r)) return r;
  return Source();
}

void Device::ShowFrameAt(std::int64_t ms) {
  if (!video_) return;
  const FrameRate r = video_->frameRate();
  const std::int64_t frame = std::clamp<std::int64_t>(
      Rescale(ms, r.num, std::int64_t{1000} * r.den, Round::kDown), 0, video_->frameCount() - 1);
  if (frame == shownFrame_) return;
  const RECT dest = Destination();
  if (!DrawFrameInto(window_, dest, *video_, frame)) {
    const FramePicture picture{video_->width(), video_->height(), video_->stride(), video_->Picture(frame)};
    if (!picture.pixels) return;
    DrawFrame(window_, dest, picture);
  }
  shownFrame_ = frame;
  if (FramesWanted())
    DumpFrame(id, frame, FramePicture{video_->width(), video_->height(), video_->stride(), video_->Picture(frame)});
}

}  // namespace win::mci
