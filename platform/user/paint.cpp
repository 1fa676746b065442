// Invalidation, validation, BeginPaint and EndPaint.
#include "paint.h"

#include <algorithm>

#include "caret.h"
#include "gdi/objects.h"
#include "gdi/window_dc.h"
#include "geometry.h"
#include "win/gdi.h"
#include "win/kernel.h"

namespace win::user {
namespace {

RECT ClientArea(const Window& w) {
  return RECT{0, 0, w.client.right - w.client.left, w.client.bottom - w.client.top};
}

bool NeedsPaint(const Window& w) {
  return !w.update.IsEmpty() || w.ncPaintPending || w.internalPaint;
}

HWND FindToPaint(HWND wnd) {
  Window* w = FindWindow(wnd);
  if (!w || !w->visible() || (w->style & WS_MINIMIZE)) return nullptr;
  if (NeedsPaint(*w)) return wnd;
  for (HWND c : w->children)
    if (HWND found = FindToPaint(c)) return found;
  return nullptr;
}

// Sends WM_NCPAINT and WM_ERASEBKGND now where they are pending.
void EraseNow(HWND wnd, bool children) {
  Window* w = FindWindow(wnd);
  if (!w || !IsShowing(wnd)) return;
  if (w->ncPaintPending) {
    w->ncPaintPending = false;
    SendMessage(wnd, WM_NCPAINT, 1, 0);
    w = FindWindow(wnd);
    if (!w) return;
  }
  if (w->erasePending) {
    w->erasePending = false;
    const gdi::Region clip = w->update;
    if (HDC dc = gdi::CreateWindowDc(wnd, true, &clip)) {
      if (!SendMessage(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0))
        if (Window* again = FindWindow(wnd)) again->erasePending = true;
      gdi::ReleaseWindowDc(dc);
    }
    w = FindWindow(wnd);
    if (!w) return;
  }
  if (!children) return;
  const std::vector<HWND> list = w->children;
  for (HWND c : list) EraseNow(c, true);
}

void UpdateNow(HWND wnd, bool children) {
  Window* w = FindWindow(wnd);
  if (!w || !IsShowing(wnd)) return;
  if (NeedsPaint(*w)) {
    SendMessage(wnd, WM_PAINT, 0, 0);
    ValidateAfterPaint(wnd);
    w = FindWindow(wnd);
    if (!w) return;
  }
  if (!children) return;
  const std::vector<HWND> list = w->children;
  for (HWND c : list) UpdateNow(c, true);
}

}  // namespace

void RedrawRegion(HWND wnd, const gdi::Region* clientRgn, UINT flags) {
  Window* w = FindWindow(wnd);
  if (!w || wnd == DesktopHandle()) return;
  const RECT clientRect = ClientArea(*w);
  const gdi::Region area = clientRgn ? clientRgn->IntersectRect(clientRect) : gdi::Region(clientRect);

  if ((flags & (RDW_INVALIDATE | RDW_INTERNALPAINT)) && !IsShowing(wnd))
    return;  // hidden windows are painted whole when shown
  if (flags & RDW_INTERNALPAINT) w->internalPaint = true;
  if (flags & RDW_INVALIDATE) {
    if (!area.IsEmpty()) {
      w->update = w->update.Union(area);
      if (flags & RDW_ERASE) w->erasePending = true;
    }
    if ((flags & RDW_FRAME) && !clientRgn) w->ncPaintPending = true;
  } else if (flags & RDW_VALIDATE) {
    w->update = w->update.Subtract(area);
    if (w->update.IsEmpty() || (flags & RDW_NOERASE)) w->erasePending = false;
    if (flags & RDW_FRAME) w->ncPaintPending = false;
    if (flags & RDW_NOINTERNALPAINT) w->internalPaint = false;
  }
  if (flags & RDW_NOERASE) w->erasePending = false;

  const bool children = (flags & RDW_ALLCHILDREN) ||
                        (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN));
  if (children && (flags & (RDW_INVALIDATE | RDW_VALIDATE))) {
    const std::vector<HWND> list = w->children;
    for (HWND c : list) {
      Window* cw = FindWindow(c);
      if (!cw || !cw->visible()) continue;
      gdi::Region part = area.IntersectRect(cw->rect);
      if (part.IsEmpty()) continue;
      // The frame of the child under the region is drawn again too.
      const RECT cc{cw->rect.left + cw->client.left, cw->rect.top + cw->client.top,
                    cw->rect.left + cw->client.right, cw->rect.top + cw->client.bottom};
      const bool touchesFrame = !part.Subtract(gdi::Region(cc)).IsEmpty();
      part.Offset(-cc.left, -cc.top);
      const UINT childFlags = flags & ~static_cast<UINT>(RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME);
      RedrawRegion(c, &part, childFlags);
      if (touchesFrame && !(flags & RDW_NOFRAME)) {
        if (Window* again = FindWindow(c)) {
          if (flags & RDW_INVALIDATE) again->ncPaintPending = true;
        }
      }
    }
  }
  if (flags & RDW_UPDATENOW)
    UpdateNow(wnd, !(flags & RDW_NOCHILDREN));
  else if (flags & RDW_ERASENOW)
    EraseNow(wnd, !(flags & RDW_NOCHILDREN));
}

