// The message-box window: static text and push buttons drawn the Windows 95
// way, run modally.
#include "message_box_window.h"

#include <algorithm>
#include <string>

#include "scrollbar.h"
#include "win/gdi.h"
#include "window_store.h"

namespace win::user {
namespace {

constexpr char kBoxClass[] = "#32770 ZemraBox";
constexpr char kButtonClass[] = "ZemraBoxButton";
constexpr int kMargin = 12, kButtonW = 75, kButtonH = 23, kGap = 6, kMaxTextW = 420;

struct BoxState {
  int answer = 0;
  int defaultAnswer = IDOK;
  int cancelAnswer = 0;  // 0: the box cannot be closed without a button
  std::string text;
  HFONT font = nullptr;
};

BoxState* StateOf(HWND box) { return reinterpret_cast<BoxState*>(GetWindowLong(box, GWL_USERDATA)); }

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

HFONT BoxFont() {
  return CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif");
}

LRESULT ButtonProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(wnd, &ps);
      RECT rc;
      GetClientRect(wnd, &rc);
      const bool pressed = GetCapture() == wnd && GetWindowLong(wnd, 0) != 0;
      DrawButtonFace(dc, rc, pressed);
      if (GetFocus() == wnd) {
        RECT focus{rc.left + 4, rc.top + 4, rc.right - 4, rc.bottom - 4};
        DrawFocusRect(dc, &focus);
      }
      char label[32];
      GetWindowText(wnd, label, sizeof label);
      HWND box = GetParent(wnd);
      BoxState* s = box ? StateOf(box) : nullptr;
      HGDIOBJ old = s && s->font ? SelectObject(dc, s->font) : nullptr;
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      if (pressed) OffsetRect(&rc, 1, 1);
      DrawText(dc, label, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      if (old) SelectObject(dc, old);
      EndPaint(wnd, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
      SetFocus(wnd);
      SetCapture(wnd);
      SetWindowLong(wnd, 0, 1);
      InvalidateRect(wnd, nullptr, FALSE);
      return 0;
    case WM_MOUSEMOVE:
      if (GetCapture() == wnd) {
        RECT rc;
        GetClientRect(wnd, &rc);
        const POINT p{static_cast<SHORT>(LOWORD(lp)), static_cast<SHORT>(HIWORD(lp))};
        const LONG_PTR inside = PtInRect(&rc, p) ? 1 : 0;
        if (SetWindowLong(wnd, 0, inside) != inside) InvalidateRect(wnd, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == wnd) {
        const bool inside = GetWindowLong(wnd, 0) != 0;
        ReleaseCapture();
        InvalidateRect(wnd, nullptr, FALSE);
        if (inside) SendMessage(GetParent(wnd), WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID(wnd)),
                                reinterpret_cast<LPARAM>(wnd));
      }
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(wnd, nullptr, FALSE);
      return 0;
    case WM_KEYDOWN:
    case WM_CHAR:
      // Keys belong to the box.
      return SendMessage(GetParent(wnd), msg, wp, lp);
    default: return DefWindowProc(wnd, msg, wp, lp);
  }
}

LRESULT BoxProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  BoxState* s = StateOf(wnd);
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(wnd, &ps);
      if (s) {
        RECT rc;
        GetClientRect(wnd, &rc);
        rc = RECT{kMargin, kMargin, rc.right - kMargin, rc.bottom - kMargin - kButtonH - kGap};
        HGDIOBJ old = s->font ? SelectObject(dc, s->font) : nullptr;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        DrawText(dc, s->text.c_str(), -1, &rc, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
        if (old) SelectObject(dc, old);
      }
      EndPaint(wnd, &ps);
      return 0;
    }
    case WM_COMMAND:
      if (s && LOWORD(wp) >= IDOK && LOWORD(wp) <= IDNO) s->answer = LOWORD(wp);
      return 0;
    case WM_KEYDOWN:
      if (!s) return 0;
      if (wp == VK_RETURN || wp == VK_SPACE) {
        // The focused button, or the default one.
        const int focused = GetParent(GetFocus()) == wnd ? GetDlgCtrlID(GetFocus()) : 0;
        s->answer = focused ? focused : s->defaultAnswer;
      } else if (wp == VK_ESCAPE && s->cancelAnswer) {
        s->answer = s->cancelAnswer;
      } else if (wp == VK_TAB || wp == VK_LEFT || wp == VK_RIGHT) {
        HWND next = GetWindow(GetFocus(), (wp == VK_LEFT || (wp == VK_TAB && GetKeyState(VK_SHIFT) < 0))
                                               ? GW_HWNDPREV : GW_HWNDNEXT);
        if (!next) next = GetWindow(GetFocus(), wp == VK_LEFT ? GW_HWNDLAST : GW_HWNDFIRST);
        if (next) SetFocus(next);
      }
      return 0;
    case WM_CLOSE:
      if (s && s->cancelAnswer) s->answer = s->cancelAnswer;
      return 0;  // never destroyed from outside: the loop ends it
    default: return DefWindowProc(wnd, msg, wp, lp);
  }
}

