// Drawing scroll bars and button faces, the Windows 95 way.
#include <algorithm>

#include "scrollbar.h"
#include "win/gdi.h"

namespace win::user {
namespace {

void Fill(HDC dc, const RECT& r, int sysColor) {
  if (r.right > r.left && r.bottom > r.top) FillRect(dc, &r, GetSysColorBrush(sysColor));
}

enum class Direction { Up, Down, Left, Right };

// A solid triangle pointing `dir`, centred in `r`, in rows of 1, 3, 5, ...
void DrawArrowGlyph(HDC dc, const RECT& r, Direction dir, COLORREF color, int shift) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int rows = std::max(1, (std::min(w, h) + 1) / 4);
  HBRUSH brush = CreateSolidBrush(color);
  const bool vertical = dir == Direction::Up || dir == Direction::Down;
  const int cx = r.left + (w - 1) / 2 + shift, cy = r.top + (h - 1) / 2 + shift;
  for (int i = 0; i < rows; ++i) {
    // Row i from the tip is 2i+1 wide.
    RECT line;
    if (vertical) {
      const int y = dir == Direction::Up ? cy - rows / 2 + i : cy + rows / 2 - i;
      line = RECT{cx - i, y, cx + i + 1, y + 1};
    } else {
      const int x = dir == Direction::Left ? cx - rows / 2 + i : cx + rows / 2 - i;
      line = RECT{x, cy - i, x + 1, cy + i + 1};
    }
    FillRect(dc, &line, brush);
  }
  DeleteObject(brush);
}

void DrawArrowButton(HDC dc, const RECT& r, Direction dir, bool pressed, bool disabled) {
  DrawButtonFace(dc, r, pressed);
  const int shift = pressed ? 1 : 0;
  if (disabled) {
    // Etched: a white glyph one pixel down-right under a grey one.
    DrawArrowGlyph(dc, r, dir, GetSysColor(COLOR_BTNHIGHLIGHT), shift + 1);
    DrawArrowGlyph(dc, r, dir, GetSysColor(COLOR_BTNSHADOW), shift);
  } else {
    DrawArrowGlyph(dc, r, dir, GetSysColor(COLOR_BTNTEXT), shift);
  }
}

// The track: a checker of highlight and face colours; a pressed part is
// drawn inverted.
void DrawTrack(HDC dc, const RECT& r, bool pressed) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  static const WORD kChecker[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, kChecker);
  HBRUSH brush = pattern ? CreatePatternBrush(pattern) : nullptr;
  if (brush) {
    const COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
    const COLORREF oldBk = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    FillRect(dc, &r, brush);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBk);
    DeleteObject(brush);
  } else {
    Fill(dc, r, COLOR_SCROLLBAR);
  }
  if (pattern) DeleteObject(pattern);
  if (pressed) InvertRect(dc, &r);
}

// A part of the bar from `from` to `to` pixels along it.
RECT Along(const BarGeometry& g, int from, int to) {
  if (g.vertical) return RECT{g.rect.left, g.rect.top + from, g.rect.right, g.rect.top + to};
  return RECT{g.rect.left + from, g.rect.top, g.rect.left + to, g.rect.bottom};
}

}  // namespace

void DrawButtonFace(HDC dc, const RECT& r, bool pressed) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  Fill(dc, r, COLOR_BTNFACE);
  if (pressed) {
    RECT edge = r;
    FrameRect(dc, &edge, GetSysColorBrush(COLOR_BTNSHADOW));
  } else {
    RECT edge = r;
    DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
  }
}

void PaintScrollBar(HDC dc, HWND wnd, int bar) {
  Window* w = FindWindow(wnd);
  if (!w) return;
  const BarGeometry g = MeasureBar(*w, bar);
  if (g.rect.right <= g.rect.left || g.rect.bottom <= g.rect.top) return;
  const ScrollBarState& s = bar == SB_VERT ? w->vscroll : w->hscroll;
  const ScrollPart pressed = PressedScrollPart(wnd, bar);
  const bool allOff = (s.disabled & ESB_DISABLE_BOTH) == ESB_DISABLE_BOTH || s.max <= s.min;

  DrawArrowButton(dc, Along(g, 0, g.arrow), g.vertical ? Direction::Up : Direction::Left,
                  pressed == ScrollPart::ArrowUp, allOff || (s.disabled & ESB_DISABLE_LTUP));
  DrawArrowButton(dc, Along(g, g.length - g.arrow, g.length),
                  g.vertical ? Direction::Down : Direction::Right, pressed == ScrollPart::ArrowDown,
                  allOff || (s.disabled & ESB_DISABLE_RTDN));
  if (!g.hasThumb) {
    DrawTrack(dc, Along(g, g.arrow, g.length - g.arrow), false);
    return;
  }
  int thumb = g.thumbOffset;
  const int dragged = DraggedThumbOffset(wnd, bar);
  if (dragged >= 0) thumb = std::clamp(dragged, g.arrow, g.length - g.arrow - g.thumbSize);
  DrawTrack(dc, Along(g, g.arrow, thumb), pressed == ScrollPart::PageUp);
  DrawTrack(dc, Along(g, thumb + g.thumbSize, g.length - g.arrow), pressed == ScrollPart::PageDown);
  DrawButtonFace(dc, Along(g, thumb, thumb + g.thumbSize), false);
}

}  // namespace win::user
