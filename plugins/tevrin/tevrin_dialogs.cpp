// Until the dialog manager runs templates from a plug-in's resources, the
// writer runs without its dialogs: no progress window, and the options
// dialog answers OK with the defaults it was given.
#include "tevrin/tevrin_dialogs.h"

namespace tevrin {

ProgressDialog::ProgressDialog() = default;
ProgressDialog::~ProgressDialog() = default;
void ProgressDialog::Set(int percent) { shown_ = percent; }

bool RunOptionsDialog(TiffWriteOptions&) { return true; }

INT_PTR DlgTIF(HWND, UINT, WPARAM, LPARAM) { return 0; }
INT_PTR DlgConversion(HWND, UINT, WPARAM, LPARAM) { return 0; }

}  // namespace tevrin
