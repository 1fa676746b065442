// fuzz-libs: zemra_pages
// Rule files from arbitrary bytes: reading must end, and evaluating the
// rules for an empty object must end and give a result of some rule (or
// nothing) without a line end at its end.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/logbook.h"
#include "core/object_utils.h"
#include "pages/rules/rule_set.h"

namespace {

constexpr std::size_t kMaxInput = 64 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxInput) return 0;
  Logbook::SetLogging(false);
  const std::string text(reinterpret_cast<const char*>(data), size);
  RuleSet rules;
  rules.parse(text.c_str());
  TypeCount counts;
  const CString result = rules.evaluate(counts);
  if (!result.IsEmpty()) {
    const char last = result[result.GetLength() - 1];
    if (last == '\r' || last == '\n' || last == ' ' || last == '\t') std::abort();
    bool fromARule = false;
    for (int i = 0; i < rules.count(); ++i) fromARule |= rules.at(i)->result == result;
    if (!fromARule) std::abort();
  }
  return 0;
}
