// The dialog-item calls: texts, numbers, check states, messages by id.
#include <cstdio>
#include <cstdint>
#include <string>

#include "dialog_state.h"

BOOL SetDlgItemText(HWND dlg, int id, LPCSTR text) {
  HWND ctl = GetDlgItem(dlg, id);
  return ctl ? SetWindowText(ctl, text) : FALSE;
}

UINT GetDlgItemText(HWND dlg, int id, LPSTR out, int size) {
  if (!out || size <= 0) return 0;
  out[0] = '\0';
  HWND ctl = GetDlgItem(dlg, id);
  if (!ctl) return 0;
  const int n = GetWindowText(ctl, out, size);
  return n > 0 ? static_cast<UINT>(n) : 0;
}

BOOL SetDlgItemInt(HWND dlg, int id, UINT value, BOOL isSigned) {
  char text[16];
  if (isSigned)
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  else
    std::snprintf(text, sizeof text, "%u", value);
  return SetDlgItemText(dlg, id, text);
}

UINT GetDlgItemInt(HWND dlg, int id, BOOL* translated, BOOL isSigned) {
  if (translated) *translated = FALSE;
  char text[64];
  HWND ctl = GetDlgItem(dlg, id);
  if (!ctl) return 0;
  // Longer texts cannot hold a 32-bit number with its blanks and sign.
  if (GetWindowTextLength(ctl) >= static_cast<int>(sizeof text)) return 0;
  GetWindowText(ctl, text, sizeof text);
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  bool negative = false;
  if (*p == '-' && isSigned) {
    negative = true;
    ++p;
  } else if (*p == '+') {
    ++p;
  }
  if (*p < '0' || *p > '9') return 0;
  std::uint64_t v = 0;
  while (*p >= '0' && *p <= '9') {
    v = v * 10 + static_cast<unsigned>(*p - '0');
    if (v > 0xFFFFFFFFull) return 0;
    ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  if (*p) return 0;
  if (isSigned) {
    if (negative ? v > 0x80000000ull : v > 0x7FFFFFFFull) return 0;
    if (translated) *translated = TRUE;
    const std::int64_t s = negative ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v);
    return static_cast<UINT>(static_cast<std::int32_t>(s));
  }
  if (translated) *translated = TRUE;
  return static_cast<UINT>(v);
}

BOOL CheckDlgButton(HWND dlg, int id, UINT check) {
  HWND ctl = GetDlgItem(dlg, id);
  if (!ctl) return FALSE;
  SendMessage(ctl, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dlg, int id) {
  HWND ctl = GetDlgItem(dlg, id);
  return ctl ? static_cast<UINT>(SendMessage(ctl, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dlg, int first, int last, int check) {
  if (!IsWindow(dlg) || first > last) return FALSE;
  // Every control of the range, by its id.
  for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(c);
    if (id < first || id > last) continue;
    SendMessage(c, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return TRUE;
}

LRESULT SendDlgItemMessage(HWND dlg, int id, UINT msg, WPARAM wp, LPARAM lp) {
  HWND ctl = GetDlgItem(dlg, id);
  return ctl ? SendMessage(ctl, msg, wp, lp) : 0;
}
