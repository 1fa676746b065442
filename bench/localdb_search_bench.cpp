// bench-libs: zemra_store sqlite3
//
// Full-text search of the local database beside SQLite's FTS5 over the same
// generated corpus: documents of 40 words drawn from an invented vocabulary
// (a few words common, most rare), stored through the database's own body
// transfers, and searched for one word, two words together, a word without
// another, and a prefix. Neither side forces anything to the disk. The
// counter "vs_sqlite" is SQLite's time divided by ours (above 1, ours is
// faster); "bytes" is the size of our files, "sqlite_bytes" SQLite's.
// BM_BuildCorpus shows how building time and file size grow with the number
// of documents.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/store_registry.h"
#include "net/open_store.h"
#include "store/localdb/local_database.h"

namespace {

namespace fs = std::filesystem;

std::string Word(int i) {
  static const char* syllables[] = {"ka", "lo", "ve", "ri", "tan", "mu", "sel", "or", "pi", "dun", "ga", "ne"};
  std::string w;
  for (int n = i + 1; n > 0; n /= 12) w += syllables[n % 12];
  return w;
}

std::vector<std::string> Corpus(int documents) {
  std::mt19937 rng(7);
  std::vector<std::string> out;
  for (int d = 0; d < documents; ++d) {
    std::string text;
    for (int w = 0; w < 40; ++w) {
      // Squaring a uniform number makes the first words the common ones.
      const double u = std::uniform_real_distribution<double>(0, 1)(rng);
      text += Word(static_cast<int>(u * u * 5000)) + (w % 10 == 9 ? "\n" : " ");
    }
    out.push_back(text);
  }
  return out;
}

std::uintmax_t DirectoryBytes(const fs::path& dir) {
  std::uintmax_t total = 0;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.is_regular_file()) total += e.file_size();
  return total;
}

struct Ours {
  fs::path dir;
  Ref<LocalDatabase> db;
};

std::unique_ptr<Ours> BuildOurs(const std::vector<std::string>& corpus, const std::string& tag) {
  auto ours = std::make_unique<Ours>();
  ours->dir = fs::temp_directory_path() / ("zemra_localdb_bench_" + tag + "_" + std::to_string(getpid()));
  fs::remove_all(ours->dir);
  fs::create_directories(ours->dir);
  InstallObjectFactory();
  const std::string config = KeyedStore::createDataSet(ours->dir.string(), "bench", "corpus");
  ours->db = new LocalDatabase(CString("kxlocal:" + config));
  Ref<Store> store(ours->db.get());
  Ref<KXObject> shelf(createObject("Type=Document\nDocumentType=collection\nName=corpus\n"));
  shelf->setStore(store);
  ours->db->insertObject(shelf, nullptr, 0);
  for (size_t i = 0; i < corpus.size(); ++i) {
    Ref<KXObject> doc(createObject(CString("Type=Document\nDocumentType=text\nName=d" + std::to_string(i) + "\n")));
    doc->setStore(store);
    ours->db->insertObject(doc, shelf, 0);
    StoreEntry* entry = ours->db->openRequest(doc, kRequestWrite, nullptr, CString("0"));
    if (!entry) continue;
    ours->db->writeRequest(entry, corpus[i].data(), static_cast<std::int32_t>(corpus[i].size()));
    ours->db->closeRequest(entry);
  }
  ClearObjectCache();
  return ours;
}

void DropOurs(Ours& ours) {
  ours.db = nullptr;
  fs::remove_all(ours.dir);
}

struct Theirs {
  fs::path file;
  sqlite3* db = nullptr;
};

