// The text hook of GDI. The public text functions (TextOut, ExtTextOut,
// DrawText, GetTextExtentPoint32, GetTextMetrics, GetTextFace, GetCharWidth,
// EnumFontFamilies) check their DC and pointers and then call the installed
// TextEngine, which realises the DC's selected font (state.font, a LOGFONT
// through FontLogfont) and measures and draws.
//
// Unless another is installed, the engine is the font engine of the font
// module (gdi/text/font_module.h). The base class draws nothing (ExtTextOut
// still fills an ETO_OPAQUE rectangle), measures every text as 0 x 0 and
// reports zero metrics: an engine that knows no fonts.
#pragma once

#include <cstdint>

#include "gdi/dc.h"
#include "win/gdi.h"

namespace win::gdi {

class TextEngine {
 public:
  virtual ~TextEngine() = default;

  // `length` is the byte count (never negative here). TextOut comes here
  // with options 0, no rectangle and no widths. Honour the DC's text align
  // (and TA_UPDATECP), text and background colours and background mode.
  virtual bool ExtTextOut(DcRecord& dc, int x, int y, UINT options, const RECT* rect,
                          const char* text, int length, const INT* dx);
  // `length` -1 was resolved to the string length before the call.
  virtual int DrawText(DcRecord& dc, const char* text, int length, RECT* rect, UINT format);
  virtual bool TextExtent(DcRecord& dc, const char* text, int length, SIZE* out);
  virtual bool TextExtentEx(DcRecord& dc, const char* text, int length, int maxExtent, int* fit,
                            int* dx, SIZE* out);
  virtual bool Metrics(DcRecord& dc, TEXTMETRIC* out);
  virtual int TextFace(DcRecord& dc, int size, char* out);  // as GetTextFace
  virtual bool CharWidths(DcRecord& dc, UINT first, UINT last, int* out);
  virtual int EnumFontFamilies(DcRecord& dc, const char* family, FONTENUMPROC proc, LPARAM lp);
  // A font handle was deleted: drop what was realised for it.
  virtual void FontDeleted(HFONT /*font*/) {}
};

// Not owned; null puts the font engine back.
void SetTextEngine(TextEngine* engine);
TextEngine& ActiveTextEngine();

// ---- Drawing helpers for text engines (surface coordinates) -----------------
// The pixel value the DC draws for a colour: PALETTEINDEX and PALETTERGB
// resolved through the selected palette, then mapped to the surface (the
// nearest system-palette colour on a palette display, black or white on a
// monochrome bitmap). 0x00RRGGBB.
std::uint32_t ResolveColor(const DcRecord& dc, COLORREF color);

// Fills `r` with `color` (a plain copy, no raster operation), clipped.
void FillSurfaceRect(DcRecord& dc, const RECT& r, COLORREF color);

// A glyph: `coverage` holds h rows of w bytes (row pitch `pitch`), 0 = no
// ink, 255 = full ink, for the rectangle at (x, y). With `blend` the colour
// is mixed by coverage (on Color surfaces); otherwise a pixel takes the
// colour when its coverage is 128 or more. Clipped.
void DrawCoverage(DcRecord& dc, int x, int y, int w, int h, const std::uint8_t* coverage,
                  int pitch, COLORREF color, bool blend);

// The same for many glyphs of one colour on one DC, as a line of text
// draws them: the surface and the colour's pixel are found once, and the
// area the glyphs cover is noted as drawn once, when the ink goes.
class CoverageInk {
 public:
  CoverageInk(DcRecord& dc, COLORREF color, bool blend);
  ~CoverageInk();
  CoverageInk(const CoverageInk&) = delete;
  CoverageInk& operator=(const CoverageInk&) = delete;
  void Draw(int x, int y, int w, int h, const std::uint8_t* coverage, int pitch);

 private:
  void Drawn(const RECT& r);

  DcRecord& dc_;
  Surface* surface_ = nullptr;
  std::uint32_t px_ = 0;
  bool mix_ = false;
  RECT drawn_{0, 0, 0, 0};  // the bounds of what was drawn; empty at first
};

}  // namespace win::gdi
