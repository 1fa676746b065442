// Program start: a small program linked to the platform library
// (bench/programs/platform_start.cpp) beside a plain C program that does
// nothing (bench/programs/plain_start.c) and a C++ program that only loads
// the C++ runtime (bench/programs/runtime_start.cpp), each started and
// waited for as a whole process, one after the other in each iteration so
// that all see the same load. The figures are medians over the iterations.
// `ours_over_runtime` is our start time over the runtime-only program's:
// what the library adds to the start of any C++ program (goal: at most
// 1.2). `ours_over_plain` and `runtime_over_plain` set both against the
// plain program; the runtime's share (libstdc++, libm, libgcc_s) is the
// floor no library of ours can take away.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "support/median.h"

extern char** environ;

namespace {

std::string Beside(const char* name) {
  char self[4096];
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return name;
  std::string dir(self, static_cast<size_t>(n));
  return dir.substr(0, dir.rfind('/') + 1) + name;
}

// Seconds from spawning the program to its end; negative when it did not
// run or failed.
double RunSeconds(const std::string& program) {
  char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
  const auto t0 = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return -1;
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void BM_ProgramStart(benchmark::State& state) {
  const std::string ours = Beside("platform_start");
  const std::string plain = Beside("plain_start");
  const std::string runtime = Beside("runtime_start");
  std::vector<double> oursSeconds;
  std::vector<double> plainSeconds;
  std::vector<double> runtimeSeconds;
  for (auto _ : state) {
    const double a = RunSeconds(ours);
    const double b = RunSeconds(plain);
    const double c = RunSeconds(runtime);
    if (a < 0 || b < 0 || c < 0) return state.SkipWithError("a start program did not run (build the bench tree whole)");
    oursSeconds.push_back(a);
    plainSeconds.push_back(b);
    runtimeSeconds.push_back(c);
    state.SetIterationTime(a);
  }
  const double o = bench_support::Median(oursSeconds);
  const double p = bench_support::Median(plainSeconds);
  const double r = bench_support::Median(runtimeSeconds);
  state.counters["ours_ms"] = o * 1e3;
  state.counters["plain_ms"] = p * 1e3;
  state.counters["runtime_ms"] = r * 1e3;
  state.counters["ours_over_runtime"] = r > 0 ? o / r : 0;
  state.counters["ours_over_plain"] = p > 0 ? o / p : 0;
  state.counters["runtime_over_plain"] = p > 0 ? r / p : 0;
}
BENCHMARK(BM_ProgramStart)->Iterations(200)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
