#include "mci/media_module.h"

#include <dlfcn.h>

namespace win::mci {

namespace {

// The module's file: beside this library.
std::string ModulePath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&Media), &info) == 0 || !info.dli_fname) return "libzemramedia.so";
  std::string here = info.dli_fname;
  const std::size_t slash = here.rfind('/');
  return (slash == std::string::npos ? std::string() : here.substr(0, slash + 1)) + "libzemramedia.so";
}

const MediaModule* Load() {
  // Kept for the life of the process: its objects may outlive any user.
  void* handle = dlopen(ModulePath().c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return nullptr;
  using Entry = const MediaModule* (*)();
  const auto entry = reinterpret_cast<Entry>(dlsym(handle, "ZemraMediaModule"));
  return entry ? entry() : nullptr;
}

}  // namespace

const MediaModule* Media() {
  static const MediaModule* module = Load();
  return module;
}

std::unique_ptr<AudioSink> MakeAlsaSink() {
  const MediaModule* m = Media();
  return m && m->openAlsa ? m->openAlsa() : nullptr;
}

}  // namespace win::mci
