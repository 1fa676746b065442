// The font engine through its module, loaded on first use.
#include "gdi/text/font_module.h"

#include <atomic>
#include <cstdio>

#include "kernel/lazy_module.h"

namespace win::gdi::text {
namespace {

struct Loaded {
  const FontModule* module = nullptr;
  std::string error;
};

std::atomic<bool> g_loaded{false};

const Loaded& Module() {
  static const Loaded loaded = [] {
    Loaded l;
    l.module = kernel::LoadLazyModule<FontModule>("libzemrafonts.so", "ZemraFontModule", &l.error);
    if (!l.module) {
      l.error = "no fonts: " + l.error;
      // Text is asked for from deep inside painting, which has no way to
      // pass this on: say it once where the user of the program sees it.
      std::fprintf(stderr, "zemra: %s\n", l.error.c_str());
    }
    return l;
  }();
  g_loaded.store(true, std::memory_order_release);
  return loaded;
}

// Without fonts: nothing is drawn (but the opaque rectangle) and nothing
// measured, and every call says it failed.
class NoFonts final : public TextEngine {
 public:
  bool ExtTextOut(DcRecord& dc, int x, int y, UINT options, const RECT* rect, const char* text,
                  int length, const INT* dx) override {
    TextEngine::ExtTextOut(dc, x, y, options, rect, text, length, dx);
    return false;
  }
  int DrawText(DcRecord&, const char*, int, RECT*, UINT) override { return 0; }
  bool TextExtent(DcRecord& dc, const char* text, int length, SIZE* out) override {
    TextEngine::TextExtent(dc, text, length, out);
    return false;
  }
  bool TextExtentEx(DcRecord& dc, const char* text, int length, int maxExtent, int* fit, int* dx,
                    SIZE* out) override {
    TextEngine::TextExtentEx(dc, text, length, maxExtent, fit, dx, out);
    return false;
  }
  bool Metrics(DcRecord& dc, TEXTMETRIC* out) override {
    TextEngine::Metrics(dc, out);
    return false;
  }
  bool CharWidths(DcRecord& dc, UINT first, UINT last, int* out) override {
    TextEngine::CharWidths(dc, first, last, out);
    return false;
  }
  int EnumFontFamilies(DcRecord&, const char*, FONTENUMPROC, LPARAM) override { return 0; }
};

TextEngine& Engine() {
  static NoFonts none;
  const Loaded& l = Module();
  return l.module ? *l.module->engine() : none;
}

// Forwards every call to the module's engine, loading the module on the
// first; a font deleted before any text was drawn needs no module.
class LoadingEngine final : public TextEngine {
 public:
  bool ExtTextOut(DcRecord& dc, int x, int y, UINT options, const RECT* rect, const char* text,
                  int length, const INT* dx) override {
    return Engine().ExtTextOut(dc, x, y, options, rect, text, length, dx);
  }
  int DrawText(DcRecord& dc, const char* text, int length, RECT* rect, UINT format) override {
    return Engine().DrawText(dc, text, length, rect, format);
  }
  bool TextExtent(DcRecord& dc, const char* text, int length, SIZE* out) override {
    return Engine().TextExtent(dc, text, length, out);
  }
  bool TextExtentEx(DcRecord& dc, const char* text, int length, int maxExtent, int* fit, int* dx,
                    SIZE* out) override {
    return Engine().TextExtentEx(dc, text, length, maxExtent, fit, dx, out);
  }
  bool Metrics(DcRecord& dc, TEXTMETRIC* out) override { return Engine().Metrics(dc, out); }
  int TextFace(DcRecord& dc, int size, char* out) override { return Engine().TextFace(dc, size, out); }
  bool CharWidths(DcRecord& dc, UINT first, UINT last, int* out) override {
    return Engine().CharWidths(dc, first, last, out);
  }
  int EnumFontFamilies(DcRecord& dc, const char* family, FONTENUMPROC proc, LPARAM lp) override {
    return Engine().EnumFontFamilies(dc, family, proc, lp);
  }
  void FontDeleted(HFONT font) override {
    if (g_loaded.load(std::memory_order_acquire)) Engine().FontDeleted(font);
  }
};

}  // namespace

TextEngine& FontModuleEngine() {
  static LoadingEngine engine;
  return engine;
}

void InstallFontTextEngine() { SetTextEngine(nullptr); }

bool FontsAvailable(std::string* error) {
  const Loaded& l = Module();
  if (!l.module && error) *error = l.error;
  return l.module != nullptr;
}

std::string SelectedFontFile(HDC h) {
  DcRecord* dc = LookupDc(h);
  const Loaded& l = Module();
  if (!dc || !l.module) return {};
  return l.module->fontFileOf(*dc);
}

TextCacheStats GlyphCacheStats() {
  const Loaded& l = Module();
  return l.module ? l.module->cacheStats() : TextCacheStats{};
}

void ClearTextCaches() {
  if (!g_loaded.load(std::memory_order_acquire)) return;  // nothing cached yet
  if (const FontModule* m = Module().module) m->clearCaches();
}

}  // namespace win::gdi::text
