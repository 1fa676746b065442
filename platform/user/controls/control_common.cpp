#include "control_common.h"

#include <cstdlib>
#include <vector>

namespace win::user {

HBRUSH DefaultControlColor(UINT msg, HDC dc) {
  const bool windowColoured = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
  const int back = windowColoured ? COLOR_WINDOW : COLOR_3DFACE;
  if (dc) {
    SetTextColor(dc, GetSysColor(msg == WM_CTLCOLORBTN ? COLOR_BTNTEXT : COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(back));
  }
  if (msg == WM_CTLCOLORSCROLLBAR) return GetSysColorBrush(COLOR_SCROLLBAR);
  return GetSysColorBrush(back);
}

HBRUSH ControlColor(HWND ctl, HDC dc, UINT msg) {
  HWND parent = GetParent(ctl);
  if (parent) {
    const LRESULT r = SendMessage(parent, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(ctl));
    if (r) return reinterpret_cast<HBRUSH>(r);
  }
  return DefaultControlColor(msg, dc);
}

void NotifyParent(HWND ctl, WORD code) {
  HWND parent = GetParent(ctl);
  if (!parent) return;
  const WORD id = static_cast<WORD>(GetDlgCtrlID(ctl));
  SendMessage(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(ctl));
}

HFONT ControlFont(HWND ctl) {
  HFONT f = reinterpret_cast<HFONT>(SendMessage(ctl, WM_GETFONT, 0, 0));
  return f ? f : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

std::string WindowTextOf(HWND wnd) {
  const int n = GetWindowTextLength(wnd);
  if (n <= 0) return std::string();
  std::vector<char> buf(static_cast<size_t>(n) + 1);
  const int got = GetWindowText(wnd, buf.data(), n + 1);
  return std::string(buf.data(), static_cast<size_t>(got > 0 ? got : 0));
}

void DrawControlText(HDC dc, const std::string& text, RECT rect, UINT format, bool disabled) {
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  if (disabled) {
    // Embossed: a highlight copy one pixel down and right, the shadow above.
    const COLORREF old = SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
    RECT shifted = rect;
    OffsetRect(&shifted, 1, 1);
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &shifted, format);
    SetTextColor(dc, GetSysColor(COLOR_3DSHADOW));
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    SetTextColor(dc, old);
  } else {
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
  }
  SetBkMode(dc, oldMode);
}

void DrawFocus(HDC dc, RECT r) { DrawFocusRect(dc, &r); }

void FillSolid(HDC dc, const RECT& r, COLORREF color) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  HBRUSH b = CreateSolidBrush(color);
  FillRect(dc, &r, b);
  DeleteObject(b);
}

char MnemonicOf(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;  // "&&" is a plain ampersand
      continue;
    }
    char c = text[i + 1];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return c;
  }
  return 0;
}

int MulDivRound(int a, int b, int c) {
  if (c == 0) return -1;
  const long long num = static_cast<long long>(a) * b;
  const long long half = std::llabs(static_cast<long long>(c)) / 2;
  const bool negative = (num < 0) != (c < 0);
  const long long q = (std::llabs(num) + half) / std::llabs(static_cast<long long>(c));
  return static_cast<int>(negative ? -q : q);
}

int LineHeightOf(HWND ctl, HFONT font) {
  HDC dc = GetDC(ctl);
  HWND from = ctl;
  if (!dc) {
    dc = GetDC(nullptr);
    from = nullptr;
  }
  if (!dc) return 0;
  HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
  TEXTMETRIC tm{};
  const int height = GetTextMetrics(dc, &tm) && tm.tmHeight > 0 ? tm.tmHeight : 0;
  SelectObject(dc, old);
  ReleaseDC(from, dc);
  return height;
}

}  // namespace win::user
