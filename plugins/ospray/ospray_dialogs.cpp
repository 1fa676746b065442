#include "ospray_dialogs.h"

#include "common/plugin_dialogs.h"
#include "win/user.h"

extern "C" const unsigned char zemra_res_ospray[];
extern "C" const unsigned long zemra_res_ospray_size;

namespace ospray {

HINSTANCE OsprayResources() {
  return plugins::PluginResources("Ospray", zemra_res_ospray, zemra_res_ospray_size);
}

INT_PTR DlgConversion(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return plugins::ConversionDialogProc(dialog, message, wParam, lParam);
}

namespace {

// The dialog works on a copy; one dialog runs at a time.
EpsWriteOptions g_copy;

// Shows the copy: the buttons of each choice, the preview kinds enabled
// only with a preview, and kinds 3 and 4 (colour previews) not for grey
// output.
void Show(HWND dialog) {
  const EpsWriteOptions& o = g_copy;
  CheckRadioButton(dialog, kIdPreviewOn, kIdPreviewOff, o.preview == 1 ? kIdPreviewOn : kIdPreviewOff);
  CheckRadioButton(dialog, kIdFirstKind, kIdFirstKind + 3, kIdFirstKind + o.previewKind - 1);
  for (int kind = 1; kind <= 4; ++kind) {
    bool enabled = o.preview == 1 && !(o.grey == 1 && kind >= 3);
    EnableWindow(GetDlgItem(dialog, kIdFirstKind + kind - 1), enabled);
  }
  CheckRadioButton(dialog, kIdLevel1, kIdLevel2, o.level == 2 ? kIdLevel2 : kIdLevel1);
  CheckRadioButton(dialog, kIdGrey, kIdColour, o.grey == 1 ? kIdGrey : kIdColour);
  CheckRadioButton(dialog, kIdHex, kIdLzw, o.encoding == 2 ? kIdLzw : kIdHex);
  CheckDlgButton(dialog, kIdFrame, o.frame == 1 ? BST_CHECKED : BST_UNCHECKED);
}

// A click on item `id`; false for items that are no choice.
bool Choose(HWND dialog, int id) {
  EpsWriteOptions& o = g_copy;
  switch (id) {
    case kIdPreviewOn: o.preview = 1; break;
    case kIdPreviewOff: o.preview = 0; break;
    case kIdLevel1: o.level = 1; o.encoding = 1; break;  // level 1 writes hex
    case kIdLevel2: o.level = 2; break;
    case kIdGrey: o.grey = 1; break;
    case kIdColour: o.grey = 0; break;
    case kIdHex: o.encoding = 1; break;
    case kIdLzw: o.encoding = 2; o.level = 2; break;  // LZW needs level 2
    // The frame box stores its state: a box that showed the flag but kept
    // it whatever the user clicked would ignore the user.
    case kIdFrame: o.frame = IsDlgButtonChecked(dialog, kIdFrame) == BST_CHECKED ? 1 : 0; break;
    default:
      if (id < kIdFirstKind || id > kIdFirstKind + 3) return false;
      o.previewKind = id - kIdFirstKind + 1;
      break;
  }
  if (o.preview == 1 && o.grey == 1 && o.previewKind >= 3) o.previewKind = 1;
  Show(dialog);
  return true;
}

}  // namespace

INT_PTR DlgEPS(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* options = reinterpret_cast<EpsWriteOptions*>(GetWindowLong(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLong(dialog, DWLP_USER, lParam);
      g_copy = lParam ? *reinterpret_cast<const EpsWriteOptions*>(lParam) : EpsWriteOptions{};
      g_copy.previewKind = 1;
      if (g_copy.level == 1) g_copy.encoding = 1;
      if (g_copy.encoding == 2) g_copy.level = 2;
      SetDlgItemText(dialog, kIdVersion, plugins::kVersionText);
      Show(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        if (options) *options = g_copy;
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return Choose(dialog, LOWORD(wParam)) ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

bool RunOptionsDialog(EpsWriteOptions& options) {
  HINSTANCE module = OsprayResources();
  if (!module) return false;
  return DialogBoxParam(module, MAKEINTRESOURCE(plugins::kOptionsTemplate), GetFocus(), DlgEPS,
                        reinterpret_cast<LPARAM>(&options)) == 1;
}

}  // namespace ospray
