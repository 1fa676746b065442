// `pcx_to_ppm FILE`: the file read through Murvik ("MURVIK.DLL" from the
// build's bin/ folder, as the client loads it) and written to standard
// output as a binary PPM: the same work as netpbm's pcxtoppm, by a program
// as small as it, for the PCX benchmark to time process against process.
#include <cstdio>
#include <filesystem>

#include "support/dib_to_ppm.h"
#include "win/kernel.h"
#include "win/module.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: pcx_to_ppm FILE\n");
    return 2;
  }
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
  win::SetModuleSearchDirectories({(self.parent_path().parent_path() / "bin").string()});
  HMODULE lib = LoadLibrary("MURVIK.DLL");
  using ReadFn = HGLOBAL (*)(LPCSTR, int, HWND, HGLOBAL, DWORD, int*);
  auto read = lib ? reinterpret_cast<ReadFn>(reinterpret_cast<void*>(GetProcAddress(lib, MAKEINTRESOURCE(2)))) : nullptr;
  if (!read) return 1;
  HGLOBAL block = GlobalAlloc(GHND, 44);
  HGLOBAL dib = read(argv[1], 0, nullptr, block, 0, nullptr);
  const bool ok = dib && bench_support::WriteDibAsPpm(dib, stdout);
  GlobalFree(dib ? dib : block);
  return ok ? 0 : 1;
}
