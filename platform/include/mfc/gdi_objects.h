// The GDI-object wrappers: CGdiObject and its kinds (CPen, CBrush, CFont,
// CBitmap, CRgn, CPalette). An object that holds a handle deletes it when it
// goes (DeleteObject; a handle still selected into a DC is not deleted, as
// GDI refuses that). FromHandle gives the permanent object of a handle, or a
// temporary one of the handle's kind, freed at idle time.
//
// Creation failures are reported by the Create functions' results; the
// constructors that create leave an empty object instead of throwing.
#pragma once

#include "mfc/geometry.h"
#include "mfc/object.h"
#include "win/gdi.h"

class CDC;
class CBitmap;

class CGdiObject : public CObject {
  DECLARE_DYNCREATE(CGdiObject)
 public:
  CGdiObject() = default;
  ~CGdiObject() override;

  operator HGDIOBJ() const { return m_hObject; }
  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  static HGDIOBJ SafeHandle(const CGdiObject* obj) { return obj ? obj->m_hObject : nullptr; }

  // The permanent object, else a temporary object of the handle's kind.
  static CGdiObject* FromHandle(HGDIOBJ obj);
  static void DeleteTempMap();
  BOOL Attach(HGDIOBJ obj);
  HGDIOBJ Detach();
  // Deletes the handle (FALSE when there is none or GDI refuses).
  BOOL DeleteObject();

  int GetObject(int size, LPVOID out) const;
  UINT GetObjectType() const;
  BOOL CreateStockObject(int index);
  BOOL UnrealizeObject();
  BOOL operator==(const CGdiObject& other) const { return m_hObject == other.m_hObject; }
  BOOL operator!=(const CGdiObject& other) const { return m_hObject != other.m_hObject; }

  HGDIOBJ m_hObject = nullptr;
};

class CPen : public CGdiObject {
  DECLARE_DYNAMIC(CPen)
 public:
  CPen() = default;
  CPen(int style, int width, COLORREF color);
  static CPen* FromHandle(HPEN pen);
  BOOL CreatePen(int style, int width, COLORREF color);
  BOOL CreatePenIndirect(const LOGPEN* pen);
  int GetLogPen(LOGPEN* out) const;
  operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};

class CBrush : public CGdiObject {
  DECLARE_DYNAMIC(CBrush)
 public:
  CBrush() = default;
  explicit CBrush(COLORREF color);
  CBrush(int hatch, COLORREF color);
  explicit CBrush(CBitmap* bitmap);
  static CBrush* FromHandle(HBRUSH brush);
  BOOL CreateSolidBrush(COLORREF color);
  BOOL CreateHatchBrush(int hatch, COLORREF color);
  BOOL CreateBrushIndirect(const LOGBRUSH* brush);
  BOOL CreatePatternBrush(CBitmap* bitmap);
  BOOL CreateDIBPatternBrush(const void* packedDib, UINT usage);
  // A system-colour brush is a stock object: it is never deleted.
  BOOL CreateSysColorBrush(int index);
  int GetLogBrush(LOGBRUSH* out) const;
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CFont : public CGdiObject {
  DECLARE_DYNAMIC(CFont)
 public:
  CFont() = default;
  static CFont* FromHandle(HFONT font);
  BOOL CreateFontIndirect(const LOGFONT* font);
  BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                  BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                  BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, LPCSTR face);
  // Tenths of a point at the DC's (else the screen's) vertical resolution.
  BOOL CreatePointFont(int pointSize10, LPCSTR face, CDC* dc = nullptr);
  int GetLogFont(LOGFONT* out) const;
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CBitmap : public CGdiObject {
  DECLARE_DYNAMIC(CBitmap)
 public:
  CBitmap() = default;
  static CBitmap* FromHandle(HBITMAP bitmap);
  BOOL LoadBitmap(LPCSTR name);
  BOOL LoadBitmap(UINT id);
  BOOL LoadOEMBitmap(UINT id);  // OBM_ bitmaps of the system
  BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
  BOOL CreateBitmapIndirect(const BITMAP* bm);
  BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
  BOOL CreateDiscardableBitmap(CDC* dc, int width, int height);
  int GetBitmap(BITMAP* out) const;
  LONG SetBitmapBits(DWORD bytes, const void* bits);
  LONG GetBitmapBits(DWORD bytes, LPVOID out) const;
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

class CPalette : public CGdiObject {
  DECLARE_DYNAMIC(CPalette)
 public:
  CPalette() = default;
  static CPalette* FromHandle(HPALETTE palette);
  BOOL CreatePalette(const LOGPALETTE* palette);
  int GetEntryCount() const;
  UINT GetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY out) const;
  UINT SetPaletteEntries(UINT start, UINT count, const PALETTEENTRY* entries);
  void AnimatePalette(UINT start, UINT count, const PALETTEENTRY* entries);
  UINT GetNearestPaletteIndex(COLORREF color) const;
  BOOL ResizePalette(UINT entries);
  operator HPALETTE() const { return static_cast<HPALETTE>(m_hObject); }
};

class CRgn : public CGdiObject {
  DECLARE_DYNAMIC(CRgn)
 public:
  CRgn() = default;
  static CRgn* FromHandle(HRGN rgn);
  BOOL CreateRectRgn(int left, int top, int right, int bottom);
  BOOL CreateRectRgnIndirect(LPCRECT rect);
  BOOL CreateEllipticRgn(int left, int top, int right, int bottom);
  BOOL CreateEllipticRgnIndirect(LPCRECT rect);
  BOOL CreatePolygonRgn(const POINT* points, int count, int fillMode);
  void SetRectRgn(int left, int top, int right, int bottom);
  void SetRectRgn(LPCRECT rect);
  int CombineRgn(CRgn* a, CRgn* b, int mode);
  int CopyRgn(CRgn* src);
  BOOL EqualRgn(CRgn* other) const;
  int OffsetRgn(int dx, int dy);
  int OffsetRgn(POINT pt);
  int GetRgnBox(LPRECT out) const;
  BOOL PtInRegion(int x, int y) const;
  BOOL PtInRegion(POINT pt) const;
  BOOL RectInRegion(LPCRECT rect) const;
  operator HRGN() const { return static_cast<HRGN>(m_hObject); }
};
