// The dialogs every converter plug-in with writers shares: its resources
// (an RC script compiled into the plug-in, registered under the plug-in's
// name when first needed), the modeless progress dialog of template 200
// with its procedure DlgConversion, and the version text "1.0".
#pragma once

#include <cstddef>

#include "win/user.h"

namespace plugins {

inline constexpr int kProgressTemplate = 200;
inline constexpr int kOptionsTemplate = 100;
inline constexpr int kIdVersionText = 101;
inline constexpr int kIdPercent = 201;
inline constexpr const char* kVersionText = "1.0";

// The plug-in's resource module: registered from its script unless it is
// there already with `probe` among its dialog templates (tests may drop
// every module). Null when the script does not compile.
inline HINSTANCE PluginResources(const char* moduleName, const void* script, std::size_t size,
                                 int probe = kProgressTemplate) {
  HINSTANCE module = win::FindResourceModule(moduleName);
  if (module && FindResource(module, MAKEINTRESOURCE(probe), RT_DIALOG)) return module;
  return win::RegisterResourceScript(moduleName, script, size);
}

// DlgConversion: shows the version and 0 percent when it opens.
inline INT_PTR ConversionDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return 0;
  SetDlgItemText(dialog, kIdVersionText, kVersionText);
  SetDlgItemInt(dialog, kIdPercent, 0, FALSE);
  return 1;
}

// The progress dialog of one write, open while the object lives; its owner
// is the window that has the focus. Without the template the write goes on
// without it.
class ProgressDialog {
 public:
  ProgressDialog(HINSTANCE module, DLGPROC procedure)
      : window_(module ? CreateDialogParam(module, MAKEINTRESOURCE(kProgressTemplate), GetFocus(), procedure, 0)
                       : nullptr) {}
  ~ProgressDialog() {
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
  }
  ProgressDialog(const ProgressDialog&) = delete;
  ProgressDialog& operator=(const ProgressDialog&) = delete;

  // Shows the percentage in item 201 (only when it changed).
  void Set(int percent) {
    if (!window_ || percent == shown_) return;
    shown_ = percent;
    SetDlgItemInt(window_, kIdPercent, static_cast<UINT>(percent), FALSE);
  }
  HWND window() const { return window_; }

 private:
  HWND window_;
  int shown_ = 0;
};

}  // namespace plugins
