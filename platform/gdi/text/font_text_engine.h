// GDI's text engine on FreeType and fontconfig: realises the DC's LOGFONT
// (platform/gdi/fonts), decodes the text by the font's character set, and
// measures and draws anti-aliased glyphs on the DC's surface.
//
// It is installed before main() by a registrar in font_text_engine.cpp
// (the platform library's link options keep that object in every program);
// InstallFontTextEngine() does the same by hand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "gdi/text_engine.h"

namespace win::gdi::text {

class FontTextEngine : public TextEngine {
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

// The process's engine, made on first use.
FontTextEngine& TheFontTextEngine();
void InstallFontTextEngine();

// The font file the DC's selected font draws from ("" when none): tests pin
// their pictures to it.
std::string SelectedFontFile(HDC dc);

struct TextCacheStats {
  std::size_t glyphs = 0;
  std::size_t bytes = 0;
  std::uint64_t hits = 0;
  std::uint64_t misses = 0;
};
TextCacheStats GlyphCacheStats();
// Forgets realised fonts and cached glyphs (tests, benchmarks).
void ClearTextCaches();

}  // namespace win::gdi::text
