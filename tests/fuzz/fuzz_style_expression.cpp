// fuzz-libs: zemra_pages
// Style expressions and queries from arbitrary text over a fixed table:
// the first line is an expression (its result is derived and read back,
// and refined by the rest), the second a query path. Nothing may change
// the table, and every lookup must end.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/logbook.h"
#include "pages/style/property_getters.h"
#include "pages/style/property_table.h"
#include "pages/style/style_expressions.h"

namespace {

constexpr std::size_t kMaxInput = 16 * 1024;
constexpr int kMaxNames = 200000;

constexpr char kStyles[] =
    "<Style Description>\n"
    "Transition = (NONE, DRAWLEFT, RESIZE)\n"
    "Font = { String face = \"Arial\"; Value size = 10 }\n"
    "Label = { Font font; String caption = \"x\"; Color fgcolor = 0xFF0000;\n"
    "          Transition effect = NONE; Rect pos = \"1 2 3 4\"; Area area = \"0 0 9 9\" }\n"
    "Label Title { font.size = 20 }\n"
    "Label Label { Boolean visible = TRUE }\n"
    "DefaultPage = { Label title; Value x }\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxInput) return 0;
  Logbook::SetLogging(false);
  PropertyTable& table = StyleTable();
  // Lookups register their names for good; the set is started afresh
  // before it grows large.
  if (PropertyNames().used() > kMaxNames) {
    table.clear();
    PropertyNames().Clear();
  }
  if (table.Count() == 0) table.ParseStyleText(kStyles);
  const int before = table.Count();
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = input.find('\n');
  const std::string expression = input.substr(0, cut);
  const std::string path = cut == std::string::npos ? std::string() : input.substr(cut + 1);

  std::unique_ptr<PropertyStruct> style(ApplyStyleAssignments(expression.c_str(), nullptr));
  if (!style) std::abort();
  std::unique_ptr<PropertyStruct> refined(ApplyStyleAssignments(path.c_str(), style.get()));
  std::unique_ptr<PropertyStruct> to(ApplyStyleAssignmentsTo(expression.c_str(), refined.get()));
  (void)GetStyleName(expression.c_str());
  (void)getString(style->StyleQuery(path.c_str()), "");
  (void)getTransition(to->StyleQuery("effect"), 0);
  (void)getArea(refined->StyleQuery("area"), Area());
  (void)table.StyleQuery(path.c_str());
  style->Print();
  if (table.Count() != before) std::abort();
  return 0;
}
