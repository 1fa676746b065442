// URI parsing over a realistic mix of link targets: a few thousand links as
// documents carry them (mostly http, korvex object links, relative
// references against the document's own address, some ftp, gopher, mailto
// and broken ones), parsed one after another by one URI as the link code
// does, and the same links composed again. BM_VsUriparser does the same
// work with uriparser in this process (parse, resolve a relative reference
// against the last absolute one, remove dot segments, unescape the path
// segments) and reports our time over its time as `ours_over_uriparser`
// (goal: at most 2).
// bench-libs: uriparser
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <uriparser/Uri.h>

#include <benchmark/benchmark.h>

#include "core/uri.h"

namespace {

constexpr int kLinks = 4000;

std::uint32_t Next(std::uint32_t& seed) {
  seed = seed * 1103515245u + 12345u;
  return seed >> 8;
}

// A reproducible mix; relative references follow an absolute http link.
const std::vector<CString>& Links() {
  static const std::vector<CString> links = [] {
    static const char* const kHosts[] = {"www.kx.example.org", "server-3.dept.uni.example.at",
                                         "192.168.10.254", "hyper.example.com:8080", "localhost"};
    static const char* const kSegments[] = {"docs", "guide", "images", "pub", "archive",
                                            "1996", "reports", "~joe", "%7ejane", "cgi-bin"};
    static const char* const kFiles[] = {"index.html", "logo.gif", "summary-final.html",
                                         "chapter%2004.html", "a.txt"};
    std::vector<CString> out;
    std::uint32_t seed = 4711;
    char buffer[256];
    while (static_cast<int>(out.size()) < kLinks) {
      const std::uint32_t kind = Next(seed) % 20;
      const char* host = kHosts[Next(seed) % 5];
      const char* seg1 = kSegments[Next(seed) % 10];
      const char* seg2 = kSegments[Next(seed) % 10];
      const char* file = kFiles[Next(seed) % 5];
      const unsigned id = Next(seed);
      if (kind < 7) {
        std::snprintf(buffer, sizeof buffer, "http://%s/%s/%s/%s", host, seg1, seg2, file);
        out.emplace_back(buffer);
        // A page's links: relative paths, "..", params, search, fragments.
        out.emplace_back(file);
        std::snprintf(buffer, sizeof buffer, "../%s/%s#sec%u", seg1, file, id % 10);
        out.emplace_back(buffer);
        std::snprintf(buffer, sizeof buffer, "%s;type=a?q=%u&x=%%41", file, id % 100);
        out.emplace_back(buffer);
        out.emplace_back("#top");
      } else if (kind < 13) {
        std::snprintf(buffer, sizeof buffer, "korvex://kx.example.org/0x%08x_0x%08x", id, id ^ 0x5a5a5a5au);
        out.emplace_back(buffer);
      } else if (kind < 15) {
        std::snprintf(buffer, sizeof buffer, "korvex:/0x%08x@0x%08x", id, id + 1);
        out.emplace_back(buffer);
      } else if (kind == 15) {
        std::snprintf(buffer, sizeof buffer, "ftp://ftp.example.org/pub/%s/%s", seg1, file);
        out.emplace_back(buffer);
      } else if (kind == 16) {
        std::snprintf(buffer, sizeof buffer, "gopher://gopher.example.org:70/1%s", seg2);
        out.emplace_back(buffer);
      } else if (kind == 17) {
        std::snprintf(buffer, sizeof buffer, "mailto:user%u@example.org", id % 1000);
        out.emplace_back(buffer);
      } else if (kind == 18) {
        std::snprintf(buffer, sizeof buffer, "korvex://kx.example.org/%s/%s?Title=en:%s", seg1, seg2, file);
        out.emplace_back(buffer);
      } else {
        // Broken links: a bad escape, a bad port, an unknown character.
        static const char* const kBroken[] = {"http://h/a%zz", "http://h:8o/", "http://h/a?b<c",
                                              "korvex:0x00000001?x"};
        out.emplace_back(kBroken[id % 4]);
      }
    }
    out.resize(kLinks);
    return out;
  }();
  return links;
}

void BM_UriParseMix(benchmark::State& state) {
  const std::vector<CString>& links = Links();
  std::int64_t parsed = 0;
  int good = 0;
  for (auto _ : state) {
    URI uri;
    good = 0;
    for (const CString& link : links) good += uri.Parse(link) ? 1 : 0;
    benchmark::DoNotOptimize(good);
    parsed += static_cast<std::int64_t>(links.size());
  }
  state.SetItemsProcessed(parsed);
  // How much of the mix parses: a check that the mix is what it claims.
  state.counters["valid_share"] = static_cast<double>(good) / static_cast<double>(links.size());
}
BENCHMARK(BM_UriParseMix)->Unit(benchmark::kMillisecond);

void BM_UriParseAndCompose(benchmark::State& state) {
  const std::vector<CString>& links = Links();
  std::int64_t parsed = 0;
  for (auto _ : state) {
    URI uri;
    std::size_t total = 0;
    for (const CString& link : links)
      if (uri.Parse(link)) total += static_cast<std::size_t>(uri.toString().GetLength());
    benchmark::DoNotOptimize(total);
    parsed += static_cast<std::int64_t>(links.size());
  }
  state.SetItemsProcessed(parsed);
}
BENCHMARK(BM_UriParseAndCompose)->Unit(benchmark::kMillisecond);

// uriparser doing what URI::Parse does with each link. Returns whether the
// link was taken; `base` holds the last absolute link (the caller frees it).
bool UriparserParse(const CString& link, UriUriA& base, bool& haveBase, std::string& scratch) {
  UriUriA parsed;
  const char* errorPos = nullptr;
  if (uriParseSingleUriA(&parsed, link.c_str(), &errorPos) != URI_SUCCESS) return false;
  UriUriA* result = &parsed;
  UriUriA resolved;
  bool haveResolved = false;
  if (parsed.scheme.first == nullptr) {
    if (!haveBase || uriAddBaseUriExA(&resolved, &parsed, &base, URI_RESOLVE_STRICTLY) != URI_SUCCESS) {
      uriFreeUriMembersA(&parsed);
      return false;
    }
    haveResolved = true;
    result = &resolved;
  } else if (uriNormalizeSyntaxExA(&parsed, URI_NORMALIZE_PATH) != URI_SUCCESS) {
    uriFreeUriMembersA(&parsed);
    return false;
  }
  // The path segments unescaped, as the fields of URI hold them.
  scratch.clear();
  for (const UriPathSegmentA* seg = result->pathHead; seg; seg = seg->next) {
    const size_t at = scratch.size();
    scratch.append(seg->text.first, seg->text.afterLast);
    scratch.push_back('\0');
    const char* end = uriUnescapeInPlaceExA(scratch.data() + at, URI_FALSE, URI_BR_DONT_TOUCH);
    scratch.resize(static_cast<size_t>(end - scratch.data()));
    scratch.push_back('/');
  }
  benchmark::DoNotOptimize(scratch.data());
  if (haveResolved) uriFreeUriMembersA(&parsed);
  if (!haveResolved) {
    // An absolute link becomes the base of what follows.
    if (haveBase) uriFreeUriMembersA(&base);
    base = parsed;
    haveBase = true;
  } else {
    uriFreeUriMembersA(&resolved);
  }
  return true;
}

void BM_VsUriparser(benchmark::State& state) {
  const std::vector<CString>& links = Links();
  double oursSeconds = 0;
  double theirSeconds = 0;
  int oursGood = 0;
  int theirGood = 0;
  std::string scratch;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    {
      URI uri;
      oursGood = 0;
      for (const CString& link : links) oursGood += uri.Parse(link) ? 1 : 0;
      benchmark::DoNotOptimize(oursGood);
    }
    const auto t1 = std::chrono::steady_clock::now();
    {
      UriUriA base;
      bool haveBase = false;
      theirGood = 0;
      for (const CString& link : links) theirGood += UriparserParse(link, base, haveBase, scratch) ? 1 : 0;
      if (haveBase) uriFreeUriMembersA(&base);
      benchmark::DoNotOptimize(theirGood);
    }
    const auto t2 = std::chrono::steady_clock::now();
    oursSeconds += std::chrono::duration<double>(t1 - t0).count();
    theirSeconds += std::chrono::duration<double>(t2 - t1).count();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(links.size()));
  state.counters["ours_over_uriparser"] = theirSeconds > 0 ? oursSeconds / theirSeconds : 0;
  state.counters["ours_valid_share"] = static_cast<double>(oursGood) / static_cast<double>(links.size());
  state.counters["uriparser_valid_share"] = static_cast<double>(theirGood) / static_cast<double>(links.size());
}
BENCHMARK(BM_VsUriparser)->Unit(benchmark::kMillisecond);

}  // namespace
