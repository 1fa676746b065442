// CDC and the window DCs.
#include "mfc/dc.h"

#include <cstring>

#include "afx_state.h"
#include "mfc/msgmap.h"
#include "mfc/wnd.h"

IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

namespace zemra_mfc {
HandleMap<HDC, CDC>& DCMap() {
  static HandleMap<HDC, CDC> map([](CDC* d) { d->m_hDC = d->m_hAttribDC = nullptr; });
  return map;
}
}  // namespace zemra_mfc

CDC::~CDC() {
  if (m_hDC) ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC dc) {
  return zemra_mfc::DCMap().FromHandle<CDC>(dc, [dc] {
    auto* d = new CDC;
    d->m_hDC = d->m_hAttribDC = dc;
    return d;
  });
}

CDC* AfxDCFromHandle(HDC dc) { return CDC::FromHandle(dc); }

void CDC::DeleteTempMap() { zemra_mfc::DCMap().DeleteTemporaries(); }

BOOL CDC::Attach(HDC dc) {
  if (!dc || m_hDC) return FALSE;
  if (CDC* other = zemra_mfc::DCMap().Permanent(dc); other && other != this) return FALSE;
  m_hDC = m_hAttribDC = dc;
  zemra_mfc::DCMap().SetPermanent(dc, this);
  return TRUE;
}

HDC CDC::Detach() {
  HDC dc = m_hDC;
  if (dc) zemra_mfc::DCMap().RemovePermanent(dc, this);
  m_hDC = m_hAttribDC = nullptr;
  return dc;
}

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }

BOOL CDC::CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* init) {
  return Attach(::CreateDC(driver, device, output, init));
}
BOOL CDC::CreateIC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* init) {
  return Attach(::CreateIC(driver, device, output, init));
}
BOOL CDC::CreateCompatibleDC(CDC* dc) {
  return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr));
}
BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  return ::DeleteDC(Detach());
}
int CDC::SaveDC() { return ::SaveDC(m_hDC); }
BOOL CDC::RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
int CDC::GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hAttribDC, index); }

// ---- Objects ---------------------------------------------------------------------------------

CPen* CDC::SelectObject(CPen* pen) {
  return CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, CGdiObject::SafeHandle(pen))));
}
CBrush* CDC::SelectObject(CBrush* brush) {
  return CBrush::FromHandle(
      static_cast<HBRUSH>(::SelectObject(m_hDC, CGdiObject::SafeHandle(brush))));
}
CFont* CDC::SelectObject(CFont* font) {
  return CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, CGdiObject::SafeHandle(font))));
}
CBitmap* CDC::SelectObject(CBitmap* bitmap) {
  return CBitmap::FromHandle(
      static_cast<HBITMAP>(::SelectObject(m_hDC, CGdiObject::SafeHandle(bitmap))));
}
int CDC::SelectObject(CRgn* rgn) {
  // A region selects a copy as the clip region and answers the region type.
  HGDIOBJ r = ::SelectObject(m_hDC, CGdiObject::SafeHandle(rgn));
  return static_cast<int>(reinterpret_cast<INT_PTR>(r));
}
CGdiObject* CDC::SelectObject(CGdiObject* obj) {
  if (obj && obj->GetObjectType() == OBJ_REGION) {
    SelectObject(static_cast<CRgn*>(obj));
    return nullptr;
  }
  return CGdiObject::FromHandle(::SelectObject(m_hDC, CGdiObject::SafeHandle(obj)));
}
CGdiObject* CDC::SelectStockObject(int index) {
  HGDIOBJ stock = ::GetStockObject(index);
  if (!stock) return nullptr;
  return CGdiObject::FromHandle(::SelectObject(m_hDC, stock));
}
CPalette* CDC::SelectPalette(CPalette* palette, BOOL forceBackground) {
  return CPalette::FromHandle(::SelectPalette(
      m_hDC, static_cast<HPALETTE>(CGdiObject::SafeHandle(palette)), forceBackground));
}
UINT CDC::RealizePalette() { return ::RealizePalette(m_hDC); }
void CDC::UpdateColors() { ::UpdateColors(m_hDC); }
CPen* CDC::GetCurrentPen() const {
  return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN)));
}
CBrush* CDC::GetCurrentBrush() const {
  return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}
CFont* CDC::GetCurrentFont() const {
  return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}
CBitmap* CDC::GetCurrentBitmap() const {
  return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}
CPalette* CDC::GetCurrentPalette() const {
  return CPalette::FromHandle(static_cast<HPALETTE>(::GetCurrentObject(m_hDC, OBJ_PAL)));
}

