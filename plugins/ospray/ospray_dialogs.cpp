// Until the dialog manager runs templates from a plug-in's resources, the
// writer runs without its dialogs: no progress window, and the options
// dialog answers OK with the options it was given.
#include "ospray_dialogs.h"

namespace ospray {

ProgressDialog::ProgressDialog() = default;
ProgressDialog::~ProgressDialog() = default;
void ProgressDialog::Set(int percent) { shown_ = percent; }

bool RunOptionsDialog(EpsWriteOptions&) { return true; }

}  // namespace ospray
