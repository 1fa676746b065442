#include "menu_window.h"

#include <algorithm>
#include <string>

#include "menu_store.h"
#include "user/controls/control_common.h"

namespace win::user {
namespace {

constexpr int kFrame = 3;        // the raised edge and a pixel of menu colour
constexpr int kCheckColumn = 18;
constexpr int kArrowColumn = 16;
constexpr int kAccelGap = 20;
constexpr int kSeparatorHeight = 8;
constexpr int kBarPadding = 8;

struct Measure {
  HDC dc = nullptr;
  HGDIOBJ old = nullptr;
  int height = 13;

  Measure() {
    dc = GetDC(nullptr);
    if (!dc) return;
    old = SelectObject(dc, MenuFont());
    TEXTMETRIC tm{};
    if (GetTextMetrics(dc, &tm) && tm.tmHeight > 0) height = tm.tmHeight;
  }
  ~Measure() {
    if (!dc) return;
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
  }
  int Width(const std::string& text) const {
    if (!dc || text.empty()) return 0;
    RECT r{0, 0, 0, 0};
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
    return r.right - r.left;
  }
};

// "Open\tCtrl+O": the label and the accelerator text.
void Split(const std::string& text, std::string* label, std::string* accel) {
  const size_t tab = text.find_first_of("\t\b");
  *label = text.substr(0, tab);
  *accel = tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

int ItemHeight(const Measure& m) { return m.height + 4; }

void DrawRightArrow(HDC dc, int x, int y, COLORREF c) {
  for (int col = 0; col < 4; ++col)
    for (int row = col; row < 7 - col; ++row) SetPixelV(dc, x + col, y + row, c);
}

void DrawCheck(HDC dc, int x, int y, COLORREF c) {
  static const char* const kMark[7] = {"......m", ".....mm", "m...mmm", "mm.mmm.", "mmmmm..", ".mmm...", "..m...."};
  for (int r = 0; r < 7; ++r)
    for (int col = 0; col < 7; ++col)
      if (kMark[r][col] == 'm') SetPixelV(dc, x + col, y + r, c);
}

void PaintPopup(HWND wnd, HDC dc) {
  RECT rc;
  GetClientRect(wnd, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_MENU));
  RECT edge = rc;
  DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
  HMENU menu = MenuOfWindow(wnd);
  Menu* m = FindMenu(menu);
  if (!m) return;
  const PopupLayout layout = LayoutPopup(menu);
  const int selected = SelectionOfWindow(wnd);
  HGDIOBJ old = SelectObject(dc, MenuFont());
  SetBkMode(dc, TRANSPARENT);
  for (size_t i = 0; i < m->items.size() && i < layout.items.size(); ++i) {
    const MenuItem& it = m->items[i];
    const RECT r = layout.items[i];
    if (it.separator()) {
      const int y = r.top + (r.bottom - r.top) / 2 - 1;
      RECT shadow{r.left + 1, y, r.right - 1, y + 1};
      RECT light{r.left + 1, y + 1, r.right - 1, y + 2};
      FillRect(dc, &shadow, GetSysColorBrush(COLOR_3DSHADOW));
      FillRect(dc, &light, GetSysColorBrush(COLOR_3DHILIGHT));
      continue;
    }
    const bool sel = static_cast<int>(i) == selected;
    if (sel) FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
    COLORREF color = GetSysColor(sel ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    if (it.disabled() && sel) color = GetSysColor(COLOR_GRAYTEXT);
    SetTextColor(dc, color);
    std::string label, accel;
    Split(it.text, &label, &accel);
    RECT text{r.left + kCheckColumn, r.top, r.right - kArrowColumn, r.bottom};
    const bool emboss = it.disabled() && !sel;
    DrawControlText(dc, label, text, DT_SINGLELINE | DT_VCENTER | DT_LEFT, emboss);
    if (!accel.empty()) DrawControlText(dc, accel, text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT, emboss);
    const int midY = r.top + (r.bottom - r.top) / 2;
    if (it.flags & MF_CHECKED) DrawCheck(dc, r.left + (kCheckColumn - 7) / 2, midY - 3, emboss ? GetSysColor(COLOR_GRAYTEXT) : color);
    if (it.flags & MF_POPUP) DrawRightArrow(dc, r.right - kArrowColumn + 6, midY - 3, emboss ? GetSysColor(COLOR_GRAYTEXT) : color);
  }
  SelectObject(dc, old);
}

LRESULT MenuWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(wnd, &ps);
      if (dc) PaintPopup(wnd, dc);
      EndPaint(wnd, &ps);
      return 0;
    }
    default: return DefWindowProc(wnd, msg, wp, lp);
  }
}

}  // namespace

HFONT MenuFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

void RegisterMenuWindowClass() {
  WNDCLASS wc{};
  if (GetClassInfo(nullptr, kMenuWindowClass, &wc)) return;
  wc = WNDCLASS{};
  wc.style = CS_SAVEBITS | CS_DBLCLKS;
  wc.lpfnWndProc = MenuWindowProc;
  wc.cbWndExtra = 2 * static_cast<int>(sizeof(LONG_PTR));
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kMenuWindowClass;
  RegisterClass(&wc);
}

