#include "kernel/lazy_module.h"

#include <dlfcn.h>

#include <mutex>

namespace win::kernel {
namespace {

std::mutex g_mutex;
std::string g_dir;  // empty: the library's own directory

std::string LibraryDir() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&LoadLazyModuleEntry), &info) == 0 || !info.dli_fname) return {};
  const std::string here = info.dli_fname;
  const std::size_t slash = here.rfind('/');
  return slash == std::string::npos ? std::string() : here.substr(0, slash);
}

}  // namespace

std::string LazyModuleDir() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_dir.empty() ? LibraryDir() : g_dir;
}

void SetLazyModuleDir(const std::string& dir) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_dir = dir;
}

void* LoadLazyModuleEntry(const char* fileName, const char* entry, std::string* error) {
  const std::string dir = LazyModuleDir();
  const std::string path = dir.empty() ? std::string(fileName) : dir + "/" + fileName;
  // Bound at once, so that a symbol the module misses is an error here and
  // not a crash later; local, so that the module's names stay its own.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    if (error) *error = "cannot load " + path + ": " + (why ? why : "unknown error");
    return nullptr;
  }
  void* fn = dlsym(handle, entry);
  if (!fn && error) *error = path + " has no " + entry;
  return fn;
}

}  // namespace win::kernel
