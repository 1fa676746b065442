// The scroll-bar functions of windows: state, visibility and layout. For
// SB_CTL the window is a scroll-bar control and the functions send it the
// SBM_ messages, as Windows does.
#include "scrollbar.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "geometry.h"
#include "nonclient.h"
#include "win/gdi.h"
#include "win/kernel.h"

namespace win::user {
namespace {

// Windows 95 keeps a proportional thumb at least this long.
constexpr int kMinThumb = 8;

DWORD StyleBit(int bar) { return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL; }

bool ValidBar(int bar) { return bar == SB_HORZ || bar == SB_VERT; }

// Keeps page and position within the range.
void Normalise(ScrollBarState& s) {
  const std::int64_t span = static_cast<std::int64_t>(s.max) - s.min + 1;
  if (static_cast<std::int64_t>(s.page) > span) s.page = static_cast<UINT>(std::max<std::int64_t>(span, 0));
  s.pos = std::clamp(s.pos, s.min, std::max(s.min, MaxScrollPos(s)));
}

// Shows or hides bars by their style bits; the client area follows.
bool SetBarsShown(HWND wnd, DWORD bits, bool show) {
  Window* w = FindWindow(wnd);
  if (!w) return false;
  const DWORD before = w->style;
  if (show)
    w->style |= bits;
  else
    w->style &= ~bits;
  if (w->style == before) return false;
  SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return true;
}

}  // namespace

int MaxScrollPos(const ScrollBarState& s) {
  const std::int64_t page = s.page > 0 ? static_cast<std::int64_t>(s.page) - 1 : 0;
  return static_cast<int>(std::max<std::int64_t>(static_cast<std::int64_t>(s.max) - page, INT_MIN));
}

ScrollBarState* BarState(Window& w, int bar) {
  if (bar == SB_VERT) return &w.vscroll;
  if (bar == SB_HORZ) return &w.hscroll;
  return nullptr;
}

BarGeometry MeasureBar(const Window& w, int bar) {
  BarGeometry g;
  const FrameLayout f = LayoutFrameOf(w);
  g.vertical = bar == SB_VERT;
  g.rect = g.vertical ? f.vscroll : f.hscroll;
  const int along = g.vertical ? g.rect.bottom - g.rect.top : g.rect.right - g.rect.left;
  const int across = g.vertical ? g.rect.right - g.rect.left : g.rect.bottom - g.rect.top;
  g.length = std::max(0, along);
  g.arrow = std::min(across, g.length / 2);
  const ScrollBarState& s = bar == SB_VERT ? w.vscroll : w.hscroll;
  const int track = g.length - 2 * g.arrow;
  if (track <= 0 || (s.disabled & ESB_DISABLE_BOTH) == ESB_DISABLE_BOTH || s.max <= s.min) return g;
  if (s.page > 0) {
    const std::int64_t span = static_cast<std::int64_t>(s.max) - s.min + 1;
    g.thumbSize = static_cast<int>(std::max<std::int64_t>(track * static_cast<std::int64_t>(s.page) / span, kMinThumb));
  } else {
    g.thumbSize = GetSystemMetrics(g.vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
  }
  const int room = track - g.thumbSize;
  if (room < 0) return g;
  g.hasThumb = true;
  const int maxPos = MaxScrollPos(s);
  const std::int64_t range = static_cast<std::int64_t>(maxPos) - s.min;
  g.thumbOffset = g.arrow + (range > 0 ? static_cast<int>(room * (static_cast<std::int64_t>(s.pos) - s.min) / range) : 0);
  return g;
}

ScrollPart PartAt(const Window& w, int bar, const BarGeometry& g, POINT p) {
  if (p.x < g.rect.left || p.x >= g.rect.right || p.y < g.rect.top || p.y >= g.rect.bottom)
    return ScrollPart::None;
  const ScrollBarState& s = bar == SB_VERT ? w.vscroll : w.hscroll;
  if ((s.disabled & ESB_DISABLE_BOTH) == ESB_DISABLE_BOTH) return ScrollPart::None;
  const int at = g.vertical ? p.y - g.rect.top : p.x - g.rect.left;
  if (at < g.arrow) return (s.disabled & ESB_DISABLE_LTUP) ? ScrollPart::None : ScrollPart::ArrowUp;
  if (at >= g.length - g.arrow) return (s.disabled & ESB_DISABLE_RTDN) ? ScrollPart::None : ScrollPart::ArrowDown;
  if (!g.hasThumb) return ScrollPart::None;
  if (at < g.thumbOffset) return ScrollPart::PageUp;
  if (at < g.thumbOffset + g.thumbSize) return ScrollPart::Thumb;
  return ScrollPart::PageDown;
}

int ThumbValueAt(const ScrollBarState& s, const BarGeometry& g, int thumbOffset) {
  const int room = g.length - 2 * g.arrow - g.thumbSize;
  if (room <= 0) return s.min;
  const std::int64_t at = std::clamp(thumbOffset - g.arrow, 0, room);
  const std::int64_t range = static_cast<std::int64_t>(MaxScrollPos(s)) - s.min;
  return static_cast<int>(s.min + (at * range + room / 2) / room);
}

void RedrawScrollBar(HWND wnd, int bar) {
  Window* w = FindWindow(wnd);
  if (!w || !(w->style & StyleBit(bar)) || !IsShowing(wnd)) return;
  if (HDC dc = GetWindowDC(wnd)) {
    PaintScrollBar(dc, wnd, bar);
    ReleaseDC(wnd, dc);
  }
}

}  // namespace win::user

using namespace win::user;

namespace {

// A control's scroll-bar message; false (last error set) for no window.
bool SendToControl(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (!FindWindow(wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  *result = SendMessage(wnd, msg, wp, lp);
  return true;
}

}  // namespace

int SetScrollInfo(HWND wnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
  if (bar == SB_CTL) {
    LRESULT pos = 0;
    if (!info) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    SendToControl(wnd, SBM_SETSCROLLINFO, static_cast<WPARAM>(redraw), reinterpret_cast<LPARAM>(info), &pos);
    return static_cast<int>(pos);
  }
  Window* w = FindWindow(wnd);
  if (!w || !info || !ValidBar(bar)) {
    SetLastError(w ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  ScrollBarState& s = *BarState(*w, bar);
  bool paramsChanged = false;
  if ((info->fMask & SIF_PAGE) && s.page != info->nPage) {
    s.page = info->nPage;
    paramsChanged = true;
  }
  if ((info->fMask & SIF_RANGE) && (s.min != info->nMin || s.max != info->nMax)) {
    // An inverted range, or one wider than an int can count, becomes 0 .. 0.
    const std::int64_t span = static_cast<std::int64_t>(info->nMax) - info->nMin;
    if (span < 0 || span >= 0x80000000LL) {
      s.min = s.max = 0;
    } else {
      s.min = info->nMin;
      s.max = info->nMax;
    }
    paramsChanged = true;
  }
  if (info->fMask & SIF_POS) s.pos = info->nPos;
  Normalise(s);

  bool show = false, hide = false;
  if (info->fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL)) {
    if (s.min >= MaxScrollPos(s)) {
      // Nothing to scroll.
      if (info->fMask & SIF_DISABLENOSCROLL)
        s.disabled = ESB_DISABLE_BOTH;
      else if (paramsChanged)
        hide = true;
    } else if ((info->fMask & ~static_cast<UINT>(SIF_TRACKPOS)) != SIF_PAGE) {
      s.disabled = ESB_ENABLE_BOTH;
      if (paramsChanged) show = true;
    }
  }
  const int pos = s.pos;
  bool reframed = false;
  if (hide) reframed = SetBarsShown(wnd, StyleBit(bar), false);
  if (show) reframed = SetBarsShown(wnd, StyleBit(bar), true);
  if (redraw && !reframed) RedrawScrollBar(wnd, bar);
  return pos;
}

BOOL GetScrollInfo(HWND wnd, int bar, LPSCROLLINFO info) {
  if (bar == SB_CTL) {
    LRESULT ok = FALSE;
    if (!info || !SendToControl(wnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info), &ok)) return FALSE;
    return ok ? TRUE : FALSE;
  }
  Window* w = FindWindow(wnd);
  if (!w || !info || !ValidBar(bar)) return FALSE;
  const ScrollBarState& s = *BarState(*w, bar);
  if (info->fMask & SIF_RANGE) {
    info->nMin = s.min;
    info->nMax = s.max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = s.page;
  if (info->fMask & SIF_POS) info->nPos = s.pos;
  if (info->fMask & SIF_TRACKPOS)
    info->nTrackPos = PressedScrollPart(wnd, bar) == ScrollPart::Thumb ? s.trackPos : s.pos;
  return TRUE;
}

int SetScrollPos(HWND wnd, int bar, int pos, BOOL redraw) {
  if (bar == SB_CTL) {
    LRESULT old = 0;
    SendToControl(wnd, SBM_SETPOS, static_cast<WPARAM>(pos), redraw, &old);
    return static_cast<int>(old);
  }
  Window* w = FindWindow(wnd);
  if (!w || !ValidBar(bar)) return 0;
  const int old = BarState(*w, bar)->pos;
  SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, pos, 0};
  SetScrollInfo(wnd, bar, &info, redraw);
  return old;
}

int GetScrollPos(HWND wnd, int bar) {
  if (bar == SB_CTL) {
    LRESULT pos = 0;
    SendToControl(wnd, SBM_GETPOS, 0, 0, &pos);
    return static_cast<int>(pos);
  }
  Window* w = FindWindow(wnd);
  if (!w || !ValidBar(bar)) return 0;
  return BarState(*w, bar)->pos;
}

BOOL SetScrollRange(HWND wnd, int bar, int min, int max, BOOL redraw) {
  if (static_cast<std::int64_t>(max) - min > INT_MAX) return FALSE;
  if (bar == SB_CTL) {
    LRESULT old = 0;
    return SendToControl(wnd, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, static_cast<WPARAM>(min), max, &old)
               ? TRUE
               : FALSE;
  }
  if (!FindWindow(wnd) || !ValidBar(bar)) return FALSE;
  SCROLLINFO info{sizeof info, SIF_RANGE, min, max, 0, 0, 0};
  SetScrollInfo(wnd, bar, &info, redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND wnd, int bar, LPINT min, LPINT max) {
  if (bar == SB_CTL) {
    int lo = 0, hi = 0;
    LRESULT ignored = 0;
    if (!SendToControl(wnd, SBM_GETRANGE, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi), &ignored))
      return FALSE;
    if (min) *min = lo;
    if (max) *max = hi;
    return TRUE;
  }
  Window* w = FindWindow(wnd);
  if (!w || !ValidBar(bar)) return FALSE;
  const ScrollBarState& s = *BarState(*w, bar);
  if (min) *min = s.min;
  if (max) *max = s.max;
  return TRUE;
}

BOOL ShowScrollBar(HWND wnd, int bar, BOOL show) {
  if (!FindWindow(wnd)) return FALSE;
  if (bar == SB_CTL) {
    // The control is the bar: it is shown or hidden as a window.
    ShowWindow(wnd, show ? SW_SHOW : SW_HIDE);
    return TRUE;
  }
  DWORD bits = 0;
  if (bar == SB_HORZ || bar == SB_BOTH) bits |= WS_HSCROLL;
  if (bar == SB_VERT || bar == SB_BOTH) bits |= WS_VSCROLL;
  if (!bits) return FALSE;
  SetBarsShown(wnd, bits, show != FALSE);
  return TRUE;
}

BOOL EnableScrollBar(HWND wnd, UINT bar, UINT arrows) {
  if (bar == SB_CTL) {
    LRESULT ok = FALSE;
    if (!SendToControl(wnd, SBM_ENABLE_ARROWS, arrows, 0, &ok)) return FALSE;
    return ok ? TRUE : FALSE;
  }
  Window* w = FindWindow(wnd);
  if (!w) return FALSE;
  bool changed = false;
  for (int b : {SB_HORZ, SB_VERT}) {
    if (!(static_cast<int>(bar) == b || bar == SB_BOTH)) continue;
    ScrollBarState& s = *BarState(*w, b);
    const UINT now = arrows & ESB_DISABLE_BOTH;
    if (s.disabled == now) continue;
    s.disabled = now;
    changed = true;
    RedrawScrollBar(wnd, b);
    w = FindWindow(wnd);
    if (!w) return FALSE;
  }
  return changed ? TRUE : FALSE;
}
