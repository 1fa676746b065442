// Regexp on the searches the client makes: the URI parser's path, port and
// host patterns over link targets, the KXHDR reader's line patterns over
// data-connection headers, and searches through a 64 KiB text. BM_VsPcre2
// runs the same searches through PCRE2's interpreter (no JIT) in this
// process, which has first-character and required-literal hints of its own,
// and reports our time over its time as `ours_over_pcre2` (goal: at most 2).
// bench-libs: pcre2-8
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <benchmark/benchmark.h>

#include "core/regexp.h"

namespace {

const char* const kDotDotPattern = "(^|/)[^/\\.]+/\\.\\.(/|$)";

// Paths of relative links as documents carry them, most without "..".
const std::vector<std::string>& Paths() {
  static const std::vector<std::string> paths = {
      "/docs/guide/../images/./logo.gif",
      "collections/0x00a3f2c1/members/../titles.html",
      "a/b/c/../../d/e.txt",
      "/pub/archive/1996/reports/annual/summary-final-v2.html",
      "../../shared/styles/default.sty",
      "index.html",
      "/cgi-bin/query/korvex/objects/0x0001b2c3_17/text/chapter-04/section-11.html",
  };
  return paths;
}

// Runs the path step until no match is left, as path normalisation does.
void BM_UriDotDotPaths(benchmark::State& state) {
  Regexp rx(kDotDotPattern);
  std::int64_t searches = 0;
  for (auto _ : state) {
    for (const std::string& path : Paths()) {
      std::string p = path;
      for (;;) {
        int length = rx.Search(p.data(), static_cast<int>(p.size()), 0);
        ++searches;
        if (length < 0) break;
        int begin = rx.BeginningOfMatch(0);
        int end = rx.EndOfMatch(0);
        p = begin > 0 ? p.substr(0, begin + 1) + p.substr(end) : p.substr(end);
      }
      benchmark::DoNotOptimize(p);
    }
  }
  state.SetItemsProcessed(searches);
}
BENCHMARK(BM_UriDotDotPaths);

void BM_UriHostAndPort(benchmark::State& state) {
  Regexp port("^[0-9]+$");
  Regexp dotted("^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$");
  Regexp dots("^\\.+$");
  Regexp labels("^[^\\.]+(\\.[^\\.]+)*$");
  const std::vector<std::string> hosts = {"www.korvex.example.org", "192.168.10.254", "server-3.dept.uni.example.at",
                                          "localhost", "10.0.0.1"};
  const std::vector<std::string> ports = {"418", "80", "8080", "41800"};
  std::int64_t searches = 0;
  for (auto _ : state) {
    for (std::string host : hosts) {
      int n = static_cast<int>(host.size());
      if (dotted.Search(host.data(), n) < 0 && !(n < 4 && dots.Search(host.data(), n) >= 0))
        benchmark::DoNotOptimize(labels.Search(host.data(), n));
      searches += 3;
    }
    for (std::string p : ports) {
      benchmark::DoNotOptimize(port.Search(p.data(), static_cast<int>(p.size())));
      ++searches;
    }
  }
  state.SetItemsProcessed(searches);
}
BENCHMARK(BM_UriHostAndPort);

// Each header line is tried against the five patterns in order.
void BM_KxHeaderLines(benchmark::State& state) {
  Regexp patterns[] = {Regexp("^sz=(-?[0-9]+)$"), Regexp("^ref=(-?[0-9]+)$"), Regexp("^type=([0-9]+)$"),
                       Regexp("^Z=([0,1])$"), Regexp("^ver=([0-9]+)$")};
  std::string header = "KXHDR\nver=1\ntype=7\nsz=1048576\nref=-1\nZ=0\nextra=ignored\n";
  header.push_back('\0');
  std::int64_t lines = 0;
  for (auto _ : state) {
    std::size_t p = header.find('\n') + 1;
    while (p < header.size() && header[p] != '\n' && header[p] != '\0') {
      std::size_t eol = header.find('\n', p);
      for (Regexp& rx : patterns)
        if (rx.Search(header.data() + p, static_cast<int>(eol - p)) >= 0) {
          benchmark::DoNotOptimize(rx.BeginningOfMatch(1));
          break;
        }
      ++lines;
      p = eol + 1;
    }
  }
  state.SetItemsProcessed(lines);
}
BENCHMARK(BM_KxHeaderLines);

// 64 KiB of document text made of common words.
std::string LargeText() {
  static const char* const kWords[] = {"the",    "collection", "document", "server", "anchor", "links",
                                       "of",     "and",        "cluster",  "text",   "page",   "to",
                                       "korvex", "title",      "keyword",  "in",     "a",      "search"};
  std::string text;
  std::uint32_t seed = 12345;
  while (text.size() < 64 * 1024) {
    seed = seed * 1103515245u + 12345u;
    text += kWords[(seed >> 16) % (sizeof kWords / sizeof kWords[0])];
    text += ((seed >> 8) % 13 == 0) ? ".\n" : " ";
  }
  text.resize(64 * 1024);
  return text;
}

void SearchLargeText(benchmark::State& state, const char* pattern, bool fastPaths) {
  std::string text = LargeText() + "#";
  int end = static_cast<int>(text.size()) - 1;
  Regexp rx(pattern);
  rx.SetFastPaths(fastPaths);
  for (auto _ : state) benchmark::DoNotOptimize(rx.Search(text.data(), end, 0));
  state.SetBytesProcessed(state.iterations() * end);
}

// A literal that is not there: the start hint skips to each "z".
void BM_Text64k_MissingLiteral(benchmark::State& s) { SearchLargeText(s, "zemra", true); }
BENCHMARK(BM_Text64k_MissingLiteral);
// A phrase: tried at every "k".
void BM_Text64k_Phrase(benchmark::State& s) { SearchLargeText(s, "korvex server anchor", true); }
BENCHMARK(BM_Text64k_Phrase);
// No start hint: tried at every position.
void BM_Text64k_Alternatives(benchmark::State& s) { SearchLargeText(s, "(keyword|title) search page", true); }
BENCHMARK(BM_Text64k_Alternatives);
// A pattern that starts with a repeat and holds a literal that is not there:
// the must-contain check answers before any match is tried; without it every
// position is tried.
void BM_Text64k_MustContain(benchmark::State& s) { SearchLargeText(s, "[a-z]*ing links", true); }
BENCHMARK(BM_Text64k_MustContain);
void BM_Text64k_MustContainOff(benchmark::State& s) { SearchLargeText(s, "[a-z]*ing links", false); }
BENCHMARK(BM_Text64k_MustContainOff);

// Compiling once and reusing the program against compiling for each search.
void BM_CompileEverySearch(benchmark::State& state) {
  std::string line = "sz=1048576";
  for (auto _ : state) {
    Regexp rx("^sz=(-?[0-9]+)$");
    benchmark::DoNotOptimize(rx.Search(line.data(), static_cast<int>(line.size())));
  }
}
BENCHMARK(BM_CompileEverySearch);

void BM_CompileOnce(benchmark::State& state) {
  std::string line = "sz=1048576";
  Regexp rx("^sz=(-?[0-9]+)$");
  for (auto _ : state) benchmark::DoNotOptimize(rx.Search(line.data(), static_cast<int>(line.size())));
}
BENCHMARK(BM_CompileOnce);

// PCRE2's interpreter on one compiled pattern.
class Pcre2Search {
 public:
  explicit Pcre2Search(const char* pattern) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    code_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern), PCRE2_ZERO_TERMINATED, PCRE2_DOLLAR_ENDONLY,
                          &error, &offset, nullptr);
    if (code_) data_ = pcre2_match_data_create_from_pattern(code_, nullptr);
  }
  ~Pcre2Search() {
    pcre2_match_data_free(data_);
    pcre2_code_free(code_);
  }
  Pcre2Search(const Pcre2Search&) = delete;
  Pcre2Search& operator=(const Pcre2Search&) = delete;
  bool ok() const { return code_ && data_; }
  // As Regexp::Search: the match's length, or -1; `begin` its start.
  int search(const char* text, int end, int start, int& begin) {
    const int rc = pcre2_match(code_, reinterpret_cast<PCRE2_SPTR>(text), static_cast<PCRE2_SIZE>(end),
                               static_cast<PCRE2_SIZE>(start), 0, data_, nullptr);
    if (rc < 0) return -1;
    const PCRE2_SIZE* v = pcre2_get_ovector_pointer(data_);
    begin = static_cast<int>(v[0]);
    return static_cast<int>(v[1] - v[0]);
  }

 private:
  pcre2_code* code_ = nullptr;
  pcre2_match_data* data_ = nullptr;
};

