// Shared libraries loaded at run time: LoadLibrary finds the file the way a
// Windows installation names it, GetProcAddress binds by name or ordinal
// through the library's export table (win/module.h), FreeLibrary counts
// references. Every handle is looked up in a table, so a stale or made-up
// handle is answered with an error, never followed.
#include "win/module.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>

#include <cstring>
#include <map>
#include <mutex>

#include "win/kernel.h"
#include "win/path_map.h"

namespace {

#define ZEMRA_STRINGIFY2(x) #x
#define ZEMRA_STRINGIFY(x) ZEMRA_STRINGIFY2(x)
constexpr const char* kTableSymbol = ZEMRA_STRINGIFY(ZEMRA_EXPORT_TABLE_SYMBOL);

struct Module {
  void* dl = nullptr;          // our own dlopen reference (one per LoadLibrary)
  const link_map* map = nullptr;
  std::string hostPath;        // absolute
  int refs = 0;                // LoadLibrary references
  bool linked = false;         // loaded with the program: never unloaded
  const ZemraExportTable* table = nullptr;
  std::vector<void*> extraDl;  // dlopen references of repeated loads
};

struct Registry {
  std::recursive_mutex mutex;
  std::map<std::uintptr_t, Module> modules;
  std::uintptr_t next = 1;
  std::vector<std::string> searchDirs;
};

Registry& Modules() {
  static Registry* registry = new Registry;  // outlives static destructors
  return *registry;
}

std::uintptr_t Key(HMODULE m) { return reinterpret_cast<std::uintptr_t>(m); }

// Handles are 64 KiB apart above 256 MiB: never a small integer, never the
// program's instance, never an address of ours.
HMODULE MakeHandle(Registry& r) {
  return reinterpret_cast<HMODULE>(0x10000000u + (r.next++ << 16));
}

const link_map* LinkMapOf(void* dl) {
  link_map* map = nullptr;
  if (dlinfo(dl, RTLD_DI_LINKMAP, &map) != 0) return nullptr;
  return map;
}

// The loaded object holding `address` (its link map), or null.
const link_map* ObjectOf(const void* address) {
  Dl_info info;
  link_map* map = nullptr;
  if (!dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP)) return nullptr;
  return map;
}

// The program itself is the first object of the link chain.
const link_map* ProgramMap() {
  static const link_map* program = [] {
    void* self = dlopen(nullptr, RTLD_NOW);
    const link_map* map = self ? LinkMapOf(self) : nullptr;
    return map;
  }();
  return program;
}

// A symbol of the object `map` itself (dlsym also searches what it depends
// on; those answers are not this object's).
void* OwnSymbol(void* dl, const link_map* map, const char* name) {
  void* sym = dlsym(dl, name);
  if (!sym || ObjectOf(sym) != map) return nullptr;
  return sym;
}

const ZemraExportTable* FindTable(void* dl, const link_map* map) {
  void* sym = OwnSymbol(dl, map, kTableSymbol);
  if (!sym) return nullptr;
  auto get = reinterpret_cast<const ZemraExportTable* (*)()>(sym);
  const ZemraExportTable* table = get();
  if (!table || table->version != ZEMRA_EXPORT_TABLE_VERSION || !table->entries) return nullptr;
  return table;
}

Module* FindModule(Registry& r, HMODULE m) {
  auto it = r.modules.find(Key(m));
  return it == r.modules.end() ? nullptr : &it->second;
}

