// List boxes: items, single, multiple and extended selection, the keyboard,
// the mouse, the scroll bar and the LB_ messages.
#include "listbox.h"

#include <algorithm>
#include <cstring>

#include "control_common.h"
#include "per_window.h"
#include "user/dialogs/dialog_state.h"

namespace win::user {
namespace {

using State = std::shared_ptr<ListState>;

PerWindow<ListState>& States() {
  static PerWindow<ListState> states(0);
  return states;
}

DWORD Style(HWND lb) { return static_cast<DWORD>(GetWindowLong(lb, GWL_STYLE)); }
bool Multiple(HWND lb) { return (Style(lb) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }
bool Extended(HWND lb) { return (Style(lb) & LBS_EXTENDEDSEL) != 0; }
int Count(const State& s) { return static_cast<int>(s->items.size()); }

char Fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
int CompareNoCase(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char x = Fold(a[i]), y = Fold(b[i]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}
bool StartsWithNoCase(const std::string& text, const char* prefix) {
  const size_t n = std::strlen(prefix);
  if (n > text.size()) return false;
  for (size_t i = 0; i < n; ++i)
    if (Fold(text[i]) != Fold(prefix[i])) return false;
  return true;
}

void Notify(HWND lb, const State& s, WORD code) {
  if (s->combo) return;
  if ((code == LBN_SELCHANGE || code == LBN_DBLCLK || code == LBN_SELCANCEL) && !(Style(lb) & LBS_NOTIFY)) return;
  NotifyParent(lb, code);
}

int Rows(HWND lb, const State& s) {
  RECT rc;
  GetClientRect(lb, &rc);
  return std::max(1, (rc.bottom - rc.top) / std::max(1, s->itemHeight));
}

void UpdateScrollBar(HWND lb, const State& s) {
  if (!s->scrollBar) return;
  SCROLLINFO si{sizeof si, SIF_ALL, 0, std::max(0, Count(s) - 1), static_cast<UINT>(Rows(lb, s)), s->top, 0};
  if (Style(lb) & LBS_DISABLENOSCROLL) si.fMask |= SIF_DISABLENOSCROLL;
  SetScrollInfo(lb, SB_VERT, &si, TRUE);
}

void SetTop(HWND lb, const State& s, int top) {
  const int maxTop = std::max(0, Count(s) - Rows(lb, s));
  top = std::clamp(top, 0, maxTop);
  if (top == s->top) return;
  s->top = top;
  InvalidateRect(lb, nullptr, TRUE);
  UpdateScrollBar(lb, s);
}

void ShowItem(HWND lb, const State& s, int index) {
  if (index < 0 || index >= Count(s)) return;
  const int rows = Rows(lb, s);
  if (index < s->top) SetTop(lb, s, index);
  else if (index >= s->top + rows) SetTop(lb, s, index - rows + 1);
}

void Remeasure(HWND lb, const State& s) {
  if (const int h = LineHeightOf(lb, s->font)) s->itemHeight = h;
}

// Without LBS_NOINTEGRALHEIGHT a list box shows whole rows only.
void FitWholeRows(HWND lb, const State& s) {
  if ((Style(lb) & LBS_NOINTEGRALHEIGHT) || s->combo) return;
  RECT wr, cr;
  GetWindowRect(lb, &wr);
  GetClientRect(lb, &cr);
  const int client = cr.bottom - cr.top;
  if (client <= 0) return;
  const int whole = std::max(s->itemHeight, (client / s->itemHeight) * s->itemHeight);
  if (whole == client) return;
  SetWindowPos(lb, nullptr, 0, 0, wr.right - wr.left, (wr.bottom - wr.top) - client + whole,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Redraw(HWND lb) { InvalidateRect(lb, nullptr, TRUE); }

// ---- Selection -----------------------------------------------------------------

void SelectOnly(const State& s, int index) {
  for (auto& it : s->items) it.selected = false;
  if (index >= 0 && index < Count(s)) s->items[static_cast<size_t>(index)].selected = true;
}

void SelectRange(const State& s, int a, int b, bool on) {
  if (a > b) std::swap(a, b);
  a = std::max(a, 0);
  b = std::min(b, Count(s) - 1);
  for (int i = a; i <= b; ++i) s->items[static_cast<size_t>(i)].selected = on;
}

// The caret moves to `index` by the user: what it selects follows the
// list's kind and the keys held.
void UserMoveTo(HWND lb, const State& s, int index, bool shift, bool ctrl) {
  if (Count(s) == 0) return;
  index = std::clamp(index, 0, Count(s) - 1);
  const DWORD style = Style(lb);
  bool changed = false;
  if (style & LBS_NOSEL) {
    s->caret = index;
  } else if (!Multiple(lb)) {
    changed = s->curSel != index;
    s->curSel = s->caret = index;
    SelectOnly(s, index);
  } else if (Extended(lb) && !ctrl) {
    if (!shift || s->anchor < 0) s->anchor = index;
    std::vector<bool> before;
    for (auto& it : s->items) before.push_back(it.selected);
    SelectOnly(s, -1);
    SelectRange(s, s->anchor, index, true);
    for (size_t i = 0; i < before.size(); ++i) changed |= before[i] != s->items[i].selected;
    s->caret = index;
  } else {
    s->caret = index;  // multiple selection: the caret moves alone
  }
  ShowItem(lb, s, index);
  Redraw(lb);
  if (changed) Notify(lb, s, LBN_SELCHANGE);
}

void UserToggle(HWND lb, const State& s, int index) {
  if (index < 0 || index >= Count(s) || (Style(lb) & LBS_NOSEL)) return;
  auto& item = s->items[static_cast<size_t>(index)];
  item.selected = !item.selected;
  s->caret = s->anchor = index;
  Redraw(lb);
  Notify(lb, s, LBN_SELCHANGE);
}

// ---- Items -----------------------------------------------------------------------

LRESULT InsertAt(HWND lb, const State& s, int index, const char* text) {
  if (Count(s) >= static_cast<int>(kMaxListItems)) return LB_ERRSPACE;
  ListItem item;
  if (text) item.text.assign(text, strnlen(text, kMaxListText));
  if (index < 0) index = Count(s);
  if (index > Count(s)) return LB_ERR;
  s->items.insert(s->items.begin() + index, std::move(item));
  if (s->curSel >= index) ++s->curSel;
  if (s->caret >= index && Count(s) > 1) ++s->caret;
  if (s->anchor >= index) ++s->anchor;
  UpdateScrollBar(lb, s);
  Redraw(lb);
  return index;
}

LRESULT Add(HWND lb, const State& s, const char* text) {
  if (!(Style(lb) & LBS_SORT) || !text) return InsertAt(lb, s, -1, text);
  const std::string t(text, strnlen(text, kMaxListText));
  // After the equal ones already there.
  auto it = std::upper_bound(s->items.begin(), s->items.end(), t,
                             [](const std::string& v, const ListItem& item) { return CompareNoCase(v, item.text) < 0; });
  return InsertAt(lb, s, static_cast<int>(it - s->items.begin()), text);
}

LRESULT Delete(HWND lb, const State& s, int index) {
  if (index < 0 || index >= Count(s)) return LB_ERR;
  s->items.erase(s->items.begin() + index);
  if (s->curSel == index) s->curSel = -1;
  else if (s->curSel > index) --s->curSel;
  if (s->caret >= Count(s)) s->caret = std::max(0, Count(s) - 1);
  else if (s->caret > index) --s->caret;
  if (s->anchor == index) s->anchor = -1;
  else if (s->anchor > index) --s->anchor;
  SetTop(lb, s, s->top);
  UpdateScrollBar(lb, s);
  Redraw(lb);
  return Count(s);
}

int Find(const State& s, int start, const char* text, bool exact) {
  const int n = Count(s);
  if (!text || n == 0) return LB_ERR;
  const int from = (start < 0 || start >= n) ? 0 : start + 1;
  for (int k = 0; k < n; ++k) {
    const int i = (from + k) % n;
    const std::string& t = s->items[static_cast<size_t>(i)].text;
    if (exact ? CompareNoCase(t, text) == 0 : StartsWithNoCase(t, text)) return i;
  }
  return LB_ERR;
}

// ---- Drawing ---------------------------------------------------------------------

void DrawItemText(HDC dc, HWND lb, const State& s, const std::string& text, RECT r) {
  if (!(Style(lb) & LBS_USETABSTOPS) || text.find('\t') == std::string::npos) {
    std::string shown = text;
    std::replace(shown.begin(), shown.end(), '\t', ' ');
    ExtTextOut(dc, r.left, r.top, ETO_CLIPPED, &r, shown.c_str(), static_cast<UINT>(shown.size()), nullptr);
    return;
  }
  const int baseX = DialogBaseUnitsOf(s->font).cx;
  auto stop = [&](size_t k) -> int {
    if (s->tabs.empty()) return MulDivRound(32 * static_cast<int>(k + 1), baseX, 4);
    if (s->tabs.size() == 1) return MulDivRound(s->tabs[0] * static_cast<int>(k + 1), baseX, 4);
    if (k < s->tabs.size()) return MulDivRound(s->tabs[k], baseX, 4);
    return -1;
  };
  int x = r.left;
  size_t from = 0, stopIndex = 0;
  while (from <= text.size()) {
    const size_t tab = text.find('\t', from);
    const std::string piece = text.substr(from, tab == std::string::npos ? std::string::npos : tab - from);
    ExtTextOut(dc, x, r.top, ETO_CLIPPED, &r, piece.c_str(), static_cast<UINT>(piece.size()), nullptr);
    if (tab == std::string::npos) break;
    SIZE ext{};
    GetTextExtentPoint32(dc, piece.c_str(), static_cast<int>(piece.size()), &ext);
    const int end = x + ext.cx - r.left;
    // The first stop beyond the text so far.
    int next = -1;
    while (true) {
      const int p = stop(stopIndex);
      if (p < 0) break;
      ++stopIndex;
      if (p > end) {
        next = p;
        break;
      }
    }
    x = next < 0 ? x + ext.cx + MulDivRound(8, baseX, 4) : r.left + next;
    from = tab + 1;
  }
}

void Paint(HWND lb, const State& s, HDC dc) {
  RECT rc;
  GetClientRect(lb, &rc);
  HBRUSH back = ControlColor(lb, dc, WM_CTLCOLORLISTBOX);
  const COLORREF text = IsWindowEnabled(lb) ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);
  FillRect(dc, &rc, back);
  HGDIOBJ old = SelectObject(dc, s->font ? s->font : GetStockObject(SYSTEM_FONT));
  SetBkMode(dc, TRANSPARENT);
  const bool multi = Multiple(lb);
  for (int i = s->top; i < Count(s); ++i) {
    RECT item{rc.left, rc.top + (i - s->top) * s->itemHeight, rc.right, rc.top + (i - s->top + 1) * s->itemHeight};
    if (item.top >= rc.bottom) break;
    const ListItem& it = s->items[static_cast<size_t>(i)];
    const bool selected = multi ? it.selected : i == s->curSel;
    if (selected) {
      FillRect(dc, &item, GetSysColorBrush(COLOR_HIGHLIGHT));
      SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else {
      SetTextColor(dc, text);
    }
    RECT t = item;
    t.left += 2;
    DrawItemText(dc, lb, s, it.text, t);
    if (s->focused && i == s->caret) DrawFocus(dc, item);
  }
  SelectObject(dc, old);
}

// ---- Keyboard and mouse ---------------------------------------------------------------

void KeyDown(HWND lb, const State& s, WPARAM vk) {
  const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  if ((Style(lb) & LBS_WANTKEYBOARDINPUT) && !s->combo) {
    const LRESULT r = SendMessage(GetParent(lb), WM_VKEYTOITEM, MAKEWPARAM(static_cast<WORD>(vk), static_cast<WORD>(s->caret)),
                                  reinterpret_cast<LPARAM>(lb));
    if (r == -2 || !IsWindow(lb)) return;
    if (r >= 0) {
      UserMoveTo(lb, s, static_cast<int>(r), false, false);
      return;
    }
  }
  const int rows = Rows(lb, s);
  const int from = Multiple(lb) ? s->caret : (s->curSel < 0 ? -1 : s->curSel);
  int to = from;
  switch (vk) {
    case VK_UP: to = from - 1; break;
    case VK_DOWN: to = from + 1; break;
    case VK_PRIOR: to = from - (rows - 1); break;
    case VK_NEXT: to = from + (rows - 1); break;
    case VK_HOME: to = 0; break;
    case VK_END: to = Count(s) - 1; break;
    case VK_SPACE:
      if (Multiple(lb)) {
        if (!Extended(lb) || ctrl) UserToggle(lb, s, s->caret);
        else UserMoveTo(lb, s, s->caret, shift, false);
      }
      return;
    default: return;
  }
  if (from < 0 && (vk == VK_UP || vk == VK_DOWN)) to = 0;
  UserMoveTo(lb, s, to, shift, ctrl);
}

void CharKey(HWND lb, const State& s, WPARAM ch) {
  if (ch <= ' ' || ch > 0xFF) return;
  if ((Style(lb) & LBS_WANTKEYBOARDINPUT) && !s->combo) {
    const LRESULT r = SendMessage(GetParent(lb), WM_CHARTOITEM, MAKEWPARAM(static_cast<WORD>(ch), static_cast<WORD>(s->caret)),
                                  reinterpret_cast<LPARAM>(lb));
    if (r == -2 || !IsWindow(lb)) return;
    if (r >= 0) {
      UserMoveTo(lb, s, static_cast<int>(r), false, false);
      return;
    }
  }
  const char prefix[2] = {static_cast<char>(ch), 0};
  const int from = Multiple(lb) ? s->caret : s->curSel;
  const int i = Find(s, from, prefix, false);
  if (i >= 0) UserMoveTo(lb, s, i, false, false);
}

void MouseAt(HWND lb, const State& s, POINT p, WPARAM keys, bool down) {
  const int i = ListItemAt(lb, p);
  if (i < 0) return;
  if (!Multiple(lb)) {
    UserMoveTo(lb, s, i, false, false);
  } else if (Extended(lb)) {
    if (down && (keys & MK_CONTROL)) UserToggle(lb, s, i);
    else UserMoveTo(lb, s, i, (keys & MK_SHIFT) != 0 || !down, false);
  } else if (down) {
    UserToggle(lb, s, i);
  }
}

LRESULT Create(HWND lb) {
  State s = States().Attach(lb);
  s->scrollBar = (Style(lb) & WS_VSCROLL) != 0;
  Remeasure(lb, s);
  UpdateScrollBar(lb, s);
  FitWholeRows(lb, s);
  return 0;
}

LRESULT LbMessage(HWND lb, const State& s, UINT msg, WPARAM wp, LPARAM lp) {
  const int n = Count(s);
  const int index = static_cast<int>(wp);
  switch (msg) {
    case LB_ADDSTRING: return Add(lb, s, reinterpret_cast<const char*>(lp));
    case LB_INSERTSTRING: return InsertAt(lb, s, index, reinterpret_cast<const char*>(lp));
    case LB_DELETESTRING: return Delete(lb, s, index);
    case LB_RESETCONTENT:
      s->items.clear();
      s->curSel = -1;
      s->caret = 0;
      s->anchor = -1;
      s->top = 0;
      UpdateScrollBar(lb, s);
      Redraw(lb);
      return 0;
    case LB_GETCOUNT: return n;
    case LB_GETTEXT: {
      if (index < 0 || index >= n || !lp) return LB_ERR;
      const std::string& t = s->items[static_cast<size_t>(index)].text;
      std::memcpy(reinterpret_cast<char*>(lp), t.c_str(), t.size() + 1);
      return static_cast<LRESULT>(t.size());
    }
    case LB_GETTEXTLEN:
      if (index < 0 || index >= n) return LB_ERR;
      return static_cast<LRESULT>(s->items[static_cast<size_t>(index)].text.size());
    case LB_SETCURSEL:
      if (Multiple(lb)) return LB_ERR;
      if (index < 0 || index >= n) {
        s->curSel = -1;
        SelectOnly(s, -1);
        Redraw(lb);
        return LB_ERR;
      }
      s->curSel = s->caret = index;
      SelectOnly(s, index);
      ShowItem(lb, s, index);
      Redraw(lb);
      return index;
    case LB_GETCURSEL:
      if (Multiple(lb)) return n ? s->caret : LB_ERR;
      return s->curSel >= 0 ? s->curSel : LB_ERR;
    case LB_SETSEL: {
      if (!Multiple(lb)) return LB_ERR;
      const int i = static_cast<int>(lp);
      if (i == -1) {
        for (auto& it : s->items) it.selected = wp != 0;
      } else {
        if (i < 0 || i >= n) return LB_ERR;
        s->items[static_cast<size_t>(i)].selected = wp != 0;
        s->caret = i;
      }
      Redraw(lb);
      return 0;
    }
    case LB_GETSEL:
      if (index < 0 || index >= n) return LB_ERR;
      return Multiple(lb) ? (s->items[static_cast<size_t>(index)].selected ? 1 : 0) : (index == s->curSel ? 1 : 0);
    case LB_GETSELCOUNT: {
      if (!Multiple(lb)) return LB_ERR;
      return std::count_if(s->items.begin(), s->items.end(), [](const ListItem& it) { return it.selected; });
    }
    case LB_GETSELITEMS: {
      if (!Multiple(lb)) return LB_ERR;
      int* out = reinterpret_cast<int*>(lp);
      if (!out) return LB_ERR;
      int k = 0;
      for (int i = 0; i < n && k < static_cast<int>(wp); ++i)
        if (s->items[static_cast<size_t>(i)].selected) out[k++] = i;
      return k;
    }
    case LB_SELITEMRANGE:
      if (!Multiple(lb)) return LB_ERR;
      SelectRange(s, LOWORD(lp), HIWORD(lp), wp != 0);
      Redraw(lb);
      return 0;
    case LB_FINDSTRING: return Find(s, index, reinterpret_cast<const char*>(lp), false);
    case LB_FINDSTRINGEXACT: return Find(s, index, reinterpret_cast<const char*>(lp), true);
    case LB_SELECTSTRING: {
      if (Multiple(lb)) return LB_ERR;
      const int i = Find(s, index, reinterpret_cast<const char*>(lp), false);
      if (i < 0) return LB_ERR;
      return LbMessage(lb, s, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
    }
    case LB_SETITEMDATA:
      if (index < 0 || index >= n) return LB_ERR;
      s->items[static_cast<size_t>(index)].data = static_cast<ULONG_PTR>(lp);
      return TRUE;
    case LB_GETITEMDATA:
      if (index < 0 || index >= n) return LB_ERR;
      return static_cast<LRESULT>(s->items[static_cast<size_t>(index)].data);
    case LB_SETTOPINDEX:
      if (index < 0 || (n && index >= n)) return LB_ERR;
      SetTop(lb, s, index);
      return 0;
    case LB_GETTOPINDEX: return s->top;
    case LB_SETTABSTOPS: {
      const int* tabs = reinterpret_cast<const int*>(lp);
      if (wp > 1024 || (wp && !tabs)) return FALSE;
      s->tabs.assign(tabs, tabs + wp);
      Redraw(lb);
      return TRUE;
    }
    case LB_GETITEMRECT: {
      RECT* out = reinterpret_cast<RECT*>(lp);
      if (!out || index < 0 || (index >= n && !(index == 0 && n == 0))) return LB_ERR;
      RECT rc;
      GetClientRect(lb, &rc);
      *out = RECT{rc.left, (index - s->top) * s->itemHeight, rc.right, (index - s->top + 1) * s->itemHeight};
      return 1;
    }
    case LB_GETITEMHEIGHT: return s->itemHeight;
    case LB_SETITEMHEIGHT:
      if (LOWORD(lp) == 0 || LOWORD(lp) > 255) return LB_ERR;
      s->itemHeight = LOWORD(lp);
      UpdateScrollBar(lb, s);
      Redraw(lb);
      return 0;
    case LB_SETCARETINDEX:
      if (index < 0 || index >= n) return LB_ERR;
      s->caret = index;
      ShowItem(lb, s, index);
      Redraw(lb);
      return 0;
    case LB_GETCARETINDEX: return s->caret;
    case LB_SETANCHORINDEX:
      if (index < 0 || index >= n) return LB_ERR;
      s->anchor = index;
      return 0;
    case LB_GETANCHORINDEX: return s->anchor;
    case LB_ITEMFROMPOINT: {
      const POINT p{static_cast<SHORT>(LOWORD(lp)), static_cast<SHORT>(HIWORD(lp))};
      RECT rc;
      GetClientRect(lb, &rc);
      const bool outside = !PtInRect(&rc, p);
      int i = s->top + (p.y >= 0 ? p.y / std::max(1, s->itemHeight) : -1);
      i = std::clamp(i, 0, std::max(0, n - 1));
      return MAKELRESULT(static_cast<WORD>(i), (outside || n == 0) ? 1 : 0);
    }
    default: return LB_ERR;
  }
}

}  // namespace

std::shared_ptr<ListState> ListStateOf(HWND list) { return States().Get(list); }

int ListItemAt(HWND lb, POINT p) {
  State s = ListStateOf(lb);
  if (!s) return -1;
  RECT rc;
  GetClientRect(lb, &rc);
  if (!PtInRect(&rc, p)) return -1;
  const int i = s->top + p.y / std::max(1, s->itemHeight);
  return i < Count(s) ? i : -1;
}

void ListSetCurrent(HWND lb, int index) {
  State s = ListStateOf(lb);
  if (!s) return;
  s->curSel = s->caret = (index >= 0 && index < Count(s)) ? index : -1;
  if (s->caret < 0) s->caret = 0;
  SelectOnly(s, s->curSel);
  ShowItem(lb, s, s->curSel);
  Redraw(lb);
}

int ListVisibleRows(HWND lb) {
  State s = ListStateOf(lb);
  return s ? Rows(lb, s) : 1;
}

LRESULT ListBoxProc(HWND lb, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CREATE) return Create(lb);
  State s = ListStateOf(lb);
  if (!s) return DefWindowProc(lb, msg, wp, lp);
  switch (msg) {
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(lb, &ps);
      if (dc) Paint(lb, s, dc);
      EndPaint(lb, &ps);
      return 0;
    }
    case WM_MOUSEACTIVATE:
      // The list a combo box drops never takes the activation.
      if (s->combo) return MA_NOACTIVATE;
      return DefWindowProc(lb, msg, wp, lp);
    case WM_SETFONT:
      DefWindowProc(lb, msg, wp, 0);
      s->font = reinterpret_cast<HFONT>(wp);
      Remeasure(lb, s);
      FitWholeRows(lb, s);
      UpdateScrollBar(lb, s);
      if (LOWORD(lp)) Redraw(lb);
      return 0;
    case WM_SIZE:
      FitWholeRows(lb, s);
      SetTop(lb, s, s->top);
      UpdateScrollBar(lb, s);
      return 0;
    case WM_ENABLE:
      Redraw(lb);
      return 0;
    case WM_SETFOCUS:
      s->focused = true;
      Redraw(lb);
      Notify(lb, s, LBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      s->focused = false;
      Redraw(lb);
      Notify(lb, s, LBN_KILLFOCUS);
      return 0;
    case WM_KEYDOWN:
      KeyDown(lb, s, wp);
      return 0;
    case WM_CHAR:
      CharKey(lb, s, wp);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!s->combo && GetFocus() != lb) SetFocus(lb);
      if (!IsWindow(lb)) return 0;
      const POINT p{static_cast<SHORT>(LOWORD(lp)), static_cast<SHORT>(HIWORD(lp))};
      MouseAt(lb, s, p, wp, true);
      if (!IsWindow(lb)) return 0;
      if (msg == WM_LBUTTONDBLCLK && ListItemAt(lb, p) >= 0) {
        Notify(lb, s, LBN_DBLCLK);
        return 0;
      }
      s->tracking = true;
      SetCapture(lb);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (s->tracking && GetCapture() == lb && !(Style(lb) & LBS_MULTIPLESEL)) {
        POINT p{static_cast<SHORT>(LOWORD(lp)), static_cast<SHORT>(HIWORD(lp))};
        RECT rc;
        GetClientRect(lb, &rc);
        // Dragging past the ends scrolls.
        if (p.y < rc.top && s->top > 0) SetTop(lb, s, s->top - 1);
        if (p.y >= rc.bottom) SetTop(lb, s, s->top + 1);
        p.y = std::clamp<LONG>(p.y, rc.top, rc.bottom - 1);
        p.x = std::clamp<LONG>(p.x, rc.left, rc.right - 1);
        if (ListItemAt(lb, p) >= 0) MouseAt(lb, s, p, wp | MK_SHIFT, false);
      }
      return 0;
    case WM_LBUTTONUP:
      if (s->tracking) {
        s->tracking = false;
        if (GetCapture() == lb) ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED:
      s->tracking = false;
      return 0;
    case WM_VSCROLL: {
      const int rows = Rows(lb, s);
      int top = s->top;
      switch (LOWORD(wp)) {
        case SB_LINEUP: --top; break;
        case SB_LINEDOWN: ++top; break;
        case SB_PAGEUP: top -= rows; break;
        case SB_PAGEDOWN: top += rows; break;
        case SB_TOP: top = 0; break;
        case SB_BOTTOM: top = Count(s); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: top = static_cast<SHORT>(HIWORD(wp)); break;
        default: return 0;
      }
      SetTop(lb, s, top);
      return 0;
    }
    default:
      if (msg >= LB_ADDSTRING && msg <= LB_ITEMFROMPOINT) return LbMessage(lb, s, msg, wp, lp);
      return DefWindowProc(lb, msg, wp, lp);
  }
}

}  // namespace win::user
