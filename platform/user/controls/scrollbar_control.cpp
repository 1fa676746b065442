// Scroll-bar controls: their range, page and position (the SBM_ messages),
// the Windows 95 drawing, and the mouse and keys, which tell the parent
// (WM_HSCROLL / WM_VSCROLL, lParam: the control) and leave moving the
// position to it.
#include "scrollbar_control.h"

#include <algorithm>

#include "control_common.h"
#include "glyphs.h"
#include "per_window.h"

namespace win::user {
namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeat = 200, kRepeat = 50;
constexpr int kMinThumb = 8;

enum class Part { None, ArrowBack, PageBack, Thumb, PageForward, ArrowForward };

struct Bar {
  int min = 0, max = 100, pos = 0, trackPos = 0;
  UINT page = 0;
  UINT disabled = 0;  // ESB_DISABLE_LTUP / ESB_DISABLE_RTDN
  Part pressed = Part::None;
  bool inside = false;   // the mouse is over the pressed part
  int dragOffset = 0;    // from the thumb's start to where it was taken
};
using State = std::shared_ptr<Bar>;

PerWindow<Bar>& States() {
  static PerWindow<Bar> states(0);
  return states;
}

bool Vertical(HWND sb) { return (GetWindowLong(sb, GWL_STYLE) & SBS_VERT) != 0; }

struct Layout {
  int length = 0, thickness = 0, arrow = 0;
  int thumbStart = 0, thumbSize = 0;
  bool thumb = false;
};

// Ranges may span all of int: the arithmetic is done in 64 bits.
using Wide = long long;

Wide Span(const Bar& b) { return static_cast<Wide>(b.max) - b.min; }

int MaxPos(const Bar& b) {
  const Wide page = b.page > 0 ? static_cast<Wide>(b.page) - 1 : 0;
  return static_cast<int>(std::max<Wide>(b.min, b.max - page));
}

Layout LayoutOf(HWND sb, const Bar& b) {
  RECT rc;
  GetClientRect(sb, &rc);
  Layout l;
  const bool v = Vertical(sb);
  l.length = v ? rc.bottom : rc.right;
  l.thickness = v ? rc.right : rc.bottom;
  l.arrow = std::min(l.thickness, l.length / 2);
  const int track = l.length - 2 * l.arrow;
  const Wide range = Span(b);
  if (range <= 0 || track < kMinThumb || b.disabled == ESB_DISABLE_BOTH || !IsWindowEnabled(sb)) return l;
  l.thumb = true;
  l.thumbSize = b.page ? static_cast<int>(std::max<Wide>(kMinThumb, static_cast<Wide>(track) * b.page / (range + 1)))
                       : std::min(track, l.thickness);
  l.thumbSize = std::min(l.thumbSize, track);
  const Wide span = static_cast<Wide>(MaxPos(b)) - b.min;
  const Wide at = static_cast<Wide>(b.pressed == Part::Thumb ? b.trackPos : b.pos) - b.min;
  l.thumbStart = l.arrow + (span > 0 ? static_cast<int>((track - l.thumbSize) * at / span) : 0);
  return l;
}

RECT PartRect(HWND sb, const Layout& l, Part p) {
  int a = 0, z = 0;
  switch (p) {
    case Part::ArrowBack: a = 0, z = l.arrow; break;
    case Part::ArrowForward: a = l.length - l.arrow, z = l.length; break;
    case Part::Thumb: a = l.thumbStart, z = l.thumbStart + l.thumbSize; break;
    case Part::PageBack: a = l.arrow, z = l.thumb ? l.thumbStart : l.arrow; break;
    case Part::PageForward: a = l.thumb ? l.thumbStart + l.thumbSize : l.length - l.arrow, z = l.length - l.arrow; break;
    default: break;
  }
  return Vertical(sb) ? RECT{0, a, l.thickness, z} : RECT{a, 0, z, l.thickness};
}

Part PartAt(HWND sb, const Bar& b, POINT p) {
  const Layout l = LayoutOf(sb, b);
  for (Part part : {Part::ArrowBack, Part::ArrowForward, Part::Thumb, Part::PageBack, Part::PageForward}) {
    if (part == Part::Thumb && !l.thumb) continue;
    const RECT r = PartRect(sb, l, part);
    if (PtInRect(&r, p)) return part;
  }
  return Part::None;
}

// A solid triangle of rows 1, 3, 5, 7 pointing back (up/left) or forward.
void Arrow(HDC dc, const RECT& r, bool vertical, bool back, COLORREF c, int shift) {
  const int cx = r.left + (r.right - r.left) / 2 + shift, cy = r.top + (r.bottom - r.top) / 2 + shift;
  for (int i = 0; i < 4; ++i) {
    for (int k = -i; k <= i; ++k) {
      const int along = back ? (i - 2) : (2 - i);
      if (vertical)
        SetPixelV(dc, cx + k, cy + along, c);
      else
        SetPixelV(dc, cx + along, cy + k, c);
    }
  }
}

void Paint(HWND sb, const Bar& b, HDC dc) {
  const Layout l = LayoutOf(sb, b);
  const bool v = Vertical(sb);
  const bool off = !IsWindowEnabled(sb);
  static const WORD kChecker[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, kChecker);
  HBRUSH track = pattern ? CreatePatternBrush(pattern) : nullptr;
  const COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_3DFACE));
  const COLORREF oldBk = SetBkColor(dc, GetSysColor(COLOR_3DHILIGHT));
  for (Part p : {Part::PageBack, Part::PageForward}) {
    const RECT r = PartRect(sb, l, p);
    if (r.right <= r.left || r.bottom <= r.top) continue;
    if (b.pressed == p && b.inside) FillRect(dc, &r, GetSysColorBrush(COLOR_3DDKSHADOW));
    else if (track) FillRect(dc, &r, track);
  }
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBk);
  if (track) DeleteObject(track);
  if (pattern) DeleteObject(pattern);
  for (Part p : {Part::ArrowBack, Part::ArrowForward}) {
    const RECT r = PartRect(sb, l, p);
    const bool pushed = b.pressed == p && b.inside;
    DrawRaisedFace(dc, r, pushed);
    const bool arrowOff = off || !l.thumb ||
                          (b.disabled & (p == Part::ArrowBack ? ESB_DISABLE_LTUP : ESB_DISABLE_RTDN));
    if (arrowOff) {
      Arrow(dc, r, v, p == Part::ArrowBack, GetSysColor(COLOR_3DHILIGHT), 1);
      Arrow(dc, r, v, p == Part::ArrowBack, GetSysColor(COLOR_3DSHADOW), 0);
    } else {
      Arrow(dc, r, v, p == Part::ArrowBack, GetSysColor(COLOR_BTNTEXT), pushed ? 1 : 0);
    }
  }
  if (l.thumb) DrawRaisedFace(dc, PartRect(sb, l, Part::Thumb), false);
}

