#include "text/draw/gdi_specs.h"

#include <cstring>

#include "mfc/app.h"
#include "mfc/wnd.h"
#include "text/draw/draw_styles.h"
#include "text/style/color_table.h"
#include "win/gdi.h"

GdiSpec::~GdiSpec() = default;

COLORREF ResolveColor(const ColorRecord& color, const ColorTable& colors) {
  const ColorRecord& c = color.kind == ColorRecord::kExplicit ? color : colors.GetColor(color.kind);
  return RGB(c.red, c.green, c.blue);
}

namespace {

bool isPattern(LONG hatch) { return (hatch >= 0 && hatch <= 9) || hatch == kSolidFill; }

}  // namespace

BrushSpec::BrushSpec(const FontDescriptor& d) {
  const DrawStyle& s = DrawStyles::Lookup(d);
  hatch_ = d.highlight ? s.highlightHatch : s.hatch;
  noFill_ = isPattern(hatch_) ? 0 : 1;
  if (d.color.isSet()) {
    color_ = d.color;
  } else {
    color_ = ColorRecord();
    color_.kind = s.FillColorIndex(d);
  }
}

BrushSpec::~BrushSpec() {
  if (brush_) DeleteObject(brush_);
}

HBRUSH BrushSpec::GetBrush(const ColorTable& colors) {
  if (brush_ || noFill_) return brush_;
  COLORREF rgb = ResolveColor(color_, colors);
  brush_ = hatch_ == kSolidFill ? CreateSolidBrush(rgb) : CreateHatchBrush(hatch_, rgb);
  if (!brush_) noFill_ = 1;
  return brush_;
}

PenSpec::PenSpec(const FontDescriptor& d) {
  const DrawStyle& s = DrawStyles::Lookup(d);
  width_ = static_cast<LONG>(static_cast<long long>(d.scale) * s.penWidth / 100);
  if (d.color.isSet()) {
    color_ = d.color;
  } else {
    color_ = ColorRecord();
    color_.kind = s.LineColorIndex(d);
  }
}

PenSpec::~PenSpec() {
  if (pen_) DeleteObject(pen_);
}

HPEN PenSpec::GetPen(const ColorTable& colors) {
  if (pen_) return pen_;
  LOGBRUSH brush{};
  brush.lbStyle = BS_SOLID;
  brush.lbColor = ResolveColor(color_, colors);
  pen_ = ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_SOLID, static_cast<DWORD>(width_), &brush, 0, nullptr);
  return pen_;
}

FontSpec::FontSpec(const FontDescriptor& d) {
  const DrawStyle& s = DrawStyles::Lookup(d);
  face_ = s.face;
  size_ = static_cast<LONG>(static_cast<long long>(d.scale) * s.size / 100);
  charSet_ = s.charSet;
  bold_ = d.flags & 0x01;
  italic_ = (d.flags & 0x04) ? 1 : 0;
  strikeOut_ = s.strikeOut;
  colorIndex_ = s.LineColorIndex(d);
}

FontSpec::~FontSpec() {
  if (font_) DeleteObject(font_);
}

namespace {

int CALLBACK takeFirstFont(const LOGFONT* found, const TEXTMETRIC*, DWORD, LPARAM lp) {
  auto* font = reinterpret_cast<LOGFONT*>(lp);
  font->lfCharSet = found->lfCharSet;
  font->lfOutPrecision = found->lfOutPrecision;
  font->lfClipPrecision = found->lfClipPrecision;
  font->lfQuality = found->lfQuality;
  font->lfPitchAndFamily = found->lfPitchAndFamily;
  std::memcpy(font->lfFaceName, found->lfFaceName, sizeof font->lfFaceName);
  return 0;  // the first one is enough
}

}  // namespace

HFONT FontSpec::GetFont(int magnification) {
  if (font_) return font_;
  LOGFONT font{};
  font.lfHeight = -static_cast<LONG>(static_cast<long long>(size_) * magnification / 1024);
  font.lfWeight = bold_ ? FW_BOLD : FW_NORMAL;
  font.lfItalic = italic_;
  font.lfStrikeOut = strikeOut_;
  font.lfCharSet = charSet_;
  font.lfOutPrecision = OUT_TT_PRECIS;
  std::strncpy(font.lfFaceName, face_, sizeof font.lfFaceName - 1);
  if (!face_.IsEmpty()) {
    CWnd* main = AfxGetMainWnd();
    HWND window = main ? main->m_hWnd : nullptr;
    if (HDC dc = GetDC(window)) {
      EnumFontFamilies(dc, font.lfFaceName, takeFirstFont, reinterpret_cast<LPARAM>(&font));
      ReleaseDC(window, dc);
    }
  }
  font_ = CreateFontIndirect(&font);
  return font_;
}
