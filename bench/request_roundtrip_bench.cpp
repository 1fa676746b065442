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

namespace {

// The source tree, from this file's own path (bench/ is one level down).
std::string sourceDir() {
  std::string here = __FILE__;
  size_t slash = here.rfind("/bench/");
  return slash == std::string::npos ? "." : here.substr(0, slash);
}

// The reference peer as a child process, for the whole benchmark run.
class Peer {
 public:
  explicit Peer(const std::string& compress) {
    char dir[] = "/tmp/zemra-bench-XXXXXX";
    if (mkdtemp(dir) == nullptr) return;
    dir_ = dir;
    std::string portFile = dir_ + "/port";
    std::string script = sourceDir() + "/tests/peer/korvex_peer.py";
    std::string content = sourceDir() + "/tests/peer/content";
    pid_ = fork();
    if (pid_ == 0) {
      execlp("python3", "python3", script.c_str(), "--port", "0", "--port-file", portFile.c_str(),
             "--content", content.c_str(), "--compress", compress.c_str(), "--lifetime", "600",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    for (int k = 0; k < 150 && port_ == 0; ++k) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      std::ifstream in(portFile);
      in >> port_;
    }
  }
  ~Peer() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    std::error_code ignored;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
  }
  int port() const { return port_; }

 private:
  std::string dir_;
  pid_t pid_ = -1;
  int port_ = 0;
};

Peer& plainPeer() {
  static Peer peer("off");
  return peer;
}
Peer& compressingPeer() {
  static Peer peer("on");
  return peer;
}

std::unique_ptr<KxConnection> open(benchmark::State& state, Peer& peer, bool compress) {
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
