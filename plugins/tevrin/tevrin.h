// Tevrin, the TIFF converter plug-in: its exports (at the ordinals of common/plugin_exports.h). The
// client binds them by ordinal through GetProcAddress; their C++ names live
// in this namespace so that they never meet another library's WEP or
// DlgConversion.
#pragma once

#include "common/plugin_exports.h"
#include "win/types.h"

namespace tevrin {

inline constexpr WORD kVersion = plugins::kPluginVersion;

// The export types, for callers that bind them.
using ConvertTIFtoDIBFn = plugins::ReadFileFn;
using ConvertTIFMemtoDIBFn = plugins::ReadMemoryFn;
using ConvertDIBtoTIFFn = plugins::WriteFn;
using ConvertDIBtoTIFExFn = plugins::WriteExFn;
using ConvertIsTIFFileFn = plugins::IsFileFn;
using ConvertTIFGetVersionFn = plugins::GetVersionFn;

int WEP(int reserved);
// The readers: grow `block` into the DIB and return it, or null after a
// message box (the block then stays the caller's). The file reader sends
// progress (message 0x62C) to `progress` after each strip. The colour
// argument and the transparent index are not used: TIFF pictures here
// have no transparency.
HGLOBAL ConvertTIFtoDIB(LPCSTR fileName, int unused, HWND progress, HGLOBAL block, DWORD color,
                        int* transparent);
HGLOBAL ConvertTIFMemtoDIB(const void* image, DWORD size, HGLOBAL block, int* transparent);
// Asks for the options (dialog template 100), then writes.
BOOL ConvertDIBtoTIF(LPCSTR fileName, HGLOBAL dib);
// `options` points at a TiffWriteOptions record (null: the defaults).
BOOL ConvertDIBtoTIFEx(LPCSTR fileName, HGLOBAL dib, void* options);
// True when the file starts with "II*\0" or "MM\0*".
BOOL ConvertIsTIFFile(LPCSTR fileName);
WORD ConvertTIFGetVersion();

}  // namespace tevrin