void Tell(HWND sb, WORD code, int pos = 0) {
  HWND parent = GetParent(sb);
  if (!parent) return;
  SendMessage(parent, Vertical(sb) ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)),
              reinterpret_cast<LPARAM>(sb));
}

WORD CodeOf(Part p) {
  switch (p) {
    case Part::ArrowBack: return SB_LINEUP;
    case Part::ArrowForward: return SB_LINEDOWN;
    case Part::PageBack: return SB_PAGEUP;
    case Part::PageForward: return SB_PAGEDOWN;
    default: return SB_ENDSCROLL;
  }
}

int Clamp(const Bar& b, int pos) { return std::clamp(pos, b.min, MaxPos(b)); }

void SetInfo(HWND sb, const State& s, const SCROLLINFO& si, BOOL redraw) {
  if (si.fMask & SIF_RANGE) {
    s->min = si.nMin;
    s->max = std::max(si.nMin, si.nMax);
  }
  if (si.fMask & SIF_PAGE) s->page = static_cast<UINT>(std::min<Wide>(si.nPage, Span(*s) + 1));
  if (si.fMask & SIF_POS) s->pos = si.nPos;
  s->pos = Clamp(*s, s->pos);
  if (redraw) InvalidateRect(sb, nullptr, FALSE);
}

int PosForThumb(HWND sb, const Bar& b, int thumbStart) {
  const Layout l = LayoutOf(sb, b);
  const int room = (l.length - 2 * l.arrow) - l.thumbSize;
  if (room <= 0) return b.min;
  const Wide span = static_cast<Wide>(MaxPos(b)) - b.min;
  const Wide off = std::clamp(thumbStart - l.arrow, 0, room);
  return static_cast<int>(b.min + (off * span + room / 2) / room);
}

int Along(HWND sb, LPARAM lp) {
  return Vertical(sb) ? static_cast<SHORT>(HIWORD(lp)) : static_cast<SHORT>(LOWORD(lp));
}

}  // namespace

