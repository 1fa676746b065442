// CDC and its kinds: a device-context object over GDI. CDC deletes a DC it
// created (CreateDC, CreateCompatibleDC); CPaintDC, CClientDC and
// CWindowDC give back the window DCs they took. SelectObject answers the
// object that was selected before (a permanent object when the caller made
// one, else a temporary one freed at idle time).
//
// A DC that could not be had leaves m_hDC null; every drawing call then
// fails harmlessly, as GDI does for a bad handle.
#pragma once

#include "mfc/cstring.h"
#include "mfc/gdi_objects.h"
#include "mfc/geometry.h"
#include "mfc/object.h"
#include "win/gdi.h"
#include "win/user.h"

class CWnd;

class CDC : public CObject {
  DECLARE_DYNCREATE(CDC)
 public:
  CDC() = default;
  ~CDC() override;

  operator HDC() const { return m_hDC; }
  HDC GetSafeHdc() const { return m_hDC; }
  static CDC* FromHandle(HDC dc);
  static void DeleteTempMap();
  BOOL Attach(HDC dc);
  HDC Detach();
  CWnd* GetWindow() const;
  BOOL IsPrinting() const { return m_bPrinting; }

  // ---- Making and dropping DCs
  BOOL CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* init);
  BOOL CreateIC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* init);
  BOOL CreateCompatibleDC(CDC* dc);  // null: compatible with the screen
  BOOL DeleteDC();
  int SaveDC();
  BOOL RestoreDC(int saved);
  int GetDeviceCaps(int index) const;

  // ---- Objects
  CPen* SelectObject(CPen* pen);
  CBrush* SelectObject(CBrush* brush);
  CFont* SelectObject(CFont* font);
  CBitmap* SelectObject(CBitmap* bitmap);
  int SelectObject(CRgn* rgn);  // the region type
  CGdiObject* SelectObject(CGdiObject* obj);
  CGdiObject* SelectStockObject(int index);
  CPalette* SelectPalette(CPalette* palette, BOOL forceBackground);
  UINT RealizePalette();
  void UpdateColors();
  CPen* GetCurrentPen() const;
  CBrush* GetCurrentBrush() const;
  CFont* GetCurrentFont() const;
  CBitmap* GetCurrentBitmap() const;
  CPalette* GetCurrentPalette() const;

  // ---- Attributes
  COLORREF GetTextColor() const;
  COLORREF SetTextColor(COLORREF color);
  COLORREF GetBkColor() const;
  COLORREF SetBkColor(COLORREF color);
  int GetBkMode() const;
  int SetBkMode(int mode);
  UINT GetTextAlign() const;
  UINT SetTextAlign(UINT align);
  int GetROP2() const;
  int SetROP2(int mode);
  int SetStretchBltMode(int mode);
  int SetPolyFillMode(int mode);
  int GetMapMode() const;
  int SetMapMode(int mode);
  CPoint GetViewportOrg() const;
  CPoint SetViewportOrg(int x, int y);
  CPoint SetViewportOrg(POINT pt) { return SetViewportOrg(pt.x, pt.y); }
  CPoint OffsetViewportOrg(int dx, int dy);
  CPoint GetWindowOrg() const;
  CPoint SetWindowOrg(int x, int y);
  CPoint SetWindowOrg(POINT pt) { return SetWindowOrg(pt.x, pt.y); }
  CPoint OffsetWindowOrg(int dx, int dy);
  CSize SetViewportExt(int cx, int cy);
  CSize SetWindowExt(int cx, int cy);
  void LPtoDP(LPPOINT pts, int count = 1) const;
  void LPtoDP(LPRECT rect) const;
  void DPtoLP(LPPOINT pts, int count = 1) const;
  void DPtoLP(LPRECT rect) const;
  CPoint GetBrushOrg() const;
  CPoint SetBrushOrg(int x, int y);

  // ---- Lines and shapes
  CPoint MoveTo(int x, int y);
  CPoint MoveTo(POINT pt) { return MoveTo(pt.x, pt.y); }
  BOOL LineTo(int x, int y);
  BOOL LineTo(POINT pt) { return LineTo(pt.x, pt.y); }
  CPoint GetCurrentPosition() const;
  BOOL Polyline(const POINT* pts, int count);
  BOOL Polygon(const POINT* pts, int count);
  BOOL PolyPolygon(const POINT* pts, const INT* counts, int polygons);
  BOOL Rectangle(int left, int top, int right, int bottom);
  BOOL Rectangle(LPCRECT rect);
  BOOL Ellipse(int left, int top, int right, int bottom);
  BOOL Ellipse(LPCRECT rect);
  BOOL RoundRect(int left, int top, int right, int bottom, int width, int height);
  void FillRect(LPCRECT rect, CBrush* brush);
  void FrameRect(LPCRECT rect, CBrush* brush);
  void InvertRect(LPCRECT rect);
  // A rectangle of one colour, through the background colour (which stays
  // set to that colour, as it does in MFC).
  void FillSolidRect(LPCRECT rect, COLORREF color);
  void FillSolidRect(int x, int y, int width, int height, COLORREF color);
  // A frame of one pixel: top and left in one colour, bottom and right in
  // the other.
  void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
  void Draw3dRect(int x, int y, int width, int height, COLORREF topLeft, COLORREF bottomRight);
  BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags);
  void DrawFocusRect(LPCRECT rect);
  BOOL DrawIcon(int x, int y, HICON icon);
  BOOL DrawIcon(POINT pt, HICON icon) { return DrawIcon(pt.x, pt.y, icon); }
  COLORREF GetPixel(int x, int y) const;
  COLORREF GetPixel(POINT pt) const { return GetPixel(pt.x, pt.y); }
  COLORREF SetPixel(int x, int y, COLORREF color);
  COLORREF SetPixel(POINT pt, COLORREF color) { return SetPixel(pt.x, pt.y, color); }
  BOOL SetPixelV(int x, int y, COLORREF color);

  // ---- Block transfers
  BOOL PatBlt(int x, int y, int width, int height, DWORD rop);
  BOOL BitBlt(int x, int y, int width, int height, CDC* src, int srcX, int srcY, DWORD rop);
  BOOL StretchBlt(int x, int y, int width, int height, CDC* src, int srcX, int srcY, int srcWidth,
                  int srcHeight, DWORD rop);

  // ---- Regions and clipping
  int GetClipBox(LPRECT out) const;
  int SelectClipRgn(CRgn* rgn);  // null: no clip region
  int SelectClipRgn(CRgn* rgn, int mode);
  int ExcludeClipRect(int left, int top, int right, int bottom);
  int ExcludeClipRect(LPCRECT rect);
  int IntersectClipRect(int left, int top, int right, int bottom);
  int IntersectClipRect(LPCRECT rect);
  int OffsetClipRgn(int dx, int dy);
  BOOL PtVisible(int x, int y) const;
  BOOL RectVisible(LPCRECT rect) const;
  BOOL FillRgn(CRgn* rgn, CBrush* brush);
  BOOL FrameRgn(CRgn* rgn, CBrush* brush, int width, int height);
  BOOL InvertRgn(CRgn* rgn);
  BOOL PaintRgn(CRgn* rgn);

  // ---- Text
  BOOL TextOut(int x, int y, LPCSTR text, int length);
  BOOL TextOut(int x, int y, const CString& text);
  BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCSTR text, UINT length,
                  const INT* dx);
  BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString& text, const INT* dx);
  int DrawText(LPCSTR text, int length, LPRECT rect, UINT format);
  int DrawText(const CString& text, LPRECT rect, UINT format);
  CSize GetTextExtent(LPCSTR text, int length) const;
  CSize GetTextExtent(const CString& text) const;
  BOOL GetTextMetrics(LPTEXTMETRIC out) const;
  int GetTextFace(int size, LPSTR out) const;
  int GetTextFace(CString& out) const;
  BOOL GetCharWidth(UINT first, UINT last, LPINT out) const;
  int SetTextCharacterExtra(int extra);
  COLORREF GetNearestColor(COLORREF color) const;

  // ---- Printing
  int StartDoc(const DOCINFO* doc);
  int StartDoc(LPCSTR docName);
  int EndDoc();
  int AbortDoc();
  int StartPage();
  int EndPage();

  HDC m_hDC = nullptr;
  HDC m_hAttribDC = nullptr;  // the same DC here: attributes and output agree
  BOOL m_bPrinting = FALSE;
};

// The DC of WM_PAINT: BeginPaint when made, EndPaint when it goes.
class CPaintDC : public CDC {
  DECLARE_DYNAMIC(CPaintDC)
 public:
  explicit CPaintDC(CWnd* wnd);
  ~CPaintDC() override;
  PAINTSTRUCT m_ps{};

 protected:
  HWND m_hWnd = nullptr;
};

// The client area's DC (the screen's for a null window), given back when it goes.
class CClientDC : public CDC {
  DECLARE_DYNAMIC(CClientDC)
 public:
  explicit CClientDC(CWnd* wnd);
  ~CClientDC() override;

 protected:
  HWND m_hWnd = nullptr;
};

// The whole window's DC (frame included), given back when it goes.
class CWindowDC : public CDC {
  DECLARE_DYNAMIC(CWindowDC)
 public:
  explicit CWindowDC(CWnd* wnd);
  ~CWindowDC() override;

 protected:
  HWND m_hWnd = nullptr;
};
