// WritePng and ReadPng through the PNG module, loaded on first use.
#include "gdi/png_writer.h"

#include "gdi/png_module.h"
#include "kernel/lazy_module.h"

namespace win::gdi {
namespace {

const kernel::LoadedModule<PngModule>& Module() {
  return kernel::LoadModuleOnce<PngModule>("libzemrapng.so", "ZemraPngModule");
}

}  // namespace

bool WritePng(const Surface& surface, const std::string& path, std::string* error) {
  const auto& l = Module();
  std::string why;
  if (!l.module) {
    why = "no PNG support: " + l.error;
  } else if (l.module->write(surface, path, &why)) {
    return true;
  }
  if (error) *error = why;
  return false;
}

std::unique_ptr<Surface> ReadPng(const std::string& path, std::string* error) {
  const auto& l = Module();
  std::string why;
  std::unique_ptr<Surface> out;
  if (!l.module) {
    why = "no PNG support: " + l.error;
  } else {
    out = l.module->read(path, &why);
  }
  if (!out && error) *error = why;
  return out;
}

}  // namespace win::gdi
