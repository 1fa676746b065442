#include "gdi/text/glyph_painter.h"

#include <algorithm>

#include "gdi/text_engine.h"

namespace win::gdi::text {

bool GlyphPainter::Clip(RECT& r) const {
  if (clip_) {
    r.left = std::max(r.left, clip_->left);
    r.top = std::max(r.top, clip_->top);
    r.right = std::min(r.right, clip_->right);
    r.bottom = std::min(r.bottom, clip_->bottom);
  }
  return r.left < r.right && r.top < r.bottom;
}

void GlyphPainter::Glyph(char32_t ch, int penX, int baseline) {
  const fonts::Glyph* g = font_.Render(ch);
  if (!g || g->width <= 0 || g->height <= 0) return;
  RECT box{penX + g->left, baseline - g->top, penX + g->left + g->width,
           baseline - g->top + g->height};
  RECT r = box;
  if (!Clip(r)) return;
  const std::uint8_t* first = g->coverage.data() +
                              std::size_t(r.top - box.top) * std::size_t(g->width) +
                              std::size_t(r.left - box.left);
  ink_.Draw(r.left, r.top, r.right - r.left, r.bottom - r.top, first, g->width);
}

void GlyphPainter::Line(int x0, int x1, int baseline, const fonts::TextLine& line) {
  RECT r{std::min(x0, x1), baseline + line.top, std::max(x0, x1),
         baseline + line.top + line.thickness};
  if (Clip(r)) FillSurfaceRect(dc_, r, color_);
}

void GlyphPainter::Fill(RECT r, COLORREF color) {
  if (Clip(r)) FillSurfaceRect(dc_, r, color);
}

}  // namespace win::gdi::text
