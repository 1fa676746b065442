// The sound card, through ALSA's default playback device.
#include <alsa/asoundlib.h>

#include "mci/audio_sink.h"
#include "mci/audio_source.h"
#include "mci/media/media_parts.h"

namespace win::mci::media {

namespace {

// ALSA plays from its buffer while the message loop does other work: the
// mixer keeps this much sound in it, and ALSA's buffer holds twice that.
constexpr DWORD kLeadMs = 120;
static_assert(kLeadMs >= 3 * kSoundPumpMs, "a period or two late must not empty the card's buffer");

class AlsaSink : public AudioSink {
 public:
  explicit AlsaSink(snd_pcm_t* pcm) : pcm_(pcm) {}
  ~AlsaSink() override { snd_pcm_close(pcm_); }

  void Write(const std::int16_t* frames, std::size_t count) override {
    while (count > 0) {
      const snd_pcm_sframes_t n = snd_pcm_writei(pcm_, frames, count);
      if (n == -EAGAIN) return;  // the buffer is full: what does not fit is late anyway
      if (n < 0) {
        if (snd_pcm_recover(pcm_, static_cast<int>(n), 1) < 0) return;
        continue;
      }
      frames += static_cast<std::size_t>(n) * kOutputChannels;
      count -= static_cast<std::size_t>(n);
    }
  }
  DWORD LeadMs() const override { return kLeadMs; }

 private:
  snd_pcm_t* pcm_;
};

// ALSA's library reports a missing card on stderr; no card is no fault
// here: the sound goes to the null sink.
void Silent(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

std::unique_ptr<AudioSink> OpenAlsa() {
  snd_lib_error_set_handler(Silent);
  snd_pcm_t* pcm = nullptr;
  if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return nullptr;
  if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, kOutputChannels,
                         kOutputRate, 1, 2 * kLeadMs * 1000) < 0) {
    snd_pcm_close(pcm);
    return nullptr;
  }
  return std::make_unique<AlsaSink>(pcm);
}

}  // namespace win::mci::media