void InvalidateUncovered(HWND wnd, const RECT& rectInParent) {
  Window* w = FindWindow(wnd);
  if (!w || !w->isChild() || !w->parent) return;
  const gdi::Region area(rectInParent);
  RedrawRegion(w->parent, &area, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HWND NextWindowToPaint(HWND filter) {
  if (filter) return FindToPaint(filter);
  const std::vector<HWND> tops = FindWindow(DesktopHandle())->children;
  for (HWND t : tops)
    if (HWND found = FindToPaint(t)) return found;
  return nullptr;
}

void ValidateAfterPaint(HWND wnd) {
  Window* w = FindWindow(wnd);
  if (!w) return;
  w->update = gdi::Region();
  w->erasePending = false;
  w->ncPaintPending = false;
  w->internalPaint = false;
}

}  // namespace win::user

using namespace win::user;
namespace gdi = win::gdi;

BOOL RedrawWindow(HWND wnd, const RECT* rect, HRGN rgn, UINT flags) {
  if (!wnd) wnd = DesktopHandle();
  if (wnd == DesktopHandle()) {
    // The desktop stands for every top-level window.
    const std::vector<HWND> tops = FindWindow(DesktopHandle())->children;
    for (HWND t : tops) RedrawWindow(t, nullptr, nullptr, flags | RDW_ALLCHILDREN);
    return TRUE;
  }
  if (!FindWindow(wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (rgn) {
    const gdi::Region* r = gdi::LookupRegion(rgn);
    if (!r) return FALSE;
    RedrawRegion(wnd, r, flags);
  } else if (rect) {
    const gdi::Region r(*rect);
    RedrawRegion(wnd, &r, flags);
  } else {
    RedrawRegion(wnd, nullptr, flags);
  }
  return TRUE;
}

BOOL InvalidateRect(HWND wnd, const RECT* rect, BOOL erase) {
  return RedrawWindow(wnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND wnd, HRGN rgn, BOOL erase) {
  return RedrawWindow(wnd, nullptr, rgn, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND wnd, const RECT* rect) {
  return RedrawWindow(wnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND wnd, HRGN rgn) {
  return RedrawWindow(wnd, nullptr, rgn, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL UpdateWindow(HWND wnd) {
  if (!FindWindow(wnd)) return FALSE;
  return RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

BOOL GetUpdateRect(HWND wnd, LPRECT out, BOOL erase) {
  Window* w = FindWindow(wnd);
  if (!w) return FALSE;
  if (erase && w->erasePending) {
    EraseNow(wnd, false);
    w = FindWindow(wnd);
    if (!w) return FALSE;
  }
  if (out) *out = w->update.Bounds();
  return w->update.IsEmpty() ? FALSE : TRUE;
}

int GetUpdateRgn(HWND wnd, HRGN out, BOOL erase) {
  Window* w = FindWindow(wnd);
  gdi::Region* target = gdi::LookupRegion(out);
  if (!w || !target) return ERROR;
  if (erase && w->erasePending) {
    EraseNow(wnd, false);
    w = FindWindow(wnd);
    if (!w) return ERROR;
  }
  *target = w->update;
  return target->Type();
}

HDC BeginPaint(HWND wnd, LPPAINTSTRUCT ps) {
  Window* w = FindWindow(wnd);
  if (!w || !ps) return nullptr;
  *ps = PAINTSTRUCT{};
  HideCaretWhilePainting(wnd);
  if (w->ncPaintPending) {
    w->ncPaintPending = false;
    SendMessage(wnd, WM_NCPAINT, 1, 0);
    w = FindWindow(wnd);
    if (!w) return nullptr;
  }
  const gdi::Region region = w->update;
  const bool erase = w->erasePending;
  w->update = gdi::Region();
  w->erasePending = false;
  w->internalPaint = false;
  HDC dc = gdi::CreateWindowDc(wnd, true, &region);
  if (!dc) {
    ShowCaretAfterPainting(wnd);
    return nullptr;
  }
  ps->hdc = dc;
  ps->rcPaint = region.Bounds();
  ps->fErase = erase ? TRUE : FALSE;
  if (erase) ps->fErase = SendMessage(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  if (Window* again = FindWindow(wnd)) again->painting = true;
  return dc;
}

BOOL EndPaint(HWND wnd, const PAINTSTRUCT* ps) {
  if (!ps) return FALSE;
  if (ps->hdc) gdi::ReleaseWindowDc(ps->hdc);
  if (Window* w = FindWindow(wnd)) {
    w->painting = false;
    ShowCaretAfterPainting(wnd);
  }
  return TRUE;
}
