// GDI's text engine on FreeType and fontconfig (platform/gdi/fonts and the
// engine in font_text_engine.cpp) lives in a module of its own,
// libzemrafonts.so beside the library, loaded the first time text is
// measured or drawn: a program that draws no text never loads them. The
// table speaks only of our own types.
#pragma once

#include <string>

#include "gdi/dc.h"
#include "gdi/text/font_text_engine.h"
#include "gdi/text_engine.h"

namespace win::gdi::text {

struct FontModule {
  // The module's engine; lives as long as the process.
  TextEngine* (*engine)();
  // As SelectedFontFile, GlyphCacheStats and ClearTextCaches.
  std::string (*fontFileOf)(DcRecord& dc);
  TextCacheStats (*cacheStats)();
  void (*clearCaches)();
};

// The engine that GDI uses until another is installed: the module's, loaded
// on its first call; without the module it draws nothing and says so.
TextEngine& FontModuleEngine();

}  // namespace win::gdi::text

// The one symbol the module exports.
extern "C" const win::gdi::text::FontModule* ZemraFontModule();
