#include "murvik_dialogs.h"

#include "common/plugin_dialogs.h"
#include "win/user.h"

extern "C" const unsigned char zemra_res_murvik[];
extern "C" const unsigned long zemra_res_murvik_size;

namespace murvik {

HINSTANCE MurvikResources() {
  return plugins::PluginResources("Murvik", zemra_res_murvik, zemra_res_murvik_size);
}

INT_PTR DlgConversion(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return plugins::ConversionDialogProc(dialog, message, wParam, lParam);
}

INT_PTR DlgPCX(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* options = reinterpret_cast<PcxWriteOptions*>(GetWindowLong(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLong(dialog, DWLP_USER, lParam);
      options = reinterpret_cast<PcxWriteOptions*>(lParam);
      // Run-length coding is where the dialog starts, whatever came in.
      CheckRadioButton(dialog, kIdRunLength, kIdUncoded, kIdRunLength);
      if (options) options->runLength = 1;
      SetDlgItemText(dialog, kIdVersion, plugins::kVersionText);
      SetDlgItemInt(dialog, kIdBitsPerPixel, options ? options->bitsPerPixel : 0, FALSE);
      SetFocus(GetDlgItem(dialog, IDOK));
      return FALSE;  // the focus is set
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kIdRunLength:
          if (options) options->runLength = 1;
          return TRUE;
        case kIdUncoded:
          if (options) options->runLength = 0;
          return TRUE;
        case IDOK:
          EndDialog(dialog, 1);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

bool RunOptionsDialog(PcxWriteOptions& options) {
  HINSTANCE module = MurvikResources();
  if (!module) return false;
  return DialogBoxParam(module, MAKEINTRESOURCE(plugins::kOptionsTemplate), GetFocus(), DlgPCX,
                        reinterpret_cast<LPARAM>(&options)) == 1;
}

}  // namespace murvik