PopupLayout LayoutPopup(HMENU menu) {
  PopupLayout out;
  Menu* m = FindMenu(menu);
  if (!m) return out;
  Measure measure;
  int labelW = 0, accelW = 0;
  for (const MenuItem& it : m->items) {
    if (it.separator()) continue;
    std::string label, accel;
    Split(it.text, &label, &accel);
    labelW = std::max(labelW, measure.Width(label));
    accelW = std::max(accelW, measure.Width(accel));
  }
  const int width =
      std::max(40, kFrame + kCheckColumn + labelW + (accelW ? kAccelGap + accelW : 0) + kArrowColumn + kFrame);
  int y = kFrame;
  for (const MenuItem& it : m->items) {
    const int h = it.separator() ? kSeparatorHeight : ItemHeight(measure);
    out.items.push_back(RECT{kFrame, y, width - kFrame, y + h});
    y += h;
  }
  out.size = SIZE{width, std::max(y + kFrame, 2 * kFrame + 2)};
  return out;
}

HWND CreateMenuWindow(HMENU menu, HWND owner) {
  while (owner && (GetWindowLong(owner, GWL_STYLE) & WS_CHILD)) owner = GetParent(owner);
  const PopupLayout layout = LayoutPopup(menu);
  HWND wnd = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kMenuWindowClass, "", WS_POPUP, 0, 0,
                            layout.size.cx, layout.size.cy, owner, nullptr, nullptr, nullptr);
  if (!wnd) return nullptr;
  SetWindowLong(wnd, 0, reinterpret_cast<LONG_PTR>(menu));
  SetWindowLong(wnd, static_cast<int>(sizeof(LONG_PTR)), -1);
  return wnd;
}

HMENU MenuOfWindow(HWND popup) { return reinterpret_cast<HMENU>(GetWindowLong(popup, 0)); }
int SelectionOfWindow(HWND popup) {
  return static_cast<int>(GetWindowLong(popup, static_cast<int>(sizeof(LONG_PTR))));
}

void SelectInWindow(HWND popup, int index) {
  if (SelectionOfWindow(popup) == index) return;
  SetWindowLong(popup, static_cast<int>(sizeof(LONG_PTR)), index);
  InvalidateRect(popup, nullptr, FALSE);
}

int MenuWindowItemAt(HWND popup, POINT screen) {
  POINT p = screen;
  ScreenToClient(popup, &p);
  RECT rc;
  GetClientRect(popup, &rc);
  if (!PtInRect(&rc, p)) return -1;
  const PopupLayout layout = LayoutPopup(MenuOfWindow(popup));
  for (size_t i = 0; i < layout.items.size(); ++i)
    if (PtInRect(&layout.items[i], p)) return static_cast<int>(i);
  return -1;
}

RECT MenuWindowItemRect(HWND popup, int index) {
  const PopupLayout layout = LayoutPopup(MenuOfWindow(popup));
  if (index < 0 || static_cast<size_t>(index) >= layout.items.size()) return RECT{};
  RECT r = layout.items[static_cast<size_t>(index)];
  MapWindowPoints(popup, nullptr, reinterpret_cast<LPPOINT>(&r), 2);
  return r;
}

BarLayout LayoutMenuBar(HMENU menu, int width) {
  BarLayout out;
  Menu* m = FindMenu(menu);
  const int rowH = GetSystemMetrics(SM_CYMENU);
  if (!m) return out;
  Measure measure;
  int x = 0, y = 0;
  for (const MenuItem& it : m->items) {
    const int w = it.separator() ? kBarPadding : measure.Width(it.text) + 2 * kBarPadding;
    // An item that does not fit starts a new row (unless it is the first).
    if ((x > 0 && x + w > width) || (it.flags & (MF_MENUBREAK | MF_MENUBARBREAK))) {
      x = 0;
      y += rowH;
    }
    out.items.push_back(RECT{x, y, x + w, y + rowH});
    x += w;
  }
  out.height = m->items.empty() ? rowH : y + rowH;
  return out;
}

void PaintMenuBarItems(HDC dc, HMENU menu, const RECT& bar, int selected, bool open) {
  FillRect(dc, &bar, GetSysColorBrush(COLOR_MENU));
  Menu* m = FindMenu(menu);
  if (!m) return;
  const BarLayout layout = LayoutMenuBar(menu, bar.right - bar.left);
  HGDIOBJ old = SelectObject(dc, MenuFont());
  SetTextColor(dc, GetSysColor(COLOR_MENUTEXT));
  for (size_t i = 0; i < m->items.size() && i < layout.items.size(); ++i) {
    const MenuItem& it = m->items[i];
    if (it.separator()) continue;
    RECT r = layout.items[i];
    OffsetRect(&r, bar.left, bar.top);
    if (static_cast<int>(i) == selected) {
      RECT e = r;
      DrawEdge(dc, &e, open ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    RECT t = r;
    if (static_cast<int>(i) == selected && open) OffsetRect(&t, 1, 1);
    DrawControlText(dc, it.text, t, DT_SINGLELINE | DT_VCENTER | DT_CENTER, it.disabled());
  }
  SelectObject(dc, old);
}

}  // namespace win::user