HMODULE FindByMap(Registry& r, const link_map* map) {
  for (auto& [key, mod] : r.modules) {
    if (mod.map == map) return reinterpret_cast<HMODULE>(key);
  }
  return nullptr;
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// The file names tried for `file`: as given, with ".so" for its extension,
// and as "lib<base>.so".
std::vector<std::string> NameVariants(const std::string& file) {
  size_t dot = file.find_last_of('.');
  std::string base = dot == std::string::npos || dot == 0 ? file : file.substr(0, dot);
  std::vector<std::string> out{file};
  for (std::string v : {base + ".so", "lib" + base + ".so"}) {
    bool seen = false;
    for (const auto& o : out) seen = seen || o == v;
    if (!seen) out.push_back(v);
  }
  return out;
}

bool IsRegularFile(const std::string& host) {
  struct stat st;
  return !host.empty() && ::stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

HMODULE Load(LPCSTR name) {
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::string full = name;
  size_t cut = full.find_last_of("/\\");
  bool hasDrive = full.size() >= 2 && full[1] == ':' && cut == std::string::npos;
  std::string file = cut == std::string::npos ? (hasDrive ? full.substr(2) : full) : full.substr(cut + 1);
  if (file.empty()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  Registry& r = Modules();
  std::vector<std::string> dirs;
  if (cut != std::string::npos) {
    dirs.push_back(full.substr(0, cut + 1));
  } else if (hasDrive) {
    dirs.push_back(full.substr(0, 2));
  } else {
    std::string program = win::ProgramHostDirectory();
    if (!program.empty()) dirs.push_back(program + "/");
    std::string current = win::CurrentHostDirectory();
    if (!current.empty()) dirs.push_back(current + "/");
    std::lock_guard<std::recursive_mutex> lock(r.mutex);
    for (const auto& d : r.searchDirs) {
      if (!d.empty()) dirs.push_back(IsSeparator(d.back()) ? d : d + "/");
    }
  }

  bool foundFile = false;
  for (const auto& dir : dirs) {
    for (const auto& variant : NameVariants(file)) {
      std::string host = win::HostPath(dir + variant);
      if (!IsRegularFile(host)) continue;
      foundFile = true;
      host = win::AbsoluteHostPath(host);
      // The library's own initialisers may load libraries in turn: no lock
      // is held while dlopen runs them.
      void* dl = dlopen(host.c_str(), RTLD_NOW | RTLD_LOCAL);
      if (!dl) continue;
      const link_map* map = LinkMapOf(dl);
      std::lock_guard<std::recursive_mutex> lock(r.mutex);
      if (HMODULE known = FindByMap(r, map)) {
        Module* mod = FindModule(r, known);
        if (mod->dl) {
          mod->extraDl.push_back(dl);
        } else {
          mod->dl = dl;
        }
        ++mod->refs;
        SetLastError(ERROR_SUCCESS);
        return known;
      }
      HMODULE handle = MakeHandle(r);
      Module mod;
      mod.dl = dl;
      mod.map = map;
      mod.hostPath = host;
      mod.refs = 1;
      mod.table = FindTable(dl, map);
      r.modules.emplace(Key(handle), std::move(mod));
      SetLastError(ERROR_SUCCESS);
      return handle;
    }
  }
  SetLastError(foundFile ? ERROR_BAD_EXE_FORMAT : ERROR_MOD_NOT_FOUND);
  return nullptr;
}

FARPROC FromTable(const ZemraExportTable* table, LPCSTR name) {
  if (!table) return nullptr;
  bool byOrdinal = IS_INTRESOURCE(name);
  WORD ordinal = LOWORD(reinterpret_cast<UINT_PTR>(name));
  for (DWORD i = 0; i < table->count; ++i) {
    const ZemraExport& e = table->entries[i];
    if (byOrdinal ? e.ordinal == ordinal : (e.name && std::strcmp(e.name, name) == 0)) return e.proc;
  }
  return nullptr;
}

FARPROC Lookup(void* dl, const link_map* map, const ZemraExportTable* table, LPCSTR name) {
  if (IS_INTRESOURCE(name) && LOWORD(reinterpret_cast<UINT_PTR>(name)) == 0) return nullptr;
  if (table) return FromTable(table, name);
  if (IS_INTRESOURCE(name)) return nullptr;  // ordinals need a table
  return reinterpret_cast<FARPROC>(OwnSymbol(dl, map, name));
}

}  // namespace

HMODULE LoadLibrary(LPCSTR name) { return Load(name); }

HMODULE LoadLibraryEx(LPCSTR name, HANDLE, DWORD) { return Load(name); }

BOOL FreeLibrary(HMODULE module) {
  Registry& r = Modules();
  void* toClose = nullptr;
  {
    std::lock_guard<std::recursive_mutex> lock(r.mutex);
    Module* mod = FindModule(r, module);
    if (!mod || mod->refs == 0) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    --mod->refs;
    if (!mod->extraDl.empty()) {
      toClose = mod->extraDl.back();
      mod->extraDl.pop_back();
    } else if (mod->refs == 0 && !mod->linked) {
      toClose = mod->dl;
      r.modules.erase(Key(module));
    }
  }
  // Unloading runs the library's finalisers: outside the lock.
  if (toClose) dlclose(toClose);
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
  if (!name) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  void* dl = nullptr;
  const link_map* map = nullptr;
  const ZemraExportTable* table = nullptr;
  if (module == nullptr || module == GetModuleHandle(nullptr)) {
    static void* self = dlopen(nullptr, RTLD_NOW);
    dl = self;
    map = ProgramMap();
    if (!dl || !map) {
      SetLastError(ERROR_PROC_NOT_FOUND);
      return nullptr;
    }
    table = FindTable(dl, map);
  } else {
    Registry& r = Modules();
    std::lock_guard<std::recursive_mutex> lock(r.mutex);
    Module* mod = FindModule(r, module);
    if (!mod) {
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    dl = mod->dl;
    map = mod->map;
    table = mod->table;
  }
  FARPROC proc = Lookup(dl, map, table, name);
  SetLastError(proc ? ERROR_SUCCESS : ERROR_PROC_NOT_FOUND);
  return proc;
}

namespace win {

void SetModuleSearchDirectories(const std::vector<std::string>& dirs) {
  Registry& r = Modules();
  std::lock_guard<std::recursive_mutex> lock(r.mutex);
  r.searchDirs = dirs;
}

std::string LoadedModuleFileName(HMODULE module) {
  Registry& r = Modules();
  std::lock_guard<std::recursive_mutex> lock(r.mutex);
  Module* mod = FindModule(r, module);
  return mod ? WindowsPath(mod->hostPath) : std::string();
}

HMODULE ModuleHandleFromAddress(const void* address) {
  const link_map* map = address ? ObjectOf(address) : nullptr;
  if (!map) return nullptr;
  if (map == ProgramMap()) return GetModuleHandle(nullptr);
  Registry& r = Modules();
  std::lock_guard<std::recursive_mutex> lock(r.mutex);
  if (HMODULE known = FindByMap(r, map)) return known;
  if (!map->l_name || !*map->l_name) return nullptr;
  // Loaded with the program (or by another library): a handle without a
  // reference, kept as long as the process runs.
  void* dl = dlopen(map->l_name, RTLD_NOW | RTLD_NOLOAD);
  if (!dl) return nullptr;
  HMODULE handle = MakeHandle(r);
  Module mod;
  mod.dl = dl;
  mod.map = map;
  mod.hostPath = map->l_name;
  mod.linked = true;
  mod.table = FindTable(dl, map);
  r.modules.emplace(Key(handle), std::move(mod));
  return handle;
}

std::string ModuleNameKey(const std::string& name) {
  const size_t cut = name.find_last_of("/\\:");
  std::string key = cut == std::string::npos ? name : name.substr(cut + 1);
  for (char& c : key)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  const size_t dot = key.find_last_of('.');
  const bool shared = dot != std::string::npos && key.compare(dot, std::string::npos, ".so") == 0;
  if (dot != std::string::npos && dot > 0) key.resize(dot);
  if (shared && key.size() > 3 && key.compare(0, 3, "lib") == 0) key.erase(0, 3);
  return key;
}

HMODULE FindLoadedModule(LPCSTR name) {
  if (!name || !*name) return nullptr;
  const std::string key = ModuleNameKey(name);
  if (key.empty()) return nullptr;
  Registry& r = Modules();
  std::lock_guard<std::recursive_mutex> lock(r.mutex);
  for (auto& [handle, mod] : r.modules)
    if (ModuleNameKey(mod.hostPath) == key) return reinterpret_cast<HMODULE>(handle);
  return nullptr;
}

int LoadedModuleReferences(HMODULE module) {
  Registry& r = Modules();
  std::lock_guard<std::recursive_mutex> lock(r.mutex);
  Module* mod = FindModule(r, module);
  return mod ? mod->refs : 0;
}

}  // namespace win
