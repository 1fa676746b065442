// fuzz-libs: zemra_platform
// The binary template readers on arbitrary bytes: dialog templates (both
// forms) and menu templates, each read only within the bytes given.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "user/dialogs/dialog_template.h"
#include "user/menus/menu_template.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly `size` bytes, so reading past it is caught.
  std::vector<uint8_t> bytes(data, data + size);
  std::string error;
  win::user::DialogTemplate t;
  if (win::user::ParseDialogTemplate(bytes.data(), bytes.size(), &t, &error)) {
    // What was read can be written and read again the same.
    const std::vector<BYTE> again = win::user::WriteDialogTemplate(t);
    win::user::DialogTemplate u;
    if (!win::user::ParseDialogTemplate(again.data(), again.size(), &u, &error)) std::abort();
    if (u.items.size() != t.items.size()) std::abort();
  }
  std::vector<win::user::MenuTemplateItem> items;
  win::user::ParseMenuTemplate(bytes.data(), bytes.size(), &items, &error);
  return 0;
}
