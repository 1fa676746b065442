// The font engine: the font module's whole offer (gdi/text/font_module.h).
#include "gdi/text/font_module.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gdi/fonts/face_names.h"
#include "gdi/fonts/font_files.h"
#include "gdi/fonts/real_font.h"
#include "gdi/objects.h"
#include "gdi/text/char_reader.h"
#include "gdi/text/draw_text.h"
#include "gdi/text/glyph_painter.h"

namespace win::gdi::text {

namespace {

constexpr std::int64_t kCoordLimit = 1 << 27;  // as the DC's coordinate helpers

int Clamp(std::int64_t v) { return int(std::clamp(v, -kCoordLimit, kCoordLimit)); }

std::shared_ptr<fonts::RealFont> FontOf(DcRecord& dc) {
  const LOGFONT* lf = FontLogfont(dc.state.font);
  if (!lf) lf = FontLogfont(static_cast<HFONT>(StockObject(SYSTEM_FONT)));
  if (lf) return fonts::RealizeFont(*lf);
  LOGFONT system{};
  system.lfHeight = 16;
  system.lfWeight = FW_BOLD;
  std::strcpy(system.lfFaceName, "System");
  return fonts::RealizeFont(system);
}

bool CanDraw(DcRecord& dc) { return dc.kind != DcKind::Info && DcSurface(dc) != nullptr; }

class FontTextEngine final : public TextEngine {
 public:
  bool ExtTextOut(DcRecord& dc, int x, int y, UINT options, const RECT* rect, const char* text,
                  int length, const INT* dx) override;
  int DrawText(DcRecord& dc, const char* text, int length, RECT* rect, UINT format) override;
  bool TextExtent(DcRecord& dc, const char* text, int length, SIZE* out) override;
  bool TextExtentEx(DcRecord& dc, const char* text, int length, int maxExtent, int* fit, int* dx,
                    SIZE* out) override;
  bool Metrics(DcRecord& dc, TEXTMETRIC* out) override;
  int TextFace(DcRecord& dc, int size, char* out) override;
  bool CharWidths(DcRecord& dc, UINT first, UINT last, int* out) override;
  int EnumFontFamilies(DcRecord& dc, const char* family, FONTENUMPROC proc, LPARAM lp) override;
};

// The pen advance of each character: ExtTextOut's widths (one per byte; a
// double-byte character takes both of its bytes' widths) or the font's
// advance plus the DC's character extra.
class Advances {
 public:
  Advances(fonts::RealFont& font, const INT* dx, int charExtra)
      : font_(font), dx_(dx), extra_(charExtra) {}
  std::int64_t Of(const TextChar& c) const {
    if (dx_) {
      std::int64_t w = dx_[c.offset];
      if (c.bytes > 1) w += dx_[c.offset + 1];
      return w;
    }
    return std::int64_t(font_.Advance(c.ch)) + extra_;
  }

