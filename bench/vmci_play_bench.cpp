// The page's media object playing a video, sitting paused, and playing a
// sound.
//
// BM_PlayFilmThroughMediaObject plays thirty seconds of 320x240 MPEG-4 in
// the object's window as the clock moves on in 40 ms steps with an idle
// event per step (the polling of a page) until the object sees it end. The
// counter "ours_over_ffmpeg" is the processor time of our whole process
// during the play over the time FFmpeg's own decoder needs for the same
// file, the medians of turns taken one after the other (goal: at most 1.3,
// the rest being the conversion and the blit).
//
// BM_PausedFilmIdle leaves a paused film on a page for two seconds in MFC's
// message loop, idle processing as the client's: "cpu_percent_of_core" and
// "wakeups_per_s" (idle calls and messages) are what sitting there costs
// (goal: near 0).
//
// BM_PlayingSoundIdle plays a sound on a page for two seconds in the same
// loop: the same two counters are what playing costs beside the sound's own
// decoding and mixing (goal: a few tens of wake-ups a second at most), and
// "idle_calls_per_s" is the idle processing's share of the wake-ups (the
// rest are the media pump's timer).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/idle_wake.h"
#include "mfc/app.h"
#include "mfc/wnd.h"
#include "pages/media/vmci.h"
#include "pages/objects/vgroup.h"
#include "support/ffmpeg_reference.h"
#include "win/mci.h"
#include "win/user.h"

namespace {

using bench_support::FfmpegTestClip;
using bench_support::ProcessCpuSeconds;

DWORD gTicks = 100000;
DWORD BenchClock() { return gTicks; }

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

// Three seconds of a 440 Hz tone, 22050 Hz mono, made once; "" when ffmpeg
// could not make it.
const std::string& TestSound() {
  static const std::string path = [] {
    const std::string p = (std::filesystem::temp_directory_path() / "zemra-bench-tone.wav").string();
    const std::string make = "ffmpeg -nostdin -v error -y -f lavfi -i sine=frequency=440:duration=3 -ar 22050 '" +
                             p + "'";
    if (std::system(make.c_str()) != 0) return std::string();
    return p;
  }();
  return path;
}

bool Prepare(benchmark::State& state) {
  setenv("ZEMRA_HEADLESS", "1", 1);
  setenv("ZEMRA_MCI_AUDIO", "null", 1);
  if (FfmpegTestClip().empty()) {
    state.SkipWithError("ffmpeg could not make the clip");
    return false;
  }
  return true;
}

void BM_PlayFilmThroughMediaObject(benchmark::State& state) {
  if (!Prepare(state)) return;
  win::SetUserClock(BenchClock);
  std::vector<double> ours, ffmpeg;
  for (auto _ : state) {
    Host host;
    auto* film = new VMCI(0, 0, 320, 240, FfmpegTestClip().c_str(), true);
    host.AppendChild(film);
    film->Initialize();
    const double c0 = ProcessCpuSeconds();
    film->Play();
    for (int i = 0; i < 100000 && film->MediaState() != VMCI::kIdle; ++i) {
      gTicks += 40;
      MSG m;
      while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
      host.SendIdleEvent();
    }
    ours.push_back(ProcessCpuSeconds() - c0);
    state.PauseTiming();
    ffmpeg.push_back(bench_support::FfmpegDecodeOnce(FfmpegTestClip()));
    state.ResumeTiming();
  }
  win::SetUserClock(nullptr);
  bench_support::ReportVersusFfmpeg(state, ours, ffmpeg);
}
BENCHMARK(BM_PlayFilmThroughMediaObject)->Unit(benchmark::kMillisecond)->Iterations(7);

// MFC's loop with the client's idle processing of a page: an idle event per
// idle call, the next one when the page says it needs it.
class PageApp : public CWinApp {
 public:
  explicit PageApp(Host* page) : CWinApp("bench"), page_(page) {}
  BOOL OnIdle(LONG count) override {
    ++wakeups;
    ++idleCalls;
    CWinApp::OnIdle(count);
    page_->SendIdleEvent();
    return WakeForIdle(page_->IdleWait());
  }
  BOOL PreTranslateMessage(MSG* msg) override {
    ++wakeups;
    return CWinApp::PreTranslateMessage(msg);
  }
  long long wakeups = 0;
  long long idleCalls = 0;

 private:
  Host* page_;
};

void CALLBACK QuitAfterWait(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); }

// What the message loop costs while a page sits in it for 2 s, summed over
// the benchmark's iterations.
struct LoopCost {
  double cpu = 0, wall = 0;
  long long wakeups = 0, idleCalls = 0;

  void SitTwoSeconds(PageApp& app) {
    const UINT_PTR timer = SetTimer(nullptr, 0, 2000, QuitAfterWait);
    const double c0 = ProcessCpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    app.Run();
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    cpu += ProcessCpuSeconds() - c0;
    wakeups += app.wakeups;
    idleCalls += app.idleCalls;
    KillTimer(nullptr, timer);
  }
  void Report(benchmark::State& state, bool withIdleCalls) const {
    if (wall <= 0) return;
    state.counters["cpu_percent_of_core"] = 100.0 * cpu / wall;
    state.counters["wakeups_per_s"] = static_cast<double>(wakeups) / wall;
    if (withIdleCalls) state.counters["idle_calls_per_s"] = static_cast<double>(idleCalls) / wall;
  }
};

void BM_PausedFilmIdle(benchmark::State& state) {
  if (!Prepare(state)) return;
  LoopCost cost;
  for (auto _ : state) {
    Host host;
    PageApp app(&host);
    auto* film = new VMCI(0, 0, 320, 240, FfmpegTestClip().c_str(), true);
    host.AppendChild(film);
    film->Initialize();
    film->Play();
    host.SendIdleEvent();
    film->Pause();
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
    cost.SitTwoSeconds(app);
    if (film->MediaState() != VMCI::kPaused) state.SkipWithError("the film did not stay paused");
  }
  cost.Report(state, false);
}
BENCHMARK(BM_PausedFilmIdle)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_PlayingSoundIdle(benchmark::State& state) {
  if (!Prepare(state)) return;
  if (TestSound().empty()) {
    state.SkipWithError("ffmpeg could not make the sound");
    return;
  }
  LoopCost cost;
  for (auto _ : state) {
    Host host;
    PageApp app(&host);
    auto* sound = new VMCI(0, 0, 0, 0, TestSound().c_str(), false);
    host.AppendChild(sound);
    sound->Initialize();
    sound->Play();
    host.SendIdleEvent();
    cost.SitTwoSeconds(app);
    if (sound->MediaState() != VMCI::kPlaying) state.SkipWithError("the sound did not play on");
    sound->StopMedia();
  }
  cost.Report(state, true);
}
BENCHMARK(BM_PlayingSoundIdle)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
