// The GDI-object wrappers.
#include "mfc/gdi_objects.h"

#include "afx_state.h"
#include "mfc/app.h"
#include "mfc/dc.h"

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

namespace zemra_mfc {
HandleMap<void*, CGdiObject>& GdiMap() {
  static HandleMap<void*, CGdiObject> map([](CGdiObject* o) { o->m_hObject = nullptr; });
  return map;
}
}  // namespace zemra_mfc

namespace {

// A temporary object of class T for the handle.
template <class T>
T* TemporaryOf(HGDIOBJ obj) {
  return zemra_mfc::GdiMap().FromHandle<T>(obj, [obj] {
    auto* t = new T;
    t->m_hObject = obj;
    return t;
  });
}

}  // namespace

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ obj) {
  if (!obj) return nullptr;
  if (CGdiObject* p = zemra_mfc::GdiMap().Permanent(obj)) return p;
  switch (::GetObjectType(obj)) {
    case OBJ_PEN:
    case OBJ_EXTPEN: return TemporaryOf<CPen>(obj);
    case OBJ_BRUSH: return TemporaryOf<CBrush>(obj);
    case OBJ_FONT: return TemporaryOf<CFont>(obj);
    case OBJ_BITMAP: return TemporaryOf<CBitmap>(obj);
    case OBJ_PAL: return TemporaryOf<CPalette>(obj);
    case OBJ_REGION: return TemporaryOf<CRgn>(obj);
    default: return TemporaryOf<CGdiObject>(obj);
  }
}

CPen* CPen::FromHandle(HPEN pen) { return pen ? TemporaryOf<CPen>(pen) : nullptr; }
CBrush* CBrush::FromHandle(HBRUSH brush) { return brush ? TemporaryOf<CBrush>(brush) : nullptr; }
CFont* CFont::FromHandle(HFONT font) { return font ? TemporaryOf<CFont>(font) : nullptr; }
CBitmap* CBitmap::FromHandle(HBITMAP bitmap) { return bitmap ? TemporaryOf<CBitmap>(bitmap) : nullptr; }
CPalette* CPalette::FromHandle(HPALETTE palette) {
  return palette ? TemporaryOf<CPalette>(palette) : nullptr;
}
CRgn* CRgn::FromHandle(HRGN rgn) { return rgn ? TemporaryOf<CRgn>(rgn) : nullptr; }

void CGdiObject::DeleteTempMap() { zemra_mfc::GdiMap().DeleteTemporaries(); }

BOOL CGdiObject::Attach(HGDIOBJ obj) {
  if (!obj || m_hObject) return FALSE;
  if (CGdiObject* other = zemra_mfc::GdiMap().Permanent(obj); other && other != this) return FALSE;
  m_hObject = obj;
  zemra_mfc::GdiMap().SetPermanent(obj, this);
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ obj = m_hObject;
  if (obj) zemra_mfc::GdiMap().RemovePermanent(obj, this);
  m_hObject = nullptr;
  return obj;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int size, LPVOID out) const { return ::GetObject(m_hObject, size, out); }
UINT CGdiObject::GetObjectType() const { return ::GetObjectType(m_hObject); }
BOOL CGdiObject::CreateStockObject(int index) { return Attach(::GetStockObject(index)); }
BOOL CGdiObject::UnrealizeObject() { return ::UnrealizeObject(m_hObject); }

// ---- Pens and brushes ----------------------------------------------------------------

CPen::CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
BOOL CPen::CreatePen(int style, int width, COLORREF color) {
  return Attach(::CreatePen(style, width, color));
}
BOOL CPen::CreatePenIndirect(const LOGPEN* pen) { return Attach(::CreatePenIndirect(pen)); }
int CPen::GetLogPen(LOGPEN* out) const { return GetObject(sizeof(LOGPEN), out); }

CBrush::CBrush(COLORREF color) { CreateSolidBrush(color); }
CBrush::CBrush(int hatch, COLORREF color) { CreateHatchBrush(hatch, color); }
CBrush::CBrush(CBitmap* bitmap) { CreatePatternBrush(bitmap); }
BOOL CBrush::CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
BOOL CBrush::CreateHatchBrush(int hatch, COLORREF color) {
  return Attach(::CreateHatchBrush(hatch, color));
}
BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* brush) {
  return Attach(::CreateBrushIndirect(brush));
}
BOOL CBrush::CreatePatternBrush(CBitmap* bitmap) {
  if (!bitmap) return FALSE;
  return Attach(::CreatePatternBrush(static_cast<HBITMAP>(bitmap->m_hObject)));
}
BOOL CBrush::CreateDIBPatternBrush(const void* packedDib, UINT usage) {
  return Attach(::CreateDIBPatternBrushPt(packedDib, usage));
}
BOOL CBrush::CreateSysColorBrush(int index) { return Attach(::GetSysColorBrush(index)); }
int CBrush::GetLogBrush(LOGBRUSH* out) const { return GetObject(sizeof(LOGBRUSH), out); }

// ---- Fonts -----------------------------------------------------------------------------

BOOL CFont::CreateFontIndirect(const LOGFONT* font) { return Attach(::CreateFontIndirect(font)); }

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet,
                       BYTE outPrecision, BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily,
                       LPCSTR face) {
  return Attach(::CreateFont(height, width, escapement, orientation, weight, italic, underline,
                             strikeOut, charSet, outPrecision, clipPrecision, quality,
                             pitchAndFamily, face));
}

