// Tevrin, the TIFF converter plug-in: its exports and their ordinals. The
// client binds them by ordinal through GetProcAddress; their C++ names live
// in this namespace so that they never meet another library's WEP or
// DlgConversion.
#pragma once

#include "win/types.h"

namespace tevrin {

inline constexpr WORD kVersion = 0x0100;

enum Ordinal : WORD {
  kOrdWep = 1,
  kOrdTifToDib = 2,
  kOrdDibToTif = 4,
  kOrdDibToTifEx = 6,
  kOrdIsTifFile = 8,
  kOrdGetVersion = 10,
  kOrdDlgTif = 14,
  kOrdDlgConversion = 16,
  kOrdTifMemToDib = 20,
};

// The export types, for callers that bind them.
using ConvertTIFtoDIBFn = HGLOBAL (*)(LPCSTR fileName, int unused, HWND progress, HGLOBAL block,
                                      DWORD color, int* transparent);
using ConvertTIFMemtoDIBFn = HGLOBAL (*)(const void* image, DWORD size, HGLOBAL block, int* transparent);
using ConvertDIBtoTIFFn = BOOL (*)(LPCSTR fileName, HGLOBAL dib);
using ConvertDIBtoTIFExFn = BOOL (*)(LPCSTR fileName, HGLOBAL dib, void* options);
using ConvertIsTIFFileFn = BOOL (*)(LPCSTR fileName);
using ConvertTIFGetVersionFn = WORD (*)();

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
