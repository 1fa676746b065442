// Playing a video through the media interface beside FFmpeg decoding the same
// file to nothing: thirty seconds of 320x240 MPEG-4 at 25 frames a second,
// every frame decoded, converted and drawn into a window as the clock moves
// on in 40 ms steps. The counter "ours_over_ffmpeg" is the processor time of
// our play (from "play" to its end, the drawing included) over the time
// FFmpeg's own decoder needs for the file (goal: at most 1.3, the rest being
// the conversion and the blit).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <string>

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
  HWND wnd = CreateWindow("STATIC", "video", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr,
                          nullptr, nullptr);
  const std::string window = "window v handle " + std::to_string(reinterpret_cast<std::uintptr_t>(wnd));
  char reply[64];
  double cpu = 0;
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
    cpu += ProcessCpuSeconds() - c0;
    mciSendString("close v", nullptr, 0, nullptr);
  }
  DestroyWindow(wnd);
  win::SetUserClock(nullptr);
  const double ours = cpu / static_cast<double>(state.iterations());
  const double ffmpeg = bench_support::FfmpegDecodeCpuSeconds(clip);
  state.counters["cpu_ms"] = ours * 1e3;
  state.counters["ffmpeg_cpu_ms"] = ffmpeg * 1e3;
  if (ours > 0 && ffmpeg > 0) state.counters["ours_over_ffmpeg"] = ours / ffmpeg;
}
BENCHMARK(BM_PlayVideoThroughMci)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
