// bench-libs: zemra_text
// Loading and building HTML documents into atoms (a counting atom sink)
// through the shipped definitions: the time and the peak memory of one
// load, for documents of 100 KB to 10 MB made of the sample documents and
// generated pages. Per input byte, both should stay flat as the size grows:
// the counters ns_per_byte and peak_bytes_per_byte show how they grow.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <new>
#include <sstream>
#include <string>

#include "mfc/app.h"
#include "tests/text/support/counting_atoms.h"
#include "tests/text/support/html_pages.h"
#include "text/document/html_document.h"
#include "text/memory_stream.h"

// Every allocation is counted, so that the peak of one load can be read.
namespace {
std::atomic<long long> gLive{0};
std::atomic<long long> gPeak{0};

void* counted(std::size_t n) {
  void* p = std::malloc(n + 16);
  if (!p) throw std::bad_alloc();
  *static_cast<std::size_t*>(p) = n;
  long long now = gLive += static_cast<long long>(n);
  long long peak = gPeak.load();
  while (now > peak && !gPeak.compare_exchange_weak(peak, now)) {
  }
  return static_cast<char*>(p) + 16;
}

void release(void* p) {
  if (!p) return;
  char* block = static_cast<char*>(p) - 16;
  gLive -= static_cast<long long>(*reinterpret_cast<std::size_t*>(block));
  std::free(block);
}
}  // namespace

void* operator new(std::size_t n) { return counted(n); }
void* operator new[](std::size_t n) { return counted(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  try {
    return counted(n);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }

namespace {

std::string sourceFile(const std::string& name) {
  std::ifstream in(std::string(ZEMRA_SOURCE_DIR) + "/" + name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A document of `size` bytes: the sample documents and generated pages.
std::string Corpus(size_t size) {
  std::string samples;
  for (const char* name : {"earth", "saturn", "welcome"})
    samples += sourceFile(std::string("data/sample/documents/") + name + ".html.body");
  std::string all;
  html_pages::Generator g(11);
  while (all.size() < size) {
    all += samples;
    all += g.Page(2000);
  }
  all.resize(size);
  return all;
}

// The application whose settings name the shipped definitions.
class Settings {
 public:
  Settings() : app_("ZemraBench") {
    char dir[] = "/tmp/zemra-bench-XXXXXX";
    path_ = std::string(mkdtemp(dir)) + "/Tolm.ini";
    std::ofstream(path_) << "[TextViewer]\nHTMLDir=" << ZEMRA_SOURCE_DIR << "/data/textdefs\n";
    app_.m_pszProfileName = strdup(path_.c_str());
  }
  ~Settings() { std::remove(path_.c_str()); }

 private:
  CWinApp app_;
  std::string path_;
};

void BM_LoadAndBuild(benchmark::State& state) {
  static Settings settings;
  const std::string text = Corpus(static_cast<size_t>(state.range(0)));
  CountingFactory factory;
  DocumentResources resources;
  resources.factory = &factory;
  long long peak = 0;
  double seconds = 0;
  long atoms = 0;
  for (auto _ : state) {
    long long base = gLive.load();
    gPeak = base;
    auto start = std::chrono::steady_clock::now();
    {
      HtmlDocument doc("MimeType=text/html\n", resources, 1);
      doc.SetInputStream(std::make_unique<MemoryStream>(text));
      int result = doc.Load(nullptr, CString(), true);
      benchmark::DoNotOptimize(result);
      atoms = factory.made;
      factory.made = 0;
    }
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    peak = std::max(peak, gPeak.load() - base);
  }
  const double bytes = static_cast<double>(text.size());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["atoms"] = static_cast<double>(atoms);
  state.counters["peak_MB"] = static_cast<double>(peak) / (1024.0 * 1024.0);
  state.counters["peak_bytes_per_byte"] = static_cast<double>(peak) / bytes;
  state.counters["ns_per_byte"] = seconds * 1e9 / (bytes * static_cast<double>(state.iterations()));
}
BENCHMARK(BM_LoadAndBuild)
    ->Arg(100 << 10)
    ->Arg(300 << 10)
    ->Arg(1 << 20)
    ->Arg(3 << 20)
    ->Arg(10 << 20)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

}  // namespace
