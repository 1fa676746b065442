// What the dialog manager keeps per dialog window, and the helpers its
// parts share.
#pragma once

#include <memory>

#include "dialog_template.h"
#include "win/user.h"

namespace win::user {

struct DialogState {
  HFONT font = nullptr;  // the template's font (null: the system font)
  bool ownsFont = false;
  SIZE base{4, 8};       // dialog base units of that font
  WORD defId = IDOK;
  HWND savedFocus = nullptr;  // the focus while the dialog is inactive
  bool modal = false;
  bool ended = false;
  INT_PTR result = 0;
  HWND disabledOwner = nullptr;  // the owner a modal dialog disabled
};

// Null for a window that no dialog template made.
std::shared_ptr<DialogState> DialogStateOf(HWND dlg);

// The dialog a control belongs to: the nearest ancestor that is a dialog
// (through child dialogs with WS_EX_CONTROLPARENT to the outermost one).
HWND DialogOfControl(HWND ctl);

// Registers "#32770" where it is not registered.
void RegisterDialogClass();

// Makes the dialog window and its controls and sends WM_INITDIALOG.
HWND CreateDialogFromTemplate(HINSTANCE inst, const DialogTemplate& t, HWND parent, DLGPROC proc,
                              LPARAM init, bool modal);
// Runs a modal dialog from a parsed template (DialogBox's work).
INT_PTR RunModalDialog(HINSTANCE inst, const DialogTemplate& t, HWND owner, DLGPROC proc, LPARAM init);
// Reads a template given by pointer: its size is known when it lies in a
// registered resource; otherwise it is read as far as its own structure
// says, at most 64 KiB.
bool ReadTemplateAt(LPCDLGTEMPLATE tmpl, DialogTemplate* out);

// The base units of a font (null: the system font): the average width of
// the 52 letters and the height, as Windows measures them.
SIZE DialogBaseUnitsOf(HFONT font);

// Moves the focus to a control of the dialog the way the dialog manager
// does: an edit's text is selected, and the default push button follows.
void DialogSetFocus(HWND dlg, HWND ctl);
// The push button with the focus looks like the default one; otherwise the
// button of the default id does.
void UpdateDefaultButton(HWND dlg, HWND focus);

}  // namespace win::user
