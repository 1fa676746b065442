// Tevrin's two dialogs, from its own resources (tevrin.rc): the options
// dialog of ConvertDIBtoTIF (template 100, procedure DlgTIF) and the
// modeless progress dialog of the writer (template 200, procedure
// DlgConversion, percentage in item 201).
#pragma once

#include "tevrin/tiff_writer.h"
#include "win/types.h"

namespace tevrin {

// Items of the options dialog.
inline constexpr int kIdVersion = 101;
inline constexpr int kIdBitsPerPixel = 102;
inline constexpr int kIdNone = 103;
inline constexpr int kIdCcitt = 104;
inline constexpr int kIdPackBits = 105;
inline constexpr int kIdLzw = 106;
inline constexpr int kIdStripSize = 107;
inline constexpr int kIdKind = 108;

// The plug-in's resource module ("Tevrin"), registered when first needed.
HINSTANCE TevrinResources();

// Runs the options dialog on `options` (owner: the window with the focus);
// true on OK.
bool RunOptionsDialog(TiffWriteOptions& options);

// The options dialog; its init parameter points at the options record.
INT_PTR DlgTIF(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR DlgConversion(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tevrin
