// Ospray, the EPS converter plug-in: its exports (at the ordinals of common/plugin_exports.h). The
// client binds them by ordinal through GetProcAddress; their C++ names live
// in this namespace so that they never clash with Pixolt's WEP and
// DlgConversion, which the plug-in links.
#pragma once

#include "common/plugin_exports.h"
#include "win/types.h"

namespace ospray {

inline constexpr WORD kVersion = plugins::kPluginVersion;

using ConvertEPStoDIBFn = plugins::ReadFileFn;
using ConvertEPSMemtoDIBFn = plugins::ReadMemoryFn;
using ConvertDIBtoEPSFn = plugins::WriteFn;
using ConvertDIBtoEPSExFn = plugins::WriteExFn;
using ConvertIsEPSFileFn = plugins::IsFileFn;
using ConvertEPSGetVersionFn = plugins::GetVersionFn;

int WEP(int reserved);
// The readers grow the caller's block into the DIB and return it (a new
// block when none is given), or null after a message box, the block then
// staying the caller's. Colour argument and transparent index are unused.
HGLOBAL ConvertEPStoDIB(LPCSTR fileName, int unused, HWND progress, HGLOBAL block, DWORD color,
                        int* transparent);
HGLOBAL ConvertEPSMemtoDIB(const void* image, DWORD size, HGLOBAL block, int* transparent);
BOOL ConvertDIBtoEPS(LPCSTR fileName, HGLOBAL dib);
// `options` points at an EpsWriteOptions record (null: the defaults).
BOOL ConvertDIBtoEPSEx(LPCSTR fileName, HGLOBAL dib, void* options);
BOOL ConvertIsEPSFile(LPCSTR fileName);
WORD ConvertEPSGetVersion();

}  // namespace ospray