 private:
  fonts::RealFont& font_;
  const INT* dx_;
  int extra_;
};

// One entry of EnumFontFamilies.
struct EnumEntry {
  std::string face;
  bool bold = false;
  bool italic = false;
  std::string style;
};

void AddStyles(std::vector<EnumEntry>& out, const std::string& face,
               const fonts::KnownFamily& fam) {
  const struct {
    const char* file;
    bool bold, italic;
    const char* style;
  } styles[] = {{fam.regular, false, false, "Regular"},
                {fam.bold, true, false, "Bold"},
                {fam.italic, false, true, "Italic"},
                {fam.boldItalic, true, true, "Bold Italic"}};
  for (const auto& s : styles) {
    if (s.file && fonts::FindFontFile(s.file)) out.push_back({face, s.bold, s.italic, s.style});
  }
}

int CallBack(const EnumEntry& e, BYTE charsetHint, FONTENUMPROC proc, LPARAM lp) {
  LOGFONT lf{};
  lf.lfHeight = 16;
  lf.lfWeight = e.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = e.italic ? 1 : 0;
  lf.lfCharSet = charsetHint;
  std::strncpy(lf.lfFaceName, e.face.c_str(), LF_FACESIZE - 1);
  fonts::RealFont font(lf);

  ENUMLOGFONT elf{};
  NEWTEXTMETRIC ntm{};
  ntm.tm = font.metrics();
  ntm.tm.tmDigitizedAspectX = 96;
  ntm.tm.tmDigitizedAspectY = 96;
  elf.elfLogFont = lf;
  elf.elfLogFont.lfHeight = ntm.tm.tmHeight;
  elf.elfLogFont.lfWidth = ntm.tm.tmAveCharWidth;
  elf.elfLogFont.lfWeight = ntm.tm.tmWeight;
  elf.elfLogFont.lfCharSet = font.charset();
  elf.elfLogFont.lfOutPrecision = OUT_STROKE_PRECIS;
  elf.elfLogFont.lfClipPrecision = CLIP_STROKE_PRECIS;
  elf.elfLogFont.lfQuality = DRAFT_QUALITY;
  // LOGFONT pitch: the TEXTMETRIC bit means the opposite.
  bool variable = (ntm.tm.tmPitchAndFamily & TMPF_FIXED_PITCH) != 0;
  elf.elfLogFont.lfPitchAndFamily =
      BYTE((variable ? VARIABLE_PITCH : FIXED_PITCH) | (ntm.tm.tmPitchAndFamily & 0xF0));
  std::string full = e.face;
  if (e.style != "Regular") full += " " + e.style;
  std::strncpy(elf.elfFullName, full.c_str(), LF_FULLFACESIZE - 1);
  std::strncpy(elf.elfStyle, e.style.c_str(), LF_FACESIZE - 1);
  if (const fonts::FontFace* f = font.face()) {
    const fonts::DesignMetrics& m = f->metrics();
    ntm.ntmSizeEM = UINT(m.unitsPerEm);
    ntm.ntmCellHeight = UINT(m.winAscent + m.winDescent);
    ntm.ntmAvgWidth = UINT(m.avgCharWidth);
  }
  constexpr DWORD kRegular = 0x40, kBold = 0x20, kItalic = 0x01;
  ntm.ntmFlags = (e.bold ? kBold : 0) | (e.italic ? kItalic : 0);
  if (ntm.ntmFlags == 0) ntm.ntmFlags = kRegular;
  return proc(&elf.elfLogFont, &ntm.tm, TRUETYPE_FONTTYPE, lp);
}

bool FontTextEngine::ExtTextOut(DcRecord& dc, int x, int y, UINT options, const RECT* rect,
                                const char* text, int length, const INT* dx) {
  if (length < 0) return false;
  auto font = FontOf(dc);
  const TEXTMETRIC& tm = font->metrics();
  const CodePage& page = CodePage::ForCharset(font->charset());
  const Advances advances(*font, dx, dc.state.charExtra);

  std::int64_t width = 0;
  {
    CharReader reader(page, text, length);
    TextChar c;
    while (reader.Next(c)) width += advances.Of(c);
  }

  const UINT align = dc.state.textAlign;
  const bool updateCp = (align & TA_UPDATECP) != 0;
  const POINT ref = updateCp ? dc.state.position : POINT{x, y};
  std::int64_t left = ref.x;
  if ((align & TA_CENTER) == TA_CENTER) {
    left = ref.x - width / 2;
  } else if (align & TA_RIGHT) {
    left = ref.x - width;
  }
  std::int64_t baseline = ref.y;
  if ((align & TA_BASELINE) == TA_BASELINE) {
    baseline = ref.y;
  } else if (align & TA_BOTTOM) {
    baseline = std::int64_t(ref.y) - tm.tmDescent;
  } else {
    baseline = std::int64_t(ref.y) + tm.tmAscent;
  }
  if (updateCp) {
    // The position moves past the text: right for left-aligned text, left
    // for right-aligned; centred text leaves it.
    if ((align & TA_CENTER) == TA_CENTER) {
    } else if (align & TA_RIGHT) {
      dc.state.position.x = Clamp(std::int64_t(ref.x) - width);
    } else {
      dc.state.position.x = Clamp(std::int64_t(ref.x) + width);
    }
  }

  if (rect && (options & ETO_OPAQUE)) {
    FillSurfaceRect(dc, LogicalRectToSurface(dc, *rect), dc.state.bkColor);
  }
  if (length == 0 || !CanDraw(dc)) return true;

  std::optional<RECT> clip;
  if (rect && (options & ETO_CLIPPED)) clip = LogicalRectToSurface(dc, *rect);
  const POINT origin = LogicalToSurface(dc, POINT{Clamp(left), Clamp(baseline)});
  const int right = Clamp(std::int64_t(origin.x) + width);
  GlyphPainter painter(dc, *font, dc.state.textColor, clip);
  if (dc.state.bkMode == OPAQUE) {
    painter.Fill(RECT{origin.x, origin.y - int(tm.tmAscent), right, origin.y + int(tm.tmDescent)},
                 dc.state.bkColor);
  }
  CharReader reader(page, text, length);
  TextChar c;
  std::int64_t pen = origin.x;
  while (reader.Next(c)) {
    painter.Glyph(c.ch, Clamp(pen), origin.y);
    pen += advances.Of(c);
  }
  if (font->underline()) painter.Line(origin.x, right, origin.y, font->underlineLine());
  if (font->strikeOut()) painter.Line(origin.x, right, origin.y, font->strikeLine());
  return true;
}

int FontTextEngine::DrawText(DcRecord& dc, const char* text, int length, RECT* rect, UINT format) {
  if (!rect || length < 0) return 0;
  auto font = FontOf(dc);
  return DrawTextLines(dc, *font, text, length, rect, format);
}

bool FontTextEngine::TextExtent(DcRecord& dc, const char* text, int length, SIZE* out) {
  return TextExtentEx(dc, text, length, -1, nullptr, nullptr, out);
}

bool FontTextEngine::TextExtentEx(DcRecord& dc, const char* text, int length, int maxExtent,
                                  int* fit, int* dx, SIZE* out) {
  if (!out || length < 0) return false;
  auto font = FontOf(dc);
  const CodePage& page = CodePage::ForCharset(font->charset());
  const Advances advances(*font, nullptr, dc.state.charExtra);
  CharReader reader(page, text, length);
  TextChar c;
  std::int64_t x = 0;
  int fitted = 0;
  bool fitting = true;
  while (reader.Next(c)) {
    x += advances.Of(c);
    if (dx) {
      for (int k = 0; k < c.bytes; ++k) dx[c.offset + k] = Clamp(x);
    }
    if (fitting) {
      if (maxExtent < 0 || x <= maxExtent) {
        fitted = c.offset + c.bytes;
      } else {
        fitting = false;
      }
    }
  }
  if (fit) *fit = fitted;
  out->cx = Clamp(x);
  out->cy = font->metrics().tmHeight;
  return true;
}

bool FontTextEngine::Metrics(DcRecord& dc, TEXTMETRIC* out) {
  if (!out) return false;
  auto font = FontOf(dc);
  *out = font->metrics();
  out->tmDigitizedAspectX = DeviceCaps(dc, LOGPIXELSX);
  out->tmDigitizedAspectY = DeviceCaps(dc, LOGPIXELSY);
  return true;
}

int FontTextEngine::TextFace(DcRecord& dc, int size, char* out) {
  auto font = FontOf(dc);
  const std::string& name = font->faceName();
  int len = int(name.size());
  if (!out) return len + 1;
  if (size <= 0) return 0;
  int n = std::min(len, size - 1);
  std::memcpy(out, name.data(), std::size_t(n));
  out[n] = '\0';
  return n;
}

bool FontTextEngine::CharWidths(DcRecord& dc, UINT first, UINT last, int* out) {
  if (!out || last < first) return false;
  auto font = FontOf(dc);
  const CodePage& page = CodePage::ForCharset(font->charset());
  for (std::uint64_t code = first; code <= last; ++code) {
    out[code - first] = font->Advance(page.CharOfCode(std::uint32_t(code)));
  }
  return true;
}

int FontTextEngine::EnumFontFamilies(DcRecord&, const char* family, FONTENUMPROC proc, LPARAM lp) {
  if (!proc) return 0;
  std::string wanted = family ? std::string(family, strnlen(family, LF_FACESIZE)) : std::string();
  std::vector<std::pair<EnumEntry, BYTE>> entries;
  if (wanted.empty()) {
    // One entry per family: the Windows names we stand in for, then every
    // family installed under its own name.
    std::vector<std::string> seen;
    for (int i = 0; i < fonts::EnumerableAliasCount(); ++i) {
      const fonts::FaceAlias& a = fonts::EnumerableAlias(i);
      if (!fonts::FindFontFile(a.family->regular)) continue;
      entries.push_back(
          {EnumEntry{a.reportedName, a.forceBold, false, a.forceBold ? "Bold" : "Regular"},
           a.family->charset});
      seen.push_back(fonts::LowerAscii(a.reportedName));
    }
    for (const std::string& f : fonts::InstalledFamilies()) {
      if (std::find(seen.begin(), seen.end(), fonts::LowerAscii(f)) != seen.end()) continue;
      entries.push_back({EnumEntry{f, false, false, "Regular"}, BYTE(DEFAULT_CHARSET)});
    }
  } else if (const fonts::FaceAlias* a = fonts::FindFaceAlias(wanted)) {
    std::vector<EnumEntry> styles;
    AddStyles(styles, a->reportedName, *a->family);
    for (EnumEntry& e : styles) {
      // "System" has only its upright bold face.
      if (a->forceBold && (!e.bold || e.italic)) continue;
      entries.push_back({e, a->family->charset});
    }
  } else {
    for (const fonts::FamilyStyleFile& f : fonts::FamilyFiles(wanted)) {
      entries.push_back({EnumEntry{wanted, f.bold, f.italic, f.style}, BYTE(DEFAULT_CHARSET)});
    }
  }
  int result = 1;
  for (const auto& [entry, charset] : entries) {
    result = CallBack(entry, charset, proc, lp);
    if (result == 0) break;
  }
  return result;
}

TextEngine* Engine() {
  // Never destroyed: GDI may be asked for text while other statics go away.
  static FontTextEngine* engine = new FontTextEngine;
  return engine;
}

std::string FontFileOf(DcRecord& dc) { return FontOf(dc)->fontFile(); }

TextCacheStats CacheStats() {
  const fonts::GlyphCache& c = fonts::SharedGlyphCache();
  return TextCacheStats{c.size(), c.bytes(), c.hits(), c.misses()};
}

constexpr FontModule kModule{&Engine, &FontFileOf, &CacheStats, &fonts::ClearFontCaches};

}  // namespace
}  // namespace win::gdi::text

extern "C" __attribute__((visibility("default"))) const win::gdi::text::FontModule* ZemraFontModule() {
  return &win::gdi::text::kModule;
}
