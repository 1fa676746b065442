// Text drawing and measuring with a warm glyph cache: a word-wrapped
// paragraph through DrawText, single lines through TextOut, the word
// extents a layout engine asks for, and, for comparison, the paragraph with
// the caches emptied before each draw.
#include <benchmark/benchmark.h>

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
  const char line[] = "The quick brown fox jumps over the lazy dog, 0123456789.";
  TextOut(canvas.dc(), 10, 10, line, int(sizeof line - 1));
  for (auto _ : state) {
    benchmark::DoNotOptimize(TextOut(canvas.dc(), 10, 10, line, int(sizeof line - 1)));
  }
}
BENCHMARK(BM_TextOutLine);

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
