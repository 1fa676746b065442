// Ospray's two dialogs: the options dialog of ConvertDIBtoEPS (template
// 100, procedure DlgEPS) and the modeless progress dialog of the writer
// (template 200, procedure DlgConversion, percentage in item 201).
#pragma once

#include "eps_writer.h"
#include "win/types.h"

namespace ospray {

// The progress dialog for one write: open while the object lives.
class ProgressDialog {
 public:
  ProgressDialog();
  ~ProgressDialog();
  ProgressDialog(const ProgressDialog&) = delete;
  ProgressDialog& operator=(const ProgressDialog&) = delete;
  void Set(int percent);

 private:
  int shown_ = -1;
};

// Runs the options dialog on `options`; true on OK.
bool RunOptionsDialog(EpsWriteOptions& options);

}  // namespace ospray