// ---- Attributes ---------------------------------------------------------------------------------

COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hAttribDC); }
COLORREF CDC::SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hAttribDC); }
COLORREF CDC::SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
int CDC::GetBkMode() const { return ::GetBkMode(m_hAttribDC); }
int CDC::SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
UINT CDC::GetTextAlign() const { return ::GetTextAlign(m_hAttribDC); }
UINT CDC::SetTextAlign(UINT align) { return ::SetTextAlign(m_hDC, align); }
int CDC::GetROP2() const { return ::GetROP2(m_hAttribDC); }
int CDC::SetROP2(int mode) { return ::SetROP2(m_hDC, mode); }
int CDC::SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }
int CDC::SetPolyFillMode(int mode) { return ::SetPolyFillMode(m_hDC, mode); }
int CDC::GetMapMode() const { return ::GetMapMode(m_hAttribDC); }
int CDC::SetMapMode(int mode) { return ::SetMapMode(m_hDC, mode); }

CPoint CDC::GetViewportOrg() const {
  POINT p{0, 0};
  ::GetViewportOrgEx(m_hAttribDC, &p);
  return p;
}
CPoint CDC::SetViewportOrg(int x, int y) {
  POINT old{0, 0};
  ::SetViewportOrgEx(m_hDC, x, y, &old);
  return old;
}
CPoint CDC::OffsetViewportOrg(int dx, int dy) {
  POINT old{0, 0};
  ::OffsetViewportOrgEx(m_hDC, dx, dy, &old);
  return old;
}
CPoint CDC::GetWindowOrg() const {
  POINT p{0, 0};
  ::GetWindowOrgEx(m_hAttribDC, &p);
  return p;
}
CPoint CDC::SetWindowOrg(int x, int y) {
  POINT old{0, 0};
  ::SetWindowOrgEx(m_hDC, x, y, &old);
  return old;
}
CPoint CDC::OffsetWindowOrg(int dx, int dy) {
  POINT old{0, 0};
  ::OffsetWindowOrgEx(m_hDC, dx, dy, &old);
  return old;
}
CSize CDC::SetViewportExt(int cx, int cy) {
  SIZE old{0, 0};
  ::SetViewportExtEx(m_hDC, cx, cy, &old);
  return old;
}
CSize CDC::SetWindowExt(int cx, int cy) {
  SIZE old{0, 0};
  ::SetWindowExtEx(m_hDC, cx, cy, &old);
  return old;
}
void CDC::LPtoDP(LPPOINT pts, int count) const { ::LPtoDP(m_hAttribDC, pts, count); }
void CDC::LPtoDP(LPRECT rect) const { ::LPtoDP(m_hAttribDC, reinterpret_cast<LPPOINT>(rect), 2); }
void CDC::DPtoLP(LPPOINT pts, int count) const { ::DPtoLP(m_hAttribDC, pts, count); }
void CDC::DPtoLP(LPRECT rect) const { ::DPtoLP(m_hAttribDC, reinterpret_cast<LPPOINT>(rect), 2); }
CPoint CDC::GetBrushOrg() const {
  POINT p{0, 0};
  ::GetBrushOrgEx(m_hDC, &p);
  return p;
}
CPoint CDC::SetBrushOrg(int x, int y) {
  POINT old{0, 0};
  ::SetBrushOrgEx(m_hDC, x, y, &old);
  return old;
}

// ---- Lines and shapes ------------------------------------------------------------------------------

CPoint CDC::MoveTo(int x, int y) {
  POINT old{0, 0};
  ::MoveToEx(m_hDC, x, y, &old);
  return old;
}
BOOL CDC::LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
CPoint CDC::GetCurrentPosition() const {
  POINT p{0, 0};
  ::GetCurrentPositionEx(m_hAttribDC, &p);
  return p;
}
BOOL CDC::Polyline(const POINT* pts, int count) { return ::Polyline(m_hDC, pts, count); }
BOOL CDC::Polygon(const POINT* pts, int count) { return ::Polygon(m_hDC, pts, count); }
BOOL CDC::PolyPolygon(const POINT* pts, const INT* counts, int polygons) {
  return ::PolyPolygon(m_hDC, pts, counts, polygons);
}
BOOL CDC::Rectangle(int left, int top, int right, int bottom) {
  return ::Rectangle(m_hDC, left, top, right, bottom);
}
BOOL CDC::Rectangle(LPCRECT r) { return r ? Rectangle(r->left, r->top, r->right, r->bottom) : FALSE; }
BOOL CDC::Ellipse(int left, int top, int right, int bottom) {
  return ::Ellipse(m_hDC, left, top, right, bottom);
}
BOOL CDC::Ellipse(LPCRECT r) { return r ? Ellipse(r->left, r->top, r->right, r->bottom) : FALSE; }
BOOL CDC::RoundRect(int left, int top, int right, int bottom, int width, int height) {
  return ::RoundRect(m_hDC, left, top, right, bottom, width, height);
}
void CDC::FillRect(LPCRECT rect, CBrush* brush) {
  ::FillRect(m_hDC, rect, static_cast<HBRUSH>(CGdiObject::SafeHandle(brush)));
}
void CDC::FrameRect(LPCRECT rect, CBrush* brush) {
  ::FrameRect(m_hDC, rect, static_cast<HBRUSH>(CGdiObject::SafeHandle(brush)));
}
void CDC::InvertRect(LPCRECT rect) { ::InvertRect(m_hDC, rect); }
void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
  if (!rect) return;
  // Negative sizes (Draw3dRect's right and bottom lines) count back.
  CRect r(*rect);
  r.NormalizeRect();
  ::SetBkColor(m_hDC, color);
  ::ExtTextOut(m_hDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}
