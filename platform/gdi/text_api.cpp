// The public text functions: argument checks, then the installed engine.
#include <cstring>

#include "gdi/dc.h"
#include "gdi/paint.h"
#include "gdi/text/font_module.h"
#include "gdi/text_engine.h"
#include "win/gdi.h"

using namespace win::gdi;

namespace win::gdi {
namespace {

TextEngine* g_engine = nullptr;  // null: the font engine

}  // namespace

// The base engine: no fonts. It measures nothing and draws nothing but
// the opaque rectangle of ExtTextOut.
bool TextEngine::ExtTextOut(DcRecord& dc, int, int, UINT options, const RECT* rect, const char*,
                            int, const INT*) {
  if ((options & ETO_OPAQUE) && rect) {
    FillSurfaceRect(dc, LogicalRectToSurface(dc, *rect), dc.state.bkColor);
  }
  return true;
}

int TextEngine::DrawText(DcRecord&, const char*, int, RECT* rect, UINT format) {
  if (format & DT_CALCRECT) {
    rect->right = rect->left;
    rect->bottom = rect->top;
  }
  return 0;
}

bool TextEngine::TextExtent(DcRecord&, const char*, int, SIZE* out) {
  *out = SIZE{0, 0};
  return true;
}

bool TextEngine::TextExtentEx(DcRecord&, const char*, int length, int, int* fit, int* dx,
                              SIZE* out) {
  if (fit) *fit = length;
  if (dx) std::memset(dx, 0, sizeof(int) * std::size_t(length));
  *out = SIZE{0, 0};
  return true;
}

bool TextEngine::Metrics(DcRecord&, TEXTMETRIC* out) {
  *out = TEXTMETRIC{};
  return true;
}

int TextEngine::TextFace(DcRecord& dc, int size, char* out) {
  const LOGFONT* lf = FontLogfont(dc.state.font);
  const char* face = lf ? lf->lfFaceName : "";
  int len = int(strnlen(face, LF_FACESIZE));
  if (!out) return len + 1;
  if (size <= 0) return 0;
  int n = len < size - 1 ? len : size - 1;
  std::memcpy(out, face, std::size_t(n));
  out[n] = '\0';
  return n;
}

bool TextEngine::CharWidths(DcRecord&, UINT first, UINT last, int* out) {
  for (UINT c = first; c <= last; ++c) out[c - first] = 0;
  return true;
}

int TextEngine::EnumFontFamilies(DcRecord&, const char*, FONTENUMPROC, LPARAM) { return 1; }

void SetTextEngine(TextEngine* engine) { g_engine = engine; }
TextEngine& ActiveTextEngine() { return g_engine ? *g_engine : text::FontModuleEngine(); }

}  // namespace win::gdi

namespace {

// Lengths above this are refused (a garbage length must not run off).
constexpr int kMaxText = 1 << 24;

bool ValidLength(LPCSTR text, int length) { return length == 0 || (text && length > 0 && length <= kMaxText); }

}  // namespace

BOOL TextOut(HDC h, int x, int y, LPCSTR text, int length) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !ValidLength(text, length)) return FALSE;
  return ActiveTextEngine().ExtTextOut(*dc, x, y, 0, nullptr, text ? text : "", length, nullptr)
             ? TRUE : FALSE;
}

BOOL ExtTextOut(HDC h, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT length,
                const INT* dx) {
  DcRecord* dc = LookupDc(h);
  if (!dc || length > UINT(kMaxText) || (length > 0 && !text)) return FALSE;
  return ActiveTextEngine().ExtTextOut(*dc, x, y, options, rect, text ? text : "", int(length), dx)
             ? TRUE : FALSE;
}

int DrawText(HDC h, LPCSTR text, int length, LPRECT rect, UINT format) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !rect) return 0;
  if (length < 0) {
    if (!text) return 0;
    length = int(strnlen(text, std::size_t(kMaxText)));
  }
  if (!ValidLength(text, length)) return 0;
  return ActiveTextEngine().DrawText(*dc, text ? text : "", length, rect, format);
}

BOOL GetTextExtentPoint32(HDC h, LPCSTR text, int length, LPSIZE out) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !out || !ValidLength(text, length)) return FALSE;
  return ActiveTextEngine().TextExtent(*dc, text ? text : "", length, out) ? TRUE : FALSE;
}

BOOL GetTextExtentPoint(HDC dc, LPCSTR text, int length, LPSIZE out) {
  return GetTextExtentPoint32(dc, text, length, out);
}

BOOL GetTextExtentExPoint(HDC h, LPCSTR text, int length, int maxExtent, LPINT fit, LPINT dx,
                          LPSIZE out) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !out || !ValidLength(text, length)) return FALSE;
  return ActiveTextEngine().TextExtentEx(*dc, text ? text : "", length, maxExtent, fit, dx, out)
             ? TRUE : FALSE;
}

BOOL GetTextMetrics(HDC h, LPTEXTMETRIC out) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !out) return FALSE;
  return ActiveTextEngine().Metrics(*dc, out) ? TRUE : FALSE;
}

int GetTextFace(HDC h, int size, LPSTR out) {
  DcRecord* dc = LookupDc(h);
  if (!dc) return 0;
  return ActiveTextEngine().TextFace(*dc, size, out);
}

BOOL GetCharWidth32(HDC h, UINT first, UINT last, LPINT out) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !out || last < first || last - first > 0xFFFF) return FALSE;
  return ActiveTextEngine().CharWidths(*dc, first, last, out) ? TRUE : FALSE;
}

BOOL GetCharWidth(HDC dc, UINT first, UINT last, LPINT out) {
  return GetCharWidth32(dc, first, last, out);
}

int EnumFontFamilies(HDC h, LPCSTR family, FONTENUMPROC proc, LPARAM lp) {
  DcRecord* dc = LookupDc(h);
  if (!dc || !proc) return 0;
  return ActiveTextEngine().EnumFontFamilies(*dc, family, proc, lp);
}
