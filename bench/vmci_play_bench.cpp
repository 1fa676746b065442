// Playing the sample film through the page's media object beside FFmpeg
// decoding the same file to nothing ("ffmpeg -threads 1 -i orbit.avi -f null
// -"): the object opens the film in its window, plays it as the clock moves
// on in 40 ms steps with an idle event per step (the polling of a page), and
// is seen to end. The counter "vs_ffmpeg" is FFmpeg's time divided by ours
// (near 1: the object adds nothing worth measuring to the decoder and the
// blit).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "mfc/wnd.h"
#include "pages/media/vmci.h"
#include "pages/objects/vgroup.h"
#include "win/mci.h"
#include "win/user.h"

namespace {

DWORD gTicks = 100000;
DWORD BenchClock() { return gTicks; }

const std::string& Film() {
  static const std::string path = [] {
    const std::string p = (std::filesystem::temp_directory_path() / "zemra-bench-orbit.avi").string();
    std::error_code error;
    std::filesystem::copy_file(std::string(ZEMRA_SOURCE_DIR) + "/data/sample/media/orbit.avi.body", p,
                               std::filesystem::copy_options::overwrite_existing, error);
    return error ? std::string() : p;
  }();
  return path;
}

double FfmpegSeconds() {
  static const double seconds = [] {
    const std::string run = "ffmpeg -nostdin -v error -threads 1 -i '" + Film() + "' -f null -";
    const auto start = std::chrono::steady_clock::now();
    if (std::system(run.c_str()) != 0) return 0.0;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }();
  return seconds;
}

// A page stand-in: a group with a window for the film's own.
class Host : public VGroup {
 public:
  Host() : VGroup(0, 0, 320, 240) {
    window_.CreateEx(0, AfxRegisterWndClass(0), "page", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr,
                     nullptr);
  }
  ~Host() override {
    DeleteChildren();
    window_.DestroyWindow();
  }
  CWnd* GetWindow() override { return &window_; }

 private:
  CWnd window_;
};

void BM_PlayFilmThroughMediaObject(benchmark::State& state) {
  setenv("ZEMRA_HEADLESS", "1", 1);
  setenv("ZEMRA_MCI_AUDIO", "null", 1);
  if (Film().empty()) {
    state.SkipWithError("the sample film could not be copied");
    return;
  }
  win::SetUserClock(BenchClock);
  double total = 0;
  for (auto _ : state) {
    Host host;
    const auto start = std::chrono::steady_clock::now();
    auto* film = new VMCI(0, 0, 320, 240, Film().c_str(), true);
    host.AppendChild(film);
    film->Initialize();
    film->Play();
    for (int i = 0; i < 100000 && film->MediaState() != VMCI::kIdle; ++i) {
      gTicks += 40;
      MSG m;
      while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
      host.SendIdleEvent();
    }
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  win::SetUserClock(nullptr);
  const double ours = total / static_cast<double>(state.iterations());
  if (ours > 0 && FfmpegSeconds() > 0) state.counters["vs_ffmpeg"] = FfmpegSeconds() / ours;
}
BENCHMARK(BM_PlayFilmThroughMediaObject)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
