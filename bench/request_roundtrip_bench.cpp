// Request round trips per second on the control connection, against the
// reference peer on the loopback interface (started here, stopped at the
// end). Each iteration is one request and the wait for its reply.
#include <benchmark/benchmark.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "net/dispatcher.h"
#include "net/kx_connection.h"
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

void finish(benchmark::State& state) {
  state.counters["round_trips_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  Dispatcher::destroy();
}

// One object record (request 7).
void BM_RecordRoundTrip(benchmark::State& state) {
  auto conn = open(state, plainPeer(), false);
  if (!conn) return;
  CString record;
  for (auto _ : state) {
    if (!conn->getRecord(ObjectId(0x20), record)) state.SkipWithError("request failed");
    benchmark::DoNotOptimize(record);
  }
  conn.reset();
  finish(state);
}
BENCHMARK(BM_RecordRoundTrip)->Arg(0)->Arg(1)->ArgName("binary")->UseRealTime();

// The members of a collection (request 44): an id array.
void BM_MembersRoundTrip(benchmark::State& state) {
  auto conn = open(state, plainPeer(), false);
  if (!conn) return;
  IdArray ids;
  for (auto _ : state) {
    if (!conn->getMembers(ObjectId(0x11), ids)) state.SkipWithError("request failed");
    benchmark::DoNotOptimize(ids);
  }
  conn.reset();
  finish(state);
}
BENCHMARK(BM_MembersRoundTrip)->Arg(0)->Arg(1)->ArgName("binary")->UseRealTime();

// Eleven records in one request (11), plain and LZW-compressed.
void BM_RecordsRoundTrip(benchmark::State& state) {
  bool compress = state.range(1) != 0;
  auto conn = open(state, compress ? compressingPeer() : plainPeer(), compress);
  if (!conn) return;
  IdArray ids;
  for (LONG id : {0x01, 0x10, 0x11, 0x12, 0x20, 0x21, 0x22, 0x30, 0x40, 0x41, 0x50})
    ids.Insert(ObjectId(id));
  std::vector<IdRecord> records;
  for (auto _ : state) {
    if (!conn->getRecords(0, ids, "", records)) state.SkipWithError("request failed");
    benchmark::DoNotOptimize(records);
  }
  conn.reset();
  finish(state);
}
BENCHMARK(BM_RecordsRoundTrip)
    ->Args({1, 0})
    ->Args({1, 1})
    ->ArgNames({"binary", "compressed"})
    ->UseRealTime();

}  // namespace
