// Ospray's two dialogs, from its own resources (ospray.rc): the options
// dialog of ConvertDIBtoEPS (template 100, procedure DlgEPS) and the
// modeless progress dialog of the writer (template 200, procedure
// DlgConversion, percentage in item 201).
#pragma once

#include "eps_writer.h"
#include "win/types.h"

namespace ospray {

// Items of the options dialog.
inline constexpr int kIdVersion = 101;
inline constexpr int kIdPreviewOn = 102;
inline constexpr int kIdPreviewOff = 103;
inline constexpr int kIdFirstKind = 104;  // kinds 1 to 4: 104 to 107
inline constexpr int kIdLevel1 = 108;
inline constexpr int kIdLevel2 = 109;
inline constexpr int kIdGrey = 110;
inline constexpr int kIdColour = 111;
inline constexpr int kIdHex = 112;
inline constexpr int kIdLzw = 113;
inline constexpr int kIdFrame = 114;

// The plug-in's resource module ("Ospray"), registered when first needed.
HINSTANCE OsprayResources();

// Runs the options dialog on `options` (owner: the window with the focus);
// true on OK, which stores the choice.
bool RunOptionsDialog(EpsWriteOptions& options);

// The options dialog; its init parameter points at the options record,
// which it changes only on OK.
INT_PTR DlgEPS(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR DlgConversion(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace ospray
