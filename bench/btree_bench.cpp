// bench-libs: zemra_store sqlite3
//
// The index of the local database beside SQLite: 100,000 keys of the shape
// the attribute index makes ("TITLE=" and a word, and so on, each leading to
// an object id; a word shared by several objects gives one key several
// values), inserted one by one into a new file and then looked up one by
// one. SQLite keeps the same pairs in one table with an index on the key.
// Both write every change to the operating system as it is made and force
// nothing to the disk (SQLite with "synchronous=OFF", each insert its own
// transaction; the index file with its pool writing every block at once).
// The counter "vs_sqlite" is SQLite's time divided by ours (above 1, ours is
// faster).
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "store/index/index_file.h"

namespace {

constexpr int kKeys = 100000;

struct Pair {
  std::string key;
  DWORD value;
};

// Attribute-index keys over a vocabulary of invented words.
const std::vector<Pair>& Pairs() {
  static const std::vector<Pair> pairs = [] {
    const char* attributes[] = {"TITLE=", "NAME=", "AUTHOR=", "KEYWORD=", "TIMECREATED=", "%RT="};
    const char* syllables[] = {"VEL", "MOR", "DREN", "NA", "KAS", "TIL", "OR", "ZEM", "RA", "BRU", "GAN", "LI"};
    std::mt19937 rng(20);
    std::vector<Pair> out;
    out.reserve(kKeys);
    for (int i = 0; i < kKeys; ++i) {
      std::string word;
      int n = 2 + static_cast<int>(rng() % 3);
      for (int s = 0; s < n; ++s) word += syllables[rng() % 12];
      word += std::to_string(rng() % 4000);
      out.push_back({std::string(attributes[rng() % 6]) + word, 0x00010000u + static_cast<DWORD>(i) * 64});
    }
    return out;
  }();
  return pairs;
}

std::string scratch(const char* name) {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / ("zemra_btree_bench_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::string path = (dir / name).string();
  std::filesystem::remove(path);
  std::filesystem::remove(path + "-journal");
  return path;
}

double seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

bool ZemraInsert(const std::string& path) {
  IndexFile index;
  if (index.open(path.c_str(), IndexFile::kCreateReadWrite) != 0) return false;
  for (const Pair& p : Pairs())
    if (index.insert(p.key, IndexEntry{0, 0, p.value}, false) != 0) return false;
  return index.close() == 0;
}

bool ZemraLookup(const std::string& path) {
  IndexFile index;
  if (index.open(path.c_str(), IndexFile::kReadOnly) != 0) return false;
  DWORD sum = 0;
  for (const Pair& p : Pairs()) {
    if (index.find(p.key, 1) != 0) return false;
    sum += index.entry().value;
  }
  benchmark::DoNotOptimize(sum);
  return true;
}

bool SqliteInsert(const std::string& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) return false;
  sqlite3_exec(db, "PRAGMA synchronous=OFF; CREATE TABLE k(key TEXT, flags INT, value INT); CREATE INDEX ki ON k(key);",
               nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO k VALUES(?, 0, ?)", -1, &insert, nullptr);
  bool ok = insert != nullptr;
  for (const Pair& p : Pairs()) {
    if (!ok) break;
    sqlite3_bind_text(insert, 1, p.key.data(), static_cast<int>(p.key.size()), SQLITE_STATIC);
    sqlite3_bind_int64(insert, 2, p.value);
    ok = sqlite3_step(insert) == SQLITE_DONE;
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  return sqlite3_close(db) == SQLITE_OK && ok;
}

bool SqliteLookup(const std::string& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) return false;
  sqlite3_stmt* select = nullptr;
  sqlite3_prepare_v2(db, "SELECT flags, value FROM k WHERE key = ? LIMIT 1", -1, &select, nullptr);
  bool ok = select != nullptr;
  std::int64_t sum = 0;
  for (const Pair& p : Pairs()) {
    if (!ok) break;
    sqlite3_bind_text(select, 1, p.key.data(), static_cast<int>(p.key.size()), SQLITE_STATIC);
    ok = sqlite3_step(select) == SQLITE_ROW;
    if (ok) sum += sqlite3_column_int64(select, 1);
    sqlite3_reset(select);
  }
  benchmark::DoNotOptimize(sum);
  sqlite3_finalize(select);
  return sqlite3_close(db) == SQLITE_OK && ok;
}

// Times `ours` per iteration and `theirs` once per iteration after it,
// reporting items per second and the ratio of the medians.
template <class Ours, class Theirs>
void Versus(benchmark::State& state, Ours ours, Theirs theirs) {
  std::vector<double> mine, peer;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    if (!ours()) state.SkipWithError("the index failed");
    mine.push_back(seconds(t0));
    state.PauseTiming();
    t0 = std::chrono::steady_clock::now();
    if (!theirs()) state.SkipWithError("SQLite failed");
    peer.push_back(seconds(t0));
    state.ResumeTiming();
  }
  std::sort(mine.begin(), mine.end());
  std::sort(peer.begin(), peer.end());
  state.SetItemsProcessed(state.iterations() * kKeys);
  if (!mine.empty() && mine[mine.size() / 2] > 0) {
    state.counters["sqlite_ms"] = peer[peer.size() / 2] * 1000;
    state.counters["vs_sqlite"] = peer[peer.size() / 2] / mine[mine.size() / 2];
  }
}

void BM_BTreeInsert100k(benchmark::State& state) {
  const std::string ours = scratch("insert.bof");
  const std::string theirs = scratch("insert.sqlite");
  Versus(
      state,
      [&] {
        std::filesystem::remove(ours);
        return ZemraInsert(ours);
      },
      [&] {
        std::filesystem::remove(theirs);
        return SqliteInsert(theirs);
      });
  state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(ours));
  state.counters["sqlite_bytes"] = static_cast<double>(std::filesystem::file_size(theirs));
}
BENCHMARK(BM_BTreeInsert100k)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_BTreeLookup100k(benchmark::State& state) {
  const std::string ours = scratch("lookup.bof");
  const std::string theirs = scratch("lookup.sqlite");
  if (!ZemraInsert(ours) || !SqliteInsert(theirs)) {
    state.SkipWithError("could not build the files");
    return;
  }
  Versus(state, [&] { return ZemraLookup(ours); }, [&] { return SqliteLookup(theirs); });
}
BENCHMARK(BM_BTreeLookup100k)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
