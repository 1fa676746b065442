// The entry of the media module: what it offers the platform library.
#include "mci/media/ffmpeg_audio.h"
#include "mci/media/ffmpeg_video.h"
#include "mci/media/media_parts.h"
#include "mci/media_module.h"

namespace win::mci::media {
namespace {

std::unique_ptr<AudioSource> OpenAudio(const std::string& hostPath) { return FfmpegAudio::Open(hostPath); }
std::unique_ptr<VideoSource> OpenVideo(const std::string& hostPath) { return FfmpegVideo::Open(hostPath); }

constexpr MediaModule kModule{&OpenAudio, &OpenVideo, &OpenMidiSynth, &OpenAlsa};

}  // namespace
}  // namespace win::mci::media

extern "C" __attribute__((visibility("default"))) const win::mci::MediaModule* ZemraMediaModule() {
  return &win::mci::media::kModule;
}
