// fuzz-libs: zemra_store
//
// Input: a request up to the first NUL, then a text that is scanned in two
// pieces (cut where the first byte after the NUL says). What must hold: no
// crash or read beyond a piece; hits lie within the text, after their
// entry's start, and name a term.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "store/fulltext/word_scanner.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string all(reinterpret_cast<const char*>(data), size);
  size_t nul = all.find('\0');
  if (nul == std::string::npos || nul + 1 >= all.size()) return 0;
  std::string request = all.substr(0, nul);
  std::string text = all.substr(nul + 2);
  size_t cut = text.empty() ? 0 : static_cast<unsigned char>(all[nul + 1]) % (text.size() + 1);
  WordScanner scanner;
  int terms = scanner.prepare(request);
  std::vector<WordScanner::Hit> hits;
  WordScanner::Options first;
  first.collectAtEnd = false;
  first.firstEntryOnly = (data[0] & 1) != 0;
  // Each piece is handed over in a buffer of its own size, so that a read
  // beyond it is seen.
  std::vector<char> a(text.begin(), text.begin() + static_cast<long>(cut));
  std::vector<char> b(text.begin() + static_cast<long>(cut), text.end());
  scanner.scan(std::string_view(a.data(), a.size()), first, 100, hits);
  scanner.scan(std::string_view(b.data(), b.size()), {}, 100 + static_cast<long>(cut), hits);
  for (const WordScanner::Hit& h : hits) {
    check(h.term >= 0 && h.term < terms);
    check(h.position >= 100 && h.position < 100 + static_cast<long>(text.size()));
    check(h.entry <= h.position);
  }
  return 0;
}