struct VsCase {
  const char* name;
  const char* pattern;
  int subjects;  // 0: the 64 KiB text; 1: link paths; 2: header lines; 3: host names
};

const VsCase kVsCases[] = {
    {"alternatives_64k", "(keyword|title) search page", 0},
    {"missing_literal_64k", "zemra", 0},
    {"phrase_64k", "korvex server anchor", 0},
    {"class_alternatives_64k", "[Kk]orvex|[Ss]erver [a-z]+s\\.", 0},
    {"dotdot_paths", kDotDotPattern, 1},
    {"header_line", "^sz=(-?[0-9]+)$", 2},
    {"host_labels", "^[^\\.]+(\\.[^\\.]+)*$", 3},
};

std::vector<std::string> VsSubjects(int kind) {
  switch (kind) {
    case 0: return {LargeText()};
    case 1: return Paths();
    case 2: return {"ver=1", "type=7", "sz=1048576", "ref=-1", "Z=0", "extra=ignored", "sz=-1"};
    default:
      return {"www.korvex.example.org", "192.168.10.254", "server-3.dept.uni.example.at", "localhost",
              "bad..host", ".leading"};
  }
}

// Each iteration searches every subject once with ours, then once with
// PCRE2; both must find the same matches.
void BM_VsPcre2(benchmark::State& state) {
  const VsCase& c = kVsCases[state.range(0)];
  state.SetLabel(c.name);
  std::vector<std::string> subjects = VsSubjects(c.subjects);
  for (std::string& s : subjects) s.push_back('\0');  // our Search writes a NUL at the end
  Regexp ours(c.pattern);
  Pcre2Search theirs(c.pattern);
  if (!theirs.ok()) return state.SkipWithError("PCRE2 refused the pattern");
  double oursSeconds = 0;
  double theirSeconds = 0;
  std::vector<int> mine(subjects.size() * 2);
  std::vector<int> other(subjects.size() * 2);
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    for (size_t i = 0; i < subjects.size(); ++i) {
      const int n = ours.Search(subjects[i].data(), static_cast<int>(subjects[i].size() - 1), 0);
      mine[2 * i] = n;
      mine[2 * i + 1] = n < 0 ? -1 : ours.BeginningOfMatch(0);
    }
    const auto t1 = std::chrono::steady_clock::now();
    for (size_t i = 0; i < subjects.size(); ++i) {
      int begin = -1;
      const int n = theirs.search(subjects[i].data(), static_cast<int>(subjects[i].size() - 1), 0, begin);
      other[2 * i] = n;
      other[2 * i + 1] = n < 0 ? -1 : begin;
    }
    const auto t2 = std::chrono::steady_clock::now();
    oursSeconds += std::chrono::duration<double>(t1 - t0).count();
    theirSeconds += std::chrono::duration<double>(t2 - t1).count();
    if (mine != other) return state.SkipWithError("the matches differ");
  }
  state.counters["ours_over_pcre2"] = theirSeconds > 0 ? oursSeconds / theirSeconds : 0;
  state.counters["ours_us"] = oursSeconds * 1e6 / static_cast<double>(state.iterations());
  state.counters["pcre2_us"] = theirSeconds * 1e6 / static_cast<double>(state.iterations());
}
BENCHMARK(BM_VsPcre2)->DenseRange(0, static_cast<int>(sizeof kVsCases / sizeof kVsCases[0]) - 1);

}  // namespace