BOOL CFont::CreatePointFont(int pointSize10, LPCSTR face, CDC* dc) {
  LOGFONT lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  if (face) {
    size_t i = 0;
    for (; face[i] && i + 1 < sizeof lf.lfFaceName; ++i) lf.lfFaceName[i] = face[i];
    lf.lfFaceName[i] = '\0';
  }
  HDC hdc = dc ? dc->m_hAttribDC : ::GetDC(nullptr);
  const int dpi = hdc ? ::GetDeviceCaps(hdc, LOGPIXELSY) : 96;
  if (!dc && hdc) ::ReleaseDC(nullptr, hdc);
  // Rounded as MulDiv rounds.
  const long long num = static_cast<long long>(pointSize10) * (dpi > 0 ? dpi : 96);
  lf.lfHeight = -static_cast<LONG>((num + 360) / 720);
  lf.lfWeight = FW_NORMAL;
  return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* out) const { return GetObject(sizeof(LOGFONT), out); }

// ---- Bitmaps -----------------------------------------------------------------------------

BOOL CBitmap::LoadBitmap(LPCSTR name) { return Attach(::LoadBitmap(AfxGetResourceHandle(), name)); }
BOOL CBitmap::LoadBitmap(UINT id) { return LoadBitmap(MAKEINTRESOURCE(id)); }
BOOL CBitmap::LoadOEMBitmap(UINT id) { return Attach(::LoadBitmap(nullptr, MAKEINTRESOURCE(id))); }
BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel,
                           const void* bits) {
  return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}
BOOL CBitmap::CreateBitmapIndirect(const BITMAP* bm) { return Attach(::CreateBitmapIndirect(bm)); }
BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  return Attach(::CreateCompatibleBitmap(dc ? dc->m_hDC : nullptr, width, height));
}
BOOL CBitmap::CreateDiscardableBitmap(CDC* dc, int width, int height) {
  return CreateCompatibleBitmap(dc, width, height);
}
int CBitmap::GetBitmap(BITMAP* out) const { return GetObject(sizeof(BITMAP), out); }
LONG CBitmap::SetBitmapBits(DWORD bytes, const void* bits) {
  return ::SetBitmapBits(static_cast<HBITMAP>(m_hObject), bytes, bits);
}
LONG CBitmap::GetBitmapBits(DWORD bytes, LPVOID out) const {
  return ::GetBitmapBits(static_cast<HBITMAP>(m_hObject), static_cast<LONG>(bytes), out);
}

// ---- Palettes -------------------------------------------------------------------------------

BOOL CPalette::CreatePalette(const LOGPALETTE* palette) {
  return Attach(::CreatePalette(palette));
}
int CPalette::GetEntryCount() const {
  WORD count = 0;
  if (!m_hObject || GetObject(sizeof count, &count) == 0) return 0;
  return count;
}
UINT CPalette::GetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY out) const {
  return ::GetPaletteEntries(static_cast<HPALETTE>(m_hObject), start, count, out);
}
UINT CPalette::SetPaletteEntries(UINT start, UINT count, const PALETTEENTRY* entries) {
  return ::SetPaletteEntries(static_cast<HPALETTE>(m_hObject), start, count, entries);
}
void CPalette::AnimatePalette(UINT start, UINT count, const PALETTEENTRY* entries) {
  ::AnimatePalette(static_cast<HPALETTE>(m_hObject), start, count, entries);
}
UINT CPalette::GetNearestPaletteIndex(COLORREF color) const {
  return ::GetNearestPaletteIndex(static_cast<HPALETTE>(m_hObject), color);
}
BOOL CPalette::ResizePalette(UINT entries) {
  return ::ResizePalette(static_cast<HPALETTE>(m_hObject), entries);
}

// ---- Regions -----------------------------------------------------------------------------------

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom) {
  return Attach(::CreateRectRgn(left, top, right, bottom));
}
BOOL CRgn::CreateRectRgnIndirect(LPCRECT rect) { return Attach(::CreateRectRgnIndirect(rect)); }
BOOL CRgn::CreateEllipticRgn(int left, int top, int right, int bottom) {
  return Attach(::CreateEllipticRgn(left, top, right, bottom));
}
BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT rect) {
  if (!rect) return FALSE;
  return CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom);
}
BOOL CRgn::CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  return Attach(::CreatePolygonRgn(points, count, fillMode));
}
void CRgn::SetRectRgn(int left, int top, int right, int bottom) {
  ::SetRectRgn(static_cast<HRGN>(m_hObject), left, top, right, bottom);
}
void CRgn::SetRectRgn(LPCRECT rect) {
  if (rect) SetRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}
int CRgn::CombineRgn(CRgn* a, CRgn* b, int mode) {
  return ::CombineRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(SafeHandle(a)),
                      static_cast<HRGN>(SafeHandle(b)), mode);
}
int CRgn::CopyRgn(CRgn* src) { return CombineRgn(src, nullptr, RGN_COPY); }
BOOL CRgn::EqualRgn(CRgn* other) const {
  return ::EqualRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(SafeHandle(other)));
}
int CRgn::OffsetRgn(int dx, int dy) { return ::OffsetRgn(static_cast<HRGN>(m_hObject), dx, dy); }
int CRgn::OffsetRgn(POINT pt) { return OffsetRgn(pt.x, pt.y); }
int CRgn::GetRgnBox(LPRECT out) const { return ::GetRgnBox(static_cast<HRGN>(m_hObject), out); }
BOOL CRgn::PtInRegion(int x, int y) const { return ::PtInRegion(static_cast<HRGN>(m_hObject), x, y); }
BOOL CRgn::PtInRegion(POINT pt) const { return PtInRegion(pt.x, pt.y); }
BOOL CRgn::RectInRegion(LPCRECT rect) const {
  return ::RectInRegion(static_cast<HRGN>(m_hObject), rect);
}
