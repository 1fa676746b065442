// Request round trips per second on the control connection, against the
// reference peer on the loopback interface (started here, stopped at the
// end). Each iteration is one request and the wait for its reply.
//
// The peer's own ceiling is measured by a minimal client (a blocking loop
// over a raw socket, BM_PeerCeiling) right after each of the client's
// benchmarks, asking the same request of the same peer, and with the same
// form of reply: where the client asks for compressed replies, so does the
// minimal client, which reads each reply whole but expands nothing (the
// reference peer's compression in Python takes most of a compressed
// round trip; the client's expansion stays on our side of the ratio). The
// benchmarks report their rate over it as "ratio_to_ceiling" (goal: at
// least 0.5).
// BM_DelayedReplyWait waits 3 s for a reply the peer holds back and reports
// what the wait cost: "cpu_percent_of_core" (goal: under 1) and
// "wakeups_per_s", the waits that were allowed to sleep; BM_DelayedDataWait
// does the same for a document whose data connection the peer holds back.
#include <benchmark/benchmark.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>

#include <time.h>

#include "core/kx_object.h"
#include "core/message_pump.h"
#include "core/store_registry.h"
#include "net/dispatcher.h"
#include "net/kx_connection.h"
#include "net/open_store.h"
#include "net/references.h"
#include "support/minimal_client.h"
#include "support/reference_peer.h"

