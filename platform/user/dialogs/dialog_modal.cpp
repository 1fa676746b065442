// Modal dialogs: the owner disabled, a loop with the dialog keyboard until
// EndDialog, WM_QUIT passed on.
#include "dialog_state.h"
#include "resource_modules.h"

namespace win::user {
namespace {

HWND TopLevel(HWND wnd) {
  while (wnd && (GetWindowLong(wnd, GWL_STYLE) & WS_CHILD)) wnd = GetParent(wnd);
  return wnd;
}

}  // namespace

INT_PTR RunModalDialog(HINSTANCE inst, const DialogTemplate& t, HWND owner, DLGPROC proc, LPARAM init) {
  owner = TopLevel(owner);
  HWND dlg = CreateDialogFromTemplate(inst, t, owner, proc, init, true);
  if (!dlg) return -1;
  auto s = DialogStateOf(dlg);
  if (!s) return -1;
  if (owner && IsWindowEnabled(owner) && !s->ended) {
    EnableWindow(owner, FALSE);
    s->disabledOwner = owner;
  }
  if (!s->ended && IsWindow(dlg)) {
    ShowWindow(dlg, SW_SHOWNORMAL);
    if (IsWindow(dlg) && !IsChild(dlg, GetFocus())) {
      HWND first = GetNextDlgTabItem(dlg, nullptr, FALSE);
      if (first) DialogSetFocus(dlg, first);
    }
  }
  MSG msg{};
  while (!s->ended && IsWindow(dlg)) {
    const BOOL got = GetMessage(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    if (!IsDialogMessage(dlg, &msg)) {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
  }
  const INT_PTR result = s->ended ? s->result : 0;
  if (s->disabledOwner && IsWindow(s->disabledOwner)) EnableWindow(s->disabledOwner, TRUE);
  const HWND reactivate = s->disabledOwner ? s->disabledOwner : owner;
  s->disabledOwner = nullptr;
  if (IsWindow(dlg)) DestroyWindow(dlg);
  if (reactivate && IsWindow(reactivate) && IsWindowVisible(reactivate)) SetActiveWindow(reactivate);
  return result;
}

}  // namespace win::user

using namespace win::user;

INT_PTR DialogBoxIndirectParam(HINSTANCE inst, LPCDLGTEMPLATE tmpl, HWND owner, DLGPROC proc,
                               LPARAM init) {
  DialogTemplate t;
  if (!ReadTemplateAt(tmpl, &t)) return -1;
  return RunModalDialog(inst, t, owner, proc, init);
}

INT_PTR DialogBoxParam(HINSTANCE inst, LPCSTR name, HWND owner, DLGPROC proc, LPARAM init) {
  const FoundResource r = FindResourceData(inst, name, RT_DIALOG);
  if (!r.data) return -1;
  DialogTemplate t;
  std::string error;
  if (!ParseDialogTemplate(r.data, r.size, &t, &error)) return -1;
  return RunModalDialog(inst, t, owner, proc, init);
}

BOOL EndDialog(HWND dlg, INT_PTR result) {
  auto s = DialogStateOf(dlg);
  if (!s) return FALSE;
  s->ended = true;
  s->result = result;
  // The owner comes back first, so the activation goes to it when the
  // dialog disappears.
  if (s->disabledOwner && IsWindow(s->disabledOwner)) EnableWindow(s->disabledOwner, TRUE);
  s->disabledOwner = nullptr;
  if (IsWindowVisible(dlg)) ShowWindow(dlg, SW_HIDE);
  return TRUE;
}