void RegisterBoxClasses() {
  WNDCLASS wc{};
  if (!GetClassInfo(nullptr, kBoxClass, &wc)) {
    wc = WNDCLASS{};
    wc.lpfnWndProc = BoxProc;
    wc.lpszClassName = kBoxClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClass(&wc);
  }
  if (!GetClassInfo(nullptr, kButtonClass, &wc)) {
    wc = WNDCLASS{};
    wc.lpfnWndProc = ButtonProc;
    wc.lpszClassName = kButtonClass;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClass(&wc);
  }
}

}  // namespace

int MessageBoxButtons(UINT type, int out[3]) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: out[0] = IDOK; out[1] = IDCANCEL; return 2;
    case MB_ABORTRETRYIGNORE: out[0] = IDABORT; out[1] = IDRETRY; out[2] = IDIGNORE; return 3;
    case MB_YESNOCANCEL: out[0] = IDYES; out[1] = IDNO; out[2] = IDCANCEL; return 3;
    case MB_YESNO: out[0] = IDYES; out[1] = IDNO; return 2;
    case MB_RETRYCANCEL: out[0] = IDRETRY; out[1] = IDCANCEL; return 2;
    default: out[0] = IDOK; return 1;  // MB_OK and unknown types
  }
}

int RunMessageBoxWindow(HWND owner, const char* text, const char* caption, UINT type) {
  RegisterBoxClasses();
  BoxState state;
  state.text = text ? text : "";
  state.defaultAnswer = MessageBoxDefaultAnswer(type);
  int buttons[3] = {IDOK, IDOK, IDOK};
  const int count = MessageBoxButtons(type, buttons);
  for (int i = 0; i < count; ++i)
    if (buttons[i] == IDCANCEL) state.cancelAnswer = IDCANCEL;
  if (count == 1 && buttons[0] == IDOK) state.cancelAnswer = IDOK;
  state.font = BoxFont();

  // The text's extent decides the size, within bounds.
  RECT measure{0, 0, kMaxTextW, 0};
  if (HDC dc = GetDC(nullptr)) {
    HGDIOBJ old = state.font ? SelectObject(dc, state.font) : nullptr;
    DrawText(dc, state.text.c_str(), -1, &measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    if (old) SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
  }
  const int buttonsW = count * kButtonW + (count - 1) * kGap;
  const int clientW = std::max<int>(measure.right - measure.left, buttonsW) + 2 * kMargin;
  const int clientH = std::max<int>(measure.bottom - measure.top, 13) + 2 * kMargin + kGap + kButtonH;
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  RECT frame{0, 0, clientW, clientH};
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  RECT over{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner && IsWindowVisible(owner)) GetWindowRect(owner, &over);
  const int x = std::max<int>(0, (over.left + over.right - w) / 2);
  const int y = std::max<int>(0, (over.top + over.bottom - h) / 2);

  HWND box = CreateWindowEx(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, kBoxClass, caption, style, x, y, w, h,
                            owner, nullptr, nullptr, nullptr);
  if (!box) {
    DeleteObject(state.font);
    return state.defaultAnswer;
  }
  SetWindowLong(box, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&state));
  HWND focus = nullptr;
  const int left = (clientW - buttonsW) / 2;
  for (int i = 0; i < count; ++i) {
    HWND b = CreateWindow(kButtonClass, LabelOf(buttons[i]), WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                          left + i * (kButtonW + kGap), clientH - kMargin - kButtonH, kButtonW, kButtonH,
                          box, reinterpret_cast<HMENU>(static_cast<INT_PTR>(buttons[i])), nullptr, nullptr);
    if (buttons[i] == state.defaultAnswer) focus = b;
  }
  const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  if (ownerWasEnabled) EnableWindow(owner, FALSE);
  ShowWindow(box, SW_SHOW);
  if (focus) SetFocus(focus);
  MessageBeep(type & MB_ICONMASK);

  const bool answered = win::RunModalLoop([&] { return state.answer != 0 || !IsWindow(box); });
  const int answer = answered && state.answer ? state.answer : state.defaultAnswer;
  if (ownerWasEnabled && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (IsWindow(box)) {
    SetWindowLong(box, GWL_USERDATA, 0);
    DestroyWindow(box);
  }
  if (owner && IsWindow(owner)) SetActiveWindow(TopLevelOf(owner));
  DeleteObject(state.font);
  return answer;
}

}  // namespace win::user
