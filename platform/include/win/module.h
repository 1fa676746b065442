// Run-time loading of shared libraries: LoadLibrary, GetProcAddress (by name
// or by ordinal), FreeLibrary, and the export table a library declares so
// that callers can bind its functions by ordinal.
//
// A library declares its exports once, in one of its source files:
//
//   #include "win/module.h"
//   ZEMRA_EXPORTS({1, "WEP", WEP},
//                 {2, "ConvertTIFtoDIB", ConvertTIFtoDIB},
//                 {20, "ConvertTIFMemtoDIB", ConvertTIFMemtoDIB})
//
// The macro defines one well-known C symbol (ZEMRA_EXPORT_TABLE_SYMBOL) that
// GetProcAddress finds with dlsym in the loaded library itself (never in a
// library it depends on). The functions named need not be exported symbols
// of their own; any function pointer may stand in a row. Ordinals are 1 to
// 65535, each at most once; names compare with case, as on Windows.
//
// A caller binds an export by ordinal and casts it to its real type:
//
//   HMODULE lib = LoadLibrary("C:\\zemra\\Tevrin.DLL");
//   auto read = reinterpret_cast<ReadFn>(GetProcAddress(lib, MAKEINTRESOURCE(2)));
//   ...
//   FreeLibrary(lib);
#pragma once

#include <string>
#include <vector>

#include "win/types.h"

// What GetProcAddress returns: cast it to the export's own function type.
using FARPROC = INT_PTR (*)();

// One row of a library's export table.
struct ZemraExport {
  WORD ordinal;
  const char* name;
  FARPROC proc;

  template <class R, class... Args>
  ZemraExport(WORD ord, const char* exportName, R (*fn)(Args...))
      // Through void(*)(): the one pointer type every function type may pass
      // through without a warning; the caller casts back to the real type.
      : ordinal(ord),
        name(exportName),
        proc(reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(fn))) {}
};

// The table as GetProcAddress finds it. `version` guards against a library
// built with another layout of this record.
struct ZemraExportTable {
  DWORD version;
  DWORD count;
  const ZemraExport* entries;
};
#define ZEMRA_EXPORT_TABLE_VERSION 1u
#define ZEMRA_EXPORT_TABLE_SYMBOL zemra_module_export_table

#define ZEMRA_EXPORTS(...)                                                                  \
  extern "C" __attribute__((visibility("default"))) const ZemraExportTable*                 \
  ZEMRA_EXPORT_TABLE_SYMBOL() {                                                              \
    static const ZemraExport entries[] = {__VA_ARGS__};                                     \
    static const ZemraExportTable table{ZEMRA_EXPORT_TABLE_VERSION,                         \
                                        static_cast<DWORD>(sizeof(entries) / sizeof(entries[0])), \
                                        entries};                                           \
    return &table;                                                                          \
  }

// Loads a shared library and answers its module handle, or null (last error
// ERROR_MOD_NOT_FOUND, or ERROR_BAD_EXE_FORMAT when the file is there but is
// no library that can be loaded). Loading a library that is loaded already
// answers the same handle and counts one more reference.
//
// The name is looked for as given, then with its extension replaced by ".so"
// (appended when it has none), then as "lib<base>.so" - so "Tevrin.DLL" finds
// Tevrin.DLL, Tevrin.so or libTevrin.so. Every path component matches
// without regard to case, through the path layer. A name with a directory is
// looked for in that directory only; a bare name in the program's directory,
// then the current directory, then the directories set with
// win::SetModuleSearchDirectories.
HMODULE LoadLibrary(LPCSTR name);
// The same; the flags are not used.
HMODULE LoadLibraryEx(LPCSTR name, HANDLE reserved, DWORD flags);

// Drops one reference; the library is unloaded when none is left. FALSE (last
// error ERROR_INVALID_HANDLE) for a handle that is not a loaded library.
BOOL FreeLibrary(HMODULE module);

// An export of the library: `name` is either a NUL-ended export name or an
// ordinal made with MAKEINTRESOURCE(n). Null, with the last error
// ERROR_PROC_NOT_FOUND, when the library has no such export, and
// ERROR_INVALID_HANDLE for a handle that is not a loaded library. A library
// without an export table is searched by name only (its C symbols); the
// program's own handle (GetModuleHandle(nullptr)) finds the program's table
// or its C symbols.
FARPROC GetProcAddress(HMODULE module, LPCSTR name);

#define ERROR_BAD_EXE_FORMAT 193

namespace win {

// Extra directories searched for bare library names, after the program's
// directory and the current directory (Windows or host form).
void SetModuleSearchDirectories(const std::vector<std::string>& dirs);

// The full name (Windows form) of a loaded library; "" for any other handle.
// GetModuleFileName answers this for library handles.
std::string LoadedModuleFileName(HMODULE module);

// The module handle of the shared library (or program) whose code or data
// holds `address`: how a library finds its own handle, to register its own
// resources. A library linked at start-up gets a handle here too (without a
// reference to free); the program's code gives the program's handle. Null
// when the address belongs to no loaded object.
HMODULE ModuleHandleFromAddress(const void* address);

// How many references a loaded library holds (0: not loaded), for tests.
int LoadedModuleReferences(HMODULE module);

// The handle of a loaded library named `name`, or null. Names match by their
// file name without directory, extension or a "lib" prefix of a ".so", and
// without regard to case: "Tevrin", "TEVRIN.DLL" and "C:\x\libTevrin.so"
// name one library. (GetModuleHandle answers it.)
HMODULE FindLoadedModule(LPCSTR name);
// That comparison key of a module or file name ("tevrin").
std::string ModuleNameKey(const std::string& name);

}  // namespace win
