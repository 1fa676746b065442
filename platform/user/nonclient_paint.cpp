// Drawing the non-client area: frame, caption, menu bar and scroll bars.
#include <algorithm>

#include "menus/menu_bar.h"
#include "nonclient.h"
#include "scrollbar.h"
#include "tracking.h"
#include "win/gdi.h"
#include "window_store.h"

namespace win::user {
namespace {

void Fill(HDC dc, const RECT& r, int sysColor) {
  if (r.right > r.left && r.bottom > r.top) FillRect(dc, &r, GetSysColorBrush(sysColor));
}

// The ring between `outer` and `outer` inset by `width`.
void FillRing(HDC dc, const RECT& outer, int width, int sysColor) {
  if (width <= 0) return;
  Fill(dc, RECT{outer.left, outer.top, outer.right, outer.top + width}, sysColor);
  Fill(dc, RECT{outer.left, outer.bottom - width, outer.right, outer.bottom}, sysColor);
  Fill(dc, RECT{outer.left, outer.top + width, outer.left + width, outer.bottom - width}, sysColor);
  Fill(dc, RECT{outer.right - width, outer.top + width, outer.right, outer.bottom - width}, sysColor);
}

void DrawCloseGlyph(HDC dc, const RECT& box, bool pressed) {
  // An 8 x 7 cross of two-pixel strokes, centred.
  const int w = box.right - box.left, h = box.bottom - box.top;
  const int x0 = box.left + (w - 8) / 2 + (pressed ? 1 : 0);
  const int y0 = box.top + (h - 7) / 2 + (pressed ? 1 : 0);
  HBRUSH brush = GetSysColorBrush(COLOR_BTNTEXT);
  for (int i = 0; i < 7; ++i) {
    RECT a{x0 + i, y0 + i, x0 + i + 2, y0 + i + 1};
    RECT b{x0 + 6 - i, y0 + i, x0 + 8 - i, y0 + i + 1};
    FillRect(dc, &a, brush);
    FillRect(dc, &b, brush);
  }
}

void DrawCaption(HDC dc, HWND wnd, const Window& w, const FrameLayout& f) {
  if (f.caption.bottom <= f.caption.top) return;
  const bool active = GetActiveWindow() == TopLevelOf(wnd);
  RECT bar = f.caption;
  bar.bottom -= 1;  // the caption's last line belongs to the frame's face
  Fill(dc, bar, active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
  Fill(dc, RECT{f.caption.left, f.caption.bottom - 1, f.caption.right, f.caption.bottom}, COLOR_BTNFACE);
  RECT text = bar;
  text.left += 2;
  if (w.style & WS_SYSMENU) text.left += GetSystemMetrics(SM_CXSIZE);
  if (f.closeBox.right > f.closeBox.left) text.right = f.closeBox.left - 2;
  if (!w.text.empty() && text.right > text.left) {
    HFONT font = CreateFont(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS,
                            "MS Sans Serif");
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor =
        SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    DrawText(dc, w.text.c_str(), static_cast<int>(w.text.size()), &text,
             DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    if (font) {
      SelectObject(dc, oldFont);
      DeleteObject(font);
    }
  }
  if (f.closeBox.right > f.closeBox.left) {
    const bool pressed = ClosePressed(wnd);
    DrawButtonFace(dc, f.closeBox, pressed);
    DrawCloseGlyph(dc, f.closeBox, pressed);
  }
}

}  // namespace

void PaintFrame(HWND wnd) {
  Window* w = FindWindow(wnd);
  if (!w) return;
  HDC dc = GetWindowDC(wnd);
  if (!dc) return;
  const FrameLayout f = LayoutFrameOf(*w);
  const RECT whole{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
  const bool thick = (w->style & WS_THICKFRAME) != 0;
  const bool dialog = (w->style & WS_DLGFRAME) || (w->exStyle & WS_EX_DLGMODALFRAME);
  if ((thick || dialog) && f.border >= 2) {
    RECT edge = whole;
    DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    const bool active = GetActiveWindow() == TopLevelOf(wnd);
    const RECT inside{whole.left + 2, whole.top + 2, whole.right - 2, whole.bottom - 2};
    FillRing(dc, inside, f.border - 2,
             thick ? (active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER) : COLOR_BTNFACE);
  } else if (f.border > 0) {
    RECT edge = whole;
    FrameRect(dc, &edge, GetSysColorBrush(COLOR_WINDOWFRAME));
  }
  DrawCaption(dc, wnd, *w, f);
  if (w->exStyle & WS_EX_CLIENTEDGE) {
    RECT edge = f.edge;
    DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
  } else if (w->exStyle & WS_EX_STATICEDGE) {
    RECT edge = f.edge;
    DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
  }
  if (w->style & WS_VSCROLL) PaintScrollBar(dc, wnd, SB_VERT);
  if (w->style & WS_HSCROLL) PaintScrollBar(dc, wnd, SB_HORZ);
  Fill(dc, f.sizeBox, COLOR_BTNFACE);
  ReleaseDC(wnd, dc);
  if (f.menuBar.bottom > f.menuBar.top) PaintMenuBar(wnd);
}

}  // namespace win::user
