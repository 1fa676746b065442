// LZW expansion of reply bodies: decoding throughput on a few MB of .Z data
// (record-like text; the machine code of this program and its libraries as
// binary data), made with `compress -b 12` when the benchmark starts, side by
// side with `gzip -dc` on the same files. BM_LzwVsGzip compares the same
// work on both sides: a whole process that expands the file to /dev/null,
// `gzip -dc` against `lzw_expand FILE` (a small command beside this
// program, linked with the decoder and the platform layer alone, that
// streams the output through one buffer), and reports gzip's time over ours
// as `gzip_over_ours` (above 1: we are faster). BM_LzwDecode is the
// expansion alone into one block, BM_LzwStream through a 64 KiB buffer,
// both in this process.
// bench-libs: zemra_test_support
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>


#include <benchmark/benchmark.h>

#include "net/lzw.h"
#include "tests/net/lzw/lzw_samples.h"

namespace {

struct Sample {
  std::string plain;    // what was compressed
  std::string zfile;    // the .Z file
  std::vector<BYTE> body;  // the code stream without the 3-byte header
  bool ok = false;
};

std::string ScratchDir() {
  static const std::string dir = [] {
    std::string base = (std::filesystem::temp_directory_path() / "zemra-lzw-bench").string();
    std::filesystem::create_directories(base);
    return base;
  }();
  return dir;
}

Sample MakeSample(const std::string& name, const std::string& plain) {
  Sample s;
  s.plain = plain;
  std::string z = lzw_samples::CompressZ(ScratchDir(), name, plain, 12);
  if (z.size() < 3) return s;
  s.zfile = ScratchDir() + "/" + name + ".Z";
  s.body.assign(z.begin() + 3, z.end());
  s.ok = true;
  return s;
}

const Sample& Text() {
  static const Sample s = MakeSample("text", lzw_samples::Text(3 << 20, 42));
  return s;
}

// Machine code and data: this program and the libraries it has loaded, up
// to 3 MB.
std::string LoadedFiles() {
  std::string maps = lzw_samples::ReadFile("/proc/self/maps");
  std::set<std::string> seen;
  std::string out = lzw_samples::ReadFile("/proc/self/exe");
  size_t at = 0;
  while (out.size() < (3u << 20) && at < maps.size()) {
    size_t end = maps.find('\n', at);
    if (end == std::string::npos) end = maps.size();
    size_t slash = maps.find('/', at);
    if (slash < end) {
      std::string path = maps.substr(slash, end - slash);
      if (seen.insert(path).second) out += lzw_samples::ReadFile(path);
    }
    at = end + 1;
  }
  if (out.size() > (3u << 20)) out.resize(3u << 20);
  return out;
}

const Sample& Binary() {
  static const Sample s = MakeSample("binary", LoadedFiles());
  return s;
}

const Sample& Pick(int64_t which) { return which == 0 ? Text() : Binary(); }

// One expansion into a fresh block; false when it did not give the input.
bool DecodeOnce(const Sample& s) {
  BYTE* block = nullptr;
  LONG length = 0;
  LONG capacity = 0;
  LzwStatus status = lzwExpand(s.body.data(), static_cast<LONG>(s.body.size()), block, length,
                               capacity, kLzwReplyBits);
  bool same = status == LzwStatus::Ok && static_cast<size_t>(length) == s.plain.size();
  benchmark::DoNotOptimize(block);
  std::free(block);
  return same;
}

double GunzipSeconds(const Sample& s) {
  auto start = std::chrono::steady_clock::now();
  int status = lzw_samples::RunShell("gzip -dc '" + s.zfile + "' > /dev/null");
  auto end = std::chrono::steady_clock::now();
  return status == 0 ? std::chrono::duration<double>(end - start).count() : -1.0;
}

void BM_LzwDecode(benchmark::State& state) {
  const Sample& s = Pick(state.range(0));
  if (!s.ok) return state.SkipWithError("compress(1) is needed: run tools/install-deps.sh");
  for (auto _ : state)
    if (!DecodeOnce(s)) return state.SkipWithError("decoding failed");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(s.plain.size()));
  state.SetLabel(state.range(0) == 0 ? "text" : "binary");
}
BENCHMARK(BM_LzwDecode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same expansion through one 64 KiB buffer, as lzw_expand does it.
void BM_LzwStream(benchmark::State& state) {
  const Sample& s = Pick(state.range(0));
  if (!s.ok) return state.SkipWithError("compress(1) is needed: run tools/install-deps.sh");
  std::vector<BYTE> buffer(64 * 1024);
  LzwStream stream;
  for (auto _ : state) {
    LzwStatus status = stream.start(s.body.data(), static_cast<LONG>(s.body.size()), kLzwReplyBits);
    size_t total = 0;
    for (LONG n = 1; status == LzwStatus::Ok && n > 0; total += static_cast<size_t>(n))
      status = stream.read(buffer.data(), static_cast<LONG>(buffer.size()), n);
    benchmark::DoNotOptimize(buffer.data());
    if (status != LzwStatus::Ok || total != s.plain.size()) return state.SkipWithError("decoding failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(s.plain.size()));
  state.SetLabel(state.range(0) == 0 ? "text" : "binary");
}
BENCHMARK(BM_LzwStream)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_GzipDc(benchmark::State& state) {
  const Sample& s = Pick(state.range(0));
  if (!s.ok) return state.SkipWithError("compress(1) is needed: run tools/install-deps.sh");
  for (auto _ : state) {
    double seconds = GunzipSeconds(s);
    if (seconds < 0) return state.SkipWithError("gzip -dc failed");
    state.SetIterationTime(seconds);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(s.plain.size()));
  state.SetLabel(state.range(0) == 0 ? "text" : "binary");
}
BENCHMARK(BM_GzipDc)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// The small command beside this program that expands one .Z file to its
// output.
double OursSeconds(const Sample& s) {
  static const std::string command =
      (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "lzw_expand").string();
  auto start = std::chrono::steady_clock::now();
  int status = lzw_samples::RunShell("'" + command + "' '" + s.zfile + "' > /dev/null");
  auto end = std::chrono::steady_clock::now();
  return status == 0 ? std::chrono::duration<double>(end - start).count() : -1.0;
}

// Both on the same file in each iteration, each a whole process; the time
// reported is ours.
void BM_LzwVsGzip(benchmark::State& state) {
  const Sample& s = Pick(state.range(0));
  if (!s.ok) return state.SkipWithError("compress(1) is needed: run tools/install-deps.sh");
  double ours = 0;
  double theirs = 0;
  for (auto _ : state) {
    double mine = OursSeconds(s);
    double gzip = GunzipSeconds(s);
    if (mine < 0 || gzip < 0) return state.SkipWithError("decoding failed");
    ours += mine;
    theirs += gzip;
    state.SetIterationTime(mine);
  }
  double mb = static_cast<double>(s.plain.size()) * static_cast<double>(state.iterations()) / 1e6;
  state.counters["ours_MB_per_s"] = mb / ours;
  state.counters["gzip_MB_per_s"] = mb / theirs;
  state.counters["gzip_over_ours"] = theirs / ours;
  state.SetLabel(state.range(0) == 0 ? "text" : "binary");
}
BENCHMARK(BM_LzwVsGzip)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

