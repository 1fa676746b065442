#include "static_control.h"

#include "control_common.h"
#include "glyphs.h"

namespace win::user {
namespace {

constexpr int kImage = 0;  // the icon or bitmap shown
constexpr int kImageKind = static_cast<int>(sizeof(LONG_PTR));

DWORD Type(HWND s) { return static_cast<DWORD>(GetWindowLong(s, GWL_STYLE)) & SS_TYPEMASK; }

void Frame(HDC dc, RECT r, int sysColor) { FrameRect(dc, &r, GetSysColorBrush(sysColor)); }

void PaintText(HWND s, HDC dc, DWORD style, const RECT& rc) {
  HBRUSH back = ControlColor(s, dc, WM_CTLCOLORSTATIC);
  FillRect(dc, &rc, back);
  HGDIOBJ old = SelectObject(dc, ControlFont(s));
  UINT format = DT_EXPANDTABS;
  switch (style & SS_TYPEMASK) {
    case SS_CENTER: format |= DT_CENTER | DT_WORDBREAK; break;
    case SS_RIGHT: format |= DT_RIGHT | DT_WORDBREAK; break;
    case SS_SIMPLE: format |= DT_SINGLELINE | DT_NOCLIP; break;
    case SS_LEFTNOWORDWRAP: format |= DT_LEFT; break;
    default: format |= DT_LEFT | DT_WORDBREAK; break;
  }
  if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
  if (style & SS_CENTERIMAGE) format = (format & ~static_cast<UINT>(DT_WORDBREAK)) | DT_SINGLELINE | DT_VCENTER;
  DrawControlText(dc, WindowTextOf(s), rc, format, !IsWindowEnabled(s));
  SelectObject(dc, old);
}

void PaintImage(HWND s, HDC dc, const RECT& rc) {
  HBRUSH back = ControlColor(s, dc, WM_CTLCOLORSTATIC);
  FillRect(dc, &rc, back);
  const LONG_PTR image = GetWindowLong(s, kImage);
  if (!image) return;
  if (GetWindowLong(s, kImageKind) == IMAGE_ICON) {
    int x = 0, y = 0;
    if (GetWindowLong(s, GWL_STYLE) & SS_CENTERIMAGE) {
      x = ((rc.right - rc.left) - kIconSize) / 2;
      y = ((rc.bottom - rc.top) - kIconSize) / 2;
    }
    DrawIcon(dc, x, y, reinterpret_cast<HICON>(image));
    return;
  }
  HBITMAP bitmap = reinterpret_cast<HBITMAP>(image);
  BITMAP bm{};
  if (!GetObject(bitmap, sizeof bm, &bm)) return;
  HDC mem = CreateCompatibleDC(dc);
  if (!mem) return;
  HGDIOBJ old = SelectObject(mem, bitmap);
  BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

void Paint(HWND s, HDC dc) {
  RECT rc;
  GetClientRect(s, &rc);
  const DWORD style = static_cast<DWORD>(GetWindowLong(s, GWL_STYLE));
  switch (style & SS_TYPEMASK) {
    case SS_ICON:
    case SS_BITMAP: PaintImage(s, dc, rc); break;
    case SS_BLACKRECT: FillRect(dc, &rc, GetSysColorBrush(COLOR_3DDKSHADOW)); break;
    case SS_GRAYRECT: FillRect(dc, &rc, GetSysColorBrush(COLOR_3DSHADOW)); break;
    case SS_WHITERECT: FillRect(dc, &rc, GetSysColorBrush(COLOR_3DHILIGHT)); break;
    case SS_BLACKFRAME: Frame(dc, rc, COLOR_3DDKSHADOW); break;
    case SS_GRAYFRAME: Frame(dc, rc, COLOR_3DSHADOW); break;
    case SS_WHITEFRAME: Frame(dc, rc, COLOR_3DHILIGHT); break;
    case SS_ETCHEDHORZ: {
      RECT top{rc.left, rc.top, rc.right, rc.top + 1};
      RECT bottom{rc.left, rc.top + 1, rc.right, rc.top + 2};
      FillRect(dc, &top, GetSysColorBrush(COLOR_3DSHADOW));
      FillRect(dc, &bottom, GetSysColorBrush(COLOR_3DHILIGHT));
      break;
    }
    case SS_ETCHEDVERT: {
      RECT left{rc.left, rc.top, rc.left + 1, rc.bottom};
      RECT right{rc.left + 1, rc.top, rc.left + 2, rc.bottom};
      FillRect(dc, &left, GetSysColorBrush(COLOR_3DSHADOW));
      FillRect(dc, &right, GetSysColorBrush(COLOR_3DHILIGHT));
      break;
    }
    case SS_ETCHEDFRAME: {
      RECT edge = rc;
      DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
      break;
    }
    case SS_OWNERDRAW: {
      HWND parent = GetParent(s);
      if (!parent) break;
      DRAWITEMSTRUCT dis{};
      dis.CtlType = ODT_STATIC;
      dis.CtlID = static_cast<UINT>(GetDlgCtrlID(s));
      dis.itemAction = ODA_DRAWENTIRE;
      if (!IsWindowEnabled(s)) dis.itemState |= ODS_DISABLED;
      dis.hwndItem = s;
      dis.hDC = dc;
      dis.rcItem = rc;
      SendMessage(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
      break;
    }
    default: PaintText(s, dc, style, rc); break;
  }
  if (IsWindow(s) && (style & SS_SUNKEN)) {
    RECT edge = rc;
    DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
  }
}

LONG_PTR SetImage(HWND s, LONG_PTR image, LONG_PTR kind) {
  const LONG_PTR old = SetWindowLong(s, kImage, image);
  SetWindowLong(s, kImageKind, kind);
  // An icon static takes the icon's size.
  if (kind == IMAGE_ICON && image && !(GetWindowLong(s, GWL_STYLE) & SS_CENTERIMAGE))
    SetWindowPos(s, nullptr, 0, 0, kIconSize, kIconSize, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(s, nullptr, TRUE);
  return old;
}

}  // namespace

LRESULT StaticProc(HWND s, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lp);
      const DWORD type = Type(s);
      if (cs && cs->lpszName && (type == SS_ICON || type == SS_BITMAP)) {
        HINSTANCE inst = cs->hInstance;
        if (type == SS_ICON) {
          if (HICON icon = LoadIcon(inst, cs->lpszName)) SetImage(s, reinterpret_cast<LONG_PTR>(icon), IMAGE_ICON);
        } else if (HBITMAP bm = LoadBitmap(inst, cs->lpszName)) {
          SetImage(s, reinterpret_cast<LONG_PTR>(bm), IMAGE_BITMAP);
        }
      }
      return 0;
    }
    case WM_NCHITTEST:
      // Static controls let clicks through to their parent unless asked.
      if (!(GetWindowLong(s, GWL_STYLE) & SS_NOTIFY)) return HTTRANSPARENT;
      return DefWindowProc(s, msg, wp, lp);
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(s, &ps);
      if (dc) Paint(s, dc);
      EndPaint(s, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
      if (GetWindowLong(s, GWL_STYLE) & SS_NOTIFY) NotifyParent(s, STN_CLICKED);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (GetWindowLong(s, GWL_STYLE) & SS_NOTIFY) NotifyParent(s, STN_DBLCLK);
      return 0;
    case WM_SETTEXT:
    case WM_ENABLE: {
      const LRESULT r = DefWindowProc(s, msg, wp, lp);
      InvalidateRect(s, nullptr, TRUE);
      return r;
    }
    case STM_SETICON: return SetImage(s, static_cast<LONG_PTR>(wp), IMAGE_ICON);
    case STM_GETICON:
      return GetWindowLong(s, kImageKind) == IMAGE_ICON ? GetWindowLong(s, kImage) : 0;
    case STM_SETIMAGE:
      if (wp != IMAGE_ICON && wp != IMAGE_BITMAP) return 0;
      return SetImage(s, lp, static_cast<LONG_PTR>(wp));
    case STM_GETIMAGE:
      return GetWindowLong(s, kImageKind) == static_cast<LONG_PTR>(wp) ? GetWindowLong(s, kImage) : 0;
    default: return DefWindowProc(s, msg, wp, lp);
  }
}

}  // namespace win::user
