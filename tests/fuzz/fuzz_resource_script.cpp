// fuzz-libs: zemra_platform
// The resource compiler on arbitrary text, and every template it makes read
// back by the dialog and menu template readers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "user/dialogs/dialog_template.h"
#include "user/dialogs/resource_script.h"
#include "user/menus/menu_template.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<win::user::CompiledResource> out;
  std::string error;
  if (!win::user::CompileResourceScript(text, &out, &error)) return 0;
  for (const auto& r : out) {
    if (r.type.isNumber && r.type.number == 5) {
      win::user::DialogTemplate t;
      if (!win::user::ParseDialogTemplate(r.data.data(), r.data.size(), &t, &error)) std::abort();
    } else if (r.type.isNumber && r.type.number == 4) {
      std::vector<win::user::MenuTemplateItem> items;
      if (!win::user::ParseMenuTemplate(r.data.data(), r.data.size(), &items, &error)) std::abort();
    }
  }
  return 0;
}
