// The system's mouse trackers: scroll bars (with auto-repeat), moving a
// window by its caption, and the caption's close button. Windows runs these
// as modal loops inside DefWindowProc; here they are states that the input
// queue feeds, so the application's own loop keeps running meanwhile.
#include "tracking.h"

#include <cstdlib>

#include "geometry.h"
#include "message_queue.h"
#include "nonclient.h"
#include "scrollbar.h"
#include "window_store.h"

namespace win::user {
namespace {

constexpr UINT_PTR kRepeatTimer = 0xFFFB;
constexpr UINT kFirstRepeatMs = 200;
constexpr UINT kRepeatMs = 50;

enum class Kind { None, Scroll, Move, Close };

struct Tracker {
  Kind kind = Kind::None;
  HWND wnd = nullptr;
  int bar = SB_VERT;
  ScrollPart part = ScrollPart::None;
  bool over = true;     // the pointer is over the pressed part
  int grab = 0;         // thumb: where in the thumb it was taken
  int thumbOffset = -1; // thumb: where it is drawn now
  int startPos = 0;     // thumb: the position before the drag
  int trackValue = 0;   // thumb: the last SB_THUMBTRACK position
  bool nearBar = true;  // thumb: the pointer is close enough to drag
  POINT start{0, 0};    // move: where the press was
  RECT startRect{};     // move: the window's rectangle then
};

Tracker& tracker() {
  static Tracker t;
  return t;
}

POINT ToWindow(HWND wnd, POINT screen) {
  const POINT o = WindowOriginOnScreen(wnd);
  return POINT{screen.x - o.x, screen.y - o.y};
}

void SendScroll(HWND wnd, int bar, int code, int pos) {
  SendMessage(wnd, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL,
              MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(pos)), 0);
}

int CodeOf(ScrollPart part) {
  switch (part) {
    case ScrollPart::ArrowUp: return SB_LINEUP;
    case ScrollPart::ArrowDown: return SB_LINEDOWN;
    case ScrollPart::PageUp: return SB_PAGEUP;
    case ScrollPart::PageDown: return SB_PAGEDOWN;
    default: return -1;
  }
}

void End() {
  Tracker& t = tracker();
  const HWND wnd = t.wnd;
  const Kind kind = t.kind;
  const int bar = t.bar;
  t = Tracker{};
  if (!FindWindow(wnd)) return;
  KillSystemTimer(wnd, kRepeatTimer);
  if (GetCapture() == wnd) ReleaseCapture();
  if (kind == Kind::Scroll) RedrawScrollBar(wnd, bar);
  if (kind == Kind::Close) PaintFrame(wnd);
}

void Repeat(HWND wnd, UINT_PTR) {
  Tracker& t = tracker();
  if (t.kind != Kind::Scroll || t.wnd != wnd) {
    KillSystemTimer(wnd, kRepeatTimer);
    return;
  }
  SetSystemTimer(wnd, kRepeatTimer, kRepeatMs, Repeat);
  const int code = CodeOf(t.part);
  if (code >= 0 && t.over) SendScroll(wnd, t.bar, code, 0);
}

void ScrollMove(POINT screen) {
  Tracker& t = tracker();
  Window* w = FindWindow(t.wnd);
  if (!w) return End();
  const POINT p = ToWindow(t.wnd, screen);
  const BarGeometry g = MeasureBar(*w, t.bar);
  if (t.part != ScrollPart::Thumb) {
    const bool over = PartAt(*w, t.bar, g, p) == t.part;
    if (over != t.over) {
      t.over = over;
      RedrawScrollBar(t.wnd, t.bar);
    }
    return;
  }
  // The thumb follows while the pointer stays near the bar; farther away it
  // goes back to where it was, as on Windows.
  const int across = g.vertical ? p.x - (g.rect.left + g.rect.right) / 2 : p.y - (g.rect.top + g.rect.bottom) / 2;
  const int thickness = g.vertical ? g.rect.right - g.rect.left : g.rect.bottom - g.rect.top;
  t.nearBar = std::abs(across) <= thickness * 4;
  const ScrollBarState& s = *BarState(*w, t.bar);
  int value = t.startPos;
  if (t.nearBar) {
    const int along = g.vertical ? p.y - g.rect.top : p.x - g.rect.left;
    t.thumbOffset = along - t.grab;
    value = ThumbValueAt(s, g, t.thumbOffset);
  } else {
    t.thumbOffset = -1;
  }
  RedrawScrollBar(t.wnd, t.bar);
  if (value != t.trackValue) {
    t.trackValue = value;
    if (Window* again = FindWindow(t.wnd)) BarState(*again, t.bar)->trackPos = value;
    SendScroll(t.wnd, t.bar, SB_THUMBTRACK, value);
  }
}

void ScrollUp() {
  Tracker& t = tracker();
  const HWND wnd = t.wnd;
  const int bar = t.bar;
  const bool thumb = t.part == ScrollPart::Thumb;
  const int value = t.nearBar ? t.trackValue : t.startPos;
  End();
  if (!FindWindow(wnd)) return;
  if (thumb) SendScroll(wnd, bar, SB_THUMBPOSITION, value);
  if (FindWindow(wnd)) SendScroll(wnd, bar, SB_ENDSCROLL, 0);
}

}  // namespace

