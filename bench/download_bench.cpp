// Download throughput of a 10 MiB document over the loopback interface,
// through the server session (the reference peer sends it over a data
// connection with its KXHDR header), side by side with a minimal client in
// this process asking the same peer for the same document (a blocking loop
// over raw sockets: the peer's own ceiling). The session benchmarks report
// their rate as a ratio to it ("ratio_to_minimal"; goal: at least 1.0).
#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "core/kx_object.h"
#include "core/store_registry.h"
#include "net/open_store.h"
#include "net/references.h"
#include "support/minimal_client.h"
#include "support/reference_peer.h"

namespace {

constexpr size_t kDocumentBytes = 10 * 1024 * 1024;
constexpr std::uint32_t kDocumentId = 0x20;

std::string documentBytes() {
  std::string s(kDocumentBytes, '\0');
  std::uint32_t x = 0x12345678;
  for (char& c : s) {
    x = x * 1103515245u + 12345u;
    c = static_cast<char>(x >> 24);
  }
  return s;
}

const std::string& payload() {
  static const std::string bytes = documentBytes();
  return bytes;
}

// The reference peer serving one collection and the 10 MB document.
bench_support::ReferencePeer& peer() {
  static bench_support::ReferencePeer p("download-bench", [](const std::string& content) {
    std::ofstream(content + "/root.rec")
        << "ObjectID=0x00000001\nType=Document\nDocumentType=collection\nName=rootcollection\n";
    std::ofstream(content + "/big.rec")
        << "ObjectID=0x00000020\nType=Document\nDocumentType=text\nMimeType=text/plain\n"
           "Name=big\nParent=0x00000001\n";
    std::ofstream(content + "/big.body", std::ios::binary) << payload();
  });
  return p;
}

// One fetch of the document by the minimal client; its time in seconds
// (0 when it failed).
double baselineFetch() {
  if (peer().port() == 0) return 0.0;
  bench_support::MinimalClient client(peer().port());
  if (!client.ok()) return 0.0;
  const auto t0 = std::chrono::steady_clock::now();
  if (client.download(kDocumentId) != static_cast<long long>(kDocumentBytes)) return 0.0;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// The minimal client's best rate (bytes per second) over a few fetches.
double baselineRate() {
  static const double rate = [] {
    double best = 0.0;
    for (int k = 0; k < 5; ++k) {
      const double s = baselineFetch();
      if (s > 0.0) best = std::max(best, static_cast<double>(kDocumentBytes) / s);
    }
    return best;
  }();
  return rate;
}

void reportRatio(benchmark::State& state, double seconds, size_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
  const double base = baselineRate();
  if (seconds > 0.0 && base > 0.0)
    state.counters["ratio_to_minimal"] = (static_cast<double>(bytes) / seconds) / base;
}

Ref<KXObject> openDocument(benchmark::State& state) {
  InstallObjectFactory();
  if (peer().port() == 0) {
    state.SkipWithError("the reference peer did not start");
    return Ref<KXObject>();
  }
  const std::string address = "korvex://127.0.0.1:" + std::to_string(peer().port()) + "/";
  const Ref<Store> store = openStore(address.c_str(), Ref<Store>());
  Ref<KXObject> big = store ? fetchObject("0x00000020", store) : Ref<KXObject>();
  if (!big) state.SkipWithError("no session or no document");
  return big;
}

// openRequest, readRequest in chunks of range(0) bytes, closeRequest.
void BM_SessionDownload(benchmark::State& state) {
  const Ref<KXObject> big = openDocument(state);
  if (!big) return;
  const Ref<Store> store = big->getStore();
  std::vector<char> buffer(static_cast<size_t>(state.range(0)));
  size_t total = 0;
  double seconds = 0.0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    StoreEntry* entry = store->openRequest(big, kRequestRead, nullptr, "");
    if (!entry) {
      state.SkipWithError("openRequest failed");
      return;
    }
    size_t got = 0;
    for (;;) {
      const int n = store->readRequest(entry, buffer.data(), static_cast<int>(buffer.size()));
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
    store->closeRequest(entry);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (got != kDocumentBytes) {
      state.SkipWithError("short download");
      return;
    }
    total += got;
  }
  reportRatio(state, seconds, total);
}
BENCHMARK(BM_SessionDownload)->Arg(8192)->Arg(65536)->Unit(benchmark::kMillisecond)->UseRealTime();

// DownloadToFile: the whole path into a temporary file of the file cache.
void BM_DownloadToFile(benchmark::State& state) {
  if (!openDocument(state)) return;
  size_t total = 0;
  double seconds = 0.0;
  for (auto _ : state) {
    // A fresh object each time: a loaded document would answer with the
    // file it has.
    state.PauseTiming();
    ClearObjectCache();
    state.ResumeTiming();
    const auto t0 = std::chrono::steady_clock::now();
    CString file;
    if (!DownloadToFile("0x00000020", file)) {
      state.SkipWithError("download failed");
      return;
    }
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    state.PauseTiming();
    std::string path = file.c_str();
    if (path.size() > 2 && path[1] == ':') path = path.substr(2);
    std::replace(path.begin(), path.end(), '\\', '/');
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    state.ResumeTiming();
    total += kDocumentBytes;
  }
  reportRatio(state, seconds, total);
}
BENCHMARK(BM_DownloadToFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// The baseline itself: the minimal client fetching the document from the
// same peer.
void BM_Baseline(benchmark::State& state) {
  size_t total = 0;
  for (auto _ : state) {
    if (baselineFetch() <= 0.0) {
      state.SkipWithError("baseline fetch failed");
      return;
    }
    total += kDocumentBytes;
  }
  state.SetBytesProcessed(static_cast<int64_t>(total));
}
BENCHMARK(BM_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
