// PCX decoding throughput of Murvik beside netpbm's pcxtoppm on the same
// files. Murvik is loaded as the client loads it ("MURVIK.DLL" from the
// build's bin/ folder) and reads each file through ordinal 2; pcxtoppm
// converts the same file to a PPM into /dev/null. The counter
// "vs_pcxtoppm" sets the same work side by side: pcxtoppm's process time
// divided by that of pcx_to_ppm (beside this program), a small command
// linked with the platform layer alone that reads the file through Murvik
// and writes the PPM (above 1, ours is faster). The medians of seven runs
// are compared, the two commands taking turns. The time per iteration is
// the decode alone, in this process.
// The files are written once by Murvik's own writer (ordinal 6): a
// photograph-like picture (gradients, edges and noise) at 1, 4, 8 and 24
// bits, run-length coded.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/support/packed_dib.h"
#include "win/kernel.h"
#include "win/module.h"

namespace {

using ReadFn = HGLOBAL (*)(LPCSTR, int, HWND, HGLOBAL, DWORD, int*);
using WriteExFn = BOOL (*)(LPCSTR, HGLOBAL, void*);

struct Murvik {
  HMODULE lib = nullptr;
  ReadFn read = nullptr;
  WriteExFn writeEx = nullptr;
};

const Murvik& Plugin() {
  static const Murvik m = [] {
    Murvik p;
    char self[MAX_PATH] = {};
    GetModuleFileName(nullptr, self, sizeof self);
    char host[4096] = {};
    MapPathToHost(self, host, sizeof host);
    std::filesystem::path bin = std::filesystem::path(host).parent_path().parent_path() / "bin";
    win::SetModuleSearchDirectories({bin.string()});
    p.lib = LoadLibrary("MURVIK.DLL");
    if (p.lib) {
      p.read = reinterpret_cast<ReadFn>(GetProcAddress(p.lib, MAKEINTRESOURCE(2)));
      p.writeEx = reinterpret_cast<WriteExFn>(GetProcAddress(p.lib, MAKEINTRESOURCE(6)));
    }
    return p;
  }();
  return m;
}

// A packed DIB of a picture with smooth areas, edges and some noise.
std::vector<std::uint8_t> Picture(int w, int h, int bits) {
  std::vector<std::uint32_t> table(bits <= 8 ? std::size_t{1} << bits : 0);
  for (std::size_t i = 0; i < table.size(); ++i)
    table[i] = static_cast<std::uint32_t>((255 - i) & 0xFF) << 16 | static_cast<std::uint32_t>((i * 3) & 0xFF) << 8 |
               static_cast<std::uint32_t>((i * 7) & 0xFF);
  std::uint32_t seed = 1;
  return testing_support::PackDib(w, h, bits, table, false, [&](int x, int y) -> std::uint32_t {
    seed = seed * 1664525 + 1013904223;
    int noise = (seed >> 28) < 3 ? static_cast<int>(seed >> 24 & 15) : 0;
    int v = ((x / 64 + y / 48) & 1) ? (x * 255 / w) : (y * 255 / h);
    v = std::min(255, v + noise);
    switch (bits) {
      case 1: return v > 127;
      case 4: return static_cast<std::uint32_t>(v >> 4);
      case 8: return static_cast<std::uint32_t>(v & 0xF8);
      default:
        return static_cast<std::uint32_t>(v) | static_cast<std::uint32_t>((v + x) & 0xF0) << 8 |
               static_cast<std::uint32_t>(255 - v) << 16;
    }
  });
}

// The test file of a depth, written once.
const std::string& File(int bits) {
  static std::map<int, std::string> files;
  auto it = files.find(bits);
  if (it != files.end()) return it->second;
  std::string name = (std::filesystem::temp_directory_path() / ("zemra_pcx_bench_" + std::to_string(bits) + ".pcx")).string();
  std::vector<std::uint8_t> dib = Picture(2400, 1600, bits);
  HGLOBAL block = GlobalAlloc(GHND, dib.size());
  std::memcpy(GlobalLock(block), dib.data(), dib.size());
  GlobalUnlock(block);
  struct { WORD version, pcxVersion, bits, rle; } options{0x0100, 5, static_cast<WORD>(bits), 1};
  if (!Plugin().writeEx || !Plugin().writeEx(name.c_str(), block, &options)) name.clear();
  GlobalFree(block);
  return files[bits] = name;
}

// The median times of seven runs of each of two shell commands, run in
// turns so that a change of the machine's load falls on both; 0 for a
// command that fails.
std::pair<double, double> CommandSeconds(const std::string& first, const std::string& second) {
  std::vector<double> a, b;
  auto run = [](const std::string& command, std::vector<double>& into) {
    auto t0 = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) return false;
    into.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    return true;
  };
  bool okA = true, okB = true;
  for (int i = 0; i < 7; ++i) {
    okA = okA && run(first, a);
    okB = okB && run(second, b);
  }
  auto median = [](std::vector<double>& v, bool ok) {
    if (!ok || v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  return {median(a, okA), median(b, okB)};
}

void BM_MurvikDecode(benchmark::State& state) {
  const int bits = static_cast<int>(state.range(0));
  const std::string& file = File(bits);
  if (!Plugin().read || file.empty()) {
    state.SkipWithError("the Murvik module or its test file is missing");
    return;
  }
  double total = 0;
  std::int64_t n = 0;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    HGLOBAL block = GlobalAlloc(GHND, 44);
    HGLOBAL dib = Plugin().read(file.c_str(), 0, nullptr, block, 0, nullptr);
    GlobalFree(dib ? dib : block);
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    ++n;
    if (!dib) state.SkipWithError("Murvik refused its own file");
  }
  const auto pixels = static_cast<std::int64_t>(2400) * 1600;
  state.SetItemsProcessed(state.iterations() * pixels);
  state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(file));
  const std::string command =
      (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "pcx_to_ppm").string();
  double peer = 0, ours = 0;
  if (std::system("command -v pcxtoppm >/dev/null 2>&1") == 0)
    std::tie(peer, ours) = CommandSeconds("pcxtoppm '" + file + "' > /dev/null 2>&1",
                                          "'" + command + "' '" + file + "' > /dev/null 2>&1");
  if (n > 0) state.counters["decode_ms"] = total / static_cast<double>(n) * 1000;
  if (peer > 0 && ours > 0 && n > 0) {
    state.counters["pcxtoppm_ms"] = peer * 1000;
    state.counters["ours_as_command_ms"] = ours * 1000;
    state.counters["vs_pcxtoppm"] = peer / ours;
  }
}
BENCHMARK(BM_MurvikDecode)->Arg(1)->Arg(4)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