namespace {

using bench_support::ReferencePeer;

// The reference peer on the test content, compressing its replies or not.
ReferencePeer& plainPeer() {
  static ReferencePeer peer("bench", nullptr, bench_support::SourceDir() + "/tests/peer/content", {"--compress", "off"});
  return peer;
}
ReferencePeer& compressingPeer() {
  static ReferencePeer peer("bench", nullptr, bench_support::SourceDir() + "/tests/peer/content", {"--compress", "on"});
  return peer;
}

std::unique_ptr<KxConnection> open(benchmark::State& state, ReferencePeer& peer, bool compress) {
  if (peer.port() == 0) {
    state.SkipWithError("the reference peer did not start");
    return nullptr;
  }
  bool binary = state.range(0) != 0;
  auto conn = std::make_unique<KxConnection>("alice", "wonder", "127.0.0.1", peer.port(), binary,
                                             false, compress);
  if (conn->error() != 0) {
    state.SkipWithError("the connection did not open");
    return nullptr;
  }
  return conn;
}

// A request as the minimal client sends it: the code, the argument bytes
// in the binary little-endian form, and whether the replies come
// compressed (from the compressing peer).
struct CeilingRequest {
  std::uint32_t code = bench_support::MinimalClient::kRecord;
  std::string args = std::string("\x20\0\0\0", 4);  // the record 0x20
  bool compressed = false;
};

// Round trips per second of the minimal client asking `request`, over as
// many trips as the benchmark just made (at least a few hundred, at most a
// few thousand): measured right after each benchmark, so that both sides
// of a ratio see the same load.
double ceilingRate(long long trips, const CeilingRequest& request) {
  ReferencePeer& peer = request.compressed ? compressingPeer() : plainPeer();
  if (peer.port() == 0) return 0.0;
  bench_support::MinimalClient client(peer.port(), request.compressed);
  if (!client.ok()) return 0.0;
  const long long n = std::clamp<long long>(trips, 500, 5000);
  const auto t0 = std::chrono::steady_clock::now();
  for (long long k = 0; k < n; ++k)
    if (!client.roundTrip(request.code, request.args)) return 0.0;
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  return s > 0.0 ? static_cast<double>(n) / s : 0.0;
}

void finish(benchmark::State& state, double seconds, const CeilingRequest& request = {}) {
  state.counters["round_trips_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  const double ceiling = ceilingRate(static_cast<long long>(state.iterations()), request);
  if (seconds > 0.0 && ceiling > 0.0)
    state.counters["ratio_to_ceiling"] = static_cast<double>(state.iterations()) / seconds / ceiling;
  Dispatcher::destroy();
}

// Wall-clock seconds of a benchmark's loop.
class Stopwatch {
 public:
  double seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// One object record (request 7).
void BM_RecordRoundTrip(benchmark::State& state) {
  auto conn = open(state, plainPeer(), false);
  if (!conn) return;
  CString record;
  Stopwatch watch;
  for (auto _ : state) {
    if (!conn->getRecord(ObjectId(0x20), record)) state.SkipWithError("request failed");
    benchmark::DoNotOptimize(record);
  }
  const double seconds = watch.seconds();
  conn.reset();
  finish(state, seconds);
}
BENCHMARK(BM_RecordRoundTrip)->Arg(0)->Arg(1)->ArgName("binary")->UseRealTime();

// The members of a collection (request 44): an id array.
void BM_MembersRoundTrip(benchmark::State& state) {
  auto conn = open(state, plainPeer(), false);
  if (!conn) return;
  IdArray ids;
  Stopwatch watch;
  for (auto _ : state) {
    if (!conn->getMembers(ObjectId(0x11), ids)) state.SkipWithError("request failed");
    benchmark::DoNotOptimize(ids);
  }
  const double seconds = watch.seconds();
  conn.reset();
  finish(state, seconds);
}
BENCHMARK(BM_MembersRoundTrip)->Arg(0)->Arg(1)->ArgName("binary")->UseRealTime();

// Eleven records in one request (11), plain and LZW-compressed.
void BM_RecordsRoundTrip(benchmark::State& state) {
  bool compress = state.range(1) != 0;
  auto conn = open(state, compress ? compressingPeer() : plainPeer(), compress);
  if (!conn) return;
  const std::uint32_t kIds[] = {0x01, 0x10, 0x11, 0x12, 0x20, 0x21, 0x22, 0x30, 0x40, 0x41, 0x50};
  IdArray ids;
  // The minimal client's request: no flags, the id array (count, ids), no
  // query.
  CeilingRequest request{11, std::string(8, '\0'), compress};
  const std::uint32_t count = std::size(kIds);
  std::memcpy(request.args.data() + 4, &count, 4);
  for (std::uint32_t id : kIds) {
    ids.Insert(ObjectId(static_cast<LONG>(id)));
    request.args.append(reinterpret_cast<const char*>(&id), 4);
  }
  std::vector<IdRecord> records;
  Stopwatch watch;
  for (auto _ : state) {
    if (!conn->getRecords(0, ids, "", records)) state.SkipWithError("request failed");
    benchmark::DoNotOptimize(records);
  }
  const double seconds = watch.seconds();
  conn.reset();
  finish(state, seconds, request);
}
BENCHMARK(BM_RecordsRoundTrip)
    ->Args({1, 0})
    ->Args({1, 1})
    ->ArgNames({"binary", "compressed"})
    ->UseRealTime();

// The ceiling itself: the minimal client's round trips.
void BM_PeerCeiling(benchmark::State& state) {
  if (plainPeer().port() == 0) {
    state.SkipWithError("the reference peer did not start");
    return;
  }
  bench_support::MinimalClient client(plainPeer().port());
  if (!client.ok()) {
    state.SkipWithError("the minimal client did not connect");
    return;
  }
  for (auto _ : state)
    if (!client.roundTrip(bench_support::MinimalClient::kRecord, 0x20)) state.SkipWithError("request failed");
  state.counters["round_trips_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PeerCeiling)->UseRealTime();

// A peer that holds every record reply back for three seconds.
ReferencePeer& slowPeer() {
  static ReferencePeer peer("bench-slow", nullptr, bench_support::SourceDir() + "/tests/peer/content",
                            {"--compress", "off", "--misbehave", "delay=3@7"});
  return peer;
}

double processCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// What waiting for a slow reply costs the machine: the process's CPU time
// over the wall-clock time of the wait, and how often the wait woke.
void BM_DelayedReplyWait(benchmark::State& state) {
  auto conn = open(state, slowPeer(), false);
  if (!conn) return;
  CString record;
  double cpu = 0.0, wall = 0.0;
  long long waits = 0;
  for (auto _ : state) {
    const double c0 = processCpuSeconds();
    const long long w0 = PumpWaitCount();
    Stopwatch watch;
    if (!conn->getRecord(ObjectId(0x20), record)) state.SkipWithError("request failed");
    wall += watch.seconds();
    cpu += processCpuSeconds() - c0;
    waits += PumpWaitCount() - w0;
  }
  conn.reset();
  Dispatcher::destroy();
  if (wall > 0.0) {
    state.counters["cpu_percent_of_core"] = 100.0 * cpu / wall;
    state.counters["wakeups_per_s"] = static_cast<double>(waits) / wall;
  }
}
BENCHMARK(BM_DelayedReplyWait)->Arg(1)->ArgName("binary")->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);

// A peer that holds every data connection back for three seconds before
// it sends the document.
ReferencePeer& slowDataPeer() {
  static ReferencePeer p("download-bench-slow", [](const std::string& content) {
    std::ofstream(content + "/root.rec")
        << "ObjectID=0x00000001\nType=Document\nDocumentType=collection\nName=rootcollection\n";
    std::ofstream(content + "/small.rec")
        << "ObjectID=0x00000030\nType=Document\nDocumentType=text\nMimeType=text/plain\n"
           "Name=small\nParent=0x00000001\n";
    std::ofstream(content + "/small.body", std::ios::binary) << "a short text\n";
  }, "", {"--misbehave", "data-delay=3@36"});
  return p;
}

// What waiting three seconds for the data of a document costs the machine:
// the process's CPU time over the wall-clock time of the wait
// ("cpu_percent_of_core"; goal: under 1), and how often the waits were
// allowed to sleep ("wakeups_per_s").
void BM_DelayedDataWait(benchmark::State& state) {
  InstallObjectFactory();
  if (slowDataPeer().port() == 0) {
    state.SkipWithError("the reference peer did not start");
    return;
  }
  const std::string address = "korvex://127.0.0.1:" + std::to_string(slowDataPeer().port()) + "/";
  const Ref<Store> store = openStore(address.c_str(), Ref<Store>());
  const Ref<KXObject> small = store ? fetchObject("0x00000030", store) : Ref<KXObject>();
  if (!small) {
    state.SkipWithError("no session or no document");
    return;
  }
  double cpu = 0.0, wall = 0.0;
  long long waits = 0;
  char buffer[kTransferChunk];
  for (auto _ : state) {
    const double c0 = processCpuSeconds();
    const long long w0 = PumpWaitCount();
    const auto t0 = std::chrono::steady_clock::now();
    StoreEntry* entry = store->openRequest(small, kRequestRead, nullptr, "");
    if (!entry) {
      state.SkipWithError("openRequest failed");
      return;
    }
    while (store->readRequest(entry, buffer, sizeof buffer) > 0) {
    }
    store->closeRequest(entry);
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    cpu += processCpuSeconds() - c0;
    waits += PumpWaitCount() - w0;
  }
  if (wall > 0.0) {
    state.counters["cpu_percent_of_core"] = 100.0 * cpu / wall;
    state.counters["wakeups_per_s"] = static_cast<double>(waits) / wall;
  }
}
BENCHMARK(BM_DelayedDataWait)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
