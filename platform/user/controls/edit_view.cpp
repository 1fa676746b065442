#include "edit_view.h"

#include <algorithm>
#include <vector>

#include "control_common.h"
#include "per_window.h"

namespace win::user {
namespace {

constexpr int kMargin = 1;

PerWindow<EditState>& States() {
  static PerWindow<EditState> states(0);
  return states;
}

// The horizontal shift of a line for ES_CENTER / ES_RIGHT.
int AlignShift(HWND edit, const EditState& s, size_t line) {
  const DWORD style = EditStyle(edit);
  const DWORD align = style & (ES_CENTER | ES_RIGHT);
  if (!align) return 0;
  const RECT fr = FormatRect(edit);
  const int room = (fr.right - fr.left) - s.model.LineWidth(s.widths, line);
  if (room <= 0) return 0;
  return align == ES_RIGHT ? room : room / 2;
}

int LineTop(HWND edit, const EditState& s, size_t line) {
  const RECT fr = FormatRect(edit);
  if (s.model.multiline())
    return fr.top + (static_cast<int>(line) - static_cast<int>(s.topLine)) * s.widths.height;
  return fr.top + std::max(0, ((fr.bottom - fr.top) - s.widths.height) / 2);
}

}  // namespace

std::shared_ptr<EditState> EditStateOf(HWND edit) { return States().Get(edit); }
std::shared_ptr<EditState> AttachEditState(HWND edit) { return States().Attach(edit); }

DWORD EditStyle(HWND edit) { return static_cast<DWORD>(GetWindowLong(edit, GWL_STYLE)); }

RECT FormatRect(HWND edit) {
  RECT rc;
  GetClientRect(edit, &rc);
  rc.left += kMargin;
  rc.right = std::max(rc.left + 1, rc.right - kMargin);
  return rc;
}

void Remeasure(HWND edit, EditState& s) {
  HDC dc = GetDC(edit);
  if (!dc) dc = GetDC(nullptr);
  if (!dc) return;
  HGDIOBJ old = SelectObject(dc, s.font ? s.font : GetStockObject(SYSTEM_FONT));
  std::array<int, 256> adv{};
  if (GetCharWidth32(dc, 0, 255, adv.data())) s.widths.advance = adv;
  TEXTMETRIC tm{};
  if (GetTextMetrics(dc, &tm) && tm.tmHeight > 0) {
    s.widths.height = tm.tmHeight;
    s.ascent = tm.tmAscent;
    s.widths.tab = std::max(1, 8 * (tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 4));
  }
  SelectObject(dc, old);
  ReleaseDC(edit, dc);
  const DWORD style = EditStyle(edit);
  s.widths.mask = (style & ES_PASSWORD) && !s.model.multiline() && s.passwordChar ? s.passwordChar : 0;
}

void Relayout(HWND edit, EditState& s) {
  const DWORD style = EditStyle(edit);
  const RECT fr = FormatRect(edit);
  const bool wrap = s.model.multiline() && !(style & ES_AUTOHSCROLL) && !(style & WS_HSCROLL);
  s.model.Layout(s.widths, wrap ? fr.right - fr.left : 0);
  if (s.topLine >= s.model.lines().size()) s.topLine = s.model.lines().size() - 1;
}

int VisibleLines(HWND edit, const EditState& s) {
  const RECT fr = FormatRect(edit);
  return std::max(1, (fr.bottom - fr.top) / std::max(1, s.widths.height));
}

void UpdateScrollBars(HWND edit, EditState& s) {
  const DWORD style = EditStyle(edit);
  if (!s.model.multiline()) return;
  if (style & WS_VSCROLL) {
    SCROLLINFO si{sizeof si, SIF_ALL | SIF_DISABLENOSCROLL, 0,
                  static_cast<int>(s.model.lines().size()) - 1,
                  static_cast<UINT>(VisibleLines(edit, s)), static_cast<int>(s.topLine), 0};
    SetScrollInfo(edit, SB_VERT, &si, TRUE);
  }
  if (style & WS_HSCROLL) {
    int widest = 0;
    for (size_t i = 0; i < s.model.lines().size(); ++i) widest = std::max(widest, s.model.LineWidth(s.widths, i));
    const RECT fr = FormatRect(edit);
    SCROLLINFO si{sizeof si, SIF_ALL | SIF_DISABLENOSCROLL, 0, widest,
                  static_cast<UINT>(fr.right - fr.left), s.scrollX, 0};
    SetScrollInfo(edit, SB_HORZ, &si, TRUE);
  }
}

POINT PointFromPos(HWND edit, const EditState& s, size_t pos) {
  const RECT fr = FormatRect(edit);
  const size_t line = s.model.LineOf(pos);
  return POINT{fr.left + s.model.XOf(s.widths, pos) - s.scrollX + AlignShift(edit, s, line),
               LineTop(edit, s, line)};
}

size_t PosFromPoint(HWND edit, const EditState& s, POINT p) {
  const RECT fr = FormatRect(edit);
  size_t line = 0;
  if (s.model.multiline()) {
    const int row = (p.y - fr.top) >= 0 ? (p.y - fr.top) / std::max(1, s.widths.height) : -1;
    const long long l = static_cast<long long>(s.topLine) + row;
    line = static_cast<size_t>(std::clamp<long long>(l, 0, static_cast<long long>(s.model.lines().size()) - 1));
  }
  return s.model.PosAt(s.widths, line, p.x - fr.left + s.scrollX - AlignShift(edit, s, line));
}

void PlaceCaret(HWND edit, EditState& s) {
  if (!s.focused) return;
  const POINT p = PointFromPos(edit, s, s.model.caret());
  SetCaretPos(p.x, p.y);
}

void ScrollToCaret(HWND edit, EditState& s) {
  const RECT fr = FormatRect(edit);
  const int width = fr.right - fr.left;
  const DWORD style = EditStyle(edit);
  bool moved = false;
  const size_t caretLine = s.model.LineOf(s.model.caret());
  if (s.model.multiline()) {
    const size_t vis = static_cast<size_t>(VisibleLines(edit, s));
    size_t top = s.topLine;
    if (caretLine < top) top = caretLine;
    if (caretLine >= top + vis) top = caretLine - vis + 1;
    if (top != s.topLine) {
      s.topLine = top;
      moved = true;
    }
  }
  const bool scrollsX = !s.model.multiline() || (style & (ES_AUTOHSCROLL | WS_HSCROLL));
  if (scrollsX) {
    const int x = s.model.XOf(s.widths, s.model.caret());
    int sx = s.scrollX;
    // Jump a quarter of the width, as the control does, so typing does not
    // scroll at every character.
    if (x < sx) sx = std::max(0, x - width / 4);
    if (x >= sx + width) sx = x - width + width / 4;
    const int lineWidth = s.model.LineWidth(s.widths, caretLine);
    if (lineWidth < width) sx = 0;
    if (sx != s.scrollX) {
      s.scrollX = std::max(0, sx);
      moved = true;
    }
  }
  if (moved) InvalidateRect(edit, nullptr, FALSE);
  UpdateScrollBars(edit, s);
  PlaceCaret(edit, s);
}

void PaintEdit(HWND edit, EditState& s, HDC dc) {
  RECT rc;
  GetClientRect(edit, &rc);
  const DWORD style = EditStyle(edit);
  const bool disabled = !IsWindowEnabled(edit);
  const bool readOnly = (style & ES_READONLY) != 0;
  HBRUSH back = ControlColor(edit, dc, readOnly || disabled ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
  FillRect(dc, &rc, back);
  const COLORREF textColor = disabled ? GetSysColor(COLOR_GRAYTEXT) : GetTextColor(dc);
  HGDIOBJ oldFont = SelectObject(dc, s.font ? s.font : GetStockObject(SYSTEM_FONT));
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const RECT fr = FormatRect(edit);
  const std::string& text = s.model.text();
  const bool showSel = (s.focused || (style & ES_NOHIDESEL)) && s.model.selStart() != s.model.selEnd();
  const size_t selS = s.model.selStart(), selE = s.model.selEnd();
  const auto& lines = s.model.lines();
  const size_t first = s.model.multiline() ? s.topLine : 0;
  const size_t last = s.model.multiline()
                          ? std::min(lines.size(), first + static_cast<size_t>(VisibleLines(edit, s)) + 1)
                          : 1;
  std::vector<char> chars;
  std::vector<INT> dx;
  for (size_t li = first; li < last && li < lines.size(); ++li) {
    const EditLine& l = lines[li];
    const int y = LineTop(edit, s, li);
    if (y >= fr.bottom) break;
    const int x0 = fr.left - s.scrollX + AlignShift(edit, s, li);
    RECT clip{fr.left, std::max<int>(fr.top, y), fr.right, std::min<int>(fr.bottom, y + s.widths.height)};
    // Each character and its advance (tabs as blanks, passwords masked).
    chars.clear();
    dx.clear();
    int x = 0;
    std::vector<int> xs;
    xs.reserve(l.length + 1);
    for (size_t i = l.start; i < l.start + l.length; ++i) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      const bool tab = c == '\t' && !s.widths.mask;
      const int adv = tab ? (s.widths.tab - (x % s.widths.tab)) : s.widths.Of(c);
      xs.push_back(x);
      chars.push_back(tab ? ' ' : (s.widths.mask ? s.widths.mask : static_cast<char>(c)));
      dx.push_back(adv);
      x += adv;
    }
    xs.push_back(x);
    auto segment = [&](size_t from, size_t to, bool selected) {
      if (from >= to) return;
      const size_t a = from - l.start, b = to - l.start;
      if (selected) {
        RECT hl{x0 + xs[a], y, x0 + xs[b], y + s.widths.height};
        IntersectRect(&hl, &hl, &clip);
        FillRect(dc, &hl, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
      } else {
        SetTextColor(dc, textColor);
      }
      ExtTextOut(dc, x0 + xs[a], y, ETO_CLIPPED, &clip, chars.data() + a, static_cast<UINT>(b - a), dx.data() + a);
    };
    const size_t ls = l.start, le = l.start + l.length;
    if (showSel && selE > ls && selS < le) {
      const size_t a = std::max(selS, ls), b = std::min(selE, le);
      segment(ls, a, false);
      segment(a, b, true);
      segment(b, le, false);
    } else {
      segment(ls, le, false);
    }
  }
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
}

}  // namespace win::user
