// bench-libs: zemra_text LibXml2::LibXml2
// Tokenizing 10 MB of HTML (the sample documents repeated, and generated
// pages) beside libxml2's HTML parser reading the same bytes in memory. The
// ratio is the counter vs_libxml2: our time over libxml2's (below 1 means
// faster).
#include <benchmark/benchmark.h>
#include <libxml/HTMLparser.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/text/support/html_pages.h"
#include "text/html_tokenizer.h"
#include "text/memory_stream.h"

namespace {

constexpr size_t kSize = 10 * 1024 * 1024;

const std::string& Corpus() {
  static const std::string corpus = [] {
    std::string samples;
    for (const char* name : {"earth", "saturn", "welcome"}) {
      std::ifstream in(std::string(ZEMRA_SOURCE_DIR) + "/data/sample/documents/" + name + ".html.body",
                       std::ios::binary);
      std::stringstream s;
      s << in.rdbuf();
      samples += s.str();
    }
    std::string all;
    html_pages::Generator g(7);
    while (all.size() < kSize) {
      all += samples;
      all += g.Page(2000);
    }
    all.resize(kSize);
    return all;
  }();
  return corpus;
}

double TokenizeOnce() {
  MemoryStream in(Corpus());
  HtmlTokenizer t(HtmlTokenizer::kHtml);
  t.Reset(&in);
  long items = 0;
  while (auto item = t.NextToken()) ++items;
  benchmark::DoNotOptimize(items);
  return static_cast<double>(items);
}

double ParseOnce() {
  const std::string& c = Corpus();
  htmlDocPtr d = htmlReadMemory(c.data(), static_cast<int>(c.size()), nullptr, "ISO-8859-1",
                                HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
  benchmark::DoNotOptimize(d);
  xmlFreeDoc(d);
  return 0;
}

template <typename F>
double Seconds(F f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_Tokenizer(benchmark::State& state) {
  Corpus();
  for (auto _ : state) TokenizeOnce();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSize));
}
BENCHMARK(BM_Tokenizer)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Each side timed in runs of its own (one side's freeing must not be paid
// by the other's allocations), the best of five; the counter is our time
// over libxml2's.
void BM_TokenizerVersusLibxml2(benchmark::State& state) {
  Corpus();
  double ours = 1e9, theirs = 1e9;
  for (auto _ : state) {
    for (int i = 0; i < 5; ++i) theirs = std::min(theirs, Seconds(ParseOnce));
    for (int i = 0; i < 5; ++i) ours = std::min(ours, Seconds(TokenizeOnce));
  }
  state.counters["vs_libxml2"] = ours / theirs;
  state.counters["ours_ms"] = ours * 1000;
  state.counters["libxml2_ms"] = theirs * 1000;
}
BENCHMARK(BM_TokenizerVersusLibxml2)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Libxml2HtmlReadMemory(benchmark::State& state) {
  Corpus();
  for (auto _ : state) ParseOnce();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSize));
}
BENCHMARK(BM_Libxml2HtmlReadMemory)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
