// Playing a video through the media interface beside FFmpeg decoding the same
// file to nothing: thirty seconds of 320x240 MPEG-4 at 25 frames a second,
// every frame decoded, converted and drawn into a window of the film's size
// as the clock moves on in 40 ms steps. The counter "ours_over_ffmpeg" is
// the processor time of our whole process during a play (from "play" to its
// end: decoding, conversion, drawing and the message loop) over the time
// FFmpeg's own decoder needs for the file, the medians of turns taken one
// after the other (goal: at most 1.3, the rest being the conversion and the
// blit).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/ffmpeg_reference.h"
#include "win/mci.h"
#include "win/user.h"

namespace {

using bench_support::FfmpegTestClip;
using bench_support::ProcessCpuSeconds;

DWORD gTicks = 100000;
DWORD BenchClock() { return gTicks; }

void BM_PlayVideoThroughMci(benchmark::State& state) {
  setenv("ZEMRA_HEADLESS", "1", 1);
  setenv("ZEMRA_MCI_AUDIO", "null", 1);
  const std::string& clip = FfmpegTestClip();
  if (clip.empty()) {
    state.SkipWithError("ffmpeg could not make the clip");
    return;
  }
  win::SetUserClock(BenchClock);
  // The client area is the film's size: each frame goes across unstretched.
  HWND wnd = CreateWindow("STATIC", "video", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr, nullptr,
                          nullptr);
  const std::string window = "window v handle " + std::to_string(reinterpret_cast<std::uintptr_t>(wnd));
  char reply[64];
  std::vector<double> ours, ffmpeg;
  for (auto _ : state) {
    if (mciSendString(("open \"" + clip + "\" type avivideo alias v").c_str(), nullptr, 0, nullptr) != 0 ||
        mciSendString(window.c_str(), nullptr, 0, nullptr) != 0) {
      state.SkipWithError("the clip did not open");
      break;
    }
    const double c0 = ProcessCpuSeconds();
    mciSendString("play v", nullptr, 0, nullptr);
    do {
      gTicks += 40;
      MSG m;
      while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
      mciSendString("status v mode", reply, sizeof reply, nullptr);
    } while (std::string(reply) == "playing");
    ours.push_back(ProcessCpuSeconds() - c0);
    mciSendString("close v", nullptr, 0, nullptr);
    state.PauseTiming();
    ffmpeg.push_back(bench_support::FfmpegDecodeOnce(clip));
    state.ResumeTiming();
  }
  DestroyWindow(wnd);
  win::SetUserClock(nullptr);
  bench_support::ReportVersusFfmpeg(state, ours, ffmpeg);
}
BENCHMARK(BM_PlayVideoThroughMci)->Unit(benchmark::kMillisecond)->Iterations(7);

}  // namespace
