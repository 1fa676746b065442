// Download throughput of a 10 MiB document over the loopback interface,
// through the server session (the reference peer sends it over a data
// connection with its KXHDR header), side by side with a minimal client in
// this process asking the same peer for the same document (a blocking loop
// over raw sockets: the peer's own ceiling). Each iteration of ours is
// followed by one fetch of the minimal client doing the same work (over
// one control connection kept throughout, as our session keeps its own;
// into a file made in the turn when ours writes one; reading the socket in
// pieces of the size ours is asked for when ours hands the body to a
// caller), so that both sides see the same load on the
// machine; "ratio_to_minimal" is the median of the minimal client's turns
// over the median of ours (goal: at least 1.0), so that a burst of load on
// one turn is outvoted rather than summed in.
#include <benchmark/benchmark.h>

// Our headers first: the WinSock names are ours before the system's socket
// headers make macros of some of them.
#include "core/kx_object.h"
#include "core/store_registry.h"
#include "net/open_store.h"
#include "net/references.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "support/median.h"
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

// The minimal client's control connection, kept from turn to turn as our
// session keeps its own: neither side's turns pay for connecting and for
// the peer's start of a new connection. Made again after a failure.
std::unique_ptr<bench_support::MinimalClient>& minimalClient() {
  static std::unique_ptr<bench_support::MinimalClient> client;
  if (!client || !client->ok()) client = std::make_unique<bench_support::MinimalClient>(peer().port());
  return client;
}

// One fetch of the document by the minimal client, into a file of a
// temporary folder when `toFile`, reading the socket in pieces of
// `readSize` bytes; its time in seconds (0 when it failed).
double baselineFetch(bool toFile, size_t readSize = 65536) {
  if (peer().port() == 0) return 0.0;
  std::unique_ptr<bench_support::MinimalClient>& client = minimalClient();
  if (!client->ok()) return 0.0;
  std::string path;
  int sink = -1;
  const auto t0 = std::chrono::steady_clock::now();
  const auto fail = [&] {
    if (sink >= 0) ::close(sink);
    if (!path.empty()) ::unlink(path.c_str());
    client.reset();
    return 0.0;
  };
  if (toFile) {
    // Ours makes its file in the turn too.
    path = (std::filesystem::temp_directory_path() / "zemra-bench-baseline-XXXXXX").string();
    sink = mkstemp(path.data());
    if (sink < 0) {
      path.clear();
      return fail();
    }
  }
  // Into a file, ours starts from the name alone and fetches the object's
  // record first: so does the minimal client.
  if (toFile && !client->roundTrip(bench_support::MinimalClient::kRecord, kDocumentId)) return fail();
  const long long got = client->download(kDocumentId, sink, readSize);
  if (got != static_cast<long long>(kDocumentBytes)) return fail();
  if (sink >= 0) ::close(sink);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  if (!path.empty()) ::unlink(path.c_str());
  return seconds;
}

// Our turns and the minimal client's over the same iterations, each turn
// of ours followed by one of the minimal client.
struct SideBySide {
  std::vector<double> ours;
  std::vector<double> minimal;
  bool baselineFailed = false;

  void ourTurn(std::chrono::steady_clock::time_point t0) {
    ours.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  // Times the minimal client once, outside the benchmark's own timing.
  void baseline(benchmark::State& state, bool toFile, size_t readSize = 65536) {
    state.PauseTiming();
    const double s = baselineFetch(toFile, readSize);
    if (s > 0.0) minimal.push_back(s);
    else baselineFailed = true;
    state.ResumeTiming();
  }
  void report(benchmark::State& state, size_t bytes) const {
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    const double oursMedian = bench_support::Median(ours);
    const double minimalMedian = bench_support::Median(minimal);
    state.counters["turns"] = static_cast<double>(ours.size());
    if (oursMedian > 0.0 && minimalMedian > 0.0 && !baselineFailed) {
      state.counters["ours_ms"] = oursMedian * 1e3;
      state.counters["minimal_ms"] = minimalMedian * 1e3;
      state.counters["ratio_to_minimal"] = minimalMedian / oursMedian;
    }
  }
};

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
  SideBySide times;
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
    times.ourTurn(t0);
    if (got != kDocumentBytes) {
      state.SkipWithError("short download");
      return;
    }
    total += got;
    times.baseline(state, false, buffer.size());
  }
  times.report(state, total);
}
BENCHMARK(BM_SessionDownload)->Arg(8192)->Arg(65536)->Unit(benchmark::kMillisecond)->UseRealTime();

// DownloadToFile: the whole path into a temporary file of the file cache.
void BM_DownloadToFile(benchmark::State& state) {
  if (!openDocument(state)) return;
  size_t total = 0;
  SideBySide times;
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
    times.ourTurn(t0);
    state.PauseTiming();
    std::string path = file.c_str();
    if (path.size() > 2 && path[1] == ':') path = path.substr(2);
    std::replace(path.begin(), path.end(), '\\', '/');
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    state.ResumeTiming();
    total += kDocumentBytes;
    times.baseline(state, true);
  }
  times.report(state, total);
}
BENCHMARK(BM_DownloadToFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// The baseline itself: the minimal client fetching the document from the
// same peer, into a file or not.
void BM_Baseline(benchmark::State& state) {
  size_t total = 0;
  for (auto _ : state) {
    if (baselineFetch(state.range(0) != 0) <= 0.0) {
      state.SkipWithError("baseline fetch failed");
      return;
    }
    total += kDocumentBytes;
  }
  state.SetBytesProcessed(static_cast<int64_t>(total));
}
BENCHMARK(BM_Baseline)->Arg(0)->Arg(1)->ArgName("to_file")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
