// fuzz-libs: zemra_text
// The string translator on arbitrary texts and tables: the first line of the
// input is a text to translate, every further line "name=value" an
// attribute, and lines "@list key=value" entries of a list named "list".
// Every mode must end with a bounded result.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "text/string_translator.h"
#include "text/translation_list.h"
#include "text/value_table.h"

namespace {

class OneList : public TranslationListSource {
 public:
  const TranslationList* FindList(std::string_view name) const override {
    return name == "list" ? &list : nullptr;
  }
  TranslationList list{"list"};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 16 * 1024) return 0;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::string text;
  std::getline(in, text);
  ValueTable values;
  OneList lists;
  std::string line;
  while (std::getline(in, line)) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    if (line.rfind("@list ", 0) == 0)
      lists.list.Set(CString(line.substr(6, eq - 6)), CString(line.substr(eq + 1)));
    else
      values.Add(CString(line.substr(0, eq)), CString(line.substr(eq + 1)), 0);
  }
  StringTranslator& t = StringTranslator::Instance();
  for (auto mode : {StringTranslator::kValues, StringTranslator::kLists, StringTranslator::kBoth}) {
    for (bool final : {false, true}) {
      CString out;
      const int n = t.Translate(CString(text), out, &values, &lists, mode, final);
      if (n != -1 && n != out.GetLength()) std::abort();
      // A pass stops substituting at the cap: the last one may pass it by
      // one value and the text it had not reached.
      if (static_cast<size_t>(out.GetLength()) > 2 * StringTranslator::kMaxLength + 2 * size) std::abort();
    }
  }
  return 0;
}
