// fuzz-libs: zemra_store
//
// Input: a phonetic or suffix rule file (first byte: which, and which word
// to try), then its text. Loaded, then words taken from the text are
// turned into forms, variants and stems. What must hold: no crash; rule
// texts within four characters, suffixes within eleven; variant lists
// within 100 bytes; stems shorter than their words.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "scratch_file.h"
#include "store/fulltext/phonetic_tables.h"
#include "store/fulltext/suffix_tables.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 1 << 16) return 0;
  fuzz_support::ScratchFile file("language_tables", "tab", data + 1, size - 1);
  if (!file.written()) return 0;
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  std::vector<std::string> words;
  for (size_t at = 0; at < text.size() && words.size() < 8; at += 7) words.push_back(text.substr(at, 1 + data[0] % 30));
  if (data[0] & 0x80) {
    PhoneticTables tables;
    if (!tables.load(4, file.path())) return 0;
    for (const auto& section : tables.table(4)->sections)
      for (const auto& rule : section.rules) check(rule.pattern.size() <= 4 && rule.replacement.size() <= 4);
    for (std::string w : words) {
      PhoneticTables::Variants v = tables.variants(w);
      size_t bytes = 2;
      for (const auto& e : v) bytes += e.second.size() + 2;
      check(bytes <= PhoneticTables::kMaxVariantBytes);
      tables.form(w, 4);
      tables.form(w, 1);
    }
  } else {
    SuffixTables tables;
    if (!tables.load(6, file.path())) return 0;
    for (const auto& e : tables.table(6)->entries) check(!e.reversed.empty() && e.reversed.size() <= 11);
    for (std::string w : words) {
      std::string original = w;
      std::vector<std::string> stems;
      tables.strip(w, -1, -1, 6, &stems);
      for (const std::string& s : stems) check(s.size() < original.size());
      tables.strip(w, data[0] % 5, data[0] % 3, 1, &stems);
    }
  }
  return 0;
}
