// The print and print-setup dialogs as windows: modal dialogs from the
// templates of platform/print/print_dialogs.rc (module COMDLG32).
#pragma once

#include "win/print.h"

namespace win::print {

// Template names in the COMDLG32 module.
inline constexpr WORD kPrintDialogTemplate = 1538;
inline constexpr WORD kSetupDialogTemplate = 1539;

// Shows the dialog `state.setup` asks for, starting from `state`; OK (after
// the dialog's checks) writes the choice into `state` and gives true.
// Cancel gives false with `error` untouched; a dialog that cannot be shown
// gives false with `error` CDERR_DIALOGFAILURE.
bool RunPrintDialogWindow(PrintDialogState& state, HWND owner, DWORD* error);

// The COMDLG32 module with the dialogs' templates (registered on first use);
// null when the script does not compile.
HINSTANCE PrintDialogModule();

}  // namespace win::print
