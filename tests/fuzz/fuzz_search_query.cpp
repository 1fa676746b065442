// fuzz-libs: zemra_core
// Search queries built from arbitrary text: every query must be one that a
// server can parse (balanced parentheses, no empty group or test, no
// operator without its operands), and overlong fields must be refused.
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>

#include "core/search_query.h"
#include "tests/core/search/query_shape.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

bool balanced(std::string_view q) {
  int depth = 0;
  for (char c : q) {
    if (c == '(') ++depth;
    if (c == ')' && --depth < 0) return false;
  }
  return depth == 0;
}

// The fields of one input: terms, author and time, separated by 0x1F.
std::string_view field(std::string_view& rest) {
  size_t cut = rest.find('\x1f');
  std::string_view f = rest.substr(0, cut);
  rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
  return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  std::string_view rest = all;
  const CString terms(field(rest));
  const CString author(field(rest));
  const CString time(field(rest));

  static const char* const kOrders[] = {"engefrstitspkrjp", "fr", "jpen", "stitge"};
  Languages languages;
  check(languages.setOrder(kOrders[size % 4]));

  const CString collapsed = collapseBlanks(terms);
  const std::string_view c = collapsed.view();
  check(c.empty() || (c.front() != ' ' && c.back() != ' '));
  check(c.find("  ") == std::string_view::npos);

  check(normalizeOperators(terms).view().find('"') == std::string_view::npos);

  const CString query = buildQuery(terms, author, languages);
  check(balanced(query.view()));
  check(query_shape::attributeQueryWellFormed(query.view()));

  CString search;
  if (buildAttributeSearch(terms, author, time, languages, search)) {
    check(balanced(search.view()));
    check(query_shape::attributeQueryWellFormed(search.view()));
  } else {
    check(search.IsEmpty());
    check(searchInputTooLong(terms) || searchInputTooLong(author) || searchInputTooLong(time));
  }

  const CString fullText = prepareFullText(CString(all));
  check(balanced(fullText.view()));
  check(query_shape::fullTextQueryWellFormed(fullText.view()));
  check(fullText.GetLength() <= kMaxSearchInput * 2);

  // A relative time is a time text not after now; anything else comes back.
  const std::time_t now = 830952000;
  const CString when = relativeTime(time, now);
  if (when != time) check(when.GetLength() >= 17);
  return 0;
}
