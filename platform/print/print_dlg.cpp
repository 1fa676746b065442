// PrintDlg: the request checked, the dialog shown (or its hook asked), the
// choice taken into the printer setup and handed back in the PRINTDLG.
#include "gdi/printer.h"
#include "print/pdf_printer.h"
#include "print/print_dialog_model.h"
#include "print/print_dialog_window.h"
#include "win/kernel.h"
#include "win/print.h"
#include "win/user.h"

namespace win::print {
namespace {

DWORD g_lastError = 0;

PrintDialogHook& Hook() {
  static PrintDialogHook hook;
  return hook;
}

// A hook that keeps choosing what the dialog refuses is taken as Cancel
// after this many tries.
constexpr int kHookTries = 8;

// Asks the hook as the user: a refused choice shows the dialog's box and
// the hook is asked again.
bool AskHook(PrintDialogState& state, HWND owner) {
  for (int i = 0; i < kHookTries; ++i) {
    if (!Hook()(state)) return false;
    const std::optional<std::string> refusal = CheckDialogChoice(state);
    if (!refusal) return true;
    MessageBox(owner, refusal->c_str(), DialogCaption(state), MB_OK | MB_ICONEXCLAMATION);
  }
  return false;
}

BOOL Fail(DWORD code) {
  g_lastError = code;
  return FALSE;
}

// The chosen setup into the PRINTDLG: the handles, and the DC when asked.
BOOL HandBack(PRINTDLG* pd, const PrinterSetup& setup) {
  HGLOBAL devMode = WriteDevMode(pd->hDevMode, setup);
  if (!devMode) return Fail(CDERR_MEMALLOCFAILURE);
  pd->hDevMode = devMode;
  HGLOBAL devNames = WriteDevNames(pd->hDevNames, setup);
  if (!devNames) return Fail(CDERR_MEMALLOCFAILURE);
  pd->hDevNames = devNames;
  pd->hDC = nullptr;
  if (pd->Flags & (PD_RETURNDC | PD_RETURNIC)) {
    void* dm = GlobalLock(pd->hDevMode);
    const char* output = setup.output.c_str();
    pd->hDC = (pd->Flags & PD_RETURNDC) ? CreateDC(kPrinterDriver, kPrinterName, output, dm)
                                        : CreateIC(kPrinterDriver, kPrinterName, output, dm);
    GlobalUnlock(pd->hDevMode);
    if (!pd->hDC) return Fail(PDERR_CREATEICFAILURE);
  }
  return TRUE;
}

}  // namespace

void SetPrintDialogHook(PrintDialogHook hook) { Hook() = std::move(hook); }

}  // namespace win::print

using namespace win::print;

DWORD CommDlgExtendedError() { return g_lastError; }

BOOL PrintDlg(LPPRINTDLG pd) {
  g_lastError = 0;
  // The printer the dialogs set up is the one later DCs get, not GDI's
  // placeholder that drops every page.
  EnsurePrinterInstalled();
  if (!pd) return Fail(CDERR_INITIALIZATION);
  if (pd->lStructSize != sizeof(PRINTDLG)) return Fail(CDERR_STRUCTSIZE);

  if (pd->Flags & PD_RETURNDEFAULT) {
    // The current printer, without a dialog; the caller's blocks would be
    // lost, so they must not be there.
    if (pd->hDevMode || pd->hDevNames) return Fail(PDERR_RETDEFFAILURE);
    return HandBack(pd, CurrentPrinterSetup());
  }

  PrinterSetup setup = CurrentPrinterSetup();
  ReadDevMode(pd->hDevMode, &setup);
  ReadDevNames(pd->hDevNames, &setup);
  PrintDialogState state = InitialDialogState(*pd, setup);
  const bool ok = Hook() ? AskHook(state, pd->hwndOwner)
                         : RunPrintDialogWindow(state, pd->hwndOwner, &g_lastError);
  if (!ok) return FALSE;

  if (state.setup) {
    setup.paper = state.paper;
    setup.landscape = state.landscape;
  } else {
    setup.output = state.output;
    pd->Flags &= ~static_cast<DWORD>(PD_SELECTION | PD_PAGENUMS);
    pd->Flags |= state.range;
    if (state.range == PD_PAGENUMS) {
      pd->nFromPage = state.fromPage;
      pd->nToPage = state.toPage;
    }
    pd->nCopies = 1;
  }
  // What was chosen holds for the rest of the session: the DC made now and
  // later ones describe this page and print to this file.
  ChoosePaper(setup.paper, setup.landscape);
  ChooseOutput(setup.output);
  return HandBack(pd, setup);
}
