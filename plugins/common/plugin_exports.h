// The exports every converter plug-in offers, at the same ordinals in each
// (the GIF plug-in has no dialogs), and their types for callers that bind
// them by ordinal. Each plug-in names them after its format
// (ConvertPCXtoDIB, ConvertDIBtoTIFEx, ...).
#pragma once

#include "win/types.h"

namespace plugins {

inline constexpr WORD kPluginVersion = 0x0100;

enum ExportOrdinal : WORD {
  kOrdWep = 1,
  kOrdToDib = 2,         // Convert<FMT>toDIB
  kOrdFromDib = 4,       // ConvertDIBto<FMT>, options asked in a dialog
  kOrdFromDibEx = 6,     // ConvertDIBto<FMT>Ex, options given
  kOrdIsFile = 8,        // ConvertIs<FMT>File
  kOrdGetVersion = 10,   // Convert<FMT>GetVersion
  kOrdDlgOptions = 14,   // Dlg<FMT>
  kOrdDlgConversion = 16,
  kOrdMemToDib = 20,     // Convert<FMT>MemtoDIB
};

using ReadFileFn = HGLOBAL (*)(LPCSTR fileName, int unused, HWND progress, HGLOBAL block, DWORD color,
                               int* transparent);
using ReadMemoryFn = HGLOBAL (*)(const void* image, DWORD size, HGLOBAL block, int* transparent);
using WriteFn = BOOL (*)(LPCSTR fileName, HGLOBAL dib);
using WriteExFn = BOOL (*)(LPCSTR fileName, HGLOBAL dib, void* options);
using IsFileFn = BOOL (*)(LPCSTR fileName);
using GetVersionFn = WORD (*)();

}  // namespace plugins
