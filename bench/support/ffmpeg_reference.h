// FFmpeg as the yardstick of video playing: a clip it makes, and the
// processor time its own decoder needs for a file ("ffmpeg -benchmark
// -threads 1 -i FILE -f null -", whose figure leaves out the program's
// start and the opening of the file, as ours leave out the opening).
#pragma once

#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "median.h"

namespace bench_support {

// Thirty seconds of 320x240 MPEG-4 at 25 frames a second, made once; ""
// when ffmpeg could not make it.
inline const std::string& FfmpegTestClip() {
  static const std::string path = [] {
    const std::string p = (std::filesystem::temp_directory_path() / "zemra-bench-clip.avi").string();
    const std::string make =
        "ffmpeg -nostdin -v error -y -f lavfi -i testsrc=s=320x240:r=25:d=30 -c:v mpeg4 -q:v 4 '" + p + "'";
    if (std::system(make.c_str()) != 0) return std::string();
    return p;
  }();
  return path;
}

// User plus system time of this process so far, all threads.
inline double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The processor time FFmpeg reports for decoding `file` to nothing on one
// thread, once; 0 when it did not run.
inline double FfmpegDecodeOnce(const std::string& file) {
  const std::string command =
      "ffmpeg -nostdin -hide_banner -nostats -benchmark -threads 1 -i '" + file + "' -f null - 2>&1";
  FILE* out = popen(command.c_str(), "r");
  if (!out) return 0;
  char line[512];
  double seconds = -1;
  while (std::fgets(line, sizeof line, out)) {
    double user = 0, system = 0;
    if (std::sscanf(line, "bench: utime=%lfs stime=%lfs", &user, &system) == 2) seconds = user + system;
  }
  if (pclose(out) != 0 || seconds <= 0) return 0;
  return seconds;
}

// The median over five runs of FfmpegDecodeOnce; 0 when one did not run.
inline double FfmpegDecodeCpuSeconds(const std::string& file) {
  std::vector<double> runs;
  for (int i = 0; i < 5; ++i) {
    const double seconds = FfmpegDecodeOnce(file);
    if (seconds <= 0) return 0;
    runs.push_back(seconds);
  }
  return Median(runs);
}

// Our processor time and FFmpeg's over the same turns, as the medians of
// each: "cpu_ms", "ffmpeg_cpu_ms" and, when every FFmpeg turn ran,
// "ours_over_ffmpeg".
inline void ReportVersusFfmpeg(benchmark::State& state, const std::vector<double>& ours,
                               const std::vector<double>& ffmpeg) {
  const double oursMedian = Median(ours);
  const double ffmpegMedian = Median(ffmpeg);
  state.counters["cpu_ms"] = oursMedian * 1e3;
  state.counters["ffmpeg_cpu_ms"] = ffmpegMedian * 1e3;
  if (oursMedian > 0 && ffmpegMedian > 0 && *std::min_element(ffmpeg.begin(), ffmpeg.end()) > 0)
    state.counters["ours_over_ffmpeg"] = oursMedian / ffmpegMedian;
}

}  // namespace bench_support
