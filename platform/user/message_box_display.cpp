// The message box as a dialog: a template without controls, filled and
// sized to its text when it is created.
#include <algorithm>
#include <string>
#include <vector>

#include "dialogs/dialog_state.h"
#include "dialogs/message_box_display.h"
#include "win/gdi.h"

namespace win::user {
namespace {

constexpr int kMargin = 12;
constexpr int kIconGap = 12;
constexpr int kButtonW = 75, kButtonH = 23, kButtonGap = 6;
constexpr int kMaxTextW = 420;
constexpr int kTextId = 0xFFFF;
constexpr int kIconId = 20;

struct Box {
  std::string text;
  UINT type = 0;
  int buttons[3] = {IDOK, IDOK, IDOK};
  int count = 1;
  int defaultAnswer = IDOK;
  int cancelAnswer = 0;  // 0: Escape and the close box do nothing
};

const char* LabelOf(int id) {
  switch (id) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "&Abort";
    case IDRETRY: return "&Retry";
    case IDIGNORE: return "&Ignore";
    case IDYES: return "&Yes";
    case IDNO: return "&No";
    default: return "";
  }
}

LPCSTR IconOf(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return nullptr;
  }
}

HWND Make(HWND dlg, const char* cls, const char* text, DWORD style, int id, const RECT& r) {
  HWND c = CreateWindowEx(WS_EX_NOPARENTNOTIFY, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                          r.right - r.left, r.bottom - r.top, dlg,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  if (c) SendMessage(c, WM_SETFONT, SendMessage(dlg, WM_GETFONT, 0, 0), FALSE);
  return c;
}

void Fill(HWND dlg, Box& box) {
  HFONT font = reinterpret_cast<HFONT>(SendMessage(dlg, WM_GETFONT, 0, 0));
  RECT measure{0, 0, kMaxTextW, 0};
  if (HDC dc = GetDC(dlg)) {
    HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    DrawText(dc, box.text.c_str(), static_cast<int>(box.text.size()), &measure,
             DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(dlg, dc);
  }
  const LPCSTR icon = IconOf(box.type);
  const int iconW = icon ? 32 + kIconGap : 0;
  const int textW = std::max<int>(measure.right - measure.left, 1);
  const int textH = std::max<int>(measure.bottom - measure.top, 13);
  const int bodyH = std::max(textH, icon ? 32 : 0);
  const int buttonsW = box.count * kButtonW + (box.count - 1) * kButtonGap;
  const int clientW = std::max(iconW + textW, buttonsW) + 2 * kMargin;
  const int clientH = kMargin + bodyH + kMargin + kButtonH + kMargin;

  if (icon) {
    HWND s = Make(dlg, "STATIC", nullptr, SS_ICON, kIconId, RECT{kMargin, kMargin, kMargin + 32, kMargin + 32});
    if (s) SendMessage(s, STM_SETICON, reinterpret_cast<WPARAM>(LoadIcon(nullptr, icon)), 0);
  }
  const int textTop = kMargin + (bodyH - textH) / 2;
  Make(dlg, "STATIC", box.text.c_str(), SS_LEFT | SS_NOPREFIX, kTextId,
       RECT{kMargin + iconW, textTop, kMargin + iconW + textW, textTop + textH});
  const int left = (clientW - buttonsW) / 2;
  const int top = clientH - kMargin - kButtonH;
  HWND focus = nullptr;
  for (int i = 0; i < box.count; ++i) {
    const bool isDefault = box.buttons[i] == box.defaultAnswer;
    const int x = left + i * (kButtonW + kButtonGap);
    HWND b = Make(dlg, "BUTTON", LabelOf(box.buttons[i]),
                  (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP | (i == 0 ? WS_GROUP : 0),
                  box.buttons[i], RECT{x, top, x + kButtonW, top + kButtonH});
    if (isDefault) focus = b;
  }
  SendMessage(dlg, DM_SETDEFID, static_cast<WPARAM>(box.defaultAnswer), 0);
  // No Cancel: the close box does nothing.
  if (!box.cancelAnswer) SetWindowLong(dlg, GWL_STYLE, GetWindowLong(dlg, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_SYSMENU));

  RECT frame{0, 0, clientW, clientH};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLong(dlg, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLong(dlg, GWL_EXSTYLE)));
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  RECT over{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  HWND owner = GetWindow(dlg, GW_OWNER);
  if (owner && IsWindowVisible(owner)) GetWindowRect(owner, &over);
  const int x = std::clamp<int>((over.left + over.right - w) / 2, 0, std::max(0, GetSystemMetrics(SM_CXSCREEN) - w));
  const int y = std::clamp<int>((over.top + over.bottom - h) / 2, 0, std::max(0, GetSystemMetrics(SM_CYSCREEN) - h));
  SetWindowPos(dlg, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  if (focus) SetFocus(focus);
}

INT_PTR CALLBACK BoxProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  Box* box = reinterpret_cast<Box*>(GetWindowLong(dlg, DWL_USER));
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLong(dlg, DWL_USER, lp);
      Fill(dlg, *reinterpret_cast<Box*>(lp));
      return FALSE;  // the focus is on the default button already
    case WM_COMMAND: {
      if (!box || HIWORD(wp) != BN_CLICKED) return FALSE;
      const int id = LOWORD(wp);
      if (id == IDCANCEL && !GetDlgItem(dlg, IDCANCEL)) {
        // Escape or the close box: the box's own way out, if it has one.
        if (box->cancelAnswer) EndDialog(dlg, box->cancelAnswer);
        return TRUE;
      }
      for (int i = 0; i < box->count; ++i)
        if (box->buttons[i] == id) EndDialog(dlg, id);
      return TRUE;
    }
    default: return FALSE;
  }
}

DialogTemplate BoxTemplate(const char* caption, UINT type) {
  DialogTemplate t;
  t.style = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  t.exStyle = (type & (MB_TOPMOST | MB_SYSTEMMODAL)) ? WS_EX_TOPMOST : 0;
  t.cx = 100;
  t.cy = 40;
  t.title = caption ? caption : "Error";
  t.pointSize = 8;
  t.face = "MS Sans Serif";
  return t;
}

}  // namespace

int RunMessageBoxDisplay(HWND owner, const char* text, const char* caption, UINT type) {
  Box box;
  box.text = text ? text : "";
  box.type = type;
  box.count = MessageBoxButtons(type, box.buttons);
  box.defaultAnswer = MessageBoxDefaultAnswer(type);
  for (int i = 0; i < box.count; ++i)
    if (box.buttons[i] == IDCANCEL) box.cancelAnswer = IDCANCEL;
  if (box.count == 1 && box.buttons[0] == IDOK) box.cancelAnswer = IDOK;
  MessageBeep(type & MB_ICONMASK);
  const INT_PTR r = RunModalDialog(nullptr, BoxTemplate(caption, type), owner, BoxProc,
                                   reinterpret_cast<LPARAM>(&box));
  return r > 0 ? static_cast<int>(r) : box.defaultAnswer;
}

}  // namespace win::user
