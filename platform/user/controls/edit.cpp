// The edit control's messages: text, selection, keys, characters, the
// mouse, the clipboard, and the EM_ messages.
#include "edit.h"

#include <algorithm>
#include <cstring>

#include "control_common.h"
#include "edit_view.h"
#include "win/kernel.h"

namespace win::user {
namespace {

using State = std::shared_ptr<EditState>;

bool Shift() { return GetKeyState(VK_SHIFT) < 0; }
bool Ctrl() { return GetKeyState(VK_CONTROL) < 0; }

std::string Cased(HWND edit, std::string text) {
  const DWORD style = EditStyle(edit);
  for (char& c : text) {
    if ((style & ES_UPPERCASE) && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    if ((style & ES_LOWERCASE) && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return text;
}

bool InCombo(HWND edit) {
  HWND parent = GetParent(edit);
  char cls[16] = {};
  if (!parent || !GetClassName(parent, cls, sizeof cls)) return false;
  return std::strcmp(cls, "COMBOBOX") == 0 || std::strcmp(cls, "ComboBox") == 0;
}

// After the text changed: lay out, show the caret, tell the parent.
void Changed(HWND edit, const State& s, bool notify = true) {
  Relayout(edit, *s);
  ScrollToCaret(edit, *s);
  if (notify) NotifyParent(edit, EN_UPDATE);
  if (!IsWindow(edit)) return;
  InvalidateRect(edit, nullptr, FALSE);
  if (notify) NotifyParent(edit, EN_CHANGE);
}

void SelectionMoved(HWND edit, const State& s) {
  ScrollToCaret(edit, *s);
  InvalidateRect(edit, nullptr, FALSE);
}

// Whether the text after a change still fits where the style says it
// must: a single-line edit without ES_AUTOHSCROLL within its width, a
// multi-line one without ES_AUTOVSCROLL within its lines.
bool Fits(HWND edit, const EditState& s, const EditModel& candidate) {
  const DWORD style = EditStyle(edit);
  const RECT fr = FormatRect(edit);
  if (!candidate.multiline()) {
    if (style & ES_AUTOHSCROLL) return true;
    EditModel probe = candidate;
    probe.Layout(s.widths, 0);
    return probe.LineWidth(s.widths, 0) <= fr.right - fr.left;
  }
  if (style & (ES_AUTOVSCROLL | WS_VSCROLL)) return true;
  EditModel probe = candidate;
  const bool wrap = !(style & ES_AUTOHSCROLL) && !(style & WS_HSCROLL);
  probe.Layout(s.widths, wrap ? fr.right - fr.left : 0);
  return static_cast<int>(probe.lines().size()) <= VisibleLines(edit, s);
}

// Inserts in place of the selection, within the limit and the room.
void Insert(HWND edit, const State& s, const std::string& raw, bool typing) {
  const std::string text = Cased(edit, raw);
  EditModel candidate = s->model;
  const ReplaceResult r = candidate.Replace(text, typing);
  if (r.changed && !Fits(edit, *s, candidate)) {
    MessageBeep(0);
    NotifyParent(edit, EN_MAXTEXT);
    return;
  }
  if (r.changed) {
    s->model = std::move(candidate);
    Changed(edit, s);
  }
  if (r.cut && IsWindow(edit)) NotifyParent(edit, EN_MAXTEXT);
}

void Copy(HWND edit, const State& s) {
  if (s->model.selStart() == s->model.selEnd() || (EditStyle(edit) & ES_PASSWORD)) return;
  const std::string piece = s->model.text().substr(s->model.selStart(), s->model.selEnd() - s->model.selStart());
  if (!OpenClipboard(edit)) return;
  EmptyClipboard();
  if (HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, piece.size() + 1)) {
    if (void* p = GlobalLock(mem)) {
      std::memcpy(p, piece.c_str(), piece.size() + 1);
      GlobalUnlock(mem);
      if (!SetClipboardData(CF_TEXT, mem)) GlobalFree(mem);
    } else {
      GlobalFree(mem);
    }
  }
  CloseClipboard();
}

void Paste(HWND edit, const State& s) {
  if (EditStyle(edit) & ES_READONLY) return;
  if (!OpenClipboard(edit)) return;
  std::string text;
  if (HANDLE mem = GetClipboardData(CF_TEXT)) {
    const auto size = static_cast<size_t>(GlobalSize(mem));
    if (const char* p = static_cast<const char*>(GlobalLock(mem))) {
      text.assign(p, strnlen(p, size));
      GlobalUnlock(mem);
    }
  }
  CloseClipboard();
  if (!text.empty()) Insert(edit, s, text, false);
}

void Clear(HWND edit, const State& s) {
  if (EditStyle(edit) & ES_READONLY) return;
  if (s->model.selStart() == s->model.selEnd()) return;
  s->model.Replace("");
  Changed(edit, s);
}

void MoveTo(HWND edit, const State& s, size_t pos, bool extend) {
  if (extend)
    s->model.Select(s->model.anchor(), pos);
  else
    s->model.Select(pos, pos);
  SelectionMoved(edit, s);
}

void KeyDown(HWND edit, const State& s, WPARAM vk, LPARAM lp) {
  EditModel& m = s->model;
  const bool shift = Shift(), ctrl = Ctrl();
  if (InCombo(edit) && (vk == VK_UP || vk == VK_DOWN || vk == VK_PRIOR || vk == VK_NEXT || vk == VK_F4 ||
                        vk == VK_RETURN || vk == VK_ESCAPE)) {
    if (SendMessage(GetParent(edit), kComboEditKey, vk, lp)) return;
  }
  const auto& lines = m.lines();
  const size_t caret = m.caret();
  const size_t line = m.LineOf(caret);
  const bool hasSel = m.selStart() != m.selEnd();
  switch (vk) {
    case VK_LEFT:
      MoveTo(edit, s, ctrl ? m.WordLeft(caret) : (hasSel && !shift ? m.selStart() : m.Left(caret)), shift);
      break;
    case VK_RIGHT:
      MoveTo(edit, s, ctrl ? m.WordRight(caret) : (hasSel && !shift ? m.selEnd() : m.Right(caret)), shift);
      break;
    case VK_HOME: MoveTo(edit, s, ctrl ? 0 : lines[line].start, shift); break;
    case VK_END:
      MoveTo(edit, s, ctrl ? m.text().size() : lines[line].start + lines[line].length, shift);
      break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
      if (!m.multiline()) break;
      const long long step = (vk == VK_UP || vk == VK_DOWN) ? 1 : VisibleLines(edit, *s);
      const long long dir = (vk == VK_UP || vk == VK_PRIOR) ? -1 : 1;
      const long long target = std::clamp<long long>(static_cast<long long>(line) + dir * step, 0,
                                                     static_cast<long long>(lines.size()) - 1);
      MoveTo(edit, s, m.PosAt(s->widths, static_cast<size_t>(target), m.XOf(s->widths, caret)), shift);
      break;
    }
    case VK_DELETE:
      if (EditStyle(edit) & ES_READONLY) break;
      if (shift) {
        Copy(edit, s);
        Clear(edit, s);
      } else if (m.DeleteForward()) {
        Changed(edit, s);
      }
      break;
    case VK_INSERT:
      if (ctrl) Copy(edit, s);
      else if (shift) Paste(edit, s);
      break;
    default: break;
  }
}

void Char(HWND edit, const State& s, WPARAM ch) {
  const DWORD style = EditStyle(edit);
  const bool readOnly = (style & ES_READONLY) != 0;
  switch (ch) {
    case 0x03: Copy(edit, s); return;
    case 0x16: Paste(edit, s); return;
    case 0x18:
      if (readOnly) return;
      Copy(edit, s);
      Clear(edit, s);
      return;
    case 0x1A:
      if (readOnly) return;
      if (s->model.Undo()) Changed(edit, s);
      return;
    default: break;
  }
  if (readOnly) {
    if (ch >= ' ' || ch == '\b') MessageBeep(0);
    return;
  }
  if (ch == '\b') {
    if (s->model.Backspace()) Changed(edit, s);
    return;
  }
  if (ch == '\r') {
    if (s->model.multiline()) Insert(edit, s, "\r\n", false);
    return;
  }
  if (ch == '\t') {
    if (s->model.multiline()) Insert(edit, s, "\t", true);
    return;
  }
  if (ch < ' ' || ch > 0xFF) return;
  if ((style & ES_NUMBER) && (ch < '0' || ch > '9')) {
    MessageBeep(0);
    return;
  }
  Insert(edit, s, std::string(1, static_cast<char>(ch)), true);
}

LRESULT DlgCode(HWND edit, const State& s, LPARAM lp) {
  LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
  const auto* msg = reinterpret_cast<const MSG*>(lp);
  if (msg && s && s->model.multiline() && msg->message == WM_KEYDOWN) {
    if (msg->wParam == VK_RETURN && ((EditStyle(edit) & ES_WANTRETURN) || Ctrl())) code |= DLGC_WANTALLKEYS;
    if (msg->wParam == VK_TAB && Ctrl()) code |= DLGC_WANTTAB;
  }
  // Enter and Escape close the list of a combo box that is down.
  if (InCombo(edit) && SendMessage(GetParent(edit), CB_GETDROPPEDSTATE, 0, 0)) code |= DLGC_WANTALLKEYS;
  return code;
}

LRESULT Create(HWND edit, const CREATESTRUCT* cs) {
  State s = AttachEditState(edit);
  const DWORD style = EditStyle(edit);
  s->model = EditModel((style & ES_MULTILINE) != 0);
  s->font = nullptr;
  Remeasure(edit, *s);
  if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName))
    s->model.SetText(Cased(edit, cs->lpszName));
  Relayout(edit, *s);
  UpdateScrollBars(edit, *s);
  return 0;
}

LRESULT Scroll(HWND edit, const State& s, int bar, WORD code, int thumb) {
  EditModel& m = s->model;
  if (bar == SB_VERT && m.multiline()) {
    const long long last = static_cast<long long>(m.lines().size()) - 1;
    long long top = static_cast<long long>(s->topLine);
    const int page = VisibleLines(edit, *s);
    switch (code) {
      case SB_LINEUP: --top; break;
      case SB_LINEDOWN: ++top; break;
      case SB_PAGEUP: top -= page; break;
      case SB_PAGEDOWN: top += page; break;
      case SB_TOP: top = 0; break;
      case SB_BOTTOM: top = last; break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: top = thumb; break;
      default: return 0;
    }
    s->topLine = static_cast<size_t>(std::clamp<long long>(top, 0, std::max<long long>(0, last)));
  } else if (bar == SB_HORZ) {
    const RECT fr = FormatRect(edit);
    const int page = fr.right - fr.left;
    int x = s->scrollX;
    switch (code) {
      case SB_LINELEFT: x -= s->widths.Of('x'); break;
      case SB_LINERIGHT: x += s->widths.Of('x'); break;
      case SB_PAGELEFT: x -= page; break;
      case SB_PAGERIGHT: x += page; break;
      case SB_LEFT: x = 0; break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: x = thumb; break;
      default: return 0;
    }
    s->scrollX = std::max(0, x);
  }
  UpdateScrollBars(edit, *s);
  PlaceCaret(edit, *s);
  InvalidateRect(edit, nullptr, FALSE);
  return 0;
}

LRESULT EmMessage(HWND edit, const State& s, UINT msg, WPARAM wp, LPARAM lp) {
  EditModel& m = s->model;
  const auto& lines = m.lines();
  switch (msg) {
    case EM_GETSEL: {
      const auto start = static_cast<DWORD>(m.selStart()), end = static_cast<DWORD>(m.selEnd());
      if (wp) *reinterpret_cast<DWORD*>(wp) = start;
      if (lp) *reinterpret_cast<DWORD*>(lp) = end;
      return MAKELRESULT(std::min<DWORD>(start, 0xFFFF), std::min<DWORD>(end, 0xFFFF));
    }
    case EM_SETSEL: {
      const auto start = static_cast<long long>(static_cast<int>(wp));
      const auto end = static_cast<long long>(static_cast<int>(lp));
      const size_t len = m.text().size();
      if (start < 0) {
        m.Select(m.caret(), m.caret());  // -1: no selection, the caret stays
      } else {
        const size_t a = std::min(static_cast<size_t>(start), len);
        const size_t b = end < 0 ? len : std::min(static_cast<size_t>(end), len);
        m.Select(a, b);
      }
      PlaceCaret(edit, *s);
      InvalidateRect(edit, nullptr, FALSE);
      return 0;
    }
    case EM_REPLACESEL: {
      const char* text = reinterpret_cast<const char*>(lp);
      Insert(edit, s, text ? text : "", false);
      if (!wp) m.EmptyUndo();
      return 0;
    }
    case EM_LIMITTEXT:
      m.SetLimit(static_cast<size_t>(wp));
      return 0;
    case EM_GETLIMITTEXT: return static_cast<LRESULT>(m.limit());
    case EM_GETLINECOUNT: return static_cast<LRESULT>(m.multiline() ? lines.size() : 1);
    case EM_LINEINDEX: {
      const long long line = static_cast<int>(wp) < 0 ? static_cast<long long>(m.LineOf(m.caret()))
                                                     : static_cast<long long>(static_cast<int>(wp));
      if (line >= static_cast<long long>(lines.size())) return -1;
      return static_cast<LRESULT>(lines[static_cast<size_t>(line)].start);
    }
    case EM_LINEFROMCHAR: {
      const size_t pos = static_cast<int>(wp) < 0 ? m.selStart() : static_cast<size_t>(wp);
      return static_cast<LRESULT>(m.LineOf(std::min(pos, m.text().size())));
    }
    case EM_LINELENGTH: {
      if (!m.multiline()) return static_cast<LRESULT>(m.text().size());
      if (static_cast<int>(wp) < 0) {
        // The characters of the selection's lines that are not selected.
        const EditLine& a = lines[m.LineOf(m.selStart())];
        const EditLine& b = lines[m.LineOf(m.selEnd())];
        return static_cast<LRESULT>((m.selStart() - a.start) + (b.start + b.length - std::min(m.selEnd(), b.start + b.length)));
      }
      const size_t pos = std::min(static_cast<size_t>(wp), m.text().size());
      return static_cast<LRESULT>(lines[m.LineOf(pos)].length);
    }
    case EM_GETLINE: {
      char* out = reinterpret_cast<char*>(lp);
      if (!out) return 0;
      WORD max = 0;
      std::memcpy(&max, out, sizeof max);
      const size_t line = m.multiline() ? static_cast<size_t>(wp) : 0;
      if (line >= lines.size()) return 0;
      const size_t n = std::min<size_t>(lines[line].length, max);
      std::memcpy(out, m.text().data() + lines[line].start, n);
      return static_cast<LRESULT>(n);
    }
    case EM_SETREADONLY: {
      const LONG_PTR style = GetWindowLong(edit, GWL_STYLE);
      SetWindowLong(edit, GWL_STYLE, wp ? (style | ES_READONLY) : (style & ~static_cast<LONG_PTR>(ES_READONLY)));
      InvalidateRect(edit, nullptr, TRUE);
      return TRUE;
    }
    case EM_GETMODIFY: return m.modified() ? TRUE : FALSE;
    case EM_SETMODIFY:
      m.SetModified(wp != 0);
      return 0;
    case EM_SCROLLCARET:
      ScrollToCaret(edit, *s);
      return TRUE;
    case EM_SETPASSWORDCHAR: {
      if (m.multiline()) return 0;
      s->passwordChar = static_cast<char>(wp & 0xFF);
      const LONG_PTR style = GetWindowLong(edit, GWL_STYLE);
      SetWindowLong(edit, GWL_STYLE, wp ? (style | ES_PASSWORD) : (style & ~static_cast<LONG_PTR>(ES_PASSWORD)));
      Remeasure(edit, *s);
      Relayout(edit, *s);
      ScrollToCaret(edit, *s);
      InvalidateRect(edit, nullptr, TRUE);
      return 0;
    }
    case EM_GETPASSWORDCHAR:
      return (EditStyle(edit) & ES_PASSWORD) ? static_cast<unsigned char>(s->passwordChar) : 0;
    case EM_CANUNDO: return m.CanUndo() ? TRUE : FALSE;
    case EM_UNDO:
      if (!m.Undo()) return FALSE;
      Changed(edit, s);
      return TRUE;
    case EM_EMPTYUNDOBUFFER:
      m.EmptyUndo();
      return 0;
    case EM_GETFIRSTVISIBLELINE:
      if (m.multiline()) return static_cast<LRESULT>(s->topLine);
      return static_cast<LRESULT>(m.PosAt(s->widths, 0, s->scrollX));
    case EM_GETRECT:
      if (lp) *reinterpret_cast<RECT*>(lp) = FormatRect(edit);
      return 0;
    case EM_LINESCROLL:
      if (!m.multiline()) return FALSE;
      if (static_cast<int>(lp)) {
        const long long top = static_cast<long long>(s->topLine) + static_cast<int>(lp);
        s->topLine = static_cast<size_t>(std::clamp<long long>(top, 0, static_cast<long long>(lines.size()) - 1));
      }
      if (static_cast<int>(wp)) s->scrollX = std::max(0, s->scrollX + static_cast<int>(wp) * s->widths.Of('x'));
      UpdateScrollBars(edit, *s);
      PlaceCaret(edit, *s);
      InvalidateRect(edit, nullptr, FALSE);
      return TRUE;
    case EM_SCROLL:
      if (!m.multiline()) return FALSE;
      Scroll(edit, s, SB_VERT, static_cast<WORD>(wp), 0);
      return TRUE;
    case EM_POSFROMCHAR: {
      const size_t pos = std::min(static_cast<size_t>(wp), m.text().size());
      const POINT p = PointFromPos(edit, *s, pos);
      return MAKELRESULT(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
    }
    case EM_CHARFROMPOS: {
      const POINT p{static_cast<SHORT>(LOWORD(lp)), static_cast<SHORT>(HIWORD(lp))};
      const size_t pos = PosFromPoint(edit, *s, p);
      return MAKELRESULT(static_cast<WORD>(std::min<size_t>(pos, 0xFFFF)),
                         static_cast<WORD>(std::min<size_t>(m.LineOf(pos), 0xFFFF)));
    }
    default: return 0;
  }
}

}  // namespace

LRESULT EditProc(HWND edit, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CREATE) return Create(edit, reinterpret_cast<const CREATESTRUCT*>(lp));
  State s = EditStateOf(edit);
  if (!s) return DefWindowProc(edit, msg, wp, lp);
  EditModel& m = s->model;
  switch (msg) {
    case WM_GETDLGCODE: return DlgCode(edit, s, lp);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(edit, &ps);
      if (dc) PaintEdit(edit, *s, dc);
      EndPaint(edit, &ps);
      return 0;
    }
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lp);
      if (!m.SetText(Cased(edit, text ? text : ""))) return FALSE;
      s->topLine = 0;
      s->scrollX = 0;
      Changed(edit, s, !m.multiline());
      return TRUE;
    }
    case WM_GETTEXT: {
      char* out = reinterpret_cast<char*>(lp);
      if (!out || wp == 0) return 0;
      const size_t n = std::min(m.text().size(), static_cast<size_t>(wp) - 1);
      std::memcpy(out, m.text().data(), n);
      out[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(m.text().size());
    case WM_SETFONT:
      DefWindowProc(edit, msg, wp, 0);
      s->font = reinterpret_cast<HFONT>(wp);
      Remeasure(edit, *s);
      Relayout(edit, *s);
      if (s->focused) {
        DestroyCaret();
        CreateCaret(edit, nullptr, 1, s->widths.height);
        ShowCaret(edit);
      }
      ScrollToCaret(edit, *s);
      if (LOWORD(lp)) InvalidateRect(edit, nullptr, TRUE);
      return 0;
    case WM_SIZE:
      Relayout(edit, *s);
      ScrollToCaret(edit, *s);
      InvalidateRect(edit, nullptr, FALSE);
      return 0;
    case WM_ENABLE:
      InvalidateRect(edit, nullptr, TRUE);
      return 0;
    case WM_SETFOCUS:
      s->focused = true;
      CreateCaret(edit, nullptr, 1, s->widths.height);
      PlaceCaret(edit, *s);
      ShowCaret(edit);
      InvalidateRect(edit, nullptr, FALSE);
      NotifyParent(edit, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      s->focused = false;
      s->selecting = false;
      DestroyCaret();
      InvalidateRect(edit, nullptr, FALSE);
      NotifyParent(edit, EN_KILLFOCUS);
      return 0;
    case WM_KEYDOWN:
      KeyDown(edit, s, wp, lp);
      return 0;
    case WM_SYSKEYDOWN:
      if (InCombo(edit) && (wp == VK_DOWN || wp == VK_UP) &&
          SendMessage(GetParent(edit), kComboEditKey, wp, lp))
        return 0;
      return DefWindowProc(edit, msg, wp, lp);
    case WM_CHAR:
      Char(edit, s, wp);
      return 0;
    case WM_LBUTTONDOWN: {
      if (GetFocus() != edit) SetFocus(edit);
      if (!IsWindow(edit)) return 0;
      const POINT p{static_cast<SHORT>(LOWORD(lp)), static_cast<SHORT>(HIWORD(lp))};
      MoveTo(edit, s, PosFromPoint(edit, *s, p), (wp & MK_SHIFT) != 0);
      s->selecting = true;
      SetCapture(edit);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (s->selecting && GetCapture() == edit) {
        const POINT p{static_cast<SHORT>(LOWORD(lp)), static_cast<SHORT>(HIWORD(lp))};
        const size_t pos = PosFromPoint(edit, *s, p);
        if (pos != m.caret()) MoveTo(edit, s, pos, true);
      }
      return 0;
    case WM_LBUTTONUP:
      if (s->selecting) {
        s->selecting = false;
        if (GetCapture() == edit) ReleaseCapture();
      }
      return 0;
    case WM_LBUTTONDBLCLK: {
      const POINT p{static_cast<SHORT>(LOWORD(lp)), static_cast<SHORT>(HIWORD(lp))};
      size_t a = 0, b = 0;
      m.WordAt(PosFromPoint(edit, *s, p), &a, &b);
      m.Select(a, b);
      SelectionMoved(edit, s);
      return 0;
    }
    case WM_CAPTURECHANGED:
      s->selecting = false;
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
      return Scroll(edit, s, msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wp), static_cast<SHORT>(HIWORD(wp)));
    case WM_CUT:
      if (EditStyle(edit) & ES_READONLY) return 0;
      Copy(edit, s);
      Clear(edit, s);
      return 0;
    case WM_COPY:
      Copy(edit, s);
      return 0;
    case WM_PASTE:
      Paste(edit, s);
      return 0;
    case WM_CLEAR:
      Clear(edit, s);
      return 0;
    case WM_UNDO: return EmMessage(edit, s, EM_UNDO, 0, 0);
    case WM_NCDESTROY: {
      const LRESULT r = DefWindowProc(edit, msg, wp, lp);
      return r;
    }
    default:
      if (msg >= EM_GETSEL && msg <= EM_CHARFROMPOS) return EmMessage(edit, s, msg, wp, lp);
      return DefWindowProc(edit, msg, wp, lp);
  }
}

}  // namespace win::user
