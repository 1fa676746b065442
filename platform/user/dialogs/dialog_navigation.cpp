// The dialog keyboard: tab stops, groups, the default and Cancel buttons,
// and mnemonics.
#include <vector>

#include "dialog_state.h"
#include "user/controls/control_common.h"

namespace win::user {
namespace {

// The dialog's controls in order, child dialogs with WS_EX_CONTROLPARENT
// opened up in place.
void Collect(HWND parent, std::vector<HWND>& out, int depth) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (depth < 8 && (GetWindowLong(c, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) && IsWindowVisible(c))
      Collect(c, out, depth + 1);
    else
      out.push_back(c);
  }
}

std::vector<HWND> Controls(HWND dlg) {
  std::vector<HWND> out;
  Collect(dlg, out, 0);
  return out;
}

bool Usable(HWND c) { return IsWindowVisible(c) && IsWindowEnabled(c); }
DWORD StyleOf(HWND c) { return static_cast<DWORD>(GetWindowLong(c, GWL_STYLE)); }

int IndexOf(const std::vector<HWND>& list, HWND c) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i] == c) return static_cast<int>(i);
  return -1;
}

// The control the focus window stands for: the focus itself or the
// dialog's direct control holding it (an edit inside a combo box).
HWND FocusControl(HWND dlg, const std::vector<HWND>& list) {
  for (HWND f = GetFocus(); f && f != dlg; f = GetParent(f))
    if (IndexOf(list, f) >= 0) return f;
  return nullptr;
}

bool SameClass(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    const char x = (*a >= 'a' && *a <= 'z') ? static_cast<char>(*a - 32) : *a;
    const char y = (*b >= 'a' && *b <= 'z') ? static_cast<char>(*b - 32) : *b;
    if (x != y) return false;
  }
  return *a == *b;
}

bool IsStatic(HWND c) { return (SendMessage(c, WM_GETDLGCODE, 0, 0) & DLGC_STATIC) != 0; }

void Beep() { MessageBeep(0); }

// Presses the button `id` on behalf of the keyboard (Enter, Escape).
void PressFor(HWND dlg, int id) {
  HWND ctl = GetDlgItem(dlg, id);
  if (ctl && !IsWindowEnabled(ctl)) {
    Beep();
    return;
  }
  SendMessage(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(ctl));
}

int DefaultId(HWND dlg) {
  const LRESULT r = SendMessage(dlg, DM_GETDEFID, 0, 0);
  return HIWORD(r) == DC_HASDEFID ? LOWORD(r) : IDOK;
}

// Alt+letter (or the letter alone): the control whose text has that
// mnemonic, after the focus and round again.
bool Mnemonic(HWND dlg, char ch) {
  if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  if (!ch) return false;
  const std::vector<HWND> list = Controls(dlg);
  if (list.empty()) return false;
  const int start = IndexOf(list, FocusControl(dlg, list));
  const int n = static_cast<int>(list.size());
  for (int k = 1; k <= n; ++k) {
    HWND c = list[static_cast<size_t>((start + k + n) % n)];
    if (!IsWindowVisible(c)) continue;
    const LRESULT code = SendMessage(c, WM_GETDLGCODE, 0, 0);
    const bool labels = (code & DLGC_STATIC) != 0;
    const bool button = (code & (DLGC_BUTTON | DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON |
                                 DLGC_RADIOBUTTON)) != 0;
    if (!labels && !button) continue;
    // A static without prefixes shows '&' as it is.
    char cls[16] = {};
    GetClassName(c, cls, sizeof cls);
    if (labels && SameClass(cls, "STATIC") && (StyleOf(c) & SS_NOPREFIX)) continue;
    if (MnemonicOf(WindowTextOf(c)) != ch) continue;
    if (labels) {
      // A label hands the focus to the control after it.
      const int at = IndexOf(list, c);
      for (int j = 1; j < n; ++j) {
        HWND next = list[static_cast<size_t>((at + j) % n)];
        if (Usable(next) && !IsStatic(next)) {
          DialogSetFocus(dlg, next);
          return true;
        }
      }
      return true;
    }
    if (!IsWindowEnabled(c)) continue;
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
      SendMessage(c, BM_CLICK, 0, 0);
    } else {
      DialogSetFocus(dlg, c);
      if (IsWindow(c)) SendMessage(c, BM_CLICK, 0, 0);
    }
    return true;
  }
  return false;
}

void Pass(LPMSG msg) {
  TranslateMessage(msg);
  DispatchMessage(msg);
}

}  // namespace
}  // namespace win::user

