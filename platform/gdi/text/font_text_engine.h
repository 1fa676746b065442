// GDI's text engine on FreeType and fontconfig: realises the DC's LOGFONT
// (platform/gdi/fonts), decodes the text by the font's character set, and
// measures and draws anti-aliased glyphs on the DC's surface. It is GDI's
// engine from the start, loaded from its module (gdi/text/font_module.h)
// the first time text is measured or drawn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "win/types.h"

namespace win::gdi::text {

// Makes the font engine GDI's engine again (after a test installed another).
void InstallFontTextEngine();

// Whether fonts can be had; when not, `error` says why (the module cannot be
// loaded) and text measures 0 and draws nothing, its calls failing.
bool FontsAvailable(std::string* error = nullptr);

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
