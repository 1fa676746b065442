// Wendle, the GIF converter plug-in: its exports and their ordinals (the
// same as every converter plug-in's, without the dialog ordinals 14 and 16).
// The C++ names live in this namespace so that they never meet another
// library's WEP.
#pragma once

#include "common/plugin_exports.h"
#include "win/types.h"

namespace wendle {

inline constexpr WORD kVersion = plugins::kPluginVersion;

using ConvertGIFtoDIBFn = plugins::ReadFileFn;
using ConvertGIFMemtoDIBFn = plugins::ReadMemoryFn;
using ConvertDIBtoGIFFn = plugins::WriteFn;
using ConvertDIBtoGIFExFn = plugins::WriteExFn;
using ConvertIsGIFFileFn = plugins::IsFileFn;
using ConvertGIFGetVersionFn = plugins::GetVersionFn;

int WEP(int reserved);
// The readers: grow `block` into the DIB and return it, or null after a
// message box (the block then stays the caller's). `transparent` gets -1,
// then the transparent index the picture declares. The file reader takes
// the colour argument (bit 31: put the colour of the low three bytes into
// the transparent entry); the memory reader has none. No progress is sent.
HGLOBAL ConvertGIFtoDIB(LPCSTR fileName, int unused, HWND progress, HGLOBAL block, DWORD color,
                        int* transparent);
HGLOBAL ConvertGIFMemtoDIB(const void* image, DWORD size, HGLOBAL block, int* transparent);
// Asks for the options in the dialog "DLG_GIF", which this plug-in does not
// carry: a host that writes GIF files calls ConvertDIBtoGIFEx.
BOOL ConvertDIBtoGIF(LPCSTR fileName, HGLOBAL dib);
// `options` points at a GifWriteOptions record (null: the defaults).
BOOL ConvertDIBtoGIFEx(LPCSTR fileName, HGLOBAL dib, void* options);
// True when the file starts with "GIF87a" or "GIF89a".
BOOL ConvertIsGIFFile(LPCSTR fileName);
WORD ConvertGIFGetVersion();

}  // namespace wendle
