// The dialogs' procedures: controls filled from the state, read back on OK
// and checked before the dialog ends.
#include "print/print_dialog_window.h"

#include <string>
#include <vector>

#include "print/print_dialog_model.h"
#include "win/user.h"

extern "C" const unsigned char zemra_res_print_dialogs[];
extern "C" const unsigned long zemra_res_print_dialogs_size;

namespace win::print {
namespace {

struct DialogContext {
  PrintDialogState* state;
};

DialogContext* Context(HWND dlg) {
  return reinterpret_cast<DialogContext*>(GetWindowLong(dlg, DWLP_USER));
}

std::string ItemText(HWND dlg, int id) {
  HWND item = GetDlgItem(dlg, id);
  const int length = item ? GetWindowTextLength(item) : 0;
  if (length <= 0) return {};
  std::vector<char> buf(static_cast<std::size_t>(length) + 1);
  GetDlgItemText(dlg, id, buf.data(), static_cast<int>(buf.size()));
  return buf.data();
}

// A page number of a from/to box; 0 (never a valid page) when it is none.
WORD PageNumber(HWND dlg, int id) {
  BOOL translated = FALSE;
  const UINT value = GetDlgItemInt(dlg, id, &translated, FALSE);
  if (!translated || value > 0xFFFF) return 0;
  return static_cast<WORD>(value);
}

void EnableItem(HWND dlg, int id, bool enable) {
  if (HWND item = GetDlgItem(dlg, id)) EnableWindow(item, enable ? TRUE : FALSE);
}

void InitPrint(HWND dlg, const PrintDialogState& s) {
  SetDlgItemText(dlg, IDC_PRINT_OUTPUT, s.output.c_str());
  SetDlgItemInt(dlg, IDC_PRINT_FROM, s.fromPage, FALSE);
  SetDlgItemInt(dlg, IDC_PRINT_TO, s.toPage, FALSE);
  const int checked = s.range == PD_SELECTION ? IDC_PRINT_SELECTION
                      : s.range == PD_PAGENUMS ? IDC_PRINT_PAGES
                                               : IDC_PRINT_ALL;
  CheckRadioButton(dlg, IDC_PRINT_ALL, IDC_PRINT_PAGES, checked);
  EnableItem(dlg, IDC_PRINT_SELECTION, s.selectionEnabled);
  for (int id : {IDC_PRINT_PAGES, IDC_PRINT_FROM, IDC_PRINT_TO, IDC_PRINT_FROM_LABEL,
                 IDC_PRINT_TO_LABEL}) {
    EnableItem(dlg, id, s.pagesEnabled);
  }
}

void InitSetup(HWND dlg, const PrintDialogState& s) {
  const int paper = s.paper == Paper::A4       ? IDC_SETUP_A4
                    : s.paper == Paper::Letter ? IDC_SETUP_LETTER
                                               : IDC_SETUP_LEGAL;
  CheckRadioButton(dlg, IDC_SETUP_A4, IDC_SETUP_LEGAL, paper);
  CheckRadioButton(dlg, IDC_SETUP_PORTRAIT, IDC_SETUP_LANDSCAPE,
                   s.landscape ? IDC_SETUP_LANDSCAPE : IDC_SETUP_PORTRAIT);
}

// The controls' values over a copy of the state.
PrintDialogState ReadChoice(HWND dlg, const PrintDialogState& shown) {
  PrintDialogState s = shown;
  if (s.setup) {
    s.paper = IsDlgButtonChecked(dlg, IDC_SETUP_LETTER) == BST_CHECKED  ? Paper::Letter
              : IsDlgButtonChecked(dlg, IDC_SETUP_LEGAL) == BST_CHECKED ? Paper::Legal
                                                                        : Paper::A4;
    s.landscape = IsDlgButtonChecked(dlg, IDC_SETUP_LANDSCAPE) == BST_CHECKED;
    return s;
  }
  s.output = ItemText(dlg, IDC_PRINT_OUTPUT);
  if (IsDlgButtonChecked(dlg, IDC_PRINT_SELECTION) == BST_CHECKED) {
    s.range = PD_SELECTION;
  } else if (IsDlgButtonChecked(dlg, IDC_PRINT_PAGES) == BST_CHECKED) {
    s.range = PD_PAGENUMS;
    s.fromPage = PageNumber(dlg, IDC_PRINT_FROM);
    s.toPage = PageNumber(dlg, IDC_PRINT_TO);
  } else {
    s.range = PD_ALLPAGES;
  }
  return s;
}

INT_PTR DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: {
      SetWindowLong(dlg, DWLP_USER, lp);
      const DialogContext* ctx = reinterpret_cast<const DialogContext*>(lp);
      if (ctx->state->setup) {
        InitSetup(dlg, *ctx->state);
      } else {
        InitPrint(dlg, *ctx->state);
      }
      return TRUE;
    }
    case WM_COMMAND: {
      DialogContext* ctx = Context(dlg);
      if (!ctx) return FALSE;
      const int id = LOWORD(wp);
      const int code = HIWORD(wp);
      if (id == IDOK) {
        const PrintDialogState choice = ReadChoice(dlg, *ctx->state);
        if (const auto refusal = CheckDialogChoice(choice)) {
          MessageBox(dlg, refusal->c_str(), DialogCaption(choice), MB_OK | MB_ICONEXCLAMATION);
          return TRUE;
        }
        *ctx->state = choice;
        EndDialog(dlg, IDOK);
        return TRUE;
      }
      if (id == IDCANCEL) {
        EndDialog(dlg, IDCANCEL);
        return TRUE;
      }
      // Typing a page number means printing pages.
      if ((id == IDC_PRINT_FROM || id == IDC_PRINT_TO) && code == EN_CHANGE &&
          !ctx->state->setup && GetFocus() == GetDlgItem(dlg, id)) {
        CheckRadioButton(dlg, IDC_PRINT_ALL, IDC_PRINT_PAGES, IDC_PRINT_PAGES);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

HINSTANCE PrintDialogModule() {
  // Registered again when a test dropped the modules.
  HINSTANCE module = FindResourceModule("COMDLG32");
  if (module && FindResource(module, MAKEINTRESOURCE(kPrintDialogTemplate), RT_DIALOG)) {
    return module;
  }
  return RegisterResourceScript("COMDLG32", zemra_res_print_dialogs,
                                static_cast<size_t>(zemra_res_print_dialogs_size));
}

bool RunPrintDialogWindow(PrintDialogState& state, HWND owner, DWORD* error) {
  HINSTANCE module = PrintDialogModule();
  DialogContext ctx{&state};
  const WORD name = state.setup ? kSetupDialogTemplate : kPrintDialogTemplate;
  const INT_PTR result = module ? DialogBoxParam(module, MAKEINTRESOURCE(name), owner, DialogProc,
                                                 reinterpret_cast<LPARAM>(&ctx))
                                : -1;
  if (result == IDOK) return true;
  // Cancel, or the loop ended by WM_QUIT: no failure.
  if (result != IDCANCEL && result != 0 && error) *error = CDERR_DIALOGFAILURE;
  return false;
}

}  // namespace win::print
