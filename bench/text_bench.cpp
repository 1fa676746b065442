// bench-libs: Freetype::Freetype
// Text drawing and measuring with a warm glyph cache: a word-wrapped
// paragraph through DrawText, single lines through TextOut, the word
// extents a layout engine asks for, and, for comparison, the paragraph with
// the caches emptied before each draw.
//
// Beside them, the least a program can do to draw the same text: FreeType
// on the same font file and pixel size, each glyph rendered once into a
// table by character, and the coverage blended onto 32-bit pixels with the
// same rounding as ours; the paragraph broken at spaces by the cached
// advances. After the benchmarks the pairs are timed in alternating turns
// and printed as ratios (the median of our times over FreeType's; below 1
// is faster).
#include <benchmark/benchmark.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "gdi/text/font_text_engine.h"
#include "win/gdi.h"

namespace {

const char kParagraph[] =
    "Collections are not shown as plain lists: each collection is presented as a page made of "
    "page objects, labels, buttons, images, text areas, title lists, sound and movie players, "
    "toolbars and progress bars, whose look comes from style-description files and whose page "
    "style is chosen per collection by a rule file. Timed page scripts drive multimedia "
    "presentations, with transition effects between pages. Titles, commands and result texts "
    "exist in several languages, chosen by a configurable language order.";

const char kLine[] = "The quick brown fox jumps over the lazy dog, 0123456789.";

class Canvas {
 public:
  Canvas() {
    win::gdi::text::InstallFontTextEngine();
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateBitmap(640, 480, 1, 24, nullptr);
    old_ = SelectObject(dc_, bitmap_);
    font_ = CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0, "Times New Roman");
    oldFont_ = SelectObject(dc_, font_);
    SetBkMode(dc_, TRANSPARENT);
  }
  ~Canvas() {
    SelectObject(dc_, oldFont_);
    SelectObject(dc_, old_);
    DeleteObject(font_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  int Line() { return TextOut(dc_, 10, 10, kLine, int(sizeof kLine - 1)); }
  int Paragraph() {
    RECT r{10, 10, 410, 470};
    return DrawText(dc_, kParagraph, -1, &r, DT_WORDBREAK | DT_NOPREFIX);
  }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  HFONT font_;
  HGDIOBJ oldFont_;
};

void BM_DrawParagraph(benchmark::State& state) {
  Canvas canvas;
  canvas.Paragraph();  // warm the caches
  for (auto _ : state) benchmark::DoNotOptimize(canvas.Paragraph());
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(sizeof kParagraph - 1));
}
BENCHMARK(BM_DrawParagraph);

void BM_DrawParagraphColdCache(benchmark::State& state) {
  Canvas canvas;
  for (auto _ : state) {
    state.PauseTiming();
    win::gdi::text::ClearTextCaches();
    state.ResumeTiming();
    benchmark::DoNotOptimize(canvas.Paragraph());
  }
}
BENCHMARK(BM_DrawParagraphColdCache);

void BM_TextOutLine(benchmark::State& state) {
  Canvas canvas;
  canvas.Line();
  for (auto _ : state) benchmark::DoNotOptimize(canvas.Line());
}
BENCHMARK(BM_TextOutLine);

// FreeType alone on the font file the canvas draws with.
class FreeTypeCanvas {
 public:
  explicit FreeTypeCanvas(const std::string& file) : pixels_(640 * 480, 0xFFFFFFu) {
    ok_ = !file.empty() && FT_Init_FreeType(&library_) == 0 && FT_New_Face(library_, file.c_str(), 0, &face_) == 0 &&
          FT_Set_Pixel_Sizes(face_, 16, 16) == 0;
    if (!ok_) return;
    ascent_ = int(face_->size->metrics.ascender >> 6);
    lineHeight_ = int(face_->size->metrics.height >> 6);
    for (int ch = 32; ch < 127; ++ch) {
      Cached& g = glyphs_[ch];
      if (FT_Load_Char(face_, FT_ULong(ch), FT_LOAD_TARGET_NORMAL | FT_LOAD_NO_BITMAP | FT_LOAD_RENDER) != 0)
        continue;
      const FT_GlyphSlot slot = face_->glyph;
      g.advance = int((slot->advance.x + 32) >> 6);
      g.left = slot->bitmap_left;
      g.top = slot->bitmap_top;
      g.width = int(slot->bitmap.width);
      g.height = int(slot->bitmap.rows);
      for (int y = 0; y < g.height; ++y)
        g.coverage.insert(g.coverage.end(), slot->bitmap.buffer + y * slot->bitmap.pitch,
                          slot->bitmap.buffer + y * slot->bitmap.pitch + g.width);
    }
  }
  ~FreeTypeCanvas() {
    if (face_) FT_Done_Face(face_);
    if (library_) FT_Done_FreeType(library_);
  }
  bool ok() const { return ok_; }