using namespace win::user;

HWND GetNextDlgTabItem(HWND dlg, HWND ctl, BOOL previous) {
  if (!IsWindow(dlg)) return nullptr;
  const std::vector<HWND> list = Controls(dlg);
  const int n = static_cast<int>(list.size());
  if (!n) return nullptr;
  int at = ctl ? IndexOf(list, ctl) : -1;
  if (at < 0) at = previous ? 0 : n - 1;  // so the first step lands on an end
  for (int k = 1; k <= n; ++k) {
    HWND c = list[static_cast<size_t>(((at + (previous ? -k : k)) % n + n) % n)];
    if (c != ctl && Usable(c) && (StyleOf(c) & WS_TABSTOP)) return c;
  }
  return ctl && IndexOf(list, ctl) >= 0 ? ctl : nullptr;
}

HWND GetNextDlgGroupItem(HWND dlg, HWND ctl, BOOL previous) {
  if (!IsWindow(dlg)) return nullptr;
  const std::vector<HWND> list = Controls(dlg);
  const int n = static_cast<int>(list.size());
  if (!n) return nullptr;
  int at = ctl ? IndexOf(list, ctl) : -1;
  if (at < 0) {
    for (int k = 0; k < n; ++k) {
      HWND c = list[static_cast<size_t>(previous ? n - 1 - k : k)];
      if (Usable(c)) return c;
    }
    return nullptr;
  }
  // The group: from the control with WS_GROUP at or before `ctl` to the one
  // before the next WS_GROUP.
  int first = at;
  while (first > 0 && !(StyleOf(list[static_cast<size_t>(first)]) & WS_GROUP)) --first;
  int end = at + 1;
  while (end < n && !(StyleOf(list[static_cast<size_t>(end)]) & WS_GROUP)) ++end;
  const int size = end - first;
  for (int k = 1; k < size; ++k) {
    const int i = first + (((at - first) + (previous ? -k : k)) % size + size) % size;
    HWND c = list[static_cast<size_t>(i)];
    if (Usable(c)) return c;
  }
  return ctl;
}

BOOL IsDialogMessage(HWND dlg, LPMSG msg) {
  if (!msg || !dlg || !IsWindow(dlg)) return FALSE;
  if (msg->hwnd != dlg && !IsChild(dlg, msg->hwnd)) return FALSE;
  switch (msg->message) {
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_SYSCHAR:
      break;
    default:
      Pass(msg);
      return TRUE;
  }
  const LRESULT code =
      SendMessage(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
  if (code & DLGC_WANTMESSAGE) {
    Pass(msg);
    return TRUE;
  }
  const std::vector<HWND> list = Controls(dlg);
  HWND focus = FocusControl(dlg, list);
  if (msg->message == WM_KEYDOWN) {
    switch (msg->wParam) {
      case VK_TAB:
        if (code & DLGC_WANTTAB) break;
        if (HWND next = GetNextDlgTabItem(dlg, focus, GetKeyState(VK_SHIFT) < 0 ? TRUE : FALSE))
          DialogSetFocus(dlg, next);
        return TRUE;
      case VK_LEFT:
      case VK_UP:
      case VK_RIGHT:
      case VK_DOWN: {
        if (code & DLGC_WANTARROWS) break;
        const BOOL back = msg->wParam == VK_LEFT || msg->wParam == VK_UP;
        HWND next = GetNextDlgGroupItem(dlg, focus, back);
        if (next && next != focus) {
          DialogSetFocus(dlg, next);
          if (IsWindow(next) && (SendMessage(next, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON))
            SendMessage(next, BM_CLICK, 0, 0);
        }
        return TRUE;
      }
      case VK_RETURN: {
        const LRESULT focusCode = focus ? SendMessage(focus, WM_GETDLGCODE, 0, 0) : 0;
        if (focus && (focusCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
          PressFor(dlg, GetDlgCtrlID(focus));
        else
          PressFor(dlg, DefaultId(dlg));
        return TRUE;
      }
      case VK_ESCAPE:
        PressFor(dlg, IDCANCEL);
        return TRUE;
      default: break;
    }
    Pass(msg);
    return TRUE;
  }
  // Characters: a mnemonic where the control takes no characters itself
  // (always with Alt).
  const bool system = msg->message == WM_SYSCHAR;
  if (system || !(code & DLGC_WANTCHARS)) {
    const char ch = static_cast<char>(msg->wParam & 0xFF);
    if (ch > ' ' && Mnemonic(dlg, ch)) return TRUE;
  }
  Pass(msg);
  return TRUE;
}