bool TrackerActive() { return tracker().kind != Kind::None; }

void TrackerMouse(TrackEvent event, POINT screen) {
  Tracker& t = tracker();
  if (t.kind == Kind::None) return;
  if (!FindWindow(t.wnd) || GetCapture() != t.wnd) {
    // The window went, or someone else took the mouse.
    CancelTracking();
    return;
  }
  if (event == TrackEvent::Down) return;  // another button: ignored meanwhile
  switch (t.kind) {
    case Kind::Scroll:
      if (event == TrackEvent::Move)
        ScrollMove(screen);
      else
        ScrollUp();
      break;
    case Kind::Move:
      if (event == TrackEvent::Move) {
        const int dx = screen.x - t.start.x, dy = screen.y - t.start.y;
        SetWindowPos(t.wnd, nullptr, t.startRect.left + dx, t.startRect.top + dy, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      } else {
        End();
      }
      break;
    case Kind::Close: {
      Window* w = FindWindow(t.wnd);
      const FrameLayout f = LayoutFrameOf(*w);
      const POINT p = ToWindow(t.wnd, screen);
      const bool over = p.x >= f.closeBox.left && p.x < f.closeBox.right && p.y >= f.closeBox.top &&
                        p.y < f.closeBox.bottom;
      if (event == TrackEvent::Move) {
        if (over != t.over) {
          t.over = over;
          PaintFrame(t.wnd);
        }
      } else {
        const HWND wnd = t.wnd;
        End();
        if (over && FindWindow(wnd)) SendMessage(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      break;
    }
    case Kind::None: break;
  }
}

void StartScrollTracking(HWND wnd, int bar, POINT screen) {
  Window* w = FindWindow(wnd);
  if (!w || TrackerActive()) return;
  const BarGeometry g = MeasureBar(*w, bar);
  const POINT p = ToWindow(wnd, screen);
  const ScrollPart part = PartAt(*w, bar, g, p);
  if (part == ScrollPart::None) return;
  Tracker& t = tracker();
  t = Tracker{};
  t.kind = Kind::Scroll;
  t.wnd = wnd;
  t.bar = bar;
  t.part = part;
  SetCapture(wnd);
  if (part == ScrollPart::Thumb) {
    const ScrollBarState& s = *BarState(*w, bar);
    t.grab = (g.vertical ? p.y - g.rect.top : p.x - g.rect.left) - g.thumbOffset;
    t.thumbOffset = g.thumbOffset;
    t.startPos = t.trackValue = s.pos;
    BarState(*w, bar)->trackPos = s.pos;
    RedrawScrollBar(wnd, bar);
    return;
  }
  RedrawScrollBar(wnd, bar);
  SendScroll(wnd, bar, CodeOf(part), 0);
  if (tracker().kind == Kind::Scroll && FindWindow(wnd))
    SetSystemTimer(wnd, kRepeatTimer, kFirstRepeatMs, Repeat);
}

void StartMoveTracking(HWND wnd, POINT screen) {
  Window* w = FindWindow(wnd);
  if (!w || TrackerActive()) return;
  Tracker& t = tracker();
  t = Tracker{};
  t.kind = Kind::Move;
  t.wnd = wnd;
  t.start = screen;
  t.startRect = w->rect;
  SetCapture(wnd);
}

void StartCloseTracking(HWND wnd) {
  if (!FindWindow(wnd) || TrackerActive()) return;
  Tracker& t = tracker();
  t = Tracker{};
  t.kind = Kind::Close;
  t.wnd = wnd;
  t.over = true;
  SetCapture(wnd);
  PaintFrame(wnd);
}

void CancelTracking() {
  if (tracker().kind != Kind::None) End();
}

void ResetTracking() { tracker() = Tracker{}; }

ScrollPart PressedScrollPart(HWND wnd, int bar) {
  const Tracker& t = tracker();
  if (t.kind != Kind::Scroll || t.wnd != wnd || t.bar != bar || !t.over) return ScrollPart::None;
  return t.part;
}

int DraggedThumbOffset(HWND wnd, int bar) {
  const Tracker& t = tracker();
  if (t.kind != Kind::Scroll || t.wnd != wnd || t.bar != bar || t.part != ScrollPart::Thumb) return -1;
  return t.nearBar ? t.thumbOffset : -1;
}

bool ClosePressed(HWND wnd) {
  const Tracker& t = tracker();
  return t.kind == Kind::Close && t.wnd == wnd && t.over;
}

}  // namespace win::user
