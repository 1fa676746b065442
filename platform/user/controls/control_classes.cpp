// The standard window classes, registered on the first use of the class
// list and again on request (after a test dropped every class).
#include "button.h"
#include "combobox.h"
#include "edit.h"
#include "listbox.h"
#include "scrollbar_control.h"
#include "static_control.h"
#include "user/dialogs/dialog_state.h"
#include "user/menus/menu_window.h"
#include "win/user.h"

namespace win::user {
namespace {

void Register(const char* name, WNDPROC proc, int extra, UINT style, LPCSTR cursor,
              HBRUSH background = nullptr) {
  WNDCLASS wc{};
  if (GetClassInfo(nullptr, name, &wc)) return;
  wc = WNDCLASS{};
  wc.style = style | CS_GLOBALCLASS;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = extra;
  wc.hCursor = LoadCursor(nullptr, cursor);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  RegisterClass(&wc);
}

}  // namespace
}  // namespace win::user

namespace win {

void RegisterControlClasses() {
  using namespace win::user;
  Register("BUTTON", ButtonProc, kButtonExtra, CS_DBLCLKS | CS_PARENTDC, IDC_ARROW);
  Register("STATIC", StaticProc, kStaticExtra, CS_DBLCLKS | CS_PARENTDC, IDC_ARROW);
  Register("EDIT", EditProc, kEditExtra, CS_DBLCLKS | CS_PARENTDC, IDC_IBEAM);
  Register("LISTBOX", ListBoxProc, kListBoxExtra, CS_DBLCLKS | CS_PARENTDC, IDC_ARROW);
  Register(kComboListClass, ListBoxProc, kListBoxExtra, CS_DBLCLKS | CS_SAVEBITS, IDC_ARROW);
  Register("COMBOBOX", ComboBoxProc, kComboBoxExtra, CS_DBLCLKS | CS_PARENTDC, IDC_ARROW);
  Register("SCROLLBAR", ScrollBarControlProc, kScrollBarExtra, CS_DBLCLKS | CS_PARENTDC, IDC_ARROW);
  RegisterDialogClass();
  RegisterMenuWindowClass();
}

}  // namespace win
