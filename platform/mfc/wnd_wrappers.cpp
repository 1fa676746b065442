// CWnd's thin wrappers of the window functions.
#include <algorithm>
#include <deque>
#include <vector>

#include "mfc/app.h"
#include "mfc/controls.h"
#include "mfc/dc.h"
#include "mfc/frame.h"
#include "mfc/menu.h"
#include "mfc/wnd.h"

// ---- Messages -------------------------------------------------------------------------

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessage(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostMessage(m_hWnd, message, wParam, lParam);
}

// ---- Attributes ---------------------------------------------------------------------------

DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLong(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLong(m_hWnd, GWL_EXSTYLE)); }

namespace {
BOOL ModifyLong(HWND wnd, int index, DWORD remove, DWORD add, UINT swpFlags) {
  const auto style = static_cast<DWORD>(::GetWindowLong(wnd, index));
  const DWORD next = (style & ~remove) | add;
  if (style == next) return FALSE;
  ::SetWindowLong(wnd, index, static_cast<LONG_PTR>(next));
  if (swpFlags)
    ::SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
  return TRUE;
}
}  // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
  return ModifyLong(m_hWnd, GWL_STYLE, remove, add, swpFlags);
}
BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags) {
  return ModifyLong(m_hWnd, GWL_EXSTYLE, remove, add, swpFlags);
}

void CWnd::SetWindowText(LPCSTR text) { ::SetWindowText(m_hWnd, text); }
int CWnd::GetWindowText(LPSTR out, int size) const { return ::GetWindowText(m_hWnd, out, size); }
void CWnd::GetWindowText(CString& out) const {
  const int length = ::GetWindowTextLength(m_hWnd);
  if (length <= 0) {
    out.Empty();
    return;
  }
  std::vector<char> buf(static_cast<size_t>(length) + 1, '\0');
  const int n = ::GetWindowText(m_hWnd, buf.data(), static_cast<int>(buf.size()));
  out = CString(buf.data(), std::clamp(n, 0, length));
}
int CWnd::GetWindowTextLength() const { return ::GetWindowTextLength(m_hWnd); }

void CWnd::SetFont(CFont* font, BOOL redraw) {
  ::SendMessage(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(CGdiObject::SafeHandle(font)), redraw);
}
CFont* CWnd::GetFont() const {
  return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessage(m_hWnd, WM_GETFONT, 0, 0)));
}

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
BOOL CWnd::SetMenu(CMenu* menu) { return ::SetMenu(m_hWnd, menu ? menu->m_hMenu : nullptr); }
void CWnd::DrawMenuBar() { ::DrawMenuBar(m_hWnd); }

int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
int CWnd::SetDlgCtrlID(int id) {
  return static_cast<int>(::SetWindowLong(m_hWnd, GWL_ID, id));
}

// ---- Geometry ---------------------------------------------------------------------------------

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}
void CWnd::MoveWindow(LPCRECT r, BOOL repaint) {
  if (r) MoveWindow(r->left, r->top, r->right - r->left, r->bottom - r->top, repaint);
}
BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
  return ::SetWindowPos(m_hWnd, SafeHwnd(insertAfter), x, y, cx, cy, flags);
}
void CWnd::GetWindowRect(LPRECT out) const { ::GetWindowRect(m_hWnd, out); }
void CWnd::GetClientRect(LPRECT out) const { ::GetClientRect(m_hWnd, out); }
void CWnd::ClientToScreen(LPPOINT pt) const { ::ClientToScreen(m_hWnd, pt); }
void CWnd::ClientToScreen(LPRECT r) const {
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(r));
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(r) + 1);
}
void CWnd::ScreenToClient(LPPOINT pt) const { ::ScreenToClient(m_hWnd, pt); }
void CWnd::ScreenToClient(LPRECT r) const {
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(r));
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(r) + 1);
}
void CWnd::MapWindowPoints(CWnd* to, LPPOINT pts, UINT count) const {
  ::MapWindowPoints(m_hWnd, SafeHwnd(to), pts, count);
}
void CWnd::MapWindowPoints(CWnd* to, LPRECT r) const {
  ::MapWindowPoints(m_hWnd, SafeHwnd(to), reinterpret_cast<LPPOINT>(r), 2);
}
BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* out) const { return ::GetWindowPlacement(m_hWnd, out); }
BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* p) { return ::SetWindowPlacement(m_hWnd, p); }
void CWnd::BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
BOOL CWnd::IsZoomed() const { return ::IsZoomed(m_hWnd); }