Theirs BuildTheirs(const std::vector<std::string>& corpus, const std::string& tag) {
  Theirs t;
  t.file = fs::temp_directory_path() / ("zemra_fts5_bench_" + tag + "_" + std::to_string(getpid()) + ".db");
  fs::remove(t.file);
  sqlite3_open(t.file.c_str(), &t.db);
  sqlite3_exec(t.db, "PRAGMA synchronous=OFF; CREATE VIRTUAL TABLE docs USING fts5(body);", nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(t.db, "INSERT INTO docs(body) VALUES (?)", -1, &insert, nullptr);
  for (const std::string& text : corpus) {
    sqlite3_bind_text(insert, 1, text.c_str(), static_cast<int>(text.size()), SQLITE_STATIC);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  return t;
}

void DropTheirs(Theirs& t) {
  sqlite3_close(t.db);
  fs::remove(t.file);
}

int CountOurs(LocalDatabase& db, const std::string& query) {
  StoreEntry* entry = db.openRequest(nullptr, kRequestFullText, nullptr, CString(query));
  const int n = entry ? entry->announcedSize : 0;
  if (entry) db.closeRequest(entry);
  return n;
}

int CountTheirs(sqlite3* db, const std::string& match) {
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(db, "SELECT count(*) FROM docs WHERE docs MATCH ?", -1, &s, nullptr);
  sqlite3_bind_text(s, 1, match.c_str(), -1, SQLITE_TRANSIENT);
  int n = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int(s, 0) : 0;
  sqlite3_finalize(s);
  return n;
}

// Our query and FTS5's for the same question.
struct Question {
  std::string ours;
  std::string theirs;
};
std::vector<Question> Questions() {
  const std::string common = Word(3), rare = Word(1200), other = Word(40), prefix = Word(7).substr(0, 3);
  return {{"en:" + rare, rare},
          {"en:" + common + "&en:" + other, common + " AND " + other},
          {"en:" + common + "&!en:" + other, common + " NOT " + other},
          {"en:" + prefix + "*", prefix + "*"}};
}

void BM_FullTextSearch(benchmark::State& state) {
  const int documents = static_cast<int>(state.range(0));
  const std::vector<std::string> corpus = Corpus(documents);
  auto ours = BuildOurs(corpus, "search");
  Theirs theirs = BuildTheirs(corpus, "search");
  const std::vector<Question> questions = Questions();
  double oursSeconds = 0;
  double theirSeconds = 0;
  for (auto _ : state) {
    for (const Question& q : questions) {
      auto a = std::chrono::steady_clock::now();
      benchmark::DoNotOptimize(CountOurs(*ours->db, q.ours));
      auto b = std::chrono::steady_clock::now();
      benchmark::DoNotOptimize(CountTheirs(theirs.db, q.theirs));
      auto c = std::chrono::steady_clock::now();
      oursSeconds += std::chrono::duration<double>(b - a).count();
      theirSeconds += std::chrono::duration<double>(c - b).count();
    }
  }
  state.counters["vs_sqlite"] = oursSeconds > 0 ? theirSeconds / oursSeconds : 0;
  state.counters["bytes"] = static_cast<double>(DirectoryBytes(ours->dir));
  state.counters["sqlite_bytes"] = static_cast<double>(fs::file_size(theirs.file));
  DropTheirs(theirs);
  DropOurs(*ours);
}
BENCHMARK(BM_FullTextSearch)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_BuildCorpus(benchmark::State& state) {
  const int documents = static_cast<int>(state.range(0));
  const std::vector<std::string> corpus = Corpus(documents);
  double oursSeconds = 0;
  double theirSeconds = 0;
  for (auto _ : state) {
    auto a = std::chrono::steady_clock::now();
    auto ours = BuildOurs(corpus, "build");
    auto b = std::chrono::steady_clock::now();
    Theirs theirs = BuildTheirs(corpus, "build");
    auto c = std::chrono::steady_clock::now();
    oursSeconds += std::chrono::duration<double>(b - a).count();
    theirSeconds += std::chrono::duration<double>(c - b).count();
    state.counters["bytes"] = static_cast<double>(DirectoryBytes(ours->dir));
    state.counters["sqlite_bytes"] = static_cast<double>(fs::file_size(theirs.file));
    DropTheirs(theirs);
    DropOurs(*ours);
  }
  state.counters["vs_sqlite"] = oursSeconds > 0 ? theirSeconds / oursSeconds : 0;
  state.counters["per_document_us"] = oursSeconds * 1e6 / documents / static_cast<double>(state.iterations());
}
BENCHMARK(BM_BuildCorpus)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
