// The library's own modules: parts that bring heavy system libraries with
// them (X11, FreeType and fontconfig, libpng, the media decoders) are shared
// objects of their own beside the library, loaded the first time they are
// needed, so that a program that never draws text, opens a display or
// writes a picture does not pay for loading them at its start. Each module
// exports one C function that returns its table of functions; nothing of
// the system library behind it shows in the table.
#pragma once

#include <string>

namespace win::kernel {

// Loads `fileName` from the module directory and finds its exported
// function `entry`; null (and `error` says why) when either cannot be had.
// A module stays loaded for the life of the process: its objects may
// outlive any user.
void* LoadLazyModuleEntry(const char* fileName, const char* entry, std::string* error);

// The table a module's entry (`const Table* entry()`) gives; null (and
// `error`) when there is none. Not cached: each accessor keeps its own.
template <typename Table>
const Table* LoadLazyModule(const char* fileName, const char* entry, std::string* error) {
  void* fn = LoadLazyModuleEntry(fileName, entry, error);
  if (!fn) return nullptr;
  const Table* table = reinterpret_cast<const Table* (*)()>(fn)();
  if (!table && error) *error = std::string(fileName) + " offers nothing";
  return table;
}

// A module's table and, when it could not be had, why.
template <typename Table>
struct LoadedModule {
  const Table* module = nullptr;
  std::string error;
};

// The module behind `Table`, loaded on the first call and kept: each table
// type names one module, so the one load serves every later call.
template <typename Table>
const LoadedModule<Table>& LoadModuleOnce(const char* fileName, const char* entry) {
  static const LoadedModule<Table> loaded = [&] {
    LoadedModule<Table> l;
    l.module = LoadLazyModule<Table>(fileName, entry, &l.error);
    return l;
  }();
  return loaded;
}

// The directory modules are loaded from: the library's own unless set.
std::string LazyModuleDir();
// Changes it (tests: a directory without the modules); "" goes back to the
// library's own. Only modules not loaded yet are affected.
void SetLazyModuleDir(const std::string& dir);

}  // namespace win::kernel