void CWnd::CenterWindow(CWnd* alternate) {
  const DWORD style = GetStyle();
  HWND center = SafeHwnd(alternate);
  if (!alternate) {
    center = (style & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    if (center) {
      // The window may name another window to centre on.
      if (HWND other = reinterpret_cast<HWND>(::SendMessage(center, WM_QUERYCENTERWND, 0, 0)))
        center = other;
    }
  }
  CRect dlg;
  GetWindowRect(&dlg);
  CRect area;
  CRect around;
  if (!(style & WS_CHILD)) {
    // Not over a hidden or minimised window.
    if (center) {
      const auto cs = static_cast<DWORD>(::GetWindowLong(center, GWL_STYLE));
      if (!(cs & WS_VISIBLE) || (cs & WS_MINIMIZE)) center = nullptr;
    }
    area = CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    if (center)
      ::GetWindowRect(center, &around);
    else
      around = area;
  } else {
    HWND parent = ::GetParent(m_hWnd);
    ::GetClientRect(parent, &area);
    if (!center) center = parent;
    ::GetClientRect(center, &around);
    ::MapWindowPoints(center, parent, reinterpret_cast<LPPOINT>(&around), 2);
  }
  int left = (around.left + around.right) / 2 - dlg.Width() / 2;
  int top = (around.top + around.bottom) / 2 - dlg.Height() / 2;
  if (left + dlg.Width() > area.right) left = area.right - dlg.Width();
  if (left < area.left) left = area.left;
  if (top + dlg.Height() > area.bottom) top = area.bottom - dlg.Height();
  if (top < area.top) top = area.top;
  SetWindowPos(nullptr, left, top, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- Painting -------------------------------------------------------------------------------------

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
int CWnd::ReleaseDC(CDC* dc) { return dc ? ::ReleaseDC(m_hWnd, dc->m_hDC) : 0; }
CDC* CWnd::BeginPaint(LPPAINTSTRUCT ps) { return CDC::FromHandle(::BeginPaint(m_hWnd, ps)); }
void CWnd::EndPaint(LPPAINTSTRUCT ps) { ::EndPaint(m_hWnd, ps); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
void CWnd::SetRedraw(BOOL redraw) { ::SendMessage(m_hWnd, WM_SETREDRAW, redraw, 0); }
BOOL CWnd::GetUpdateRect(LPRECT out, BOOL erase) { return ::GetUpdateRect(m_hWnd, out, erase); }
int CWnd::GetUpdateRgn(CRgn* rgn, BOOL erase) {
  return ::GetUpdateRgn(m_hWnd, static_cast<HRGN>(CGdiObject::SafeHandle(rgn)), erase);
}
void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }
void CWnd::InvalidateRgn(CRgn* rgn, BOOL erase) {
  ::InvalidateRgn(m_hWnd, static_cast<HRGN>(CGdiObject::SafeHandle(rgn)), erase);
}
void CWnd::ValidateRect(LPCRECT rect) { ::ValidateRect(m_hWnd, rect); }
void CWnd::ValidateRgn(CRgn* rgn) {
  ::ValidateRgn(m_hWnd, static_cast<HRGN>(CGdiObject::SafeHandle(rgn)));
}
BOOL CWnd::ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::RedrawWindow(LPCRECT rect, CRgn* rgn, UINT flags) {
  return ::RedrawWindow(m_hWnd, rect, static_cast<HRGN>(CGdiObject::SafeHandle(rgn)), flags);
}
void CWnd::ScrollWindow(int dx, int dy, LPCRECT scroll, LPCRECT clip) {
  ::ScrollWindow(m_hWnd, dx, dy, scroll, clip);
}
int CWnd::ScrollWindowEx(int dx, int dy, LPCRECT scroll, LPCRECT clip, CRgn* updateRgn,
                         LPRECT updateRect, UINT flags) {
  return ::ScrollWindowEx(m_hWnd, dx, dy, scroll, clip,
                          static_cast<HRGN>(CGdiObject::SafeHandle(updateRgn)), updateRect, flags);
}

// ---- Timers and state ----------------------------------------------------------------------------------

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc) {
  return ::SetTimer(m_hWnd, id, elapse, proc);
}
BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
CWnd* CWnd::GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
CWnd* CWnd::SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }

// ---- Dialog items ------------------------------------------------------------------------------------------

CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
void CWnd::GetDlgItem(int id, HWND* out) const {
  if (out) *out = ::GetDlgItem(m_hWnd, id);
}
void CWnd::CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
void CWnd::CheckRadioButton(int first, int last, int check) {
  ::CheckRadioButton(m_hWnd, first, last, check);
}
int CWnd::GetCheckedRadioButton(int first, int last) {
  for (int id = first; id <= last; ++id)
    if (::IsDlgButtonChecked(m_hWnd, id)) return id;
  return 0;
}
UINT CWnd::IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
UINT CWnd::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const {
  return ::GetDlgItemInt(m_hWnd, id, translated, isSigned);
}
void CWnd::SetDlgItemInt(int id, UINT value, BOOL isSigned) {
  ::SetDlgItemInt(m_hWnd, id, value, isSigned);
}
int CWnd::GetDlgItemText(int id, LPSTR out, int size) const {
  return static_cast<int>(::GetDlgItemText(m_hWnd, id, out, size));
}
int CWnd::GetDlgItemText(int id, CString& out) const {
  out.Empty();
  HWND item = ::GetDlgItem(m_hWnd, id);
  if (!item) return 0;
  CWnd temp;
  temp.m_hWnd = item;
  temp.GetWindowText(out);
  temp.m_hWnd = nullptr;
  return out.GetLength();
}
void CWnd::SetDlgItemText(int id, LPCSTR text) { ::SetDlgItemText(m_hWnd, id, text); }
LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendDlgItemMessage(m_hWnd, id, message, wParam, lParam);
}
CWnd* CWnd::GetNextDlgTabItem(CWnd* ctl, BOOL previous) const {
  return FromHandle(::GetNextDlgTabItem(m_hWnd, SafeHwnd(ctl), previous));
}
CWnd* CWnd::GetNextDlgGroupItem(CWnd* ctl, BOOL previous) const {
  return FromHandle(::GetNextDlgGroupItem(m_hWnd, SafeHwnd(ctl), previous));
}