  // Draws `text` with its top at y; returns the pen's end.
  int Draw(const char* text, std::size_t n, int x, int y) {
    const int baseline = y + ascent_;
    for (std::size_t i = 0; i < n; ++i) {
      const Cached& g = glyphs_[static_cast<unsigned char>(text[i]) & 127];
      Blend(g, x + g.left, baseline - g.top);
      x += g.advance;
    }
    return x;
  }
  void Line() { Draw(kLine, sizeof kLine - 1, 10, 10); }
  // The paragraph broken at spaces to fit 400 pixels.
  void Paragraph() {
    const std::size_t n = sizeof kParagraph - 1;
    int y = 10;
    std::size_t start = 0;
    while (start < n && y < 470) {
      int width = 0;
      std::size_t end = start, fit = start;
      while (end < n) {
        std::size_t word = end;
        while (word < n && kParagraph[word] != ' ') width += glyphs_[static_cast<unsigned char>(kParagraph[word++])].advance;
        if (width > 400 && fit > start) break;
        fit = word;
        end = word;
        if (end < n) width += glyphs_[' '].advance, ++end;
      }
      Draw(kParagraph + start, fit - start, 10, y);
      start = fit < n ? fit + 1 : n;
      y += lineHeight_;
    }
  }

 private:
  struct Cached {
    int advance = 0, left = 0, top = 0, width = 0, height = 0;
    std::vector<std::uint8_t> coverage;
  };

  void Blend(const Cached& g, int x0, int y0) {
    const std::uint32_t ink = 0x000000u;
    for (int y = std::max(0, -y0); y < g.height && y0 + y < 480; ++y) {
      const std::uint8_t* c = g.coverage.data() + std::size_t(y) * g.width;
      std::uint32_t* row = pixels_.data() + std::size_t(y0 + y) * 640;
      for (int x = std::max(0, -x0); x < g.width && x0 + x < 640; ++x) {
        const unsigned a = c[x];
        if (a == 0) continue;
        std::uint32_t& d = row[x0 + x];
        if (a == 255) {
          d = ink;
          continue;
        }
        std::uint32_t out = 0;
        for (int shift = 0; shift < 24; shift += 8) {
          const unsigned s = (ink >> shift) & 0xFF, t = (d >> shift) & 0xFF;
          out |= ((s * a + t * (255 - a) + 127) / 255) << shift;
        }
        d = out;
      }
    }
  }

  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
  bool ok_ = false;
  int ascent_ = 0, lineHeight_ = 0;
  Cached glyphs_[128];
  std::vector<std::uint32_t> pixels_;
};

FreeTypeCanvas& TheFreeTypeCanvas() {
  static Canvas* canvas = new Canvas;
  static FreeTypeCanvas* ft = new FreeTypeCanvas(win::gdi::text::SelectedFontFile(canvas->dc()));
  return *ft;
}

void BM_FreeTypeLine(benchmark::State& state) {
  FreeTypeCanvas& ft = TheFreeTypeCanvas();
  if (!ft.ok()) state.SkipWithError("FreeType could not open the canvas's font");
  for (auto _ : state) ft.Line();
}
BENCHMARK(BM_FreeTypeLine);

void BM_FreeTypeParagraph(benchmark::State& state) {
  FreeTypeCanvas& ft = TheFreeTypeCanvas();
  if (!ft.ok()) state.SkipWithError("FreeType could not open the canvas's font");
  for (auto _ : state) ft.Paragraph();
}
BENCHMARK(BM_FreeTypeParagraph);

void BM_WordExtents(benchmark::State& state) {
  Canvas canvas;
  std::vector<std::string> words;
  std::string text = kParagraph;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t end = text.find(' ', pos);
    if (end == std::string::npos) end = text.size();
    words.push_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  SIZE sz{};
  for (const std::string& w : words)
    GetTextExtentPoint32(canvas.dc(), w.c_str(), int(w.size()), &sz);
  for (auto _ : state) {
    for (const std::string& w : words) {
      GetTextExtentPoint32(canvas.dc(), w.c_str(), int(w.size()), &sz);
      benchmark::DoNotOptimize(sz);
    }
  }
  state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(words.size()));
}
BENCHMARK(BM_WordExtents);

}  // namespace

namespace {

double Seconds(const std::function<void()>& f, int reps) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < reps; ++i) f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / reps;
}

// The medians of turns taken in alternation, each turn `reps` draws.
double Ratio(const std::function<void()>& ours, const std::function<void()>& theirs) {
  constexpr int kTurns = 21, kReps = 200;
  std::vector<double> a, b;
  for (int i = 0; i < kTurns; ++i) {
    a.push_back(Seconds(ours, kReps));
    b.push_back(Seconds(theirs, kReps));
  }
  std::nth_element(a.begin(), a.begin() + kTurns / 2, a.end());
  std::nth_element(b.begin(), b.begin() + kTurns / 2, b.end());
  return a[kTurns / 2] / b[kTurns / 2];
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  FreeTypeCanvas& ft = TheFreeTypeCanvas();
  if (!ft.ok()) {
    std::printf("FreeType could not open the font: no ratios\n");
    return 0;
  }
  Canvas canvas;
  canvas.Line();
  canvas.Paragraph();
  std::printf("TextOut line / FreeType:    %.2f\n", Ratio([&] { canvas.Line(); }, [&] { ft.Line(); }));
  std::printf("DrawText paragraph / FreeType: %.2f\n", Ratio([&] { canvas.Paragraph(); }, [&] { ft.Paragraph(); }));
  return 0;
}
