#include "tevrin/tevrin_dialogs.h"

#include "common/plugin_dialogs.h"
#include "win/user.h"

extern "C" const unsigned char zemra_res_tevrin[];
extern "C" const unsigned long zemra_res_tevrin_size;

namespace tevrin {

HINSTANCE TevrinResources() {
  return plugins::PluginResources("Tevrin", zemra_res_tevrin, zemra_res_tevrin_size);
}

INT_PTR DlgConversion(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return plugins::ConversionDialogProc(dialog, message, wParam, lParam);
}

namespace {

int RadioFor(DWORD compression) {
  switch (compression) {
    case kCompressionNone: return kIdNone;
    case kCompressionCcitt: return kIdCcitt;
    case kCompressionLzw: return kIdLzw;
    default: return kIdPackBits;
  }
}

void Init(HWND dialog, const TiffWriteOptions& o) {
  SetDlgItemText(dialog, kIdVersion, plugins::kVersionText);
  SetDlgItemInt(dialog, kIdBitsPerPixel, o.bitsPerPixel, FALSE);
  SetDlgItemInt(dialog, kIdStripSize, o.stripSizeKb, FALSE);
  CheckRadioButton(dialog, kIdNone, kIdLzw, RadioFor(o.compression));
  SetDlgItemText(dialog, kIdKind, o.bitsPerPixel == 1 ? "B" : o.bitsPerPixel == 24 ? "R" : "P");
  // CCITT is a coding of black-and-white pictures only.
  if (o.bitsPerPixel == 4 || o.bitsPerPixel == 8 || o.bitsPerPixel == 24)
    EnableWindow(GetDlgItem(dialog, kIdCcitt), FALSE);
}

void Store(HWND dialog, TiffWriteOptions& o) {
  if (IsDlgButtonChecked(dialog, kIdNone)) o.compression = kCompressionNone;
  else if (IsDlgButtonChecked(dialog, kIdCcitt)) o.compression = kCompressionCcitt;
  else if (IsDlgButtonChecked(dialog, kIdLzw)) o.compression = kCompressionLzw;
  else if (IsDlgButtonChecked(dialog, kIdPackBits)) o.compression = kCompressionPackBits;
  BOOL number = FALSE;
  UINT size = GetDlgItemInt(dialog, kIdStripSize, &number, FALSE);
  if (number) o.stripSizeKb = size;  // not a number: the old size stays
}

}  // namespace

INT_PTR DlgTIF(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* options = reinterpret_cast<TiffWriteOptions*>(GetWindowLong(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLong(dialog, DWLP_USER, lParam);
      if (lParam) Init(dialog, *reinterpret_cast<const TiffWriteOptions*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        if (options) Store(dialog, *options);
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

bool RunOptionsDialog(TiffWriteOptions& options) {
  HINSTANCE module = TevrinResources();
  if (!module) return false;
  return DialogBoxParam(module, MAKEINTRESOURCE(plugins::kOptionsTemplate), GetFocus(), DlgTIF,
                        reinterpret_cast<LPARAM>(&options)) == 1;
}

}  // namespace tevrin
