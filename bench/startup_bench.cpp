// Program start: a small program linked to the platform library
// (bench/programs/platform_start.cpp) beside a plain C program that does
// nothing (bench/programs/plain_start.c), each started and waited for as a
// whole process, one after the other in each iteration so that all see the
// same load. `ours_over_plain` is our start time over the plain program's
// (goal: at most 1.2). `runtime_over_plain` is the same for a C++ program
// that only loads the C++ runtime (bench/programs/runtime_start.cpp): the
// part of ours that no library of ours can take away.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include <benchmark/benchmark.h>

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
  double oursSeconds = 0;
  double plainSeconds = 0;
  double runtimeSeconds = 0;
  for (auto _ : state) {
    const double a = RunSeconds(ours);
    const double b = RunSeconds(plain);
    const double c = RunSeconds(runtime);
    if (a < 0 || b < 0 || c < 0) return state.SkipWithError("a start program did not run (build the bench tree whole)");
    oursSeconds += a;
    plainSeconds += b;
    runtimeSeconds += c;
    state.SetIterationTime(a);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["ours_ms"] = oursSeconds * 1e3 / n;
  state.counters["plain_ms"] = plainSeconds * 1e3 / n;
  state.counters["runtime_ms"] = runtimeSeconds * 1e3 / n;
  state.counters["ours_over_plain"] = plainSeconds > 0 ? oursSeconds / plainSeconds : 0;
  state.counters["runtime_over_plain"] = plainSeconds > 0 ? runtimeSeconds / plainSeconds : 0;
}
BENCHMARK(BM_ProgramStart)->Iterations(50)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
