// Murvik, the PCX converter plug-in: its exports (at the ordinals of common/plugin_exports.h). The
// client binds them by ordinal through GetProcAddress; their C++ names live
// in this namespace so that they never clash with another library's WEP or
// DlgConversion.
#pragma once

#include "common/plugin_exports.h"
#include "win/types.h"

namespace murvik {

inline constexpr WORD kVersion = plugins::kPluginVersion;

// The export types, for callers that bind them.
using ConvertPCXtoDIBFn = plugins::ReadFileFn;
using ConvertPCXMemtoDIBFn = plugins::ReadMemoryFn;
using ConvertDIBtoPCXFn = plugins::WriteFn;
using ConvertDIBtoPCXExFn = plugins::WriteExFn;
using ConvertIsPCXFileFn = plugins::IsFileFn;
using ConvertPCXGetVersionFn = plugins::GetVersionFn;

int WEP(int reserved);
// The reader: grows `block` into the DIB and returns it, or null after a
// message box (the block then stays the caller's). The colour argument and
// the transparent index are not used: PCX knows no transparency.
HGLOBAL ConvertPCXtoDIB(LPCSTR fileName, int unused, HWND progress, HGLOBAL block, DWORD color,
                        int* transparent);
HGLOBAL ConvertPCXMemtoDIB(const void* image, DWORD size, HGLOBAL block, int* transparent);
BOOL ConvertDIBtoPCX(LPCSTR fileName, HGLOBAL dib);
// `options` points at a PcxWriteOptions record (null: the defaults).
BOOL ConvertDIBtoPCXEx(LPCSTR fileName, HGLOBAL dib, void* options);
BOOL ConvertIsPCXFile(LPCSTR fileName);
WORD ConvertPCXGetVersion();

}  // namespace murvik
