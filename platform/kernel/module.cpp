// The program as a module: its instance handle, module handles by name, and
// the program's own file name.
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "copy_out.h"
#include "errno_map.h"
#include "win/kernel.h"
#include "win/module.h"
#include "win/path_map.h"
#include "win/user.h"

namespace {
// The customary load address of a program; any non-null value would do, but
// it must be one value for the whole process.
HINSTANCE const kProgramInstance = reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(0x00400000));

std::string ProgramHostPath() {
  std::vector<char> buf(4096);
  ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
  if (n <= 0 || static_cast<size_t>(n) >= buf.size()) return std::string();
  return std::string(buf.data(), static_cast<size_t>(n));
}
}  // namespace

// Null and the program's own name give the program's instance; another name
// a library loaded with LoadLibrary, else a module that registered resources
// under that name (the image library and the plug-ins register theirs).
HINSTANCE GetModuleHandle(LPCSTR name) {
  if (!name) return kProgramInstance;
  if (*name) {
    const std::string key = win::ModuleNameKey(name);
    if (!key.empty() && key == win::ModuleNameKey(ProgramHostPath())) return kProgramInstance;
    if (HMODULE lib = win::FindLoadedModule(name)) return lib;
    if (HINSTANCE module = win::FindResourceModule(name)) return module;
  }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

// A buffer too small gets the name cut to size - 1 characters; the result is
// then the size and the last error ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileName(HMODULE module, LPSTR buffer, DWORD size) {
  std::string name;
  if (module != nullptr && module != kProgramInstance) {
    // A library loaded at run time (win/module.h).
    name = win::LoadedModuleFileName(module);
    if (name.empty()) {
      SetLastError(ERROR_MOD_NOT_FOUND);
      return 0;
    }
  } else {
    std::string path = ProgramHostPath();
    if (path.empty()) {
      win::detail::SetLastErrorFromErrno(errno ? errno : ENOENT);
      return 0;
    }
    name = win::WindowsPath(path);
  }
  if (!buffer || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  DWORD copied = win::detail::CopyOutCut(name, buffer, size);
  if (copied < name.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  SetLastError(ERROR_SUCCESS);
  return copied;
}

namespace win {
// The program's directory as a host path, for the file search.
std::string ProgramHostDirectory() {
  std::string path = ProgramHostPath();
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
}
}  // namespace win