void CDC::FillSolidRect(int x, int y, int width, int height, COLORREF color) {
  const RECT r{x, y, x + width, y + height};
  FillSolidRect(&r, color);
}
void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight) {
  if (rect) Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft, bottomRight);
}
void CDC::Draw3dRect(int x, int y, int width, int height, COLORREF topLeft, COLORREF bottomRight) {
  FillSolidRect(x, y, width - 1, 1, topLeft);
  FillSolidRect(x, y, 1, height - 1, topLeft);
  FillSolidRect(x + width, y, -1, height, bottomRight);
  FillSolidRect(x, y + height, width, -1, bottomRight);
}
BOOL CDC::DrawEdge(LPRECT rect, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rect, edge, flags); }
void CDC::DrawFocusRect(LPCRECT rect) { ::DrawFocusRect(m_hDC, rect); }
BOOL CDC::DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
COLORREF CDC::GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
COLORREF CDC::SetPixel(int x, int y, COLORREF color) { return ::SetPixel(m_hDC, x, y, color); }
BOOL CDC::SetPixelV(int x, int y, COLORREF color) { return ::SetPixelV(m_hDC, x, y, color); }

// ---- Block transfers --------------------------------------------------------------------------------

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop) {
  return ::PatBlt(m_hDC, x, y, width, height, rop);
}
BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* src, int srcX, int srcY, DWORD rop) {
  return ::BitBlt(m_hDC, x, y, width, height, src ? src->m_hDC : nullptr, srcX, srcY, rop);
}
BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* src, int srcX, int srcY,
                     int srcWidth, int srcHeight, DWORD rop) {
  return ::StretchBlt(m_hDC, x, y, width, height, src ? src->m_hDC : nullptr, srcX, srcY, srcWidth,
                      srcHeight, rop);
}

// ---- Clipping ---------------------------------------------------------------------------------------

int CDC::GetClipBox(LPRECT out) const { return ::GetClipBox(m_hDC, out); }
int CDC::SelectClipRgn(CRgn* rgn) {
  return ::SelectClipRgn(m_hDC, static_cast<HRGN>(CGdiObject::SafeHandle(rgn)));
}
int CDC::SelectClipRgn(CRgn* rgn, int mode) {
  return ::ExtSelectClipRgn(m_hDC, static_cast<HRGN>(CGdiObject::SafeHandle(rgn)), mode);
}
int CDC::ExcludeClipRect(int left, int top, int right, int bottom) {
  return ::ExcludeClipRect(m_hDC, left, top, right, bottom);
}
int CDC::ExcludeClipRect(LPCRECT r) {
  return r ? ExcludeClipRect(r->left, r->top, r->right, r->bottom) : ERROR;
}
int CDC::IntersectClipRect(int left, int top, int right, int bottom) {
  return ::IntersectClipRect(m_hDC, left, top, right, bottom);
}
int CDC::IntersectClipRect(LPCRECT r) {
  return r ? IntersectClipRect(r->left, r->top, r->right, r->bottom) : ERROR;
}
int CDC::OffsetClipRgn(int dx, int dy) { return ::OffsetClipRgn(m_hDC, dx, dy); }
BOOL CDC::PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
BOOL CDC::RectVisible(LPCRECT rect) const { return ::RectVisible(m_hDC, rect); }
BOOL CDC::FillRgn(CRgn* rgn, CBrush* brush) {
  return ::FillRgn(m_hDC, static_cast<HRGN>(CGdiObject::SafeHandle(rgn)),
                   static_cast<HBRUSH>(CGdiObject::SafeHandle(brush)));
}
BOOL CDC::FrameRgn(CRgn* rgn, CBrush* brush, int width, int height) {
  return ::FrameRgn(m_hDC, static_cast<HRGN>(CGdiObject::SafeHandle(rgn)),
                    static_cast<HBRUSH>(CGdiObject::SafeHandle(brush)), width, height);
}
BOOL CDC::InvertRgn(CRgn* rgn) {
  return ::InvertRgn(m_hDC, static_cast<HRGN>(CGdiObject::SafeHandle(rgn)));
}
BOOL CDC::PaintRgn(CRgn* rgn) {
  return ::PaintRgn(m_hDC, static_cast<HRGN>(CGdiObject::SafeHandle(rgn)));
}

