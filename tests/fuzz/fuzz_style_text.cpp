// fuzz-libs: zemra_pages
// Style files from arbitrary bytes (behind the header, so every input is
// read as statements): the reader must end, keep the table consistent, and
// every walk over it - the dump, queries, type tests, expressions over what
// was declared - must end too, also for types that refer to themselves.
// The table and the name set are emptied after each input.
#include <cstdint>
#include <memory>
#include <string>

#include "core/logbook.h"
#include "pages/style/property_getters.h"
#include "pages/style/property_table.h"
#include "pages/style/style_expressions.h"

namespace {

constexpr std::size_t kMaxInput = 64 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxInput) return 0;
  Logbook::SetLogging(false);
  const std::string text =
      "<Style Description>\n" + std::string(reinterpret_cast<const char*>(data), size);
  PropertyTable& table = StyleTable();
  table.ParseStyleText(text.c_str());
  table.Print();
  // Every top-level struct: derived, queried by its members, tested.
  for (int i = 0; i < table.Count(); ++i) {
    const Property* entry = table.MemberAt(i);
    if (!entry) continue;
    const CString name = entry->GetName();
    std::unique_ptr<PropertyStruct> derived(ApplyStyleAssignments(name + "()", nullptr));
    if (const PropertyStruct* s = getStruct(entry)) {
      for (int m = 0; m < s->Count(); ++m)
        if (const Property* member = s->MemberAt(m))
          (void)getInt(table.StyleQuery(name + "." + member->GetName()), 0);
      (void)table.IsDerived(name, "DefaultPage");
      (void)PropertyTable::IsA(s, "Label");
      (void)derived->StyleQuery("visible.x");
    }
  }
  table.clear();
  PropertyNames().Clear();
  return 0;
}
