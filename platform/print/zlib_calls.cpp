#include "print/zlib_calls.h"

#include <dlfcn.h>

namespace win::print {
namespace {

struct Loaded {
  ZlibCalls calls{};
  bool ok = false;
  std::string error;
};

template <typename Fn>
bool Find(void* lib, const char* name, Fn* out, std::string* error) {
  *out = reinterpret_cast<Fn>(dlsym(lib, name));
  if (!*out) *error = std::string("zlib has no ") + name;
  return *out != nullptr;
}

Loaded Load() {
  Loaded l;
  // Kept for the life of the process.
  void* lib = dlopen("libz.so.1", RTLD_NOW | RTLD_LOCAL);
  if (!lib) {
    const char* why = dlerror();
    l.error = std::string("cannot load zlib: ") + (why ? why : "unknown error");
    return l;
  }
  l.ok = Find(lib, "deflateInit_", &l.calls.init, &l.error) &&
         Find(lib, "deflate", &l.calls.compress, &l.error) && Find(lib, "deflateEnd", &l.calls.end, &l.error);
  return l;
}

}  // namespace

const ZlibCalls* Zlib(std::string* error) {
  static const Loaded loaded = Load();
  if (!loaded.ok && error) *error = loaded.error;
  return loaded.ok ? &loaded.calls : nullptr;
}

}  // namespace win::print
