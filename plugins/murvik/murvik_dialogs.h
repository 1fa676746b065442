// Murvik's two dialogs, from its own resources (murvik.rc): the options
// dialog of ConvertDIBtoPCX (template 100, procedure DlgPCX) and the
// modeless progress dialog of the writer (template 200, procedure
// DlgConversion, percentage in item 201).
#pragma once

#include "pcx_writer.h"
#include "win/types.h"

namespace murvik {

// Items of the options dialog.
inline constexpr int kIdVersion = 101;
inline constexpr int kIdBitsPerPixel = 102;
inline constexpr int kIdRunLength = 103;
inline constexpr int kIdUncoded = 104;

// The plug-in's resource module ("Murvik"), registered when first needed.
HINSTANCE MurvikResources();

// Runs the options dialog on `options` (owner: the window with the focus);
// true on OK.
bool RunOptionsDialog(PcxWriteOptions& options);

// The options dialog; its init parameter points at the options record.
INT_PTR DlgPCX(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR DlgConversion(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace murvik
