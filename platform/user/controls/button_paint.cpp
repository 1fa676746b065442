#include "button_paint.h"

#include <algorithm>

#include "control_common.h"
#include "glyphs.h"

namespace win::user {
namespace {

constexpr int kGroupTextIndent = 8;
constexpr int kCheckGap = 4;  // between a check box and its text

UINT AlignFormat(DWORD style, UINT horizontalDefault) {
  UINT f = 0;
  switch (style & BS_CENTER) {
    case BS_LEFT: f |= DT_LEFT; break;
    case BS_RIGHT: f |= DT_RIGHT; break;
    case BS_CENTER: f |= DT_CENTER; break;
    default: f |= horizontalDefault; break;
  }
  if (style & BS_MULTILINE) {
    f |= DT_WORDBREAK;
  } else {
    f |= DT_SINGLELINE;
    switch (style & BS_VCENTER) {
      case BS_TOP: f |= DT_TOP; break;
      case BS_BOTTOM: f |= DT_BOTTOM; break;
      default: f |= DT_VCENTER; break;
    }
  }
  return f;
}

// A multi-line text's box is centred as a block when DT_VCENTER cannot do it.
RECT TextBox(HDC dc, const std::string& text, RECT area, UINT format) {
  if (format & DT_SINGLELINE) return area;
  RECT calc = area;
  DrawText(dc, text.c_str(), static_cast<int>(text.size()), &calc, format | DT_CALCRECT);
  const int h = calc.bottom - calc.top;
  RECT out = area;
  out.top = area.top + std::max(0, ((area.bottom - area.top) - h) / 2);
  out.bottom = out.top + h;
  return out;
}

void PaintPush(HWND b, HDC dc, LONG_PTR state, DWORD style) {
  RECT rc;
  GetClientRect(b, &rc);
  const bool pushed = (state & BST_PUSHED) != 0;
  const bool isDefault = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  const bool disabled = !IsWindowEnabled(b);
  ControlColor(b, dc, WM_CTLCOLORBTN);
  RECT face = rc;
  if (isDefault || pushed) {
    FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&face, -1, -1);
  }
  DrawRaisedFace(dc, face, pushed);
  HGDIOBJ old = SelectObject(dc, ControlFont(b));
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  RECT text = rc;
  InflateRect(&text, -4, -2);
  if (pushed) OffsetRect(&text, 1, 1);
  const std::string label = WindowTextOf(b);
  const UINT format = AlignFormat(style, DT_CENTER);
  DrawControlText(dc, label, TextBox(dc, label, text, format), format, disabled);
  if (state & BST_FOCUS) {
    RECT focus = rc;
    InflateRect(&focus, -4, -4);
    if (focus.right > focus.left && focus.bottom > focus.top) DrawFocus(dc, focus);
  }
  SelectObject(dc, old);
}

void PaintCheck(HWND b, HDC dc, LONG_PTR state, DWORD style, CheckKind kind) {
  RECT rc;
  GetClientRect(b, &rc);
  HBRUSH back = ControlColor(b, dc, WM_CTLCOLORSTATIC);
  FillRect(dc, &rc, back);
  const bool disabled = !IsWindowEnabled(b);
  const bool textLeft = (style & BS_LEFTTEXT) != 0;
  const int box = kind == CheckKind::Radio ? kRadioSize : kCheckSize;
  HGDIOBJ old = SelectObject(dc, ControlFont(b));
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  // The box sits by the first line of text, centred in a single-line button.
  const int lineH = tm.tmHeight > 0 ? tm.tmHeight : box;
  int boxY = (style & BS_MULTILINE) ? rc.top + std::max(0, (lineH - box) / 2)
                                    : rc.top + ((rc.bottom - rc.top) - box) / 2;
  const int boxX = textLeft ? rc.right - box : rc.left;
  DrawCheckGlyph(dc, boxX, boxY, kind, static_cast<UINT>(state & 3), (state & BST_PUSHED) != 0, disabled);
  RECT text = rc;
  if (textLeft)
    text.right -= box + kCheckGap;
  else
    text.left += box + kCheckGap;
  const std::string label = WindowTextOf(b);
  const UINT format = AlignFormat(style, DT_LEFT);
  RECT placed = TextBox(dc, label, text, format);
  DrawControlText(dc, label, placed, format, disabled);
  if ((state & BST_FOCUS) && !label.empty()) {
    // The focus frames the text itself.
    RECT calc = placed;
    DrawText(dc, label.c_str(), static_cast<int>(label.size()), &calc, (format & ~DT_VCENTER) | DT_CALCRECT);
    const int w = calc.right - calc.left, h = calc.bottom - calc.top;
    RECT focus;
    focus.left = (format & DT_CENTER) ? placed.left + ((placed.right - placed.left) - w) / 2
                 : (format & DT_RIGHT) ? placed.right - w
                                       : placed.left;
    focus.top = (format & DT_SINGLELINE) && (format & DT_VCENTER)
                    ? placed.top + ((placed.bottom - placed.top) - h) / 2
                    : placed.top;
    focus.right = focus.left + w;
    focus.bottom = focus.top + h;
    InflateRect(&focus, 1, 1);
    IntersectRect(&focus, &focus, &rc);
    DrawFocus(dc, focus);
  }
  SelectObject(dc, old);
}

void PaintGroup(HWND b, HDC dc, DWORD style) {
  RECT rc;
  GetClientRect(b, &rc);
  HBRUSH back = ControlColor(b, dc, WM_CTLCOLORSTATIC);
  HGDIOBJ old = SelectObject(dc, ControlFont(b));
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  const std::string label = WindowTextOf(b);
  RECT frame = rc;
  frame.top += tm.tmHeight / 2;
  // Etched: a shadow frame with a highlight frame one pixel down and right.
  RECT shadow{frame.left, frame.top, frame.right - 1, frame.bottom - 1};
  RECT light{frame.left + 1, frame.top + 1, frame.right, frame.bottom};
  FrameRect(dc, &light, GetSysColorBrush(COLOR_3DHILIGHT));
  FrameRect(dc, &shadow, GetSysColorBrush(COLOR_3DSHADOW));
  if (!label.empty()) {
    RECT calc{0, 0, 0, 0};
    DrawText(dc, label.c_str(), static_cast<int>(label.size()), &calc, DT_SINGLELINE | DT_CALCRECT);
    const int w = calc.right - calc.left;
    RECT text{rc.left + kGroupTextIndent, rc.top, rc.left + kGroupTextIndent + w + 2,
              rc.top + tm.tmHeight};
    if ((style & BS_CENTER) == BS_CENTER) OffsetRect(&text, ((rc.right - rc.left) - w) / 2 - kGroupTextIndent, 0);
    else if ((style & BS_CENTER) == BS_RIGHT) OffsetRect(&text, (rc.right - rc.left) - w - 2 * kGroupTextIndent, 0);
    FillRect(dc, &text, back);
    text.left += 1;
    DrawControlText(dc, label, text, DT_SINGLELINE | DT_LEFT, !IsWindowEnabled(b));
  }
  SelectObject(dc, old);
}

DRAWITEMSTRUCT ItemFor(HWND b, HDC dc, UINT action) {
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_BUTTON;
  dis.CtlID = static_cast<UINT>(GetDlgCtrlID(b));
  dis.itemAction = action;
  const LONG_PTR s = GetWindowLong(b, 0);
  if (s & BST_PUSHED) dis.itemState |= ODS_SELECTED;
  if (s & BST_FOCUS) dis.itemState |= ODS_FOCUS;
  if (!IsWindowEnabled(b)) dis.itemState |= ODS_DISABLED;
  dis.hwndItem = b;
  dis.hDC = dc;
  GetClientRect(b, &dis.rcItem);
  return dis;
}

}  // namespace

