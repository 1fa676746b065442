// Ospray, the EPS converter plug-in: its exports and their ordinals. The
// client binds them by ordinal through GetProcAddress; their C++ names live
// in this namespace so that they never clash with Pixolt's WEP and
// DlgConversion, which the plug-in links.
#pragma once

#include "win/types.h"

namespace ospray {

inline constexpr WORD kVersion = 0x0100;

enum Ordinal : WORD {
  kOrdWep = 1,
  kOrdEpsToDib = 2,
  kOrdDibToEps = 4,
  kOrdDibToEpsEx = 6,
  kOrdIsEpsFile = 8,
  kOrdGetVersion = 10,
  kOrdDlgEps = 14,
  kOrdDlgConversion = 16,
  kOrdEpsMemToDib = 20,
};

using ConvertEPStoDIBFn = HGLOBAL (*)(LPCSTR fileName, int unused, HWND progress, HGLOBAL block,
                                      DWORD color, int* transparent);
using ConvertEPSMemtoDIBFn = HGLOBAL (*)(const void* image, DWORD size, HGLOBAL block, int* transparent);
using ConvertDIBtoEPSFn = BOOL (*)(LPCSTR fileName, HGLOBAL dib);
using ConvertDIBtoEPSExFn = BOOL (*)(LPCSTR fileName, HGLOBAL dib, void* options);
using ConvertIsEPSFileFn = BOOL (*)(LPCSTR fileName);
using ConvertEPSGetVersionFn = WORD (*)();

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
