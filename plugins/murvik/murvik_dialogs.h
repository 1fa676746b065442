// Murvik's two dialogs: the options dialog of ConvertDIBtoPCX (template
// 100, procedure DlgPCX) and the modeless progress dialog of the writer
// (template 200, procedure DlgConversion, percentage in item 201).
#pragma once

#include "pcx_writer.h"
#include "win/types.h"

namespace murvik {

inline constexpr int kIdVersion = 101;
inline constexpr int kIdBitsPerPixel = 102;
inline constexpr int kIdRunLength = 103;
inline constexpr int kIdUncompressed = 104;
inline constexpr int kIdPercent = 201;

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
bool RunOptionsDialog(PcxWriteOptions& options);

INT_PTR DlgPCX(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR DlgConversion(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace murvik
