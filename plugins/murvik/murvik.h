// Murvik, the PCX converter plug-in: its exports and their ordinals. The
// client binds them by ordinal through GetProcAddress; their C++ names live
// in this namespace so that they never clash with another library's WEP or
// DlgConversion.
#pragma once

#include "win/types.h"

namespace murvik {

inline constexpr WORD kVersion = 0x0100;

enum Ordinal : WORD {
  kOrdWep = 1,
  kOrdPcxToDib = 2,
  kOrdDibToPcx = 4,
  kOrdDibToPcxEx = 6,
  kOrdIsPcxFile = 8,
  kOrdGetVersion = 10,
  kOrdDlgPcx = 14,
  kOrdDlgConversion = 16,
  kOrdPcxMemToDib = 20,
};

// The export types, for callers that bind them.
using ConvertPCXtoDIBFn = HGLOBAL (*)(LPCSTR fileName, int unused, HWND progress, HGLOBAL block,
                                      DWORD color, int* transparent);
using ConvertPCXMemtoDIBFn = HGLOBAL (*)(const void* image, DWORD size, HGLOBAL block, int* transparent);
using ConvertDIBtoPCXFn = BOOL (*)(LPCSTR fileName, HGLOBAL dib);
using ConvertDIBtoPCXExFn = BOOL (*)(LPCSTR fileName, HGLOBAL dib, void* options);
using ConvertIsPCXFileFn = BOOL (*)(LPCSTR fileName);
using ConvertPCXGetVersionFn = WORD (*)();

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