LRESULT ScrollBarControlProc(HWND sb, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CREATE) {
    States().Attach(sb);
    return 0;
  }
  State s = States().Get(sb);
  if (!s) return DefWindowProc(sb, msg, wp, lp);
  switch (msg) {
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(sb, &ps);
      if (dc) Paint(sb, *s, dc);
      EndPaint(sb, &ps);
      return 0;
    }
    case WM_ENABLE:
      InvalidateRect(sb, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const POINT p{static_cast<SHORT>(LOWORD(lp)), static_cast<SHORT>(HIWORD(lp))};
      const Part part = PartAt(sb, *s, p);
      if (part == Part::None) return 0;
      const Layout l = LayoutOf(sb, *s);
      if (!l.thumb) return 0;  // nothing to scroll
      if ((part == Part::ArrowBack && (s->disabled & ESB_DISABLE_LTUP)) ||
          (part == Part::ArrowForward && (s->disabled & ESB_DISABLE_RTDN)))
        return 0;
      s->pressed = part;
      s->inside = true;
      s->trackPos = s->pos;
      s->dragOffset = Along(sb, lp) - l.thumbStart;
      SetCapture(sb);
      InvalidateRect(sb, nullptr, FALSE);
      if (part != Part::Thumb) {
        Tell(sb, CodeOf(part));
        if (IsWindow(sb)) SetTimer(sb, kRepeatTimer, kFirstRepeat, nullptr);
      }
      return 0;
    }
    case WM_MOUSEMOVE: {
      if (s->pressed == Part::None) return 0;
      const POINT p{static_cast<SHORT>(LOWORD(lp)), static_cast<SHORT>(HIWORD(lp))};
      if (s->pressed == Part::Thumb) {
        const int pos = PosForThumb(sb, *s, Along(sb, lp) - s->dragOffset);
        if (pos != s->trackPos) {
          s->trackPos = pos;
          InvalidateRect(sb, nullptr, FALSE);
          Tell(sb, SB_THUMBTRACK, pos);
        }
      } else {
        const bool inside = PartAt(sb, *s, p) == s->pressed;
        if (inside != s->inside) {
          s->inside = inside;
          InvalidateRect(sb, nullptr, FALSE);
        }
      }
      return 0;
    }
    case WM_TIMER:
      if (wp == kRepeatTimer && s->pressed != Part::None && s->pressed != Part::Thumb) {
        SetTimer(sb, kRepeatTimer, kRepeat, nullptr);
        if (s->inside) Tell(sb, CodeOf(s->pressed));
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED: {
      if (s->pressed == Part::None) return 0;
      const Part was = s->pressed;
      s->pressed = Part::None;
      KillTimer(sb, kRepeatTimer);
      if (msg == WM_LBUTTONUP && GetCapture() == sb) ReleaseCapture();
      InvalidateRect(sb, nullptr, FALSE);
      if (was == Part::Thumb) Tell(sb, SB_THUMBPOSITION, s->trackPos);
      if (IsWindow(sb)) Tell(sb, SB_ENDSCROLL);
      return 0;
    }
    case WM_KEYDOWN: {
      WORD code = SB_ENDSCROLL;
      switch (wp) {
        case VK_UP:
        case VK_LEFT: code = SB_LINEUP; break;
        case VK_DOWN:
        case VK_RIGHT: code = SB_LINEDOWN; break;
        case VK_PRIOR: code = SB_PAGEUP; break;
        case VK_NEXT: code = SB_PAGEDOWN; break;
        case VK_HOME: code = SB_TOP; break;
        case VK_END: code = SB_BOTTOM; break;
        default: return DefWindowProc(sb, msg, wp, lp);
      }
      Tell(sb, code);
      return 0;
    }
    case WM_KEYUP:
      if (wp == VK_UP || wp == VK_DOWN || wp == VK_LEFT || wp == VK_RIGHT || wp == VK_PRIOR || wp == VK_NEXT ||
          wp == VK_HOME || wp == VK_END)
        Tell(sb, SB_ENDSCROLL);
      return 0;
    case SBM_SETPOS: {
      const int old = s->pos;
      s->pos = Clamp(*s, static_cast<int>(wp));
      if (lp) InvalidateRect(sb, nullptr, FALSE);
      return old;
    }
    case SBM_GETPOS: return s->pos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
      const int old = s->pos;
      SCROLLINFO si{sizeof si, SIF_RANGE, static_cast<int>(wp), static_cast<int>(lp), 0, 0, 0};
      SetInfo(sb, s, si, msg == SBM_SETRANGEREDRAW);
      return old;
    }
    case SBM_GETRANGE:
      if (wp) *reinterpret_cast<LPINT>(wp) = s->min;
      if (lp) *reinterpret_cast<LPINT>(lp) = s->max;
      return 0;
    case SBM_ENABLE_ARROWS:
      s->disabled = static_cast<UINT>(wp) & ESB_DISABLE_BOTH;
      InvalidateRect(sb, nullptr, FALSE);
      return TRUE;
    case SBM_SETSCROLLINFO: {
      const auto* si = reinterpret_cast<const SCROLLINFO*>(lp);
      if (!si) return s->pos;
      SetInfo(sb, s, *si, static_cast<BOOL>(wp));
      return s->pos;
    }
    case SBM_GETSCROLLINFO: {
      auto* si = reinterpret_cast<SCROLLINFO*>(lp);
      if (!si) return FALSE;
      if (si->fMask & SIF_RANGE) {
        si->nMin = s->min;
        si->nMax = s->max;
      }
      if (si->fMask & SIF_PAGE) si->nPage = s->page;
      if (si->fMask & SIF_POS) si->nPos = s->pos;
      if (si->fMask & SIF_TRACKPOS) si->nTrackPos = s->pressed == Part::Thumb ? s->trackPos : s->pos;
      return TRUE;
    }
    default: return DefWindowProc(sb, msg, wp, lp);
  }
}

}  // namespace win::user
