#include "mci/mixer.h"

#include <algorithm>

namespace win::mci {

namespace {
constexpr std::size_t kChunkFrames = 4096;
}

void Mixer::Start(const std::shared_ptr<Voice>& voice, DWORD now) {
  if (!sink_) sink_ = ChooseAudioSink();
  if (voices_.empty()) {
    anchor_ = now;
    written_ = 0;
  }
  voices_.push_back(voice);
}

void Mixer::StopSource(const AudioSource* source) {
  std::erase_if(voices_, [source](const std::shared_ptr<Voice>& v) { return v->source == source; });
}

void Mixer::Reset() {
  voices_.clear();
  sink_.reset();
}

void Mixer::Pump(DWORD now) {
  if (voices_.empty() || !sink_) return;
  const std::int64_t due = FrameOfMs(static_cast<std::int64_t>(static_cast<DWORD>(now - anchor_)) +
                                     sink_->LeadMs());
  while (!voices_.empty() && written_ < due) {
    const std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>(due - written_, kChunkFrames));
    Mix(n);
    written_ += static_cast<std::int64_t>(n);
  }
}

void Mixer::Mix(std::size_t frames) {
  const std::size_t samples = frames * kOutputChannels;
  sum_.assign(samples, 0);
  read_.resize(samples);
  std::size_t longest = 0;
  for (const std::shared_ptr<Voice>& v : voices_) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::int64_t>(v->remaining, frames));
    const std::size_t got = want ? v->source->Read(read_.data(), want) : 0;
    v->remaining = got < want ? 0 : v->remaining - static_cast<std::int64_t>(got);
    if (!v->muted) {
      for (std::size_t i = 0; i < got * kOutputChannels; ++i) sum_[i] += read_[i];
      longest = std::max(longest, got);
    }
  }
  std::erase_if(voices_, [](const std::shared_ptr<Voice>& v) { return v->remaining <= 0; });
  // While a voice is heard, silence between sounds is written as well; the
  // last sound heard ends the output.
  const bool heard = std::any_of(voices_.begin(), voices_.end(), [](const auto& v) { return !v->muted; });
  const std::size_t length = heard ? frames : longest;
  out_.resize(length * kOutputChannels);
  for (std::size_t i = 0; i < out_.size(); ++i)
    out_[i] = static_cast<std::int16_t>(std::clamp<std::int32_t>(sum_[i], -32768, 32767));
  if (length) sink_->Write(out_.data(), length);
}

}  // namespace win::mci
