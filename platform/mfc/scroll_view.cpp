// CScrollView: a view over a document area of fixed size, with the
// window's own scroll bars.
#include <algorithm>
#include <climits>

#include "mfc/dc.h"
#include "mfc/view.h"

IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CScrollView, CView)
  ON_WM_SIZE()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
END_MESSAGE_MAP()

const CSize CScrollView::sizeDefault(0, 0);

void CScrollView::SetScrollSizes(int mapMode, SIZE total, const SIZE& page, const SIZE& line) {
  const int oldMode = m_nMapMode;
  // Only MM_TEXT exists: logical units are pixels.
  m_nMapMode = mapMode ? mapMode : MM_TEXT;
  m_totalLog = CSize(std::max<LONG>(total.cx, 0), std::max<LONG>(total.cy, 0));
  m_totalDev = m_totalLog;
  m_pageDev = CSize(page.cx ? page.cx : m_totalDev.cx / 10, page.cy ? page.cy : m_totalDev.cy / 10);
  m_lineDev = CSize(line.cx ? line.cx : m_pageDev.cx / 10, line.cy ? line.cy : m_pageDev.cy / 10);
  if (m_hWnd) {
    UpdateBars();
    if (oldMode != m_nMapMode) Invalidate(TRUE);
  }
}

CPoint CScrollView::GetDeviceScrollPosition() const {
  const DWORD style = GetStyle();
  return CPoint((style & WS_HSCROLL) ? GetScrollPos(SB_HORZ) : 0,
                (style & WS_VSCROLL) ? GetScrollPos(SB_VERT) : 0);
}

CPoint CScrollView::GetScrollPosition() const { return GetDeviceScrollPosition(); }

void CScrollView::ScrollToPosition(POINT pt) {
  const CPoint old = GetDeviceScrollPosition();
  const int x = std::clamp<int>(pt.x, 0, std::max(0, GetScrollLimitConst(SB_HORZ)));
  const int y = std::clamp<int>(pt.y, 0, std::max(0, GetScrollLimitConst(SB_VERT)));
  if (GetStyle() & WS_HSCROLL) SetScrollPos(SB_HORZ, x);
  if (GetStyle() & WS_VSCROLL) SetScrollPos(SB_VERT, y);
  const CPoint now = GetDeviceScrollPosition();
  if (now != old) ScrollWindow(old.x - now.x, old.y - now.y);
}

void CScrollView::OnPrepareDC(CDC* dc, CPrintInfo* info) {
  if (m_nMapMode && dc && !dc->IsPrinting()) {
    const CPoint pos = GetDeviceScrollPosition();
    dc->SetViewportOrg(-pos.x, -pos.y);
  }
  CView::OnPrepareDC(dc, info);
}

void CScrollView::UpdateBars() {
  if (m_bInsideUpdate || !m_hWnd || !m_nMapMode) return;
  m_bInsideUpdate = true;
  const CPoint old = GetDeviceScrollPosition();
  // Showing one bar narrows the client area and may call for the other:
  // the second pass settles that.
  for (int pass = 0; pass < 2; ++pass) {
    CRect client;
    GetClientRect(&client);
    SCROLLINFO h{};
    h.cbSize = sizeof h;
    h.fMask = SIF_RANGE | SIF_PAGE;
    h.nMin = 0;
    h.nMax = std::max<LONG>(m_totalDev.cx - 1, 0);
    h.nPage = static_cast<UINT>(std::max(client.Width(), 0));
    SCROLLINFO v = h;
    v.nMax = std::max<LONG>(m_totalDev.cy - 1, 0);
    v.nPage = static_cast<UINT>(std::max(client.Height(), 0));
    ::SetScrollInfo(m_hWnd, SB_HORZ, &h, TRUE);
    ::SetScrollInfo(m_hWnd, SB_VERT, &v, TRUE);
  }
  // Positions beyond the new range came back: the picture follows.
  const CPoint now = GetDeviceScrollPosition();
  if (now != old) ScrollWindow(old.x - now.x, old.y - now.y);
  m_bInsideUpdate = false;
}

void CScrollView::OnSize(UINT type, int cx, int cy) {
  CView::OnSize(type, cx, cy);
  UpdateBars();
}

void CScrollView::OnHScroll(UINT code, UINT pos, CScrollBar* bar) {
  if (bar) return;  // a scroll-bar control of the view's own
  OnScroll(MAKEWORD(code, 0xFF), pos);
}

void CScrollView::OnVScroll(UINT code, UINT pos, CScrollBar* bar) {
  if (bar) return;
  OnScroll(MAKEWORD(0xFF, code), pos);
}

BOOL CScrollView::OnScroll(UINT scrollCode, UINT pos, BOOL doScroll) {
  auto step = [](int code, int current, int line, int page, UINT thumb) {
    switch (code) {
      case SB_TOP: return 0;
      case SB_BOTTOM: return INT_MAX;
      case SB_LINEUP: return current - line;
      case SB_LINEDOWN: return current + line;
      case SB_PAGEUP: return current - page;
      case SB_PAGEDOWN: return current + page;
      case SB_THUMBTRACK: return static_cast<int>(thumb);
      default: return current;
    }
  };
  const CPoint from = GetDeviceScrollPosition();
  const int x = step(LOBYTE(scrollCode), from.x, m_lineDev.cx, m_pageDev.cx, pos);
  const int y = step(HIBYTE(scrollCode), from.y, m_lineDev.cy, m_pageDev.cy, pos);
  const CSize by(static_cast<int>(std::clamp<long long>(static_cast<long long>(x) - from.x, INT_MIN, INT_MAX)),
                 static_cast<int>(std::clamp<long long>(static_cast<long long>(y) - from.y, INT_MIN, INT_MAX)));
  const BOOL moved = OnScrollBy(by, doScroll);
  if (moved && doScroll) UpdateWindow();
  return moved;
}

BOOL CScrollView::OnScrollBy(CSize size, BOOL doScroll) {
  const DWORD style = GetStyle();
  if (!(style & WS_VSCROLL)) size.cy = 0;
  if (!(style & WS_HSCROLL)) size.cx = 0;
  const CPoint from = GetDeviceScrollPosition();
  auto move = [](int start, int by, int limit) {
    const long long to = static_cast<long long>(start) + by;
    return static_cast<int>(std::clamp<long long>(to, 0, std::max(limit, 0)));
  };
  const int x = move(from.x, size.cx, GetScrollLimitConst(SB_HORZ));
  const int y = move(from.y, size.cy, GetScrollLimitConst(SB_VERT));
  if (x == from.x && y == from.y) return FALSE;
  if (doScroll) {
    ScrollWindow(from.x - x, from.y - y);
    if (x != from.x) SetScrollPos(SB_HORZ, x);
    if (y != from.y) SetScrollPos(SB_VERT, y);
  }
  return TRUE;
}

int CScrollView::GetScrollLimitConst(int bar) const {
  return const_cast<CScrollView*>(this)->GetScrollLimit(bar);
}
