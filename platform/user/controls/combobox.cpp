// Combo boxes: the field, the drop-down list (a popup list box that never
// takes the activation or the focus; the combo box holds the mouse while
// it is down), the keyboard, and the CB_ messages mapped onto the list.
#include "combobox.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "control_common.h"
#include "edit.h"
#include "glyphs.h"
#include "listbox.h"
#include "per_window.h"

namespace win::user {
namespace {

struct ComboState {
  HWND list = nullptr;
  HWND edit = nullptr;
  int itemHeight = 16;
  int dropHeight = 100;  // the window's height with the list down
  bool dropped = false;
  bool buttonDown = false;
  bool tracking = false;  // the press that dropped the list is still held
  bool focused = false;
  int chosen = -1;  // while the list is down: the selection (the list shows the hovered item)
  HFONT font = nullptr;
};
using State = std::shared_ptr<ComboState>;

PerWindow<ComboState>& States() {
  static PerWindow<ComboState> states(0);
  return states;
}

DWORD Style(HWND cb) { return static_cast<DWORD>(GetWindowLong(cb, GWL_STYLE)); }
DWORD Kind(HWND cb) { return Style(cb) & 3; }
bool IsList(HWND cb) { return Kind(cb) == CBS_DROPDOWNLIST; }
bool IsSimple(HWND cb) { return Kind(cb) == CBS_SIMPLE; }
int ClosedHeight(const State& s) { return s->itemHeight + 6; }

HWND TopLevel(HWND w) {
  while (w && (GetWindowLong(w, GWL_STYLE) & WS_CHILD)) w = GetParent(w);
  return w;
}

bool OwnEdge(HWND cb) {
  return !(GetWindowLong(cb, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) && !(Style(cb) & WS_BORDER);
}

// The field's rectangle inside the client area (without the edge) and the
// drop button's.
RECT Inner(HWND cb, const State& s) {
  RECT rc;
  GetClientRect(cb, &rc);
  if (IsSimple(cb)) rc.bottom = std::min<LONG>(rc.bottom, ClosedHeight(s));
  if (OwnEdge(cb)) InflateRect(&rc, -2, -2);
  return rc;
}
RECT ButtonRect(HWND cb, const State& s) {
  RECT in = Inner(cb, s);
  if (IsSimple(cb)) return RECT{in.right, in.top, in.right, in.bottom};
  in.left = std::max(in.left, in.right - GetSystemMetrics(SM_CXVSCROLL));
  return in;
}
RECT FieldRect(HWND cb, const State& s) {
  RECT in = Inner(cb, s);
  in.right = ButtonRect(cb, s).left;
  return in;
}

// The selection: the list's, except while it is down and shows the item
// under the mouse.
int CurSel(const State& s) {
  return s->dropped ? s->chosen : static_cast<int>(SendMessage(s->list, LB_GETCURSEL, 0, 0));
}
std::string ItemText(const State& s, int i) {
  const LRESULT n = SendMessage(s->list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
  if (n < 0) return std::string();
  std::vector<char> buf(static_cast<size_t>(n) + 1);
  SendMessage(s->list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf.data()));
  return std::string(buf.data());
}

void ShowSelection(HWND cb, const State& s) {
  if (s->edit) {
    const int i = CurSel(s);
    SetWindowText(s->edit, i >= 0 ? ItemText(s, i).c_str() : "");
    if (IsWindow(s->edit) && GetFocus() == s->edit) SendMessage(s->edit, EM_SETSEL, 0, -1);
  }
  InvalidateRect(cb, nullptr, FALSE);
}

void Layout(HWND cb, const State& s) {
  if (s->edit) {
    const RECT f = FieldRect(cb, s);
    MoveWindow(s->edit, f.left + 1, f.top + 1, std::max<LONG>(0, f.right - f.left - 2),
               std::max<LONG>(0, f.bottom - f.top - 2), TRUE);
  }
  if (IsSimple(cb) && s->list) {
    RECT rc;
    GetClientRect(cb, &rc);
    const int top = ClosedHeight(s);
    MoveWindow(s->list, 0, top, rc.right, std::max<LONG>(0, rc.bottom - top), TRUE);
  }
}

void Remeasure(HWND cb, const State& s) {
  if (const int h = LineHeightOf(cb, s->font)) s->itemHeight = h;
}

void Close(HWND cb, const State& s, bool ok) {
  if (!s->dropped) return;
  // The list goes back to the selection (the mouse may have moved its highlight).
  SendMessage(s->list, LB_SETCURSEL, static_cast<WPARAM>(s->chosen), 0);
  s->dropped = false;
  s->buttonDown = false;
  s->tracking = false;
  if (IsWindow(s->list)) ShowWindow(s->list, SW_HIDE);
  if (GetCapture() == cb) ReleaseCapture();
  InvalidateRect(cb, nullptr, FALSE);
  NotifyParent(cb, ok ? CBN_SELENDOK : CBN_SELENDCANCEL);
  if (IsWindow(cb)) NotifyParent(cb, CBN_CLOSEUP);
}

void Drop(HWND cb, const State& s) {
  if (s->dropped || IsSimple(cb) || !IsWindow(s->list)) return;
  NotifyParent(cb, CBN_DROPDOWN);
  if (!IsWindow(cb)) return;
  RECT wr;
  GetWindowRect(cb, &wr);
  const int count = static_cast<int>(SendMessage(s->list, LB_GETCOUNT, 0, 0));
  const int room = std::max(s->itemHeight + 2, s->dropHeight - (wr.bottom - wr.top));
  const int h = std::min(room, std::max(1, count) * s->itemHeight + 2);
  int y = wr.bottom;
  if (y + h > GetSystemMetrics(SM_CYSCREEN) && wr.top - h >= 0) y = wr.top - h;
  s->chosen = CurSel(s);
  ListSetCurrent(s->list, s->chosen);
  SetWindowPos(s->list, HWND_TOPMOST, wr.left, y, wr.right - wr.left, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  s->dropped = true;
  s->buttonDown = true;
  SetCapture(cb);
  InvalidateRect(cb, nullptr, FALSE);
}

// The user chose item `i` (by the keyboard, or in the list).
void Choose(HWND cb, const State& s, int i) {
  const int count = static_cast<int>(SendMessage(s->list, LB_GETCOUNT, 0, 0));
  if (i < 0 || i >= count) return;
  const bool same = i == CurSel(s);
  if (s->dropped) {
    s->chosen = i;
    ListSetCurrent(s->list, i);
  } else {
    SendMessage(s->list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
  }
  if (same && !s->edit) return;
  ShowSelection(cb, s);
  NotifyParent(cb, CBN_SELCHANGE);
}

// The list's point under a position of the combo box's client area.
POINT ToList(HWND cb, const State& s, LPARAM lp) {
  POINT p{static_cast<SHORT>(LOWORD(lp)), static_cast<SHORT>(HIWORD(lp))};
  MapWindowPoints(cb, s->list, &p, 1);
  return p;
}

bool InsideWindow(HWND w, POINT client) {
  RECT rc;
  GetClientRect(w, &rc);
  return PtInRect(&rc, client) != FALSE;
}

// Keys the field and the list share; true when taken.
bool Key(HWND cb, const State& s, WPARAM vk, bool alt) {
  const int count = static_cast<int>(SendMessage(s->list, LB_GETCOUNT, 0, 0));
  const int cur = CurSel(s);
  const int page = std::max(1, ListVisibleRows(s->list) - 1);
  if (vk == VK_F4 || (alt && (vk == VK_DOWN || vk == VK_UP))) {
    if (IsSimple(cb)) return false;
    if (s->dropped) Close(cb, s, true);
    else Drop(cb, s);
    return true;
  }
  switch (vk) {
    case VK_RETURN:
      if (!s->dropped) return false;
      Close(cb, s, true);
      return true;
    case VK_ESCAPE:
      if (!s->dropped) return false;
      Close(cb, s, false);
      return true;
    case VK_UP: Choose(cb, s, std::max(0, cur - 1)); return true;
    case VK_DOWN: Choose(cb, s, cur < 0 ? 0 : std::min(count - 1, cur + 1)); return true;
    case VK_PRIOR: Choose(cb, s, std::max(0, cur - page)); return true;
    case VK_NEXT: Choose(cb, s, std::min(count - 1, cur + page)); return true;
    case VK_HOME:
      if (s->edit) return false;
      Choose(cb, s, 0);
      return true;
    case VK_END:
      if (s->edit) return false;
      Choose(cb, s, count - 1);
      return true;
    default: return false;
  }
}

void Paint(HWND cb, const State& s, HDC dc) {
  RECT rc;
  GetClientRect(cb, &rc);
  const bool disabled = !IsWindowEnabled(cb);
  HBRUSH back = ControlColor(cb, dc, WM_CTLCOLOREDIT);
  const COLORREF text = GetTextColor(dc);
  RECT top = rc;
  if (IsSimple(cb)) top.bottom = std::min<LONG>(rc.bottom, ClosedHeight(s));
  FillRect(dc, &top, GetSysColorBrush(COLOR_3DFACE));
  if (OwnEdge(cb)) {
    RECT edge = top;
    DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
  }
  const RECT field = FieldRect(cb, s);
  FillRect(dc, &field, disabled ? GetSysColorBrush(COLOR_3DFACE) : back);
  if (!IsSimple(cb)) {
    const RECT button = ButtonRect(cb, s);
    DrawRaisedFace(dc, button, s->buttonDown);
    RECT glyph = button;
    if (s->buttonDown) OffsetRect(&glyph, 1, 1);
    DrawDownArrow(dc, glyph, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  }
  if (!s->edit) {
    RECT sel = field;
    InflateRect(&sel, -1, -1);
    const int i = CurSel(s);
    HGDIOBJ old = SelectObject(dc, s->font ? s->font : GetStockObject(SYSTEM_FONT));
    SetBkMode(dc, TRANSPARENT);
    const bool highlight = s->focused && !s->dropped && !disabled;
    if (highlight) {
      FillRect(dc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
      SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else {
      SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : text);
    }
    if (i >= 0) {
      const std::string t = ItemText(s, i);
      RECT tr = sel;
      tr.left += 2;
      DrawText(dc, t.c_str(), static_cast<int>(t.size()), &tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (highlight) DrawFocus(dc, sel);
    SelectObject(dc, old);
  }
}

LRESULT Create(HWND cb, const CREATESTRUCT* cs) {
  State s = States().Attach(cb);
  Remeasure(cb, s);
  const DWORD style = Style(cb);
  HINSTANCE inst = cs ? cs->hInstance : nullptr;
  DWORD listStyle = LBS_HASSTRINGS | ((style & CBS_SORT) ? LBS_SORT : 0) | LBS_NOINTEGRALHEIGHT |
                    ((style & WS_VSCROLL) ? WS_VSCROLL : 0);
  if (IsSimple(cb)) {
    s->list = CreateWindowEx(WS_EX_CLIENTEDGE, kComboListClass, "", WS_CHILD | WS_VISIBLE | LBS_NOTIFY | listStyle,
                             0, 0, 0, 0, cb, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kComboListId)), inst,
                             nullptr);
  } else {
    s->list = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kComboListClass, "", WS_POPUP | WS_BORDER | listStyle,
                             0, 0, 0, 0, TopLevel(cb), nullptr, inst, nullptr);
    if (auto ls = ListStateOf(s->list)) ls->combo = cb;
  }
  if (!s->list) return -1;
  if (!IsList(cb)) {
    DWORD editStyle = WS_CHILD | WS_VISIBLE | ((style & CBS_AUTOHSCROLL) ? ES_AUTOHSCROLL : 0) |
                      ((style & CBS_UPPERCASE) ? ES_UPPERCASE : 0) | ((style & CBS_LOWERCASE) ? ES_LOWERCASE : 0);
    s->edit = CreateWindowEx(0, "EDIT", "", editStyle, 0, 0, 0, 0, cb,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kComboEditId)), inst, nullptr);
    if (!s->edit) return -1;
  }
  // The scroll-bar styles are the list's: the box itself has no bars.
  SetWindowLong(cb, GWL_STYLE, static_cast<LONG_PTR>(style & ~static_cast<DWORD>(WS_VSCROLL | WS_HSCROLL)));
  if (!IsSimple(cb) && cs) {
    s->dropHeight = cs->cy;
    SetWindowPos(cb, nullptr, 0, 0, cs->cx, ClosedHeight(s),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  } else {
    SetWindowPos(cb, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  Layout(cb, s);
  return 0;
}

LRESULT CbMessage(HWND cb, const State& s, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case CB_ADDSTRING: return SendMessage(s->list, LB_ADDSTRING, wp, lp);
    case CB_INSERTSTRING: return SendMessage(s->list, LB_INSERTSTRING, wp, lp);
    case CB_DELETESTRING: {
      const LRESULT r = SendMessage(s->list, LB_DELETESTRING, wp, lp);
      InvalidateRect(cb, nullptr, FALSE);
      return r;
    }
    case CB_RESETCONTENT:
      SendMessage(s->list, LB_RESETCONTENT, 0, 0);
      if (s->edit) SetWindowText(s->edit, "");
      InvalidateRect(cb, nullptr, FALSE);
      return CB_OKAY;
    case CB_GETCOUNT: return SendMessage(s->list, LB_GETCOUNT, 0, 0);
    case CB_GETLBTEXT: return SendMessage(s->list, LB_GETTEXT, wp, lp);
    case CB_GETLBTEXTLEN: return SendMessage(s->list, LB_GETTEXTLEN, wp, lp);
    case CB_SETCURSEL: {
      const LRESULT r = SendMessage(s->list, LB_SETCURSEL, wp, 0);
      if (s->dropped) s->chosen = static_cast<int>(r);
      ShowSelection(cb, s);
      return r;
    }
    case CB_GETCURSEL: return CurSel(s);
    case CB_FINDSTRING: return SendMessage(s->list, LB_FINDSTRING, wp, lp);
    case CB_FINDSTRINGEXACT: return SendMessage(s->list, LB_FINDSTRINGEXACT, wp, lp);
    case CB_SELECTSTRING: {
      const LRESULT r = SendMessage(s->list, LB_SELECTSTRING, wp, lp);
      if (r >= 0) ShowSelection(cb, s);
      return r;
    }
    case CB_SETITEMDATA: return SendMessage(s->list, LB_SETITEMDATA, wp, lp);
    case CB_GETITEMDATA: return SendMessage(s->list, LB_GETITEMDATA, wp, lp);
    case CB_SHOWDROPDOWN:
      if (wp) Drop(cb, s);
      else Close(cb, s, false);
      return TRUE;
    case CB_GETDROPPEDSTATE: return s->dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: {
      RECT* out = reinterpret_cast<RECT*>(lp);
      if (!out) return CB_ERR;
      GetWindowRect(cb, out);
      if (!IsSimple(cb)) out->bottom = out->top + std::max<LONG>(s->dropHeight, out->bottom - out->top);
      return CB_OKAY;
    }
    case CB_GETITEMHEIGHT:
      return static_cast<int>(wp) == -1 ? ClosedHeight(s) - 6 : SendMessage(s->list, LB_GETITEMHEIGHT, 0, 0);
    case CB_SETITEMHEIGHT:
      if (static_cast<int>(wp) == -1) return CB_ERR;
      return SendMessage(s->list, LB_SETITEMHEIGHT, 0, lp);
    case CB_LIMITTEXT:
      if (!s->edit) return FALSE;
      SendMessage(s->edit, EM_LIMITTEXT, wp, 0);
      return TRUE;
    case CB_GETEDITSEL:
      return s->edit ? SendMessage(s->edit, EM_GETSEL, wp, lp) : CB_ERR;
    case CB_SETEDITSEL:
      if (!s->edit) return CB_ERR;
      SendMessage(s->edit, EM_SETSEL, static_cast<WPARAM>(static_cast<SHORT>(LOWORD(lp))),
                  static_cast<LPARAM>(static_cast<SHORT>(HIWORD(lp))));
      return TRUE;
    default: return CB_ERR;
  }
}

LRESULT Child(HWND cb, const State& s, WPARAM wp, LPARAM lp) {
  const HWND from = reinterpret_cast<HWND>(lp);
  const WORD code = HIWORD(wp);
  if (from == s->edit && s->edit) {
    switch (code) {
      case EN_CHANGE: NotifyParent(cb, CBN_EDITCHANGE); break;
      case EN_UPDATE: NotifyParent(cb, CBN_EDITUPDATE); break;
      case EN_SETFOCUS:
        s->focused = true;
        NotifyParent(cb, CBN_SETFOCUS);
        break;
      case EN_KILLFOCUS:
        if (GetFocus() != cb) {
          Close(cb, s, false);
          s->focused = false;
          if (IsWindow(cb)) NotifyParent(cb, CBN_KILLFOCUS);
        }
        break;
      default: break;
    }
  } else if (from == s->list && IsSimple(cb)) {
    if (code == LBN_SELCHANGE) {
      ShowSelection(cb, s);
      NotifyParent(cb, CBN_SELCHANGE);
    } else if (code == LBN_DBLCLK) {
      NotifyParent(cb, CBN_DBLCLK);
    }
  }
  return 0;
}

}  // namespace

LRESULT ComboBoxProc(HWND cb, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CREATE) return Create(cb, reinterpret_cast<const CREATESTRUCT*>(lp));
  State s = States().Get(cb);
  if (!s) return DefWindowProc(cb, msg, wp, lp);
  switch (msg) {
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS | (s->dropped ? DLGC_WANTALLKEYS : 0);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(cb, &ps);
      if (dc) Paint(cb, s, dc);
      EndPaint(cb, &ps);
      return 0;
    }
    case WM_WINDOWPOSCHANGING: {
      // The height asked for is the height with the list down.
      auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
      if (pos && !IsSimple(cb) && !(pos->flags & SWP_NOSIZE) && pos->cy != ClosedHeight(s)) {
        s->dropHeight = pos->cy;
        pos->cy = ClosedHeight(s);
      }
      return DefWindowProc(cb, msg, wp, lp);
    }
    case WM_SIZE:
      Layout(cb, s);
      return 0;
    case WM_SETFONT: {
      DefWindowProc(cb, msg, wp, 0);
      s->font = reinterpret_cast<HFONT>(wp);
      Remeasure(cb, s);
      if (IsWindow(s->list)) SendMessage(s->list, WM_SETFONT, wp, 0);
      if (s->edit) SendMessage(s->edit, WM_SETFONT, wp, 0);
      if (!IsSimple(cb)) {
        RECT wr;
        GetWindowRect(cb, &wr);
        SetWindowPos(cb, nullptr, 0, 0, wr.right - wr.left, ClosedHeight(s), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      Layout(cb, s);
      if (LOWORD(lp)) InvalidateRect(cb, nullptr, TRUE);
      return 0;
    }
    case WM_ENABLE:
      if (s->edit) EnableWindow(s->edit, wp ? TRUE : FALSE);
      if (!wp) Close(cb, s, false);
      InvalidateRect(cb, nullptr, FALSE);
      return 0;
    case WM_SETFOCUS:
      if (s->edit) {
        SetFocus(s->edit);
        if (IsWindow(s->edit) && GetFocus() == s->edit) SendMessage(s->edit, EM_SETSEL, 0, -1);
        return 0;
      }
      s->focused = true;
      InvalidateRect(cb, nullptr, FALSE);
      NotifyParent(cb, CBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (s->edit && reinterpret_cast<HWND>(wp) == s->edit) return 0;
      Close(cb, s, false);
      if (!IsWindow(cb)) return 0;
      if (!s->edit) {
        s->focused = false;
        InvalidateRect(cb, nullptr, FALSE);
        NotifyParent(cb, CBN_KILLFOCUS);
      }
      return 0;
    case WM_KEYDOWN:
      if (!Key(cb, s, wp, false) && IsList(cb)) return DefWindowProc(cb, msg, wp, lp);
      return 0;
    case WM_SYSKEYDOWN:
      if ((wp == VK_DOWN || wp == VK_UP) && Key(cb, s, wp, true)) return 0;
      return DefWindowProc(cb, msg, wp, lp);
    case WM_CHAR:
      if (IsList(cb) && wp > ' ' && wp <= 0xFF) {
        const char prefix[2] = {static_cast<char>(wp), 0};
        const int at = CurSel(s);
        const int i = static_cast<int>(SendMessage(s->list, LB_FINDSTRING, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(prefix)));
        if (i >= 0) Choose(cb, s, i);
      }
      return 0;
    case kComboEditKey: return Key(cb, s, wp, (lp & (1 << 29)) != 0) ? 1 : 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const POINT p{static_cast<SHORT>(LOWORD(lp)), static_cast<SHORT>(HIWORD(lp))};
      if (s->dropped) {
        const POINT lpnt = ToList(cb, s, lp);
        if (InsideWindow(s->list, lpnt)) {
          const int i = ListItemAt(s->list, lpnt);
          if (i >= 0) Choose(cb, s, i);
          if (IsWindow(cb)) Close(cb, s, true);
        } else {
          Close(cb, s, false);
        }
        return 0;
      }
      if (IsSimple(cb)) return 0;
      const RECT button = ButtonRect(cb, s);
      if (!IsList(cb) && !PtInRect(&button, p)) return 0;
      if (GetFocus() != cb && !(s->edit && GetFocus() == s->edit)) SetFocus(cb);
      if (!IsWindow(cb)) return 0;
      Drop(cb, s);
      s->tracking = s->dropped;
      return 0;
    }
    case WM_MOUSEMOVE:
      if (s->dropped) {
        const POINT lpnt = ToList(cb, s, lp);
        if (InsideWindow(s->list, lpnt)) {
          const int i = ListItemAt(s->list, lpnt);
          if (i >= 0) ListSetCurrent(s->list, i);
        }
      }
      return 0;
    case WM_LBUTTONUP:
      if (s->dropped && s->tracking) {
        s->tracking = false;
        const POINT lpnt = ToList(cb, s, lp);
        // Released over the list after pressing on the field: that item.
        if (InsideWindow(s->list, lpnt)) {
          const int i = ListItemAt(s->list, lpnt);
          if (i >= 0) Choose(cb, s, i);
          if (IsWindow(cb)) Close(cb, s, true);
        }
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (s->dropped && reinterpret_cast<HWND>(lp) != cb) Close(cb, s, false);
      return 0;
    case WM_CANCELMODE:
      Close(cb, s, false);
      return 0;
    case WM_COMMAND: return Child(cb, s, wp, lp);
    case WM_GETTEXT: {
      if (s->edit) return SendMessage(s->edit, msg, wp, lp);
      char* out = reinterpret_cast<char*>(lp);
      if (!out || wp == 0) return 0;
      const int i = CurSel(s);
      const std::string t = i >= 0 ? ItemText(s, i) : std::string();
      const size_t n = std::min(t.size(), static_cast<size_t>(wp) - 1);
      std::memcpy(out, t.data(), n);
      out[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: {
      if (s->edit) return SendMessage(s->edit, msg, wp, lp);
      const int i = CurSel(s);
      return i >= 0 ? SendMessage(s->list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) : 0;
    }
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lp);
      if (s->edit) return SendMessage(s->edit, msg, wp, lp);
      const LRESULT i = SendMessage(s->list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), lp);
      if (i < 0 || !text) return CB_ERR;
      SendMessage(s->list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
      InvalidateRect(cb, nullptr, FALSE);
      return TRUE;
    }
    case WM_DESTROY:
      if (!IsSimple(cb) && IsWindow(s->list)) DestroyWindow(s->list);
      return DefWindowProc(cb, msg, wp, lp);
    default:
      if (msg >= CB_GETEDITSEL && msg <= CB_FINDSTRINGEXACT) return CbMessage(cb, s, msg, wp, lp);
      return DefWindowProc(cb, msg, wp, lp);
  }
}

}  // namespace win::user
