// Opening an X display through the X11 module, loaded on first use.
#include "display/display.h"
#include "display/x11_module.h"
#include "kernel/lazy_module.h"

namespace win::display {
namespace {

struct Loaded {
  const X11Module* module = nullptr;
  std::string error;
};

const Loaded& Module() {
  static const Loaded loaded = [] {
    Loaded l;
    l.module = kernel::LoadLazyModule<X11Module>("libzemrax11.so", "ZemraX11Module", &l.error);
    return l;
  }();
  return loaded;
}

}  // namespace

std::unique_ptr<Display> MakeX11(const char* name, std::string* error) {
  const Loaded& l = Module();
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
