// The dialog procedure of the progress dialog (template 200).
#include "pixolt.h"
#include "win/kernel.h"
#include "win/user.h"

INT_PTR DlgConversion(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return 0;
  char version[16];
  win_snprintf(version, sizeof version, "%d.%d", 1, 2);
  SetDlgItemText(dialog, PIXOLT_IDC_VERSION, version);
  SetDlgItemInt(dialog, PIXOLT_IDC_PERCENT, 0, FALSE);
  return 1;
}
