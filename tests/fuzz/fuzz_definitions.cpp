// fuzz-libs: zemra_text
// Definition files on arbitrary bytes: the same input read as a
// definition-language file (.sty) and as an element-definition file (.pri).
// The reader must end, and the tables it builds must serve an event and a
// short document.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "text/definition_set.h"
#include "text/html_tokenizer.h"
#include "text/tag_definition_table.h"
#include "text/value_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 32 * 1024) return 0;
  const std::string input(reinterpret_cast<const char*>(data), size);
  {
    DefinitionSet set;
    std::istringstream in(input);
    if (!set.Read(in)) std::abort();
    TokenEvent event(0, "A");
    event.AddPair("HREF", "$HREF@x(y)");
    ValueTable values;
    std::vector<Action> actions;
    set.ApplyEvent(event, values, actions);
    TokenEvent end(0, "~A");
    set.ApplyEvent(end, values, actions);
    set.GetColorStyle(1, 2, 3, 100);
  }
  {
    std::istringstream in(input);
    TagDefinitionTable table(in, std::make_unique<HtmlTokenizer>(HtmlTokenizer::kHtml));
    std::istringstream doc("<UL><LI>a<P>b</UL><TABLE><TR><TD>c</TABLE></B></I>d");
    table.Reset(&doc);
    int items = 0;
    while (auto item = table.NextToken())
      if (++items > 100000) std::abort();
  }
  return 0;
}
