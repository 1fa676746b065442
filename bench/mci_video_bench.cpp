// Playing a video through the media interface beside FFmpeg decoding the same
// file to nothing ("ffmpeg -threads 1 -i clip.avi -f null -"): ten seconds of
// 320x240 MPEG-4 at 25 frames a second, every frame decoded, converted and
// drawn into a window as the clock moves on in 40 ms steps. The counter
// "vs_ffmpeg" is FFmpeg's time divided by ours (near 1: no work beyond the
// decoder's own and the blit).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "win/mci.h"
#include "win/user.h"

namespace {

DWORD gTicks = 100000;
DWORD BenchClock() { return gTicks; }

const std::string& Clip() {
  static const std::string path = [] {
    const std::string p = (std::filesystem::temp_directory_path() / "zemra-bench-clip.avi").string();
    const std::string make = "ffmpeg -nostdin -v error -y -f lavfi -i testsrc=s=320x240:r=25:d=10 -c:v mpeg4 -q:v 4 '" + p + "'";
    if (std::system(make.c_str()) != 0) return std::string();
    return p;
  }();
  return path;
}

double FfmpegSeconds() {
  static const double seconds = [] {
    const std::string run = "ffmpeg -nostdin -v error -threads 1 -i '" + Clip() + "' -f null -";
    const auto start = std::chrono::steady_clock::now();
    if (std::system(run.c_str()) != 0) return 0.0;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }();
  return seconds;
}

void BM_PlayVideoThroughMci(benchmark::State& state) {
  setenv("ZEMRA_HEADLESS", "1", 1);
  setenv("ZEMRA_MCI_AUDIO", "null", 1);
  if (Clip().empty()) {
    state.SkipWithError("ffmpeg could not make the clip");
    return;
  }
  win::SetUserClock(BenchClock);
  HWND wnd = CreateWindow("STATIC", "video", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr,
                          nullptr, nullptr);
  const std::string window = "window v handle " + std::to_string(reinterpret_cast<std::uintptr_t>(wnd));
  char reply[64];
  double total = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    mciSendString(("open \"" + Clip() + "\" type avivideo alias v").c_str(), nullptr, 0, nullptr);
    mciSendString(window.c_str(), nullptr, 0, nullptr);
    mciSendString("play v", nullptr, 0, nullptr);
    do {
      gTicks += 40;
      mciSendString("status v mode", reply, sizeof reply, nullptr);
    } while (std::string(reply) == "playing");
    mciSendString("close v", nullptr, 0, nullptr);
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  DestroyWindow(wnd);
  win::SetUserClock(nullptr);
  const double ours = total / static_cast<double>(state.iterations());
  if (ours > 0 && FfmpegSeconds() > 0) state.counters["vs_ffmpeg"] = FfmpegSeconds() / ours;
}
BENCHMARK(BM_PlayVideoThroughMci)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
