// The table of modules and their resources behind FindResource and friends.
#include "resource_modules.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "resource_script.h"
#include "win/kernel.h"
#include "win/module.h"

namespace win::user {
namespace {

struct Resource {
  ResourceKey type;
  ResourceKey name;
  std::vector<BYTE> data;
};

struct Module {
  std::string name;  // as first registered
  HINSTANCE handle = nullptr;
  std::vector<std::unique_ptr<Resource>> resources;
};

struct Registry {
  std::vector<std::unique_ptr<Module>> modules;
  // Replaced resources stay readable: a caller may still hold their data.
  std::vector<std::unique_ptr<Resource>> retired;
  // Between the handles of loaded libraries (multiples of 0x10000), so that
  // no resource module has a library's handle.
  std::uintptr_t nextHandle = 0x10008000;
};

Registry& registry() {
  static Registry r;
  return r;
}

// "Pixolt", "pixolt.dll", "PIXOLT.DLL" and "libPixolt.so" name one module.
std::string ModuleKey(LPCSTR name) { return ModuleNameKey(name ? name : ""); }

// The program's module has the empty name; null and "" stand for it.
Module* FindModuleByName(LPCSTR name) {
  const std::string key = ModuleKey(name);
  for (auto& m : registry().modules)
    if (ModuleKey(m->name.c_str()) == key) return m.get();
  return nullptr;
}

Module* FindModuleByHandle(HINSTANCE handle) {
  if (!handle) handle = GetModuleHandle(nullptr);
  for (auto& m : registry().modules)
    if (m->handle == handle) return m.get();
  // A library's handle from LoadLibrary (or GetModuleHandle) stands for the
  // resources it registered under its own name.
  const std::string file = LoadedModuleFileName(handle);
  return file.empty() ? nullptr : FindModuleByName(file.c_str());
}

Module& ModuleNamed(LPCSTR name) {
  if (Module* m = FindModuleByName(name)) return *m;
  Registry& r = registry();
  auto m = std::make_unique<Module>();
  m->name = name ? name : "";
  if (!m->name.empty()) {
    m->handle = reinterpret_cast<HINSTANCE>(r.nextHandle);
    r.nextHandle += 0x10000;
  } else {
    m->handle = GetModuleHandle(nullptr);
  }
  r.modules.push_back(std::move(m));
  return *r.modules.back();
}

void Put(Module& m, std::unique_ptr<Resource> res) {
  for (auto& existing : m.resources) {
    if (existing->type.Matches(res->type) && existing->name.Matches(res->name)) {
      if (existing->data == res->data) return;  // the same again: pointers stay
      registry().retired.push_back(std::move(existing));
      existing = std::move(res);
      return;
    }
  }
  m.resources.push_back(std::move(res));
}

const Resource* Lookup(HINSTANCE module, LPCSTR name, LPCSTR type) {
  if (!name || !type) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  Module* m = FindModuleByHandle(module);
  if (!m) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  const ResourceKey n = ResourceKey::From(name), t = ResourceKey::From(type);
  bool typeSeen = false;
  for (const auto& r : m->resources) {
    if (!r->type.Matches(t)) continue;
    typeSeen = true;
    if (r->name.Matches(n)) return r.get();
  }
  SetLastError(typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
  return nullptr;
}

// A handle we gave out (HRSRC or HGLOBAL) back to its resource.
const Resource* Known(const void* handle) {
  if (!handle) return nullptr;
  for (const auto& m : registry().modules)
    for (const auto& r : m->resources)
      if (r.get() == handle) return r.get();
  for (const auto& r : registry().retired)
    if (r.get() == handle) return r.get();
  return nullptr;
}

}  // namespace

FoundResource FindResourceData(HINSTANCE module, LPCSTR name, LPCSTR type) {
  const Resource* r = Lookup(module, name, type);
  if (!r) return {};
  return FoundResource{r->data.data(), r->data.size()};
}

size_t ResourceBytesFrom(const void* p) {
  const auto* b = static_cast<const BYTE*>(p);
  auto inside = [&](const Resource& r) -> size_t {
    if (r.data.empty()) return 0;
    const BYTE* begin = r.data.data();
    const BYTE* end = begin + r.data.size();
    return (b >= begin && b < end) ? static_cast<size_t>(end - b) : 0;
  };
  for (const auto& m : registry().modules)
    for (const auto& r : m->resources)
      if (size_t n = inside(*r)) return n;
  for (const auto& r : registry().retired)
    if (size_t n = inside(*r)) return n;
  return 0;
}

}  // namespace win::user

using namespace win::user;

HRSRC FindResource(HMODULE module, LPCSTR name, LPCSTR type) {
  const Resource* r = Lookup(module, name, type);
  return r ? reinterpret_cast<HRSRC>(const_cast<Resource*>(r)) : nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC res) {
  return Known(res) ? static_cast<HGLOBAL>(res) : nullptr;
}

LPVOID LockResource(HGLOBAL data) {
  const Resource* r = Known(data);
  return r ? const_cast<BYTE*>(r->data.data()) : nullptr;
}

DWORD SizeofResource(HMODULE, HRSRC res) {
  const Resource* r = Known(res);
  return r ? static_cast<DWORD>(r->data.size()) : 0;
}

BOOL FreeResource(HGLOBAL) { return FALSE; }

namespace win {

HINSTANCE RegisterResourceScript(LPCSTR moduleName, const void* script, size_t size,
                                 std::string* error) {
  if (!script && size) {
    if (error) *error = "no script";
    return nullptr;
  }
  std::vector<user::CompiledResource> compiled;
  const std::string_view text(static_cast<const char*>(script), script ? size : 0);
  if (!user::CompileResourceScript(text, &compiled, error)) return nullptr;
  Module& m = ModuleNamed(moduleName);
  for (auto& c : compiled) {
    auto r = std::make_unique<Resource>();
    r->type = std::move(c.type);
    r->name = std::move(c.name);
    r->data = std::move(c.data);
    Put(m, std::move(r));
  }
  return m.handle;
}

HINSTANCE RegisterResource(LPCSTR moduleName, LPCSTR type, LPCSTR name, const void* data,
                           size_t size) {
  if (!type || !name || (!data && size) || size > (16u << 20)) return nullptr;
  Module& m = ModuleNamed(moduleName);
  auto r = std::make_unique<Resource>();
  r->type = ResourceKey::From(type);
  r->name = ResourceKey::From(name);
  if (size) r->data.assign(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size);
  Put(m, std::move(r));
  return m.handle;
}

HINSTANCE FindResourceModule(LPCSTR moduleName) {
  if (!moduleName) return GetModuleHandle(nullptr);
  Module* m = FindModuleByName(moduleName);
  return m ? m->handle : nullptr;
}

// Tests start from no resources at all; the program's module comes back
// with the next registration.
void ResetResources() {
  Registry& r = registry();
  r.modules.clear();
  r.retired.clear();
}

}  // namespace win