DWORD TypeOf(HWND b) { return static_cast<DWORD>(GetWindowLong(b, GWL_STYLE)) & BS_TYPEMASK; }

void DrawOwnerButton(HWND b, UINT action) {
  HWND parent = GetParent(b);
  if (!parent) return;
  HDC dc = GetDC(b);
  if (!dc) return;
  ControlColor(b, dc, WM_CTLCOLORBTN);
  HGDIOBJ old = SelectObject(dc, ControlFont(b));
  DRAWITEMSTRUCT dis = ItemFor(b, dc, action);
  SendMessage(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
  if (IsWindow(b)) {
    SelectObject(dc, old);
    ReleaseDC(b, dc);
  }
}

void PaintButton(HWND b, HDC dc, LONG_PTR state) {
  const DWORD style = static_cast<DWORD>(GetWindowLong(b, GWL_STYLE));
  switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX: PaintCheck(b, dc, state, style, CheckKind::Box); break;
    case BS_3STATE:
    case BS_AUTO3STATE: PaintCheck(b, dc, state, style, CheckKind::ThreeState); break;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: PaintCheck(b, dc, state, style, CheckKind::Radio); break;
    case BS_GROUPBOX: PaintGroup(b, dc, style); break;
    case BS_OWNERDRAW: {
      HWND parent = GetParent(b);
      if (!parent) break;
      ControlColor(b, dc, WM_CTLCOLORBTN);
      HGDIOBJ old = SelectObject(dc, ControlFont(b));
      DRAWITEMSTRUCT dis = ItemFor(b, dc, ODA_DRAWENTIRE);
      SendMessage(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
      if (IsWindow(b)) SelectObject(dc, old);
      break;
    }
    default: PaintPush(b, dc, state, style); break;
  }
}

}  // namespace win::user
