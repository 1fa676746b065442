// fuzz-libs: zemra_core
// The address parser of the Store base on arbitrary text: every part it
// yields keeps the shape the callers rely on.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/store.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An address is a C string: it ends at the first NUL.
  std::string text(reinterpret_cast<const char*>(data), size);
  text = text.c_str();
  Ref<Store> store(new Store(CString(text)));
  check(store->getAddress() == CString(text));
  const CString scheme = store->getScheme();
  const CString path = store->getPath();
  check(scheme.Find(':') < 0);
  const bool pathOnly =
      scheme.IsEmpty() || (scheme == kServerScheme && CString(text).Find('/') < 0);
  if (pathOnly) {
    check(path.Find(';') < 0);
    check(store->getHost().IsEmpty() && store->getUser().IsEmpty() && store->getPort() == 0);
  } else {
    check(path.IsEmpty() || path[0] == '/');
    check(path.Find('#') < 0);
    check(store->getUser().Find('@') < 0 && store->getUser().Find(':') < 0);
    check(store->getPassword().Find('@') < 0);
    check(store->getHost().Find('/') < 0 && store->getHost().Find(':') < 0);
  }
  store->isRoot(CString(text));
  return 0;
}
