#include "wendle/wendle_dialogs.h"

#include "common/plugin_dialogs.h"
#include "win/user.h"

namespace wendle {
namespace {

struct DialogContext {
  GifWriteOptions* options;
  bool trueColor;
};

void Toggle(DWORD& flag) { flag = flag ? 0 : 1; }

}  // namespace

INT_PTR DlgGIF(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* context = reinterpret_cast<DialogContext*>(GetWindowLong(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLong(dialog, DWLP_USER, lParam);
      context = reinterpret_cast<DialogContext*>(lParam);
      if (!context) return TRUE;
      GifWriteOptions& o = *context->options;
      // The dialog starts from format 87, one global table, no interlace.
      o.format = 87;
      o.globalTable = 1;
      o.interlace = 0;
      SetDlgItemText(dialog, kIdVersion, plugins::kVersionText);
      CheckRadioButton(dialog, kIdFormat87, kIdFormat89, kIdFormat87);
      CheckDlgButton(dialog, kIdGlobalTable, BST_CHECKED);
      CheckDlgButton(dialog, kIdInterlace, BST_UNCHECKED);
      CheckDlgButton(dialog, kIdReduction, o.reduction ? BST_CHECKED : BST_UNCHECKED);
      EnableWindow(GetDlgItem(dialog, kIdReduction), context->trueColor);
      return TRUE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == IDOK || id == IDCANCEL) {
        EndDialog(dialog, id == IDOK ? 1 : 0);
        return TRUE;
      }
      if (!context) return FALSE;
      GifWriteOptions& o = *context->options;
      switch (id) {
        case kIdFormat87: o.format = 87; return TRUE;
        case kIdFormat89: o.format = 89; return TRUE;
        case kIdGlobalTable: Toggle(o.globalTable); return TRUE;
        case kIdInterlace: Toggle(o.interlace); return TRUE;
        case kIdReduction: Toggle(o.reduction); return TRUE;
        default: return FALSE;
      }
    }
    default:
      return FALSE;
  }
}

bool RunOptionsDialog(GifWriteOptions& options, bool trueColor) {
  HINSTANCE module = win::FindResourceModule("Wendle");
  if (!module || !FindResource(module, kOptionsTemplate, RT_DIALOG)) return false;
  DialogContext context{&options, trueColor};
  return DialogBoxParam(module, kOptionsTemplate, GetFocus(), DlgGIF, reinterpret_cast<LPARAM>(&context)) == 1;
}

}  // namespace wendle
