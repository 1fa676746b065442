// What the print and print-setup dialogs show and what they accept, apart
// from their windows: the state a PRINTDLG opens them with, the check of a
// choice, and the DEVMODE and DEVNAMES blocks they hand back.
#pragma once

#include <optional>
#include <string>

#include "win/print.h"

namespace win::print {

// The state a dialog opens with: the request's flags and pages over the
// printer setup.
PrintDialogState InitialDialogState(const PRINTDLG& pd, const PrinterSetup& setup);

// Why the choice cannot be taken (the text of the dialog's message box), or
// nothing when it can.
std::optional<std::string> CheckDialogChoice(const PrintDialogState& state);

// The caption of the dialog's window and message boxes.
const char* DialogCaption(const PrintDialogState& state);

// The setup a DEVMODE / DEVNAMES block of this printer describes, laid over
// `setup`; blocks of another printer, too small or malformed are ignored.
void ReadDevMode(HGLOBAL devMode, PrinterSetup* setup);
void ReadDevNames(HGLOBAL devNames, PrinterSetup* setup);

// Writes the setup into the block (reusing it when it is large enough) or a
// new moveable block; the handle, or null when memory fails.
HGLOBAL WriteDevMode(HGLOBAL devMode, const PrinterSetup& setup);
HGLOBAL WriteDevNames(HGLOBAL devNames, const PrinterSetup& setup);

}  // namespace win::print
