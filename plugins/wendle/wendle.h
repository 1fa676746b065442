// Wendle, the GIF converter plug-in: its exports and their ordinals (the
// same as every converter plug-in's, without the dialog ordinals 14 and 16).
// The C++ names live in this namespace so that they never meet another
// library's WEP.
#pragma once

#include "win/types.h"

namespace wendle {

inline constexpr WORD kVersion = 0x0100;

enum Ordinal : WORD {
  kOrdWep = 1,
  kOrdGifToDib = 2,
  kOrdDibToGif = 4,
  kOrdDibToGifEx = 6,
  kOrdIsGifFile = 8,
  kOrdGetVersion = 10,
  kOrdGifMemToDib = 20,
};

using ConvertGIFtoDIBFn = HGLOBAL (*)(LPCSTR fileName, int unused, HWND progress, HGLOBAL block,
                                      DWORD color, int* transparent);
using ConvertGIFMemtoDIBFn = HGLOBAL (*)(const void* image, DWORD size, HGLOBAL block, int* transparent);
using ConvertDIBtoGIFFn = BOOL (*)(LPCSTR fileName, HGLOBAL dib);
using ConvertDIBtoGIFExFn = BOOL (*)(LPCSTR fileName, HGLOBAL dib, void* options);
using ConvertIsGIFFileFn = BOOL (*)(LPCSTR fileName);
using ConvertGIFGetVersionFn = WORD (*)();

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
