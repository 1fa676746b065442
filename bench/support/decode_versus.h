// A plug-in's file reader timed beside a reference library on the same
// file: the median time per file of each, and the reference's over ours
// as the counter "vs_<reference>" (above 1, the plug-in is faster).
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "median.h"
#include "win/kernel.h"
#include "win/user.h"

namespace bench_support {

// The median seconds of `runs` calls of `once`; 0 as soon as one fails.
template <class Once>
double MedianSeconds(int runs, Once once) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    auto t0 = std::chrono::steady_clock::now();
    if (!once()) return 0;
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  return Median(std::move(times));
}

// Each iteration reads `file` through `read(block)` (the plug-in's reader
// given a fresh 44-byte block: the DIB, or null) and frees the result;
// `reference()` reads it once with the reference library (false: it
// failed), nine times after the plug-in's runs. Reports `pixels` items per
// read, the file's size, "<name>_ms" and "vs_<name>".
template <class Read, class Reference>
void DecodeVersus(benchmark::State& state, const std::string& file, std::int64_t pixels, Read read,
                  const char* refusal, const std::string& name, Reference reference) {
  win::ShowMessageBoxWindows(0);
  std::vector<double> times;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    HGLOBAL block = GlobalAlloc(GHND, 44);
    HGLOBAL dib = read(block);
    GlobalFree(dib ? dib : block);
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    if (!dib) state.SkipWithError(refusal);
  }
  state.SetItemsProcessed(state.iterations() * pixels);
  state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(file));
  const double ours = Median(std::move(times));
  const double peer = MedianSeconds(9, reference);
  if (peer > 0 && ours > 0) {
    state.counters[name + "_ms"] = peer * 1000;
    state.counters["vs_" + name] = peer / ours;
  }
}

}  // namespace bench_support
