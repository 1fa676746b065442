// The thread's caret: an inverted rectangle that blinks on a system timer.
#include "caret.h"

#include "message_queue.h"
#include "win/gdi.h"
#include "win/kernel.h"
#include "window_store.h"

using namespace win::user;

namespace {

constexpr UINT kDefaultBlinkMs = 530;  // the Windows 95 default
constexpr UINT_PTR kBlinkTimer = 0xFFFA;
const HBITMAP kGreyCaret = reinterpret_cast<HBITMAP>(1);

struct Caret {
  HWND wnd = nullptr;
  HBITMAP bitmap = nullptr;
  int width = 0;
  int height = 0;
  POINT pos{0, 0};
  int hideCount = 1;  // shown at 0
  bool on = false;    // its pixels are inverted now
  int paintHides = 0;  // hides by BeginPaint / ScrollWindowEx not yet undone
};

struct State {
  Caret caret;
  UINT blinkMs = kDefaultBlinkMs;
};

State& state() {
  static State s;
  return s;
}

// Inverts the caret's rectangle in its window (the window's visible part).
void Invert(const Caret& c) {
  if (!FindWindow(c.wnd)) return;
  HDC dc = GetDC(c.wnd);
  if (!dc) return;
  if (c.bitmap && c.bitmap != kGreyCaret) {
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, c.bitmap);
    BitBlt(dc, c.pos.x, c.pos.y, c.width, c.height, mem, 0, 0, SRCINVERT);
    SelectObject(mem, old);
    DeleteDC(mem);
  } else if (c.bitmap == kGreyCaret) {
    // Every other pixel, as Windows' grey caret.
    static const WORD kChecker[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, kChecker);
    HBRUSH brush = CreatePatternBrush(pattern);
    HGDIOBJ old = SelectObject(dc, brush);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    PatBlt(dc, c.pos.x, c.pos.y, c.width, c.height, PATINVERT);
    SelectObject(dc, old);
    DeleteObject(brush);
    DeleteObject(pattern);
  } else {
    PatBlt(dc, c.pos.x, c.pos.y, c.width, c.height, DSTINVERT);
  }
  ReleaseDC(c.wnd, dc);
}

void Blink(HWND, UINT_PTR) {
  Caret& c = state().caret;
  if (!c.wnd || c.hideCount > 0) return;
  Invert(c);
  c.on = !c.on;
}

void StartBlinking(Caret& c) { SetSystemTimer(c.wnd, kBlinkTimer, state().blinkMs, Blink); }
void StopBlinking(Caret& c) {
  if (c.wnd) KillSystemTimer(c.wnd, kBlinkTimer);
}

void TurnOff(Caret& c) {
  if (c.on) Invert(c);
  c.on = false;
}

bool Owns(const Caret& c, HWND wnd) { return c.wnd && (!wnd || wnd == c.wnd); }

}  // namespace

BOOL CreateCaret(HWND wnd, HBITMAP bitmap, int width, int height) {
  if (!FindWindow(wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  DestroyCaret();
  Caret& c = state().caret;
  c.wnd = wnd;
  c.bitmap = bitmap;
  if (bitmap && bitmap != kGreyCaret) {
    BITMAP bm{};
    if (!GetObject(bitmap, sizeof bm, &bm)) {
      c = Caret{};
      return FALSE;
    }
    width = bm.bmWidth;
    height = bm.bmHeight;
  }
  c.width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
  c.height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
  return TRUE;
}

BOOL DestroyCaret() {
  Caret& c = state().caret;
  if (!c.wnd) return FALSE;
  TurnOff(c);
  StopBlinking(c);
  c = Caret{};
  return TRUE;
}

BOOL ShowCaret(HWND wnd) {
  Caret& c = state().caret;
  if (!Owns(c, wnd)) return FALSE;
  if (c.hideCount == 0) return TRUE;  // already shown: the count stays at 0
  if (--c.hideCount == 0) {
    Invert(c);
    c.on = true;
    StartBlinking(c);
  }
  return TRUE;
}

BOOL HideCaret(HWND wnd) {
  Caret& c = state().caret;
  if (!Owns(c, wnd)) return FALSE;
  if (c.hideCount++ == 0) {
    TurnOff(c);
    StopBlinking(c);
  }
  return TRUE;
}

BOOL SetCaretPos(int x, int y) {
  Caret& c = state().caret;
  if (!c.wnd) return FALSE;
  if (c.pos.x == x && c.pos.y == y) return TRUE;
  TurnOff(c);
  c.pos = POINT{x, y};
  if (c.hideCount == 0) {
    // A moved caret shows at once and starts a new blink period.
    Invert(c);
    c.on = true;
    StartBlinking(c);
  }
  return TRUE;
}

BOOL GetCaretPos(LPPOINT out) {
  const Caret& c = state().caret;
  if (!out || !c.wnd) return FALSE;
  *out = c.pos;
  return TRUE;
}

UINT GetCaretBlinkTime() { return state().blinkMs; }

BOOL SetCaretBlinkTime(UINT ms) {
  if (ms == 0) return FALSE;
  state().blinkMs = ms;
  Caret& c = state().caret;
  if (c.wnd && c.hideCount == 0) StartBlinking(c);
  return TRUE;
}

namespace win::user {

void HideCaretWhilePainting(HWND wnd) {
  Caret& c = state().caret;
  if (c.wnd != wnd) return;
  HideCaret(wnd);
  ++c.paintHides;
}

void ShowCaretAfterPainting(HWND wnd) {
  Caret& c = state().caret;
  if (c.wnd != wnd || c.paintHides == 0) return;
  --c.paintHides;
  ShowCaret(wnd);
}

void HideCaretForScroll(HWND wnd) { HideCaretWhilePainting(wnd); }

void ShowCaretAfterScroll(HWND wnd, const RECT& scrolled, int dx, int dy) {
  Caret& c = state().caret;
  if (c.wnd != wnd) return;
  if (c.pos.x >= scrolled.left && c.pos.x < scrolled.right && c.pos.y >= scrolled.top &&
      c.pos.y < scrolled.bottom) {
    c.pos.x += dx;
    c.pos.y += dy;
  }
  ShowCaretAfterPainting(wnd);
}

void ForgetWindowCaret(HWND wnd) {
  Caret& c = state().caret;
  if (c.wnd != wnd) return;
  StopBlinking(c);
  c = Caret{};
}

void ResetCaret() { state() = State{}; }

}  // namespace win::user