// ---- Text ----------------------------------------------------------------------------------------------

BOOL CDC::TextOut(int x, int y, LPCSTR text, int length) {
  return ::TextOut(m_hDC, x, y, text, length);
}
BOOL CDC::TextOut(int x, int y, const CString& text) {
  return TextOut(x, y, text, text.GetLength());
}
BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCSTR text, UINT length,
                     const INT* dx) {
  return ::ExtTextOut(m_hDC, x, y, options, rect, text, length, dx);
}
BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString& text,
                     const INT* dx) {
  return ExtTextOut(x, y, options, rect, text, static_cast<UINT>(text.GetLength()), dx);
}
int CDC::DrawText(LPCSTR text, int length, LPRECT rect, UINT format) {
  return ::DrawText(m_hDC, text, length, rect, format);
}
int CDC::DrawText(const CString& text, LPRECT rect, UINT format) {
  return DrawText(text, text.GetLength(), rect, format);
}
CSize CDC::GetTextExtent(LPCSTR text, int length) const {
  SIZE s{0, 0};
  ::GetTextExtentPoint32(m_hAttribDC, text, length, &s);
  return s;
}
CSize CDC::GetTextExtent(const CString& text) const {
  return GetTextExtent(text, text.GetLength());
}
BOOL CDC::GetTextMetrics(LPTEXTMETRIC out) const { return ::GetTextMetrics(m_hAttribDC, out); }
int CDC::GetTextFace(int size, LPSTR out) const { return ::GetTextFace(m_hAttribDC, size, out); }
int CDC::GetTextFace(CString& out) const {
  char face[LF_FACESIZE + 1] = {};
  const int n = ::GetTextFace(m_hAttribDC, sizeof face, face);
  out = face;
  return n;
}
BOOL CDC::GetCharWidth(UINT first, UINT last, LPINT out) const {
  return ::GetCharWidth(m_hAttribDC, first, last, out);
}
int CDC::SetTextCharacterExtra(int extra) { return ::SetTextCharacterExtra(m_hDC, extra); }
COLORREF CDC::GetNearestColor(COLORREF color) const { return ::GetNearestColor(m_hAttribDC, color); }

// ---- Printing ----------------------------------------------------------------------------------------------

int CDC::StartDoc(const DOCINFO* doc) { return ::StartDoc(m_hDC, doc); }
int CDC::StartDoc(LPCSTR docName) {
  DOCINFO di{};
  di.cbSize = sizeof di;
  di.lpszDocName = docName;
  return StartDoc(&di);
}
int CDC::EndDoc() { return ::EndDoc(m_hDC); }
int CDC::AbortDoc() { return ::AbortDoc(m_hDC); }
int CDC::StartPage() { return ::StartPage(m_hDC); }
int CDC::EndPage() { return ::EndPage(m_hDC); }

// ---- Window DCs ----------------------------------------------------------------------------------------------

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(CWnd::SafeHwnd(wnd)) {
  if (!m_hWnd) return;
  HDC dc = ::BeginPaint(m_hWnd, &m_ps);
  if (dc) Attach(dc);
}

CPaintDC::~CPaintDC() {
  if (!m_hWnd) return;
  // EndPaint releases the DC: it must not be deleted.
  Detach();
  ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(CWnd::SafeHwnd(wnd)) {
  if (HDC dc = ::GetDC(m_hWnd)) Attach(dc);
}

CClientDC::~CClientDC() {
  if (HDC dc = Detach()) ::ReleaseDC(m_hWnd, dc);
}

CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(CWnd::SafeHwnd(wnd)) {
  if (HDC dc = ::GetWindowDC(m_hWnd)) Attach(dc);
}

CWindowDC::~CWindowDC() {
  if (HDC dc = Detach()) ::ReleaseDC(m_hWnd, dc);
}
