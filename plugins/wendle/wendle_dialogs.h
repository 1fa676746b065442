// The options dialog of ConvertDIBtoGIF, run from the template named
// "DLG_GIF" in the resources of the module "Wendle". The plug-in carries no
// such template, so unless a host registers one the dialog does not open
// and ConvertDIBtoGIF writes nothing; ConvertDIBtoGIFEx takes the options
// record directly.
#pragma once

#include "wendle/gif_writer.h"
#include "win/types.h"

namespace wendle {

inline constexpr const char* kOptionsTemplate = "DLG_GIF";
inline constexpr int kIdVersion = 101;
inline constexpr int kIdFormat87 = 102;
inline constexpr int kIdFormat89 = 103;
inline constexpr int kIdGlobalTable = 104;
inline constexpr int kIdInterlace = 105;
inline constexpr int kIdReduction = 106;

// Runs the dialog on `options`; true on OK. `trueColor`: the DIB has 24
// bits, so the reduction choice is offered.
bool RunOptionsDialog(GifWriteOptions& options, bool trueColor);

INT_PTR DlgGIF(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace wendle
