// DefDlgProc: the dialog procedure first, then the default dialog work
// (background, colours, the focus across activation, the default button,
// WM_CLOSE as Cancel, WM_NEXTDLGCTL).
#include "dialog_state.h"
#include "user/controls/control_common.h"
#include "win/gdi.h"

namespace win::user {
namespace {

bool ReturnsDirectly(UINT msg) {
  switch (msg) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_INITDIALOG: return true;
    default: return false;
  }
}

bool Inside(HWND dlg, HWND wnd) { return wnd && IsChild(dlg, wnd); }

// The focus goes back where it was, or to the first tab stop.
void RestoreFocus(HWND dlg) {
  auto s = DialogStateOf(dlg);
  HWND target = s && IsWindow(s->savedFocus) && Inside(dlg, s->savedFocus) &&
                        IsWindowEnabled(s->savedFocus) && IsWindowVisible(s->savedFocus)
                    ? s->savedFocus
                    : GetNextDlgTabItem(dlg, nullptr, FALSE);
  if (target) DialogSetFocus(dlg, target);
}

LRESULT DefaultDialogWork(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wp);
      HBRUSH brush = reinterpret_cast<HBRUSH>(
          SendMessage(dlg, WM_CTLCOLORDLG, wp, reinterpret_cast<LPARAM>(dlg)));
      if (!brush) brush = DefaultControlColor(WM_CTLCOLORDLG, dc);
      RECT rc;
      GetClientRect(dlg, &rc);
      FillRect(dc, &rc, brush);
      return 1;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(DefaultControlColor(msg, reinterpret_cast<HDC>(wp)));
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        if (auto s = DialogStateOf(dlg); s && Inside(dlg, GetFocus())) s->savedFocus = GetFocus();
      } else if (!Inside(dlg, GetFocus())) {
        RestoreFocus(dlg);
        // A dialog without a control to take the focus keeps it itself.
        if (!Inside(dlg, GetFocus()) && GetFocus() != dlg) SetFocus(dlg);
      }
      return 0;
    case WM_SETFOCUS:
      RestoreFocus(dlg);
      return 0;
    case WM_CLOSE: {
      // As if Cancel were pressed, unless the Cancel button is disabled.
      HWND cancel = GetDlgItem(dlg, IDCANCEL);
      if (!cancel || IsWindowEnabled(cancel))
        PostMessage(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      return 0;
    }
    case DM_GETDEFID: {
      auto s = DialogStateOf(dlg);
      return s ? MAKELRESULT(s->defId, DC_HASDEFID) : 0;
    }
    case DM_SETDEFID: {
      auto s = DialogStateOf(dlg);
      if (!s) return FALSE;
      s->defId = static_cast<WORD>(wp);
      UpdateDefaultButton(dlg, GetFocus());
      return TRUE;
    }
    case WM_NEXTDLGCTL: {
      HWND target = LOWORD(lp) ? reinterpret_cast<HWND>(wp)
                               : GetNextDlgTabItem(dlg, Inside(dlg, GetFocus()) ? GetFocus() : nullptr,
                                                   wp ? TRUE : FALSE);
      if (target && Inside(dlg, target)) DialogSetFocus(dlg, target);
      return 0;
    }
    case WM_NCDESTROY: {
      if (auto s = DialogStateOf(dlg); s && s->ownsFont && s->font) {
        DeleteObject(s->font);
        s->font = nullptr;
      }
      return DefWindowProc(dlg, msg, wp, lp);
    }
    default: return DefWindowProc(dlg, msg, wp, lp);
  }
}

}  // namespace

void DialogSetFocus(HWND dlg, HWND ctl) {
  if (!ctl || !IsWindow(ctl)) return;
  const LRESULT code = SendMessage(ctl, WM_GETDLGCODE, 0, 0);
  SetFocus(ctl);
  if (GetFocus() != ctl) return;
  if (code & DLGC_HASSETSEL) SendMessage(ctl, EM_SETSEL, 0, -1);
  UpdateDefaultButton(dlg, ctl);
}

void UpdateDefaultButton(HWND dlg, HWND focus) {
  auto s = DialogStateOf(dlg);
  if (!s) return;
  HWND focusButton = nullptr;
  if (focus && IsChild(dlg, focus)) {
    const LRESULT code = SendMessage(focus, WM_GETDLGCODE, 0, 0);
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) focusButton = focus;
  }
  HWND wantDefault = focusButton ? focusButton : GetDlgItem(dlg, s->defId);
  for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    const LRESULT code = SendMessage(c, WM_GETDLGCODE, 0, 0);
    if (!(code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) continue;
    const bool isDefault = (code & DLGC_DEFPUSHBUTTON) != 0;
    if (c == wantDefault && !isDefault)
      SendMessage(c, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    else if (c != wantDefault && isDefault)
      SendMessage(c, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  }
}

}  // namespace win::user

using namespace win::user;

LRESULT DefDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  auto proc = reinterpret_cast<DLGPROC>(GetWindowLong(dlg, DWL_DLGPROC));
  if (proc) {
    SetWindowLong(dlg, DWL_MSGRESULT, 0);
    const INT_PTR handled = proc(dlg, msg, wp, lp);
    if (!IsWindow(dlg)) return handled;
    if (handled) return ReturnsDirectly(msg) ? handled : GetWindowLong(dlg, DWL_MSGRESULT);
  }
  return DefaultDialogWork(dlg, msg, wp, lp);
}
