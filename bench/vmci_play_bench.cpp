// The page's media object playing a video, and sitting paused.
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
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

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
  const double oursMedian = bench_support::Median(ours);
  const double ffmpegMedian = bench_support::Median(ffmpeg);
  state.counters["cpu_ms"] = oursMedian * 1e3;
  state.counters["ffmpeg_cpu_ms"] = ffmpegMedian * 1e3;
  if (oursMedian > 0 && ffmpegMedian > 0 && *std::min_element(ffmpeg.begin(), ffmpeg.end()) > 0)
    state.counters["ours_over_ffmpeg"] = oursMedian / ffmpegMedian;
}
BENCHMARK(BM_PlayFilmThroughMediaObject)->Unit(benchmark::kMillisecond)->Iterations(7);

// MFC's loop with the client's idle processing of a page: an idle event per
// idle call, more calls only while the page asks for them.
class PageApp : public CWinApp {
 public:
  explicit PageApp(Host* page) : CWinApp("bench"), page_(page) {}
  BOOL OnIdle(LONG count) override {
    ++wakeups;
    CWinApp::OnIdle(count);
    page_->SendIdleEvent();
    return page_->WantsIdle() ? TRUE : FALSE;
  }
  BOOL PreTranslateMessage(MSG* msg) override {
    ++wakeups;
    return CWinApp::PreTranslateMessage(msg);
  }
  long long wakeups = 0;

 private:
  Host* page_;
};

void CALLBACK QuitAfterWait(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); }

void BM_PausedFilmIdle(benchmark::State& state) {
  if (!Prepare(state)) return;
  double cpu = 0, wall = 0;
  long long wakeups = 0;
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
    const UINT_PTR timer = SetTimer(nullptr, 0, 2000, QuitAfterWait);
    const double c0 = ProcessCpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    app.Run();
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    cpu += ProcessCpuSeconds() - c0;
    wakeups += app.wakeups;
    KillTimer(nullptr, timer);
    if (film->MediaState() != VMCI::kPaused) state.SkipWithError("the film did not stay paused");
  }
  if (wall > 0) {
    state.counters["cpu_percent_of_core"] = 100.0 * cpu / wall;
    state.counters["wakeups_per_s"] = static_cast<double>(wakeups) / wall;
  }
}
BENCHMARK(BM_PausedFilmIdle)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
