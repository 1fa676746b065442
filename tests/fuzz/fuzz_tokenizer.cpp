// fuzz-libs: zemra_text
// The tokenizer in its three modes, alone and behind a small tag-definition
// table, on arbitrary bytes: every item is taken, text never holds a NUL
// made from a reference, offsets stay within the input, and the anchor
// services answer for arbitrary ranges.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "text/html_tokenizer.h"
#include "text/tag_definition_table.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

const char kPri[] =
    "4 UL { DEFINITIONS = 0:3:0:1:1 }\n"
    "LI { DEFINITIONS = 0:2:1:1:1, NEEDEDEVENTS = UL:OL, INSERTEVENT UL {} }\n"
    "P { DEFINITIONS = 3:1:1:1:1 }\n"
    "B { DEFINITIONS = 0:0:0:1:1 }\n";

void Drain(TokenSource& source, const std::string& input, bool hasNul) {
  const long size = static_cast<long>(input.size());
  long items = 0;
  while (auto item = source.NextToken()) {
    check(item->start >= 0 && item->start <= size);
    if (item->Kind() == kTextItem && !hasNul) {
      const CString& t = static_cast<TextToken&>(*item).text;
      check(t.view().find('\0') == std::string_view::npos);
    }
    check(++items <= 16 * size + 64);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 64 * 1024) return 0;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const bool hasNul = input.find('\0') != std::string::npos;
  for (int mode : {HtmlTokenizer::kHtml, HtmlTokenizer::kKtf, HtmlTokenizer::kPlain}) {
    std::istringstream in(input);
    HtmlTokenizer t(mode);
    t.Reset(&in);
    Drain(t, input, hasNul);
    check(t.MeasureRange(0, static_cast<LONG>(size)) >= 0);
    check(t.MeasureRange(static_cast<LONG>(size) / 2, 0x7ffffff) >= 0);
    t.ResolveAnchor(CString(input.substr(0, 200)));
  }
  std::istringstream pri(kPri);
  TagDefinitionTable table(pri, std::make_unique<HtmlTokenizer>(HtmlTokenizer::kHtml));
  std::istringstream in(input);
  table.Reset(&in);
  Drain(table, input, hasNul);
  return 0;
}