// ---- Scroll bars -------------------------------------------------------------------------------------------

int CWnd::GetScrollPos(int bar) const { return ::GetScrollPos(m_hWnd, bar); }
int CWnd::SetScrollPos(int bar, int pos, BOOL redraw) { return ::SetScrollPos(m_hWnd, bar, pos, redraw); }
void CWnd::GetScrollRange(int bar, LPINT min, LPINT max) const {
  ::GetScrollRange(m_hWnd, bar, min, max);
}
void CWnd::SetScrollRange(int bar, int min, int max, BOOL redraw) {
  ::SetScrollRange(m_hWnd, bar, min, max, redraw);
}
void CWnd::ShowScrollBar(UINT bar, BOOL show) { ::ShowScrollBar(m_hWnd, static_cast<int>(bar), show); }
void CWnd::EnableScrollBarCtrl(int bar, BOOL enable) {
  if (bar == SB_BOTH) {
    EnableScrollBarCtrl(SB_HORZ, enable);
    EnableScrollBarCtrl(SB_VERT, enable);
    return;
  }
  ::ShowScrollBar(m_hWnd, bar, enable);
}
BOOL CWnd::EnableScrollBar(int bar, UINT arrows) {
  return ::EnableScrollBar(m_hWnd, static_cast<UINT>(bar), arrows);
}
BOOL CWnd::SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw) {
  if (!info) return FALSE;
  info->cbSize = sizeof(SCROLLINFO);
  ::SetScrollInfo(m_hWnd, bar, info, redraw);
  return TRUE;
}
BOOL CWnd::GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask) {
  if (!info) return FALSE;
  info->cbSize = sizeof(SCROLLINFO);
  info->fMask = mask;
  return ::GetScrollInfo(m_hWnd, bar, info);
}
int CWnd::GetScrollLimit(int bar) {
  int min = 0;
  int max = 0;
  ::GetScrollRange(m_hWnd, bar, &min, &max);
  SCROLLINFO info{};
  if (GetScrollInfo(bar, &info, SIF_PAGE)) max -= std::max(static_cast<int>(info.nPage) - 1, 0);
  return max;
}
CScrollBar* CWnd::GetScrollBarCtrl(int) const { return nullptr; }

