// Opening an X display through the X11 module, loaded on first use.
#include "display/display.h"
#include "display/x11_module.h"
#include "kernel/lazy_module.h"

namespace win::display {
namespace {

const kernel::LoadedModule<X11Module>& Module() {
  return kernel::LoadModuleOnce<X11Module>("libzemrax11.so", "ZemraX11Module");
}

}  // namespace

std::unique_ptr<Display> MakeX11(const char* name, std::string* error) {
  const auto& l = Module();
  if (!l.module) {
    if (error) *error = "no X11 display support: " + l.error;
    return nullptr;
  }
  std::string why;
  auto display = l.module->open(name, &why);
  if (!display && error) *error = why;
  return display;
}

}  // namespace win::display
