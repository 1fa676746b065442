// Until the dialog manager runs templates from a plug-in's resources, the
// writer runs without its dialogs: no progress window, and the options
// dialog answers OK with the options it was given.
#include "murvik_dialogs.h"

namespace murvik {

ProgressDialog::ProgressDialog() = default;
ProgressDialog::~ProgressDialog() = default;
void ProgressDialog::Set(int percent) { shown_ = percent; }

bool RunOptionsDialog(PcxWriteOptions&) { return true; }

}  // namespace murvik