// ---- Relations -----------------------------------------------------------------------------------------------

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }

CWnd* CWnd::GetTopLevelParent() const {
  if (!m_hWnd) return nullptr;
  HWND top = m_hWnd;
  for (HWND up = ::GetParent(top); up; up = ::GetParent(up)) top = up;
  return FromHandle(top);
}

CWnd* CWnd::GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }

CFrameWnd* CWnd::GetParentFrame() const {
  if (!m_hWnd) return nullptr;
  for (HWND up = ::GetParent(m_hWnd); up; up = ::GetParent(up)) {
    CWnd* w = FromHandlePermanent(up);
    if (w && w->IsFrameWnd()) return static_cast<CFrameWnd*>(w);
  }
  return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
  if (!m_hWnd) return nullptr;
  CFrameWnd* frame = IsFrameWnd() ? static_cast<CFrameWnd*>(const_cast<CWnd*>(this)) : GetParentFrame();
  while (frame) {
    CFrameWnd* up = frame->GetParentFrame();
    if (!up) break;
    frame = up;
  }
  return frame;
}

CWnd* CWnd::GetWindow(UINT cmd) const { return FromHandle(::GetWindow(m_hWnd, cmd)); }
CWnd* CWnd::GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
CWnd* CWnd::GetNextWindow(UINT flag) const { return FromHandle(::GetNextWindow(m_hWnd, flag)); }
BOOL CWnd::IsChild(const CWnd* wnd) const { return wnd ? ::IsChild(m_hWnd, wnd->m_hWnd) : FALSE; }
CWnd* CWnd::ChildWindowFromPoint(POINT pt) const {
  return FromHandle(::ChildWindowFromPoint(m_hWnd, pt));
}
CWnd* CWnd::WindowFromPoint(POINT pt) { return FromHandle(::WindowFromPoint(pt)); }

CWnd* CWnd::GetDescendantWindow(int id, BOOL bOnlyPerm) const {
  // Breadth first: the direct children before their children.
  std::deque<HWND> pending;
  for (HWND c = ::GetTopWindow(m_hWnd); c; c = ::GetNextWindow(c, GW_HWNDNEXT)) pending.push_back(c);
  while (!pending.empty()) {
    HWND c = pending.front();
    pending.pop_front();
    if (::GetDlgCtrlID(c) == id) {
      if (!bOnlyPerm) return FromHandle(c);
      if (CWnd* w = FromHandlePermanent(c)) return w;
    }
    for (HWND g = ::GetTopWindow(c); g; g = ::GetNextWindow(g, GW_HWNDNEXT)) pending.push_back(g);
  }
  return nullptr;
}

BOOL CWnd::IsTopParentActive() const {
  CWnd* top = GetTopLevelParent();
  return top && ::GetActiveWindow() == top->m_hWnd;
}

// ---- Caret, boxes, help ------------------------------------------------------------------------------------------

void CWnd::CreateSolidCaret(int width, int height) { ::CreateCaret(m_hWnd, nullptr, width, height); }
void CWnd::CreateGrayCaret(int width, int height) {
  ::CreateCaret(m_hWnd, reinterpret_cast<HBITMAP>(1), width, height);
}
void CWnd::CreateCaret(CBitmap* bitmap) {
  ::CreateCaret(m_hWnd, static_cast<HBITMAP>(CGdiObject::SafeHandle(bitmap)), 0, 0);
}
CPoint CWnd::GetCaretPos() {
  POINT p{0, 0};
  ::GetCaretPos(&p);
  return p;
}
void CWnd::SetCaretPos(POINT pt) { ::SetCaretPos(pt.x, pt.y); }
void CWnd::HideCaret() { ::HideCaret(m_hWnd); }
void CWnd::ShowCaret() { ::ShowCaret(m_hWnd); }

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type) {
  if (!caption) caption = AfxGetAppName() ? AfxGetAppName() : "Tolm";
  return ::MessageBox(m_hWnd, text, caption, type);
}

void CWnd::WinHelp(DWORD data, UINT cmd) {
  if (CWinApp* app = AfxGetApp()) app->WinHelp(data, cmd);
}
