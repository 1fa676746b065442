// Dialog windows from templates: the window, its font and base units, its
// controls, WM_INITDIALOG; and the modeless entry points.
#include <algorithm>
#include <cstring>

#include "dialog_state.h"
#include "resource_modules.h"
#include "user/controls/control_common.h"
#include "user/controls/per_window.h"
#include "win/gdi.h"
#include "win/kernel.h"

namespace win::user {
namespace {

constexpr int kStateSerialOffset = 3 * static_cast<int>(sizeof(LONG_PTR));
constexpr size_t kUnknownTemplateLimit = 64 * 1024;

PerWindow<DialogState>& States() {
  static PerWindow<DialogState> states(kStateSerialOffset);
  return states;
}

LRESULT DialogClassProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT r = DefDlgProc(dlg, msg, wp, lp);
  if (msg == WM_NCDESTROY) States().Detach(dlg);
  return r;
}

HFONT TemplateFont(const DialogTemplate& t) {
  if (!(t.style & DS_SETFONT) || t.pointSize == 0) return nullptr;
  const int height = -MulDivRound(t.pointSize, 96, 72);
  const int weight = t.weight ? t.weight : FW_NORMAL;
  return CreateFont(height, 0, 0, 0, weight, t.italic, 0, 0, t.charset ? t.charset : DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    VARIABLE_PITCH | FF_SWISS, t.face.c_str());
}

RECT ScreenRect() { return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

// Where a dialog's window goes: child dialogs in the parent's client area;
// popups relative to the owner's client area (DS_ABSALIGN: the screen),
// centred with DS_CENTER, and kept on the screen.
RECT PlaceDialog(const DialogTemplate& t, HWND parent, SIZE base) {
  RECT client{0, 0, MulDivRound(t.cx, base.cx, 4), MulDivRound(t.cy, base.cy, 8)};
  RECT frame = client;
  AdjustWindowRectEx(&frame, t.style, t.menu.present && !(t.style & WS_CHILD) ? TRUE : FALSE,
                     t.exStyle | ((t.style & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0));
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  int x = MulDivRound(t.x, base.cx, 4), y = MulDivRound(t.y, base.cy, 8);
  if (t.style & WS_CHILD) return RECT{x, y, x + w, y + h};
  const RECT screen = ScreenRect();
  if (t.style & (DS_CENTER | DS_CENTERMOUSE)) {
    x = (screen.right - screen.left - w) / 2;
    y = (screen.bottom - screen.top - h) / 2;
  } else if (!(t.style & DS_ABSALIGN) && parent) {
    POINT origin{0, 0};
    ClientToScreen(parent, &origin);
    x += origin.x;
    y += origin.y;
  }
  x = std::max<int>(screen.left, std::min<int>(x, screen.right - w));
  y = std::max<int>(screen.top, std::min<int>(y, screen.bottom - h));
  return RECT{x, y, x + w, y + h};
}

bool MakeControls(HWND dlg, HINSTANCE inst, const DialogTemplate& t, const DialogState& s) {
  for (const DialogItem& item : t.items) {
    std::string clsName;
    if (item.cls.isOrdinal) {
      const char* std = StandardClassName(item.cls.ordinal);
      if (!std) {
        if (t.style & DS_NOFAILCREATE) continue;
        return false;
      }
      clsName = std;
    } else {
      clsName = item.cls.text;
    }
    // An ordinal text (an icon's resource number) goes as MAKEINTRESOURCE.
    LPCSTR text = item.text.isOrdinal ? MAKEINTRESOURCE(item.text.ordinal) : item.text.text.c_str();
    const int x = MulDivRound(item.x, s.base.cx, 4), y = MulDivRound(item.y, s.base.cy, 8);
    const int w = MulDivRound(item.cx, s.base.cx, 4), h = MulDivRound(item.cy, s.base.cy, 8);
    const DWORD style = (item.style | WS_CHILD) & ~static_cast<DWORD>(WS_POPUP);
    LPVOID data = item.creationData.empty() ? nullptr : const_cast<BYTE*>(item.creationData.data());
    HWND ctl = CreateWindowEx(item.exStyle | WS_EX_NOPARENTNOTIFY, clsName.c_str(), text, style, x, y,
                              w, h, dlg,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(static_cast<WORD>(item.id))),
                              inst, data);
    if (!IsWindow(dlg)) return false;
    if (!ctl) {
      if (t.style & DS_NOFAILCREATE) continue;
      return false;
    }
    if (s.font) SendMessage(ctl, WM_SETFONT, reinterpret_cast<WPARAM>(s.font), FALSE);
  }
  return true;
}

}  // namespace

std::uint64_t NextWindowStateSerial() {
  static std::uint64_t next = 1;
  return next++;
}

std::shared_ptr<DialogState> DialogStateOf(HWND dlg) { return States().Get(dlg); }

HWND DialogOfControl(HWND ctl) {
  HWND found = nullptr;
  for (HWND w = ctl; w; w = (GetWindowLong(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr) {
    if (DialogStateOf(w)) {
      found = w;
      // A child dialog that is a control of its parent dialog belongs to it.
      if (!(GetWindowLong(w, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)) break;
    }
  }
  return found;
}

void RegisterDialogClass() {
  WNDCLASS wc{};
  if (GetClassInfo(nullptr, WC_DIALOG, &wc)) return;
  wc = WNDCLASS{};
  wc.style = CS_DBLCLKS | CS_SAVEBITS;
  wc.lpfnWndProc = DialogClassProc;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = WC_DIALOG;
  RegisterClass(&wc);
}

SIZE DialogBaseUnitsOf(HFONT font) {
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE base{4, 8};
  HDC dc = GetDC(nullptr);
  if (!dc) return base;
  HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
  TEXTMETRIC tm{};
  SIZE extent{};
  if (GetTextMetrics(dc, &tm) && tm.tmHeight > 0) base.cy = tm.tmHeight;
  if (GetTextExtentPoint32(dc, kLetters, 52, &extent) && extent.cx > 0)
    base.cx = (extent.cx / 26 + 1) / 2;
  else if (tm.tmAveCharWidth > 0)
    base.cx = tm.tmAveCharWidth;
  if (old) SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return base;
}

bool ReadTemplateAt(LPCDLGTEMPLATE tmpl, DialogTemplate* out) {
  if (!tmpl) return false;
  size_t size = ResourceBytesFrom(tmpl);
  if (!size) {
    // A block of global memory knows its size when the template starts it.
    if (HGLOBAL h = GlobalHandle(tmpl)) size = static_cast<size_t>(GlobalSize(h));
  }
  if (!size) size = kUnknownTemplateLimit;
  std::string error;
  return ParseDialogTemplate(tmpl, size, out, &error);
}

HWND CreateDialogFromTemplate(HINSTANCE inst, const DialogTemplate& t, HWND parent, DLGPROC proc,
                              LPARAM init, bool modal) {
  // A popup dialog is owned by a top-level window (callers pass the window
  // with the focus, which may be a control).
  if (!(t.style & (WS_CHILD | DS_CONTROL)))
    while (parent && (GetWindowLong(parent, GWL_STYLE) & WS_CHILD)) parent = GetParent(parent);
  HFONT font = TemplateFont(t);
  const SIZE base = DialogBaseUnitsOf(font);
  const RECT place = PlaceDialog(t, parent, base);
  HMENU menu = nullptr;
  if (t.menu.present && !(t.style & WS_CHILD))
    menu = LoadMenu(inst, t.menu.isOrdinal ? MAKEINTRESOURCE(t.menu.ordinal) : t.menu.text.c_str());
  const std::string cls = t.cls.present && !t.cls.isOrdinal ? t.cls.text : std::string(WC_DIALOG);
  DWORD exStyle = t.exStyle;
  if (t.style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
  if (t.style & DS_CONTROL) exStyle |= WS_EX_CONTROLPARENT;
  DWORD style = t.style & ~static_cast<DWORD>(WS_VISIBLE);
  if (t.style & DS_CONTROL) style = (style & ~static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU)) | WS_CHILD;
  HWND dlg = CreateWindowEx(exStyle, cls.c_str(), t.title.c_str(), style, place.left, place.top,
                            place.right - place.left, place.bottom - place.top, parent, menu, inst,
                            nullptr);
  if (!dlg) {
    if (font) DeleteObject(font);
    if (menu) DestroyMenu(menu);
    return nullptr;
  }
  auto s = States().Attach(dlg);
  s->font = font;
  s->ownsFont = font != nullptr;
  s->base = base;
  s->modal = modal;
  SetWindowLong(dlg, DWL_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
  if (font) SendMessage(dlg, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (!IsWindow(dlg)) return nullptr;
  if (!MakeControls(dlg, inst, t, *s)) {
    if (IsWindow(dlg)) DestroyWindow(dlg);
    return nullptr;
  }
  // The first BS_DEFPUSHBUTTON names the default id.
  for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if ((SendMessage(c, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0) {
      s->defId = static_cast<WORD>(GetDlgCtrlID(c));
      break;
    }
  }
  HWND first = GetNextDlgTabItem(dlg, nullptr, FALSE);
  const LRESULT wantsFocus =
      SendMessage(dlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), init);
  if (!IsWindow(dlg)) return nullptr;
  if (wantsFocus && first && IsWindow(first) && IsChild(dlg, first) && !(t.style & WS_CHILD))
    DialogSetFocus(dlg, first);
  if ((t.style & WS_VISIBLE) && !s->ended) {
    ShowWindow(dlg, SW_SHOWNORMAL);
    if (IsWindow(dlg)) UpdateWindow(dlg);
  }
  return IsWindow(dlg) ? dlg : nullptr;
}

}  // namespace win::user

using namespace win::user;

HWND CreateDialogIndirectParam(HINSTANCE inst, LPCDLGTEMPLATE tmpl, HWND parent, DLGPROC proc,
                               LPARAM init) {
  DialogTemplate t;
  if (!ReadTemplateAt(tmpl, &t)) return nullptr;
  return CreateDialogFromTemplate(inst, t, parent, proc, init, false);
}

HWND CreateDialogParam(HINSTANCE inst, LPCSTR name, HWND parent, DLGPROC proc, LPARAM init) {
  const FoundResource r = FindResourceData(inst, name, RT_DIALOG);
  if (!r.data) return nullptr;
  DialogTemplate t;
  std::string error;
  if (!ParseDialogTemplate(r.data, r.size, &t, &error)) return nullptr;
  return CreateDialogFromTemplate(inst, t, parent, proc, init, false);
}

LONG GetDialogBaseUnits() {
  const SIZE s = DialogBaseUnitsOf(nullptr);
  return MAKELONG(s.cx, s.cy);
}

BOOL MapDialogRect(HWND dlg, LPRECT rect) {
  auto s = DialogStateOf(dlg);
  if (!s || !rect) return FALSE;
  rect->left = MulDivRound(rect->left, s->base.cx, 4);
  rect->right = MulDivRound(rect->right, s->base.cx, 4);
  rect->top = MulDivRound(rect->top, s->base.cy, 8);
  rect->bottom = MulDivRound(rect->bottom, s->base.cy, 8);
  return TRUE;
}
